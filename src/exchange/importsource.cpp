#include "exchange/importsource.h"

#include "util/durablefile.h"
#include "util/translation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

namespace perlinex::exchange {

namespace {

QByteArray readWhole(const QString& path, QString* why) {
    QFile file(path);
    if (!QFileInfo(path).isFile()) {
        *why = QFileInfo::exists(path) ? translate("ImportSource", "it is not a file")
                                       : translate("ImportSource", "there is no such file");
        return QByteArray();
    }
    if (!file.open(QIODevice::ReadOnly)) {
        *why = file.errorString();
        return QByteArray();
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *why = file.errorString();
        return QByteArray();
    }
    return bytes;
}

} // namespace

QString FolderPictures::path(const QString& name) const {
    return QDir(folder_).absoluteFilePath(QDir::fromNativeSeparators(name.trimmed()));
}

bool FolderPictures::has(const QString& name) const {
    return QFileInfo(path(name)).isFile();
}

QByteArray FolderPictures::read(const QString& name, QString* why) const {
    QByteArray bytes = readWhole(path(name), why);
    if (bytes.isEmpty() && why->isEmpty())
        *why = translate("ImportSource", "the file is empty");
    return bytes;
}

CsvSource readCsvBytes(const QByteArray& bytes, const CsvReadOptions& options) {
    CsvSource source;
    source.format.encoding = options.encoding.value_or(detectEncoding(bytes));
    const QString text = decodeText(bytes, source.format.encoding);
    source.format.delimiter = options.delimiter.value_or(detectDelimiter(text));
    CsvParse parsed = parseCsv(text, source.format.delimiter);
    if (parsed.unclosedQuoteLine) {
        source.table.brokenLine = parsed.unclosedQuoteLine;
        source.table.brokenReason = translate(
            "ImportSource",
            "a quoted value begins here and is never closed; nothing from here on is read");
    }
    if (!parsed.records.empty()) {
        source.table.headers = parsed.records.front().cells;
        parsed.records.erase(parsed.records.begin());
    }
    source.table.rows = std::move(parsed.records);
    return source;
}

CsvSource readCsvFile(const QString& path, const CsvReadOptions& options) {
    QString why;
    const QByteArray bytes = readWhole(path, &why);
    if (!why.isEmpty())
        throw durable::FileError(
            durable::FileError::Kind::CannotRead,
            translate("ImportSource", "The file '%1' could not be read: %2.").arg(path, why));
    return readCsvBytes(bytes, options);
}

} // namespace perlinex::exchange
