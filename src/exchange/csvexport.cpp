#include "exchange/csvexport.h"

#include "db/database.h"
#include "db/dialect.h"
#include "db/engine.h"
#include "db/fields.h"
#include "db/sqlite/pendingpicture.h"
#include "exchange/csvtext.h"
#include "exchange/valuereading.h"
#include "util/translation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <cstdio>
#include <vector>

namespace perlinex::exchange {

namespace {

struct Cancelled {};

using db::FieldKind;
using db::StampField;

// The fields a user types, in the editor's order.
std::vector<const StampField*> exportedFields() {
    std::vector<const StampField*> out;
    for (const StampField& f : db::stampFields())
        if (f.kind != FieldKind::Counter && f.rule != db::EntryRule::Derived &&
            f.rule != db::EntryRule::Total)
            out.push_back(&f);
    return out;
}

QString columnName(const StampField& f) {
    return f.kind == FieldKind::CodeRef ? QLatin1String(db::codeTable(f.codeTable)->table)
                                        : QLatin1String(f.name);
}

// Every code table's descriptions by identifier, as UTF-8.
QHash<int, QHash<std::int64_t, QByteArray>> codeDescriptions(db::Database& collection) {
    QHash<int, QHash<std::int64_t, QByteArray>> out;
    for (const db::CodeTable& t : db::codeTables()) {
        const auto st = collection.query(
            QStringLiteral("SELECT %1, %2 FROM %3")
                .arg(QLatin1String(t.idField), QLatin1String(t.descField), QLatin1String(t.table)));
        auto& map = out[t.number];
        while (st->next())
            map.insert(st->integer(0), st->utf8(1).toByteArray());
    }
    return out;
}

// The picture file of every stamp in the pictures folder, by number: its JPEG, else a file of
// its number with another extension. Files being written are passed over.
QHash<std::int64_t, QString> pictureFiles(const QString& imagesFolder) {
    QHash<std::int64_t, QString> out;
    const QDir dir(imagesFolder);
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
        const qsizetype dot = name.indexOf(QLatin1Char('.'));
        if (dot != 8 || name.endsWith(QLatin1String(".part")))
            continue;
        bool ok = false;
        const std::int64_t id = name.left(8).toLongLong(&ok);
        if (!ok)
            continue;
        if (!out.contains(id) || name == db::pictureFileName(id))
            out.insert(id, dir.filePath(name));
    }
    return out;
}

void appendNumber(QByteArray& out, std::int64_t n) {
    char digits[24];
    const int size = std::snprintf(digits, sizeof digits, "%lld", static_cast<long long>(n));
    out.append(digits, size);
}

// Copies the stamps' pictures beside the CSV file and remembers the ones it made, so that a
// failed export takes them away again.
class PictureCopier {
public:
    PictureCopier(const QString& imagesFolder, const ExportOptions& options)
        : files_(options.picturesFolder.isEmpty() ? QHash<std::int64_t, QString>()
                                                  : pictureFiles(imagesFolder)),
          options_(options) {
        if (!options.picturesFolder.isEmpty() && !QDir().mkpath(options.picturesFolder))
            throw durable::FileError(durable::FileError::Kind::CannotWrite,
                                     translate("CsvExport", "The folder '%1' could not be made.")
                                         .arg(options.picturesFolder));
    }
    ~PictureCopier() {
        if (!kept_)
            for (const QString& file : made_)
                QFile::remove(file);
    }
    void keep() { kept_ = true; }
    std::int64_t copied() const { return copied_; }

    // The path the picture column gives the stamp's picture, copying it there; empty when the
    // stamp has none or no pictures are exported.
    QByteArray copy(std::int64_t id) {
        const auto found = files_.constFind(id);
        if (found == files_.cend())
            return QByteArray();
        const QString target = QDir(options_.picturesFolder).filePath(QFileInfo(*found).fileName());
        durable::checkUserTarget(target, options_.keep);
        const bool existed = QFileInfo::exists(target);
        QFile source(*found);
        if (!source.open(QIODevice::ReadOnly))
            throw durable::FileError(
                durable::FileError::Kind::CannotRead,
                translate("CsvExport", "The picture '%1' could not be read: %2.")
                    .arg(*found, source.errorString()));
        const QByteArray bytes = source.readAll();
        durable::replaceFile(target, [&](const QString& temp) {
            durable::writeBytes(temp, bytes.constData(), bytes.size());
        });
        if (!existed)
            made_ << target;
        ++copied_;
        return QDir(options_.csvFolder.isEmpty() ? QDir::currentPath() : options_.csvFolder)
            .relativeFilePath(QFileInfo(target).absoluteFilePath())
            .toUtf8();
    }

private:
    QHash<std::int64_t, QString> files_;
    const ExportOptions& options_;
    QStringList made_;
    std::int64_t copied_ = 0;
    bool kept_ = false;
};

// Output is gathered and handed to the device in blocks of about this many bytes.
constexpr qsizetype BlockSize = 1 << 20;

void flush(QIODevice& device, QByteArray& block, const QString& name) {
    if (block.isEmpty())
        return;
    if (device.write(block) != block.size()) {
        if (auto* file = dynamic_cast<durable::OutputFile*>(&device))
            file->fail();
        throw durable::FileError(durable::FileError::Kind::CannotWrite,
                                 translate("CsvExport", "The file '%1' could not be written: %2.")
                                     .arg(name, device.errorString()));
    }
    block.clear();
}

} // namespace

QStringList exportColumns() {
    QStringList names;
    for (const StampField* f : exportedFields())
        names << columnName(*f);
    names << QStringLiteral("picture");
    return names;
}

QString picturesFolderBeside(const QString& csvFile) {
    const QFileInfo file(csvFile);
    return file.dir().filePath(file.completeBaseName() + QStringLiteral("-pictures"));
}

ExportOutcome writeStampsCsv(db::Database& collection, const QString& imagesFolder,
                             const StampSelection& selection, QIODevice& device,
                             const QString& name, const ExportOptions& options,
                             const WorkProgress& progress) {
    const std::vector<const StampField*> fields = exportedFields();
    const auto codes = codeDescriptions(collection);
    PictureCopier pictures(imagesFolder, options);
    QStringList names{QStringLiteral("stampid")};
    for (const StampField* f : fields)
        names << QLatin1String(f->name);
    const QString select = QStringLiteral("SELECT ") + names.join(QLatin1Char(','));
    QString from = QStringLiteral(" FROM stamp");
    if (!selection.where.trimmed().isEmpty())
        from += QStringLiteral(" WHERE ") + selection.where;
    std::int64_t total = 0;
    if (selection.stamps)
        total = std::int64_t(selection.stamps->size());
    else if (progress)
        total = collection.scalar(QStringLiteral("SELECT count(*)") + from).toInteger();

    QByteArray block;
    block.reserve(BlockSize + 4096);
    const QStringList header = exportColumns();
    for (qsizetype i = 0; i < header.size(); ++i) {
        if (i > 0)
            block.append(',');
        appendCsvValue(block, header[i].toUtf8());
    }
    endCsvRecord(block);

    ExportOutcome out;
    const auto cancel = [&] {
        ExportOutcome cancelled;
        cancelled.cancelled = true;
        return cancelled;
    };
    // One record from the row a query stands on; false when the user cancelled.
    const auto writeRow = [&](db::Query& row) {
        if (progress && out.stamps % ProgressStep == 0 && !progress(out.stamps, total))
            return false;
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (i > 0)
                block.append(',');
            const int column = int(i) + 1;
            const db::StoredKind type = row.storedKind(column);
            if (type == db::StoredKind::Null)
                continue;
            const StampField& f = *fields[i];
            const bool number = type == db::StoredKind::Integer || type == db::StoredKind::Real;
            switch (f.kind) {
            case FieldKind::Boolean:
                block.append(row.integer(column) != 0 ? "yes" : "no");
                break;
            case FieldKind::Money:
                if (number)
                    block.append(plainAmount(Currency::fromDouble(row.real(column))).toLatin1());
                else
                    appendCsvValue(block, row.utf8(column));
                break;
            case FieldKind::Integer16:
            case FieldKind::Integer32:
                if (type == db::StoredKind::Integer)
                    appendNumber(block, row.integer(column));
                else
                    appendCsvValue(block, row.utf8(column));
                break;
            case FieldKind::CodeRef:
                appendCsvValue(block, codes.value(f.codeTable).value(row.integer(column)));
                break;
            default:
                appendCsvValue(block, row.utf8(column));
                break;
            }
        }
        block.append(',');
        appendCsvValue(block, pictures.copy(row.integer(0)));
        endCsvRecord(block);
        ++out.stamps;
        if (block.size() >= BlockSize)
            flush(device, block, name);
        return true;
    };
    if (selection.stamps) {
        const auto st = collection.query(select + QStringLiteral(" FROM stamp WHERE stampid = ?"));
        for (const std::int64_t id : *selection.stamps) {
            st->run({db::Value(id)});
            if (st->next() && !writeRow(*st))
                return cancel();
        }
    } else {
        QString sql = select + from;
        if (!selection.orderBy.trimmed().isEmpty())
            sql += QStringLiteral(" ORDER BY ") + selection.orderBy;
        const auto st = collection.query(sql);
        while (st->next())
            if (!writeRow(*st))
                return cancel();
    }
    flush(device, block, name);
    if (progress && !progress(out.stamps, total))
        return cancel();
    pictures.keep();
    out.pictures = pictures.copied();
    return out;
}

ExportOutcome exportStampsCsv(db::Database& collection, const QString& imagesFolder,
                              const StampSelection& selection, const QString& target,
                              const ExportOptions& options, const WorkProgress& progress) {
    ExportOutcome out;
    ExportOptions withFolder = options;
    if (withFolder.csvFolder.isEmpty())
        withFolder.csvFolder = QFileInfo(target).absolutePath();
    try {
        durable::replaceUserFile(target, options.keep, [&](const QString& temp) {
            durable::OutputFile file(temp, target);
            file.open();
            out = writeStampsCsv(collection, imagesFolder, selection, file, target, withFolder,
                                 progress);
            if (out.cancelled)
                throw Cancelled{}; // the file is left as it was
            file.finish();
        });
    } catch (const Cancelled&) {
        out = ExportOutcome();
        out.cancelled = true;
    }
    return out;
}

} // namespace perlinex::exchange
