// Finding places by name in the shipped place file and the user's own
// places, and what damaged files leave working.
#include "places/gazetteer.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path kPlaceFile = fs::path(KELMORVEN_DATA_DIR) / "Places.tsv";

const Gazetteer& Shipped() {
    static const GazetteerLoad load = LoadGazetteer(kPlaceFile, "no-own-places.csv");
    return load.gazetteer;
}

void Write(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::string NameAndCountry(const Place* place) { return place ? place->name + ", " + place->country : "none"; }

TEST(Gazetteer, FindsTownsHoweverTheUserSpellsUmlautsAccentsAndCase) {
    struct Case {
        const char* query;
        const char* first;
    };
    const Case cases[] = {
        {"zurich", "Zürich, CH"},     {"ZÜRICH", "Zürich, CH"},  {"ZUERICH", "Zürich, CH"},
        {"Zürich", "Zürich, CH"},     {"MUENCHEN", "Munich, DE"}, {"Munich", "Munich, DE"},
        {"GIESSEN", "Gießen, DE"},    {"gießen", "Gießen, DE"},  {"frankf", "Frankfurt am Main, DE"},
        {"lodz", "Łódź, PL"},         {"SAINT ETIENNE", "Saint-Étienne, FR"},
        {"Frankfurt, DE", "Frankfurt am Main, DE"}, {"Springfield, US", "Springfield, US"},
        {"frankfurt, germ", "Frankfurt am Main, DE"}, {"Paris, US", "Paris, US"},
    };
    for (const Case& c : cases) {
        const PlaceMatches found = FindPlaces(Shipped(), c.query, 10);
        EXPECT_EQ(NameAndCountry(found.best.empty() ? nullptr : found.best[0]), c.first) << c.query;
    }
}

TEST(Gazetteer, RanksAnExactNameBeforeAPrefixThenTheLargerPopulation) {
    // Man (Côte d'Ivoire) is smaller than Manila and Manchester, but its name is the query.
    const PlaceMatches man = FindPlaces(Shipped(), "man", 20);
    ASSERT_GE(man.best.size(), 3u);
    EXPECT_EQ(NameAndCountry(man.best[0]), "Man, CI");
    EXPECT_EQ(man.best.size(), 20u);
    EXPECT_GT(man.total, 20u);
    for (size_t i = 2; i < man.best.size(); ++i)
        EXPECT_GE(man.best[i - 1]->population, man.best[i]->population) << man.best[i]->name;
    // Springfield: eight in the United States, none outside it, largest first.
    const PlaceMatches springfield = FindPlaces(Shipped(), "Springfield, US", 20);
    ASSERT_EQ(springfield.total, springfield.best.size());
    EXPECT_GE(springfield.total, 5u);
    EXPECT_EQ(springfield.best[0]->population, 159498);
}

TEST(Gazetteer, FindsNothingForUnknownNamesCountriesAndEmptyQueries) {
    for (const char* query : {"", " ,", "xqzzy", "Frankfurt, XX", "Frankfurt, Atlantis", "---"})
        EXPECT_EQ(FindPlaces(Shipped(), query, 10).total, 0u) << query;
}

TEST(Gazetteer, OwnPlacesRankFirstAndDamagedFilesAreReportedOnceAndLeftOut) {
    const fs::path folder = FreshFolder("gazetteer_files");
    const fs::path own = folder / "OwnPlaces.csv";
    Write(own, "town,longitude,latitude,east_west,north_south,zone,time_zone\n"
               "Zuerich Chapel,8.5,47.4,east,north,,Europe/Zurich\n"
               "Camp Fifty,64.05,64.77,west,south,-3,\n");
    const fs::path truncated = folder / "Truncated.tsv";
    Write(truncated, "code\tcountry\nCH\tSwitzerland\nname\tascii_name\talternate_names\tcountry\tlatitude\tlongitude"
                     "\ttime_zone\tpopulation\nZürich\tZurich\t\tCH\t47.36667\t8.55\tEurope/Zur");
    const fs::path wrongOwn = folder / "WrongOwn.csv";
    Write(wrongOwn, "town,longitude,latitude,east_west,north_south,zone,time_zone\nX,8.5,north,east,north,,\n");
    fs::create_directory(folder / "Folder.tsv");

    struct Case {
        const char* what;
        fs::path places, own;
        size_t problems;
        bool shipped, owned;
    };
    const Case cases[] = {
        {"both sound", kPlaceFile, own, 0, true, true},
        {"no own places", kPlaceFile, folder / "none.csv", 0, true, false},
        {"own places damaged", kPlaceFile, wrongOwn, 1, true, false},
        {"own places a folder", kPlaceFile, folder / "Folder.tsv", 1, true, false},
        {"place file missing", folder / "none.tsv", own, 1, false, true},
        {"place file cut short", truncated, own, 1, false, true},
        {"place file a folder", folder / "Folder.tsv", own, 1, false, true},
        {"place file no place file", own, folder / "none.csv", 1, false, false},
    };
    for (const Case& c : cases) {
        const GazetteerLoad load = LoadGazetteer(c.places, c.own);
        EXPECT_EQ(load.problems.size(), c.problems) << c.what;
        const PlaceMatches zu = FindPlaces(load.gazetteer, "zuerich", 10);
        const bool hasOwn = !zu.best.empty() && zu.best[0]->own;
        EXPECT_EQ(hasOwn, c.owned) << c.what;
        EXPECT_EQ(zu.total - (hasOwn ? 1 : 0) > 0, c.shipped) << c.what;
    }

    const GazetteerLoad load = LoadGazetteer(kPlaceFile, own);
    const PlaceMatches camp = FindPlaces(load.gazetteer, "CAMP F", 10);
    ASSERT_EQ(camp.total, 1u);
    EXPECT_DOUBLE_EQ(camp.best[0]->longitude, -64.05);
    EXPECT_DOUBLE_EQ(camp.best[0]->latitude, -64.77);
    EXPECT_EQ(camp.best[0]->zone, "-3");
    fs::remove_all(folder);
}

}  // namespace
