// Finding places by name in the shipped place file and the user's own
// places, and what damaged files leave working.
#include "places/gazetteer.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <optional>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path kPlaceFile = fs::path(KELMORVEN_DATA_DIR) / "Places.tsv";

const Gazetteer& Shipped() {
    static const GazetteerLoad load = LoadGazetteer(kPlaceFile, "no-own-places.csv");
    return load.gazetteer;
}

fs::path Write(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

std::string NameAndCountry(const Place* place) { return place ? place->name + ", " + place->country : "none"; }
std::string NameAndCountry(const std::optional<Place>& place) { return NameAndCountry(place ? &*place : nullptr); }
std::string FirstFound(const PlaceMatches& found) { return NameAndCountry(found.best.empty() ? nullptr : &found.best[0]); }

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
        EXPECT_EQ(FirstFound(found), c.first) << c.query;
    }
}

TEST(Gazetteer, RanksExactOwnNamesAccentsAndSeatsBeforeOthersAndDistrictsLast) {
    struct Case {
        const char* query;
        const char* first;
        const char* second;
    };
    const Case cases[] = {
        {"man", "Man, CI", ""},                         // smaller than Manila, but its name is the query
        {"London", "London, GB", "London, CA"},         // before the City of London, called so too
        {"Victoria", "Victoria, CA", ""},               // a seat before a part of Hong Kong
        {"Bienne", "Biel/Bienne, CH", "Vienna, AT"},    // its own name before Vienna's alternate
        {"Cádiz", "Cadiz, ES", ""},                     // the accent typed
        {"Moskva", "Moscow, RU", ""},                   // a tenfold town outweighs its own name
        {"ZUR", "Zürich, CH", ""},                      // before its districts
    };
    for (const Case& c : cases) {
        const PlaceMatches found = FindPlaces(Shipped(), c.query, 8);
        ASSERT_GE(found.best.size(), 2u) << c.query;
        EXPECT_EQ(NameAndCountry(&found.best[0]), c.first) << c.query;
        if (*c.second) {
            EXPECT_EQ(NameAndCountry(&found.best[1]), c.second) << c.query;
        }
        for (const Place& place : found.best) EXPECT_NE(place.feature, "PPLX") << c.query << place.name;
    }
    // Springfield: only in the United States, the larger seat first.
    const PlaceMatches springfield = FindPlaces(Shipped(), "Springfield, US", 50);
    ASSERT_GE(springfield.total, 20u);
    for (const Place& place : springfield.best) EXPECT_EQ(place.country, "US");
    EXPECT_EQ(springfield.best[0].population, 166810);
}

TEST(Gazetteer, ARegionOrCountryAfterTheCommaNarrowsInAnyOfItsLanguages) {
    struct Case {
        const char* query;
        const char* first;  // name, country, region; or the words that name nothing
    };
    const Case cases[] = {
        {"Springfield, IL", "Springfield, US, Illinois"}, {"Springfield, Illinois, US", "Springfield, US, Illinois"},
        {"London, ON", "London, CA, Ontario"},            {"Perth, Scotland", "Perth, GB, Scotland"},
        {"Newcastle, NSW", "Newcastle, AU, New South Wales"}, {"Athens, GA", "Athens, US, Georgia"},
        {"Wien, Österreich", "Vienna, AT, Wien"},         {"Den Haag, Holland", "The Hague, NL, Zuid-Holland"},
        {"Roma, Italia", "Rome, IT, Lazio"},              {"Washington, D.C.", "Washington, US, District of Columbia"},
        {"Paris, Xanadu", "'Xanadu'"},                    {"Paris, Xanadu, FR", "'Xanadu'"},
    };
    for (const Case& c : cases) {
        const PlaceMatches found = FindPlaces(Shipped(), c.query, 5);
        const std::string first = found.best.empty() ? "'" + found.unknownPlace + "'"
                                                     : FirstFound(found) + ", " + found.best[0].region;
        EXPECT_EQ(first, c.first) << c.query;
    }
}

TEST(Gazetteer, FindsShortenedWordsOtherScriptsCodePage1252AndCloseSpellings) {
    struct Case {
        const char* query;
        const char* first;
        bool close;
    };
    const Case cases[] = {
        {"NYC", "New York City, US", false},   {"Ft. Worth", "Fort Worth, US", false},
        {"Mt. Vernon", "Mount Vernon, US", false}, {"St. Gallen", "Sankt Gallen, CH", false},
        {"Москва", "Moscow, RU", false},       {"Αθήνα", "Athens, GR", false},
        {"北京", "Beijing, CN", false},        {"Z\xFCrich", "Zürich, CH", false},
        {"Amsterdm", "Amsterdam, NL", true},   {"Zurch", "Zürich, CH", true},
        {"Reykavik", "Reykjavík, IS", true},   {"Cincinatti", "Cincinnati, US", true},
    };
    for (const Case& c : cases) {
        const PlaceMatches found = FindPlaces(Shipped(), c.query, 5);
        EXPECT_EQ(FirstFound(found), c.first) << c.query;
        EXPECT_EQ(found.closeSpellings, c.close) << c.query;
    }
    EXPECT_EQ(NameAndCountry(FindPlaceById(Shipped(), 2657896)), "Zürich, CH");
    EXPECT_FALSE(FindPlaceById(Shipped(), 1));
}

// Every place is found by the name --find prints for it, with its country.
TEST(Gazetteer, EveryPlaceIsFoundByItsName) {
    const Gazetteer& g = Shipped();
    size_t lost = 0;
    for (std::uint32_t k = 0; k < PlaceCount(g); ++k) {
        const Place place = PlaceAt(g, k);
        const PlaceMatches found = FindPlaces(g, place.name, SIZE_MAX);
        if (std::find(found.indices.begin(), found.indices.end(), k) == found.indices.end() && ++lost <= 5)
            ADD_FAILURE() << place.name << " " << place.geonameId;
    }
    EXPECT_EQ(lost, 0u);
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
        const bool hasOwn = !zu.best.empty() && zu.best[0].own;
        EXPECT_EQ(hasOwn, c.owned) << c.what;
        EXPECT_EQ(zu.total - (hasOwn ? 1 : 0) > 0, c.shipped) << c.what;
    }

    const GazetteerLoad load = LoadGazetteer(kPlaceFile, own);
    const PlaceMatches camp = FindPlaces(load.gazetteer, "CAMP F", 10);
    ASSERT_GE(camp.total, 1u);
    ASSERT_TRUE(camp.best[0].own);
    EXPECT_DOUBLE_EQ(camp.best[0].longitude, -64.05);
    EXPECT_DOUBLE_EQ(camp.best[0].latitude, -64.77);
    EXPECT_EQ(camp.best[0].zone, "-3");
    fs::remove_all(folder);
}

}  // namespace

namespace {

// A copy of the shipped place file, changed by edit.
fs::path ChangedPlaceFile(const fs::path& folder, const char* name, void (*edit)(std::string&)) {
    std::ifstream in(kPlaceFile, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    edit(text);
    Write(folder / name, text);
    return folder / name;
}

}  // namespace

TEST(Gazetteer, DamagedFilesAreReportedOnceAndWhatTheyHoldStillWorks) {
    const fs::path folder = FreshFolder("gazetteer_damage");
    const std::string header = "town,longitude,latitude,east_west,north_south,zone,time_zone\n";
    Write(folder / "Own.csv", header + "Hill Chapel,9.1,48.2,east,north,,Europe/Berlin\nBad Row,east,48,east,north,,\n"
                                       "Mars Base,9.2,48.3,east,north,,Mars/Olympus\nZ\xFCrich Kapelle,8.5,47.4,east,north,1,\n");
    Write(folder / "Empty.csv", "");
    Write(folder / "OldHeader.csv", "town;longitude\n");
    fs::resize_file(Write(folder / "Huge.csv", header), kMostOwnPlacesBytes + 1);
    ASSERT_EQ(::mkfifo((folder / "Fifo").c_str(), 0600), 0);
    const fs::path cut = ChangedPlaceFile(folder, "Cut.tsv", [](std::string& t) { t.resize(t.size() / 3); });
    const fs::path changed = ChangedPlaceFile(folder, "Changed.tsv", [](std::string& t) { t[t.size() / 2] ^= 1; });
    const fs::path unchecked = ChangedPlaceFile(folder, "Unchecked.tsv", [](std::string& t) {
        const size_t check = t.find("#check");
        t.erase(check, t.find('\n', check) + 1 - check);
    });
    struct Case {
        fs::path places, own;
        std::vector<std::string> problems;  // a part of each line, in order
        size_t ownPlaces;
        bool shipped;
    };
    const Case cases[] = {
        {kPlaceFile, folder / "Own.csv", {"line 3: longitude", "line 4: the time zone \"Mars/Olympus\""}, 3, true},
        {kPlaceFile, folder / "Empty.csv", {}, 0, true},
        {kPlaceFile, folder / "OldHeader.csv", {"\"town,longitude,latitude,east_west,north_south,zone\" or \""}, 0, true},
        {kPlaceFile, folder / "Huge.csv", {"Huge.csv: is larger than 10 MB"}, 0, true},
        {kPlaceFile, folder / "Fifo", {"Fifo: is not a regular file"}, 0, true},
        {folder / "Fifo", folder / "Own.csv", {"line 3", "line 4", "Fifo: is not a regular file; only your own"}, 3, false},
        {folder / "none.tsv", folder / "Own.csv", {"line 3", "line 4", "none.tsv: does not exist"}, 3, false},
        {cut, folder / "none.csv", {"Cut.tsv: it is cut or damaged: it holds "}, 0, true},
        {changed, folder / "none.csv", {"Changed.tsv: it is cut or damaged: it holds 199568 places"}, 0, true},
        {unchecked, folder / "none.csv", {"its count of places and checksum are missing"}, 0, true},
    };
    for (const Case& c : cases) {
        const GazetteerLoad load = LoadGazetteer(c.places, c.own);
        ASSERT_EQ(load.problems.size(), c.problems.size()) << c.places << " " << c.own;
        for (size_t k = 0; k < c.problems.size(); ++k)
            EXPECT_NE(load.problems[k].find(c.problems[k]), std::string::npos) << load.problems[k];
        EXPECT_EQ(load.gazetteer.own.records.size(), c.ownPlaces) << c.own;
        EXPECT_EQ(load.gazetteer.shipped.records.size() > 1000, c.shipped) << c.places;
        if (c.ownPlaces > 0) {
            EXPECT_EQ(FirstFound(FindPlaces(load.gazetteer, "Zürich K", 1)), "Zürich Kapelle, ");
        }
    }
    fs::remove_all(folder);
}

TEST(Gazetteer, APlaceWithThousandsOfAlternateNamesKeepsEachOnce) {
    const fs::path folder = FreshFolder("gazetteer_alternates");
    std::string alternates;
    for (int k = 0; k < 20000; ++k) alternates += (k ? ",Alt " : "Alt ") + std::to_string(k % 15000);
    std::string body = "code\tcountry\tnames\nCH\tSwitzerland\t\nregion\tname\tcode\n"
                       "geoname_id\tname\tascii_name\talternate_names\tcountry\tregion\tfeature\tlatitude\tlongitude"
                       "\ttime_zone\tpopulation\n7\tMany\tMany\t" + alternates + "\tCH\t\tPPL\t47\t8\tEurope/Zurich\t5\n";
    Write(folder / "Places.tsv", "#check\t1\t00000000\n" + body);
    const GazetteerLoad load = LoadGazetteer(folder / "Places.tsv", folder / "none.csv");
    EXPECT_EQ(load.gazetteer.shipped.keys.size(), 15001u);  // "many" and 15,000 different alternates
    EXPECT_EQ(FindPlaces(load.gazetteer, "Alt 14999", 5).best.size(), 1u);
    fs::remove_all(folder);
}

// The index beside the place file is used only when it is whole and was
// made from that file; else the place file is read, with the same result.
TEST(Gazetteer, AnIndexNotMadeFromThePlaceFileBesideItIsPassedOver) {
    const fs::path folder = FreshFolder("gazetteer_index");
    const fs::path shippedIndex = kPlaceFile.parent_path() / "Places.idx";
    std::ifstream in(shippedIndex, std::ios::binary);
    const std::string index((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(index.size(), 1000u);
    // The header: 40 bytes, then each section's offset and size, 16 bytes each; the keys are the third.
    const auto keysAt = [&] {
        std::uint64_t at = 0;
        std::memcpy(&at, index.data() + 72, sizeof at);
        return at;
    };
    struct Case {
        const char* what;
        void (*changeIndex)(std::string&, std::uint64_t keys);
        void (*changePlaces)(std::string&);
        bool mapped;
        size_t problems;
    };
    const Case cases[] = {
        {"whole", [](std::string&, std::uint64_t) {}, [](std::string&) {}, true, 0},
        {"index cut", [](std::string& t, std::uint64_t) { t.resize(t.size() / 2); }, [](std::string&) {}, false, 0},
        {"other magic", [](std::string& t, std::uint64_t) { t[0] = 'X'; }, [](std::string&) {}, false, 0},
        {"keys beyond their text", [](std::string& t, std::uint64_t keys) { t.replace(keys, 4096, 4096, '\xFF'); },
         [](std::string&) {}, false, 0},
        {"place file changed", [](std::string&, std::uint64_t) {}, [](std::string& t) { t[t.size() / 2] ^= 1; },
         false, 1},
    };
    for (const Case& c : cases) {
        std::string changedIndex = index;
        c.changeIndex(changedIndex, keysAt());
        Write(folder / "Places.idx", changedIndex);
        const fs::path places = ChangedPlaceFile(folder, "Places.tsv", c.changePlaces);
        const GazetteerLoad load = LoadGazetteer(places, folder / "none.csv");
        EXPECT_EQ(load.problems.size(), c.problems) << c.what;
        ASSERT_FALSE(load.gazetteer.storage.empty()) << c.what;
        EXPECT_EQ(load.gazetteer.storage.back()->mapping != nullptr, c.mapped) << c.what;
        EXPECT_EQ(FirstFound(FindPlaces(load.gazetteer, "Zürich", 1)), "Zürich, CH") << c.what;
    }
    fs::remove_all(folder);
}
