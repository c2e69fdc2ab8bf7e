// kelmorven-table with places by name: --find, --place and batch files of
// places, each checked against the same timetable typed out in full.
#include "tests/support/table_tool_run.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>

namespace fs = std::filesystem;

namespace {

ToolRun ToolWithData(const std::vector<std::string>& arguments, const fs::path& dataFolder) {
    std::ostringstream out, err;
    const int status = RunTableTool(arguments, out, err, dataFolder);
    return {status, out.str(), err.str()};
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace

TEST(PlaceTool, FindListsTheBestMatchesTabSeparated) {
    struct Case {
        const char* query;
        int status;
        const char* first;  // on out, or on err without a match
        size_t lines;
    };
    const Case cases[] = {
        {"Frankfurt", 0, "Frankfurt am Main\tDE\t50.1155\t8.6842\tEurope/Berlin\t650000\tHessen", 12},
        {"san", 0, "San\tML\t13.3034\t-4.8956\tAfrica/Bamako\t24811\tS\u00e9gou", 20},  // the exact name first, at most 20
        {"Springfield, US", 0, "Springfield\tUS\t37.2153\t-93.2982\tAmerica/Chicago\t166810\tMissouri", 20},
        {"Springfield, IL", 0, "Springfield\tUS\t39.8017\t-89.6437\tAmerica/Chicago\t116565\tIllinois", 1},
        {"xyzzy", 64, "kelmorven-table: no place matches \"xyzzy\"", 1},
        {"Paris, Xanadu", 64, "kelmorven-table: no country or region 'Xanadu'", 1},
        {"Amsterdm", 0, "No place is called \"Amsterdm\"; close spellings:", 5},
        {"x\x1b]0;\a", 64, "kelmorven-table: no place matches \"x\\x1b]0;\\x07\"", 1},
    };
    for (const Case& c : cases) {
        const ToolRun run = Tool({"--find", c.query});
        EXPECT_EQ(run.status, c.status) << c.query;
        const std::vector<std::string> lines = Lines(c.status == 0 ? run.out : run.err);
        ASSERT_EQ(lines.size(), c.lines) << c.query << "\n" << run.out << run.err;
        EXPECT_EQ(lines[0], c.first) << c.query;
    }
    EXPECT_EQ(Tool({"--find", "Ulm", "--year", "2026"}).status, 64);
}

TEST(PlaceTool, PlaceWritesWhatTheOptionsTypedOutInFullWrite) {
    struct Case {
        const char* name;
        std::vector<std::string> byPlace, typedOut;
        const char* file;
        bool keepsStandardTime;
    };
    const Case cases[] = {
        {"summer time of the documents", {"--place", "zurich"},
         {"--town", "ZUERICH", "--longitude", "8.5500", "--latitude", "47.3667", "--east", "--ten-mode", "--zone", "1",
          "--summer-time"}, "ZUERICH.TXT", false},
        {"another summer time", {"--place", "New York"},
         {"--town", "NEW YORK CITY", "--longitude", "74.0060", "--latitude", "40.7143", "--ten-mode", "--zone", "-5"},
         "NEW YORK CITY.TXT", true},
        {"south and east, in 60-mode", {"--place", "Sydney, AU", "--sixty-mode", "--rtf"},
         {"--town", "SYDNEY", "--longitude", "151.1226", "--latitude", "33.5204", "--east", "--south", "--zone", "10",
          "--rtf"}, "SYDNEY.WRI", true},
        {"options override the place", {"--place", "Frankfurt", "--town", "FFM", "--zone", "2", "--west"},
         {"--town", "FFM", "--longitude", "8.6842", "--latitude", "50.1155", "--ten-mode", "--zone", "2"},
         "FFM.TXT", false},
        {"summer time alone keeps the place's zone", {"--place", "New York", "--summer-time"},
         {"--town", "NEW YORK CITY", "--longitude", "74.0060", "--latitude", "40.7143", "--ten-mode", "--zone", "-5",
          "--summer-time"}, "NEW YORK CITY.TXT", false},
        {"the zone's civil time in data formats", {"--place", "Sydney", "--format", "csv"},
         {"--town", "SYDNEY", "--longitude", "151.2073", "--latitude", "33.8678", "--east", "--south", "--ten-mode",
          "--time-zone", "Australia/Sydney", "--format", "csv"}, "SYDNEY.csv", false},
    };
    const fs::path folder = FreshFolder("place_tool");
    const std::vector<std::string> common = {"--year", "2026", "--today", "2026-05-17", "--out", folder.string()};
    for (const Case& c : cases) {
        std::vector<std::string> byPlace = common, typedOut = common;
        byPlace.insert(byPlace.end(), c.byPlace.begin(), c.byPlace.end());
        typedOut.insert(typedOut.end(), c.typedOut.begin(), c.typedOut.end());
        const ToolRun placed = Tool(byPlace);
        ASSERT_EQ(placed.status, 0) << c.name << placed.err;
        EXPECT_EQ(placed.out.rfind("Place: ", 0), 0u) << c.name;
        EXPECT_EQ(placed.out.find("keep standard time") != std::string::npos, c.keepsStandardTime) << c.name;
        const std::string written = Contents(folder / c.file);
        fs::remove(folder / c.file);
        ASSERT_EQ(Tool(typedOut).status, 0) << c.name;
        EXPECT_TRUE(written == Contents(folder / c.file)) << c.name;
    }
    // Refused, exit 2: no such place, a close spelling never taken silently, an unknown id.
    for (const char* refused : {"xyzzy", "Amsterdm", "999999999"}) {
        const ToolRun run = Tool({"--year", "2026", "--place", refused, "--out", folder.string()});
        EXPECT_EQ(run.status, 2) << refused;
        EXPECT_EQ(run.err.find("Amsterdam, Noord-Holland, NL") != std::string::npos, refused[0] == 'A') << run.err;
    }
    // A GeoNames id is a place as well as its name.
    EXPECT_EQ(Tool({"--year", "2026", "--place", "2657896", "--out", folder.string()}).out.rfind("Place: Zürich", 0),
              0u);
    fs::remove_all(folder);
}

TEST(PlaceTool, BatchRowsNamePlacesAndAnUnknownOneIsRefusedWithItsLine) {
    const fs::path folder = FreshFolder("place_batch");
    std::ofstream(folder / "places.csv") << "place,town\nZürich,\nxyzzy,NOWHERE\n\"Frankfurt, DE\",FFM\n";
    const ToolRun run = Tool({"--year", "2026", "--batch", (folder / "places.csv").string(), "--out", folder.string(),
                              "--today", "2026-05-17"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("places.csv line 3: no place matches \"xyzzy\""), std::string::npos) << run.err;
    EXPECT_TRUE(fs::exists(folder / "ZUERICH.TXT"));
    EXPECT_TRUE(fs::exists(folder / "FFM.TXT"));
    EXPECT_FALSE(fs::exists(folder / "NOWHERE.TXT"));
    fs::remove_all(folder);
}

TEST(PlaceTool, WorksOnWithoutThePlaceFileAndReportsItOnce) {
    const fs::path data = FreshFolder("place_data");
    std::ofstream(data / "OwnPlaces.csv") << "town,longitude,latitude,east_west,north_south,zone,time_zone\n"
                                             "Hill Chapel,9.1,48.2,east,north,,Europe/Berlin\n";
    const ToolRun found = ToolWithData({"--find", "hill"}, data);
    EXPECT_EQ(found.status, 0);
    EXPECT_EQ(found.out, "Hill Chapel\t\t48.2000\t9.1000\tEurope/Berlin\t0\t\n");
    EXPECT_EQ(Lines(found.err).size(), 1u) << found.err;
    EXPECT_NE(found.err.find("Places.tsv"), std::string::npos);
    // Coordinates typed out need no places at all.
    const ToolRun typed = ToolWithData({"--year", "2026", "--town", "ULM", "--longitude", "9", "--latitude", "48",
                                        "--out", data.string(), "--today", "2026-05-17"}, data / "none");
    EXPECT_EQ(typed.status, 0);
    EXPECT_EQ(typed.err, "");
    fs::remove_all(data);
}
