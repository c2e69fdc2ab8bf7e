// What a place found by name puts into the timetable's input: the town as
// the town field accepts it, the coordinates as the fields take them and the
// documents' zone and summer time.
#pragma once

#include "places/gazetteer.h"

#include <optional>
#include <string>

// The town for a place, in code page 1252 as the town field holds it: the
// name in capitals, Ä, Ö and Ü as AE, OE and UE, ß as SS; when the name
// holds letters that code page 1252 lacks or that the town field refuses,
// the ASCII name in capitals instead. Cut to 20 characters.
std::string TownFromPlace(const Place& place);

// A coordinate's magnitude as a coordinate field takes it (the side is
// chosen apart): 10-mode with 4 decimals ("9.1750"), or 60-mode as
// D.MMSS rounded to the second ("9.1030").
std::string CoordinateFieldText(double degrees, bool sixtyMode);

// The documents' time basis for a place in a year.
struct DocumentTimeBasis {
    double zoneHours = 0;        // the zone's standard offset that year, hours east of Greenwich
    bool summerTime = false;     // the zone's summer time that year is the documents' own period
    bool keepsStandardTime = false;  // the zone has another summer time that year, which the
                                     // documents cannot show: they keep standard time
};

// Nothing when the place has no time zone or the system's database lacks it.
std::optional<DocumentTimeBasis> DocumentTimeBasisOf(const Place& place, int year);
