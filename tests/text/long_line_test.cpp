// A text file with a line far longer than any list shows: the reader cuts
// it as it reads and never holds the rest.
#include "files/text_file.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>

#include <sys/resource.h>

namespace fs = std::filesystem;

namespace {

long PeakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

TEST(TextFiles, ALineIsCutAt4096BytesAsItIsReadAndItsRestSkipped) {
    fs::path folder = FreshFolder("text_long_line");
    fs::path file = folder / "Info.txt";
    {
        std::ofstream out(file, std::ios::binary);
        out << std::string(4096, 'a') << "\r\n" << std::string(4097, 'b') << "\r\n";
        const std::string block(1 << 20, 'c');
        for (int n = 0; n < 50; ++n) out << block;  // one line of 50 MiB
        out << "\r\nnext\nlast";
    }
    const long peakBefore = PeakKilobytes();
    TextFileReader reader;
    ASSERT_TRUE(reader.Open(file));
    EXPECT_EQ(reader.ReadLine(), std::string(4096, 'a'));
    EXPECT_EQ(reader.ReadLine(), std::string(4096, 'b'));
    EXPECT_EQ(reader.ReadLine(), std::string(4096, 'c'));
    EXPECT_EQ(reader.ReadLine(), "next");
    EXPECT_EQ(reader.ReadLine(), "last");
    EXPECT_EQ(reader.ReadLine(), "");
    reader.Close();
    EXPECT_LT(PeakKilobytes() - peakBefore, 8 * 1024) << "the long line was held in memory";
    fs::remove_all(folder);
}

}  // namespace
