#include "documents/civil_moments.h"
#include "documents/printed_formats.h"
#include "input/checks.h"
#include "print/pdf_stamps.h"
#include "print/year_documents.h"
#include "calc/zone_year.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace {

using Kind = PrintedMoment::Kind;

TimetableSettings Checked(bool summerTime, const char* year = "2026", const char* longitude = "9",
                          const char* latitude = "48", bool west = false) {
    TimetableSettings settings;
    InputSnapshot snapshot{year, "ULM", longitude, latitude, "1", summerTime, west, false, false};
    EXPECT_TRUE(CheckInputs(snapshot, settings).passed);
    return settings;
}

// The dates shaded as summer time: "M-D" of the first and the last, and how many.
struct Shading {
    std::string first, last;
    int count = 0;
    bool operator==(const Shading&) const = default;
};

Shading ShadingOf(const PrintedYear& year) {
    Shading s;
    for (const PrintedDay& d : year.days)
        if (d.summerTime) {
            (s.first.empty() ? s.first : s.last) = std::to_string(d.month) + "-" + std::to_string(d.day);
            ++s.count;
        }
    return s;
}

}  // namespace

TEST(PrintedYear, ClockTextsOfMomentsAroundMidnight) {
    const std::pair<PrintedMoment, const char*> cases[] = {
        {{Kind::Time, 0}, "00:00:00"},         {{Kind::Time, 8 * 3600 + 19 * 60 + 58}, "08:19:58"},
        {{Kind::Time, 86399}, "23:59:59"},     {{Kind::Time, 86400 + 737}, "00:12:17\u203A"},  // after midnight
        {{Kind::Time, -600}, "\u203923:50:00"},  // a sunrise the evening before
        {{Kind::Above, 0}, "*****"},           {{Kind::Below, 0}, "-----"},
    };
    for (const auto& [moment, text] : cases) EXPECT_EQ(PrintedMomentText(moment), text);
}

// Whatever the length of the writer's date, the cross-reference table
// still points at each object.
TEST(PrintedYear, CreationDateWrittenInUtc) {
    const auto entry = [](size_t offset) {
        char text[24];
        std::snprintf(text, sizeof text, "%010zu 00000 n \n", offset);
        return std::string(text);
    };
    for (const std::string clock : {"20261208140909Z", "20261208150909+01'00'"}) {
        const std::string body = "%PDF-1.4\n1 0 obj\n<< /CreationDate (D:" + clock + ") >>\nendobj\n";
        const std::string objects = body + "2 0 obj\n<< >>\nendobj\n";
        const std::string pdf = objects + "xref\n0 3\n0000000000 65535 f \n" + entry(9) + entry(body.size()) +
                                "trailer\n<< >>\nstartxref\n" + std::to_string(objects.size()) + "\n%%EOF\n";
        const std::string fixed = FixedPdfStamps(pdf, CivilDateSeconds(2026, 5, 17) + 3723);
        EXPECT_NE(fixed.find("(D:20260517010203Z)"), std::string::npos) << clock;
        EXPECT_NE(fixed.find(entry(fixed.find("2 0 obj"))), std::string::npos) << clock;
        EXPECT_NE(fixed.find("startxref\n" + std::to_string(fixed.find("xref\n0 3")) + "\n"), std::string::npos) << clock;
        EXPECT_EQ(FixedPdfStamps(pdf, CivilDateSeconds(10000, 1, 1)), pdf);  // no PDF date
    }
}

// Shaded where the zone marks summer time, and the line of the time basis:
// the rule's days; changes of standard time without shading; Dublin's and
// Casablanca's summer time behind their standard time; polar night keeps
// no summer time after it ended.
TEST(PrintedYear, ShadingAndTimeBasisOfZoneYears) {
    struct Case {
        const char* zone;  // empty: the documents' rule
        const char* year;
        const char *longitude, *latitude;
        bool west;
        Shading shading;
        const char* timeBasis;
        const char* key;
    };
    const Case cases[] = {
        {"", "2026", "9", "48", false, {"3-29", "10-24", 210}, "Zone time UTC+01:00, summer time one hour ahead from 29 March to 24 October",
         "summer time in force (the clock one hour ahead)"},
        {"Europe/Berlin", "2026", "13.4", "52.5", false, {"3-29", "10-24", 210},
         "Civil time of the time zone Europe/Berlin: UTC+01:00; UTC+02:00 from 29 March to 24 October",
         "summer time in force (the clock one hour ahead)"},
        {"Arctic/Longyearbyen", "2026", "15.65", "78.22", false, {"3-29", "10-24", 210},
         "Civil time of the time zone Arctic/Longyearbyen: UTC+01:00; UTC+02:00 from 29 March to 24 October",
         "summer time in force (the clock one hour ahead)"},
        {"Europe/Dublin", "2026", "6.26", "53.35", true, {"1-1", "12-31", 155},
         "Civil time of the time zone Europe/Dublin: UTC+01:00; UTC+00:00 until 28 March and from 25 October, "
         "which the zone marks as its summer time",
         "the zone's summer time (the clock one hour behind its standard time)"},
        {"Africa/Casablanca", "2026", "7.59", "33.57", true, {"2-15", "3-21", 35},
         "Civil time of the time zone Africa/Casablanca: UTC+01:00; UTC+00:00 from 15 February to 21 March, "
         "which the zone marks as its summer time",
         "the zone's summer time (the clock one hour behind its standard time)"},
        {"America/Caracas", "2016", "66.9", "10.5", true, {},
         "Civil time of the time zone America/Caracas: UTC-04:00; standard time UTC-04:30 until 30 April; no summer time", ""},
        {"Europe/Moscow", "2011", "37.62", "55.75", false, {},
         "Civil time of the time zone Europe/Moscow: UTC+04:00; standard time UTC+03:00 until 26 March; no summer time", ""},
        {"America/Sao_Paulo", "2026", "46.63", "23.55", true, {}, "Civil time of the time zone America/Sao_Paulo: UTC-03:00; no summer time", ""},
        {"Europe/Berlin", "1583", "13.4", "52.5", false, {}, "Civil time of the time zone Europe/Berlin: UTC+00:53:28; no summer time", ""},
    };
    for (const Case& c : cases) {
        TimetableSettings settings = Checked(!*c.zone, c.year, c.longitude, c.latitude, c.west);
        if (!*c.zone) settings.summerTime = true;
        const std::optional<CivilTimeZone> zone = CivilTimeZone::Find(*c.zone ? c.zone : "UTC").zone;
        ASSERT_TRUE(zone);
        const PrintedYear printed =
            PrintedYearOf(*c.zone ? YearInTimeZone(settings, *zone, c.zone, EventDates::Solved) : CalculateYear(settings), 0);
        EXPECT_EQ(ShadingOf(printed), c.shading) << c.zone << " " << c.year;
        EXPECT_EQ(printed.timeBasis, c.timeBasis);
        if (*c.key) {
            EXPECT_EQ(printed.summerKey, c.key);
        }
    }
}

// Kwajalein set its clock a day back after 30 September 1969: that date
// lived twice keeps both pairs, the first time first.
TEST(PrintedYear, ADateLivedTwiceKeepsBothPairs) {
    const std::optional<CivilTimeZone> zone = CivilTimeZone::Find("Pacific/Kwajalein").zone;
    ASSERT_TRUE(zone);
    const PrintedYear printed = PrintedYearOf(YearInTimeZone(Checked(false, "1969", "167.73", "9.18"), *zone, "Pacific/Kwajalein", EventDates::Solved), 0);
    std::vector<int32_t> sunrises;
    for (const PrintedDay& d : printed.days)
        if (d.month == 9 && d.day == 30) sunrises.push_back(d.sunrise.seconds);
    ASSERT_EQ(sunrises.size(), 2u);
    EXPECT_LT(sunrises[0], sunrises[1]);  // +11:00 first, then -12:00
    EXPECT_EQ(printed.days.size(), 366u);
}

// The chart as SVG is well-formed XML whatever the place's name holds.
TEST(PrintedYear, SvgOfAnyNameIsWellFormed) {
    const std::string name = "Tom & <Jerry>\x01\x1b Land\u202E \xff";
    const PrintedYear printed = PrintedYearOf(CalculateYear(Checked(true)), 0, {name, name});
    EXPECT_EQ(PrintableYear(printed).title.find('\x01'), std::string::npos);
    EXPECT_EQ(PrintableYear(printed).title.find("\u202E"), std::string::npos);
    const std::string path = testing::TempDir() + "printed_name.svg";
    std::ofstream(path, std::ios::binary) << YearChartSvg(printed);
    EXPECT_EQ(std::system(("xmllint --noout " + path).c_str()), 0);
    std::remove(path.c_str());
}
