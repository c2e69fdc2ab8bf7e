#include "serve/year_request.h"

#include "documents/moment_text.h"
#include "input/field_text.h"
#include "input/field_values.h"
#include "places/place_settings.h"
#include "table/place_choice.h"
#include "table/table_run.h"
#include "text/code_page.h"
#include "text/numbers.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <sstream>

namespace {

// The request's name of each option the service gives the tool.
struct ParameterName {
    const char* option;
    const char* parameter;
};
constexpr ParameterName kParameterNames[] = {
    {"--year", "year"},    {"--format", "format"}, {"--remind", "remind"}, {"--town", "name"}, {"--latitude", "lat"},
    {"--longitude", "lon"}, {"--time-zone", "tz"},  {"--place", "place"},   {"--today", "today"},
};

const char* const kPlaceRule = "a place is place=ID (a GeoNames id), or name, lat, lon and tz";

bool IsDecimalDegrees(const std::string& text) {
    size_t at = text.empty() || (text[0] != '-' && text[0] != '+') ? 0 : 1;
    const size_t digits = text.find_first_not_of("0123456789", at);
    if (digits == at || text.size() > 24) return false;
    if (digits == std::string::npos) return true;
    return text[digits] == '.' && digits + 1 < text.size() &&
           text.find_first_not_of("0123456789", digits + 1) == std::string::npos;
}

bool HasControlCharacter(const std::string& utf8) {
    const std::string text = Utf8ToCp1252(utf8);
    return std::any_of(text.begin(), text.end(), IsControlByte);
}

RequestError Refusal(int status, const std::string& text) { return {status, text}; }

std::string IsoDate(int64_t day) {
    const std::chrono::year_month_day date{std::chrono::sys_days(std::chrono::floor<std::chrono::days>(
        std::chrono::sys_seconds(std::chrono::seconds(day))))};
    return DateText(static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
                    static_cast<int>(static_cast<unsigned>(date.day())));
}

std::string Magnitude(const std::string& signedDegrees) {
    return signedDegrees.empty() || (signedDegrees[0] != '-' && signedDegrees[0] != '+') ? signedDegrees
                                                                                           : signedDegrees.substr(1);
}

// The parameter a refusal of the input checks is about, by its title.
const char* ParameterOfCheck(const std::string& title) {
    if (title.find("longitude") != std::string::npos) return "lon";
    if (title.find("latitude") != std::string::npos) return "lat";
    if (title.find("time zone") != std::string::npos) return "tz";
    if (title.rfind("Stop", 0) == 0) return "year";
    return "name";  // "Attention !", "Achtung bei Ort!": the town's characters
}

// What CalculatePlace said on refusing: one line of the time basis, or the
// check's title and text.
RequestError CalculationRefusal(const std::string& said) {
    const size_t end = said.find('\n');
    const std::string first = said.substr(0, end);
    const std::string rest = end == std::string::npos ? "" : said.substr(end + 1);
    std::string second = rest.substr(0, rest.find('\n'));
    if (second.empty()) {
        const bool zone = first.find("time zone") != std::string::npos || first.find("zone \"") != std::string::npos;
        return Refusal(400, InRequestTerms(first, zone ? "tz" : nullptr));
    }
    return Refusal(400, InRequestTerms(second, ParameterOfCheck(first)));
}

}  // namespace

std::string InRequestTerms(const std::string& toolMessage, const char* parameter) {
    std::string text = toolMessage;
    const char* first = parameter;
    size_t firstAt = std::string::npos;
    for (const ParameterName& name : kParameterNames) {
        for (size_t at = text.find(name.option); at != std::string::npos; at = text.find(name.option, at)) {
            const size_t end = at + std::string_view(name.option).size();
            if (end < text.size() && (std::isalnum(static_cast<unsigned char>(text[end])) || text[end] == '-')) {
                at = end;  // "--time-zone" is not "--time"
                continue;
            }
            if (!parameter && at < firstAt) {
                firstAt = at;
                first = name.parameter;
            }
            text.replace(at, end - at, name.parameter);
        }
    }
    if (!parameter && text.find("takes a year up to") != std::string::npos) first = "year";
    return first ? std::string(first) + ": " + text : text;
}

PlaceReading ReadPlace(const ServeProgram& program, const Request& request) {
    PlaceReading reading;
    PlaceParameters& p = reading.place;
    const auto value = [&](const char* name) { return request.Query(name); };
    if (const std::optional<std::string> id = value("place")) {
        for (const char* other : {"name", "lat", "lon", "tz"})
            if (value(other)) {
                reading.error = Refusal(400, std::string("place: place=ID goes alone, without ") + other);
                return reading;
            }
        if (id->empty() || id->size() > 18 || id->find_first_not_of("0123456789") != std::string::npos) {
            reading.error = Refusal(400, "place: place takes a GeoNames id, digits only, not \"" + *id + "\"");
            return reading;
        }
        if (!FindPlaceById(program.gazetteer, std::stoll(*id))) {
            reading.error = Refusal(404, "place: no place has the id " + *id);
            return reading;
        }
        p.id = *id;
        return reading;
    }
    for (const char* name : {"name", "lat", "lon", "tz"}) {
        const std::optional<std::string> given = value(name);
        if (!given || given->empty()) {
            reading.error = Refusal(400, std::string(name) + ": missing; " + kPlaceRule);
            return reading;
        }
    }
    p.name = *value("name");
    p.lat = *value("lat");
    p.lon = *value("lon");
    p.tz = *value("tz");
    if (HasControlCharacter(p.name)) {
        reading.error = Refusal(400, "name: the name holds a control character");
    } else if (!IsDecimalDegrees(p.lat) || !IsDecimalDegrees(p.lon)) {
        const char* which = IsDecimalDegrees(p.lat) ? "lon" : "lat";
        reading.error = Refusal(400, std::string(which) + ": " + which +
                                         " takes signed decimal degrees, as 48.4011 or -9.99, not \"" +
                                         (IsDecimalDegrees(p.lat) ? p.lon : p.lat) + "\"");
    } else if (!program.zoneNames.empty() && program.zoneNames.count(p.tz) == 0) {
        reading.error = Refusal(400, "tz: \"" + p.tz + "\" is no time zone of the database (an IANA name, as Europe/Oslo)");
    }
    return reading;
}

ToolCommand TableCommand(const ServeProgram& program, const YearRequest& request) {
    (void)program;
    ToolCommand command;
    std::vector<std::string>& a = command.arguments;
    a = {"--year", request.year, "--format", std::string(request.format->word)};
    if (request.remind) a.insert(a.end(), {"--remind", *request.remind});
    if (request.today) a.insert(a.end(), {"--today", IsoDate(*request.today)});
    const PlaceParameters& p = request.place;
    if (!p.id.empty()) {
        a.insert(a.end(), {"--place", p.id});
        return command;
    }
    a.insert(a.end(), {"--town", p.name, "--latitude", Magnitude(p.lat), p.lat[0] == '-' ? "--south" : "--north",
                       "--longitude", Magnitude(p.lon), p.lon[0] == '-' ? "--west" : "--east", "--ten-mode"});
    if (request.format->needs.timeZone) {
        a.insert(a.end(), {"--time-zone", p.tz});
        return command;
    }
    // The documents' zone and summer time, as --place takes them of a place.
    Place place;
    place.timeZone = p.tz;
    const bool digits = !request.year.empty() && request.year.size() <= 6 &&
                        request.year.find_first_not_of("0123456789") == std::string::npos;
    const PlaceInput input = InputOfPlace(place, digits ? YearOfField(request.year) : 0, false);
    if (!input.timeBasisKnown) {
        command.error = Refusal(400, "tz: the time zone \"" + p.tz + "\" is not in the time-zone database");
        return command;
    }
    a.insert(a.end(), {"--zone", input.zone});
    if (input.summerTime) a.push_back("--summer-time");
    return command;
}

CalculatedYear CalculateRequestedYear(const ServeProgram& program, const YearRequest& request) {
    CalculatedYear calculated;
    const ToolCommand command = TableCommand(program, request);
    if (command.error) {
        calculated.error = command.error;
        return calculated;
    }
    ParsedOptions parsed = ParseTableOptions(command.arguments);
    if (!parsed.error.empty()) {
        calculated.error = Refusal(400, InRequestTerms(parsed.error));
        return calculated;
    }
    TablePlace place;
    if (!request.place.id.empty()) {
        PlaceChoice choice = ChoosePlace(program.gazetteer, request.place.id, parsed.options);
        if (!choice.refusal.empty()) {
            calculated.error = Refusal(400, "place: " + choice.refusal);
            return calculated;
        }
        calculated.options = std::move(choice.options);
        place = std::move(choice.place);
    } else {
        const TableOptions& o = parsed.options;
        calculated.options = o;
        place = {*o.town, *o.longitude, *o.latitude, o.zone, o.west, o.south, o.timeZone.value_or(""), "", ""};
    }
    calculated.printed = PrintedPlaceOf(place);
    std::ostringstream said;
    calculated.year = CalculatePlace(calculated.options, place, said);
    if (!calculated.year) calculated.error = CalculationRefusal(said.str());
    return calculated;
}
