#include "print/print_faces.h"
#include "print/year_painting.h"

#include <QFontMetricsF>

#include <array>

namespace {

constexpr int kHeaderRows = 2;  // month names, then SR and SS
constexpr double kDayColumn = 20.0;
constexpr double kLegendHeight = 14.0;

// The printed day of each (month, day), nothing for a date left blank.
using DayIndex = std::array<std::array<const PrintedDay*, 32>, 13>;

DayIndex IndexDays(const PrintedYear& year) {
    DayIndex index{};
    for (const PrintedDay& d : year.days)
        if (d.month >= 1 && d.month <= 12 && d.day >= 1 && d.day <= 31) index[d.month][d.day] = &d;
    return index;
}

void Cell(QPainter& painter, const QRectF& cell, const QString& text) {
    painter.drawText(cell, Qt::AlignCenter, text);
}

}  // namespace

double TextLine(QPainter& painter, const QFont& face, const std::string& text, double x, double y) {
    const QFontMetricsF metrics(face, painter.device());
    painter.setFont(face);
    painter.drawText(QPointF(x, y + metrics.ascent()), QString::fromStdString(text));
    return y + metrics.lineSpacing();
}

void PaintYearGrid(QPainter& painter, const QRectF& area, const PrintedYear& year) {
    painter.setPen(kInk);
    double y = area.top();
    y = TextLine(painter, PrintFace(14, true), year.title, area.left(), y) + 2;
    y = TextLine(painter, PrintFace(9), year.timeBasis, area.left(), y);
    y = TextLine(painter, PrintFace(8), year.definition, area.left(), y) + 6;

    const QRectF grid(area.left(), y, area.width(), area.bottom() - kLegendHeight - y);
    const double rowHeight = grid.height() / (kHeaderRows + 31);
    const double columnWidth = (grid.width() - kDayColumn) / 24;
    auto cellRect = [&](int column, int row) {  // column 0..23, row 0.. from the top
        return QRectF(grid.left() + kDayColumn + column * columnWidth, grid.top() + row * rowHeight, columnWidth,
                      rowHeight);
    };
    const DayIndex index = IndexDays(year);

    bool anySummer = false;
    painter.setPen(Qt::NoPen);
    painter.setBrush(kSummerTint);
    for (const PrintedDay& d : year.days) {
        if (!d.summerTime) continue;
        anySummer = true;
        const QRectF sunrise = cellRect(2 * (d.month - 1), kHeaderRows + d.day - 1);
        painter.drawRect(QRectF(sunrise.topLeft(), QSizeF(2 * columnWidth, rowHeight)));
    }

    painter.setPen(kInk);
    painter.setFont(PrintFace(8, true));
    for (int m = 0; m < 12; ++m)
        Cell(painter, QRectF(cellRect(2 * m, 0).topLeft(), QSizeF(2 * columnWidth, rowHeight)), kMonthNames[m]);
    painter.setFont(PrintFace(7));
    for (int c = 0; c < 24; ++c) Cell(painter, cellRect(c, 1), c % 2 ? "SS" : "SR");
    for (int day = 1; day <= 31; ++day)
        Cell(painter, QRectF(grid.left(), cellRect(0, kHeaderRows + day - 1).top(), kDayColumn, rowHeight),
             QString::number(day));
    painter.setFont(PrintFace(6.5, false, true));
    for (int m = 1; m <= 12; ++m)
        for (int day = 1; day <= 31; ++day) {
            const PrintedDay* d = index[m][day];
            if (!d) continue;
            const int row = kHeaderRows + day - 1;
            Cell(painter, cellRect(2 * (m - 1), row), QString::fromStdString(PrintedMomentText(d->sunrise)));
            Cell(painter, cellRect(2 * (m - 1) + 1, row), QString::fromStdString(PrintedMomentText(d->sunset)));
        }

    // Rules: around the grid and between the months, under the header and
    // after every fifth day, so that a row is followed across the page.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kRule, 0.4));
    for (int row = kHeaderRows + 5; row < kHeaderRows + 31; row += 5)
        painter.drawLine(QPointF(grid.left(), grid.top() + row * rowHeight),
                         QPointF(grid.right(), grid.top() + row * rowHeight));
    painter.setPen(QPen(kInk, 0.6));
    painter.drawRect(grid);
    painter.drawLine(QPointF(grid.left(), grid.top() + kHeaderRows * rowHeight),
                     QPointF(grid.right(), grid.top() + kHeaderRows * rowHeight));
    for (int m = 0; m < 12; ++m) {
        const double x = grid.left() + kDayColumn + 2 * m * columnWidth;
        painter.drawLine(QPointF(x, grid.top()), QPointF(x, grid.bottom()));
    }

    if (anySummer) {
        const QRectF swatch(area.left(), area.bottom() - 9, 14, 8);
        painter.setPen(QPen(kRule, 0.4));
        painter.setBrush(kSummerTint);
        painter.drawRect(swatch);
        painter.setPen(kInk);
        painter.setFont(PrintFace(7));
        painter.drawText(QRectF(swatch.right() + 4, swatch.top() - 2, 300, 12), Qt::AlignLeft | Qt::AlignVCenter,
                         "summer time in force");
    }
}
