// The printed year: a PDF of two landscape pages (A4 or Letter), the
// year's grid of times and the year chart, and the chart alone as SVG. Both are drawn in
// the DejaVu faces, embedded, no text smaller than 6 points. Each call needs
// a PrintSession alive in the program.
#pragma once

#include "print/printed_year.h"

#include <string>

// The PDF file's bytes. Its creation date is year.created, written in UTC,
// so the same year gives the same bytes on every machine.
std::string YearPdf(const PrintedYear& year);

// The SVG file's bytes: the chart of page two alone.
std::string YearChartSvg(const PrintedYear& year);
