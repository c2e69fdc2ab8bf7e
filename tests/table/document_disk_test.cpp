// kelmorven-table's documents on disk, run as a separate process: a document
// another program holds is left alone, a failed sync is a failed write, and
// a run killed at any moment leaves whole documents and nothing else.
#include "documents/print_back_end.h"
#include "documents/timetable_documents.h"
#include "table/table_run.h"
#include "tests/support/file_contents.h"
#include "tests/support/locking_process.h"
#include "tests/support/many_places.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <set>
#include <thread>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Starts the tool with arguments, its output into files of folder; extra
// holds "NAME=value" settings added to the environment; openFiles, when not
// 0, is the most files the tool may have open.
pid_t StartTool(const std::vector<std::string>& arguments, const fs::path& folder,
                const std::vector<std::string>& extra = {}, rlim_t openFiles = 0,
                const fs::path& program = KELMORVEN_TABLE_PATH) {
    const std::string out = (folder / "tool.out").string(), err = (folder / "tool.err").string();
    std::vector<std::string> all = {program.string()};
    all.insert(all.end(), arguments.begin(), arguments.end());
    pid_t pid = ::fork();
    if (pid == 0) {
        for (const std::string& setting : extra) ::putenv(const_cast<char*>(setting.c_str()));
        const rlimit limit{openFiles, openFiles};
        if (openFiles) ::setrlimit(RLIMIT_NOFILE, &limit);
        int o = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int e = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(o, 1);
        ::dup2(e, 2);
        std::vector<char*> argv;
        for (std::string& a : all) argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    return pid;
}

struct ToolRun {
    int status;  // the exit status, or -1 when a signal ended the tool
    std::string out, err;
};

ToolRun WaitTool(pid_t pid, const fs::path& folder) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    ToolRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, Contents(folder / "tool.out"),
                Contents(folder / "tool.err")};
    fs::remove(folder / "tool.out");
    fs::remove(folder / "tool.err");
    return run;
}

ToolRun Tool(const std::vector<std::string>& arguments, const fs::path& folder,
             const std::vector<std::string>& extra = {}) {
    return WaitTool(StartTool(arguments, folder, extra), folder);
}

std::vector<std::string> OnePlace(const std::string& year, const fs::path& out) {
    return {"--year", year, "--town", "TESTTOWN", "--longitude", "9", "--latitude", "48", "--east",
            "--ten-mode", "--zone", "1", "--out", out.string()};
}

std::vector<std::string> Batch(const std::string& year, const fs::path& csv, const fs::path& out) {
    return {"--year", year, "--summer-time", "--batch", csv.string(), "--out", out.string()};
}

// The files of a folder by name.
std::map<std::string, std::string> Files(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        files[entry.path().filename().string()] = Contents(entry.path());
    return files;
}

// The name a run gives a document just before it replaces the earlier one.
bool HiddenName(const std::string& name) { return name[0] == '.' && name.find(".part-") != std::string::npos; }


}  // namespace

TEST(DocumentsOnDisk, ADocumentAnotherProgramLocksIsReportedAndKept) {
    fs::path folder = FreshFolder("disk_locked");
    fs::create_directories(folder / "out");
    std::ofstream(folder / "out" / "TESTTOWN.TXT") << "earlier";
    {
        LockingProcess holder(folder / "out" / "TESTTOWN.TXT", LockingProcess::Flock);
        ASSERT_TRUE(holder.Locked());
        ToolRun run = Tool(OnePlace("2004", folder / "out"), folder);
        EXPECT_EQ(run.status, kTableUnwritable);
        EXPECT_EQ(run.err, "Attention ! " + (folder / "out" / "TESTTOWN.TXT").string() + ": another program holds it\n" +
                               kCannotSaveText + "\n");
        EXPECT_EQ(Contents(folder / "out" / "TESTTOWN.TXT"), "earlier");

        // In a batch the other places are written; the held one is reported by its line.
        std::ofstream(folder / "places.csv") << "town,longitude,latitude,east_west,north_south,zone\n"
                                                "Ulm,9,48,east,north,1\nTesttown,9,48,east,north,1\nRio,43,22,west,south,-3\n";
        run = Tool(Batch("2004", folder / "places.csv", folder / "out"), folder);
        EXPECT_EQ(run.status, kTableUnwritable);
        const std::string prefix = (folder / "places.csv").string() + " line 3: ";
        EXPECT_EQ(run.err, prefix + "Attention ! " + (folder / "out" / "TESTTOWN.TXT").string() +
                               ": another program holds it\n" + prefix + kCannotSaveText + "\n");
        EXPECT_NE(run.out.find((folder / "out" / "ULM.TXT").string() + "\n"), std::string::npos);
        EXPECT_NE(run.out.find((folder / "out" / "RIO.TXT").string() + "\n"), std::string::npos);
        EXPECT_EQ(run.out.find("TESTTOWN"), std::string::npos);
        EXPECT_EQ(Contents(folder / "out" / "TESTTOWN.TXT"), "earlier");
    }
    EXPECT_EQ(Tool(OnePlace("2004", folder / "out"), folder).status, kTableWritten);
    EXPECT_NE(Contents(folder / "out" / "TESTTOWN.TXT"), "earlier");
    EXPECT_EQ(Files(folder / "out").size(), 3u);
    fs::remove_all(folder);
}

// With few files allowed open, a batch goes to disk in several chunks, and
// every place is still written and reported in its order.
TEST(DocumentsOnDisk, ABatchBeyondTheOpenFileLimitGoesToDiskInChunks) {
    fs::path folder = FreshFolder("disk_chunks");
    fs::create_directories(folder / "out");
    std::ofstream(folder / "places.csv") << ManyPlacesCsv(40);
    const pid_t pid = StartTool(Batch("2004", folder / "places.csv", folder / "out"), folder, {}, 80);
    ToolRun run = WaitTool(pid, folder);
    EXPECT_EQ(run.status, kTableWritten) << run.err;
    EXPECT_EQ(Files(folder / "out").size(), 40u);
    size_t at = 0;
    for (int i = 0; i < 40; ++i) {
        at = run.out.find((folder / "out" / ("PLACE" + std::to_string(i) + ".TXT")).string() + "\n", at);
        ASSERT_NE(at, std::string::npos) << "PLACE" << i;
    }
    fs::remove_all(folder);
}

// A sync that fails is a failed write: "Attention !", status 3, the earlier
// document back in place (a new one not there), nothing else left, alone or
// in a batch.
TEST(DocumentsOnDisk, AFailedSyncIsAFailedWriteThatKeepsTheEarlierDocument) {
    fs::path folder = FreshFolder("disk_sync_fails");
    std::ofstream(folder / "places.csv") << "town,longitude,latitude,east_west,north_south,zone\n"
                                            "Testtown,9,48,east,north,1\nNewtown,9,48,east,north,1\n";
    for (const char* failing : {"folder-sync", "file-sync"}) {
        for (bool batch : {false, true}) {
            const std::string what = std::string(failing) + (batch ? " in a batch" : " alone");
            fs::remove_all(folder / "out");
            fs::create_directories(folder / "out");
            std::ofstream(folder / "out" / "TESTTOWN.TXT") << "earlier";
            const std::vector<std::string> preload = {std::string("LD_PRELOAD=") + KELMORVEN_FAILING_CALLS,
                                                      std::string("KELMORVEN_TEST_FAIL=") + failing};
            ToolRun run = Tool(batch ? Batch("2004", folder / "places.csv", folder / "out")
                                     : OnePlace("2004", folder / "out"),
                               folder, preload);
            EXPECT_EQ(run.status, kTableUnwritable) << what;
            EXPECT_EQ(run.out, "") << what;
            EXPECT_NE(run.err.find(kCannotSaveText), std::string::npos) << what;
            EXPECT_EQ(Files(folder / "out"), (std::map<std::string, std::string>{{"TESTTOWN.TXT", "earlier"}}))
                << what;
        }
    }
    fs::remove_all(folder);
}

// The rare failures of the system, each injected alone: a failure is
// reported with the document's path and its reason, and the earlier
// document is said to be kept only when it is; the others change nothing
// (without the local time, today is the date in UTC, not a day of 1899).
TEST(DocumentsOnDisk, RareFailuresAreReportedByPathAndReason) {
    fs::path folder = FreshFolder("disk_rare_failures");
    const fs::path out = folder / "out";
    const std::string testtown = (out / "TESTTOWN.TXT").string();
    const std::chrono::year_month_day utc{std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now())};
    const std::string utcToday =  // the line gives the month, then the day
        " " + std::to_string(unsigned{utc.month()}) + "." + std::to_string(unsigned{utc.day()}) + ".2004 ";
    struct Case {
        const char* failing;
        const char* format;
        int status;
        std::string err;  // its first line
        bool kept;        // whether TESTTOWN.TXT is still the earlier one
        std::string out = "";  // a part of the report
    };
    const Case cases[] = {
        {"flock", "txt", kTableUnwritable, "Attention ! " + testtown + ": No locks available", true},
        {"restore", "txt", kTableUnwritable,
         "Attention ! " + testtown + ": the folder could not be synced, and the earlier file could not be put back",
         false},
        {"ical-null", "ics", kTableUnwritable,
         "Attention ! " + (out / "TESTTOWN.ics").string() + ": Cannot allocate memory", true},
        {"fdopendir", "txt", kTableWritten, "", false},
        {"newlocale", "txt", kTableWritten, "", false},
        {"localtime", "txt", kTableWritten, "", false, utcToday},
    };
    fs::create_directories(out);
    ASSERT_EQ(Tool(OnePlace("2004", out), folder).status, kTableWritten);
    const std::string healthy = Contents(testtown);
    for (const Case& c : cases) {
        std::ofstream(testtown, std::ios::trunc) << "earlier";
        std::vector<std::string> arguments = OnePlace("2004", out);
        arguments.insert(arguments.end(), {"--format", c.format});
        const ToolRun run = Tool(arguments, folder, {std::string("LD_PRELOAD=") + KELMORVEN_FAILING_CALLS,
                                                     std::string("KELMORVEN_TEST_FAIL=") + c.failing});
        EXPECT_EQ(run.status, c.status) << c.failing;
        EXPECT_EQ(run.err.substr(0, run.err.find('\n')), c.err) << c.failing;
        EXPECT_EQ(run.err.find(kCannotSaveText) != std::string::npos, c.status == kTableUnwritable) << c.failing;
        EXPECT_EQ(Contents(testtown), c.kept ? "earlier" : healthy) << c.failing;
        EXPECT_NE(run.out.find(c.out), std::string::npos) << c.failing << ": " << run.out;
        fs::remove(out / "TESTTOWN.ics");
        for (const auto& entry : fs::directory_iterator(out))
            EXPECT_FALSE(HiddenName(entry.path().filename().string())) << c.failing << ": " << entry.path();
    }
    fs::remove_all(folder);
}

// A printing toolkit that cannot start (here: no platform plugin where a
// qt.conf beside the program sends it) says why before the process ends.
TEST(DocumentsOnDisk, APrintingToolkitThatCannotStartSaysWhy) {
    fs::path folder = FreshFolder("disk_no_platform");
    fs::copy_file(KELMORVEN_TABLE_PATH, folder / "kelmorven-table");
    fs::copy_file(fs::path(KELMORVEN_TABLE_PATH).parent_path() / kPrintModuleFile, folder / kPrintModuleFile);
    std::ofstream(folder / "qt.conf") << "[Paths]\nPlugins=" << (folder / "none").string() << "\n";
    std::vector<std::string> arguments = OnePlace("2004", folder);
    arguments.insert(arguments.end(), {"--format", "pdf"});
    const ToolRun run = WaitTool(StartTool(arguments, folder, {}, 0, folder / "kelmorven-table"), folder);
    EXPECT_NE(run.status, kTableWritten);
    EXPECT_NE(run.err.find("kelmorven: the printing toolkit failed: "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("platform plugin"), std::string::npos) << run.err;
    fs::remove_all(folder);
}

// Where the file system offers no unnamed files, the hidden ones go when
// the run is terminated.
TEST(DocumentsOnDisk, WithoutUnnamedFilesATerminatedRunRemovesItsHiddenFiles) {
    fs::path folder = FreshFolder("disk_no_tmpfile");
    fs::create_directories(folder / "out");
    std::ofstream(folder / "places.csv") << ManyPlacesCsv(300);
    const std::vector<std::string> preload = {std::string("LD_PRELOAD=") + KELMORVEN_FAILING_CALLS,
                                              "KELMORVEN_TEST_FAIL=no-tmpfile"};
    const auto started = std::chrono::steady_clock::now();
    ToolRun run = Tool(Batch("2004", folder / "places.csv", folder / "out"), folder, preload);
    const auto whole = std::chrono::steady_clock::now() - started;
    ASSERT_EQ(run.status, kTableWritten) << run.err;
    const std::map<std::string, std::string> written = Files(folder / "out");
    ASSERT_EQ(written.size(), 300u);
    std::mt19937 random(7);
    for (int n = 0; n < 6; ++n) {
        pid_t pid = StartTool(Batch("2005", folder / "places.csv", folder / "out"), folder, preload);
        std::this_thread::sleep_for(whole * std::uniform_real_distribution<double>(0.2, 0.9)(random));
        ::kill(pid, n % 2 ? SIGINT : SIGTERM);
        WaitTool(pid, folder);
        for (const auto& [name, bytes] : Files(folder / "out")) {
            EXPECT_FALSE(HiddenName(name)) << name;
            EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n") << name;
        }
        EXPECT_EQ(Files(folder / "out").size(), 300u);
    }
    fs::remove_all(folder);
}

// 50 runs over 1,000 places, each killed at a random moment, by SIGKILL or
// SIGTERM: every document is whole, the one of the year before or the new
// one, and no other file remains. Only a SIGKILL in the instant between a
// document's hidden name and its rename leaves that one file, a whole new
// document under its hidden name; the next run removes it.
TEST(DocumentsOnDisk, AKilledBatchLeavesWholeDocumentsAndNothingElse) {
    fs::path folder = FreshFolder("disk_killed");
    fs::create_directories(folder / "out");
    std::ofstream(folder / "places.csv") << ManyPlacesCsv(1000);
    std::map<std::string, std::string> byYear[2];
    std::chrono::steady_clock::duration whole{};
    for (int y = 0; y < 2; ++y) {
        const auto started = std::chrono::steady_clock::now();
        ToolRun run = Tool(Batch(y ? "2005" : "2004", folder / "places.csv", folder / "out"), folder);
        whole = std::chrono::steady_clock::now() - started;
        ASSERT_EQ(run.status, kTableWritten) << run.err;
        byYear[y] = Files(folder / "out");
        ASSERT_EQ(byYear[y].size(), 1000u);
    }
    auto wholeDocument = [&](const std::string& name, const std::string& bytes) {
        return (byYear[0].count(name) && byYear[0].at(name) == bytes) ||
               (byYear[1].count(name) && byYear[1].at(name) == bytes);
    };
    std::mt19937 random(20261208);
    std::set<std::string> hidden;  // hidden files seen after the kill before
    struct stat info {};
    int finished = 0, amidRenames = 0, hiddenLeft = 0;
    for (int n = 0; n < 50; ++n) {
        const int signal = random() % 2 ? SIGKILL : SIGTERM;
        const auto started = std::chrono::steady_clock::now();
        pid_t pid = StartTool(Batch(n % 2 ? "2004" : "2005", folder / "places.csv", folder / "out"), folder);
        if (n % 3) {
            const double at = std::uniform_real_distribution<double>(0.0, 1.0)(random);
            std::this_thread::sleep_for(std::chrono::duration_cast<std::chrono::microseconds>(whole * at));
        } else {
            // A third of the kills fall amid the renames: once the first
            // document has been replaced, within the next few milliseconds.
            const fs::path first = folder / "out" / "PLACE0.TXT";
            const ino_t before = ::stat(first.c_str(), &info) == 0 ? info.st_ino : 0;
            auto running = [pid] {
                siginfo_t state{};
                return ::waitid(P_PID, static_cast<id_t>(pid), &state, WEXITED | WNOHANG | WNOWAIT) == 0 &&
                       state.si_pid == 0;
            };
            while (running() && ::stat(first.c_str(), &info) == 0 && info.st_ino == before)
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            std::this_thread::sleep_for(std::chrono::microseconds(random() % 40000));
        }
        ::kill(pid, signal);
        if (WaitTool(pid, folder).status == kTableWritten) {
            ++finished;
            whole = std::chrono::steady_clock::now() - started;  // the machine got faster: aim anew
        }

        size_t documents = 0, fromYear[2] = {0, 0};
        std::set<std::string> hiddenNow, added;
        for (const auto& [name, bytes] : Files(folder / "out")) {
            if (HiddenName(name)) {
                // ".PLACE7.TXT.part-PID-N" holds a whole PLACE7.TXT.
                EXPECT_TRUE(wholeDocument(name.substr(1, name.rfind(".part-") - 1), bytes)) << "run " << n << ": " << name;
                hiddenNow.insert(name);
                if (!hidden.count(name)) added.insert(name);
                continue;
            }
            ++documents;
            EXPECT_TRUE(wholeDocument(name, bytes)) << "run " << n << ": " << name << " is not a whole document";
            ++fromYear[byYear[1].count(name) && byYear[1].at(name) == bytes ? 1 : 0];
        }
        EXPECT_EQ(documents, 1000u) << "run " << n;
        EXPECT_LE(added.size(), signal == SIGKILL ? 1u : 0u) << "run " << n << ": " << *added.begin();
        hiddenLeft += static_cast<int>(added.size());
        hidden = hiddenNow;
        amidRenames += fromYear[0] && fromYear[1];
    }
    ToolRun run = Tool(Batch("2004", folder / "places.csv", folder / "out"), folder);
    EXPECT_EQ(run.status, kTableWritten) << run.err;
    EXPECT_EQ(Files(folder / "out"), byYear[0]);
    std::printf("50 kills: %d runs finished first, %d killed amid the renames, %d hidden files left by SIGKILL\n",
                finished, amidRenames, hiddenLeft);
    fs::remove_all(folder);
}

namespace {

// A headless LibreOffice with one document open, in a process group of its
// own with its own profile; killed with the whole group when destroyed.
class OfficeWithDocument {
public:
    OfficeWithDocument(const fs::path& document, const fs::path& home) {
        const std::string profile = "-env:UserInstallation=file://" + (home / "profile").string();
        pid_ = ::fork();
        if (pid_ == 0) {
            ::setsid();
            ::setenv("HOME", home.c_str(), 1);
            int null = ::open("/dev/null", O_RDWR);
            ::dup2(null, 1);
            ::dup2(null, 2);
            ::execlp("soffice", "soffice", "--headless", "--norestore", "--nologo", profile.c_str(),
                     document.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
    }
    ~OfficeWithDocument() { Kill(); }

    // Kills it as a crash would.
    void Kill() {
        if (pid_ <= 0) return;
        ::kill(-pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        for (int n = 0; n < 100 && ::kill(-pid_, 0) == 0; ++n)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
};

}  // namespace

// LibreOffice takes no lock on a text document it has open; its lock file
// beside the document is what says the document is in use. After a crash
// that lock file stays, and so does the refusal, until it is removed.
TEST(DocumentsOnDisk, ADocumentOpenInLibreOfficeIsLeftAlone) {
    if (std::system("command -v soffice >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "LibreOffice (soffice) is not installed: the document is not opened in it";
    fs::path folder = FreshFolder("disk_office");
    fs::create_directories(folder / "out");
    ASSERT_EQ(Tool(OnePlace("2004", folder / "out"), folder).status, kTableWritten);
    const fs::path document = folder / "out" / "TESTTOWN.TXT";
    const fs::path lockFile = folder / "out" / ".~lock.TESTTOWN.TXT#";
    const std::string earlier = Contents(document);
    {
        OfficeWithDocument office(document, folder);
        for (int n = 0; n < 1200 && !fs::exists(lockFile); ++n)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        ASSERT_TRUE(fs::exists(lockFile)) << "LibreOffice did not open the document within two minutes";

        ToolRun run = Tool(OnePlace("2005", folder / "out"), folder);
        EXPECT_EQ(run.status, kTableUnwritable);
        EXPECT_EQ(run.err, "Attention ! " + document.string() + ": another program holds it\n" + kCannotSaveText + "\n");
        EXPECT_EQ(Contents(document), earlier);

        office.Kill();
        ASSERT_TRUE(fs::exists(lockFile));  // left behind by the crash
        EXPECT_EQ(Tool(OnePlace("2005", folder / "out"), folder).status, kTableUnwritable);
        EXPECT_EQ(Contents(document), earlier);
    }
    fs::remove(lockFile);
    EXPECT_EQ(Tool(OnePlace("2005", folder / "out"), folder).status, kTableWritten);
    EXPECT_NE(Contents(document), earlier);
    fs::remove_all(folder);
}
