#include "calc/timetable.h"
#include "input/checks.h"
#include "runtime/print/pdf_stamps.h"
#include "table/civil_moments.h"
#include "table/printed_formats.h"

#include <gtest/gtest.h>

namespace {

using Kind = PrintedMoment::Kind;

Timetable Calculated(const char* zone, bool summerTime) {
    Timetable timetable;
    InputSnapshot snapshot{"2026", "ULM", "9", "48", zone, summerTime, false, false, false};
    EXPECT_TRUE(CheckInputs(snapshot, timetable.settings).passed);
    CalculateYear(timetable);
    return timetable;
}

// The dates shaded as summer time, "M-D" of the first and the last.
std::pair<std::string, std::string> SummerDates(const PrintedYear& year) {
    std::pair<std::string, std::string> bounds;
    for (const PrintedDay& d : year.days)
        if (d.summerTime) (bounds.first.empty() ? bounds.first : bounds.second) = std::to_string(d.month) + "-" + std::to_string(d.day);
    return bounds;
}

}  // namespace

TEST(PrintedYear, ClockTextsOfMomentsAroundMidnight) {
    const std::pair<PrintedMoment, const char*> cases[] = {
        {{Kind::Time, 0}, "00:00:00"},         {{Kind::Time, 8 * 3600 + 19 * 60 + 58}, "08:19:58"},
        {{Kind::Time, 86399}, "23:59:59"},     {{Kind::Time, 86400 + 737}, "00:12:17"},  // a sunset after midnight
        {{Kind::Time, -600}, "23:50:00"},      // a sunrise the evening before
        {{Kind::Above, 0}, "*****"},           {{Kind::Below, 0}, "-----"},
    };
    for (const auto& [moment, text] : cases) EXPECT_EQ(PrintedMomentText(moment), text);
}

TEST(PrintedYear, CreationDateReplacedAtItsLength) {
    const std::string pdf = "<< /Producer (Qt)\n/CreationDate (D:20261208140909Z)\n>>\nxref";
    EXPECT_EQ(FixedPdfStamps(pdf, CivilDateSeconds(2026, 5, 17) + 3723),
              "<< /Producer (Qt)\n/CreationDate (D:20260517010203Z)\n>>\nxref");
    EXPECT_EQ(FixedPdfStamps(pdf, CivilDateSeconds(10000, 1, 1)), pdf);  // would not fit
}

// Shaded where the clock is ahead: the rule's days, a time zone's summer
// (Dublin's included, whose database calls the winter's clock the shifted
// one), nothing without summer time.
TEST(PrintedYear, SummerTimeWhereTheClockIsAhead) {
    Timetable rule = Calculated("1", true);
    const DataYear ruleYear{rule.settings, "", MomentsByZoneRule(rule), rule.summer.springDay, rule.summer.autumnDay};
    const PrintedYear printed = PrintedYearOf(ruleYear, nullptr, 0);
    EXPECT_EQ(SummerDates(printed), std::make_pair(std::string("3-29"), std::string("10-24")));
    EXPECT_EQ(printed.title, "ULM \u2014 48\u00B000'00'' N, 9\u00B000'00'' E \u2014 2026");
    EXPECT_EQ(printed.timeBasis, "Zone time UTC+01:00, summer time one hour ahead from 29 March to 24 October");

    Timetable winter = Calculated("1", false);
    const DataYear winterYear{winter.settings, "", MomentsByZoneRule(winter), 0, 0};
    EXPECT_EQ(SummerDates(PrintedYearOf(winterYear, nullptr, 0)), std::make_pair(std::string(), std::string()));

    for (const char* name : {"Europe/Berlin", "Europe/Dublin"}) {
        const std::optional<CivilTimeZone> zone = CivilTimeZone::Find(name).zone;
        ASSERT_TRUE(zone);
        const DataYear year{winter.settings, name, MomentsInTimeZone(winter, *zone), 0, 0};
        EXPECT_EQ(SummerDates(PrintedYearOf(year, &*zone, 0)), std::make_pair(std::string("3-29"), std::string("10-24")))
            << name;
    }
}
