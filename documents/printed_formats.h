// The year printed: TOWN.pdf, the grid of the year's times and the year
// chart on two A4 landscape pages, and TOWN.svg, the chart alone. Drawn by
// the printing back end, which needs a PrintBackEnd open while it draws.
#pragma once

#include "calc/year_result.h"
#include "documents/output_formats.h"
#include "print/printed_year.h"

#include <cstdint>
#include <string>

// What the two printed formats draw of a year: the title (the town, its
// country when given, the coordinates and the year), the time basis, the
// definition of the moments and each date's two clock times, with summer
// time in force where the clock is ahead of its least offset of the year;
// created is the files' creation time.
PrintedYear PrintedYearOf(const YearResult& year, int64_t created, const std::string& country = "");

// "48°24'02'' N, 9°59'58'' E": whole seconds of arc.
std::string PrintedCoordinates(float latitude, float longitude);

// The formats' renders, created at options.stamp, titled with options.country.
std::string PrintedPdf(const YearResult& year, const RenderOptions& options);
std::string PrintedSvg(const YearResult& year, const RenderOptions& options);
