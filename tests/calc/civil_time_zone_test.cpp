#include "calc/civil_time_zone.h"

#include "tests/support/file_contents.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>

static int64_t Utc(int year, int month, int day) {
    return std::chrono::sys_days{std::chrono::year{year} / month / day}.time_since_epoch().count() * 86400LL;
}

TEST(CivilTimeZone, SummerTimeAfter2037FollowsTheZoneRule) {
    // Offsets on 15 January and 15 July, as zdump shows them for 2038, 2050 and 2100.
    struct Case { const char* zone; int32_t january, july; };
    for (const Case& c : {Case{"Europe/Berlin", 3600, 7200}, Case{"America/New_York", -18000, -14400},
                          Case{"Australia/Sydney", 39600, 36000}}) {
        const CivilTimeZone zone = *CivilTimeZone::Find(c.zone).zone;
        for (const int year : {2038, 2050, 2100}) {
            EXPECT_EQ(zone.OffsetAt(Utc(year, 1, 15)), c.january) << c.zone << year;
            EXPECT_EQ(zone.OffsetAt(Utc(year, 7, 15)), c.july) << c.zone << year;
            EXPECT_EQ(zone.StandardOffset(year, 7, 15), std::min(c.january, c.july)) << c.zone << year;
        }
    }
}

TEST(CivilTimeZone, SlimZoneFileInItsOwnFolderAndNoWayOut) {
    // A slim file leaves its changes to the rule at its end; a copy outside the folder is never reached.
    const std::filesystem::path folder = FreshFolder("slim_zone"), zones = folder / "zones", outside = folder / "Home";
    std::ofstream(folder / "home.zi") << "Rule Home 1990 max - Mar lastSun 1:00u 1:00 S\n"
                                         "Rule Home 1990 max - Oct lastSun 1:00u 0 -\nZone Test/Home 1:00 Home CE%sT\n";
    ASSERT_EQ(std::system(("zic -b slim -d " + zones.string() + " " + (folder / "home.zi").string()).c_str()), 0);
    std::filesystem::copy_file(zones / "Test/Home", outside);
    std::filesystem::create_symlink(outside, zones / "Test/Away");
    const std::optional<CivilTimeZone> home = CivilTimeZone::Find("Test/Home", zones).zone;
    ASSERT_TRUE(home);
    for (int year : {1995, 2030, 2200})
        EXPECT_EQ(home->OffsetAt(Utc(year, 7, 15)) - home->OffsetAt(Utc(year, 1, 15)), 3600) << year;
    for (const std::string& name : std::vector<std::string>{"../Home", "Test/Away", "Test/../../Home", "./Test/Home",
                                                            "Test//Home", "", "Test", "Europe/Berlin", outside.string()})
        EXPECT_NE(CivilTimeZone::Find(name, zones).error.find("no time zone"), std::string::npos) << name;
    std::filesystem::remove_all(folder);
}

TEST(CivilTimeZone, DamagedZoneFilesAreNoZoneBeforeTheyAreRead) {
    const std::string berlin = Contents("/usr/share/zoneinfo/Europe/Berlin");
    const auto count = [](const std::string& file, size_t at) {
        uint32_t n = 0;
        for (size_t i = 0; i < 4; ++i) n = n << 8 | static_cast<unsigned char>(file[at + i]);
        return n;
    };
    const auto withCount = [](std::string file, size_t at, uint32_t n) {
        for (size_t i = 0; i < 4; ++i) file[at + i] = static_cast<char>(n >> (24 - 8 * i));
        return file;
    };
    // The second header after the first block (counts at 20: isut, isstd, leap, time, type, char).
    const size_t later = 44 + count(berlin, 32) * 5 + count(berlin, 36) * 6 + count(berlin, 40) +
                         count(berlin, 28) * 8 + count(berlin, 24) + count(berlin, 20);
    struct Case { const char* name; std::string file; bool found; };
    const Case cases[] = {
        {"Test/Whole", berlin, true},
        {"Test/FirstTimes", withCount(berlin, 32, 0xFFFFFFFF), false},
        {"Test/LaterTimes", withCount(berlin, later + 32, 0xFFFFFFFF), false},
        {"Test/NoTypes", withCount(berlin, later + 36, 0), false},
        {"Test/Cut", berlin.substr(0, berlin.size() / 2), false},
        {"Test/Huge", berlin + std::string(2 << 20, '\n'), false},
        {"Test/Empty", "", false},
        {"Test/Text", "Zone Test/Text 1:00 - CET\n", false},
    };
    const std::filesystem::path folder = FreshFolder("damaged_zones");
    std::filesystem::create_directories(folder / "Test");
    for (const Case& c : cases) {
        std::ofstream(folder / c.name, std::ios::binary) << c.file;
        const CivilTimeZone::Lookup lookup = CivilTimeZone::Find(c.name, folder);
        EXPECT_EQ(lookup.zone.has_value(), c.found) << c.name;
        if (!c.found) {
            EXPECT_NE(lookup.error.find("no time zone \"" + std::string(c.name)), std::string::npos) << c.name;
        }
    }
    std::filesystem::remove_all(folder);
}
