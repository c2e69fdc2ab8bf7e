// Plain text files, written and read line by line. Lines end with CR LF;
// bytes are written unchanged.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

// The folder of the running executable: every relative file name of the
// program is resolved against it.
std::filesystem::path ProgramFolder();

// A path of the system for a file name of the program, a code page 1252 text
// resolved against folder.
std::filesystem::path ResolveInFolder(const std::filesystem::path& folder,
                                      std::string_view cp1252Name);

// Writes a file so that an earlier file of the same name is never lost: the
// text goes to a temporary file in the same folder, which replaces the old
// file only when everything was written and closed. Any failure on the way
// leaves the earlier file as it was and is reported by Open or Close.
class TextFileWriter {
public:
    TextFileWriter() = default;
    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;
    ~TextFileWriter();  // a writer not closed leaves no trace

    // False when the file cannot be written: the folder is missing or not
    // writable, or the name is taken by something that is not a writable file.
    bool Open(const std::filesystem::path& path);
    void Write(std::string_view text);
    void WriteLine(std::string_view text);  // text, then CR LF
    // True when every byte reached the disk and the file took its name.
    bool Close();

private:
    void Discard();

    std::FILE* file_ = nullptr;
    std::filesystem::path target_;
    std::filesystem::path temporary_;
    bool failed_ = false;
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
