#include "documents/civil_moments.h"
#include "documents/printed_formats.h"
#include "input/checks.h"
#include "print/pdf_stamps.h"
#include "table/zone_year.h"

#include <gtest/gtest.h>

namespace {

using Kind = PrintedMoment::Kind;

TimetableSettings Checked(bool summerTime) {
    TimetableSettings settings;
    InputSnapshot snapshot{"2026", "ULM", "9", "48", "1", summerTime, false, false, false};
    EXPECT_TRUE(CheckInputs(snapshot, settings).passed);
    return settings;
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
    const PrintedYear printed = PrintedYearOf(CalculateYear(Checked(true)), {});
    EXPECT_EQ(SummerDates(printed), std::make_pair(std::string("3-29"), std::string("10-24")));
    EXPECT_EQ(printed.title, "ULM \u2014 48\u00B000'00'' N, 9\u00B000'00'' E \u2014 2026");
    EXPECT_EQ(printed.timeBasis, "Zone time UTC+01:00, summer time one hour ahead from 29 March to 24 October");
    EXPECT_EQ(SummerDates(PrintedYearOf(CalculateYear(Checked(false)), {})), std::make_pair(std::string(), std::string()));

    for (const char* name : {"Europe/Berlin", "Europe/Dublin"}) {
        const std::optional<CivilTimeZone> zone = CivilTimeZone::Find(name).zone;
        ASSERT_TRUE(zone);
        const PrintedYear inZone = PrintedYearOf(YearInTimeZone(Checked(false), *zone, name), {});
        EXPECT_EQ(SummerDates(inZone), std::make_pair(std::string("3-29"), std::string("10-24")))
            << name;
    }
}
