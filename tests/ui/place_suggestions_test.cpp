#include "ui_harness.h"

#include "ui/main_window_controls.h"
#include "ui/place_suggestions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;
using namespace ui_test;

namespace {

// The toolkit's key codes.
constexpr int kKeyEscape = 0x01000000, kKeyTab = 0x01000001, kKeyReturn = 0x01000004, kKeyUp = 0x01000013,
              kKeyDown = 0x01000015;

void ShipPlaces(Session& s) { fs::copy_file(KELMORVEN_PLACE_FILE, s.Data() / "Places.tsv"); }

}  // namespace

TEST(PlaceSuggestions, ChoosingAPlaceFillsTownCoordinatesSidesZoneAndSummerTimeForTheDocuments) {
    const std::string kNote = "Summer time here differs: tables in standard time";
    struct Case {
        std::string typed;
        bool sixtyMode;
        std::string town, longitude, latitude;
        bool west, south;
        std::string zone;
        int summerTime;
        bool note;
    } cases[] = {
        {"zuerich", true, "ZUERICH", "8.3300", "47.2200", false, false, "1", 1, false},
        {"Z\xDCRICH", false, "ZUERICH", "8.5500", "47.3667", false, false, "1", 1, false},
        {"buenos aires", true, "BUENOS AIRES", "58.2238", "34.3647", true, true, "-3", 0, false},
        {"new york", false, "NEW YORK CITY", "74.0060", "40.7143", true, false, "-5", 0, true},
        {"sydney", false, "SYDNEY", "151.2073", "33.8679", false, true, "10", 0, true},
        {"sydney, ca", true, "SYDNEY", "60.1059", "46.0806", true, false, "-4", 0, true},
        {"kathmandu", false, "KATHMANDU", "85.3206", "27.7017", false, false, "5.75", 0, false},
    };
    for (const Case& c : cases) {
        Session s("places");
        ShipPlaces(s);
        if (!c.sixtyMode) s.Click(kTenModeOption);
        s.Type(kTownField, c.typed);
        s.Check([&] {
            EXPECT_TRUE(s.t.ControlGeometry(kPlaceSuggestionList).shown) << c.typed;
            const std::string lines = s.w.ControlTextGet(kPlaceSuggestionList);
            EXPECT_LE(std::count(lines.begin(), lines.end(), '\n'), 9);  // ten lines at most
        });
        s.Act([&] { s.t.SimulateKey(kKeyDown); });
        s.Act([&] { s.t.SimulateKey(kKeyReturn); });
        s.Check([&] {
            EXPECT_FALSE(s.t.ControlGeometry(kPlaceSuggestionList).shown) << c.typed;
            EXPECT_EQ(s.w.ControlTextGet(kTownField), c.town) << c.typed;
            EXPECT_EQ(s.w.ControlTextGet(kLongitudeField), c.longitude) << c.typed;
            EXPECT_EQ(s.w.ControlTextGet(kLatitudeField), c.latitude) << c.typed;
            EXPECT_EQ(s.w.ControlStateGet(kWestOption), c.west ? 1 : 0) << c.typed;
            EXPECT_EQ(s.w.ControlStateGet(kEastOption), c.west ? 0 : 1) << c.typed;
            EXPECT_EQ(s.w.ControlStateGet(kSouthOption), c.south ? 1 : 0) << c.typed;
            EXPECT_EQ(s.w.ControlStateGet(kNorthOption), c.south ? 0 : 1) << c.typed;
            EXPECT_EQ(s.w.ControlTextGet(kZoneField), c.zone) << c.typed;
            EXPECT_EQ(s.w.ControlStateGet(kSummerTimeBox), c.summerTime) << c.typed;
            EXPECT_EQ(s.w.ControlTextGet(kStatusLine), c.note ? kNote : "") << c.typed;
            EXPECT_EQ(s.t.FocusedControl(), kTownField);
        });
        s.Click(kCalculateButton);  // what was filled in passes the checks
        s.Close(kMainWindow);
        EXPECT_EQ(s.RunWholeProgram(), 0);
        EXPECT_TRUE(s.messages.empty()) << c.typed << ": " << (s.messages.empty() ? "" : s.messages[0].title);
        EXPECT_TRUE(fs::exists(s.program.folder / (c.town + ".TXT"))) << c.typed;
    }
}

// Every key a user gives without choosing a place does what it did before
// there were places: the same focus, texts, messages and document.
TEST(PlaceSuggestions, TypingWithoutChoosingChangesNothing) {
    struct Seen {
        std::vector<int> focus;
        std::vector<Message> messages;
        std::string town, document;
    };
    auto run = [](bool places) {
        Session s(places ? "typing_with_places" : "typing_without_places");
        if (places) ShipPlaces(s);
        Seen seen;
        auto key = [&](int k) {
            s.Act([&s, k] { s.t.SimulateKey(k); });
            s.Check([&] { seen.focus.push_back(s.t.FocusedControl()); });
        };
        s.Type(kTownField, "muen");
        key(kKeyDown);  // into the list and out again
        key(kKeyUp);
        key(kKeyReturn);
        s.Type(kTownField, "ch");
        key(kKeyEscape);
        s.Type(kTownField, "en");
        key(kKeyTab);
        s.Type(kLongitudeField, "11.3431");
        key(kKeyTab);
        key(kKeyTab);
        key(kKeyTab);
        s.Type(kLatitudeField, "48.0814");
        key(kKeyTab);
        s.Click(kCalculateButton);
        s.Type(kTownField, "/");  // refused at the next calculation, with its message
        s.Click(kCalculateButton);
        s.Check([&] { seen.town = s.w.ControlTextGet(kTownField); });
        s.Close(kMainWindow);
        s.RunWholeProgram();
        seen.messages = s.messages;
        seen.document = Contents(s.program.folder / "MUENCHEN.TXT");
        return seen;
    };
    const Seen without = run(false), with = run(true);
    EXPECT_EQ(with.focus, without.focus);
    EXPECT_EQ(with.town, without.town);
    ASSERT_EQ(with.messages.size(), 1u);
    ASSERT_EQ(without.messages.size(), 1u);
    EXPECT_EQ(with.messages[0].text, without.messages[0].text);
    EXPECT_FALSE(without.document.empty());
    EXPECT_EQ(with.document, without.document);
}

TEST(PlaceSuggestions, ProblemsOfThePlaceFilesAreToldOnceAndAMissingPlaceFileNotAtAll) {
    Session quiet("no_place_file");
    quiet.Close(kMainWindow);
    quiet.RunWholeProgram();
    EXPECT_TRUE(quiet.messages.empty());
    EXPECT_FALSE(quiet.t.ControlGeometry(kPlaceSuggestionList).live);

    Session s("damaged_own_places");
    ShipPlaces(s);
    fs::create_directory(s.Data() / "OwnPlaces.csv");  // cannot be read as a file
    s.Type(kTownField, "bern");
    s.Check([&] { EXPECT_TRUE(s.t.ControlGeometry(kPlaceSuggestionList).shown); });
    s.Click(kNewStartButton);
    s.Close(kMainWindow);
    s.RunWholeProgram();
    ASSERT_EQ(s.messages.size(), 1u);
    EXPECT_NE(s.messages[0].text.find("OwnPlaces.csv"), std::string::npos);
}
