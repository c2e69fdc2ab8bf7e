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

namespace {

struct ComponentFree {
    void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

icaltimetype UtcTime(int64_t utc) {
    return icaltime_from_timet_with_zone(static_cast<time_t>(utc), 0, icaltimezone_get_utc_timezone());
}

icaltimetype UtcTime(std::chrono::sys_seconds instant) { return UtcTime(instant.time_since_epoch().count()); }

// "48.4006 N 9.9994 E": four decimals (about 10 m) read better in a calendar
// than the single-precision value's six, which show its binary rounding.
std::string PlaceText(const TimetableSettings& s) {
    return LatitudeText(s.latitude) + " " + LongitudeText(s.longitude);
}

// "Sunrise at ULM: 08:19:58 local time on 2026-01-01 (UTC+01:00). ..."
std::string Description(const DataYear& year, const CivilMoment& moment, const char* name) {
    const std::string local = LocalTimeText(moment.local, moment.offset);
    std::string zone = "UTC" + OffsetText(moment.offset);
    if (!year.timeZone.empty()) zone = year.timeZone + ", " + zone;
    return std::string(name) + " at " + Cp1252ToUtf8(year.settings.town) + ": " + local.substr(local.find('T') + 1, 8) +
           " local time on " + local.substr(0, local.find('T')) + " (" + zone + "). The Sun's centre at " +
           FormatReal(HorizonAltitude) + " degrees above the true geocentric horizon at " + PlaceText(year.settings) +
           ".";
}

void AddEvent(icalcomponent* calendar, const DataYear& year, const CalendarOptions& options, const CivilDay& day,
              const CivilMoment& moment, const char* event, const char* name) {
    if (moment.kind != DayKind::Normal) return;  // the Sun stays above or below: nothing happens
    icalcomponent* vevent = icalcomponent_new_vevent();
    const std::string summary = "KELMORVEN " + std::string(event) + " " + Cp1252ToUtf8(year.settings.town);
    icalcomponent_add_property(vevent, icalproperty_new_uid(EventUid(year.settings, day, event).c_str()));
    icalcomponent_add_property(vevent, icalproperty_new_dtstamp(UtcTime(options.stamp)));
    icalcomponent_add_property(vevent, icalproperty_new_dtstart(UtcTime(moment.Utc())));
    icalcomponent_add_property(vevent, icalproperty_new_dtend(UtcTime(moment.Utc() + std::chrono::seconds{60})));
    icalcomponent_add_property(vevent, icalproperty_new_summary(summary.c_str()));
    icalcomponent_add_property(vevent, icalproperty_new_description(Description(year, moment, name).c_str()));
    icalcomponent_add_property(vevent, icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
    if (options.remindMinutes) {
        icalcomponent* alarm = icalcomponent_new_valarm();
        icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
        icalcomponent_add_property(alarm, icalproperty_new_description(summary.c_str()));
        icalcomponent_add_property(alarm, icalproperty_new_trigger(icaltriggertype_from_int(-60 * *options.remindMinutes)));
        icalcomponent_add_component(vevent, alarm);
    }
    icalcomponent_add_component(calendar, vevent);
}

}  // namespace

std::string EventUid(const TimetableSettings& settings, const CivilDay& day, const char* event) {
    const uint64_t place = StableHash(settings.town + "\n" + FormatReal(settings.longitude) + "\n" +
                                      FormatReal(settings.latitude));
    // The second time a zone lives a date gets its own events: "-2" after the date.
    char text[64];
    std::snprintf(text, sizeof text, "%04d%02d%02d%s-%s-%016llx@kelmorven", day.year, day.month, day.day,
                  day.lived == 2 ? "-2" : "", event, static_cast<unsigned long long>(place));
    return text;
}

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
    for (const CivilDay& day : year.days) {
        AddEvent(calendar.get(), year, options, day, day.sunrise, "SR", "Sunrise");
        AddEvent(calendar.get(), year, options, day, day.sunset, "SS", "Sunset");
    }

    // libical escapes and folds the text and ends every line, a folded one's
    // continuations included, by CR LF: the lines are taken as it wrote them.
    // Nothing only when libical ran out of memory: no calendar rather than an
    // empty one.
    char* text = icalcomponent_as_ical_string_r(calendar.get());
    if (!text) throw std::bad_alloc();
    const std::string whole = text;
    std::free(text);
    std::vector<std::string> lines;
    for (size_t start = 0; start < whole.size();) {
        size_t end = whole.find("\r\n", start);
        if (end == std::string::npos) end = whole.size();
        lines.push_back(whole.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}
