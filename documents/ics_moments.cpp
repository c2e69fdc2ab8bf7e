#include "calc/sun_events.h"
#include "input/field_values.h"
#include "documents/data_formats.h"
#include "documents/moment_text.h"
#include "text/code_page.h"
#include "text/numbers.h"
#include "text/stable_hash.h"

#include <libical/ical.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <string_view>

namespace {

struct ComponentFree {
    void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

icaltimetype UtcTime(std::chrono::sys_seconds instant) {
    return icaltime_from_timet_with_zone(static_cast<time_t>(instant.time_since_epoch().count()), 0,
                                         icaltimezone_get_utc_timezone());
}

// The lines of text, each ended by CR LF, appended to lines.
void AppendLines(std::vector<std::string>& lines, const std::string& text) {
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines.emplace_back(text, start, end - start);
        start = end + 2;
    }
}

// One property as libical writes it, escaped and folded, its lines ended by
// CR LF; the property is freed. Nothing only when libical ran out of memory:
// no calendar rather than a part of one.
std::string PropertyText(icalproperty* property) {
    if (!property) throw std::bad_alloc();
    char* text = icalproperty_as_ical_string_r(property);
    icalproperty_free(property);
    if (!text) throw std::bad_alloc();
    std::string written = text;
    std::free(text);
    return written;
}

// "DTSTART:20260101T071958Z": a UTC date-time as libical writes one, which
// has no text to escape and is never folded. The calendar's years are 0 to
// 3000: four digits. Written digit by digit, as printf costs more here than
// all the rest of the line.
std::string UtcLine(std::string_view name, std::chrono::sys_seconds instant) {
    const auto day = std::chrono::floor<std::chrono::days>(instant);
    const std::chrono::year_month_day date{day};
    const std::chrono::hh_mm_ss time{instant - day};
    std::string line(name);
    line += ':';
    const auto digits = [&line](unsigned value, int count) {
        char text[4];
        for (int i = count - 1; i >= 0; --i, value /= 10) text[i] = static_cast<char>('0' + value % 10);
        line.append(text, static_cast<size_t>(count));
    };
    digits(static_cast<unsigned>(static_cast<int>(date.year())), 4);
    digits(static_cast<unsigned>(date.month()), 2);
    digits(static_cast<unsigned>(date.day()), 2);
    line += 'T';
    digits(static_cast<unsigned>(time.hours().count()), 2);
    digits(static_cast<unsigned>(time.minutes().count()), 2);
    digits(static_cast<unsigned>(time.seconds().count()), 2);
    line += 'Z';
    return line;
}

// "48.4006 N 9.9994 E": four decimals (about 10 m) read better in a calendar
// than the single-precision value's six, which show its binary rounding.
std::string PlaceText(const TimetableSettings& s) {
    return LatitudeText(s.latitude) + " " + LongitudeText(s.longitude);
}

// The parts of the events' descriptions that are the same on every event
// of a calendar, made once.
struct DescriptionParts {
    std::string town;   // " at ULM: "
    std::string zone;   // "Europe/Berlin, " or empty
    std::string place;  // "). The Sun's centre at ... at 48.4006 N 9.9994 E."
};

DescriptionParts DescriptionPartsOf(const DataYear& year) {
    return {" at " + Cp1252ToUtf8(year.settings.town) + ": ", year.timeZone.empty() ? "" : year.timeZone + ", ",
            "). The Sun's centre at " + FormatReal(HorizonAltitude) + " degrees above the true geocentric horizon at " +
                PlaceText(year.settings) + "."};
}

// "Sunrise at ULM: 08:19:58 local time on 2026-01-01 (UTC+01:00). ..."
std::string Description(const DescriptionParts& parts, const CivilMoment& moment, const char* name) {
    const std::string local = LocalTimeText(moment.local, moment.offset);
    const size_t t = local.find('T');
    return name + parts.town + local.substr(t + 1, 8) + " local time on " + local.substr(0, t) + " (" + parts.zone +
           "UTC" + OffsetText(moment.offset) + parts.place;
}

// The lines libical writes for one kind of event ("SR", "SS") that are the
// same on every event of a calendar: its summary, and its alarm.
struct EventKind {
    const char* event;  // "SR"
    const char* name;   // "Sunrise"
    std::vector<std::string> summary;
    std::vector<std::string> alarm;  // from BEGIN:VALARM to END:VALARM; none without a reminder
    DescriptionParts description;
    std::uint64_t place;  // the place's part of each UID (PlaceHash)
};

EventKind KindOf(const DataYear& year, const CalendarOptions& options, const char* event, const char* name) {
    EventKind kind{event, name, {}, {}, DescriptionPartsOf(year), PlaceHash(year.settings)};
    const std::string summary = "KELMORVEN " + std::string(event) + " " + Cp1252ToUtf8(year.settings.town);
    AppendLines(kind.summary, PropertyText(icalproperty_new_summary(summary.c_str())));
    if (options.remindMinutes) {
        kind.alarm.emplace_back("BEGIN:VALARM");
        AppendLines(kind.alarm, PropertyText(icalproperty_new_action(ICAL_ACTION_DISPLAY)));
        AppendLines(kind.alarm, PropertyText(icalproperty_new_description(summary.c_str())));
        AppendLines(kind.alarm,
                    PropertyText(icalproperty_new_trigger(icaltriggertype_from_int(-60 * *options.remindMinutes))));
        kind.alarm.emplace_back("END:VALARM");
    }
    return kind;
}

// One event's lines, in the order libical writes a VEVENT of these
// properties. The description, which holds the moment, is libical's to
// escape and fold on every event.
void AddEvent(std::vector<std::string>& lines, const std::vector<std::string>& stamp,
              const std::vector<std::string>& transparent, const CivilDay& day, const CivilMoment& moment,
              const EventKind& kind) {
    if (moment.kind != DayKind::Normal) return;  // the Sun stays above or below: nothing happens
    lines.emplace_back("BEGIN:VEVENT");
    lines.push_back("UID:" + EventUid(kind.place, day, kind.event));
    lines.insert(lines.end(), stamp.begin(), stamp.end());
    lines.push_back(UtcLine("DTSTART", moment.Utc()));
    lines.push_back(UtcLine("DTEND", moment.Utc() + std::chrono::seconds{60}));
    lines.insert(lines.end(), kind.summary.begin(), kind.summary.end());
    AppendLines(lines, PropertyText(icalproperty_new_description(Description(kind.description, moment, kind.name).c_str())));
    lines.insert(lines.end(), transparent.begin(), transparent.end());
    lines.insert(lines.end(), kind.alarm.begin(), kind.alarm.end());
    lines.emplace_back("END:VEVENT");
}

}  // namespace

std::uint64_t PlaceHash(const TimetableSettings& settings) {
    return StableHash(settings.town + "\n" + FormatReal(settings.longitude) + "\n" + FormatReal(settings.latitude));
}

std::string EventUid(std::uint64_t place, const CivilDay& day, const char* event) {
    // The second time a zone lives a date gets its own events: "-2" after the date.
    char text[64];
    std::snprintf(text, sizeof text, "%04d%02d%02d%s-%s-%016llx@kelmorven", day.year, day.month, day.day,
                  day.lived == 2 ? "-2" : "", event, static_cast<unsigned long long>(place));
    return text;
}

// libical writes every property, and so escapes and folds all text. A
// calendar of 730 events written as one libical component spent most of a
// year's CPU in the component's writing; so the properties that repeat on
// every event are written once per calendar, and the events' lines are
// joined here in libical's order.
std::vector<std::string> IcsLines(const DataYear& year, const CalendarOptions& options) {
    Component calendar(icalcomponent_new_vcalendar());
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_prodid("-//KELMORVEN Timings//kelmorven-table//EN"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_calscale("GREGORIAN"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_method(ICAL_METHOD_PUBLISH));
    const std::string name = "KELMORVEN " + Cp1252ToUtf8(year.settings.town) + " " + FormatInteger(year.settings.year);
    icalproperty* calendarName = icalproperty_new_x(name.c_str());
    icalproperty_set_x_name(calendarName, "X-WR-CALNAME");
    icalcomponent_add_property(calendar.get(), calendarName);
    char* text = icalcomponent_as_ical_string_r(calendar.get());
    if (!text) throw std::bad_alloc();
    std::vector<std::string> lines;
    lines.reserve(year.days.size() * (options.remindMinutes ? 36 : 26) + 8);
    AppendLines(lines, text);
    std::free(text);
    const std::string end = lines.back();  // END:VCALENDAR, after the events
    lines.pop_back();

    std::vector<std::string> stamp, transparent;
    AppendLines(stamp, PropertyText(icalproperty_new_dtstamp(UtcTime(options.stamp))));
    AppendLines(transparent, PropertyText(icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT)));
    const EventKind sunrise = KindOf(year, options, "SR", "Sunrise"), sunset = KindOf(year, options, "SS", "Sunset");
    for (const CivilDay& day : year.days) {
        AddEvent(lines, stamp, transparent, day, day.sunrise, sunrise);
        AddEvent(lines, stamp, transparent, day, day.sunset, sunset);
    }
    lines.push_back(end);
    return lines;
}
