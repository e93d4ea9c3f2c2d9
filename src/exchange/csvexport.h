#pragma once

#include "exchange/workprogress.h"
#include "util/durablefile.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

class QIODevice;

namespace perlinex::db {
class Database;
}

// The stamps written as a CSV file that spreadsheets and this program's import read: RFC 4180,
// UTF-8, CR LF, a header row of the field names; classifications as their descriptions, money
// as plain decimals with ".", dates as yyyy-mm-dd, flags as yes/no, and a picture column.
namespace perlinex::exchange {

// Which stamps, in which order: a condition and an order over table stamp in the program's
// SQL dialect, or the numbers of the collection list's rows as it lists them.
struct StampSelection {
    QString where;                               // empty for every stamp
    QString orderBy = QStringLiteral("[descr]"); // the description order
    // These stamps in this order, where and orderBy aside; a number no longer stored is passed
    // over.
    std::optional<std::vector<std::int64_t>> stamps = std::nullopt;
};

struct ExportOptions {
    // Where the pictures are copied, named as in the collection; empty for none (the picture
    // column is then empty).
    QString picturesFolder;
    // The folder the picture column's paths are relative to: the CSV file's.
    QString csvFolder;
    // Files no copied picture may replace: the collection's.
    durable::ProtectedFiles keep;
};

struct ExportOutcome {
    bool cancelled = false;
    std::int64_t stamps = 0;
    std::int64_t pictures = 0; // copied
};

// The column names of the header row, in order: the fields a user types (the number, the sort
// key and the totals follow from them and are left out), a classification by its code table's
// name, then "picture".
QStringList exportColumns();

// The folder beside a CSV file that its pictures are copied into, named after it:
// "stamps.csv" has "stamps-pictures".
QString picturesFolderBeside(const QString& csvFile);

// Writes the selected stamps to device, whose name is for messages. Throws db::DbError and
// durable::FileError.
ExportOutcome writeStampsCsv(db::Database& collection, const QString& imagesFolder,
                             const StampSelection& selection, QIODevice& device,
                             const QString& name, const ExportOptions& options,
                             const WorkProgress& progress = {});

// The same into a file, written whole through the durable-file unit: target is refused (see
// durable::checkUserTarget) when it is one of the options' protected files or not a regular file,
// and is left as it was when the export fails or is cancelled. Pictures this export copied are then
// removed again.
ExportOutcome exportStampsCsv(db::Database& collection, const QString& imagesFolder,
                              const StampSelection& selection, const QString& target,
                              const ExportOptions& options, const WorkProgress& progress = {});

} // namespace perlinex::exchange
