#include "print/print_faces.h"
#include "print/year_painting.h"

#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

constexpr double kDaySeconds = 86400.0;
constexpr double kHourLabels = 34.0;    // room for "00:00" on each side
constexpr double kMonthLabels = 26.0;   // the summer-time strip and the month names under the plot
constexpr int32_t kBreak = 3 * 3600;    // a curve jumping further wraps around midnight

using Kind = PrintedMoment::Kind;

int32_t ClockSeconds(int32_t seconds) { return (seconds % 86400 + 86400) % 86400; }

// The stretch of a date's local day in which the Sun is up, in seconds from
// its midnight; empty when it stays below. A moment that does not happen
// opens or closes the stretch at the date's edge.
struct Daylight {
    bool any = false;
    double from = 0, to = 0;
};

Daylight DaylightOf(const PrintedDay& d) {
    const Kind rise = d.sunrise.kind, set = d.sunset.kind;
    if (rise == Kind::Below || set == Kind::Below) return {};
    return {true, rise == Kind::Time ? d.sunrise.seconds : 0.0, set == Kind::Time ? d.sunset.seconds : kDaySeconds};
}

class ChartGeometry {
public:
    ChartGeometry(const QRectF& plot, size_t days) : plot_(plot), step_(plot.width() / static_cast<double>(days)) {}
    double X(size_t index) const { return plot_.left() + static_cast<double>(index) * step_; }
    double Step() const { return step_; }
    double Y(double seconds) const { return plot_.bottom() - seconds / kDaySeconds * plot_.height(); }
    // A column of the plot from from to to seconds, clipped to the day.
    void AddColumn(QPainterPath& path, size_t index, double from, double to) const {
        for (double shift : {-kDaySeconds, 0.0, kDaySeconds}) {
            const double a = std::max(from + shift, 0.0), b = std::min(to + shift, kDaySeconds);
            if (a < b) path.addRect(QRectF(QPointF(X(index), Y(b)), QPointF(X(index + 1), Y(a))));
        }
    }

private:
    QRectF plot_;
    double step_;
};

void DrawCurve(QPainter& painter, const ChartGeometry& chart, const PrintedYear& year, bool sunrise,
               const QColor& colour) {
    painter.setPen(QPen(colour, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPolygonF line;
    int32_t last = 0;
    auto flush = [&] {
        if (line.size() > 1) painter.drawPolyline(line);
        line.clear();
    };
    for (size_t i = 0; i < year.days.size(); ++i) {
        const PrintedMoment& moment = sunrise ? year.days[i].sunrise : year.days[i].sunset;
        if (moment.kind != Kind::Time) {
            flush();
            continue;
        }
        const int32_t clock = ClockSeconds(moment.seconds);
        if (!line.isEmpty() && std::abs(clock - last) > kBreak) flush();
        line << QPointF(chart.X(i) + chart.Step() / 2, chart.Y(clock));
        last = clock;
    }
    flush();
}

// Hours up both sides, every two hours; months across, with a rule where
// each begins.
void DrawHoursAndMonths(QPainter& painter, const QRectF& area, const QRectF& plot, const ChartGeometry& chart,
                        const PrintedYear& year) {
    painter.setFont(PrintFace(7));
    for (int hour = 0; hour <= 24; hour += 2) {
        const double at = chart.Y(hour * 3600.0);
        painter.setPen(QPen(kRule, 0.3));
        if (hour % 24) painter.drawLine(QPointF(plot.left(), at), QPointF(plot.right(), at));
        painter.setPen(kInk);
        const QString label = QString::asprintf("%02d:00", hour);
        painter.drawText(QRectF(area.left(), at - 6, kHourLabels - 4, 12), Qt::AlignRight | Qt::AlignVCenter, label);
        painter.drawText(QRectF(plot.right() + 4, at - 6, kHourLabels - 4, 12), Qt::AlignLeft | Qt::AlignVCenter, label);
    }
    std::vector<size_t> monthStarts;
    for (size_t i = 0; i < year.days.size(); ++i)
        if (i == 0 || year.days[i].month != year.days[i - 1].month) monthStarts.push_back(i);
    monthStarts.push_back(year.days.size());
    painter.setFont(PrintFace(8));
    for (size_t m = 0; m + 1 < monthStarts.size(); ++m) {
        const double from = chart.X(monthStarts[m]), to = chart.X(monthStarts[m + 1]);
        painter.setPen(QPen(kRule, 0.3));
        if (m > 0) painter.drawLine(QPointF(from, plot.top()), QPointF(from, plot.bottom()));
        painter.setPen(kInk);
        const int month = year.days[monthStarts[m]].month;
        painter.drawText(QRectF(from, plot.bottom() + 10, to - from, 14), Qt::AlignCenter, kMonthNames[month - 1]);
    }
}

}  // namespace

void PaintYearChart(QPainter& painter, const QRectF& area, const PrintedYear& year, const std::string& page) {
    double y = PaintHead(painter, area, year, 12) + 2;
    const double footerTop = PaintFooter(painter, area, year, page);

    bool anySummer = false, anyPolarDay = false;
    int today = -1;
    for (size_t i = 0; i < year.days.size(); ++i) {
        const PrintedDay& d = year.days[i];
        anySummer = anySummer || d.summerTime;
        anyPolarDay = anyPolarDay || (d.sunrise.kind == Kind::Above && d.sunset.kind == Kind::Above);
        if (today < 0 && d.month == year.todayMonth && d.day == year.todayDay) today = static_cast<int>(i);
    }
    using Swatch = LegendEntry::Swatch;
    std::vector<LegendEntry> legend = {{Swatch::Line, kSunriseLine, "", "sunrise (SR)"},
                                       {Swatch::Line, kSunsetLine, "", "sunset (SS)"},
                                       {Swatch::Fill, kNight, "", "night"}};
    if (anyPolarDay) legend.push_back({Swatch::Fill, kPolarDay, "", "the Sun above all day"});
    if (anySummer)
        legend.push_back({Swatch::Fill, kSummerTint, "", "under the dates: " + QString::fromStdString(year.summerKey)});
    if (today >= 0) legend.push_back({Swatch::Line, kInk, "", "today"});
    y = PaintLegend(painter, legend, area.left() + kHourLabels, y, area.width() - 2 * kHourLabels) + 2;

    const QRectF plot(QPointF(area.left() + kHourLabels, y), QPointF(area.right() - kHourLabels, footerTop - 4 - kMonthLabels));
    if (year.days.empty()) return;
    const ChartGeometry chart(plot, year.days.size());

    // Night everywhere, then the daylight of each date over it: one path
    // each, so no seams show between the columns.
    QPainterPath daylight, polarDay, summer;
    for (size_t i = 0; i < year.days.size(); ++i) {
        const PrintedDay& d = year.days[i];
        const Daylight lit = DaylightOf(d);
        const bool above = d.sunrise.kind == Kind::Above && d.sunset.kind == Kind::Above;
        if (lit.any) chart.AddColumn(above ? polarDay : daylight, i, lit.from, lit.to);
        if (d.summerTime)
            summer.addRect(QRectF(chart.X(i), plot.bottom() + 3, chart.Step(), 5));
    }
    painter.setPen(Qt::NoPen);
    painter.fillRect(plot, kNight);
    painter.fillPath(daylight, Qt::white);
    painter.fillPath(polarDay, kPolarDay);
    painter.fillPath(summer, kSummerTint);

    DrawHoursAndMonths(painter, area, plot, chart, year);

    DrawCurve(painter, chart, year, true, kSunriseLine);
    DrawCurve(painter, chart, year, false, kSunsetLine);
    if (today >= 0) {
        const double x = chart.X(static_cast<size_t>(today)) + chart.Step() / 2;
        painter.setPen(QPen(kInk, 1.4));
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    }
    painter.setPen(QPen(kInk, 0.6));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot);
}
