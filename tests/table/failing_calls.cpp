// Loaded with LD_PRELOAD into kelmorven-table by the tests, so they can see
// how the tool meets failures a healthy disk never shows. The variable
// KELMORVEN_TEST_FAIL names one:
//   folder-sync  fsync of a folder fails with EIO
//   file-sync    fdatasync and syncfs fail with EIO
//   no-tmpfile   the file system offers no unnamed temporary files
#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

#include <dlfcn.h>
#include <fcntl.h>
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

}  // namespace

extern "C" {

int fsync(int fd) {
    struct stat info {};
    if (Failing("folder-sync") && ::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
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
