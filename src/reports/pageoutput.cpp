#include "reports/pageoutput.h"

#include "reports/printdocument.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

namespace perlinex::reports {

namespace {

// The largest rectangle of the page's shape that fits the device page, centred on it.
QRectF fittedPage(const PrintDocument& document, const QPaintDevice& device) {
    const qreal dw = device.width();
    const qreal dh = device.height();
    const qreal scale = std::min(dw / document.pageWidth(), dh / document.pageHeight());
    const qreal w = document.pageWidth() * scale;
    const qreal h = document.pageHeight() * scale;
    return QRectF((dw - w) / 2, (dh - h) / 2, w, h);
}

} // namespace

OutputResult drawPages(const PrintDocument& document, QPagedPaintDevice& device, int first,
                       int last, const OutputProgress& progress) {
    first = std::max(first, 0);
    last = std::min(last, document.pageCount() - 1);
    if (first > last)
        return OutputResult::Failed;
    QPainter painter;
    if (!painter.begin(&device))
        return OutputResult::Failed;
    const int total = last - first + 1;
    for (int i = first; i <= last; ++i) {
        if (progress && !progress(i - first, total)) {
            painter.end();
            return OutputResult::Cancelled;
        }
        if (i > first && !device.newPage()) {
            painter.end();
            return OutputResult::Failed;
        }
        document.renderPage(painter, i, fittedPage(document, device));
    }
    if (progress)
        progress(total, total);
    return painter.end() ? OutputResult::Done : OutputResult::Failed;
}

OutputResult printPages(const PrintDocument& document, QPrinter& printer, int first, int last,
                        const OutputProgress& progress) {
    printer.setFullPage(true);
    const OutputResult result = drawPages(document, printer, first, last, progress);
    if (result == OutputResult::Cancelled)
        printer.abort();
    return result;
}

OutputResult exportPdf(const PrintDocument& document, const QString& fileName,
                       const durable::ProtectedFiles& keep, const OutputProgress& progress,
                       QString* error) {
    // Thrown out of the writer so that a cancelled or failed drawing replaces nothing.
    struct NotWhole {};
    OutputResult result = OutputResult::Failed;
    try {
        durable::replaceUserFile(fileName, keep, [&](const QString& temp) {
            durable::OutputFile file(temp, fileName);
            file.open();
            {
                QPdfWriter pdf(&file);
                pdf.setPageLayout(document.pageLayout());
                pdf.setCreator(QStringLiteral("Perlinex"));
                pdf.setTitle(PrintDocument::pageTextParts(document.header(), 1)[1]);
                result = drawPages(document, pdf, 0, document.pageCount() - 1, progress);
            }
            if (file.failed())
                file.fail();
            if (result != OutputResult::Done)
                throw NotWhole{};
            file.finish();
        });
    } catch (const durable::FileError& e) {
        if (error)
            *error = e.text();
        return OutputResult::Failed;
    } catch (const NotWhole&) {
        if (error && result == OutputResult::Failed)
            *error = QCoreApplication::translate("Reports", "The pages could not be drawn.");
        return result;
    }
    return OutputResult::Done;
}

} // namespace perlinex::reports
