#include "calc/timetable.h"
#include "calc/year_run.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

float Hours(int h, int m, double s) { return static_cast<float>(h + m / 60.0 + s / 3600.0); }

TEST(TimeCell, WritesFiveCharactersHmmss) {
    struct Case {
        float t;
        int shift;
        const char* cell;
    };
    const Case cases[] = {
        {4.8057561f, 0, "44821"},            // 04:48:20.7: the half second rounds up
        {19.886934f, 12, "75313"},           // 19:53:12.96, hour counted from noon
        {Hours(6, 59, 59.6), 0, "70000"},    // rounding carries into the hour
        {Hours(5, 7, 9), 0, "50709"},        // minutes and seconds keep their zeros
        {Hours(5, 7, 9.5), 0, "50710"},      // exactly half a second rounds up
        {Hours(10, 5, 7), 0, "00507"},       // the tens digit of the hour is lost
        {Hours(22, 10, 0), 12, "01000"},
        {Hours(0, 45, 10), 0, "04510"},      // before 01:00: leading zeros
        {Hours(12, 30, 0), 12, "03000"},     // sunset between 12:00 and 13:00
        {Hours(0, 0, 3), 0, "00003"},
        {Hours(11, 30, 0), 12, "-7000"},     // sunset before noon
        {-0.125f, 0, " -730"},               // sunrise 7.5 minutes before midnight
    };
    for (const Case& c : cases) EXPECT_EQ(TimeCell(c.t, c.shift), c.cell) << c.t;
}

TEST(TimeCell, SplitTimeCarriesSixtySecondsIntoTheHour) {
    const SplitHours split = SplitTime(Hours(6, 59, 59.6));
    EXPECT_EQ(split.hours, 7);
    EXPECT_EQ(split.minutes, 0);
    EXPECT_EQ(split.seconds, 0);
}

TimetableSettings ReferencePlace(int16_t year, uint8_t summerTime) {
    TimetableSettings s;
    s.year = year;
    s.yearReal = year;
    s.longitude = 9.0f;
    s.latitude = 48.0f;
    s.zone = 1.0f;
    s.summerTime = summerTime;
    return s;
}

TEST(DayEntry, SeventeenthMay2004WithAndWithoutSummerTime) {
    const SummerTimePeriod period = ComputeSummerTimePeriod(2004, 1);
    EXPECT_EQ(ComputeDayEntry(ReferencePlace(2004, 1), period, 5, 17, 138), "54821 85313");
    EXPECT_EQ(ComputeDayEntry(ReferencePlace(2004, 0), period, 5, 17, 138), "44821 75313");
}

bool IsDate(DayCode code, LeapFlag leap) {
    const int month = code / 100, day = code % 100;
    return month >= 1 && month <= 12 && day >= 1 && day <= MonthLength(month, leap);
}

// A run over a table pre-filled with a mark, so that untouched entries show.
struct YearResult {
    std::unique_ptr<Timetable> timetable = std::make_unique<Timetable>();
    std::vector<int> progress;
    std::string status;
};

YearResult CalculateFor(int16_t year, uint8_t summerTime, float latitude = 48.0f) {
    YearResult run;
    for (std::string& entry : run.timetable->table.entries) entry = "untouched";
    run.timetable->settings = ReferencePlace(year, summerTime);
    run.timetable->settings.latitude = latitude;
    run.status = CalculateYear(*run.timetable, [&run](int p) { run.progress.push_back(p); });
    return run;
}

TEST(YearRun, FillsEveryDateOfCommonAndLeapYearsAndNothingElse) {
    for (int16_t year : {2005, 2004}) {
        const YearResult run = CalculateFor(year, 1);
        const Timetable& t = *run.timetable;
        const LeapFlag leap = year == 2004 ? 1 : 2;
        EXPECT_EQ(t.leap, leap);
        int filled = 0;
        for (DayCode code = 0; code <= 1232; ++code) {
            if (IsDate(code, leap)) {
                ++filled;
                EXPECT_EQ(t.table[code].size(), 11u) << code;
                EXPECT_EQ(t.table[code][5], ' ') << code;
            } else {
                EXPECT_EQ(t.table[code], "untouched") << code;
            }
        }
        EXPECT_EQ(filled, year == 2004 ? 366 : 365);
        ASSERT_EQ(run.progress.size(), 329u) << year;
        for (int i = 0; i < 329; ++i) EXPECT_EQ(run.progress[static_cast<size_t>(i)], i + 1);
    }
}

TEST(YearRun, CalculateYearKeepsItsCalendarAndReturnsTheStatusLine) {
    const YearResult on = CalculateFor(2004, 1);
    EXPECT_EQ(on.status, "Is a leap-year! ST-Changes included: 3.28. - 10.30.");
    EXPECT_EQ(on.timetable->leapMessage, "Is a leap-year!");
    EXPECT_EQ(on.timetable->summer.start, 88);
    EXPECT_EQ(on.timetable->summer.end, 304);
    EXPECT_EQ(on.timetable->table[517], "54821 85313");
    EXPECT_EQ(on.timetable->table[1221], "81723 42713");
    // Summer time shifts 28 March (first day) and 30 October (last day) only.
    EXPECT_EQ(on.timetable->table[327][0], on.timetable->table[328][0] - 1);
    EXPECT_EQ(on.timetable->table[1031][0], on.timetable->table[1030][0] - 1);

    const YearResult off = CalculateFor(2005, 0);
    EXPECT_EQ(off.status, "Is no leap-year! No Summer Time Changes.");
    EXPECT_EQ(off.timetable->leap, 2);
}

TEST(YearRun, ALaterYearLeavesTheEarlierTwentyNinthOfFebruary) {
    Timetable timetable;
    timetable.settings = ReferencePlace(2004, 0);
    CalculateYear(timetable);
    const std::string leapDay = timetable.table[229];
    ASSERT_EQ(leapDay.size(), 11u);
    timetable.settings = ReferencePlace(2005, 0);
    CalculateYear(timetable);
    EXPECT_EQ(timetable.table[229], leapDay);
}

TEST(YearRun, PolarDaysAndNightsGetFiveMarksInEachCell) {
    Timetable timetable;
    timetable.settings = ReferencePlace(2004, 1);
    timetable.settings.longitude = 18.96f;
    timetable.settings.latitude = 69.65f;
    CalculateYear(timetable);
    EXPECT_EQ(timetable.table[621], "***** *****");  // summer time does not touch the marks
    EXPECT_EQ(timetable.table[1221], "----- -----");
    for (DayCode code = 101; code <= 1231; ++code) {
        if (IsDate(code, 1)) {
            EXPECT_EQ(timetable.table[code].size(), 11u) << code;
        }
    }
}

}  // namespace
