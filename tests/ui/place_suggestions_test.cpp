#include "ui_harness.h"

#include "ui/place_suggestions.h"
#include "tests/support/table_tool_run.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using namespace ui_test;

namespace {

// The toolkit's key codes.
constexpr int kKeyEscape = 0x01000000, kKeyTab = 0x01000001, kKeyReturn = 0x01000004, kKeyUp = 0x01000013,
              kKeyDown = 0x01000015;

void ShipPlaces(Session& s) { fs::copy_file(KELMORVEN_PLACE_FILE, s.Data() / "Places.tsv"); }
void Key(Session& s, int key) { s.Act([&s, key] { s.t.SimulateKey(key); }); }

// Town, longitude, latitude, sides, zone, summer time and the second Comments line.
std::string Filled(WindowLayer& w) {
    return w.ControlTextGet(kTownField) + " " + w.ControlTextGet(kLongitudeField) +
           (w.ControlStateGet(kWestOption) ? " W" : "") + (w.ControlStateGet(kEastOption) ? " E" : "") + " " +
           w.ControlTextGet(kLatitudeField) + (w.ControlStateGet(kSouthOption) ? " S" : "") +
           (w.ControlStateGet(kNorthOption) ? " N" : "") + " zone " + w.ControlTextGet(kZoneField) +
           (w.ControlStateGet(kSummerTimeBox) ? " summer" : "") + " |" + w.ControlTextGet(kStatusLine);
}

}  // namespace

TEST(PlaceSuggestions, ChoosingAPlaceFillsTownCoordinatesSidesZoneAndSummerTimeForTheDocuments) {
    const std::string note = "|Summer time here differs: tables in standard time";
    const struct {
        std::string typed;
        bool sixtyMode;
        std::string filled;
    } cases[] = {
        {"Z\xDCRICH", false, "ZUERICH 8.5500 E 47.3667 N zone 1 summer |"},
        {"buenos aires", true, "BUENOS AIRES 58.2238 W 34.3647 S zone -3 |"},
        {"new york", false, "NEW YORK CITY 74.0060 W 40.7143 N zone -5 " + note},
        {"sydney, ca", true, "SYDNEY 60.1059 W 46.0806 N zone -4 " + note},
        {"kathmandu", false, "KATHMANDU 85.3206 E 27.7017 N zone 5.75 |"},
    };
    for (const auto& c : cases) {
        Session s("places");
        ShipPlaces(s);
        if (!c.sixtyMode) s.Click(kTenModeOption);
        s.Type(kTownField, c.typed);
        Key(s, kKeyDown);
        Key(s, kKeyReturn);
        s.Check([&] {
            EXPECT_EQ(Filled(s.w), c.filled);
            EXPECT_EQ(s.t.FocusedControl(), kTownField);
        });
        s.Click(kCalculateButton);  // what was filled in passes the checks: a document
        s.RunWholeProgram();
        EXPECT_TRUE(fs::exists(s.program.folder / (s.program.settings.town + ".TXT"))) << c.typed;
    }
}

// Keys given without choosing a place do what they did before there were
// places: the same focus, texts, messages and document.
TEST(PlaceSuggestions, TypingWithoutChoosingChangesNothing) {
    auto run = [](bool places) {
        Session s(places ? "typing_with_places" : "typing_without_places");
        if (places) ShipPlaces(s);
        std::vector<std::string> seen;
        auto key = [&](int k) {
            Key(s, k);
            s.Check([&] { seen.push_back(std::to_string(s.t.FocusedControl()) + " " + Filled(s.w)); });
        };
        s.Type(kTownField, "muen");
        for (int k : {kKeyDown, kKeyUp, kKeyReturn}) key(k);  // into the list and out again
        s.Type(kTownField, "ch");
        key(kKeyEscape);
        s.Type(kTownField, "en");
        key(kKeyTab);
        s.Type(kLongitudeField, "11.3431");
        for (int k : {kKeyTab, kKeyTab, kKeyTab}) key(k);
        s.Type(kLatitudeField, "48.0814");
        key(kKeyTab);
        s.Click(kCalculateButton);
        s.Type(kTownField, "/");  // refused at the next calculation, with its message
        s.Click(kCalculateButton);
        s.Check([&] { seen.push_back(Filled(s.w)); });
        s.RunWholeProgram();
        for (const Message& m : s.messages) seen.push_back(m.title + m.text);
        seen.push_back(Contents(s.program.folder / "MUENCHEN.TXT"));
        return seen;
    };
    const std::vector<std::string> without = run(false);
    EXPECT_FALSE(without.back().empty());
    EXPECT_EQ(run(true), without);
}

TEST(PlaceSuggestions, TheWindowWritesTheBatchToolsTimetableOfAPlace) {
    // Zürich kept local mean time in 1850, 34 min 8 s ahead: both programs take the same zone.
    Session s("places_zurich_1850");
    ShipPlaces(s);
    s.Click(kTenModeOption);
    s.Retype(kYearField, "1850");
    s.Type(kTownField, "Z\xDCRICH");
    Key(s, kKeyDown);
    Key(s, kKeyReturn);
    s.Click(kCalculateButton);
    s.RunWholeProgram();
    const fs::path folder = s.program.folder / "tool";
    fs::create_directory(folder);
    const ToolRun tool = Tool({"--year", "1850", "--place", "Zürich", "--out", folder.string()});
    ASSERT_EQ(tool.status, 0) << tool.err;
    EXPECT_EQ(Contents(s.program.folder / "ZUERICH.TXT"), Contents(folder / "ZUERICH.TXT"));
}

TEST(PlaceSuggestions, ZoneAndSummerTimeFollowTheYearUntilEdited) {
    // Chosen in 2026 (zone 3), calculated for another year, with the zone as chosen or edited.
    struct Case { const char *year, *zone; float used; } ;
    for (const Case& c : {Case{"2011", "", 4.0f}, Case{"2010", "", 3.0f}, Case{"2011", "2", 2.0f}}) {
        Session s(std::string("places_follow_year_") + c.year + c.zone);
        ShipPlaces(s);
        s.Retype(kYearField, "2026");
        s.Type(kTownField, "moscow");
        Key(s, kKeyDown);
        Key(s, kKeyReturn);
        if (*c.zone) s.Retype(kZoneField, c.zone);
        s.Retype(kYearField, c.year);
        s.Click(kCalculateButton);
        s.RunWholeProgram();
        EXPECT_EQ(s.program.settings.zone, c.used) << c.year << " " << c.zone;
        EXPECT_EQ(s.program.settings.summerTime, std::string(c.year) == "2010" ? 1 : 0) << c.year << " " << c.zone;
        EXPECT_TRUE(s.messages.empty()) << c.year << " " << c.zone;
    }
}
