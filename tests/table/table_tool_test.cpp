#include "documents/timetable_documents.h"
#include "runtime/text/text_file.h"
#include "tests/support/file_contents.h"
#include "tests/support/table_tool_run.h"
#include "tests/support/temp_folder.h"
#include "table/table_run.h"
#include "table/table_version.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

std::vector<std::string> FileLines(const fs::path& path) {
    std::vector<std::string> lines;
    TextFileReader reader;
    if (!reader.Open(path)) return lines;
    for (int i = 0; i < 122; ++i) lines.push_back(reader.ReadLine());
    return lines;
}

// Seconds of a time cell "hmmss".
int CellSeconds(const std::string& cell) {
    return std::stoi(cell.substr(0, 1)) * 3600 + std::stoi(cell.substr(1, 2)) * 60 + std::stoi(cell.substr(3, 2));
}

// The 17 May cell of a text timetable: row 17 of the first table, fifth month.
std::string May17Cell(const fs::path& file) { return FileLines(file).at(40).substr(4 + 12 * 4, 11); }

void ExpectNearWorkedExample(const std::string& entry) {
    ASSERT_EQ(entry.size(), 11u) << entry;
    EXPECT_NEAR(CellSeconds(entry.substr(0, 5)), CellSeconds("54821"), 2) << entry;
    EXPECT_NEAR(CellSeconds(entry.substr(6, 5)), CellSeconds("85313"), 2) << entry;
}

}  // namespace

TEST(TableTool, WritesTheWorkedExampleFromTheCommandLine) {
    fs::path folder = FreshFolder("table_worked");
    const std::string command = std::string(KELMORVEN_TABLE_PATH) +
                                " --year 2004 --town TESTTOWN --longitude 9 --latitude 48 --east --ten-mode"
                                " --zone 1 --summer-time --today 2004-05-17 --out '" + folder.string() + "' 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string out;
    std::array<char, 256> buffer;
    while (size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe)) out.append(buffer.data(), n);
    int status = ::pclose(pipe);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << out;

    fs::path file = folder / "TESTTOWN.TXT";
    ExpectNearWorkedExample(May17Cell(file));
    EXPECT_EQ(out.substr(0, out.find('\n')), file.string());
    const std::string today = "Today Monday 5.17.2004   SS SR = ";
    ASSERT_NE(out.find(today), std::string::npos) << out;
    ExpectNearWorkedExample(out.substr(out.find(today) + today.size(), 11));
    EXPECT_EQ(fs::file_size(file), Contents(file).size());
    fs::remove_all(folder);
}

TEST(TableTool, RefusesWhatTheWindowRefusesWithItsMessage) {
    fs::path folder = FreshFolder("table_refused");
    struct Case {
        std::vector<std::string> place;
        const char* err;
    };
    const Case cases[] = {
        {{"--town", "ULM", "--longitude", "9,5", "--latitude", "48"},
         "Attention at longitude !\ninput only by dot! comma not allowed! Only positive numbers!\n"},
        {{"--town", "m\xC3\xBCller", "--longitude", "9", "--latitude", "48"},  // UTF-8 müller, held as MÜLLER
         "Achtung bei Ort!\nNo umlauts accepated: \xC3\x84, \xC3\x96, \xC3\x9C, \xC3\x9F  because is no text format!\n"},
        {{"--town", "", "--longitude", "9", "--latitude", "48"},
         "Stop \nMissing input Or wrong input at position year, town, longitude Or latitude.\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments = {"--year", "2004", "--out", folder.string()};
        arguments.insert(arguments.end(), c.place.begin(), c.place.end());
        ToolRun run = Tool(arguments);
        EXPECT_EQ(run.status, kTableRefused);
        EXPECT_EQ(run.err, c.err);
        EXPECT_EQ(run.out, "");
    }
    // In 10-mode the minutes digits are not checked.
    EXPECT_EQ(Tool({"--year", "2004", "--out", folder.string(), "--town", "ulm", "--longitude", "9.7030",
                    "--latitude", "48", "--ten-mode"}).status, kTableWritten);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    EXPECT_TRUE(fs::exists(folder / "ULM.TXT"));
    fs::remove_all(folder);
}

TEST(TableTool, ADocumentThatCannotBeWrittenEndsWithStatusThree) {
    fs::path folder = FreshFolder("table_unwritable");
    ToolRun run = Tool({"--year", "2004", "--town", "ULM", "--longitude", "9", "--latitude", "48", "--out",
                    (folder / "missing").string()});
    EXPECT_EQ(run.status, kTableUnwritable);
    EXPECT_EQ(run.err, std::string("Attention !\n") + kCannotSaveText + "\n");
    fs::remove_all(folder);
}

TEST(TableTool, OptionErrorsPrintOneLineAndTheUsage) {
    ToolRun run = Tool({"--year", "2004", "--town", "ULM", "--longitude", "9"});
    EXPECT_EQ(run.status, kTableUsageError);
    EXPECT_EQ(run.err, std::string("kelmorven-table: --latitude is missing\n") + kTableUsage);
    run = Tool({"--year", "2004", "--town", "A\nB", "--longitude", "9", "--latitude", "48"});
    EXPECT_EQ(run.status, kTableUsageError);
    EXPECT_EQ(run.err.substr(0, run.err.find('\n')), "kelmorven-table: the town holds a control character");
    run = Tool({"--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, kTableUsage);
    run = Tool({"--year", "x", "--version"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, std::string("kelmorven-table ") + kKelmorvenVersion + "\n");
    EXPECT_EQ(run.err, "");
}

TEST(TableTool, ABatchWritesEveryGoodRowAndReportsTheRefusedOnesByLine) {
    fs::path folder = FreshFolder("table_batch");
    fs::path csv = folder / "places.csv";
    std::ofstream(csv, std::ios::binary) << "town,longitude,latitude,east_west,north_south,zone\n"
                                            "testtown,9,48,east,north,1\n"
                                            "Comma,9,5,48,east,north,1\n"
                                            "Rio,43.1345,22.5430,west,south,-3\n"
                                            "Slash/Town,9,48,east,north,1\n"
                                            "Ulm,9,48,sideways,north,1\n";
    fs::create_directories(folder / "out");
    ToolRun run = Tool({"--year", "2004", "--ten-mode", "--summer-time", "--batch", csv.string(), "--out",
                    (folder / "out").string(), "--today", "2004-05-17"});
    EXPECT_EQ(run.status, kTableRefused);
    const std::string p = csv.string() + " line ";
    EXPECT_EQ(run.err, p + "3: has 7 fields, not 6\n" +
                       p + "5: Attention !\n" + p + "5: Not allowed signs like the following \\ / : * ?  < > | # !\n" +
                       p + "6: east_west must be east or west\n");
    ExpectNearWorkedExample(May17Cell(folder / "out" / "TESTTOWN.TXT"));
    std::vector<std::string> rio = FileLines(folder / "out" / "RIO.TXT");
    EXPECT_EQ(rio.at(8), "   Longitude west =  43.134499\xB0 (10-mode)    =  43\xB0" "08'04 '' (60-mode)");
    EXPECT_EQ(rio.at(9), "   Latitude south = 22.542999\xB0 (10-mode)    = 22\xB0" "32'35 '' (60-mode)");
    EXPECT_EQ(rio.at(10), "   Time difference to Greenwich Mean Time =-3.00 hour(s)");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder / "out"), fs::directory_iterator()), 2);
    EXPECT_NE(run.out.find((folder / "out" / "RIO.TXT").string() + "\nToday Monday 5.17.2004   SS SR = "),
              std::string::npos);

    // With only good rows the status is 0; --rtf writes the other document.
    std::ofstream(csv, std::ios::binary) << "town,longitude,latitude,east_west,north_south,zone\r\n"
                                            "Ulm,9.5958,48.2402,east,north,1\r\n";
    run = Tool({"--year", "2005", "--batch", csv.string(), "--rtf", "--out", (folder / "out").string()});
    EXPECT_EQ(run.status, kTableWritten) << run.err;
    EXPECT_EQ(Contents(folder / "out" / "ULM.WRI").rfind("{\\rtf1", 0), 0u);

    run = Tool({"--year", "2005", "--batch", (folder / "none.csv").string()});
    EXPECT_EQ(run.status, kTableUsageError);
    EXPECT_EQ(run.err.substr(0, run.err.find('\n')), "kelmorven-table: " + (folder / "none.csv").string() + ": cannot be read");
    fs::remove_all(folder);
}
