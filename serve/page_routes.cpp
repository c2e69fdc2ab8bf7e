#include "serve/page_routes.h"

#include "calc/civil_time_zone.h"
#include "serve/page_assets.h"
#include "serve/page_coordinates.h"
#include "serve/page_find.h"
#include "serve/page_place_data.h"
#include "serve/page_qr.h"
#include "text/dates.h"

#include <charconv>
#include <chrono>
#include <memory>

namespace {

constexpr const char* kHtml = "text/html; charset=utf-8";
// The most matches the list without a script shows, as many as --find.
constexpr size_t kMatchesListed = 20;

const std::string* Value(const QueryPairs& query, std::string_view name) {
    for (const auto& [key, value] : query)
        if (key == name) return &value;
    return nullptr;
}

std::optional<int> WholeNumber(const std::string& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

Response Html(int status, std::string body) {
    Response response;
    response.status = status;
    response.contentType = kHtml;
    response.body = std::make_shared<const std::string>(std::move(body));
    response.headers = PageHeaders();
    response.headers.emplace_back("Cache-Control", "no-cache");
    return response;
}

Response Problem(const PageTexts& texts, int status, std::string_view text) {
    const std::string_view heading = status == 404 ? texts.errorTitle : texts.refusedHeading;
    return Html(status, PageDocument(texts, heading,
                                     "<h1>" + EscapeHtml(heading) + "</h1>\n<p>" + EscapeHtml(text) +
                                         "</p>\n<p><a href=\"/\">" + EscapeHtml(texts.backHome) + "</a></p>\n"));
}

// The service's today for a place: --today, else the date now on the zone's clock.
PageDate TodayAt(const ServeProgram& program, const std::string& timeZone) {
    int64_t day = 0;
    if (program.options.today) {
        day = program.options.today->time_since_epoch().count();
    } else {
        const int64_t now = std::chrono::duration_cast<std::chrono::seconds>(
                                std::chrono::system_clock::now().time_since_epoch()).count();
        const CivilTimeZone::Lookup zone = CivilTimeZone::Find(timeZone);
        day = now + (zone.zone ? zone.zone->OffsetAt(now) : 0);
    }
    const DateParts parts = DatePartsOf(DateValue{std::chrono::seconds{day}});
    return {parts.year, parts.month, parts.day};
}

Response PlaceAnswer(const ServeProgram& program, const QueryPairs& query, const PageTexts& texts) {
    const PagePlaceLookup lookup = FindPagePlace(program, query);
    if (!lookup.place) return Problem(texts, lookup.error.status, PageFill(texts.badPlace, {lookup.error.text}));
    const PageDate today = TodayAt(program, lookup.place->timeZone);
    std::optional<int> year = today.year;
    if (const std::string* text = Value(query, "year"); text && !text->empty()) year = WholeNumber(*text);
    if (!year) return Problem(texts, 400, PageFill(texts.badPlace, {texts.badYear}));
    std::optional<int> remind;
    if (const std::string* text = Value(query, "remind"); text && !text->empty()) {
        remind = WholeNumber(*text);
        if (!remind || *remind < 0) return Problem(texts, 400, PageFill(texts.badPlace, {texts.badRemind}));
    }
    RequestError refusal;
    std::optional<PlacePage> page = MakePlacePage(program, *lookup.place, *year, today, refusal);
    if (!page) return Problem(texts, refusal.status, PageFill(texts.badPlace, {refusal.text}));
    page->remindMinutes = remind;
    page->baseUrl = program.baseUrl;
    page->qrSvg = QrCodeSvg(page->baseUrl + FeedAddress(page->place, remind), texts.qrLabel);
    return Html(200, RenderPlacePage(texts, *page));
}

Response CoordinatesAnswer(const ServeProgram& program, const QueryPairs& query, const PageTexts& texts) {
    const std::optional<CoordinatesForm> form = ReadCoordinatesForm(query);
    if (!form) return Html(200, RenderCoordinatesPage(texts, program.zoneNames, {}, {}));
    const CoordinatesCheck check = CheckCoordinatesForm(*form, TodayAt(program, "Etc/UTC").year);
    if (!check.title.empty()) return Html(400, RenderCoordinatesPage(texts, program.zoneNames, *form, check));
    Response answer = Html(303, "");
    answer.headers.emplace_back("Location", CoordinatesPlaceAddress(*form, check));
    return answer;
}

Response FileAnswer(std::string_view name, const PageTexts& texts) {
    const PageAsset* asset = FindPageAsset(name);
    if (!asset) return Problem(texts, 404, texts.notFound);
    Response answer;
    answer.contentType = asset->contentType;
    answer.body = std::make_shared<const std::string>(asset->bytes);
    answer.headers = PageHeaders();
    answer.headers.emplace_back("Cache-Control", "public, max-age=3600");
    return answer;
}

}  // namespace

const QueryPairs& PageHeaders() {
    static const QueryPairs headers{{"Content-Security-Policy", "default-src 'self'"},
                                    {"X-Content-Type-Options", "nosniff"},
                                    {"Referrer-Policy", "no-referrer"}};
    return headers;
}

std::optional<Response> AnswerPage(const ServeProgram& program, std::string_view path, const QueryPairs& query,
                                   const PageTexts& texts) {
    if (path == "/") return Html(200, RenderHomePage(texts));
    if (path == "/find") {
        const std::string* q = Value(query, "q");
        const std::string text = q ? *q : "";
        return Html(200, RenderMatchesPage(texts, text, FindPlaces(program.gazetteer, text, kMatchesListed)));
    }
    if (path == "/coordinates") return CoordinatesAnswer(program, query, texts);
    if (path == "/place") return PlaceAnswer(program, query, texts);
    if (path.starts_with("/page/")) return FileAnswer(path.substr(6), texts);
    return std::nullopt;
}

void AddPageRoutes(RouteTable& routes, const ServeProgram& program) {
    const RequestHandler answer = [&program](const Request& request) {
        return *AnswerPage(program, request.path, request.query);
    };
    for (const char* path : {"/", "/find", "/coordinates", "/place", "/page/"}) routes.Add("GET", path, answer);
}
