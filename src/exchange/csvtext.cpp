#include "exchange/csvtext.h"

#include <QStringDecoder>
#include <array>

namespace perlinex::exchange {

namespace {

// What Windows writes at 0x80-0x9f; the five places it leaves free keep their Latin-1 code.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool startsWith(const QByteArray& bytes, std::initializer_list<unsigned char> mark) {
    if (bytes.size() < qsizetype(mark.size()))
        return false;
    qsizetype i = 0;
    for (unsigned char c : mark)
        if (static_cast<unsigned char>(bytes[i++]) != c)
            return false;
    return true;
}

QString windows1252(const QByteArray& bytes) {
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* to = out.data();
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *to++ = QChar(b >= 0x80 && b < 0xA0 ? kWindows1252High[b - 0x80] : char16_t(b));
    }
    return out;
}

} // namespace

TextEncoding detectEncoding(const QByteArray& bytes) {
    if (startsWith(bytes, {0xFF, 0xFE}) || startsWith(bytes, {0xFE, 0xFF}))
        return TextEncoding::Utf16;
    if (startsWith(bytes, {0xEF, 0xBB, 0xBF}))
        return TextEncoding::Utf8;
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString probe = utf8(bytes);
    return utf8.hasError() ? TextEncoding::Windows1252 : TextEncoding::Utf8;
}

QString decodeText(const QByteArray& bytes, TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf8: {
        const bool bom = startsWith(bytes, {0xEF, 0xBB, 0xBF});
        return QString::fromUtf8(bom ? bytes.mid(3) : bytes);
    }
    case TextEncoding::Utf16: {
        const bool bigEndian = startsWith(bytes, {0xFE, 0xFF});
        QStringDecoder decoder(bigEndian ? QStringDecoder::Utf16BE : QStringDecoder::Utf16LE);
        const bool bom = bigEndian || startsWith(bytes, {0xFF, 0xFE});
        return decoder(bom ? bytes.mid(2) : bytes);
    }
    case TextEncoding::Windows1252:
        return windows1252(bytes);
    }
    return QString();
}

QChar detectDelimiter(const QString& text) {
    int comma = 0, semicolon = 0, tab = 0;
    bool quoted = false;
    for (QChar c : text) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && (c == QLatin1Char('\n') || c == QLatin1Char('\r')))
            break;
        else if (!quoted && c == QLatin1Char(','))
            ++comma;
        else if (!quoted && c == QLatin1Char(';'))
            ++semicolon;
        else if (!quoted && c == QLatin1Char('\t'))
            ++tab;
    }
    if (tab > comma && tab >= semicolon)
        return QLatin1Char('\t');
    if (semicolon > comma)
        return QLatin1Char(';');
    return QLatin1Char(',');
}

CsvParse parseCsv(const QString& text, QChar delimiter) {
    CsvParse result;
    const QChar* p = text.constData();
    const QChar* const end = p + text.size();
    std::int64_t line = 1;
    CsvRecord record;
    QString cell;
    bool cellStarted = false;
    const auto endCell = [&] {
        record.cells.append(cell);
        cell.clear();
        cellStarted = false;
    };
    const auto endRecord = [&] {
        endCell();
        const bool blank = record.cells.size() == 1 && record.cells.front().isEmpty();
        if (!blank)
            result.records.push_back(std::move(record));
        record = CsvRecord();
    };
    record.line = line;
    while (p < end) {
        const QChar c = *p;
        if (c == QLatin1Char('"') && !cellStarted) {
            // A quoted value: everything up to the closing quote, "" standing for one quote.
            const std::int64_t opened = line;
            ++p;
            bool closed = false;
            while (p < end) {
                if (*p == QLatin1Char('"')) {
                    if (p + 1 < end && p[1] == QLatin1Char('"')) {
                        cell += QLatin1Char('"');
                        p += 2;
                        continue;
                    }
                    ++p;
                    closed = true;
                    break;
                }
                if (*p == QLatin1Char('\n') ||
                    (*p == QLatin1Char('\r') && (p + 1 == end || p[1] != QLatin1Char('\n'))))
                    ++line;
                cell += *p++;
            }
            if (!closed) {
                result.unclosedQuoteLine = opened;
                return result;
            }
            cellStarted = true;
            continue;
        }
        if (c == delimiter) {
            endCell();
            ++p;
            continue;
        }
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && p + 1 < end && p[1] == QLatin1Char('\n'))
                ++p;
            ++p;
            endRecord();
            record.line = ++line;
            continue;
        }
        // Text after a closing quote, or a quote inside an unquoted value, is kept as it is.
        cell += c;
        cellStarted = true;
        ++p;
    }
    if (cellStarted || !record.cells.isEmpty())
        endRecord();
    return result;
}

void appendCsvValue(QByteArray& out, QByteArrayView utf8, char delimiter) {
    bool quote = false;
    for (char c : utf8)
        if (c == '"' || c == delimiter || c == '\n' || c == '\r') {
            quote = true;
            break;
        }
    if (!quote) {
        out.append(utf8);
        return;
    }
    out.append('"');
    for (char c : utf8) {
        if (c == '"')
            out.append('"');
        out.append(c);
    }
    out.append('"');
}

} // namespace perlinex::exchange
