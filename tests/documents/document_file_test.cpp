#include "documents/timetable_documents.h"
#include "tests/documents/filled_timetable.h"
#include "tests/support/file_contents.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <iterator>
#include <sys/resource.h>

namespace fs = std::filesystem;

namespace {

size_t FilesIn(const fs::path& folder) {
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// Lets no file grow beyond limit bytes while it lives: a full medium, which
// even root cannot write past.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limit) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved_;
        lowered.rlim_cur = limit;
        ::setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

}  // namespace

TEST(TimetableFiles, BothFilesHoldTheirLinesInCodePage1252EndedByCrLf) {
    fs::path folder = FreshFolder("docs_bytes");
    Timetable t = FilledTimetable();
    ASSERT_TRUE(WriteDocument(DocumentKind::Text, t, folder));
    ASSERT_TRUE(WriteDocument(DocumentKind::Rtf, t, folder));
    struct Case {
        const char* name;
        size_t lines;
        std::vector<std::string> built;
    };
    for (const Case& c : {Case{"TESTTOWN.TXT", 122, TextTimetableLines(t)}, Case{"TESTTOWN.WRI", 123, RtfTimetableLines(t)}}) {
        std::string bytes = Contents(folder / c.name);
        EXPECT_EQ(bytes, FileBytes(c.built)) << c.name;
        size_t crlf = 0, copyright = 0;
        for (size_t i = 0; i < bytes.size(); ++i) {
            unsigned char b = static_cast<unsigned char>(bytes[i]);
            if (b == '\n') {
                EXPECT_EQ(bytes[i - 1], '\r') << c.name << " at " << i;
                ++crlf;
            } else if (b == '\r') {
                EXPECT_EQ(bytes[i + 1], '\n') << c.name << " at " << i;
            } else if (b == 0xA9) {
                ++copyright;
            } else {
                EXPECT_TRUE((b >= 0x20 && b < 0x7F) || b == 0xB0) << c.name << " byte " << int(b) << " at " << i;
            }
        }
        EXPECT_EQ(crlf, c.lines) << c.name;
        EXPECT_EQ(copyright, 1u) << c.name;
        EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n") << c.name;
    }
    fs::remove_all(folder);
}

TEST(TimetableFiles, ASecondCalculationForTheSameTownReplacesTheFileWhole) {
    fs::path folder = FreshFolder("docs_replace");
    Timetable first = FilledTimetable(2004);
    first.settings.town = "LONGER TOWN NAME XYZ";  // 20 characters: the whole name names the file
    ASSERT_TRUE(WriteDocument(DocumentKind::Text, first, folder));
    ASSERT_TRUE(WriteDocument(DocumentKind::Rtf, first, folder));
    Timetable second = FilledTimetable(2005);
    second.settings.town = first.settings.town;
    second.settings.summerTime = 0;
    ASSERT_TRUE(WriteDocument(DocumentKind::Text, second, folder));
    ASSERT_TRUE(WriteDocument(DocumentKind::Rtf, second, folder));
    EXPECT_EQ(Contents(folder / "LONGER TOWN NAME XYZ.TXT"), FileBytes(TextTimetableLines(second)));
    EXPECT_EQ(Contents(folder / "LONGER TOWN NAME XYZ.WRI"), FileBytes(RtfTimetableLines(second)));
    EXPECT_EQ(FilesIn(folder), 2u);  // no temporary left behind
    EXPECT_EQ(MakeOutputFile(DocumentKind::Text, second).status, "Year edited into text-file: LONGER TOWN N.TXT");
    EXPECT_EQ(MakeOutputFile(DocumentKind::Rtf, second).status, "Year edited into RTF-file: LONGER TOWN N.WRI");
    fs::remove_all(folder);
}

TEST(TimetableFiles, AFileThatCannotBeWrittenLeavesTheEarlierOneAndReportsFailure) {
    fs::path folder = FreshFolder("docs_unwritable");
    std::ofstream(folder / "TESTTOWN.TXT", std::ios::binary) << "earlier";
    std::ofstream(folder / "TESTTOWN.WRI", std::ios::binary) << "earlier";
    Timetable t = FilledTimetable();
    {
        FileSizeLimit full(4096);  // each document is larger
        EXPECT_FALSE(WriteDocument(DocumentKind::Text, t, folder));
        EXPECT_FALSE(WriteDocument(DocumentKind::Rtf, t, folder));
    }
    EXPECT_EQ(Contents(folder / "TESTTOWN.TXT"), "earlier");
    EXPECT_EQ(Contents(folder / "TESTTOWN.WRI"), "earlier");
    EXPECT_EQ(FilesIn(folder), 2u);

    EXPECT_FALSE(WriteDocument(DocumentKind::Text, t, folder / "missing"));
    fs::create_directory(folder / "OTHER.TXT");
    t.settings.town = "OTHER";
    EXPECT_FALSE(WriteDocument(DocumentKind::Text, t, folder));
    fs::remove_all(folder);
}
