#include "print/print_faces.h"
#include "print/year_painting.h"

#include <QFontMetricsF>

#include <algorithm>

namespace {

constexpr double kLeastSize = 6.0;  // no text on the page is smaller
constexpr double kSwatchWidth = 14.0;
constexpr double kLegendSize = 7.0;
constexpr double kFooterSize = 6.5;

}  // namespace

double FittedLine(QPainter& painter, const QFont& face, const std::string& text, double x, double y, double width) {
    const QString line = QString::fromStdString(text);
    QFont fitted = face;
    // In half points: the faces come in whole pixels, so a size in between
    // would measure as the next.
    while (fitted.pointSizeF() > kLeastSize &&
           QFontMetricsF(fitted, painter.device()).horizontalAdvance(line) > width)
        fitted.setPointSizeF(std::max(kLeastSize, fitted.pointSizeF() - 0.5));
    const QFontMetricsF metrics(fitted, painter.device());
    painter.setFont(fitted);
    painter.drawText(QPointF(x, y + metrics.ascent()), metrics.elidedText(line, Qt::ElideRight, width));
    return y + QFontMetricsF(face, painter.device()).lineSpacing();
}

double PaintHead(QPainter& painter, const QRectF& area, const PrintedYear& year, double titleSize) {
    painter.setPen(kInk);
    double y = area.top();
    y = FittedLine(painter, PrintFace(titleSize, true), year.title, area.left(), y, area.width()) + 2;
    y = FittedLine(painter, PrintFace(9), year.timeBasis, area.left(), y, area.width());
    return FittedLine(painter, PrintFace(8), year.definition, area.left(), y, area.width());
}

double PaintLegend(QPainter& painter, const std::vector<LegendEntry>& entries, double x, double y, double width,
                   bool draw) {
    using Swatch = LegendEntry::Swatch;
    const QFont words = PrintFace(kLegendSize);
    const QFontMetricsF wordsMetrics(words, painter.device());
    const double lineHeight = wordsMetrics.lineSpacing() + 2;
    double at = x;
    for (const LegendEntry& e : entries) {
        const bool text = e.swatch == Swatch::Sample || e.swatch == Swatch::BoldSample;
        const QFont sample = PrintFace(6.5, e.swatch == Swatch::BoldSample, true);
        const double swatch = text ? QFontMetricsF(sample, painter.device()).horizontalAdvance(e.sample) + 4 : kSwatchWidth;
        const double wide = swatch + 4 + wordsMetrics.horizontalAdvance(e.words);
        if (at > x && at + wide > x + width) {
            at = x;
            y += lineHeight;
        }
        if (draw) {
            const QRectF box(at, y + 1.5, swatch, lineHeight - 4);
            painter.setBrush(Qt::NoBrush);
            switch (e.swatch) {
            case Swatch::Fill:
                painter.setPen(QPen(kRule, 0.4));
                painter.setBrush(e.colour);
                painter.drawRect(box);
                break;
            case Swatch::Line:
                painter.setPen(QPen(e.colour, 1.4));
                painter.drawLine(QPointF(box.left(), box.center().y()), QPointF(box.right(), box.center().y()));
                break;
            case Swatch::Frame:
                painter.setPen(QPen(e.colour, 1.4));
                painter.drawRect(box.adjusted(0.7, 0.7, -0.7, -0.7));
                break;
            case Swatch::Rule:
                painter.setPen(QPen(e.colour, 0.9));
                painter.drawLine(QPointF(box.left(), box.bottom()), QPointF(box.right(), box.bottom()));
                break;
            case Swatch::Sample:
            case Swatch::BoldSample:
                painter.setPen(kInk);
                painter.setFont(sample);
                painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, e.sample);
                break;
            }
            painter.setPen(kInk);
            painter.setFont(words);
            painter.drawText(QRectF(at + swatch + 4, y, width, lineHeight - 1), Qt::AlignLeft | Qt::AlignVCenter,
                             e.words);
        }
        at += wide + 12;
    }
    return entries.empty() ? y : y + lineHeight;
}

double PaintFooter(QPainter& painter, const QRectF& area, const PrintedYear& year, const std::string& page) {
    const QFont face = PrintFace(kFooterSize);
    const QFontMetricsF metrics(face, painter.device());
    const double pageWidth = page.empty() ? 0 : metrics.horizontalAdvance(QString::fromStdString(page)) + 8;
    const double top = area.bottom() - static_cast<double>(year.footer.size()) * metrics.lineSpacing();
    painter.setPen(kInk);
    double y = top;
    for (const std::string& line : year.footer)
        y = FittedLine(painter, face, line, area.left(), y, area.width() - pageWidth);
    if (!page.empty()) {
        painter.setFont(face);
        painter.drawText(QRectF(area.left(), area.bottom() - metrics.lineSpacing(), area.width(), metrics.lineSpacing()),
                         Qt::AlignRight | Qt::AlignVCenter, QString::fromStdString(page));
    }
    return top;
}
