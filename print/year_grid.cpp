#include "print/print_faces.h"
#include "print/year_painting.h"

#include <QFontMetricsF>

#include <array>
#include <vector>

namespace {

constexpr int kHeaderRows = 2;  // month names, then SR and SS
constexpr double kDayColumn = 16.0;
constexpr double kCellSize = 6.5, kTwiceSize = 6.0;  // a cell's time; each of a date lived twice

using Kind = PrintedMoment::Kind;

// The printed days of each (month, day): none for a date left blank, two
// for a date lived twice.
using DayIndex = std::array<std::array<std::vector<const PrintedDay*>, 32>, 13>;

DayIndex IndexDays(const PrintedYear& year) {
    DayIndex index{};
    for (const PrintedDay& d : year.days)
        if (d.month >= 1 && d.month <= 12 && d.day >= 1 && d.day <= 31) index[d.month][d.day].push_back(&d);
    return index;
}

// A time on the clock of the neighbouring date, printed bold with its mark.
bool OtherDate(const PrintedMoment& m) { return m.kind == Kind::Time && (m.seconds >= 86400 || m.seconds < 0); }

// Which marks the year's cells hold, for the legend.
struct Marks {
    bool above = false, below = false, after = false, before = false, summer = false, twice = false;
};

Marks MarksOf(const PrintedYear& year, const DayIndex& index) {
    Marks marks;
    for (const PrintedDay& d : year.days)
        for (const PrintedMoment& m : {d.sunrise, d.sunset}) {
            marks.above = marks.above || m.kind == Kind::Above;
            marks.below = marks.below || m.kind == Kind::Below;
            marks.after = marks.after || (OtherDate(m) && m.seconds > 0);
            marks.before = marks.before || (OtherDate(m) && m.seconds < 0);
            marks.summer = marks.summer || d.summerTime;
        }
    for (const auto& month : index)
        for (const auto& days : month) marks.twice = marks.twice || days.size() > 1;
    return marks;
}

std::vector<LegendEntry> GridLegend(const PrintedYear& year, const Marks& marks) {
    using Swatch = LegendEntry::Swatch;
    std::vector<LegendEntry> entries;
    if (marks.above) entries.push_back({Swatch::Sample, kInk, "*****", "the Sun stays above all day"});
    if (marks.below) entries.push_back({Swatch::Sample, kInk, "-----", "the Sun stays below all day"});
    if (marks.after)
        entries.push_back({Swatch::BoldSample, kInk, "00:12:34\u203A", "bold with \u203A: after midnight, on the clock of the next date"});
    if (marks.before)
        entries.push_back({Swatch::BoldSample, kInk, "\u203923:45:06", "bold with \u2039: the evening before, on the clock of the date before"});
    entries.push_back({Swatch::Fill, Qt::white, "", "blank: no such date, or a date the clock skipped"});
    if (marks.twice)
        entries.push_back({Swatch::Sample, kInk, "two lines", "a date lived twice (the clock set a day back), the first time above"});
    if (marks.summer) entries.push_back({Swatch::Fill, kSummerTint, "", QString::fromStdString(year.summerKey)});
    if (year.todayMonth > 0) entries.push_back({Swatch::Frame, kInk, "", "today"});
    entries.push_back({Swatch::Rule, kInk, "", "a rule under each Sunday"});
    return entries;
}

}  // namespace

void PaintYearGrid(QPainter& painter, const QRectF& area, const PrintedYear& year, const std::string& page) {
    const double top = PaintHead(painter, area, year, 14) + 6;
    const double footerTop = PaintFooter(painter, area, year, page);
    const DayIndex index = IndexDays(year);
    const std::vector<LegendEntry> legend = GridLegend(year, MarksOf(year, index));
    const double legendHeight = PaintLegend(painter, legend, area.left(), 0, area.width(), false);
    const double legendTop = footerTop - 4 - legendHeight;
    PaintLegend(painter, legend, area.left(), legendTop, area.width());

    const QRectF grid(area.left(), top, area.width(), legendTop - 4 - top);
    const double rowHeight = grid.height() / (kHeaderRows + 31);
    const double columnWidth = (grid.width() - 2 * kDayColumn) / 24;
    auto cellRect = [&](int column, int row) {  // column 0..23, row 0.. from the top
        return QRectF(grid.left() + kDayColumn + column * columnWidth, grid.top() + row * rowHeight, columnWidth,
                      rowHeight);
    };
    auto pairRect = [&](int month, int day) {
        return QRectF(cellRect(2 * (month - 1), kHeaderRows + day - 1).topLeft(), QSizeF(2 * columnWidth, rowHeight));
    };

    // Shading first, under the text: a date lived twice shades each half.
    painter.setPen(Qt::NoPen);
    painter.setBrush(kSummerTint);
    for (int m = 1; m <= 12; ++m)
        for (int day = 1; day <= 31; ++day) {
            const std::vector<const PrintedDay*>& lived = index[m][day];
            for (size_t i = 0; i < lived.size(); ++i) {
                if (!lived[i]->summerTime) continue;
                QRectF pair = pairRect(m, day);
                pair.setHeight(pair.height() / static_cast<double>(lived.size()));
                pair.translate(0, pair.height() * static_cast<double>(i));
                painter.drawRect(pair);
            }
        }

    painter.setPen(kInk);
    painter.setFont(PrintFace(8, true));
    for (int m = 0; m < 12; ++m)
        painter.drawText(QRectF(cellRect(2 * m, 0).topLeft(), QSizeF(2 * columnWidth, rowHeight)), Qt::AlignCenter,
                         kMonthNames[m]);
    painter.setFont(PrintFace(7));
    for (int c = 0; c < 24; ++c) painter.drawText(cellRect(c, 1), Qt::AlignCenter, c % 2 ? "SS" : "SR");
    for (int day = 1; day <= 31; ++day) {
        const double y = cellRect(0, kHeaderRows + day - 1).top();
        painter.drawText(QRectF(grid.left(), y, kDayColumn, rowHeight), Qt::AlignCenter, QString::number(day));
        painter.drawText(QRectF(grid.right() - kDayColumn, y, kDayColumn, rowHeight), Qt::AlignCenter,
                         QString::number(day));
    }
    for (int m = 1; m <= 12; ++m)
        for (int day = 1; day <= 31; ++day) {
            const std::vector<const PrintedDay*>& lived = index[m][day];
            const double parts = static_cast<double>(lived.size());
            const double size = lived.size() > 1 ? kTwiceSize : kCellSize;
            for (size_t i = 0; i < lived.size(); ++i) {
                const int row = kHeaderRows + day - 1;
                for (int side = 0; side < 2; ++side) {
                    QRectF cell = cellRect(2 * (m - 1) + side, row);
                    cell.setHeight(cell.height() / parts);
                    cell.translate(0, cell.height() * static_cast<double>(i));
                    const PrintedMoment& moment = side == 0 ? lived[i]->sunrise : lived[i]->sunset;
                    painter.setFont(PrintFace(size, OtherDate(moment), true));
                    painter.drawText(cell, Qt::AlignCenter, QString::fromStdString(PrintedMomentText(moment)));
                }
            }
        }

    // Rules: around the grid and between the months, under the header and
    // after every fifth day, so that a row is followed across the page; a
    // darker one under each Sunday, so that the weeks show.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kRule, 0.4));
    for (int row = kHeaderRows + 5; row < kHeaderRows + 31; row += 5)
        painter.drawLine(QPointF(grid.left(), grid.top() + row * rowHeight),
                         QPointF(grid.right(), grid.top() + row * rowHeight));
    painter.setPen(QPen(kInk, 0.9));
    for (int m = 1; m <= 12; ++m)
        for (int day = 1; day <= 31; ++day)
            if (!index[m][day].empty() && index[m][day].front()->weekday == 0) {
                const QRectF pair = pairRect(m, day);
                painter.drawLine(pair.bottomLeft() + QPointF(1.5, 0), pair.bottomRight() - QPointF(1.5, 0));
            }
    painter.setPen(QPen(kInk, 0.6));
    painter.drawRect(grid);
    painter.drawLine(QPointF(grid.left(), grid.top() + kHeaderRows * rowHeight),
                     QPointF(grid.right(), grid.top() + kHeaderRows * rowHeight));
    for (int m = 0; m <= 12; ++m) {
        const double x = grid.left() + kDayColumn + 2 * m * columnWidth;
        painter.drawLine(QPointF(x, grid.top()), QPointF(x, grid.bottom()));
    }
    if (year.todayMonth >= 1 && year.todayMonth <= 12 && year.todayDay >= 1 && year.todayDay <= 31) {
        painter.setPen(QPen(kInk, 1.6));
        painter.drawRect(pairRect(year.todayMonth, year.todayDay).adjusted(0.8, 0.8, -0.8, -0.8));
    }
}
