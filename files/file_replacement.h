// Replacing a file on disk whole or not at all. The new bytes go to an
// unnamed temporary file in the target's folder (or, where the file system
// offers none, to a hidden one removed on SIGINT, SIGTERM and SIGHUP), which
// takes the file's name only after its bytes are on disk, and only while no
// other program holds the earlier file.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <span>
#include <string_view>
#include <sys/stat.h>
#include <sys/types.h>
#include <vector>

// The error of a file that another program holds (see FileInUse), beside
// the errno values of the calls that fail.
inline constexpr int kHeldByAnotherProgram = -1;
// The error of a file whose folder could not be synced and whose earlier
// file could not be put back either: the name may hold the new bytes, not
// yet durable, or (a new file) nothing.
inline constexpr int kEarlierNotRestored = -2;

// Why a file could not be written, in words that do not depend on the
// locale: "No space left on device", "Permission denied", "another
// program holds it".
std::string WriteFailureReason(int error);

// The description of an errno value in English, whatever the locale:
// "Not a directory", never the "Ist kein Verzeichnis" of strerror after a
// toolkit set the locale from the environment.
std::string SystemErrorText(int error);

// Installs, for SIGINT, SIGTERM and SIGHUP where nobody else has claimed
// them (an ignored signal stays ignored), the handler that removes the
// hidden files being written before the signal ends the process. Called
// once by a program's main, before it writes any file.
void RemoveHiddenFilesOnSignals();

// True when another program has the file open in a way that forbids
// replacing it: an advisory lock on it (flock, POSIX or open-file-description
// lock), a lease, or a LibreOffice lock file ".~lock.NAME#" beside it. A
// missing file is not in use.
bool FileInUse(const std::filesystem::path& path);

// Makes the entries of a folder (names given, replaced, removed) durable.
// False, with errno set, when the file system reports an error.
bool SyncFolder(const std::filesystem::path& folder);

// Removes the hidden temporary files of runs that ended without cleaning up
// (killed between giving a file its name and renaming it): only names of
// the form ".NAME.part-PID-N" that no living writer holds.
void RemoveLeftoverFiles(const std::filesystem::path& folder);

// One file on its way to replace target. Steps in order: Begin, Append any
// number of times, Flush, Sync, TakeName, and either Release (done) or
// Restore and Release (the folder could not be synced). Discarding at any
// step before TakeName leaves the earlier file and no trace.
class PendingFile {
public:
    PendingFile() = default;
    PendingFile(PendingFile&& other) noexcept { *this = std::move(other); }
    PendingFile& operator=(PendingFile&& other) noexcept;
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;
    ~PendingFile() { Discard(); }

    // False when target cannot be replaced: its folder is missing or not
    // writable, its name is taken by something other than a writable file,
    // or the file is in use.
    bool Begin(const std::filesystem::path& target);
    void Append(std::string_view bytes);
    // Hands every byte to the system and starts writing them to disk; false
    // when any write failed (a full medium, a file-size limit).
    bool Flush();
    // Waits until the bytes are on disk.
    bool Sync();
    // Gives the file the target's name, after checking again that the
    // earlier file is not in use. The earlier file is held open until
    // Release, for Restore.
    bool TakeName();
    // Puts the earlier file's bytes back under the name (or removes the name
    // when there was no earlier file), as long as the name still holds this
    // file. For a failed folder sync. False when that failed: the name then
    // still holds this file.
    bool Restore();
    // Closes what is still open; a file that took its name keeps it.
    void Release();
    // Closes everything and removes what this file left on disk, unless it
    // took its name.
    void Discard();

    bool Begun() const { return fd_ >= 0; }
    // Why a step failed: the errno of the first call that failed, or
    // kHeldByAnotherProgram; 0 while nothing failed.
    int Error() const { return error_; }
    std::filesystem::path Folder() const;

private:
    bool Fail(int error);  // keeps the first error; false
    bool Create(mode_t mode, bool exactMode);
    bool WriteOut();
    bool GiveHiddenName();
    void DropHiddenName(bool unlinkIt);
    bool Replace();
    bool ReplaceExisting(const struct stat& info);  // the target exists
    bool NameNew();  // no file has the target's name; true also when one appeared meanwhile
    bool CopyEarlierBack();

    std::filesystem::path target_;
    int fd_ = -1;                          // the new file, until it took its name
    dev_t device_ = 0;                     // its identity, to recognise it under the name
    ino_t inode_ = 0;
    std::unique_ptr<char[]> hiddenName_;   // a name it has before the target's, if any
    int earlier_ = -1;                     // the earlier file, from TakeName to Release
    std::string buffer_;
    bool failed_ = false;
    bool named_ = false;
    int error_ = 0;
};

// Puts files whose bytes were all written on disk together: the files are
// made durable first, then each takes its name, then each folder is synced
// once. So no name ever holds bytes that are not on disk. With fileSystems,
// descriptors of the files' folders opened before the files were written,
// the files are made durable by one sync of each file system (any error the
// file system met since fails every file); without, by one sync per file.
// Where a folder cannot be synced its files are put back (Restore) and count
// as failed, with kEarlierNotRestored where that failed too. For each file in order, 0 when it reached its name durably,
// else why not (as PendingFile::Error); every file is closed.
std::vector<int> CommitPendingFiles(std::span<PendingFile> files, std::span<const int> fileSystems = {});
