#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QChar>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

// Comma-separated text as RFC 4180 writes it, and as spreadsheets and other programs write it
// in practice: their encodings, delimiters, quoting and line ends.
namespace perlinex::exchange {

enum class TextEncoding {
    Utf8,        // with or without a byte-order mark
    Utf16,       // with a byte-order mark, either byte order
    Windows1252, // Latin-1 with the printable characters Windows puts at 0x80-0x9f
};

// How a file is written; what is not given is detected.
struct CsvFormat {
    TextEncoding encoding = TextEncoding::Utf8;
    QChar delimiter = QLatin1Char(',');
};

// A file's text in its encoding, detected from a byte-order mark or from whether the bytes
// are valid UTF-8; nothing of the text is lost in any encoding.
TextEncoding detectEncoding(const QByteArray& bytes);
QString decodeText(const QByteArray& bytes, TextEncoding encoding);

// Comma, semicolon or tab: the one that occurs most often, outside quotes, in the first line.
QChar detectDelimiter(const QString& text);

// One record of the file: its cells and the line of the file it starts on (1 for the first).
struct CsvRecord {
    std::int64_t line = 0;
    QStringList cells;
};

// The records of a text, quotes, doubled quotes, embedded delimiters and line breaks read as
// RFC 4180 says; CR LF, LF and CR all end a line. Blank lines are passed over.
struct CsvParse {
    std::vector<CsvRecord> records;
    // The line of a quoted value that is never closed; the records stop before it.
    std::optional<std::int64_t> unclosedQuoteLine;
};
CsvParse parseCsv(const QString& text, QChar delimiter);

// Appends one value as UTF-8, quoted when it holds a quote, the delimiter, or a line break.
void appendCsvValue(QByteArray& out, QByteArrayView utf8, char delimiter = ',');
// The end of a record: CR LF.
inline void endCsvRecord(QByteArray& out) {
    out.append("\r\n", 2);
}

} // namespace perlinex::exchange
