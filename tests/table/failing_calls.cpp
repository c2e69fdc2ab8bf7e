// Loaded with LD_PRELOAD into kelmorven-table by the tests, so they can see
// how the tool meets failures a healthy disk never shows. The variable
// KELMORVEN_TEST_FAIL names one:
//   folder-sync  fsync of a folder fails with EIO
//   file-sync    fdatasync and syncfs fail with EIO
//   no-tmpfile   the file system offers no unnamed temporary files
//   flock        no file can be flocked (ENOLCK)
//   restore      a folder's fsync fails, and so does reading the earlier file back
//   fdopendir    no folder can be listed; a descriptor it got left open is said at exit
//   ical-null    libical gives no text for a calendar
//   newlocale    no locale object can be made
//   localtime    the local time cannot be had
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <locale.h>
#include <sys/file.h>
#include <ctime>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool Failing(const char* what) {
    const char* wanted = std::getenv("KELMORVEN_TEST_FAIL");
    return wanted && std::strcmp(wanted, what) == 0;
}

template <typename Function>
Function Next(const char* name) {
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

mode_t ModeArgument(int flags, va_list arguments) {
    return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? static_cast<mode_t>(va_arg(arguments, int)) : 0;
}

// One of the open calls, named, with its arguments before the flags.
template <typename... Leading>
int Opening(int flags, va_list arguments, const char* name, Leading... leading) {
    const mode_t mode = ModeArgument(flags, arguments);
    if ((flags & O_TMPFILE) == O_TMPFILE && Failing("no-tmpfile")) {
        errno = EOPNOTSUPP;
        return -1;
    }
    return Next<int (*)(Leading..., int, ...)>(name)(leading..., flags, mode);
}

// errno set to error, and the failing call's result.
template <typename Result>
Result Refused(int error, Result result) {
    errno = error;
    return result;
}

int listingRefused = -1;  // the descriptor the failing fdopendir was given

__attribute__((destructor)) void ReportListingLeft() {
    if (listingRefused >= 0 && ::fcntl(listingRefused, F_GETFD) != -1)
        ::dprintf(2, "failing_calls: descriptor %d left open\n", listingRefused);
}

}  // namespace

struct icalcomponent_impl;

extern "C" {

int flock(int fd, int operation) {
    if (Failing("flock") && (operation & LOCK_EX)) return Refused(ENOLCK, -1);
    return Next<int (*)(int, int)>("flock")(fd, operation);
}

ssize_t pread(int fd, void* buffer, size_t count, off_t at) {
    if (Failing("restore")) return Refused(EIO, ssize_t{-1});
    return Next<ssize_t (*)(int, void*, size_t, off_t)>("pread")(fd, buffer, count, at);
}

DIR* fdopendir(int fd) {
    if (Failing("fdopendir")) {
        listingRefused = fd;
        return Refused(ENOMEM, static_cast<DIR*>(nullptr));
    }
    return Next<DIR* (*)(int)>("fdopendir")(fd);
}

char* icalcomponent_as_ical_string_r(icalcomponent_impl* component) {
    if (Failing("ical-null")) return nullptr;
    return Next<char* (*)(icalcomponent_impl*)>("icalcomponent_as_ical_string_r")(component);
}

locale_t newlocale(int mask, const char* name, locale_t base) {
    if (Failing("newlocale")) return Refused(ENOMEM, locale_t{});
    return Next<locale_t (*)(int, const char*, locale_t)>("newlocale")(mask, name, base);
}

struct tm* localtime_r(const time_t* clock, struct tm* result) {
    if (Failing("localtime")) return Refused(EOVERFLOW, static_cast<struct tm*>(nullptr));
    return Next<struct tm* (*)(const time_t*, struct tm*)>("localtime_r")(clock, result);
}

int fsync(int fd) {
    struct stat info {};
    if ((Failing("folder-sync") || Failing("restore")) && ::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        errno = EIO;
        return -1;
    }
    return Next<int (*)(int)>("fsync")(fd);
}

int fdatasync(int fd) {
    if (Failing("file-sync")) {
        errno = EIO;
        return -1;
    }
    return Next<int (*)(int)>("fdatasync")(fd);
}

int syncfs(int fd) {
    if (Failing("file-sync")) {
        errno = EIO;
        return -1;
    }
    return Next<int (*)(int)>("syncfs")(fd);
}

int open(const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const int fd = Opening(flags, arguments, "open", path);
    va_end(arguments);
    return fd;
}

int open64(const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const int fd = Opening(flags, arguments, "open64", path);
    va_end(arguments);
    return fd;
}

int openat(int dir, const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const int fd = Opening(flags, arguments, "openat", dir, path);
    va_end(arguments);
    return fd;
}

}  // extern "C"
