#pragma once

#include "stats/statstable.h"
#include "util/durablefile.h"

#include <QString>

class QWidget;

// The files the Statistics window exports: the chart shown as a picture, and its figures.
// Each is written whole beside its name and renamed into place (durable::replaceUserFile), never
// over one of the collection's own files.
namespace perlinex::stats {

enum class ChartFormat { Png, Svg };

// SVG for a name ending in .svg (in any case), PNG for any other.
ChartFormat chartFormatOf(const QString& fileName);

// The widget as it is drawn on screen: a PNG of its pixels, or SVG drawing. Throws
// durable::FileError.
void writeChartFile(QWidget& chartView, const QString& title, const QString& fileName,
                    const durable::ProtectedFiles& keep);

// The table as comma-separated values in UTF-8. Throws durable::FileError.
void writeFiguresFile(const FigureTable& table, const QString& fileName,
                      const durable::ProtectedFiles& keep);

} // namespace perlinex::stats
