#include "calc/year_result.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

float Hours(int h, int m, double s) { return static_cast<float>(h + m / 60.0 + s / 3600.0); }

TEST(TimeCell, AlwaysWritesFiveCharactersHmmss) {
    const struct {
        float t;
        int shift;
        const char* cell;
    } cases[] = {
        {4.8057561f, 0, "44821"},          // 04:48:20.7: the half second rounds up
        {19.886934f, 12, "75313"},         // 19:53:12.96, hour counted from noon
        {Hours(6, 59, 59.6), 0, "70000"},  // rounding carries into the hour
        {Hours(5, 7, 9), 0, "50709"},
        {Hours(5, 7, 9.5), 0, "50710"},    // exactly half a second rounds up
        {Hours(10, 5, 7), 0, "00507"},     // the tens digit of the hour is lost
        {Hours(22, 10, 0), 12, "01000"},
        {Hours(0, 45, 10), 0, "04510"},    // before 01:00: leading zeros
        {Hours(12, 30, 0), 12, "03000"},   // sunset between 12:00 and 13:00
        {Hours(11, 30, 0), 12, "-7000"},   // sunset before noon
        {-0.125f, 0, " -730"},             // sunrise 7.5 minutes before midnight
        {Hours(2, 30, 0), 12, "-9700"},    // sunset after midnight, of a far-off zone: the sign stays
        {-3.5f, 0, "-3300"},               // sunrise on the day before
    };
    for (const auto& c : cases) EXPECT_EQ(TimeCell(c.t, c.shift), c.cell) << c.t;
}

TimetableSettings Place(int16_t year, uint8_t summerTime, float longitude = 9.0f,
                        float latitude = 48.0f) {
    TimetableSettings s;
    s.year = year;
    s.yearReal = year;
    s.longitude = longitude;
    s.latitude = latitude;
    s.zone = 1.0f;
    s.summerTime = summerTime;
    return s;
}

bool IsDate(DayCode code, LeapFlag leap) {
    const int month = code / 100, day = code % 100;
    return month >= 1 && month <= 12 && day >= 1 && day <= MonthLength(month, leap);
}

TEST(YearRun, FillsEveryDateOfCommonAndLeapYearsReportingTheFirst329Days) {
    for (int16_t year : {2005, 2004}) {
        std::vector<int> progress;
        const YearResult t = CalculateYear(Place(year, 1), [&progress](int p) { progress.push_back(p); });
        int filled = 0;
        for (DayCode code = 0; code <= 1232; ++code) {
            if (!IsDate(code, t.Leap())) {
                EXPECT_EQ(t.Entry(code), std::string(11, ' ')) << code;
                continue;
            }
            ++filled;
            EXPECT_NE(t.Entry(code).find_first_not_of(' '), std::string::npos) << code;
        }
        EXPECT_EQ(filled, year == 2004 ? 366 : 365);
        ASSERT_EQ(progress.size(), 329u) << year;
        for (int i = 0; i < 329; ++i) EXPECT_EQ(progress[static_cast<size_t>(i)], i + 1);
    }
}

// The status texts a calculation reports, in order.
std::vector<std::string> ReportedStatus(const TimetableSettings& settings) {
    std::vector<std::string> reported;
    CalculateYear(settings, {}, [&reported](const std::string& status) { reported.push_back(status); });
    return reported;
}

TEST(YearRun, ShiftsTheSummerTimeDaysAndReportsTheStatusLine) {
    EXPECT_EQ(ReportedStatus(Place(2004, 1)), (std::vector<std::string>{
                                                  "Is a leap-year!",
                                                  "Is a leap-year! ST-Changes included: 3.28. - 10.30."}));
    const YearResult t = CalculateYear(Place(2004, 1));
    EXPECT_EQ(t.Leap(), 1);
    EXPECT_EQ(t.Summer().start, 88);
    EXPECT_EQ(t.Summer().end, 304);
    EXPECT_EQ(t.Entry(517), "54821 85313");
    EXPECT_EQ(t.Entry(1221), "81723 42713");
    // 28 March is the first shifted day, 30 October the last.
    EXPECT_EQ(t.Entry(327)[0] + 1, t.Entry(328)[0]);
    EXPECT_EQ(t.Entry(1031)[0] + 1, t.Entry(1030)[0]);

    EXPECT_EQ(ReportedStatus(Place(2005, 0)), (std::vector<std::string>{
                                                  "Is no leap-year!", "Is no leap-year! No Summer Time Changes."}));
    EXPECT_EQ(CalculateYear(Place(2005, 0)).Entry(517)[0], '4');  // not shifted
}

TEST(YearRun, PolarDaysAndNightsGetFiveMarksInEachCell) {
    const YearResult t = CalculateYear(Place(2004, 1, 18.96f, 69.65f));
    EXPECT_EQ(t.Entry(621), "***** *****");  // summer time does not touch the marks
    EXPECT_EQ(t.Entry(1221), "----- -----");
}

}  // namespace
