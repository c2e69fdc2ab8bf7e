#include "calc/civil_time_zone.h"

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
