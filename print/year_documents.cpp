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

const QRectF kPrintArea(kPageMargin, kPageMargin, kPageWidth - 2 * kPageMargin, kPageHeight - 2 * kPageMargin);

std::string BytesOf(const QByteArray& bytes) { return std::string(bytes.constData(), static_cast<size_t>(bytes.size())); }

}  // namespace

std::string YearPdf(const PrintedYear& year) {
    const PrintSession session;  // the caller's, when it holds one
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(72);  // one unit, one point
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF()));
        writer.setTitle(QString::fromStdString(year.title));
        writer.setCreator("KELMORVEN Timings");
        QPainter painter(&writer);
        painter.setRenderHint(QPainter::Antialiasing);
        PaintYearGrid(painter, kPrintArea, year);
        writer.newPage();
        PaintYearChart(painter, kPrintArea, year);
    }
    return FixedPdfStamps(BytesOf(bytes), year.created);
}

std::string YearChartSvg(const PrintedYear& year) {
    const PrintSession session;
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setResolution(72);
        generator.setSize(QSize(static_cast<int>(kPageWidth), static_cast<int>(kPageHeight)));
        generator.setViewBox(QRectF(0, 0, kPageWidth, kPageHeight));
        // The generator writes both as given: a town's "&" would end the
        // file's being XML.
        generator.setTitle(QString::fromStdString(year.title).toHtmlEscaped());
        generator.setDescription(QString::fromStdString(year.timeBasis + ". " + year.definition).toHtmlEscaped());
        QPainter painter(&generator);
        painter.setRenderHint(QPainter::Antialiasing);
        PaintYearChart(painter, kPrintArea, year);
    }
    return BytesOf(bytes);
}
