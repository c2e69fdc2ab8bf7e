#include "runtime/text/text_file.h"

#include "runtime/text/conversions.h"

#include <cerrno>
#include <cstdlib>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::filesystem::path ProgramFolder() {
    std::error_code error;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return std::filesystem::current_path(error);
    return exe.parent_path();
}

std::filesystem::path ResolveInFolder(const std::filesystem::path& folder,
                                      std::string_view cp1252Name) {
    std::string name = Cp1252ToUtf8(cp1252Name);
    for (char& c : name)
        if (c == '\\') c = '/';  // the program's names use the other separator
    return folder / std::filesystem::path(name);
}

TextFileWriter::~TextFileWriter() { Discard(); }

void TextFileWriter::Discard() {
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
}

bool TextFileWriter::Open(const std::filesystem::path& path) {
    Discard();
    failed_ = false;
    target_ = path;
    // An existing name must be a file we may replace.
    struct stat info {};
    const bool exists = ::lstat(path.c_str(), &info) == 0;
    if (exists && (!S_ISREG(info.st_mode) || ::access(path.c_str(), W_OK) != 0)) return false;
    std::filesystem::path folder = path.parent_path();
    if (folder.empty()) folder = ".";
    std::string pattern = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
    int fd = ::mkstemp(pattern.data());
    if (fd < 0) return false;
    temporary_ = pattern;
    // Keep the permissions an existing file had, or the usual ones of a new file.
    mode_t mode = 0666;
    if (exists) {
        mode = info.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    ::fchmod(fd, mode);
    file_ = ::fdopen(fd, "wb");
    if (!file_) {
        ::close(fd);
        Discard();
        return false;
    }
    return true;
}

void TextFileWriter::Write(std::string_view text) {
    if (!file_ || failed_) return;
    if (!text.empty() && std::fwrite(text.data(), 1, text.size(), file_) != text.size())
        failed_ = true;
}

void TextFileWriter::WriteLine(std::string_view text) {
    Write(text);
    Write("\r\n");
}

bool TextFileWriter::Close() {
    if (!file_) return false;
    bool ok = !failed_ && std::fflush(file_) == 0 && ::fsync(::fileno(file_)) == 0;
    ok = std::fclose(file_) == 0 && ok;
    file_ = nullptr;
    if (ok) ok = ::rename(temporary_.c_str(), target_.c_str()) == 0;
    if (ok) temporary_.clear();
    Discard();
    return ok;
}

bool TextFileReader::Open(const std::filesystem::path& path) {
    Close();
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return false;
    file_ = std::fopen(path.c_str(), "rb");
    return file_ != nullptr;
}

std::string TextFileReader::ReadLine() {
    std::string line;
    if (!file_) return line;
    for (;;) {
        int c = std::fgetc(file_);
        if (c == EOF || c == '\n' || c == '\0') break;
        if (c == '\r') {
            std::fgetc(file_);  // the LF of CR LF, or whatever stands there
            break;
        }
        // Beyond what any list shows: read on to the line's end, keep nothing.
        if (line.size() < kMaxLineBytes) line += static_cast<char>(c);
    }
    return line;
}

void TextFileReader::Close() {
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
}
