// Plain text files, written and read line by line. Lines end with CR LF;
// bytes are written unchanged.
#pragma once

#include "files/file_replacement.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The folder of the running executable: every relative file name of the
// program is resolved against it.
std::filesystem::path ProgramFolder();

// A path of the system for a file name of the program, a code page 1252 text
// resolved against folder.
std::filesystem::path ResolveInFolder(const std::filesystem::path& folder,
                                      std::string_view cp1252Name);

// Whether a file reached its name, and why not.
struct WriteOutcome {
    int error = 0;  // as PendingFile::Error; 0 when written
    explicit operator bool() const { return error == 0; }
    std::string Reason() const { return WriteFailureReason(error); }
};

// Writes a file so that an earlier file of the same name is never lost: the
// bytes go to an unnamed temporary file in the same folder, which replaces
// the old file only when everything was written and is on disk. A file
// another program holds (see FileInUse) is not replaced. Any failure on the
// way leaves the earlier file as it was and is reported by Open or Close; a
// writer that is never closed, or a process killed on the way, leaves no
// trace (except a SIGKILL in the instant between a file's hidden name and
// its rename, whose hidden file the next writer in that folder removes).
class FileWriter {
public:
    FileWriter() = default;
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    // False when the file cannot be written: the folder is missing or not
    // writable, the name is taken by something that is not a writable file,
    // or another program holds the file.
    bool Open(const std::filesystem::path& path);
    void Write(std::string_view bytes);  // unchanged
    // True when every byte reached the disk and the file took its name
    // durably; the folder is synced after the rename.
    WriteOutcome Close();
    // Why Open failed.
    WriteOutcome Opened() const { return {file_.Error()}; }

private:
    friend class FileBatch;
    PendingFile file_;
};

// Files written together, as a batch of documents: each writer's bytes go to
// the system when it is added, and Commit puts all of them on disk with one
// sync of the file system and one sync of the folder, instead of one of each
// per file. Each file held keeps an open descriptor, so a batch holds at
// most its capacity of files: the caller commits when it is Full().
class FileBatch {
public:
    FileBatch();  // a capacity that fits the process's open-file limit
    explicit FileBatch(size_t capacity);

    ~FileBatch();  // files not committed leave no trace
    FileBatch(const FileBatch&) = delete;
    FileBatch& operator=(const FileBatch&) = delete;

    // Takes over the file of an opened and written writer, which is left
    // closed. False when its bytes could not all be written; that file is
    // then dropped and the earlier file kept.
    WriteOutcome Add(FileWriter& writer);
    bool Full() const { return files_.size() >= capacity_; }
    // For each file added since the last Commit, in the order added, whether
    // it took its name durably (as FileWriter::Close for each).
    std::vector<WriteOutcome> Commit();

private:
    void CloseFolders();

    std::vector<PendingFile> files_;
    // The folders of the files, opened before their first file was written,
    // so that the sync of their file systems reports every error since.
    std::vector<std::pair<std::filesystem::path, int>> folders_;
    size_t capacity_;
};

// Reads a text file line by line. A line ends at LF, CR or NUL; a CR takes
// the byte after it along (the LF of CR LF). At the end every read gives the
// empty text.
class TextFileReader {
public:
    TextFileReader() = default;
    TextFileReader(const TextFileReader&) = delete;
    TextFileReader& operator=(const TextFileReader&) = delete;
    ~TextFileReader() { Close(); }

    bool Open(const std::filesystem::path& path);  // false when it cannot be read
    // A longer line is cut at this many bytes as it is read; its rest is skipped.
    static constexpr std::size_t kMaxLineBytes = 4096;
    std::string ReadLine();
    void Close();

private:
    std::FILE* file_ = nullptr;
};
