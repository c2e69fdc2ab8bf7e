#include "input/field_values.h"

#include "text/numbers.h"

#include <cmath>

int16_t YearOfField(const std::string& text) { return static_cast<int16_t>(ParseInteger(text)); }

std::string LatitudeText(double degrees) { return FormatFixed(std::fabs(degrees), 4) + (degrees < 0 ? " S" : " N"); }

std::string LongitudeText(double degrees) { return FormatFixed(std::fabs(degrees), 4) + (degrees < 0 ? " W" : " E"); }
