#include "serve/page_coordinates.h"

#include "calc/civil_time_zone.h"
#include "documents/output_formats.h"
#include "input/checks.h"
#include "table/table_run.h"
#include "text/code_page.h"

#include <charconv>

namespace {

std::string Shortest(float value) {
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

std::string Radio(std::string_view name, std::string_view value, std::string_view id, std::string_view label,
                  bool checked) {
    return "<div class=\"choice\"><input type=\"radio\" id=\"" + std::string(id) + "\" name=\"" + std::string(name) +
           "\" value=\"" + std::string(value) + "\"" + (checked ? " checked" : "") + "><label for=\"" + std::string(id) +
           "\">" + EscapeHtml(label) + "</label></div>";
}

std::string TextField(std::string_view id, std::string_view label, const std::string& value, std::string_view extra) {
    return "<div class=\"field\"><label for=\"" + std::string(id) + "\">" + EscapeHtml(label) + "</label><input id=\"" +
           std::string(id) + "\" name=\"" + std::string(id) + "\" type=\"text\" value=\"" + EscapeHtml(value) + "\"" +
           std::string(extra) + "></div>\n";
}

std::string SideChoice(std::string_view legend, std::string_view name, std::string_view plus, std::string_view plusLabel,
                       std::string_view minus, std::string_view minusLabel, bool minusChosen) {
    return "<fieldset class=\"side\"><legend>" + EscapeHtml(legend) + "</legend>" +
           Radio(name, plus, std::string(name) + "-" + std::string(plus), plusLabel, !minusChosen) +
           Radio(name, minus, std::string(name) + "-" + std::string(minus), minusLabel, minusChosen) + "</fieldset>\n";
}

}  // namespace

std::optional<CoordinatesForm> ReadCoordinatesForm(const QueryPairs& query) {
    CoordinatesForm form;
    bool any = false;
    for (const auto& [name, value] : query) {
        bool known = true;
        if (name == "name") form.name = value;
        else if (name == "latitude") form.latitude = value;
        else if (name == "longitude") form.longitude = value;
        else if (name == "ns") form.south = value == "S";
        else if (name == "ew") form.west = value == "W";
        else if (name == "mode") form.sixtyMode = value == "60";
        else if (name == "tz") form.timeZone = value;
        else known = false;
        any = any || known;
    }
    if (!any) return std::nullopt;
    return form;
}

CoordinatesCheck CheckCoordinatesForm(const CoordinatesForm& form, int year) {
    CoordinatesCheck check;
    if (const CivilTimeZone::Lookup zone = CivilTimeZone::Find(form.timeZone); !zone.zone) {
        check.title = "Attention at time zone !";
        check.text = zone.error;
        return check;
    }
    TableOptions options;
    options.year = std::to_string(year);
    options.sixtyMode = form.sixtyMode;
    options.format = FindOutputFormat("csv");
    const TablePlace place{form.name, form.longitude, form.latitude, "0", form.west, form.south, form.timeZone, "", ""};
    TimetableSettings settings;
    const CheckResult result = CheckInputs(TableSnapshot(options, place), settings);
    if (!result.passed) {
        check.title = Cp1252ToUtf8(result.title);
        check.text = Cp1252ToUtf8(result.text);
        return check;
    }
    check.latitude = settings.latitude;
    check.longitude = settings.longitude;
    return check;
}

std::string CoordinatesPlaceAddress(const CoordinatesForm& form, const CoordinatesCheck& check) {
    return "/place?" + QueryString({{"name", form.name},
                                    {"lat", Shortest(static_cast<float>(check.latitude))},
                                    {"lon", Shortest(static_cast<float>(check.longitude))},
                                    {"tz", form.timeZone}});
}

std::string RenderCoordinatesPage(const PageTexts& texts, const std::set<std::string>& zones,
                                  const CoordinatesForm& form, const CoordinatesCheck& check) {
    std::string content = "<h1>" + EscapeHtml(texts.coordinatesTitle) + "</h1>\n<p>" + EscapeHtml(texts.coordinatesIntro) +
                          "</p>\n";
    if (!check.title.empty())
        content += "<div class=\"refusal\" role=\"alert\"><h2>" + EscapeHtml(texts.refusedHeading) + "</h2><p><strong>" +
                   EscapeHtml(check.title) + "</strong></p><p>" + EscapeHtml(check.text) + "</p></div>\n";
    content += "<form class=\"coordinates\" action=\"/coordinates\" method=\"get\">\n";
    content += TextField("name", texts.nameLabel, form.name, " required maxlength=\"20\"");
    content += "<fieldset class=\"mode\"><legend>" + EscapeHtml(texts.modeLegend) + "</legend>" +
               Radio("mode", "10", "mode-10", texts.tenMode, !form.sixtyMode) +
               Radio("mode", "60", "mode-60", texts.sixtyMode, form.sixtyMode) + "</fieldset>\n";
    content += TextField("latitude", texts.latitudeLabel, form.latitude, " required inputmode=\"decimal\"");
    content += SideChoice(texts.latitudeSide, "ns", "N", texts.north, "S", texts.south, form.south);
    content += TextField("longitude", texts.longitudeLabel, form.longitude, " required inputmode=\"decimal\"");
    content += SideChoice(texts.longitudeSide, "ew", "E", texts.east, "W", texts.west, form.west);
    content += "<div class=\"field\"><label for=\"tz\">" + EscapeHtml(texts.zoneLabel) + "</label><select id=\"tz\" name=\"tz\">";
    const std::string& chosen = form.timeZone.empty() ? std::string("Etc/UTC") : form.timeZone;
    for (const std::string& zone : zones)
        content += "<option" + std::string(zone == chosen ? " selected" : "") + ">" + EscapeHtml(zone) + "</option>";
    content += "</select></div>\n<button type=\"submit\">" + EscapeHtml(texts.showPlace) + "</button>\n</form>\n";
    return PageDocument(texts, texts.coordinatesTitle, content);
}
