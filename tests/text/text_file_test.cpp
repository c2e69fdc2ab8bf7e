#include "runtime/text/text_file.h"
#include "tests/support/file_contents.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(TextFiles, AFileWrittenOverALongerOneHoldsOnlyTheNewLines) {
    fs::path folder = FreshFolder("text_replace");
    fs::path file = folder / "TOWN.TXT";
    std::ofstream(file, std::ios::binary) << std::string(5000, 'x');
    TextFileWriter writer;
    ASSERT_TRUE(writer.Open(file));
    writer.WriteLine("abc");
    writer.Write("d\xB0");
    writer.WriteLine("");
    ASSERT_TRUE(writer.Close());
    EXPECT_EQ(Contents(file), "abc\r\nd\xB0\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    fs::remove_all(folder);
}

TEST(TextFiles, AFailedWriteKeepsTheEarlierFile) {
    fs::path folder = FreshFolder("text_keep");
    fs::path file = folder / "TOWN.TXT";
    std::ofstream(file, std::ios::binary) << "earlier";
    {
        TextFileWriter abandoned;  // never closed: nothing replaces the file
        ASSERT_TRUE(abandoned.Open(file));
        abandoned.WriteLine("new");
    }
    EXPECT_EQ(Contents(file), "earlier");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);

    TextFileWriter writer;
    EXPECT_FALSE(writer.Open(folder / "missing" / "TOWN.TXT"));  // no such folder
    fs::create_directory(folder / "DIR.TXT");
    EXPECT_FALSE(writer.Open(folder / "DIR.TXT"));                // not a file
    if (::geteuid() != 0) {                                       // root writes anywhere
        ::chmod(folder.c_str(), 0555);
        EXPECT_FALSE(writer.Open(file));
        ::chmod(folder.c_str(), 0755);
    }
    EXPECT_EQ(Contents(file), "earlier");
    fs::remove_all(folder);
}

TEST(TextFiles, LinesEndAtLfCrOrNul) {
    fs::path folder = FreshFolder("text_read");
    fs::path file = folder / "Info.txt";
    std::ofstream(file, std::ios::binary) << std::string("abc\r\ndef\nx\0y\rz", 15);
    TextFileReader reader;
    ASSERT_TRUE(reader.Open(file));
    EXPECT_EQ(reader.ReadLine(), "abc");
    EXPECT_EQ(reader.ReadLine(), "def");
    EXPECT_EQ(reader.ReadLine(), "x");
    EXPECT_EQ(reader.ReadLine(), "y");
    EXPECT_EQ(reader.ReadLine(), "");  // the CR took the z along
    EXPECT_EQ(reader.ReadLine(), "");
    reader.Close();
    EXPECT_FALSE(reader.Open(folder / "none.txt"));
    EXPECT_EQ(reader.ReadLine(), "");
    fs::remove_all(folder);
}

TEST(TextFiles, NamesOfTheProgramResolveInItsFolder) {
    EXPECT_EQ(ResolveInFolder("/opt/k", "DatenE\\Info.txt"), fs::path("/opt/k/DatenE/Info.txt"));
    EXPECT_EQ(ResolveInFolder("/opt/k", "CAF\xC9.TXT"), fs::path("/opt/k/CAFÉ.TXT"));
    EXPECT_FALSE(ProgramFolder().empty());
}
