#pragma once

#include "db/database.h"
#include "db/fields.h"
#include "db/recordset.h"
#include "exchange/columnmap.h"
#include "exchange/importplan.h"
#include "exchange/importstore.h"
#include "regional/regional.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <stdexcept>
#include <zip.h>

// Files the exchange tests make, and stamps read back from a collection.
namespace exchange_test {

namespace db = perlinex::db;
namespace ex = perlinex::exchange;

inline void writeBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        throw std::runtime_error("could not write " + path.toStdString());
}

inline QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A small picture in a format Load Image reads.
inline QByteArray pngPicture(QRgb colour) {
    QImage image(6, 4, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// Pictures taken as they are: the library's tests need no imaging.
inline QByteArray sameBytes(const QByteArray& picture, QString*) {
    return picture;
}

// Every stamp, in number order, as field name -> stored text (classifications by their
// description); the number itself left out.
inline QList<QMap<QString, QString>> storedStamps(db::Database& collection) {
    QList<QMap<QString, QString>> out;
    auto set = collection.openRecordSet(QStringLiteral("Select * from stamp order by stampid"),
                                        db::RecordSetKind::Snapshot);
    for (; !set->eof(); set->moveNext()) {
        QMap<QString, QString> row;
        for (const db::StampField& f : db::stampFields()) {
            const QString name = QLatin1String(f.name);
            const db::Value v = set->field(name);
            if (f.kind == db::FieldKind::Counter)
                continue;
            if (f.kind == db::FieldKind::CodeRef) {
                const db::CodeTable& t = *db::codeTable(f.codeTable);
                row[name] =
                    v.isNull()
                        ? QString()
                        : collection
                              .scalar(QStringLiteral("select %1 from %2 where %3 = %4")
                                          .arg(QLatin1String(t.descField), QLatin1String(t.table),
                                               QLatin1String(t.idField))
                                          .arg(v.toInteger()))
                              .toText();
            } else if (f.kind == db::FieldKind::Money) {
                row[name] = v.isNull() ? QString() : v.toCurrency().toPlainText();
            } else if (f.kind == db::FieldKind::Boolean) {
                row[name] = v.toBool() ? QStringLiteral("yes") : QStringLiteral("no");
            } else if (f.kind == db::FieldKind::Date) {
                row[name] = v.isNull() ? QString() : v.toDate().toString(Qt::ISODate);
            } else {
                row[name] = v.toText();
            }
        }
        out << row;
    }
    return out;
}

// A Tellico collection file: a zip archive of tellico.xml and the given pictures.
inline void writeTellicoFile(const QString& path, const QByteArray& xml,
                             const QList<QPair<QString, QByteArray>>& images = {}) {
    int error = 0;
    zip_t* archive =
        zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive)
        throw std::runtime_error("could not make " + path.toStdString());
    // The sources keep their bytes until the archive is closed.
    QList<QByteArray> kept{xml};
    const auto add = [&](const QByteArray& name, const QByteArray& bytes) {
        zip_source_t* source =
            zip_source_buffer(archive, bytes.constData(), zip_uint64_t(bytes.size()), 0);
        if (!source || zip_file_add(archive, name.constData(), source, ZIP_FL_OVERWRITE) < 0)
            throw std::runtime_error("could not add " + name.toStdString());
    };
    add("tellico.xml", kept.front());
    for (const auto& [name, bytes] : images) {
        kept << bytes;
        add("images/" + name.toUtf8(), kept.back());
    }
    if (zip_close(archive) != 0)
        throw std::runtime_error("could not close " + path.toStdString());
}

// The XML of a Tellico collection of the given type with default fields and the given entries.
inline QByteArray tellicoXml(int type, const QString& entries, const QString& images = QString()) {
    return QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE tellico PUBLIC "-//Robby Stephenson/DTD Tellico V11.0//EN" "http://periapsis.org/tellico/dtd/v11/tellico.dtd">
<tellico xmlns="http://periapsis.org/tellico/" syntaxVersion="11">
 <collection title="My Stamps" type="%1">
  <fields>
   <field name="_default"/>
   <field flags="0" title="Watermark" category="General" format="4" type="1" name="watermark"/>
  </fields>
%2
  <images>%3</images>
 </collection>
</tellico>
)")
        .arg(type)
        .arg(entries, images)
        .toUtf8();
}

} // namespace exchange_test
