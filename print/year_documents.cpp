#include "print/year_documents.h"

#include "print/print_faces.h"
#include "print/pdf_stamps.h"
#include "print/print_session.h"
#include "print/year_painting.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

namespace {

QRectF PrintArea(const QSizeF& page) {
    return {kPageMargin, kPageMargin, page.width() - 2 * kPageMargin, page.height() - 2 * kPageMargin};
}

std::string BytesOf(const QByteArray& bytes) { return std::string(bytes.constData(), static_cast<size_t>(bytes.size())); }

// The generator names the face alone: a reader without DejaVu gets the
// generic family instead of its default serif.
std::string WithGenericFamily(std::string svg) {
    static constexpr std::string_view kFace = "font-family=\"DejaVu Sans\"";
    static constexpr std::string_view kFaces = "font-family=\"DejaVu Sans, sans-serif\"";
    for (size_t at = svg.find(kFace); at != std::string::npos; at = svg.find(kFace, at + kFaces.size()))
        svg.replace(at, kFace.size(), kFaces);
    return svg;
}

}  // namespace

std::string YearPdf(const PrintedYear& given) {
    const PrintedYear year = PrintableYear(given);
    const PrintSession session;  // the caller's, when it holds one
    const QSizeF page = PageSize(year.paper);
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(72);  // one unit, one point
        const QPageSize sheet(year.paper == PrintedPaper::Letter ? QPageSize::Letter : QPageSize::A4);
        writer.setPageLayout(QPageLayout(sheet, QPageLayout::Landscape, QMarginsF()));
        writer.setTitle(QString::fromStdString(year.title));
        writer.setCreator("KELMORVEN Timings");
        QPainter painter(&writer);
        painter.setRenderHint(QPainter::Antialiasing);
        PaintYearGrid(painter, PrintArea(page), year, "1/2");
        writer.newPage();
        PaintYearChart(painter, PrintArea(page), year, "2/2");
    }
    return FixedPdfStamps(BytesOf(bytes), year.created.time_since_epoch().count());
}

std::string YearChartSvg(const PrintedYear& given) {
    const PrintedYear year = PrintableYear(given);
    const PrintSession session;
    const QSizeF page = PageSize(year.paper);
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setResolution(72);
        generator.setSize(page.toSize());
        generator.setViewBox(QRectF(QPointF(0, 0), page));
        // The generator writes these two as they are, unlike the texts it draws.
        generator.setTitle(QString::fromStdString(year.title).toHtmlEscaped());
        generator.setDescription(QString::fromStdString(year.timeBasis + ". " + year.definition).toHtmlEscaped());
        QPainter painter(&generator);
        painter.setRenderHint(QPainter::Antialiasing);
        PaintYearChart(painter, PrintArea(page), year, "");
    }
    return WithGenericFamily(BytesOf(bytes));
}
