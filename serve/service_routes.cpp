#include "serve/service_routes.h"

#include "documents/civil_moments.h"
#include "documents/moment_text.h"
#include "places/name_folding.h"
#include "serve/calendar_feed.h"
#include "serve/year_request.h"
#include "table/place_choice.h"
#include "table/table_files.h"
#include "table/table_version.h"
#include "text/code_page.h"
#include "text/numbers.h"
#include "calc/civil_time_zone.h"

#include <nlohmann/json.hpp>

#include <chrono>
#include <malloc.h>
#include <cstdio>
#include <ctime>
#include <functional>

namespace {

constexpr const char* kDayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kHttpMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr const char* kYearCaching = "public, max-age=86400";
constexpr const char* kFeedCaching = "public, max-age=3600";  // the feed changes once a day
constexpr const char* kTodayCaching = "public, max-age=600";

// The media type of a file, by the ending the table of formats gives it; a
// format of a new ending goes out as bytes until it is named here.
std::string MediaType(const OutputFormat& format) {
    struct Ending {
        const char* ending;
        const char* type;
    };
    static constexpr Ending kTypes[] = {
        {".TXT", "text/plain; charset=windows-1252"}, {".WRI", "application/rtf"},
        {".csv", "text/csv; charset=utf-8"},          {".json", "application/json"},
        {".ics", "text/calendar; charset=utf-8"},     {".pdf", "application/pdf"},
        {".svg", "image/svg+xml"},
    };
    for (const Ending& e : kTypes)
        if (format.ending == e.ending) return e.type;
    return "application/octet-stream";
}

// attachment; filename="ULM.TXT"; filename*=UTF-8''ULM.TXT (RFC 6266): the
// plain name without what a quoted string or a file system would misread.
std::string Disposition(const std::string& utf8Name) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string plain, encoded;
    for (unsigned char c : utf8Name) {
        const bool safe = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
                          c == '-' || c == '_';
        plain += safe || c == ' ' ? static_cast<char>(c) : '_';
        if (safe) {
            encoded += static_cast<char>(c);
        } else {
            encoded += '%';
            encoded += kHex[c >> 4];
            encoded += kHex[c & 15];
        }
    }
    return "attachment; filename=\"" + plain + "\"; filename*=UTF-8''" + encoded;
}

Response Failure(const RequestError& error) { return ErrorResponse(error.status, error.text); }

std::string PlaceKey(const PlaceParameters& p) {
    return p.id.empty() ? p.name + '\x1f' + p.lat + '\x1f' + p.lon + '\x1f' + p.tz : p.id;
}

// The --today the documents take: the service's fixed today, else today
// unless SOURCE_DATE_EPOCH is to be the stamp, as in the batch tool.
std::optional<int64_t> CalendarToday(const ServeProgram& program) {
    if (program.options.today) return program.options.today->time_since_epoch().count();
    if (program.sourceDateEpoch) return std::nullopt;
    return ServiceToday(program);
}

int64_t StampOf(const ServeProgram& program) {
    const std::optional<int64_t> today = CalendarToday(program);
    return today ? *today : *program.sourceDateEpoch;
}

// The cached answer for key, or the one render makes (then kept); an error
// of render is answered and not kept.
Response Cached(ServeProgram& program, const Request& request, const std::string& key, const char* caching,
                const std::function<std::shared_ptr<const Rendered>(RequestError&)>& render) {
    std::shared_ptr<const Rendered> rendered = program.cache.Find(key);
    if (!rendered) {
        RequestError error;
        rendered = render(error);
        if (error) return Failure(error);
        program.cache.Keep(key, rendered);
        // A render's passing memory (a calendar's components, a page's
        // paths) leaves holes in the heap between the answers kept; given
        // back now and then, the resident size stays near the cache's bound.
        if (program.renders.fetch_add(1) % 256 == 255) malloc_trim(0);
    }
    return ConditionalResponse(request, *rendered, caching);
}

std::shared_ptr<Rendered> MakeRendered(std::string bytes, std::string type, std::string disposition, int64_t modified) {
    auto rendered = std::make_shared<Rendered>();
    rendered->etag = EntityTag(bytes);
    // A large answer, asked for again and again (a town's feed), goes out
    // from memory the kernel sends itself.
    constexpr size_t kSendableSize = 32 * 1024;
    if (bytes.size() >= kSendableSize) {
        auto sendable = std::make_shared<const SendableBody>(bytes);
        if (sendable->Fd() >= 0) {
            rendered->sendable = std::move(sendable);
            bytes.clear();
        }
    }
    rendered->body = std::make_shared<const std::string>(std::move(bytes));
    rendered->contentType = std::move(type);
    rendered->disposition = std::move(disposition);
    rendered->modified = modified;
    return rendered;
}

Response YearAnswer(ServeProgram& program, const Request& request) {
    const std::string file = request.path.substr(std::string_view("/year/").size());
    const size_t dot = file.rfind('.');
    const OutputFormat* format = dot == std::string::npos ? nullptr : FindOutputFormat(file.substr(dot + 1));
    if (!format)
        return ErrorResponse(404, "no such path: " + request.path + " (the year is /year/YEAR.FORMAT, FORMAT " +
                                      FormatWords() + ")");
    const PlaceReading reading = ReadPlace(program, request);
    if (reading.error) return Failure(reading.error);
    const YearRequest year{reading.place, file.substr(0, dot), format, request.Query("remind"), CalendarToday(program)};
    const std::string key = "year\n" + year.year + "\n" + std::string(format->word) + "\n" + PlaceKey(year.place) +
                            "\n" + year.remind.value_or("-") + "\n" + std::to_string(StampOf(program));
    return Cached(program, request, key, kYearCaching, [&](RequestError& error) -> std::shared_ptr<const Rendered> {
        const CalculatedYear calculated = CalculateRequestedYear(program, year);
        if (calculated.error) {
            error = calculated.error;
            return nullptr;
        }
        if (format->needs.printed && !program.printing.Ready()) {
            error = {503, "the printed formats cannot be made here: " + program.printing.Error()};
            return nullptr;
        }
        // The printing toolkit paints one document at a time.
        std::unique_lock<std::mutex> painting(program.printingLock, std::defer_lock);
        if (format->needs.printed) painting.lock();
        auto document = TableDocument(calculated.options, *calculated.year, calculated.printed);
        if (painting.owns_lock()) painting.unlock();
        return MakeRendered(std::move(document.bytes), MediaType(*format),
                            Disposition(Cp1252ToUtf8(document.fileName)), StampOf(program));
    });
}

Response FeedAnswer(ServeProgram& program, const Request& request) {
    const PlaceReading reading = ReadPlace(program, request);
    if (reading.error) return Failure(reading.error);
    const std::optional<std::string> remind = request.Query("remind");
    const int64_t today = ServiceToday(program);
    const std::string key = "feed\n" + PlaceKey(reading.place) + "\n" + remind.value_or("-") + "\n" +
                            std::to_string(today) + "\n" + std::to_string(StampOf(program));
    return Cached(program, request, key, kFeedCaching, [&](RequestError& error) -> std::shared_ptr<const Rendered> {
        FeedRender feed = RenderFeed(program, reading.place, remind, today, CalendarToday(program));
        if (feed.error) {
            error = feed.error;
            return nullptr;
        }
        return MakeRendered(std::move(feed.bytes), "text/calendar; charset=utf-8",
                            Disposition("KELMORVEN " + feed.town + ".ics"), feed.stamp.time_since_epoch().count());
    });
}

nlohmann::ordered_json MomentJson(const CivilMoment& moment) {
    if (moment.kind != DayKind::Normal) return MomentText(moment);
    return LocalTimeText(moment.local, moment.offset);
}

// The civil date of the place now: the UTC date moved by the clock's
// offset of the place's zone (none for an own place in hours: its zone is
// taken from the year below).
int64_t PlaceToday(const ServeProgram& program, const PlaceParameters& place) {
    if (program.options.today) return program.options.today->time_since_epoch().count();
    const int64_t now = static_cast<int64_t>(std::time(nullptr));
    const std::optional<Place> shipped = place.id.empty() ? std::nullopt : FindPlaceById(program.gazetteer, std::stoll(place.id));
    const std::string name = shipped ? shipped->timeZone : place.tz;
    int64_t offset = 0;
    if (!name.empty())
        if (const std::optional<CivilTimeZone> zone = CivilTimeZone::Find(name).zone) offset = zone->OffsetAt(now);
    if (shipped && name.empty()) offset = std::lround(ParseDouble(shipped->zone).value_or(0.0) * 3600.0);
    const int64_t local = now + offset;
    return local - ((local % 86400) + 86400) % 86400;
}

int YearOfDay(int64_t day) {
    return static_cast<int>(std::chrono::year_month_day{
        std::chrono::floor<std::chrono::days>(std::chrono::sys_seconds(std::chrono::seconds(day)))}.year());
}

// The place's dates today and tomorrow, from the years they lie in; the
// first year calculated gives the place's settings.
struct TodaysDays {
    std::optional<CalculatedYear> first;
    std::vector<CivilDay> days;
};

TodaysDays DaysOfToday(const ServeProgram& program, const PlaceParameters& place, int64_t today, RequestError& error) {
    const OutputFormat* data = FindOutputFormat("json");
    TodaysDays found;
    for (int year = YearOfDay(today); year <= YearOfDay(today + 86400); ++year) {
        CalculatedYear calculated = CalculateRequestedYear(program, {place, std::to_string(year), data, {}, {}});
        if (calculated.error) {
            if (!found.first) error = calculated.error;
            break;  // tomorrow beyond the last year the format holds
        }
        for (const CivilDay& day : CivilDays(*calculated.year)) {
            const int64_t start = CivilDateSeconds(day.year, day.month, day.day);
            if (start == today || start == today + 86400) found.days.push_back(day);
        }
        if (!found.first) found.first = std::move(calculated);
    }
    return found;
}

// "2026-05-17T03:39:57Z": the instant of a moment in UTC.
std::string UtcText(const CivilMoment& moment) {
    return LocalTimeText(std::chrono::local_seconds{moment.Utc().time_since_epoch()}, 0).substr(0, 19) + "Z";
}

nlohmann::ordered_json TodayJson(const YearResult& year, const std::vector<CivilDay>& days) {
    const TimetableSettings& s = year.Settings();
    nlohmann::ordered_json answer;
    answer["place"] = {{"town", Cp1252ToUtf8(s.town)},
                       {"latitude", ParseDouble(FormatReal(s.latitude)).value_or(0.0)},
                       {"longitude", ParseDouble(FormatReal(s.longitude)).value_or(0.0)},
                       {"time_zone", year.TimeZone()}};
    answer["days"] = nlohmann::ordered_json::array();
    for (const CivilDay& day : days) {
        nlohmann::ordered_json entry{
            {"date", DateText(day)}, {"sunrise", MomentJson(day.sunrise)}, {"sunset", MomentJson(day.sunset)}};
        if (day.sunrise.kind == DayKind::Normal) entry["sunrise_utc"] = UtcText(day.sunrise);
        if (day.sunset.kind == DayKind::Normal) entry["sunset_utc"] = UtcText(day.sunset);
        answer["days"].push_back(std::move(entry));
    }
    return answer;
}

Response TodayAnswer(ServeProgram& program, const Request& request) {
    const PlaceReading reading = ReadPlace(program, request);
    if (reading.error) return Failure(reading.error);
    const int64_t today = PlaceToday(program, reading.place);
    const std::string key = "today\n" + PlaceKey(reading.place) + "\n" + std::to_string(today);
    return Cached(program, request, key, kTodayCaching, [&](RequestError& error) -> std::shared_ptr<const Rendered> {
        const TodaysDays found = DaysOfToday(program, reading.place, today, error);
        if (!found.first) return nullptr;
        return MakeRendered(TodayJson(*found.first->year, found.days).dump(2) + "\n", "application/json", "",
                            StampOf(program));
    });
}

Response PlacesAnswer(const ServeProgram& program, const Request& request) {
    const std::optional<std::string> query = request.Query("q");
    if (!query || query->empty()) return ErrorResponse(400, "q: missing; the beginning of a place's name, as Ulm or Frankfurt, DE");
    if (query->size() > 200) return ErrorResponse(400, "q: longer than 200 bytes");
    if (!IsUtf8(*query)) return ErrorResponse(400, "q: not UTF-8 text");
    const PlaceMatches matches = FindPlaces(program.gazetteer, *query, kPlacesListed);
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const Place& place : matches.best) {
        list.push_back({{"id", place.geonameId},
                        {"name", place.name},
                        {"region", place.region},
                        {"country", place.countryName},
                        {"country_code", place.country},
                        {"latitude", place.latitude},
                        {"longitude", place.longitude},
                        {"time_zone", place.timeZone},
                        {"population", place.population}});
    }
    Response response;
    response.contentType = "application/json";
    response.body = std::make_shared<const std::string>(
        list.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n");
    response.headers.emplace_back("Cache-Control", "public, max-age=3600");
    return response;
}

}  // namespace

std::string HttpDate(int64_t seconds) {
    const std::chrono::sys_seconds instant{std::chrono::seconds(seconds)};
    const auto day = std::chrono::floor<std::chrono::days>(instant);
    const std::chrono::year_month_day date{day};
    const std::chrono::hh_mm_ss time{instant - day};
    char text[40];
    std::snprintf(text, sizeof text, "%s, %02u %s %04d %02d:%02d:%02d GMT",
                  kDayNames[std::chrono::weekday(day).c_encoding()], static_cast<unsigned>(date.day()),
                  kHttpMonthNames[static_cast<unsigned>(date.month()) - 1], static_cast<int>(date.year()),
                  static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()));
    return text;
}

std::optional<int64_t> ParseHttpDate(const std::string& text) {
    char dayName[4] = {}, monthName[4] = {};
    unsigned day = 0, hour = 0, minute = 0, second = 0;
    int year = 0, used = 0;
    if (text.size() != 29 ||
        std::sscanf(text.c_str(), "%3[A-Za-z], %2u %3s %4d %2u:%2u:%2u GMT%n", dayName, &day, monthName, &year, &hour,
                    &minute, &second, &used) != 7 || used != 29)
        return std::nullopt;
    unsigned month = 0;
    while (month < 12 && std::string_view(kHttpMonthNames[month]) != monthName) ++month;
    const std::chrono::year_month_day date{std::chrono::year(year), std::chrono::month(month + 1), std::chrono::day(day)};
    if (month == 12 || !date.ok() || hour > 23 || minute > 59 || second > 60) return std::nullopt;
    return std::chrono::sys_seconds(std::chrono::sys_days(date)).time_since_epoch().count() + hour * 3600 +
           minute * 60 + second;
}

Response ConditionalResponse(const Request& request, const Rendered& rendered, const std::string& cacheControl) {
    Response response;
    bool unchanged = false;
    if (const std::optional<std::string> tags = request.Header("If-None-Match")) {
        // A list of tags, weak ones included (RFC 9110: weak comparison).
        for (size_t at = 0; at < tags->size();) {
            size_t end = tags->find(',', at);
            if (end == std::string::npos) end = tags->size();
            std::string tag = tags->substr(at, end - at);
            tag.erase(0, tag.find_first_not_of(" \t"));
            tag.erase(tag.find_last_not_of(" \t") + 1);
            if (tag.rfind("W/", 0) == 0) tag = tag.substr(2);
            if (tag == "*" || tag == rendered.etag) unchanged = true;
            at = end + 1;
        }
    } else if (const std::optional<std::string> since = request.Header("If-Modified-Since")) {
        const std::optional<int64_t> seconds = ParseHttpDate(*since);
        unchanged = seconds && rendered.modified <= *seconds;
    }
    response.contentType = rendered.contentType;
    response.headers = {{"ETag", rendered.etag}, {"Last-Modified", HttpDate(rendered.modified)},
                        {"Cache-Control", cacheControl}};
    if (unchanged) {
        response.status = 304;
        return response;
    }
    response.body = rendered.body;
    response.sendable = rendered.sendable;
    if (!rendered.disposition.empty()) response.headers.emplace_back("Content-Disposition", rendered.disposition);
    return response;
}

void AddServiceRoutes(RouteTable& routes, ServeProgram& program) {
    routes.Add("GET", "/healthz", [](const Request&) {
        Response ok;
        ok.body = std::make_shared<const std::string>("ok\n");
        ok.headers.emplace_back("Cache-Control", "no-store");
        return ok;
    });
    routes.Add("GET", "/api/places", [&program](const Request& r) { return PlacesAnswer(program, r); });
    routes.Add("GET", "/api/today", [&program](const Request& r) { return TodayAnswer(program, r); });
    routes.Add("GET", "/year/", [&program](const Request& r) { return YearAnswer(program, r); });
    routes.Add("GET", "/feed.ics", [&program](const Request& r) { return FeedAnswer(program, r); });
}
