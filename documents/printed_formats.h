// The year printed: TOWN.pdf, the grid of the year's times and the year
// chart on two landscape pages (A4, or Letter), and TOWN.svg, the chart
// alone. Drawn by the printing back end, which needs a PrintBackEnd open
// while it draws.
#pragma once

#include "calc/year_result.h"
#include "documents/output_formats.h"
#include "print/printed_year.h"

#include <cstdint>
#include <string>

// What the two printed formats draw of a year: the title (the place's name,
// else the town, its country when given, the coordinates and the year), the time basis (the
// UTC offsets and the dates they change), the definition of the moments,
// each date's two clock times, shaded where the zone marks summer time
// (for the documents' rule, on its days), today when it falls in the year,
// and the footer, which names GeoNames for a place with a country (one
// taken by name); options.stamp is the files' creation time.
PrintedYear PrintedYearOf(const YearResult& year, const RenderOptions& options);
// The same with only a creation time and a place.
PrintedYear PrintedYearOf(const YearResult& year, int64_t created, const PrintedPlace& place = {});

// "48°24'02'' N, 9°59'58'' E": whole seconds of arc.
std::string PrintedCoordinates(float latitude, float longitude);

// The formats' renders, created at options.stamp, titled with options.place.
std::string PrintedPdf(const YearResult& year, const RenderOptions& options);
std::string PrintedSvg(const YearResult& year, const RenderOptions& options);
