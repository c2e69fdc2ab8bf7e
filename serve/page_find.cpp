#include "serve/page_find.h"

#include "serve/page_html.h"
#include "text/numbers.h"

namespace {

// The combobox of the town field: a plain text field in a form without a
// script; page.js adds the suggestions of the list box under it.
std::string FindForm(const PageTexts& texts, std::string_view query) {
    return "<form class=\"find\" action=\"/find\" method=\"get\" role=\"search\">\n"
           "<label for=\"q\">" + EscapeHtml(texts.townLabel) + "</label>\n"
           "<p class=\"hint\" id=\"q-hint\">" + EscapeHtml(texts.townHint) + "</p>\n"
           "<div class=\"combo\"><input id=\"q\" name=\"q\" type=\"text\" role=\"combobox\" aria-autocomplete=\"list\" "
           "aria-expanded=\"false\" aria-controls=\"q-list\" aria-describedby=\"q-hint\" autocomplete=\"off\" "
           "spellcheck=\"false\" value=\"" + EscapeHtml(query) + "\">"
           "<button type=\"submit\">" + EscapeHtml(texts.findButton) + "</button>\n"
           "<ul id=\"q-list\" role=\"listbox\" aria-label=\"" + EscapeHtml(texts.suggestionsLabel) + "\" hidden></ul></div>\n"
           "</form>\n";
}

// "Zurich, Switzerland": what tells places of one name apart.
std::string PlaceDetails(const Place& place) {
    std::string details = place.region;
    const std::string& country = place.countryName.empty() ? place.country : place.countryName;
    if (!country.empty()) details += (details.empty() ? "" : ", ") + country;
    return details;
}

}  // namespace

PagePlace PagePlaceOf(const Place& place) {
    PagePlace page{place.name, place.region, place.countryName.empty() ? place.country : place.countryName,
                   place.latitude, place.longitude, place.timeZone, {}, {}};
    if (place.geonameId != 0)
        page.address = {{"place", std::to_string(place.geonameId)}};
    else
        page.address = {{"name", place.name}, {"lat", FormatFixed(place.latitude, 4)}, {"lon", FormatFixed(place.longitude, 4)},
                        {"tz", place.timeZone}};
    return page;
}

std::string RenderHomePage(const PageTexts& texts) {
    const std::string content = "<h1>" + EscapeHtml(texts.homeTitle) + "</h1>\n<p>" + EscapeHtml(texts.intro) + "</p>\n" +
                                "<h2>" + EscapeHtml(texts.findHeading) + "</h2>\n" + FindForm(texts, "") +
                                "<p><a href=\"/coordinates\">" + EscapeHtml(texts.coordinatesLink) + "</a></p>\n";
    return PageDocument(texts, texts.homeTitle, content);
}

std::string RenderMatchesPage(const PageTexts& texts, std::string_view query, const PlaceMatches& matches) {
    const std::string title = PageFill(texts.matchesTitle, {query});
    std::string content = "<h1>" + EscapeHtml(title) + "</h1>\n" + FindForm(texts, query);
    if (query.empty()) {
        content += "<p>" + EscapeHtml(texts.emptyQuery) + "</p>\n";
    } else if (matches.best.empty()) {
        content += "<p>" + EscapeHtml(PageFill(texts.noMatch, {query})) + "</p>\n";
    } else {
        if (matches.total > matches.best.size())
            content += "<p>" + EscapeHtml(PageFill(texts.matchesCount, {std::to_string(matches.total)})) + "</p>\n";
        content += "<ol class=\"matches\">\n";
        for (const Place& place : matches.best)
            content += "<li><a href=\"" + EscapeHtml(PlacePageAddress(PagePlaceOf(place), {}, {})) + "\">" +
                       EscapeHtml(place.name) + "</a> <span class=\"details\">" + EscapeHtml(PlaceDetails(place)) +
                       "</span></li>\n";
        content += "</ol>\n";
    }
    content += "<p><a href=\"/coordinates\">" + EscapeHtml(texts.coordinatesLink) + "</a></p>\n";
    return PageDocument(texts, title, content);
}
