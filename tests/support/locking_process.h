// A lock on a file held by a child process, as another program would hold
// it, until the object is destroyed.
#pragma once

#include <filesystem>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

// Holds a lock on a file from a child process until it is destroyed: the
// child takes the lock, says so through a pipe and waits for the pipe's end.
class LockingProcess {
public:
    enum Kind { Flock, SharedFlock, PosixWrite, PosixRead };
    LockingProcess(const std::filesystem::path& file, Kind kind) {
        int ready[2], release[2];
        if (::pipe(ready) != 0 || ::pipe(release) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ready[0]);
            ::close(release[1]);
            int fd = ::open(file.c_str(), kind == PosixWrite ? O_RDWR : O_RDONLY);
            bool locked = false;
            if (kind == Flock || kind == SharedFlock) {
                locked = ::flock(fd, kind == Flock ? LOCK_EX : LOCK_SH) == 0;
            } else {
                struct flock lock {};
                lock.l_type = kind == PosixWrite ? F_WRLCK : F_RDLCK;
                lock.l_whence = SEEK_SET;
                locked = ::fcntl(fd, F_SETLK, &lock) == 0;
            }
            char c = locked ? '1' : '0';
            [[maybe_unused]] ssize_t n = ::write(ready[1], &c, 1);
            n = ::read(release[0], &c, 1);  // until the parent closes its end
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(release[0]);
        release_ = release[1];
        char c = '0';
        locked_ = ::read(ready[0], &c, 1) == 1 && c == '1';
        ::close(ready[0]);
    }
    ~LockingProcess() {
        if (release_ >= 0) ::close(release_);
        if (pid_ > 0) ::waitpid(pid_, nullptr, 0);
    }
    bool Locked() const { return locked_; }

private:
    pid_t pid_ = -1;
    int release_ = -1;
    bool locked_ = false;
};
