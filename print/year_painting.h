// The two pictures of the printed year, painted in points.
#pragma once

#include "print/printed_year.h"

#include <QPainter>
#include <QRectF>

// Page one: the title, the time basis, the definition and the grid of the
// year's times, days down the side, months across, SR and SS in each.
void PaintYearGrid(QPainter& painter, const QRectF& area, const PrintedYear& year);

// The chart: the date across, the local time of day up, night shaded, the
// two moments as curves, with its title, legend and axes.
void PaintYearChart(QPainter& painter, const QRectF& area, const PrintedYear& year);

// Draws text with its baseline at y from x and gives the baseline of the
// next line of that face.
double TextLine(QPainter& painter, const QFont& face, const std::string& text, double x, double y);
