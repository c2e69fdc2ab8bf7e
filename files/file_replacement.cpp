#include "files/file_replacement.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Hidden names that exist only while this process writes them, for the
// signal handler to remove. The handler can reach nothing but static
// storage, so the list lives here; slots hold names owned by PendingFile.
constexpr size_t kNameSlots = 2048;
std::array<std::atomic<const char*>, kNameSlots> pendingNames{};
std::atomic<unsigned> nameCounter{0};

extern "C" void RemovePendingNamesAndStop(int signal) {
    const int saved = errno;
    for (std::atomic<const char*>& slot : pendingNames)
        if (const char* name = slot.load()) ::unlink(name);
    errno = saved;
    // The handler was reset on entry: the signal now ends the process as it
    // would have without us, once this handler returns.
    ::raise(signal);
}

}  // namespace

void RemoveHiddenFilesOnSignals() {
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) != 0) continue;
        if ((current.sa_flags & SA_SIGINFO) || current.sa_handler != SIG_DFL) continue;
        struct sigaction cleanup {};
        cleanup.sa_handler = RemovePendingNamesAndStop;
        cleanup.sa_flags = SA_RESETHAND;
        sigfillset(&cleanup.sa_mask);
        ::sigaction(signal, &cleanup, nullptr);
    }
}

namespace {

void ListName(const char* name) {
    for (std::atomic<const char*>& slot : pendingNames) {
        const char* empty = nullptr;
        if (slot.compare_exchange_strong(empty, name)) return;
    }
    // All slots taken: this name is not removed on a signal, but a later
    // run removes it as a leftover.
}

void UnlistName(const char* name) {
    for (std::atomic<const char*>& slot : pendingNames) {
        const char* listed = name;
        if (slot.compare_exchange_strong(listed, nullptr)) return;
    }
}

void CloseDescriptor(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

// A descriptor of an existing file that changes nothing in it, for the
// probes; -1 when the file cannot be opened (errno EWOULDBLOCK: a lease).
int OpenToProbe(const fs::path& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    if (fd < 0 && errno == EACCES)  // a file we may replace but not read
        fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    return fd;
}

// Locks on the file behind fd held through any other open file: a POSIX or
// open-file-description lock of either kind, or a flock. A flock this call
// takes stays on fd until it is closed, so nobody cooperating with flock
// takes the file in the meantime.
bool LockedByAnother(int fd) {
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    if (::fcntl(fd, F_OFD_GETLK, &probe) == 0) {
        if (probe.l_type != F_UNLCK) return true;
    } else {
        probe = {};  // a system without open-file-description locks
        probe.l_type = F_WRLCK;
        probe.l_whence = SEEK_SET;
        if (::fcntl(fd, F_GETLK, &probe) == 0 && probe.l_type != F_UNLCK) return true;
    }
    return ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
}

// LibreOffice marks a document it has open with ".~lock.NAME#" beside it.
bool OfficeLockFileBeside(const fs::path& path) {
    struct stat info {};
    const fs::path lock = path.parent_path() / (".~lock." + path.filename().string() + "#");
    return ::lstat(lock.c_str(), &info) == 0;
}

bool InUse(int fd, const fs::path& path) { return LockedByAnother(fd) || OfficeLockFileBeside(path); }

// Gives the unnamed file behind fd the name dest; false with errno EEXIST
// when the name is taken.
bool LinkUnnamed(int fd, const char* dest) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, dest, AT_SYMLINK_FOLLOW) == 0) return true;
    if (errno != ENOENT) return false;  // ENOENT: no /proc
    return ::linkat(fd, "", AT_FDCWD, dest, AT_EMPTY_PATH) == 0;
}

// ".NAME.part-PID-N" beside the target.
std::unique_ptr<char[]> HiddenNameFor(const fs::path& target, const fs::path& folder) {
    const std::string name = (folder / ("." + target.filename().string() + ".part-" + std::to_string(::getpid()) +
                                        "-" + std::to_string(nameCounter++)))
                                 .string();
    auto copy = std::make_unique<char[]>(name.size() + 1);
    std::memcpy(copy.get(), name.c_str(), name.size() + 1);
    return copy;
}

bool IsLeftoverName(const std::string& name) {
    const size_t mark = name.rfind(".part-");
    if (name.size() < 2 || name[0] != '.' || mark == std::string::npos || mark < 2) return false;
    const std::string tail = name.substr(mark + 6);
    const size_t dash = tail.find('-');
    auto digits = [](const std::string& s) {
        return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos;
    };
    return dash != std::string::npos && digits(tail.substr(0, dash)) && digits(tail.substr(dash + 1));
}

}  // namespace

bool FileInUse(const fs::path& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return false;
    int fd = OpenToProbe(path);
    if (fd < 0) return errno == EWOULDBLOCK;
    const bool inUse = InUse(fd, path);
    ::close(fd);
    return inUse;
}

std::string WriteFailureReason(int error) {
    if (error == kHeldByAnotherProgram) return "another program holds it";
    if (error == kEarlierNotRestored) return "the folder could not be synced, and the earlier file could not be put back";
    return SystemErrorText(error);
}

std::string SystemErrorText(int error) {
    const char* description = ::strerrordesc_np(error);  // English whatever the locale
    return description ? description : "error " + std::to_string(error);
}

bool SyncFolder(const fs::path& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    int result;
    do result = ::fsync(fd);
    while (result != 0 && errno == EINTR);
    // A file system that cannot sync a folder has nothing to sync there.
    const bool ok = result == 0 || errno == EINVAL || errno == EOPNOTSUPP;
    const int error = errno;
    ::close(fd);
    errno = error;
    return ok;
}

void RemoveLeftoverFiles(const fs::path& folder) {
    int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) return;
    // The listing gets a descriptor of its own, which closedir closes.
    const int listFd = ::dup(dirFd);
    DIR* dir = listFd >= 0 ? ::fdopendir(listFd) : nullptr;
    if (!dir) {
        if (listFd >= 0) ::close(listFd);
        ::close(dirFd);
        return;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (!IsLeftoverName(name)) continue;
        int fd = ::openat(dirFd, name.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat info {};
        // A living writer holds its file locked; a lock we get means the
        // writer is gone.
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlinkat(dirFd, name.c_str(), 0);
        ::close(fd);
    }
    ::closedir(dir);
    ::close(dirFd);
}

PendingFile& PendingFile::operator=(PendingFile&& other) noexcept {
    if (this == &other) return *this;
    Discard();
    target_ = std::move(other.target_);
    fd_ = other.fd_;
    device_ = other.device_;
    inode_ = other.inode_;
    hiddenName_ = std::move(other.hiddenName_);  // the listed pointer stays valid
    earlier_ = other.earlier_;
    buffer_ = std::move(other.buffer_);
    failed_ = other.failed_;
    named_ = other.named_;
    error_ = other.error_;
    other.fd_ = other.earlier_ = -1;
    other.named_ = other.failed_ = false;
    other.buffer_.clear();
    return *this;
}

fs::path PendingFile::Folder() const {
    fs::path folder = target_.parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

bool PendingFile::Fail(int error) {
    if (error_ == 0) error_ = error != 0 ? error : EIO;
    return false;
}

bool PendingFile::Begin(const fs::path& target) {
    Discard();
    error_ = 0;
    target_ = target;
    struct stat info {};
    const bool exists = ::lstat(target.c_str(), &info) == 0;
    if (exists && !S_ISREG(info.st_mode)) return Fail(S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
    if (exists && ::access(target.c_str(), W_OK) != 0) return Fail(errno);
    if (exists && FileInUse(target)) return Fail(kHeldByAnotherProgram);
    // An existing file keeps its permissions; a new one gets the usual ones.
    return Create(exists ? info.st_mode & 07777 : 0666, exists);
}

// The new file: unnamed where the file system allows, else under a hidden
// name listed for the signal handler. It is flocked while it lives, which
// tells RemoveLeftoverFiles of other runs that its writer is alive.
bool PendingFile::Create(mode_t mode, bool exactMode) {
    const fs::path folder = Folder();
    fd_ = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    if (fd_ < 0) {
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return Fail(errno);
        for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
            hiddenName_ = HiddenNameFor(target_, folder);
            ListName(hiddenName_.get());
            fd_ = ::open(hiddenName_.get(), O_CREAT | O_EXCL | O_WRONLY | O_NOFOLLOW | O_CLOEXEC, mode);
            if (fd_ < 0) {
                const int error = errno;
                DropHiddenName(false);
                if (error != EEXIST) return Fail(error);
            }
        }
        if (fd_ < 0) return Fail(EEXIST);
    }
    struct stat info {};
    if ((exactMode && ::fchmod(fd_, mode) != 0) || ::fstat(fd_, &info) != 0) {
        const int error = errno;
        Discard();
        return Fail(error);
    }
    device_ = info.st_dev;
    inode_ = info.st_ino;
    // Unlocked, a hidden name of this file would look left over to the
    // next writer in the folder, which would remove it under us.
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        Discard();
        return Fail(error);
    }
    return true;
}

void PendingFile::Append(std::string_view bytes) {
    if (fd_ < 0 || failed_) return;
    buffer_.append(bytes);
    if (buffer_.size() >= 64 * 1024) WriteOut();
}

bool PendingFile::WriteOut() {
    size_t done = 0;
    while (!failed_ && done < buffer_.size()) {
        const ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
        if (n > 0)
            done += static_cast<size_t>(n);
        else if (n < 0 && errno == EINTR)
            continue;
        else
            failed_ = !Fail(n < 0 ? errno : ENOSPC);
    }
    buffer_.clear();
    return !failed_;
}

bool PendingFile::Flush() {
    if (fd_ < 0 || failed_) return false;
    if (buffer_.empty()) return true;  // flushed before
    const bool written = WriteOut();
    // A file waiting in a batch for its sync keeps no buffer: the memory of
    // a batch stays that of one file, however many wait.
    std::string().swap(buffer_);
    if (!written) return false;
    ::sync_file_range(fd_, 0, 0, SYNC_FILE_RANGE_WRITE);  // the disk starts now; a sync waits
    return true;
}

bool PendingFile::Sync() {
    if (fd_ < 0 || failed_) return false;
    int result;
    do result = ::fdatasync(fd_);
    while (result != 0 && errno == EINTR);
    failed_ = result != 0 && !Fail(errno);
    return !failed_;
}

bool PendingFile::GiveHiddenName() {
    if (hiddenName_) return true;  // created under it
    for (int attempt = 0; attempt < 100; ++attempt) {
        hiddenName_ = HiddenNameFor(target_, Folder());
        ListName(hiddenName_.get());
        if (LinkUnnamed(fd_, hiddenName_.get())) return true;
        const int error = errno;
        DropHiddenName(false);
        if (error != EEXIST) return Fail(error);
    }
    return Fail(EEXIST);
}

void PendingFile::DropHiddenName(bool unlinkIt) {
    if (!hiddenName_) return;
    if (unlinkIt) ::unlink(hiddenName_.get());
    UnlistName(hiddenName_.get());
    hiddenName_.reset();
}

// The file under its hidden name replaces whatever the target's name holds.
bool PendingFile::Replace() {
    if (!GiveHiddenName()) return false;
    if (::rename(hiddenName_.get(), target_.c_str()) != 0) {
        const int error = errno;
        DropHiddenName(true);
        return Fail(error);
    }
    DropHiddenName(false);
    return true;
}

bool PendingFile::ReplaceExisting(const struct stat& info) {
    if (!S_ISREG(info.st_mode)) return Fail(S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
    CloseDescriptor(earlier_);
    earlier_ = OpenToProbe(target_);
    if (earlier_ < 0 || InUse(earlier_, target_)) {
        const int error = earlier_ < 0 && errno != EWOULDBLOCK ? errno : kHeldByAnotherProgram;
        CloseDescriptor(earlier_);
        return Fail(error);
    }
    if (!Replace()) return false;
    named_ = true;
    return true;
}

bool PendingFile::NameNew() {
    if (hiddenName_) {
        // A new name for a named file, unless one appeared meanwhile.
        if (::renameat2(AT_FDCWD, hiddenName_.get(), AT_FDCWD, target_.c_str(), RENAME_NOREPLACE) == 0 ||
            (errno == EINVAL && ::rename(hiddenName_.get(), target_.c_str()) == 0)) {
            DropHiddenName(false);
            named_ = true;
        }
    } else if (LinkUnnamed(fd_, target_.c_str())) {
        named_ = true;  // a new name needs no intermediate one
    }
    return named_ || errno == EEXIST || Fail(errno);
}

bool PendingFile::TakeName() {
    if (fd_ < 0 || failed_) return false;
    for (int attempt = 0; attempt < 3 && !named_; ++attempt) {
        struct stat info {};
        const bool exists = ::lstat(target_.c_str(), &info) == 0;
        if (!exists && errno != ENOENT) return Fail(errno);
        if (!(exists ? ReplaceExisting(info) : NameNew())) return false;
    }
    if (!named_) return Fail(EEXIST);
    // Its flock would read as "in use" now; unlocked first, as a child
    // process may share the descriptor.
    ::flock(fd_, LOCK_UN);
    CloseDescriptor(fd_);
    return true;
}

bool PendingFile::CopyEarlierBack() {
    struct stat info {};
    if (::fstat(earlier_, &info) != 0) return false;
    PendingFile copy;
    copy.target_ = target_;
    if (!copy.Create(info.st_mode & 07777, true)) return false;
    std::array<char, 64 * 1024> block;
    for (off_t at = 0;;) {
        const ssize_t n = ::pread(earlier_, block.data(), block.size(), at);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) break;
        copy.Append(std::string_view(block.data(), static_cast<size_t>(n)));
        at += n;
    }
    if (!copy.Flush() || !copy.Sync() || !copy.Replace()) return false;
    copy.named_ = true;
    copy.Release();
    return true;
}

bool PendingFile::Restore() {
    if (!named_) return true;
    struct stat info {};
    if (::lstat(target_.c_str(), &info) != 0 || info.st_dev != device_ || info.st_ino != inode_) return true;
    if (earlier_ >= 0) return CopyEarlierBack();
    if (::unlink(target_.c_str()) != 0) return false;
    named_ = false;
    return true;
}

void PendingFile::Release() {
    CloseDescriptor(fd_);
    CloseDescriptor(earlier_);
    DropHiddenName(!named_);
    buffer_.clear();
}

void PendingFile::Discard() {
    CloseDescriptor(fd_);
    CloseDescriptor(earlier_);
    DropHiddenName(!named_);
    buffer_.clear();
    failed_ = named_ = false;
}

namespace {

// Syncs the file systems of the descriptors: 0 when done, -1 when some
// system offers no syncfs (each file is synced on its own then), else the
// errno of the sync that failed.
int SyncFileSystems(std::span<const int> fileSystems) {
    int result = fileSystems.empty() ? -1 : 0;
    for (int fd : fileSystems) {
        if (::syncfs(fd) == 0) continue;
        if (errno != ENOSYS) return errno;
        result = -1;  // a system without syncfs
    }
    return result;
}

// Syncs each folder; where that fails, the folder's files that took their
// names are put back and fail with the sync's error.
void SyncFoldersOrRestore(std::span<PendingFile> files, const std::vector<fs::path>& folders, std::vector<bool>& ok,
                          std::vector<int>& errors) {
    for (const fs::path& folder : folders) {
        if (SyncFolder(folder)) continue;
        const int error = errno;
        for (size_t i = 0; i < files.size(); ++i) {
            if (!ok[i] || files[i].Folder() != folder) continue;
            ok[i] = false;
            errors[i] = files[i].Restore() ? error : kEarlierNotRestored;
        }
        SyncFolder(folder);  // the earlier files back, as far as the disk still takes anything
    }
}

}  // namespace

std::vector<int> CommitPendingFiles(std::span<PendingFile> files, std::span<const int> fileSystems) {
    std::vector<bool> ok(files.size());
    std::vector<int> errors(files.size(), 0);
    std::vector<fs::path> folders;
    for (size_t i = 0; i < files.size(); ++i) {
        ok[i] = files[i].Begun() && files[i].Flush();
        const fs::path folder = files[i].Folder();
        if (ok[i] && std::find(folders.begin(), folders.end(), folder) == folders.end()) folders.push_back(folder);
    }
    if (const int synced = SyncFileSystems(fileSystems); synced > 0) {
        std::fill(ok.begin(), ok.end(), false);
        std::fill(errors.begin(), errors.end(), synced);
    } else if (synced < 0) {
        for (size_t i = 0; i < files.size(); ++i) ok[i] = ok[i] && files[i].Sync();
    }
    for (size_t i = 0; i < files.size(); ++i) ok[i] = ok[i] && files[i].TakeName();
    SyncFoldersOrRestore(files, folders, ok, errors);
    for (size_t i = 0; i < files.size(); ++i) {
        if (!ok[i] && errors[i] == 0) errors[i] = files[i].Error() != 0 ? files[i].Error() : EIO;
        ok[i] ? files[i].Release() : files[i].Discard();
    }
    return errors;
}
