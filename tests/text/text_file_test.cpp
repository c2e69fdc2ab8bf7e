#include "files/text_file.h"
#include "tests/support/file_contents.h"
#include "tests/support/locking_process.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(TextFiles, AFileWrittenOverALongerOneHoldsOnlyTheNewLines) {
    fs::path folder = FreshFolder("text_replace");
    fs::path file = folder / "TOWN.TXT";
    std::ofstream(file, std::ios::binary) << std::string(5000, 'x');
    FileWriter writer;
    ASSERT_TRUE(writer.Open(file));
    writer.Write("abc\r\nd\xB0\r\n");
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
        FileWriter abandoned;  // never closed: nothing replaces the file
        ASSERT_TRUE(abandoned.Open(file));
        abandoned.Write("new");
    }
    EXPECT_EQ(Contents(file), "earlier");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);

    FileWriter writer;
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

namespace {

size_t EntriesIn(const fs::path& folder) {
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

bool Replace(const fs::path& file, const std::string& text) {
    FileWriter writer;
    if (!writer.Open(file)) return false;
    writer.Write(text);
    return static_cast<bool>(writer.Close());
}

}  // namespace

// Another program's lock, of any kind, or a word processor's lock file keeps
// the file as it was, at Open and still at Close; once the holder lets go
// the file is replaced.
TEST(TextFiles, AFileAnotherProgramHoldsIsLeftAsItWas) {
    fs::path folder = FreshFolder("text_in_use");
    fs::path file = folder / "TOWN.TXT";
    const std::string lockFile = ".~lock.TOWN.TXT#";
    struct Case {
        const char* holder;
        std::function<std::shared_ptr<void>()> hold;
    };
    auto child = [&](LockingProcess::Kind kind) {
        return [&file, kind]() -> std::shared_ptr<void> {
            auto process = std::make_shared<LockingProcess>(file, kind);
            EXPECT_TRUE(process->Locked());
            return process;
        };
    };
    auto ownDescriptor = [&](auto lock) {
        return [&file, lock]() -> std::shared_ptr<void> {
            int fd = ::open(file.c_str(), O_RDWR);
            EXPECT_TRUE(lock(fd));
            return std::shared_ptr<void>(nullptr, [fd](void*) { ::close(fd); });
        };
    };
    const Case cases[] = {
        {"flock in another process", child(LockingProcess::Flock)},
        {"shared flock in another process", child(LockingProcess::SharedFlock)},
        {"POSIX write lock in another process", child(LockingProcess::PosixWrite)},
        {"POSIX read lock in another process", child(LockingProcess::PosixRead)},
        {"flock through another open file", ownDescriptor([](int fd) { return ::flock(fd, LOCK_EX) == 0; })},
        {"open-file-description lock", ownDescriptor([](int fd) {
             struct flock lock {};
             lock.l_type = F_WRLCK;
             lock.l_whence = SEEK_SET;
             return ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
         })},
        {"LibreOffice lock file", [&]() -> std::shared_ptr<void> {
             std::ofstream(folder / lockFile) << ",user,host,08.12.2026 09:00,file:///home/user/.config/libreoffice/4;";
             return std::shared_ptr<void>(nullptr, [&](void*) { fs::remove(folder / lockFile); });
         }},
    };
    for (const Case& c : cases) {
        std::ofstream(file, std::ios::binary) << "earlier";
        {
            std::shared_ptr<void> held = c.hold();
            EXPECT_TRUE(FileInUse(file)) << c.holder;
            FileWriter writer;
            EXPECT_FALSE(writer.Open(file)) << c.holder;
            EXPECT_EQ(Contents(file), "earlier") << c.holder;
        }
        EXPECT_FALSE(FileInUse(file)) << c.holder;
        // Taken between Open and Close: the file is still not replaced.
        FileWriter writer;
        ASSERT_TRUE(writer.Open(file)) << c.holder;
        writer.Write("new");
        {
            std::shared_ptr<void> held = c.hold();
            EXPECT_FALSE(writer.Close()) << c.holder;
        }
        EXPECT_EQ(Contents(file), "earlier") << c.holder;
        EXPECT_EQ(EntriesIn(folder), 1u) << c.holder;
        EXPECT_TRUE(Replace(file, "new")) << c.holder;
        EXPECT_EQ(Contents(file), "new") << c.holder;
    }
    // A lock file beside a name that has no file yet stops nothing.
    std::ofstream(folder / ".~lock.NEW.TXT#") << "stale";
    EXPECT_TRUE(Replace(folder / "NEW.TXT", "first"));
    fs::remove_all(folder);
}

TEST(TextFiles, AReplacedFileKeepsItsPermissionsAndANewOneFollowsTheUmask) {
    fs::path folder = FreshFolder("text_mode");
    std::ofstream(folder / "OLD.TXT") << "earlier";
    fs::permissions(folder / "OLD.TXT", fs::perms(0640));
    ASSERT_TRUE(Replace(folder / "OLD.TXT", "new"));
    EXPECT_EQ(fs::status(folder / "OLD.TXT").permissions(), fs::perms(0640));
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(Replace(folder / "NEW.TXT", "new"));
    ::umask(mask);
    EXPECT_EQ(fs::status(folder / "NEW.TXT").permissions(), fs::perms(0644));
    fs::remove_all(folder);
}

// A batch names nothing before its Commit, which gives every file its name
// and says for each whether it got there; it holds no more files than it
// can commit at once.
TEST(TextFiles, ABatchNamesItsFilesAtCommitAndReportsEachOne) {
    fs::path folder = FreshFolder("text_batch");
    std::ofstream(folder / "HELD.TXT") << "earlier";
    std::ofstream(folder / "B.TXT") << "earlier b";
    FileBatch batch(8);
    const std::vector<std::string> names = {"A.TXT", "B.TXT", "HELD.TXT", "A.TXT", "C.TXT"};
    for (size_t i = 0; i < names.size(); ++i) {
        FileWriter writer;
        ASSERT_TRUE(writer.Open(folder / names[i])) << names[i];
        writer.Write(names[i] + " " + std::to_string(i) + "\r\n");
        ASSERT_TRUE(batch.Add(writer)) << names[i];
        EXPECT_FALSE(writer.Close());  // the batch has its file now
    }
    EXPECT_FALSE(batch.Full());
    EXPECT_EQ(EntriesIn(folder), 2u);  // nothing new has a name yet
    EXPECT_EQ(Contents(folder / "B.TXT"), "earlier b");
    std::vector<std::string> reasons;
    {
        LockingProcess holder(folder / "HELD.TXT", LockingProcess::Flock);
        for (const WriteOutcome& written : batch.Commit()) reasons.push_back(written ? "" : written.Reason());
    }
    EXPECT_EQ(reasons, (std::vector<std::string>{"", "", "another program holds it", "", ""}));
    EXPECT_EQ(Contents(folder / "A.TXT"), "A.TXT 3\r\n");  // the later of the two
    EXPECT_EQ(Contents(folder / "B.TXT"), "B.TXT 1\r\n");
    EXPECT_EQ(Contents(folder / "HELD.TXT"), "earlier");
    EXPECT_EQ(Contents(folder / "C.TXT"), "C.TXT 4\r\n");
    EXPECT_EQ(EntriesIn(folder), 4u);
    EXPECT_TRUE(batch.Commit().empty());

    FileBatch small(2);
    for (int i = 0; i < 2; ++i) {
        FileWriter writer;
        ASSERT_TRUE(writer.Open(folder / "D.TXT"));
        ASSERT_TRUE(small.Add(writer));
    }
    EXPECT_TRUE(small.Full());
    fs::remove_all(folder);
}

// The hidden files of writers killed in the act go; those of living
// writers, and every other name, stay.
TEST(TextFiles, LeftoversOfKilledWritersAreRemoved) {
    fs::path folder = FreshFolder("text_leftovers");
    const std::vector<std::string> kept = {"TOWN.TXT", ".TOWN.TXT.part-12", ".TOWN.TXT.part-x-1",
                                           "TOWN.TXT.part-1-2", ".part-1-2", ".~lock.TOWN.TXT#"};
    for (const std::string& name : kept) std::ofstream(folder / name) << name;
    std::ofstream(folder / ".TOWN.TXT.part-99999-0") << "dead";
    std::ofstream(folder / ".A B.WRI.part-1-17") << "dead";
    std::ofstream(folder / ".LIVE.TXT.part-4-2") << "alive";
    int live = ::open((folder / ".LIVE.TXT.part-4-2").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(live, LOCK_EX), 0);
    fs::create_directory(folder / ".DIR.part-1-1");
    RemoveLeftoverFiles(folder);
    for (const std::string& name : kept) EXPECT_TRUE(fs::exists(folder / name)) << name;
    EXPECT_FALSE(fs::exists(folder / ".TOWN.TXT.part-99999-0"));
    EXPECT_FALSE(fs::exists(folder / ".A B.WRI.part-1-17"));
    EXPECT_TRUE(fs::exists(folder / ".LIVE.TXT.part-4-2"));
    EXPECT_TRUE(fs::exists(folder / ".DIR.part-1-1"));
    ::close(live);
    EXPECT_TRUE(SyncFolder(folder));
    EXPECT_FALSE(SyncFolder(folder / "missing"));
    fs::remove_all(folder);
}
