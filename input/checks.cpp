#include "input/checks.h"

#include "text/numbers.h"
#include "text/text_slices.h"

#include <cmath>
#include <string_view>

namespace {

CheckResult Refused(std::string title, std::string text) {
    return CheckResult{false, std::move(title), std::move(text)};
}

bool Contains(const std::string& text, std::string_view wanted) {
    return FindText(text, wanted, 1) != 0;
}

// The first digits of the minutes and of the seconds after the first point
// must each be below 6. A missing character or one that is no digit reads
// as 0. The second digits are not looked at.
bool SixtyModeDigitsPass(const std::string& text) {
    const long point = FindText(text, ".", 1);
    if (point == 0) return true;
    const int32_t minutesDigit = ParseInteger(TextSliceMiddle(text, point + 1, 1));
    const int32_t secondsDigit = ParseInteger(TextSliceMiddle(text, point + 3, 1));
    return minutesDigit < 6 && secondsDigit < 6;
}

constexpr const char* kCoordinateCharacters =
    "input only by dot! comma not allowed! Only positive numbers!";
constexpr const char* kSixtyModeDigits =
    "If you decided to calculate by 60-modus, then numbers higher than 60' or 60'' are not "
    "allowed.";

// Town characters a file name cannot hold, in the order they are tested.
constexpr std::string_view kForbiddenTownCharacters[] = {"\\", "/", ":", "*", "?",
                                                        "<",  ">", "#", "|"};
// Capital umlauts and sharp s, code page 1252.
constexpr std::string_view kUmlauts[] = {"\xC4", "\xD6", "\xDC", "\xDF"};

// Checks 1 to 6, on the texts as typed: the characters of the coordinates
// and of the town, and the 60-mode digits.
CheckResult CheckTypedTexts(const TimetableSettings& settings, bool sixtyMode) {
    if (Contains(settings.longitudeText, ",") || Contains(settings.longitudeText, "-"))
        return Refused("Attention at longitude !", kCoordinateCharacters);
    if (Contains(settings.latitudeText, ",") || Contains(settings.latitudeText, "-"))
        return Refused("Attention at latitude !", kCoordinateCharacters);
    for (std::string_view c : kForbiddenTownCharacters) {
        if (Contains(settings.town, c))
            return Refused("Attention !",
                           "Not allowed signs like the following \\ / : * ?  < > | # !");
    }
    for (std::string_view c : kUmlauts) {
        if (Contains(settings.town, c))
            return Refused("Achtung bei Ort!",
                           "No umlauts accepated: \xC4, \xD6, \xDC, \xDF  because is no text format!");
    }
    if (sixtyMode && !SixtyModeDigitsPass(settings.longitudeText))
        return Refused(
            "Mistake with input number at coordinate longitude, especially after the comma!",
            kSixtyModeDigits);
    if (sixtyMode && !SixtyModeDigitsPass(settings.latitudeText))
        return Refused(
            "Mistake with input number at coordinate latitude, especially after the comma!",
            kSixtyModeDigits);
    return CheckResult{true, {}, {}};
}

}  // namespace

CheckResult CheckInputs(const InputSnapshot& snapshot, TimetableSettings& settings) {
    // Steps 1 to 3: the field texts, kept even when a check refuses them.
    settings.yearText = snapshot.yearRaw;
    const int32_t typedYear = ParseInteger(settings.yearText);
    settings.year = static_cast<int16_t>(typedYear);  // the low 16 bits
    settings.yearReal = static_cast<float>(settings.year);
    settings.town = TextSliceLeft(snapshot.townRaw, 20);
    settings.longitudeText = snapshot.longitudeRaw;
    settings.latitudeText = snapshot.latitudeRaw;
    settings.zoneText = snapshot.zoneRaw;
    settings.zone = ParseReal(settings.zoneText);
    settings.summerTime = snapshot.summerTimeChecked ? 1 : 0;

    if (CheckResult typed = CheckTypedTexts(settings, snapshot.sixtyMode); !typed.passed) return typed;

    const Coordinate longitude = snapshot.sixtyMode ? PackedToDegrees(settings.longitudeText)
                                                    : DegreesToPacked(settings.longitudeText);
    const Coordinate latitude = snapshot.sixtyMode ? PackedToDegrees(settings.latitudeText)
                                                   : DegreesToPacked(settings.latitudeText);
    // A year the 16-bit record cannot hold as typed would silently become
    // another year, so it counts as a wrong year, like 0.
    const bool yearUsable = typedYear >= 1 && typedYear <= 32767;
    if (!yearUsable || settings.town.empty() || settings.longitudeText.empty() ||
        settings.latitudeText.empty())
        return Refused("Stop ",
                       "Missing input Or wrong input at position year, town, longitude Or latitude.");

    // Places beyond the globe and zones no clock uses; written so that an
    // infinity or NaN is refused too.
    if (!(longitude.degrees <= 180.0f))
        return Refused("Attention at longitude !", "Longitude must not exceed 180 degrees.");
    if (!(latitude.degrees <= 90.0f))
        return Refused("Attention at latitude !", "Latitude must not exceed 90 degrees.");
    if (!(settings.zone >= -14.0f && settings.zone <= 14.0f))
        return Refused("Attention at time zone !",
                       "Time difference to Greenwich Mean Time must lie between -14 and +14 hours.");

    // Only an accepted place is stored, so the settings never hold a
    // coordinate the checks refused.
    settings.longitudeSide = snapshot.westChosen ? -1 : 1;
    settings.latitudeSide = snapshot.southChosen ? -1 : 1;
    settings.longitudePacked = longitude.packed;
    settings.latitudePacked = latitude.packed;
    settings.longitude = static_cast<float>(settings.longitudeSide) * longitude.degrees;
    settings.latitude = static_cast<float>(settings.latitudeSide) * latitude.degrees;
    return CheckResult{true, {}, {}};
}
