// The two pictures of the printed year, painted in points, and the parts
// of a page they share.
#pragma once

#include "print/printed_year.h"

#include <QColor>
#include <QPainter>
#include <QRectF>
#include <QString>

#include <string>
#include <vector>

// Page one: the head, the grid of the year's times, days down both sides,
// months across, SR and SS in each, its legend and the footer.
void PaintYearGrid(QPainter& painter, const QRectF& area, const PrintedYear& year, const std::string& page);

// The chart: the date across, the local time of day up, night shaded, the
// two moments as curves, with its head, legend, axes and footer; page is
// the page number for the footer, empty for the chart alone.
void PaintYearChart(QPainter& painter, const QRectF& area, const PrintedYear& year, const std::string& page);

// Draws text with its top at y from x in face, made smaller when it is wider
// than width (down to 6 points, then cut short with an ellipsis); gives the
// top of the next line of the face as asked.
double FittedLine(QPainter& painter, const QFont& face, const std::string& text, double x, double y, double width);

// The title, the time basis and the definition from the area's top; gives
// the y under them.
double PaintHead(QPainter& painter, const QRectF& area, const PrintedYear& year, double titleSize);

// One entry of a legend: a swatch, then its words.
struct LegendEntry {
    // a filled box, a curve, a box outlined, a text (bold: a time of the neighbouring date), a rule
    enum class Swatch { Fill, Line, Frame, Sample, BoldSample, Rule };
    Swatch swatch = Swatch::Fill;
    QColor colour;
    QString sample;  // the text of a Sample
    QString words;
};

// The entries flowed in lines across width from (x, y); gives the y under
// them. Drawing nothing, it measures.
double PaintLegend(QPainter& painter, const std::vector<LegendEntry>& entries, double x, double y, double width,
                   bool draw = true);

// The footer's lines at the area's bottom, page ("1/2") at the right of
// the last; gives the top of the footer.
double PaintFooter(QPainter& painter, const QRectF& area, const PrintedYear& year, const std::string& page);
