#pragma once

#include "custom/fieldcatalogue.h"
#include "custom/layout.h"

#include <QByteArray>
#include <QString>
#include <optional>

// Layout files (.rpt): 22 lines of UTF-8 text ended by CR LF.
//
//   1 main table          7 width unit 0 inches, 1 centimetres   12-21 one item per identifier
//   2 title               8 primary sort position, " 0 ", "-1 "        1..maxSpecId, ";" between:
//   3 target 1, 2, 3      9 secondary sort position                    12 true, 13 false,
//   4 orientation 0, 1   10 number of report fields                    14 starts with, 15 from,
//   5 date in header     11 report fields' identifiers, ";" between     16 to, 17 less than,
//   6 page-number place                                                 18 greater than,
//                                                                       19 width, 20 hide,
//                                                                       21 total, 22 money
//
// Dates and times are serial numbers (days since 30 December 1899, the fraction the time of
// day; "0" for none) and widths plain decimals, always with ".". In the text items (14, 17, 18)
// a ";" is written "\;" and a backslash "\\"; any other backslash stands for itself, so files
// from before the escape read as they always did.
namespace perlinex::custom {

// The message for every file the reader refuses.
QString invalidLayoutMessage();
QString invalidLayoutTitle();

struct LayoutRead {
    std::optional<Layout> layout; // set when the file is valid
    QString problem;              // otherwise what is wrong with it, for the command line
    int line = 0;                 // and on which line (0: the file as a whole)
};

// The file's bytes. layout.settings must cover the catalogue's identifiers (Layout::defaults).
QByteArray writeLayout(const Layout& layout);

// Reads a layout file against the field catalogue (every row; the file's first line picks the
// main table, which must be currentUseWith or one the catalogue names). Fields no longer
// offered are skipped; settings of fields not in the report are kept.
LayoutRead readLayout(const QByteArray& bytes, const FieldCatalogue& catalogue,
                      const QString& currentUseWith);

// The text of a date-time criterion as the file writes it, and back; exposed for tests.
QString serialText(const QDateTime& value);
QString widthText(float width);

} // namespace perlinex::custom
