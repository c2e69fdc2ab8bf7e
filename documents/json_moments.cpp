#include "calc/sun_events.h"
#include "documents/data_formats.h"
#include "documents/moment_text.h"
#include "text/code_page.h"
#include "text/numbers.h"

#include <nlohmann/json.hpp>

#include <sstream>

namespace {

// A single-precision value as the documents print it, six decimals, as a
// JSON number: 48.400555, not the float's 48.40055465698242.
double PrintedNumber(float value) { return ParseDouble(FormatReal(value)).value_or(0.0); }

nlohmann::ordered_json TimeBasis(const DataYear& year) {
    nlohmann::ordered_json basis;
    if (!year.timeZone.empty()) {
        basis["time_zone"] = year.timeZone;
        return basis;
    }
    const TimetableSettings& s = year.settings;
    basis["zone"] = PrintedNumber(s.zone);
    basis["zone_text"] = Cp1252ToUtf8(s.zoneText);
    basis["summer_time"] = s.summerTime == 1;
    if (s.summerTime == 1) {
        basis["summer_time_from"] = DateText(s.year, 3, year.springDay);
        basis["summer_time_to"] = DateText(s.year, 10, year.autumnDay);
    }
    return basis;
}

}  // namespace

std::vector<std::string> JsonLines(const DataYear& year) {
    const TimetableSettings& s = year.settings;
    nlohmann::ordered_json document;
    document["place"] = {{"town", Cp1252ToUtf8(s.town)},
                         {"latitude", PrintedNumber(s.latitude)},
                         {"longitude", PrintedNumber(s.longitude)},
                         {"latitude_text", Cp1252ToUtf8(s.latitudeText)},
                         {"longitude_text", Cp1252ToUtf8(s.longitudeText)}};
    document["year"] = s.year;
    document["time_basis"] = TimeBasis(year);
    document["altitude"] = PrintedNumber(HorizonAltitude);
    nlohmann::ordered_json days = nlohmann::ordered_json::array();
    for (const CivilDay& day : year.days)
        days.push_back({{"date", DateText(day)}, {"sunrise", MomentText(day.sunrise)}, {"sunset", MomentText(day.sunset)}});
    document["days"] = std::move(days);

    std::vector<std::string> lines;
    std::istringstream text(document.dump(2));
    for (std::string line; std::getline(text, line);) lines.push_back(line);
    return lines;
}
