#include "calc/zone_year.h"

#include "calc/civil_seconds.h"
#include "calc/sun_events.h"
#include "calc/year_run.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace {

constexpr int64_t kDay = 86400;

// Candidates of one event less than this apart are the same event: the
// same sunrise or sunset found from two dates' solutions.
constexpr int64_t kSameEvent = 3 * 3600;

// One living of a civil date: a date the zone lived twice has two.
struct Living {
    int year = 0, month = 0, day = 0;
    int32_t standard = 0;  // the standard offset the solver runs with
    int lived = 1;
    int64_t start = 0;     // the date's midnight as civil seconds
    SunEvents own;         // its solution at the standard offset, as its cells
};

// A sunrise or sunset found by the solver.
struct Event {
    int64_t utc = 0;        // whole seconds, rounded as the cell of its solution
    int32_t offset = 0;     // the zone's clock at the instant
    std::optional<float> hours;  // the cell's hours when the event lies on its solution's date at that offset
    int rank = 0;           // 0: its own date's cell; 1: a neighbouring date's cell; 2: found apart
};

struct Events {
    std::vector<Event> sunrises, sunsets;
};

std::optional<Living> LivingOf(const CivilTimeZone& zone, int year, int month, int day, size_t which) {
    const std::vector<int32_t> offsets = zone.StandardOffsetsOfDate(year, month, day);
    if (which >= offsets.size()) return std::nullopt;
    return Living{year, month, day, offsets[which], static_cast<int>(which) + 1, CivilDateSeconds(year, month, day), {}};
}

// Every living of every date of year, and the date on either side of it.
std::vector<Living> LivingsAround(const CivilTimeZone& zone, int year) {
    using namespace std::chrono;
    std::vector<Living> livings;
    const sys_days first = std::chrono::year{year} / January / 1, last = std::chrono::year{year} / December / 31;
    for (sys_days d = first - std::chrono::days{1}; d <= last + std::chrono::days{1}; d += std::chrono::days{1}) {
        const year_month_day date{d};
        if (!date.ok()) continue;  // beyond the years std::chrono holds (after 32767)
        const int y = static_cast<int>(date.year()), m = static_cast<int>(static_cast<unsigned>(date.month())),
                  dd = static_cast<int>(static_cast<unsigned>(date.day()));
        for (size_t which = 0;; ++which) {
            const std::optional<Living> living = LivingOf(zone, y, m, dd, which);
            if (!living) break;
            livings.push_back(*living);
        }
    }
    return livings;
}

// An event the solver found at hours after the start of a date on a clock
// standard seconds ahead of UTC.
void AddEvent(std::vector<Event>& events, DayKind kind, float hours, const Living& date, int32_t standard,
              const CivilTimeZone& zone, bool cellsClock) {
    if (kind != DayKind::Normal) return;
    const int64_t seconds = RoundedSeconds(hours);
    const int64_t utc = date.start + seconds - standard;
    const int32_t offset = zone.OffsetAt(utc);
    const bool ownDate = seconds + offset - standard >= 0 && seconds + offset - standard < kDay;
    const bool cellHours = offset == standard && ownDate;
    events.push_back({utc, offset, cellHours ? std::optional<float>(hours) : std::nullopt,
                      !cellsClock ? 2 : ownDate ? 0 : 1});
}

// Of the candidates, each event once: the one rounded as its own date's
// cell, else a neighbouring date's, else one found apart.
std::vector<Event> EachOnce(std::vector<Event> events) {
    std::sort(events.begin(), events.end(), [](const Event& a, const Event& b) { return a.utc < b.utc; });
    std::vector<Event> once;
    for (const Event& e : events) {
        if (!once.empty() && e.utc - once.back().utc < kSameEvent) {
            if (e.rank < once.back().rank) once.back() = e;
        } else {
            once.push_back(e);
        }
    }
    return once;
}

// The solutions of every date at its standard offset, as the cells, and at
// the place's mean solar time, whose dates are the Sun's own: a clock far
// from the longitude moves an event onto the neighbouring date, where no
// cell of that date's solution finds it.
Events EventsAround(const TimetableSettings& settings, const CivilTimeZone& zone, std::vector<Living>& livings) {
    Events events;
    const auto mean = static_cast<int32_t>(std::lround(settings.longitude * 240.0));
    for (Living& l : livings) {
        for (const auto& [offset, cellsClock] : {std::pair{l.standard, true}, std::pair{mean, false}}) {
            const SunEvents found = ComputeSunEvents(static_cast<int16_t>(l.year), static_cast<uint8_t>(l.month),
                                                     static_cast<uint8_t>(l.day), settings.longitude,
                                                     settings.latitude, static_cast<float>(offset / 3600.0));
            if (cellsClock) l.own = found;
            AddEvent(events.sunrises, found.sunriseKind, found.sunrise, l, offset, zone, cellsClock);
            AddEvent(events.sunsets, found.sunsetKind, found.sunset, l, offset, zone, cellsClock);
        }
    }
    return {EachOnce(std::move(events.sunrises)), EachOnce(std::move(events.sunsets))};
}

// Which living of the year an event's clock puts it on: its local date, and
// of a date lived twice the living whose standard offset is nearest.
std::optional<size_t> LivingOfEvent(const std::vector<Living>& livings, const Event& e) {
    const int64_t local = e.utc + e.offset;
    const int64_t dateStart = local - ((local % kDay) + kDay) % kDay;
    std::optional<size_t> best;
    for (size_t i = 0; i < livings.size(); ++i) {
        if (livings[i].start != dateStart) continue;
        if (!best || std::abs(livings[i].standard - e.offset) < std::abs(livings[*best].standard - e.offset)) best = i;
    }
    return best;
}

Moment MomentOf(const Event& e, const Living& date) {
    const int64_t seconds = e.utc + e.offset - date.start;
    return {DayKind::Normal, e.hours ? *e.hours : HoursOfSeconds(seconds), e.offset};
}

// An event found in standard time (hours after the date's start, clock
// standard seconds ahead of UTC) shown in the zone's civil time: rounded
// to the second as its cell at the standard offset is, then moved by the
// whole seconds the zone's clock differs at that instant, so the data and
// a cell made at either offset show the same seconds.
Moment ZoneMoment(DayKind kind, float standardHours, const Living& date, const CivilTimeZone& zone) {
    if (kind != DayKind::Normal) return {kind, standardHours, date.standard};
    const int64_t seconds = RoundedSeconds(standardHours);
    const int32_t offset = zone.OffsetAt(date.start + seconds - date.standard);
    const int32_t difference = offset - date.standard;
    return {kind, difference == 0 ? standardHours : HoursOfSeconds(seconds + difference), offset};
}

// Each date's row from its own solution.
std::vector<DateMoments> SolvedDates(const TimetableSettings& settings, const CivilTimeZone& zone,
                                     std::vector<Living>& livings) {
    std::vector<DateMoments> dates;
    for (Living& l : livings) {
        if (l.year != settings.year) continue;
        l.own = ComputeSunEvents(static_cast<int16_t>(l.year), static_cast<uint8_t>(l.month),
                                 static_cast<uint8_t>(l.day), settings.longitude, settings.latitude,
                                 static_cast<float>(l.standard / 3600.0));
        dates.push_back({l.year, l.month, l.day, ZoneMoment(l.own.sunriseKind, l.own.sunrise, l, zone),
                         ZoneMoment(l.own.sunsetKind, l.own.sunset, l, zone), l.lived});
    }
    return dates;
}

// Each event once, on the row of the date the zone's clock gives it.
std::vector<DateMoments> LocalDates(const TimetableSettings& settings, const CivilTimeZone& zone,
                                    std::vector<Living>& livings) {
    const Events events = EventsAround(settings, zone, livings);
    std::vector<std::vector<Moment>> sunrises(livings.size()), sunsets(livings.size());
    for (const auto& [found, onDates] : {std::pair{&events.sunrises, &sunrises}, std::pair{&events.sunsets, &sunsets}})
        for (const Event& e : *found)
            if (const std::optional<size_t> i = LivingOfEvent(livings, e))
                (*onDates)[*i].push_back(MomentOf(e, livings[*i]));

    std::vector<DateMoments> dates;
    for (size_t i = 0; i < livings.size(); ++i) {
        const Living& l = livings[i];
        if (l.year != settings.year) continue;
        // A date without an event of a kind: the Sun stays above or below,
        // or the zone's clock puts the event on a neighbouring date.
        const auto none = [&](DayKind kind) {
            return Moment{kind == DayKind::Normal ? DayKind::OtherDate : kind, 0.0f, l.standard};
        };
        const size_t rows = std::max<size_t>({1, sunrises[i].size(), sunsets[i].size()});
        for (size_t row = 0; row < rows; ++row)
            dates.push_back({l.year, l.month, l.day,
                             row < sunrises[i].size() ? sunrises[i][row] : none(l.own.sunriseKind),
                             row < sunsets[i].size() ? sunsets[i][row] : none(l.own.sunsetKind),
                             l.lived + static_cast<int>(row)});
    }
    return dates;
}

}  // namespace

YearResult YearInTimeZone(const TimetableSettings& settings, const CivilTimeZone& zone, const std::string& name,
                          EventDates dates) {
    const LeapFlag leap = CheckLeapYear(settings.yearReal).flag;
    std::vector<Living> livings = LivingsAround(zone, settings.year);
    std::vector<DateMoments> rows =
        dates == EventDates::Solved ? SolvedDates(settings, zone, livings) : LocalDates(settings, zone, livings);
    return YearResult(settings, leap, ComputeSummerTimePeriod(settings.yearReal, leap), std::move(rows), name);
}
