#pragma once

#include "exchange/columnmap.h"
#include "exchange/csvtext.h"
#include "exchange/importplan.h"
#include "exchange/importsource.h"
#include "exchange/importstore.h"
#include "exchange/workprogress.h"

#include <QChar>
#include <QString>
#include <memory>
#include <optional>

namespace perlinex::db {
class Database;
}
namespace perlinex::regional {
class Regional;
}

// One import as the user works it out before storing it: the file read (a CSV file in the
// encoding and with the delimiter found or chosen, or a Tellico collection), its columns matched
// to fields, and the plan of what will be stored, worked out anew whenever a choice changes.
namespace perlinex::exchange {

class TellicoCollection;

class ImportSession {
public:
    // Reads the file: a Tellico collection when it is one (a ".tc" name, a zip archive or
    // Tellico's XML), else a CSV file. Throws ImportError, durable::FileError and db::DbError.
    ImportSession(db::Database& collection, const regional::Regional& regional,
                  const QString& path);
    ~ImportSession();
    ImportSession(const ImportSession&) = delete;
    ImportSession& operator=(const ImportSession&) = delete;

    const QString& path() const { return path_; }
    bool isTellico() const { return tellico_ != nullptr; }
    // The Tellico collection's title; empty for a CSV file.
    QString title() const;
    const SourceTable& table() const;

    // A CSV file's encoding and delimiter: as found when it was opened, and as it is read now.
    const CsvFormat& detectedFormat() const { return detected_; }
    const CsvFormat& format() const { return format_; }
    // Reads the CSV file again that way. Columns keep their targets while the headers read the
    // same; otherwise they are matched anew.
    void setFormat(const CsvFormat& format);

    // The decimal separator of the file's amounts: as found in them, or as chosen.
    QChar detectedDecimalSeparator() const { return detectedDecimal_; }
    QChar decimalSeparator() const { return plan().decimalSeparator(); }
    void setDecimalSeparator(QChar decimal);

    const ColumnMap& columns() const { return *columns_; }
    void setRole(int column, const ColumnRole& role);

    NewCodes newCodes() const { return newCodes_; }
    void setNewCodes(NewCodes newCodes);

    const ImportPlan& plan() const { return *plan_; }

    // Stores the plan (see storeImport); pictures come from the CSV file's folder or the
    // Tellico file.
    ImportOutcome store(const QString& imagesFolder, const PictureConverter& convert,
                        const ImportChoices& choices, const WorkProgress& progress = {});

private:
    void readCsv(const CsvReadOptions& options);
    void replan();
    const PictureSource& pictures() const;

    db::Database& collection_;
    const regional::Regional& regional_;
    QString path_;
    std::unique_ptr<TellicoCollection> tellico_;
    std::optional<CsvSource> csv_;
    std::unique_ptr<FolderPictures> folderPictures_;
    CsvFormat detected_;
    CsvFormat format_;
    std::optional<QChar> decimal_;
    QChar detectedDecimal_;
    NewCodes newCodes_ = NewCodes::Add;
    std::optional<ColumnMap> columns_;
    std::optional<ImportPlan> plan_; // refers to the table and the columns: made last
};

// Whether the file is a Tellico collection rather than a CSV file: a ".tc" name, a zip archive,
// or Tellico's XML.
bool isTellicoFile(const QString& path);

} // namespace perlinex::exchange
