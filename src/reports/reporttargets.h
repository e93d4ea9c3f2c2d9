#pragma once

#include "reports/reportrows.h"
#include "reports/tabletext.h"
#include "util/durablefile.h"

#include <QDate>
#include <QIODevice>
#include <QList>
#include <QString>
#include <QStringConverter>
#include <QStringList>
#include <functional>

class QTextStream;

namespace perlinex::regional {
class Regional;
}

// The three places a report goes: the preview document, a text file and an HTML file. Text
// and HTML files are UTF-8 with lines ended by CR LF.
namespace perlinex::reports {

class PrintDocument;

// The project's home page, which the credit line of every HTML report links to.
inline constexpr const char* HomePage = "https://perlinex.org/";

enum class FileTarget { Text, Html };

// Text files are written through a buffer in chunks of this many characters.
inline constexpr qsizetype WriteChunk = 1 << 16;

// Output of UTF-8 lines to a device through a buffer. A failed write throws
// durable::FileError that names fileName.
class LineWriter {
public:
    LineWriter(QIODevice& device, const QString& fileName);
    void append(QStringView text) { buffer_.append(text); }
    void append(QLatin1StringView text) { buffer_.append(text); }
    void append(QChar c) { buffer_.append(c); }
    // text with every tab, CR and LF turned into a space.
    void appendField(QStringView text);
    // text with the characters that mean something in HTML written as entities.
    void appendEscaped(QStringView text);
    void endLine();
    void line(QLatin1StringView text);
    void flush();

private:
    QIODevice& device_;
    QString fileName_;
    QString buffer_;
};

// One line per row, its cells separated by single tabs, and the totals lines; no title.
class TextReportWriter : public ReportSink {
public:
    TextReportWriter(QIODevice& device, const QString& fileName);
    void row(std::span<const QString> cells) override;
    void totals(const TotalsLine& line) override;
    void finish();

private:
    void cellsLine(std::span<const QString> cells);
    LineWriter out_;
};

// What opens an HTML report: the page title, the caption row across the table, the column
// headings, and which columns' cells are right-aligned.
struct HtmlTableHead {
    QString title;
    QString caption;
    QStringList headings;
    QList<bool> rightAligned;
};

// The report as one HTML table: title, caption and heading rows, one row per line, totals,
// and the credit line. Every value and title is escaped; an empty totals cell is written as
// a non-breaking space, so that its border shows.
class HtmlReportWriter : public ReportSink {
public:
    // Writes the head, caption and headings at once.
    HtmlReportWriter(QIODevice& device, const QString& fileName,
                     const ReportDefinition& definition);
    HtmlReportWriter(QIODevice& device, const QString& fileName, const HtmlTableHead& head);
    void row(std::span<const QString> cells) override;
    void totals(const TotalsLine& line) override;
    // Closes the table and writes the tail.
    void finish();

private:
    LineWriter out_;
    QList<bool> right_;
};

// Every row as a one-row table in the report's column format; the totals in their own.
class PreviewReportWriter : public ReportSink {
public:
    PreviewReportWriter(PrintDocument& document, const ReportDefinition& definition);
    PreviewReportWriter(PrintDocument& document, const TableFormat& format);
    void row(std::span<const QString> cells) override;
    void totals(const TotalsLine& line) override;

private:
    PrintDocument& document_;
    TableFormat format_;
};

// The page header of a report: "date|title|Page %d".
QString pageHeader(const ReportDefinition& definition, const regional::Regional& regional,
                   const QDate& today);

// Starts a new document with the report's page header (portrait, no footer), adds its rows
// and totals and ends it; returns the number of rows.
std::int64_t fillPreview(PrintDocument& document, ReportData& data,
                         const regional::Regional& regional, const QDate& today);

// Throws the durable::FileError of a failed write to device, naming fileName: the system's
// reason where the device is a durable::OutputFile.
[[noreturn]] void writeFailed(const QIODevice& device, const QString& fileName);

// Makes a file the user named through write, which is handed the open file: it is written
// under a temporary name beside fileName and renamed over it only once whole; on any failure
// fileName is left as it was. A target keep protects, or one that is not a regular file or is
// read-only, is refused first (durable::checkUserTarget). Throws durable::FileError, and what
// write throws.
void writeFileWhole(const QString& fileName, const durable::ProtectedFiles& keep,
                    const std::function<void(QIODevice& file)>& write);

// A device that hands what is written, UTF-8, on to a text stream: a report written to the
// command line's standard output. A character split between two writes is joined again.
class TextStreamDevice : public QIODevice {
public:
    explicit TextStreamDevice(QTextStream& stream);
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override;

private:
    QTextStream& stream_;
    QStringDecoder decoder_{QStringDecoder::Utf8};
};

// Writes the report to device (a file, or standard output), name naming it in errors.
// Returns the number of rows.
std::int64_t writeReport(ReportData& data, FileTarget target, QIODevice& device,
                         const QString& name, const regional::Regional& regional);

// Writes the report as a file, through writeFileWhole. Throws durable::FileError, and what
// ReportData::writeTo throws. Returns the number of rows.
std::int64_t writeReportFile(ReportData& data, FileTarget target, const QString& fileName,
                             const regional::Regional& regional,
                             const durable::ProtectedFiles& keep);

} // namespace perlinex::reports
