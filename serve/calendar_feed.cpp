#include "serve/calendar_feed.h"

#include "documents/civil_moments.h"
#include "documents/data_formats.h"
#include "documents/document_file.h"
#include "table/table_files.h"
#include "text/code_page.h"
#include "text/numbers.h"

#include <chrono>
#include <vector>

namespace {

constexpr int64_t kDay = 86400;

int YearOfDay(int64_t day) {
    const std::chrono::year_month_day date{std::chrono::floor<std::chrono::days>(
        std::chrono::sys_seconds(std::chrono::seconds(day)))};
    return static_cast<int>(date.year());
}

// The feed's own lines: its name without a year, and how often a client
// should fetch it again (RFC 7986, and the lines many clients read instead).
void MakeFeedLines(std::vector<std::string>& lines, const std::string& town) {
    std::vector<std::string> feed;
    for (std::string& line : lines) {
        if (line.rfind("PRODID:", 0) == 0) {
            feed.push_back("PRODID:-//KELMORVEN Timings//kelmorven-serve//EN");
        } else if (line.rfind("X-WR-CALNAME:", 0) == 0) {
            feed.push_back("X-WR-CALNAME:KELMORVEN " + town);
            feed.push_back("REFRESH-INTERVAL;VALUE=DURATION:P1D");
            feed.push_back("X-PUBLISHED-TTL:P1D");
        } else {
            feed.push_back(std::move(line));
        }
    }
    lines = std::move(feed);
}

// libical writes a text value with its commas, semicolons and backslashes
// escaped; the name is written the same way.
std::string CalendarText(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        if (c == ',' || c == ';' || c == '\\') escaped += '\\';
        escaped += c;
    }
    return escaped;
}

}  // namespace

FeedRender RenderFeed(const ServeProgram& program, const PlaceParameters& place, const std::optional<std::string>& remind,
                      int64_t today, std::optional<int64_t> calendarToday) {
    FeedRender feed;
    const OutputFormat* calendar = FindOutputFormat("ics");
    const int64_t first = today - kFeedDaysBefore * kDay, last = today + kFeedDaysAfter * kDay;
    std::vector<CalculatedYear> years;
    std::vector<CivilDay> days;
    for (int year = YearOfDay(first); year <= YearOfDay(last); ++year) {
        if (calendar->needs.lastYear > 0 && year > calendar->needs.lastYear && !years.empty()) break;
        CalculatedYear calculated =
            CalculateRequestedYear(program, {place, std::to_string(year), calendar, remind, calendarToday});
        if (calculated.error) {
            feed.error = calculated.error;
            return feed;
        }
        for (const CivilDay& day : CivilDays(*calculated.year)) {
            const int64_t start = CivilDateSeconds(day.year, day.month, day.day);
            if (start >= first && start <= last) days.push_back(day);
        }
        years.push_back(std::move(calculated));
    }
    const YearResult& firstYear = *years.front().year;
    const TimetableSettings& settings = firstYear.Settings();
    feed.town = Cp1252ToUtf8(settings.town);
    feed.stamp = CalendarStamp(years.front().options);
    const DataYear data{settings, firstYear.TimeZone(), std::move(days), firstYear.Summer().springDay,
                        firstYear.Summer().autumnDay};
    std::vector<std::string> lines =
        IcsLines(data, CalendarOptions{feed.stamp, years.front().options.remindMinutes});
    MakeFeedLines(lines, CalendarText(feed.town));
    feed.bytes = CrLfLines(lines);
    return feed;
}
