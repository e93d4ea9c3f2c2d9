#include "stats/chartexport.h"

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSvgGenerator>
#include <QWidget>

namespace perlinex::stats {

namespace {

// Draws into the file through dev; a drawing that failed without a failed write is still
// reported.
template <typename Draw>
void writeThrough(const QString& temp, const QString& fileName, Draw&& draw) {
    durable::OutputFile file(temp, fileName);
    file.open();
    if (!draw(file)) {
        if (file.failed())
            file.fail();
        throw durable::FileError(
            durable::FileError::Kind::CannotWrite,
            QCoreApplication::translate("Statistics", "The picture could not be made."));
    }
    file.finish();
}

} // namespace

ChartFormat chartFormatOf(const QString& fileName) {
    return fileName.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive) ? ChartFormat::Svg
                                                                         : ChartFormat::Png;
}

void writeChartFile(QWidget& chartView, const QString& title, const QString& fileName,
                    const durable::ProtectedFiles& keep) {
    durable::replaceUserFile(fileName, keep, [&](const QString& temp) {
        if (chartFormatOf(fileName) == ChartFormat::Png) {
            const QImage image = chartView.grab().toImage();
            writeThrough(temp, fileName, [&](QIODevice& dev) { return image.save(&dev, "PNG"); });
            return;
        }
        writeThrough(temp, fileName, [&](QIODevice& dev) {
            QSvgGenerator svg;
            svg.setOutputDevice(&dev);
            svg.setSize(chartView.size());
            svg.setViewBox(chartView.rect());
            svg.setTitle(title);
            QPainter painter;
            if (!painter.begin(&svg))
                return false;
            chartView.render(&painter);
            return painter.end();
        });
    });
}

void writeFiguresFile(const FigureTable& table, const QString& fileName,
                      const durable::ProtectedFiles& keep) {
    const QByteArray bytes = csvText(table);
    durable::replaceUserFile(fileName, keep, [&](const QString& temp) {
        durable::writeBytes(temp, bytes.constData(), bytes.size());
    });
}

} // namespace perlinex::stats
