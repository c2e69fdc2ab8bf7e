// The subscription: one place's sunrises and sunsets as one iCalendar feed
// over a window that rolls with today, from a week before to 400 days
// after, across the years' ends.
#pragma once

#include "serve/serve_program.h"
#include "serve/year_request.h"

#include <cstdint>
#include <optional>
#include <string>

inline constexpr int kFeedDaysBefore = 7;
inline constexpr int kFeedDaysAfter = 400;

struct FeedRender {
    std::string bytes;
    std::string town;  // UTF-8, for the file name
    int64_t stamp = 0;  // the events' DTSTAMP, seconds since 1970 UTC
    RequestError error;
};

// The feed of place around today (00:00 UTC of a date): every event of the
// dates from today - 7 days to today + 400, each with the UID the batch
// tool's calendar of its year gives it, so that a calendar that fetched an
// earlier window or imported a year's file keeps its events. The events'
// stamp is the calendar stamp of the year files (calendarToday, or
// SOURCE_DATE_EPOCH when that is absent). The window ends early at the
// last year the calendar format holds.
FeedRender RenderFeed(const ServeProgram& program, const PlaceParameters& place, const std::optional<std::string>& remind,
                      int64_t today, std::optional<int64_t> calendarToday);
