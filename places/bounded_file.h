// A data file read in bounded memory: only a regular file is opened (a FIFO
// would block the program at start, a device never end), line by line with
// a limit on a line's length.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

class BoundedFile {
public:
    BoundedFile() = default;
    BoundedFile(const BoundedFile&) = delete;
    BoundedFile& operator=(const BoundedFile&) = delete;
    ~BoundedFile();

    // Opens a regular file; false with Error() ("does not exist", "is not a
    // regular file", "cannot be read: Permission denied") otherwise.
    bool Open(const std::filesystem::path& path);
    std::uintmax_t Size() const { return size_; }

    // The next line without its end (LF or CR LF), valid until the next
    // call; false at the end, or with Error() set when a line is longer than
    // longest or reading failed.
    bool NextLine(std::string_view& line, std::size_t longest);

    // The whole rest of the file, at most most bytes; false with Error() set
    // when it is longer or cannot be read.
    bool ReadRest(std::string& text, std::uintmax_t most);

    // The rest of the file handed to each a piece at a time, in bounded
    // memory; false with Error() set when reading failed.
    template <typename Each>
    bool ReadPieces(Each each) {
        do {
            if (at_ < buffer_.size()) each(std::string_view(buffer_).substr(at_));
            at_ = buffer_.size();
        } while (Fill());
        return error_.empty();
    }

    std::size_t LineNumber() const { return lineNumber_; }
    const std::string& Error() const { return error_; }

private:
    bool Fill();

    int fd_ = -1;
    std::uintmax_t size_ = 0;
    std::string buffer_;
    std::size_t at_ = 0;  // the first unread byte of buffer_
    bool ended_ = false;
    std::size_t lineNumber_ = 0;
    std::string error_;
};

// Why the last system call failed, in English whatever the locale.
std::string SystemReason(int error);
