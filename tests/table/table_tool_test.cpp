#include "documents/timetable_documents.h"
#include "files/text_file.h"
#include "tests/support/file_contents.h"
#include "tests/support/table_tool_run.h"
#include "tests/support/rtf_reading.h"
#include "tests/support/sanitized.h"
#include "tests/support/temp_folder.h"
#include "input/batch_file.h"
#include "table/table_run.h"
#include "table/table_version.h"

#include <gtest/gtest.h>

#include <clocale>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <utility>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

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

// The message names the document and says why, in English whatever the
// locale (a toolkit may have set it from the environment).
TEST(TableTool, ADocumentThatCannotBeWrittenEndsWithStatusThree) {
    fs::path folder = FreshFolder("table_unwritable");
    fs::create_directories(folder / "ULM.TXT");
    ASSERT_TRUE(std::setlocale(LC_ALL, "de_DE.UTF-8"));
    for (const auto& [out, why] : {std::pair{(folder / "missing").string(), "No such file or directory"},
                                   std::pair{folder.string(), "Is a directory"}}) {
        ToolRun run = Tool({"--year", "2004", "--town", "ULM", "--longitude", "9", "--latitude", "48", "--out", out});
        EXPECT_EQ(run.status, kTableUnwritable);
        EXPECT_EQ(run.err, "Attention ! " + out + "/ULM.TXT: " + why + "\n" + kCannotSaveText + "\n");
    }
    EXPECT_EQ(Tool({"--year", "2004", "--batch", "/etc/passwd/x"}).err,
              "kelmorven-table: /etc/passwd/x: cannot be read: Not a directory\n");
    std::setlocale(LC_ALL, "C");
    fs::remove_all(folder);
}

TEST(TableTool, OptionErrorsPrintOneLineAndTheUsage) {
    ToolRun run = Tool({"--year", "2004", "--town", "ULM", "--longitude", "9"});
    EXPECT_EQ(run.status, kTableUsageError);
    EXPECT_EQ(run.err, std::string("kelmorven-table: --latitude is missing\n") + TableUsage());
    run = Tool({"--year", "2004", "--town", "A\nB", "--longitude", "9", "--latitude", "48"});
    EXPECT_EQ(run.status, kTableUsageError);
    EXPECT_EQ(run.err.substr(0, run.err.find('\n')), "kelmorven-table: the town holds a control character");
    run = Tool({"--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, TableUsage());
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
                                            "Ulm,9,48,sideways,north,1\n"
                                            "Testtown,9,48,east,north,2\n";  // would replace line 2's
    fs::create_directories(folder / "out");
    ToolRun run = Tool({"--year", "2004", "--ten-mode", "--summer-time", "--batch", csv.string(), "--out",
                    (folder / "out").string(), "--today", "2004-05-17"});
    EXPECT_EQ(run.status, kTableRefused);
    const std::string p = csv.string() + " line ";
    EXPECT_EQ(run.err, p + "3: has 7 fields, not 6\n" +
                       p + "5: Attention !\n" + p + "5: Not allowed signs like the following \\ / : * ?  < > | # !\n" +
                       p + "6: east_west must be east or west\n" + p + "7: TESTTOWN.TXT: the same document as line 2\n");
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

    fs::remove_all(folder);
}

// Braces and backslashes typed in 60-mode coordinates reach the RTF as text:
// the document keeps its groups and shows every day row.
TEST(TableTool, TypedBracesStayTextInTheRtf) {
    fs::path folder = FreshFolder("table_rtf_braces");
    fs::path csv = folder / "places.csv";
    std::ofstream(csv, std::ios::binary)
        << kBatchHeader << "\n"
        << "INJ1,\"9{\\field{\\*\\fldinst HYPERLINK http://example/x}{\\fldrslt CLICK ME}}.1030\",48.2040,east,north,1\n";
    ToolRun run = Tool({"--year", "2026", "--batch", csv.string(), "--rtf", "--out", folder.string()});
    EXPECT_EQ(run.status, kTableWritten) << run.err;
    run = Tool({"--year", "2026", "--town", "INJ2", "--longitude", "9}}}.1030", "--latitude", "48.2\\040", "--rtf",
                "--out", folder.string()});
    EXPECT_EQ(run.status, kTableWritten) << run.err;
    for (const char* name : {"INJ1.WRI", "INJ2.WRI"}) {
        const RtfReading reading = ReadRtf(Contents(folder / name));
        EXPECT_TRUE(reading.groupsClosedAtEnd) << name;
        EXPECT_EQ(reading.controls, kTimetableRtfControls) << name;
        EXPECT_EQ(std::count_if(reading.paragraphs.begin(), reading.paragraphs.end(),
                                [](const std::string& p) { return p.size() == 76 && p[2] == '.'; }),
                  62)
            << name;
    }
    fs::remove_all(folder);
}

// A batch file that cannot be read at all ends the run with one line that
// names it and says why.
TEST(TableTool, ABatchFileThatCannotBeReadIsNamedInOneLine) {
    fs::path folder = FreshFolder("table_batch_unreadable");
    const std::string none = (folder / "none.csv").string(), dir = folder.string();
    const std::pair<std::string, std::string> cases[] = {
        {none, "does not exist"},
        {dir, "is a folder, not a file"},
        {"/proc/self/mem", "cannot be read: Input/output error"},  // unreadable even for root
        {"/dev/zero", "its first line must be town,longitude,latitude,east_west,north_south,zone"},
    };
    for (const auto& [path, why] : cases) {
        ToolRun run = Tool({"--year", "2005", "--batch", path, "--out", dir});
        EXPECT_EQ(run.status, kTableInputMissing) << path;
        EXPECT_EQ(run.err, "kelmorven-table: " + path + ": " + why + "\n");
        EXPECT_EQ(run.out, "");
    }
    fs::remove_all(folder);
}

namespace {

// The exit status of a shell command line.
int Shell(const std::string& command) {
    int status = std::system(("bash -c '" + command + "'").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// A batch of count places, TOWN1 to TOWNcount.
fs::path ManyPlaces(const fs::path& folder, int count) {
    fs::path csv = folder / "places.csv";
    std::ofstream out(csv, std::ios::binary);
    out << kBatchHeader << "\n";
    for (int i = 1; i <= count; ++i) out << "Town" << i << ",9.1030,48.2040,east,north,1\n";
    return csv;
}

size_t FilesIn(const fs::path& folder) {
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

}  // namespace

// A row that never ends before the memory does: the row is refused once it
// passes 64 KiB and read on to its end without being kept.
TEST(TableTool, AnEndlessRowIsRefusedWithoutFillingTheMemory) {
    fs::path folder = FreshFolder("table_endless_row");
    fs::create_directories(folder / "out");
    std::ofstream(folder / "head.csv") << kBatchHeader << "\n";
    std::ofstream(folder / "tail.csv") << "\nUlm,9,48,east,north,1\n";
    // 400 MB of a row with 300 MB of address space; AddressSanitizer's shadow
    // alone takes more than that, so there it is 300 MB of resident memory.
    const std::string limit = kSanitized ? "export ASAN_OPTIONS=\"$ASAN_OPTIONS:hard_rss_limit_mb=300\"" : "ulimit -v 300000";
    const std::string command = "cd " + folder.string() + " && (cat head.csv; head -c 400000000 /dev/zero; cat tail.csv) | "
                                "(" + limit + "; exec " KELMORVEN_TABLE_PATH " --year 2004 --batch /dev/stdin --out out "
                                "> report 2> errors)";
    EXPECT_EQ(Shell(command), kTableRefused);
    EXPECT_EQ(Contents(folder / "errors"), "/dev/stdin line 2: is longer than 65536 bytes\n");
    EXPECT_TRUE(fs::exists(folder / "out" / "ULM.TXT"));
    fs::remove_all(folder);
}

// Standard output that takes nothing (a closed pipe, a full disk): every
// document is still written, the lost report is said once at the end, and
// the status is 4.
TEST(TableTool, AReportThatCannotBeWrittenLosesNoDocument) {
    fs::path folder = FreshFolder("table_lost_report");
    fs::create_directories(folder / "out");
    const fs::path csv = ManyPlaces(folder, 40);
    const std::string lost = "kelmorven-table: the report could not be written to standard output\n";
    const std::string tool = std::string(KELMORVEN_TABLE_PATH) + " --year 2004 --batch " + csv.string() + " --out " +
                             (folder / "out").string();

    // A pipe whose reader is gone before the first line.
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    ::close(fds[0]);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::dup2(fds[1], 1);
        const int errors = ::open((folder / "errors").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(errors, 2);
        ::execl("/bin/sh", "sh", "-c", ("exec " + tool).c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(fds[1]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), kTableReportLost);
    EXPECT_EQ(Contents(folder / "errors"), lost);
    EXPECT_EQ(FilesIn(folder / "out"), 40u);

    // A reader that takes one line and goes; a full disk.
    fs::remove_all(folder / "out");
    fs::create_directories(folder / "out");
    // The pipe may take the whole report before head leaves (a batch reports
    // its places after their one sync): then nothing was refused to the tool.
    // Either way it is not killed by the closed pipe and writes everything.
    const int headStatus = Shell(tool + " 2>" + (folder / "errors").string() + " | head -1 >/dev/null; exit ${PIPESTATUS[0]}");
    EXPECT_TRUE(headStatus == kTableReportLost || headStatus == kTableWritten) << headStatus;
    EXPECT_EQ(FilesIn(folder / "out"), 40u);
    fs::remove_all(folder / "out");
    fs::create_directories(folder / "out");
    EXPECT_EQ(Shell(tool + " >/dev/full 2>" + (folder / "errors").string()), kTableReportLost);
    EXPECT_EQ(Contents(folder / "errors"), lost);
    EXPECT_EQ(FilesIn(folder / "out"), 40u);

    // A refused row keeps its status 2; the lost report is still said.
    std::ofstream(csv, std::ios::app) << "Comma,9,5,48,east,north,1\n";
    EXPECT_EQ(Shell(tool + " >/dev/full 2>" + (folder / "errors").string()), kTableRefused);
    EXPECT_EQ(Contents(folder / "errors").substr(Contents(folder / "errors").find('\n') + 1), lost);
    fs::remove_all(folder);
}
