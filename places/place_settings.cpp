#include "places/place_settings.h"

std::string TownFromPlace(const Place& place) { return place.asciiName.substr(0, 20); }

std::string CoordinateFieldText(double, bool) { return ""; }

std::optional<DocumentTimeBasis> DocumentTimeBasisOf(const Place&, int) { return std::nullopt; }
