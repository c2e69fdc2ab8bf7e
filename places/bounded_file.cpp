#include "places/bounded_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kChunk = 1 << 16;

}  // namespace

std::string SystemReason(int error) {
    const char* description = ::strerrordesc_np(error);
    return description ? description : "error " + std::to_string(error);
}

BoundedFile::~BoundedFile() {
    if (fd_ >= 0) ::close(fd_);
}

bool BoundedFile::Open(const std::filesystem::path& path) {
    // Without O_NONBLOCK, opening a FIFO waits for a writer.
    fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) {
        error_ = errno == ENOENT ? "does not exist" : "cannot be read: " + SystemReason(errno);
        return false;
    }
    struct stat status {};
    if (::fstat(fd_, &status) != 0) {
        error_ = "cannot be read: " + SystemReason(errno);
        return false;
    }
    if (!S_ISREG(status.st_mode)) {
        error_ = S_ISDIR(status.st_mode) ? "is a folder, not a file" : "is not a regular file";
        return false;
    }
    size_ = static_cast<std::uintmax_t>(status.st_size);
    return true;
}

bool BoundedFile::Fill() {
    if (ended_) return false;
    buffer_.erase(0, at_);
    at_ = 0;
    const size_t had = buffer_.size();
    buffer_.resize(had + kChunk);
    ssize_t got;
    do got = ::read(fd_, buffer_.data() + had, kChunk);
    while (got < 0 && errno == EINTR);
    if (got < 0) {
        error_ = "cannot be read: " + SystemReason(errno);
        buffer_.resize(had);
        ended_ = true;
        return false;
    }
    buffer_.resize(had + static_cast<size_t>(got));
    if (got == 0) ended_ = true;
    return got > 0;
}

bool BoundedFile::NextLine(std::string_view& line, std::size_t longest) {
    size_t end;
    while ((end = buffer_.find('\n', at_)) == std::string::npos) {
        if (buffer_.size() - at_ > longest) {
            error_ = "line " + std::to_string(lineNumber_ + 1) + " is longer than " + std::to_string(longest) +
                     " bytes";
            return false;
        }
        if (!Fill()) {
            if (!error_.empty() || at_ == buffer_.size()) return false;
            end = buffer_.size();  // the last line, without its end
            break;
        }
    }
    if (end - at_ > longest) {
        error_ = "line " + std::to_string(lineNumber_ + 1) + " is longer than " + std::to_string(longest) + " bytes";
        return false;
    }
    line = std::string_view(buffer_).substr(at_, end - at_);
    at_ = end == buffer_.size() ? end : end + 1;
    ++lineNumber_;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return true;
}

bool BoundedFile::ReadRest(std::string& text, std::uintmax_t most) {
    while (Fill()) {
        if (buffer_.size() - at_ > most) {
            error_ = "is larger than " + std::to_string(most / 1'000'000) + " MB";
            return false;
        }
    }
    if (!error_.empty()) return false;
    text = buffer_.substr(at_);
    at_ = buffer_.size();
    return true;
}
