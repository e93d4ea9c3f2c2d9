#pragma once

#include "exchange/csvtext.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <stdexcept>
#include <vector>

// What an import reads, whatever it comes from (a CSV file, a Tellico collection): a table
// with a header row, and the pictures its picture column names.
namespace perlinex::exchange {

// A file that cannot be imported at all (not a Tellico file, not a stamp collection), with the
// reason for the user.
class ImportError : public std::runtime_error {
public:
    explicit ImportError(const QString& text)
        : std::runtime_error(text.toStdString()), text_(text) {}
    const QString& text() const { return text_; }

private:
    QString text_;
};

struct SourceTable {
    QStringList headers;
    std::vector<CsvRecord> rows; // each with the line of the file it starts on
    // A line from which on nothing could be read (a quoted value never closed), and why.
    std::optional<std::int64_t> brokenLine;
    QString brokenReason;
};

// The pictures named in a table's picture column.
class PictureSource {
public:
    virtual ~PictureSource() = default;
    // Whether the picture is there, without reading it.
    virtual bool has(const QString& name) const = 0;
    // Its bytes; empty, with the reason, when it cannot be read.
    virtual QByteArray read(const QString& name, QString* why) const = 0;
};

// Pictures named by a path relative to a folder (the CSV file's), or absolute.
class FolderPictures : public PictureSource {
public:
    explicit FolderPictures(const QString& folder) : folder_(folder) {}
    bool has(const QString& name) const override;
    QByteArray read(const QString& name, QString* why) const override;

private:
    QString path(const QString& name) const;
    QString folder_;
};

// Makes a picture's bytes, in any format Load Image reads, into the JPEG the collection keeps;
// empty, with the reason, when they are no picture it can read. The caller gives it: the
// conversion needs the imaging library, which this one does not link.
using PictureConverter = std::function<QByteArray(const QByteArray& picture, QString* why)>;

// How a CSV file is read; what is not given is detected.
struct CsvReadOptions {
    std::optional<TextEncoding> encoding;
    std::optional<QChar> delimiter;
};

struct CsvSource {
    SourceTable table;
    CsvFormat format; // as detected or given
};

// Reads a CSV file whole; throws durable::FileError when it cannot be read.
CsvSource readCsvFile(const QString& path, const CsvReadOptions& options = {});
// The same from its bytes.
CsvSource readCsvBytes(const QByteArray& bytes, const CsvReadOptions& options = {});

} // namespace perlinex::exchange
