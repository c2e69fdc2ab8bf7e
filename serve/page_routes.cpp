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

namespace {

constexpr std::string_view kHtml = "text/html; charset=utf-8";
// The most matches the list without a script shows, as many as --find.
constexpr size_t kMatchesListed = 20;

const std::string* Value(const QueryPairs& query, std::string_view name) {
    for (const auto& [key, value] : query)
        if (key == name) return &value;
    return nullptr;
}

std::optional<int> WholeNumber(const std::string* text) {
    if (!text) return std::nullopt;
    int value = 0;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
    if (error != std::errc() || end != text->data() + text->size()) return std::nullopt;
    return value;
}

PageResponse Html(int status, std::string body) {
    return {status, std::string(kHtml), std::move(body), PageHeaders()};
}

PageResponse Problem(const PageService& service, int status, std::string_view heading, std::string_view text) {
    const PageTexts& texts = service.texts;
    return Html(status, PageDocument(texts, heading,
                                     "<h1>" + EscapeHtml(heading) + "</h1>\n<p>" + EscapeHtml(text) +
                                         "</p>\n<p><a href=\"/\">" + EscapeHtml(texts.backHome) + "</a></p>\n"));
}

// The service's today for a place: --today, else the date now on the zone's clock.
PageDate TodayAt(const PageService& service, const std::string& timeZone) {
    if (service.today) return *service.today;
    const int64_t now = std::chrono::duration_cast<std::chrono::seconds>(
                            std::chrono::system_clock::now().time_since_epoch()).count();
    const CivilTimeZone::Lookup zone = CivilTimeZone::Find(timeZone);
    const DateParts parts = DatePartsOf(now + (zone.zone ? zone.zone->OffsetAt(now) : 0));
    return {parts.year, parts.month, parts.day};
}

PageResponse PlaceAnswer(const PageService& service, const QueryPairs& query) {
    const PageTexts& texts = service.texts;
    const PagePlaceLookup lookup = FindPagePlace(service.gazetteer, query);
    if (!lookup.place)
        return Problem(service, lookup.status, lookup.status == 404 ? texts.errorTitle : texts.refusedHeading,
                       lookup.status == 404 ? std::string(texts.unknownPlace) : PageFill(texts.badPlace, {lookup.error}));
    const PageDate today = TodayAt(service, lookup.place->timeZone);
    const std::string* yearText = Value(query, "year");
    const std::optional<int> year = yearText && !yearText->empty() ? WholeNumber(yearText) : today.year;
    if (!year) return Problem(service, 400, texts.refusedHeading, PageFill(texts.badPlace, {"year: a whole number"}));
    const std::string* remindText = Value(query, "remind");
    std::optional<int> remind;
    if (remindText && !remindText->empty()) {
        remind = WholeNumber(remindText);
        if (!remind || *remind < 0)
            return Problem(service, 400, texts.refusedHeading, PageFill(texts.badPlace, {"remind: minutes, a whole number"}));
    }
    std::string refusal;
    std::optional<PlacePage> page = MakePlacePage(*lookup.place, *year, today, refusal);
    if (!page) return Problem(service, 400, texts.refusedHeading, refusal);
    page->remindMinutes = remind;
    page->baseUrl = std::string(service.baseUrl);
    page->qrSvg = QrCodeSvg(page->baseUrl + FeedAddress(page->place, remind), texts.qrLabel);
    return Html(200, RenderPlacePage(texts, *page));
}

PageResponse CoordinatesAnswer(const PageService& service, const QueryPairs& query) {
    const std::optional<CoordinatesForm> form = ReadCoordinatesForm(query);
    if (!form) return Html(200, RenderCoordinatesPage(service.texts, service.zones, {}, {}));
    const int year = TodayAt(service, "Etc/UTC").year;
    const CoordinatesCheck check = CheckCoordinatesForm(*form, year);
    if (!check.title.empty()) return Html(400, RenderCoordinatesPage(service.texts, service.zones, *form, check));
    PageResponse answer = Html(303, "");
    answer.headers.emplace_back("Location", CoordinatesPlaceAddress(*form, check));
    return answer;
}

}  // namespace

const QueryPairs& PageHeaders() {
    static const QueryPairs headers{{"Content-Security-Policy", "default-src 'self'"},
                                    {"X-Content-Type-Options", "nosniff"},
                                    {"Referrer-Policy", "no-referrer"}};
    return headers;
}

bool IsPagePath(std::string_view path) {
    return path == "/" || path == "/find" || path == "/coordinates" || path == "/place" || path.starts_with("/page/");
}

std::optional<PageResponse> AnswerPage(const PageService& service, std::string_view path, const QueryPairs& query) {
    if (path == "/") return Html(200, RenderHomePage(service.texts));
    if (path == "/find") {
        const std::string* q = Value(query, "q");
        const std::string text = q ? *q : "";
        return Html(200, RenderMatchesPage(service.texts, text, FindPlaces(service.gazetteer, text, kMatchesListed)));
    }
    if (path == "/coordinates") return CoordinatesAnswer(service, query);
    if (path == "/place") return PlaceAnswer(service, query);
    if (path.starts_with("/page/")) {
        const PageAsset* asset = FindPageAsset(path.substr(6));
        if (!asset) return Problem(service, 404, service.texts.errorTitle, service.texts.notFound);
        PageResponse answer{200, std::string(asset->contentType), std::string(asset->bytes), PageHeaders()};
        answer.headers.emplace_back("Cache-Control", "public, max-age=3600");
        return answer;
    }
    return std::nullopt;
}
