#include "files/text_file.h"

#include "text/code_page.h"

#include <algorithm>
#include <span>
#include <system_error>

#include <fcntl.h>
#include <sys/resource.h>
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

bool TextFileWriter::Open(const std::filesystem::path& path) { return file_.Begin(path); }

void TextFileWriter::Write(std::string_view bytes) { file_.Append(bytes); }

WriteOutcome TextFileWriter::Close() {
    if (!file_.Begun()) return {file_.Error() != 0 ? file_.Error() : EBADF};
    RemoveLeftoverFiles(file_.Folder());
    return {CommitPendingFiles(std::span<PendingFile>(&file_, 1)).front()};
}

namespace {

// Each file held keeps one descriptor, and a second one for its earlier file
// while the batch is committed; 64 stay for the rest of the program.
size_t CapacityForOpenFileLimit() {
    constexpr size_t kMostFiles = 1024;  // enough that the sync is paid rarely
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return kMostFiles;
    const size_t open = static_cast<size_t>(limit.rlim_cur);
    return std::clamp<size_t>(open > 64 ? (open - 64) / 2 : 1, 1, kMostFiles);
}

}  // namespace

TextFileBatch::TextFileBatch() : TextFileBatch(CapacityForOpenFileLimit()) {}

TextFileBatch::TextFileBatch(size_t capacity) : capacity_(std::max<size_t>(capacity, 1)) {}

TextFileBatch::~TextFileBatch() { CloseFolders(); }

WriteOutcome TextFileBatch::Add(TextFileWriter& writer) {
    PendingFile file = std::move(writer.file_);
    if (!file.Begun()) return {file.Error() != 0 ? file.Error() : EBADF};
    const std::filesystem::path folder = file.Folder();
    if (std::none_of(folders_.begin(), folders_.end(), [&](const auto& known) { return known.first == folder; })) {
        // Opened before the file's bytes go out: its sync reports their errors.
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return {errno};
        folders_.emplace_back(folder, fd);
        RemoveLeftoverFiles(folder);
    }
    if (!file.Flush()) return {file.Error()};
    files_.push_back(std::move(file));
    return {};
}

std::vector<WriteOutcome> TextFileBatch::Commit() {
    std::vector<int> fileSystems;
    for (const auto& folder : folders_) fileSystems.push_back(folder.second);
    std::vector<WriteOutcome> outcomes;
    for (int error : CommitPendingFiles(files_, fileSystems)) outcomes.push_back({error});
    files_.clear();
    CloseFolders();
    return outcomes;
}

void TextFileBatch::CloseFolders() {
    for (const auto& folder : folders_) ::close(folder.second);
    folders_.clear();
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
