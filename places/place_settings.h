// What a place found by name puts into the timetable's input, alike in both
// programs: the town as the town field accepts it, the coordinates as the
// fields take them and the documents' zone and summer time in a year.
#pragma once

#include "places/gazetteer.h"

#include <cstdint>
#include <optional>
#include <string>

// The town for a place, in code page 1252 as the town field holds it: the
// name in capitals, Ä, Ö and Ü as AE, OE and UE, ß as SS, a slash as a
// blank; when the name holds letters that code page 1252 lacks or that the
// town field refuses, the ASCII name in capitals instead. Whole words of
// at most 20 characters in all, cut after a word; never ending in a blank,
// a dot or a hyphen, so that no file is named "D.C..TXT".
std::string TownFromPlace(const Place& place);

// A coordinate's magnitude as a coordinate field takes it (the side is
// chosen apart): 10-mode with 4 decimals ("9.1750"), or 60-mode as
// D.MMSS rounded to the second ("9.1030").
std::string CoordinateFieldText(double degrees, bool sixtyMode);

// Seconds east of Greenwich as the zone field takes them: the shortest text
// that reads back as the same single-precision hours the solver runs with
// ("1", "-3.5", "5.75", "0.5688889" for 34 min 8 s).
std::string ZoneFieldText(int32_t seconds);

// A change of the zone's standard offset within the year.
struct StandardChange {
    int month = 0, day = 0;  // the first date of the new offset
    int32_t from = 0, to = 0;  // seconds east of Greenwich
};

// The documents' time basis for a place in a year.
struct DocumentTimeBasis {
    int32_t zoneSeconds = 0;  // the standard offset the documents keep, seconds east of Greenwich
    bool summerTime = false;  // the zone's summer time that year is the documents' own period
    bool keepsStandardTime = false;  // the zone has another summer time that year, which the
                                     // documents cannot show: they keep standard time
    std::optional<StandardChange> change;  // the standard offset changes: the documents keep
                                           // the one in force on most days
};

// Nothing when the place has no time zone or the system's database lacks it.
// The standard offset is the one the database marks as standard (not the
// lowest: Morocco's summer time is an hour behind), on most days of the year.
std::optional<DocumentTimeBasis> DocumentTimeBasisOf(const Place& place, int year);

// A place as input for the timetable of a year, for the window's fields and
// the batch tool's options alike.
struct PlaceInput {
    std::string town;       // code page 1252, as TownFromPlace
    std::string longitude;  // magnitudes as CoordinateFieldText
    std::string latitude;
    bool west = false;
    bool south = false;
    std::string timeZone;   // the place's IANA zone; empty for an own place given in hours
    bool timeBasisKnown = false;  // false: the database lacks the zone; zone and summerTime unset
    std::string zone;       // the zone field's text, as ZoneFieldText
    bool summerTime = false;
    std::string note;       // what the documents cannot show of the zone's year, in English;
                            // empty when they show it all
    std::optional<DocumentTimeBasis> basis;
};

// The input of place for year, coordinates in 60-mode when sixtyMode.
PlaceInput InputOfPlace(const Place& place, int year, bool sixtyMode);
