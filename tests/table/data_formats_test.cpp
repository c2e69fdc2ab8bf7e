#include "calc/year_result.h"
#include "documents/civil_moments.h"
#include "documents/data_formats.h"
#include "documents/moment_text.h"
#include "input/checks.h"
#include "table/table_options.h"
#include "table/table_run.h"
#include "calc/zone_year.h"
#include "tests/support/table_tool_run.h"
#include "tests/support/temp_folder.h"
#include "text/numbers.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// The place of the worked example, 48 N 9 E, with more options.
std::vector<std::string> Place(const std::string& year, const fs::path& folder, std::vector<std::string> more) {
    std::vector<std::string> arguments = {"--year", year, "--town", "ulm", "--longitude", "9", "--latitude", "48",
                                          "--east", "--ten-mode", "--out", folder.string(), "--today", "2026-05-17"};
    arguments.insert(arguments.end(), more.begin(), more.end());
    return arguments;
}

// date -> line of a CSV file.
std::map<std::string, std::string> CsvRows(const fs::path& file) {
    std::map<std::string, std::string> rows;
    std::istringstream text(Contents(file));
    for (std::string line; std::getline(text, line);) rows[line.substr(0, line.find(','))] = line;
    return rows;
}

// A year checked and calculated as the tool does it.
YearResult Calculated(const std::string& year, const std::string& longitude, const std::string& latitude,
                     bool west, bool south, const std::string& zone, bool summerTime) {
    TimetableSettings settings;
    InputSnapshot snapshot{year, "PLACE", longitude, latitude, zone, summerTime, west, south, false};
    EXPECT_TRUE(CheckInputs(snapshot, settings).passed);
    return CalculateYear(settings);
}

}  // namespace

TEST(MomentText, DatesTimesAndOffsets) {
    struct Case {
        int64_t local;
        int32_t offset;
        const char* text;
    };
    const Case cases[] = {
        {0, 0, "1970-01-01T00:00:00+00:00"},
        {CivilDateSeconds(2026, 1, 1) + 8 * 3600 + 19 * 60 + 58, 3600, "2026-01-01T08:19:58+01:00"},
        {CivilDateSeconds(2024, 2, 29) + 86399, 19800, "2024-02-29T23:59:59+05:30"},
        {CivilDateSeconds(1890, 7, 1) + 3600, 3208, "1890-07-01T01:00:00+00:53:28"},  // local mean time
        {CivilDateSeconds(2026, 3, 1) - 1, -12600, "2026-02-28T23:59:59-03:30"},
        {CivilDateSeconds(1969, 12, 31), -36000, "1969-12-31T00:00:00-10:00"},
    };
    for (const Case& c : cases) EXPECT_EQ(LocalTimeText(std::chrono::local_seconds{std::chrono::seconds{c.local}}, c.offset), c.text);
    EXPECT_EQ(MomentText(CivilMoment{DayKind::PolarDay}), "above");
    EXPECT_EQ(MomentText(CivilMoment{DayKind::PolarNight}), "below");
    EXPECT_EQ(DateText(987, 6, 5), "0987-06-05");
}

// The documents' basis: every moment is the cell of its date, to the second,
// with its full hour; the places reach hours the cell cannot show (sunsets
// from 22:00, after midnight, sunrises before midnight with a far zone).
TEST(CivilMoments, TheZoneRuleGivesTheDocumentsCellsInFull) {
    struct Case {
        const char *year, *longitude, *latitude;
        bool west, south;
        const char* zone;
        bool summerTime;
    };
    const Case cases[] = {
        {"2026", "9", "48", false, false, "1", true},
        {"2026", "24.94", "60.17", false, false, "2", true},    // Helsinki: sunsets after 22:00
        {"2027", "18.96", "69.65", false, false, "1", true},    // Tromso: polar days, sunsets after midnight
        {"1999", "8.27", "70.67", true, true, "0", false},      // Neumayer: polar night
        {"2026", "9", "48", false, false, "11", false},         // a zone far ahead: sunrises the day before
        {"2026", "78.5", "0", true, false, "-5.5", false},      // a half-hour zone behind Greenwich
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.longitude) + " " + c.latitude + " zone " + c.zone);
        const YearResult year = Calculated(c.year, c.longitude, c.latitude, c.west, c.south, c.zone, c.summerTime);
        const std::vector<CivilDay> days = CivilDays(year);
        ASSERT_EQ(days.size(), year.Leap() == 1 ? 366u : 365u);
        for (const CivilDay& d : days) {
            const std::string entry = year.Entry(d.month * 100 + d.day);
            EXPECT_EQ(EventCell(d.sunrise.kind, d.sunrise.hours, 0) + " " + EventCell(d.sunset.kind, d.sunset.hours, 12),
                      entry);
            const std::chrono::local_seconds start = CivilDateStart(d.year, d.month, d.day);
            for (const CivilMoment* m : {&d.sunrise, &d.sunset}) {
                if (m->kind != DayKind::Normal) continue;
                // The clock's seconds from the date's midnight give the cell's digits.
                const int64_t seconds = (m->local - start).count();
                const Sexagesimal split = SplitSexagesimal(m->hours);
                EXPECT_EQ(seconds, split.whole * 3600 + split.minutes * 60 + split.seconds) << entry;
                EXPECT_NEAR(static_cast<double>(seconds), m->hours * 3600.0, 1.0);
                EXPECT_EQ(m->Utc().time_since_epoch(), m->local.time_since_epoch() - std::chrono::seconds{m->offset});
            }
        }
    }
}

TEST(CivilMoments, EuropeBerlinIsTheSummerTimeRuleOnlyWhereTheLawWasTheSame) {
    const fs::path folder = FreshFolder("formats_berlin");
    const fs::path rule = folder / "rule", zone = folder / "zone";
    fs::create_directories(rule);
    fs::create_directories(zone);
    for (const char* year : {"2026", "1990", "2038"}) {  // 2038: past the zone file's listed changes
        SCOPED_TRACE(year);
        ASSERT_EQ(Tool(Place(year, rule, {"--zone", "1", "--summer-time", "--format", "csv"})).status, 0);
        ToolRun run = Tool(Place(year, zone, {"--time-zone", "Europe/Berlin", "--format", "csv"}));
        ASSERT_EQ(run.status, 0) << run.err;
        const auto byRule = CsvRows(rule / "ULM.csv"), byZone = CsvRows(zone / "ULM.csv");
        ASSERT_EQ(byRule.size(), byZone.size());
        std::vector<std::string> differing;
        for (const auto& [date, line] : byRule)
            if (byZone.at(date) != line) differing.push_back(date);
        if (std::string(year) != "1990") {
            EXPECT_EQ(Contents(rule / "ULM.csv"), Contents(zone / "ULM.csv"));
        } else {
            // In 1990 German summer time ended on the last Sunday of September.
            ASSERT_EQ(differing.size(), 28u);
            EXPECT_EQ(differing.front(), "1990-09-30");
            EXPECT_EQ(differing.back(), "1990-10-27");
            EXPECT_NE(byZone.at("1990-09-30").find("+01:00"), std::string::npos);
            EXPECT_NE(byRule.at("1990-09-30").find("+02:00"), std::string::npos);
        }
    }
    fs::remove_all(folder);
}

TEST(CivilMoments, SydneyHasItsSummerTimeFromOctoberToApril) {
    const YearResult rule = Calculated("2026", "151.2093", "33.8688", false, true, "0", false);
    const std::optional<CivilTimeZone> sydney = CivilTimeZone::Find("Australia/Sydney").zone;
    ASSERT_TRUE(sydney);
    const std::vector<CivilDay> days = CivilDays(YearInTimeZone(rule.Settings(), *sydney, "Australia/Sydney"));
    for (const CivilDay& d : days) {
        // 2026: summer time to 5 April 03:00, from 4 October 02:00.
        const bool summer = d.month < 4 || (d.month == 4 && d.day < 5) || d.month > 10 || (d.month == 10 && d.day >= 4);
        EXPECT_EQ(d.sunrise.offset, summer ? 39600 : 36000) << DateText(d);
        EXPECT_EQ(d.sunset.offset, d.sunrise.offset) << DateText(d);
        // The clock reads the local moment, sunrise between 05:30 and 07:30.
        const int64_t hour = (d.sunrise.local - CivilDateStart(d.year, d.month, d.day)).count() / 3600;
        EXPECT_TRUE(hour >= 5 && hour <= 7) << MomentText(d.sunrise);
    }
}

TEST(CivilMoments, EverySunriseAndSunsetOnceOnItsDateWhereAZoneSkipsOrRepeatsADate) {
    struct Case { const char *zone, *year, *longitude, *latitude; bool west, south; const char* date; size_t lines; };
    for (const Case& c : {Case{"Pacific/Apia", "2011", "171.44", "13.50", true, true, "2011-12-30", 0},
                          Case{"Pacific/Kwajalein", "1993", "167.20", "9.05", false, false, "1993-08-21", 0},
                          Case{"Pacific/Kwajalein", "1969", "167.20", "9.05", false, false, "1969-09-30", 2},
                          Case{"Pacific/Kiritimati", "1994", "157.24", "1.52", true, false, "1994-12-31", 0}}) {
        const YearResult zoned = YearInTimeZone(Calculated(c.year, c.longitude, c.latitude, c.west, c.south, "0", false).Settings(),
                                                *CivilTimeZone::Find(c.zone).zone, c.zone);
        const DataYear year{zoned.Settings(), c.zone, CivilDays(zoned)};
        size_t lines = 0;
        for (size_t i = 0; i < year.days.size(); ++i) {
            const CivilDay& d = year.days[i];
            lines += DateText(d) == c.date;
            // On its line's date by the zone's clock, a day after the one before: none twice, none lost.
            EXPECT_EQ(MomentText(d.sunrise).substr(0, 10) + MomentText(d.sunset).substr(0, 10), DateText(d) + DateText(d));
            if (i > 0) { EXPECT_NEAR((d.sunset.Utc() - year.days[i - 1].sunrise.Utc()).count(), 36 * 3600, 4 * 3600) << DateText(d); }
        }
        EXPECT_EQ(lines, c.lines) << c.zone << " " << c.date;
        std::set<std::string> uids;
        for (const std::string& line : IcsLines(year, {{}, std::nullopt})) if (line.rfind("UID:", 0) == 0) uids.insert(line);
        EXPECT_EQ(uids.size(), 2 * year.days.size()) << c.zone;  // one event each, with its own UID
    }
}

TEST(CivilTimeZoneTest, StandardOffsetsOfZonesWithUnusualSummerTimes) {
    struct Case {
        const char* zone;
        int year, month, day;
        int32_t standard;
    };
    const Case cases[] = {
        {"Europe/Berlin", 2026, 7, 1, 3600},  {"Europe/Berlin", 2026, 1, 1, 3600},
        {"Europe/London", 1943, 7, 1, 0},     // double summer time, two hours ahead
        {"Australia/Lord_Howe", 2026, 1, 1, 37800},  // half an hour of summer time
        {"America/New_York", 2026, 7, 4, -18000},
        {"Asia/Kolkata", 2026, 3, 1, 19800},
    };
    for (const Case& c : cases) {
        const CivilTimeZone::Lookup lookup = CivilTimeZone::Find(c.zone);
        ASSERT_TRUE(lookup.zone) << lookup.error;
        const std::optional<CivilTimeZone>& zone = lookup.zone;
        EXPECT_EQ(zone->StandardOffset(c.year, c.month, c.day), c.standard) << c.zone;
    }
    const CivilTimeZone::Lookup atlantis = CivilTimeZone::Find("Europe/Atlantis");
    EXPECT_FALSE(atlantis.zone);
    EXPECT_NE(atlantis.error.find("\"Europe/Atlantis\""), std::string::npos);
    EXPECT_FALSE(CivilTimeZone::Find("../../etc/passwd").zone);
}

TEST(DataFormats, OptionErrorsAndRefusals) {
    const fs::path folder = FreshFolder("formats_options");
    struct Case {
        std::vector<std::string> more;
        int status;
        const char* error;
    };
    const Case cases[] = {
        {{"--format", "docx"}, 64, "--format takes txt, rtf, csv, json, ics, pdf or svg, not \"docx\""},
        {{"--rtf", "--format", "csv"}, 64, "--rtf and --format csv exclude each other"},
        {{"--time-zone", "Europe/Oslo", "--zone", "1", "--format", "csv"}, 64, "--zone does not go with --time-zone"},
        {{"--time-zone", "Europe/Oslo", "--summer-time", "--format", "csv"}, 64, "--summer-time does not go with --time-zone"},
        {{"--time-zone", "Europe/Atlantis", "--format", "csv"}, 64, "no time zone \"Europe/Atlantis\""},
        {{"--time-zone", "Europe/Oslo"}, 64, "the documents (txt, rtf) follow the zone and summer-time rule"},
        {{"--time-zone", "Europe/Oslo", "--rtf"}, 64, "the documents (txt, rtf) follow the zone and summer-time rule"},
        {{"--remind", "10"}, 64, "--remind goes with --format ics"},
        {{"--remind", "ten", "--format", "ics"}, 64, "--remind takes whole minutes from 0 to 10080"},
        {{"--remind", "20000", "--format", "ics"}, 64, "--remind takes whole minutes"},
        {{"--time-zone", "", "--format", "csv"}, 64, "no time zone \"\" in the time-zone database"},
    };
    for (const std::string format : {"csv", "json"})
        EXPECT_EQ(Tool(Place("10000", folder, {"--format", format})).err.rfind("kelmorven-table: --format " + format + " takes a year up to 9999\n", 0), 0u);
    EXPECT_EQ(Tool(Place("3000", folder, {"--format", "ics"})).err.substr(0, 54),
              "kelmorven-table: --format ics takes a year up to 2999\n");
    EXPECT_EQ(Tool(Place("3000", folder, {"--format", "csv"})).status, 0);
    for (const Case& c : cases) {
        ToolRun run = Tool(Place("2026", folder, c.more));
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_NE(run.err.find(c.error), std::string::npos) << run.err;
    }
    // A refusal of a time zone is one line, without the usage.
    ToolRun run = Tool(Place("2026", folder, {"--time-zone", "Europe/Atlantis", "--format", "csv"}));
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    // So is one of a long name with control characters, cut short and escaped.
    run = Tool(Place("2026", folder, {"--time-zone", "Europe/\n\x1b" + std::string(10000, 'x'), "--format", "csv"}));
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_TRUE(run.err.find("\"Europe/\\n\\x1bxxx") != std::string::npos && run.err.size() < 200) << run.err;
    // --rtf and --format rtf are one choice; the input checks refuse as for the documents.
    EXPECT_EQ(Tool(Place("2026", folder, {"--rtf", "--format", "rtf"})).status, 0);
    EXPECT_TRUE(fs::exists(folder / "ULM.WRI"));
    EXPECT_EQ(Tool({"--year", "2026", "--town", "A/B", "--longitude", "9", "--latitude", "48", "--format", "csv",
                    "--out", folder.string()}).status, 2);
    EXPECT_FALSE(fs::exists(folder / "A"));
    fs::remove_all(folder);
}

TEST(DataFormats, FilesAreReplacedWholeOrKeptAndNamedAfterTheTown) {
    const fs::path folder = FreshFolder("formats_files");
    for (const char* format : {"csv", "json", "ics"}) {
        SCOPED_TRACE(format);
        const fs::path file = folder / (std::string("ULM.") + format);
        ToolRun run = Tool(Place("2026", folder, {"--format", format}));
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out.substr(0, run.out.find('\n')), file.string());
        const std::string first = Contents(file);
        // Every line ends with CR LF.
        EXPECT_EQ(first.substr(first.size() - 2), "\r\n");
        EXPECT_EQ(std::count(first.begin(), first.end(), '\n'), std::count(first.begin(), first.end(), '\r'));
        // A folder in the file's place: status 3, nothing else changed.
        const fs::path blocked = folder / "blocked";
        fs::create_directories(blocked / (std::string("ULM.") + format));
        run = Tool(Place("2026", blocked, {"--format", format}));
        EXPECT_EQ(run.status, 3);
        EXPECT_NE(run.err.find("Attention !"), std::string::npos);
        EXPECT_TRUE(fs::is_directory(blocked / (std::string("ULM.") + format)));
    }
    const std::string csv = Contents(folder / "ULM.csv");
    EXPECT_EQ(csv.substr(0, csv.find('\n') + 1), std::string(kCsvHeader) + "\r\n");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 366);
    fs::remove_all(folder);
}

TEST(DataFormats, JsonHoldsThePlaceTheBasisAndEveryDay) {
    const fs::path folder = FreshFolder("formats_json");
    ASSERT_EQ(Tool(Place("2024", folder, {"--zone", "1", "--summer-time", "--format", "json"})).status, 0);
    nlohmann::json document = nlohmann::json::parse(Contents(folder / "ULM.json"));
    EXPECT_EQ(document["place"]["town"], "ULM");
    EXPECT_EQ(document["place"]["latitude"], 48.0);
    EXPECT_EQ(document["place"]["longitude_text"], "9");
    EXPECT_EQ(document["year"], 2024);
    EXPECT_EQ(document["altitude"], 0.002444);
    EXPECT_EQ(document["time_basis"]["zone"], 1.0);
    EXPECT_EQ(document["time_basis"]["summer_time_from"], "2024-03-31");
    EXPECT_EQ(document["time_basis"]["summer_time_to"], "2024-10-26");
    ASSERT_EQ(document["days"].size(), 366u);
    EXPECT_EQ(document["days"][59]["date"], "2024-02-29");
    ASSERT_EQ(Tool({"--year", "2024", "--town", "Tromsø", "--longitude", "18.96", "--latitude", "69.65", "--east",
                    "--ten-mode", "--time-zone", "Europe/Oslo", "--format", "json", "--out", folder.string()}).status, 0);
    document = nlohmann::json::parse(Contents(folder / "TROMSØ.json"));
    EXPECT_EQ(document["place"]["town"], "TROMSØ");
    EXPECT_EQ(document["time_basis"], nlohmann::json({{"time_zone", "Europe/Oslo"}}));
    EXPECT_EQ(document["days"][180]["sunrise"], "above");  // 29 June
    EXPECT_EQ(document["days"][0]["sunset"], "below");
    fs::remove_all(folder);
}

TEST(DataFormats, TheCalendarIsTheSameBytesForTheSameInputsAndItsUidsKeepTheirPlace) {
    const fs::path folder = FreshFolder("formats_ics");
    const fs::path one = folder / "one", two = folder / "two", three = folder / "three";
    for (const fs::path& sub : {one, two, three}) fs::create_directories(sub);
    ASSERT_EQ(Tool(Place("2026", one, {"--zone", "1", "--summer-time", "--format", "ics", "--remind", "15"})).status, 0);
    ASSERT_EQ(Tool(Place("2026", two, {"--zone", "1", "--summer-time", "--format", "ics", "--remind", "15"})).status, 0);
    const std::string ics = Contents(one / "ULM.ics");
    EXPECT_EQ(ics, Contents(two / "ULM.ics"));
    EXPECT_NE(ics.find("DTSTAMP:20260517T000000Z\r\n"), std::string::npos);
    EXPECT_NE(ics.find("DTSTART:20260101T071958Z\r\n"), std::string::npos);
    EXPECT_NE(ics.find("SUMMARY:KELMORVEN SR ULM\r\n"), std::string::npos);
    EXPECT_NE(ics.find("TRIGGER:-PT15M\r\n"), std::string::npos);
    // Another time basis: the same events, so the same UIDs.
    ASSERT_EQ(Tool(Place("2026", three, {"--time-zone", "Europe/Berlin", "--format", "ics"})).status, 0);
    const std::string other = Contents(three / "ULM.ics");
    const std::string uid = "UID:20260621-SS-";
    ASSERT_NE(ics.find(uid), std::string::npos);
    EXPECT_EQ(ics.substr(ics.find(uid), 50), other.substr(other.find(uid), 50));
    EXPECT_EQ(other.find("VALARM"), std::string::npos);
    // SOURCE_DATE_EPOCH dates the calendar when no --today is given.
    ::setenv("SOURCE_DATE_EPOCH", "1767225600", 1);
    ASSERT_EQ(Tool({"--year", "2026", "--town", "ULM", "--longitude", "9", "--latitude", "48", "--format", "ics",
                    "--out", three.string()}).status, 0);
    EXPECT_NE(Contents(three / "ULM.ics").find("DTSTAMP:20260101T000000Z\r\n"), std::string::npos);
    ::setenv("SOURCE_DATE_EPOCH", "yesterday", 1);
    ToolRun run = Tool({"--year", "2026", "--town", "ULM", "--longitude", "9", "--latitude", "48", "--format", "ics"});
    EXPECT_EQ(run.status, 64);
    EXPECT_NE(run.err.find("SOURCE_DATE_EPOCH"), std::string::npos);
    // After the year 3000 the stamp would be zeros, which calendars reject.
    std::vector<std::string> ulm = {"--year", "2026", "--town", "ULM", "--longitude", "9", "--latitude", "48", "--format", "ics"};
    ::setenv("SOURCE_DATE_EPOCH", "32535216000", 1);
    EXPECT_NE(Tool(ulm).err.find("before the year 3001"), std::string::npos);
    ::unsetenv("SOURCE_DATE_EPOCH");
    ulm.insert(ulm.end(), {"--today", "3001-01-01"});
    EXPECT_NE(Tool(ulm).err.find("before the year 3001"), std::string::npos);
    fs::remove_all(folder);
}

TEST(DataFormats, EventUidsDifferByPlaceDateAndEvent) {
    TimetableSettings ulm, bern;
    ulm.town = "ULM";
    ulm.longitude = 9.99f;
    ulm.latitude = 48.4f;
    bern = ulm;
    bern.town = "BERN";
    const CivilDay day{2026, 6, 21, {}, {}}, next{2026, 6, 22, {}, {}};
    EXPECT_EQ(EventUid(PlaceHash(ulm), day, "SR"), EventUid(PlaceHash(ulm), day, "SR"));
    EXPECT_EQ(EventUid(PlaceHash(ulm), day, "SR").substr(0, 12), "20260621-SR-");
    EXPECT_NE(EventUid(PlaceHash(ulm), day, "SR"), EventUid(PlaceHash(ulm), day, "SS"));
    EXPECT_NE(EventUid(PlaceHash(ulm), day, "SR"), EventUid(PlaceHash(ulm), next, "SR"));
    EXPECT_NE(EventUid(PlaceHash(ulm), day, "SR"), EventUid(PlaceHash(bern), day, "SR"));
    bern.town = "ULM";
    bern.latitude = -48.4f;
    EXPECT_NE(EventUid(PlaceHash(ulm), day, "SR"), EventUid(PlaceHash(bern), day, "SR"));
}

TEST(DataFormats, ABatchGivesEachRowItsTimeZone) {
    const fs::path folder = FreshFolder("formats_batch");
    const fs::path csv = folder / "places.csv";
    std::ofstream(csv) << "town,longitude,latitude,east_west,north_south,zone,time_zone\n"
                          "Oslo,10.75,59.91,east,north,,Europe/Oslo\n"
                          "Ulm,9.5958,48.2402,east,north,1,\n"
                          "Nowhere,1,1,east,north,,Europe/Atlantis\n"
                          "Both,1,1,east,north,1,Europe/Oslo\n";
    ToolRun run = Tool({"--year", "2026", "--batch", csv.string(), "--format", "csv", "--ten-mode", "--out", folder.string()});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("line 4: no time zone \"Europe/Atlantis\""), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("line 5: zone and time_zone exclude each other"), std::string::npos) << run.err;
    EXPECT_NE(CsvRows(folder / "OSLO.csv").at("2026-07-01").find("+02:00"), std::string::npos);
    EXPECT_NE(CsvRows(folder / "ULM.csv").at("2026-07-01").find("+01:00"), std::string::npos);
    // The documents refuse a row with a time zone, and write the others.
    run = Tool({"--year", "2026", "--batch", csv.string(), "--out", folder.string()});
    EXPECT_NE(run.err.find("line 2: the documents (txt, rtf) follow"), std::string::npos) << run.err;
    EXPECT_TRUE(fs::exists(folder / "ULM.TXT"));
    EXPECT_FALSE(fs::exists(folder / "OSLO.TXT"));
    // A time zone on the command line is the file's business in a batch.
    EXPECT_EQ(Tool({"--year", "2026", "--batch", csv.string(), "--time-zone", "Europe/Oslo", "--format", "csv"}).status, 64);
    fs::remove_all(folder);
}
