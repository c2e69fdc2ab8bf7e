#include "documents/timetable_documents.h"
#include "tests/documents/filled_timetable.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

struct Expected {
    size_t line;  // 1-based
    const char* text;
};

}  // namespace

// The header lines of both documents follow the sides, the mode of the
// packed texts, the zone and the summer-time choice. The RTF's lines come one
// later, end with "\par", say "Jahr" and "Ort", and space a few texts apart.
TEST(TimetableHeaders, FollowTheSidesZoneAndSummerTimeInBothDocuments) {
    struct Case {
        std::function<void(TimetableSettings&)> change;
        std::vector<Expected> text;
        std::vector<Expected> rtf;
    };
    const Case cases[] = {
        {[](TimetableSettings&) {},
         {{9, "   Longitude east =  8.683056\xB0 (10-mode)    =  8\xB0" "40'59 '' (60-mode)"}},
         {{8, "   Jahr = 2005\\par"},
          {9, "   Ort  = TESTTOWN\\par"},
          {10, "   Longitude east  =  8.683056\xB0 (10-mode)    =  8\xB0" "40'59 '' (60-mode)\\par"},
          {11, "   Latitude north = 47.299999\xB0 (10-mode)    = 47\xB0" "18' '' (60-mode)\\par"},
          {12, "   Time difference to Greenwich Mean Time =1.000 hour(s) =MEZ\\par"},
          {13, "   Summer Time Changes calculated from 3.27.2005 To 10.29.2005\\par"},
          {15, "   At the Date 05.17.2005    SR=5h22min33sec     SS=9h15min30sec\\par"},
          {16, "   \xA9 2026 KELMORVEN Timings\\par"},
          {78, "    Timings/ Longitude 8.683056\xB0 (10-mode)/ Latitude 47.299999\xB0 (10-mode)\\par"},
          {79, "    Year=2005/   Time Zone =1.000/   Town= TESTTOWN\\par"}}},
        {[](TimetableSettings& s) {  // west and south, packed texts made in 10-mode
             s.longitudeSide = -1, s.longitude = -9.175f, s.longitudePacked = "9.103000";
             s.latitudeSide = -1, s.latitude = -33.5f, s.latitudePacked = "33.300000";
         },
         {{9, "   Longitude west =  9.175000\xB0 (10-mode)    =  9\xB0" "10'30 '' (60-mode)"},
          {10, "   Latitude south = 33.500000\xB0 (10-mode)    = 33\xB0" "30'00 '' (60-mode)"},
          {77, "    Timings/ Longitude 9.175000\xB0 (10-mode)/ Latitude 33.500000\xB0 (10-mode)"}},
         {{10, "   Longitude west =  9.175000\xB0 (10-mode)    =  9\xB0" "10'30 '' (60-mode)\\par"},
          {11, "   Latitude south = 33.500000\xB0 (10-mode)    = 33\xB0" "30'00 '' (60-mode)\\par"}}},
        {[](TimetableSettings& s) { s.longitude = 8.0f, s.longitudePacked = "8", s.latitudePacked = "48.4"; },
         {{9, "   Longitude east =  8.000000\xB0 (10-mode)    =  8\xB0 (60-mode)"},
          {10, "   Latitude north = 47.299999\xB0 (10-mode)    = 48\xB0" "4' '' (60-mode)"}},
         {}},
        {[](TimetableSettings& s) { s.zone = 1.5f; },
         {{11, "   Time difference to Greenwich Mean Time =1.500 hour(s)"}},
         {{12, "   Time difference to Greenwich Mean Time =1.500 hour(s)\\par"}}},
        {[](TimetableSettings& s) { s.zone = -3.5f; },
         {{11, "   Time difference to Greenwich Mean Time =-3.50 hour(s)"},
          {78, "    Year=2005/  Time Zone=-3.50/  Town= TESTTOWN"}},
         {{79, "    Year=2005/   Time Zone =-3.50/   Town= TESTTOWN\\par"}}},
        {[](TimetableSettings& s) { s.zone = 10.0f; },
         {{11, "   Time difference to Greenwich Mean Time =10.00 hour(s)"}}, {}},
        {[](TimetableSettings& s) { s.zone = -10.0f; },
         {{11, "   Time difference to Greenwich Mean Time =-10.0 hour(s)"}}, {}},
        {[](TimetableSettings& s) { s.zone = 1.0001f; },  // shows as 1.000, but is not one hour
         {{11, "   Time difference to Greenwich Mean Time =1.000 hour(s)"}}, {}},
        {[](TimetableSettings& s) { s.summerTime = 0; },
         {{12, "   no summertime changes included at calculation !"}},
         {{13, "   no summertime changes included at calculation !\\par"}}},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        Timetable t = FilledTimetable(2005);
        cases[i].change(t.settings);
        std::vector<std::string> text = TextTimetableLines(t), rtf = RtfTimetableLines(t);
        for (const Expected& e : cases[i].text) EXPECT_EQ(text.at(e.line - 1), e.text) << "case " << i;
        for (const Expected& e : cases[i].rtf) EXPECT_EQ(rtf.at(e.line - 1), e.text) << "case " << i;
    }
}
