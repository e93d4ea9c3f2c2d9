#pragma once

#include "db/fields.h"
#include "exchange/columnmap.h"
#include "exchange/importsource.h"
#include "record/stampentry.h"
#include "record/stampvalidator.h"

#include <QChar>
#include <QHash>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

namespace perlinex::db {
class Database;
}

// What an import will store, worked out before anything is stored: every line read as a stamp
// the way the user would have typed it, checked by the record validator, with what has no place
// in a field kept in the notes, the classifications that are new, and the stamps the collection
// already holds.
namespace perlinex::exchange {

// A line that cannot be stored as it is (refused), or a remark on one that can.
struct LineProblem {
    std::int64_t line = 0;
    QString column; // the header of the column at fault; empty for the whole line
    QString reason;
    bool refused = true;
};

// A classification description that its code table does not hold yet.
struct NewCode {
    const db::CodeTable* table = nullptr;
    QString description;
};

struct PlannedStamp {
    std::int64_t line = 0;
    // The stamp as typed. A code field holds an entry's identifier, or -(1 + i) for newCodes()[i].
    record::StampEntry entry;
    QString picture;   // the picture named, empty for none
    QStringList notes; // what went into the notes besides the notes column ("Country: Narnia")
    bool refused = false;
    bool duplicate = false; // equal to a stamp of the collection (see ImportPlan)
};

// What becomes of a classification that its code table does not hold.
enum class NewCodes {
    Add,         // listed in newCodes() and added to its table with the stamps
    KeepInNotes, // the field left blank and "Header: description" kept in the notes
};

class ImportPlan {
public:
    // Reads every row of the table. pictures may be null (no picture is then looked for);
    // decimal overrides the decimal separator found in the file's amounts.
    ImportPlan(db::Database& collection, const SourceTable& table, const ColumnMap& columns,
               const regional::Regional& regional, const PictureSource* pictures,
               std::optional<QChar> decimal = std::nullopt, NewCodes newCodes = NewCodes::Add);

    const std::vector<PlannedStamp>& stamps() const { return stamps_; }
    // Refused lines and remarks, in line order.
    const std::vector<LineProblem>& problems() const { return problems_; }
    bool hasRefusals() const;
    const std::vector<NewCode>& newCodes() const { return newCodes_; }
    // Stamps equal in description, catalogue number, country and year to one the collection
    // holds (as an import of the same file a second time finds them).
    int duplicateCount() const;
    QChar decimalSeparator() const { return decimal_; }

    // The preview: the captions of the fields, then for a stamp its values as they will be
    // stored (a new classification marked as such) and the picture it gets.
    static QStringList previewHeader();
    QStringList previewRow(const PlannedStamp& stamp) const;

private:
    void readRow(const CsvRecord& row, const PictureSource* pictures);
    // The identifier of a classification, a new one's placeholder, or nullopt when the
    // description is too long for its table or new ones are kept in the notes.
    std::optional<std::int64_t> codeFor(const db::CodeTable& table, const QString& description);
    void loadCodes(db::Database& collection);
    void markDuplicates(db::Database& collection);

    const SourceTable& table_;
    const ColumnMap& columns_;
    const regional::Regional& regional_;
    record::StampValidator validator_;
    QChar decimal_;
    NewCodes newCodePolicy_;
    std::vector<PlannedStamp> stamps_;
    std::vector<LineProblem> problems_;
    std::vector<NewCode> newCodes_;
    // Per code table (by number): entries by lower-case description and by accent-free key.
    QHash<int, QHash<QString, std::int64_t>> exactCodes_;
    QHash<int, QHash<QString, std::int64_t>> looseCodes_;
    QHash<int, QHash<std::int64_t, QString>> codeNames_;
};

} // namespace perlinex::exchange
