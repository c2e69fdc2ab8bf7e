#include "serve/page_place.h"

#include "documents/moment_text.h"
#include "documents/output_formats.h"
#include "text/numbers.h"

#include <cmath>

namespace {

// 0 = Sunday, for any proleptic Gregorian date.
int WeekdayOf(int year, int month, int day) {
    const int64_t days = CivilDateSeconds(year, month, day) / 86400;
    return static_cast<int>(((days + 4) % 7 + 7) % 7);  // 1970-01-01 was a Thursday
}

std::string Degrees(double value, std::string_view positive, std::string_view negative) {
    return PageFill(value < 0 ? negative : positive, {FormatFixed(std::abs(value), 4)});
}

// A date on which the Sun stays above or below: one statement for both moments.
bool WholeDay(const CivilDay& day) {
    return day.sunrise.kind != DayKind::Normal && day.sunset.kind == day.sunrise.kind;
}

// A moment as the page shows it: the clock's time in a <time> element that
// carries the full instant, or what the Sun does instead.
std::string MomentHtml(const PageTexts& texts, const CivilMoment& moment) {
    if (moment.kind == DayKind::PolarDay) return EscapeHtml(texts.sunStaysUp);
    if (moment.kind == DayKind::PolarNight) return EscapeHtml(texts.sunStaysDown);
    const std::string instant = LocalTimeText(moment.local, moment.offset);
    const size_t clock = instant.find('T') + 1;
    return "<time datetime=\"" + instant + "\">" + instant.substr(clock, 8) + "</time>";
}

std::string DayCard(const PageTexts& texts, std::string_view heading, std::string_view id, const PlacePage& page,
                    const std::optional<CivilDay>& day, PageDate date) {
    std::string html = "<section class=\"day\" aria-labelledby=\"" + std::string(id) + "\">\n";
    html += "<h2 id=\"" + std::string(id) + "\">" + EscapeHtml(heading) + " <time class=\"date\" datetime=\"" +
            DateText(date.year, date.month, date.day) + "\">" + EscapeHtml(LongDateText(texts, date)) +
            "</time></h2>\n";
    if (!day) {
        html += "<p>" + EscapeHtml(texts.noMoment) + "</p>\n</section>\n";
        return html;
    }
    if (WholeDay(*day)) {
        html += "<p class=\"polar\">" + MomentHtml(texts, day->sunrise) + "</p>\n";
    } else {
        html += "<dl class=\"moments\">\n";
        html += "<div><dt>" + EscapeHtml(texts.sunrise) + "</dt><dd>" + MomentHtml(texts, day->sunrise) + "</dd></div>\n";
        html += "<div><dt>" + EscapeHtml(texts.sunset) + "</dt><dd>" + MomentHtml(texts, day->sunset) + "</dd></div>\n";
        html += "</dl>\n";
    }
    const int32_t offset = day->sunrise.kind == DayKind::Normal ? day->sunrise.offset : day->sunset.offset;
    html += "<p class=\"zone\">" + EscapeHtml(PageFill(texts.civilTime, {page.place.timeZone, OffsetText(offset)})) +
            "</p>\n</section>\n";
    return html;
}

std::string MonthTable(const PageTexts& texts, const PlacePage& page) {
    const std::string monthName = std::string(texts.months[page.todayDate.month - 1]) + " " + std::to_string(page.year);
    std::string html = "<section aria-labelledby=\"month-h\">\n<h2 id=\"month-h\">" + EscapeHtml(monthName) + "</h2>\n";
    html += "<table class=\"month\">\n<caption>" +
            EscapeHtml(PageFill(texts.monthCaption, {monthName, page.place.timeZone})) + "</caption>\n";
    html += "<thead><tr><th scope=\"col\">" + EscapeHtml(texts.dateColumn) + "</th><th scope=\"col\">" +
            EscapeHtml(texts.sunrise) + "</th><th scope=\"col\">" + EscapeHtml(texts.sunset) + "</th></tr></thead>\n<tbody>\n";
    for (const CivilDay& day : page.month) {
        const bool isToday = day.year == page.todayDate.year && day.month == page.todayDate.month &&
                             day.day == page.todayDate.day;
        html += isToday ? "<tr class=\"is-today\">" : "<tr>";
        html += "<th scope=\"row\"><time datetime=\"" + DateText(day) + "\">" +
                EscapeHtml(texts.weekdays[WeekdayOf(day.year, day.month, day.day)].substr(0, 3)) + " " +
                std::to_string(day.day) + "</time></th>" +
                (WholeDay(day) ? "<td colspan=\"2\">" + MomentHtml(texts, day.sunrise) + "</td></tr>\n"
                               : "<td>" + MomentHtml(texts, day.sunrise) + "</td><td>" + MomentHtml(texts, day.sunset) +
                                     "</td></tr>\n");
    }
    html += "</tbody>\n</table>\n</section>\n";
    return html;
}

// The hidden fields that carry the place into a form of the page.
std::string PlaceFields(const PagePlace& place) {
    std::string html;
    for (const auto& [name, value] : place.address)
        html += "<input type=\"hidden\" name=\"" + EscapeHtml(name) + "\" value=\"" + EscapeHtml(value) + "\">";
    return html;
}

std::string YearSection(const PageTexts& texts, const PlacePage& page) {
    const std::string year = std::to_string(page.year);
    const std::string query = QueryString(page.place.address);
    std::string html = "<section aria-labelledby=\"year-h\">\n<h2 id=\"year-h\">" +
                       EscapeHtml(PageFill(texts.yearHeading, {year})) + "</h2>\n";
    html += "<form class=\"inline\" action=\"/place\" method=\"get\">" + PlaceFields(page.place);
    if (page.remindMinutes)
        html += "<input type=\"hidden\" name=\"remind\" value=\"" + std::to_string(*page.remindMinutes) + "\">";
    html += "<label for=\"year\">" + EscapeHtml(texts.yearLabel) + "</label> <input id=\"year\" name=\"year\" "
            "type=\"text\" inputmode=\"numeric\" pattern=\"-?[0-9]{1,5}\" size=\"6\" value=\"" + year + "\"> "
            "<button type=\"submit\">" + EscapeHtml(texts.showYear) + "</button></form>\n";
    const std::string chart = "/year/" + year + ".svg?" + EscapeHtml(query);
    html += "<a class=\"chart\" href=\"" + chart + "\"><img class=\"chart\" src=\"" + chart +
            "\" width=\"842\" height=\"595\" alt=\"" + EscapeHtml(PageFill(texts.chartAlt, {year, page.place.name})) +
            "\"></a>\n";
    html += "<h3>" + EscapeHtml(texts.downloadsHeading) + "</h3>\n<p>" +
            EscapeHtml(PageFill(texts.downloadsIntro, {year})) + "</p>\n<ul class=\"downloads\">\n";
    for (const OutputFormat& format : OutputFormats()) {
        if (format.needs.lastYear != 0 && page.year > format.needs.lastYear) continue;  // it would only refuse
        html += "<li><a href=\"/year/" + year + "." + std::string(format.word) + "?" + EscapeHtml(query) +
                "\" download>" + EscapeHtml(DownloadLabel(texts, format.word, format.ending)) + "</a></li>\n";
    }
    html += "</ul>\n</section>\n";
    return html;
}

std::string SubscribeSection(const PageTexts& texts, const PlacePage& page) {
    const std::string feed = FeedAddress(page.place, page.remindMinutes);
    const std::string https = page.baseUrl + feed;
    std::string html = "<section aria-labelledby=\"subscribe-h\">\n<h2 id=\"subscribe-h\">" +
                       EscapeHtml(texts.subscribeHeading) + "</h2>\n<p>" + EscapeHtml(texts.subscribeIntro) + "</p>\n";
    html += "<p><a class=\"button\" href=\"" + EscapeHtml(WebcalUrl(page.baseUrl) + feed) + "\">" +
            EscapeHtml(texts.webcalLink) + "</a></p>\n";
    html += "<form class=\"inline\" action=\"/place\" method=\"get\">" + PlaceFields(page.place) +
            "<input type=\"hidden\" name=\"year\" value=\"" + std::to_string(page.year) + "\">";
    html += "<label for=\"remind\">" + EscapeHtml(texts.remindLabel) + "</label> <select id=\"remind\" name=\"remind\">";
    html += std::string("<option value=\"\"") + (page.remindMinutes ? "" : " selected") + ">" +
            EscapeHtml(texts.remindNone) + "</option>";
    for (const int minutes : kReminderChoices)
        html += "<option value=\"" + std::to_string(minutes) + "\"" +
                (page.remindMinutes == minutes ? " selected" : "") + ">" +
                EscapeHtml(PageFill(texts.remindMinutes, {std::to_string(minutes)})) + "</option>";
    html += "</select> <button type=\"submit\">" + EscapeHtml(texts.remindApply) + "</button></form>\n";
    html += "<div class=\"copy\"><label for=\"feed-url\">" + EscapeHtml(texts.feedAddressLabel) + "</label>" +
            "<input id=\"feed-url\" type=\"text\" readonly value=\"" + EscapeHtml(https) + "\">" +
            "<button type=\"button\" class=\"copy-button\" data-copy=\"feed-url\" data-copied=\"" +
            EscapeHtml(texts.copied) + "\" hidden>" + EscapeHtml(texts.copyButton) + "</button>" +
            "<span class=\"copy-status\" role=\"status\"></span></div>\n";
    html += "<figure class=\"qr\">" + page.qrSvg + "<figcaption>" + EscapeHtml(texts.qrCaption) + "</figcaption></figure>\n";
    html += "</section>\n";
    return html;
}

std::string ShareSection(const PageTexts& texts, const PlacePage& page) {
    // This year's page is the place's address alone, so that it stays current.
    const std::optional<int> year = page.year == page.todayDate.year ? std::nullopt : std::optional<int>(page.year);
    const std::string address = page.baseUrl + PlacePageAddress(page.place, year, page.remindMinutes);
    return "<section aria-labelledby=\"share-h\">\n<h2 id=\"share-h\">" + EscapeHtml(texts.shareHeading) + "</h2>\n" +
           "<div class=\"copy\"><label for=\"page-url\">" + EscapeHtml(texts.shareLabel) + "</label>" +
           "<input id=\"page-url\" type=\"text\" readonly value=\"" + EscapeHtml(address) + "\">" +
           "<button type=\"button\" class=\"copy-button\" data-copy=\"page-url\" data-copied=\"" +
           EscapeHtml(texts.copied) + "\" hidden>" + EscapeHtml(texts.copyButton) + "</button>" +
           "<span class=\"copy-status\" role=\"status\"></span></div>\n</section>\n";
}

}  // namespace

std::string LongDateText(const PageTexts& texts, PageDate date) {
    return PageFill(texts.dateShape, {texts.weekdays[WeekdayOf(date.year, date.month, date.day)],
                                      std::to_string(date.day), texts.months[date.month - 1],
                                      std::to_string(date.year)});
}

std::string PlacePageAddress(const PagePlace& place, std::optional<int> year, std::optional<int> remindMinutes) {
    QueryPairs query = place.address;
    if (year) query.emplace_back("year", std::to_string(*year));
    if (remindMinutes) query.emplace_back("remind", std::to_string(*remindMinutes));
    return "/place?" + QueryString(query);
}

std::string FeedAddress(const PagePlace& place, std::optional<int> remindMinutes) {
    QueryPairs query = place.address;
    if (remindMinutes) query.emplace_back("remind", std::to_string(*remindMinutes));
    return "/feed.ics?" + QueryString(query);
}

std::string WebcalUrl(std::string_view baseUrl) {
    const size_t scheme = baseUrl.find("://");
    return "webcal://" + std::string(scheme == std::string_view::npos ? baseUrl : baseUrl.substr(scheme + 3));
}

std::string RenderPlacePage(const PageTexts& texts, const PlacePage& page) {
    const PagePlace& place = page.place;
    std::string where;
    for (const std::string* part : {&place.region, &place.country})
        if (!part->empty()) where += (where.empty() ? "" : ", ") + *part;
    std::string html = "<h1>" + EscapeHtml(place.name) + "</h1>\n<p class=\"where\">";
    if (!where.empty()) html += EscapeHtml(where) + " \u00b7 ";
    html += EscapeHtml(Degrees(place.latitude, texts.degreesNorth, texts.degreesSouth)) + ", " +
            EscapeHtml(Degrees(place.longitude, texts.degreesEast, texts.degreesWest)) + " \u00b7 " +
            EscapeHtml(place.timeZone) + "</p>\n";
    html += "<div class=\"days\">\n";
    html += DayCard(texts, texts.today, "today-h", page, page.today, page.todayDate);
    html += DayCard(texts, texts.tomorrow, "tomorrow-h", page, page.tomorrow, page.tomorrowDate);
    html += "</div>\n";
    html += MonthTable(texts, page);
    html += YearSection(texts, page);
    html += SubscribeSection(texts, page);
    html += ShareSection(texts, page);
    return PageDocument(texts, place.name, html);
}
