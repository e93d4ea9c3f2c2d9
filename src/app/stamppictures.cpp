#include "app/stamppictures.h"

#include "db/pg/pgpictures.h"
#include "db/sqlite/pendingpicture.h"
#include "imaging/dibsection.h"
#include "imaging/imagingerror.h"
#include "imaging/jpegwriter.h"
#include "ui/program.h"
#include "util/durablefile.h"
#include "util/translation.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace perlinex {

namespace {

constexpr int JpegQuality = 90;

QString baseName(std::int64_t id) {
    return QStringLiteral("%1").arg(id, 8, 10, QLatin1Char('0'));
}

} // namespace

QString StampPictures::jpegPath(std::int64_t id) const {
    return QDir(program_.imagesFolder()).filePath(db::pictureFileName(id));
}

QString StampPictures::findFile(std::int64_t id) const {
    if (program_.shared())
        return sharedFile(id);
    const QDir folder(program_.imagesFolder());
    QStringList names =
        folder.entryList({baseName(id) + QStringLiteral(".*")}, QDir::Files, QDir::Name);
    // A file being written (".part") is no picture yet.
    names.removeIf([](const QString& n) { return n.endsWith(QLatin1String(".part")); });
    if (names.isEmpty())
        return QString();
    const QString jpeg = baseName(id) + QStringLiteral(".jpg");
    return folder.filePath(names.contains(jpeg) ? jpeg : names.front());
}

QString StampPictures::sharedFile(std::int64_t id) const {
    if (!program_.CollectionDb)
        return QString();
    const QByteArray jpeg = db::serverPicture(*program_.CollectionDb, id);
    const QString path = jpegPath(id);
    if (jpeg.isEmpty()) {
        QFile::remove(path);
        return QString();
    }
    QFile kept(path);
    if (kept.open(QIODevice::ReadOnly) && kept.size() == jpeg.size() && kept.readAll() == jpeg)
        return path;
    kept.close();
    // Whole or not at all: a view reading the file meanwhile sees the old picture or the new.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(jpeg) != jpeg.size() || !file.commit())
        return QString();
    return path;
}

bool StampPictures::writeJpeg(const QImage& picture, const QString& path) {
    try {
        imaging::cDIBSection bitmap;
        bitmap.CreateFromPicture(picture);
        imaging::SaveJPG(bitmap, path, JpegQuality);
        return true;
    } catch (const imaging::ImagingError& e) {
        tellNotSaved(path, e.systemError());
        return false;
    }
}

void StampPictures::tellNotSaved(const QString& path, int systemError) {
    QString text = translate("StampPictures", "Failed to save the picture to the file: '%1'")
                       .arg(QDir::toNativeSeparators(path));
    if (durable::kindOf(systemError) == durable::FileError::Kind::DiskFull)
        text += translate("StampPictures", ": %1. The picture stored before has been kept.")
                    .arg(durable::systemError(systemError));
    program_.dialogs().message(text, ProgramTitle, Buttons::Ok, Icon::Warning);
}

QString StampPictures::convertBitmap(const QString& bitmapFile) {
    QString jpeg = bitmapFile;
    jpeg.replace(jpeg.size() - 4, 4, QStringLiteral(".jpg"));
    if (!writeJpeg(QImage(bitmapFile), jpeg))
        return bitmapFile;
    QFile::remove(bitmapFile);
    return jpeg;
}

bool StampPictures::refuseEmpty(const QImage& picture) {
    if (!picture.isNull())
        return false;
    program_.dialogs().message(
        translate("StampPictures",
                  "The picture could not be stored: it holds no bitmap (the clipboard held no "
                  "picture, or the file is a drawing). The stamp's stored picture has been kept."),
        ProgramTitle, Buttons::Ok, Icon::Warning);
    return true;
}

std::optional<QByteArray> StampPictures::sharedJpeg(const QImage& picture) {
    if (refuseEmpty(picture))
        return std::nullopt;
    try {
        return jpegOf(picture);
    } catch (const imaging::ImagingError& e) {
        program_.dialogs().message(
            translate("StampPictures",
                      "The picture could not be stored: %1. The stamp's stored picture has been "
                      "kept.")
                .arg(e.text()),
            ProgramTitle, Buttons::Ok, Icon::Warning);
    }
    return std::nullopt;
}

std::unique_ptr<db::PendingPicture> StampPictures::prepare(db::Database& collection,
                                                           std::int64_t id, const QImage& picture) {
    if (refuseEmpty(picture))
        return nullptr;
    try {
        return std::make_unique<db::PendingPicture>(collection, program_.imagesFolder(), id,
                                                    jpegOf(picture));
    } catch (const imaging::ImagingError& e) {
        tellNotSaved(jpegPath(id), e.systemError());
    } catch (const durable::FileError& e) {
        tellNotSaved(jpegPath(id), e.systemError());
    }
    return nullptr;
}

void StampPictures::complete(db::PendingPicture& picture, bool rowStored) {
    if (!rowStored) {
        picture.discard();
        return;
    }
    try {
        picture.finish();
    } catch (const durable::FileError& e) {
        tellNotSaved(picture.pictureFile(), e.systemError());
    }
}

QByteArray StampPictures::jpegOf(const QImage& picture) {
    imaging::cDIBSection bitmap;
    bitmap.CreateFromPicture(picture);
    return imaging::EncodeJPG(bitmap, JpegQuality);
}

QString StampPictures::loadFilter() {
    return translate(
        "StampPictures",
        "All Picture Files (*.bmp *.dib *.gif *.jpg *.jpeg *.png *.tif *.tiff *.wmf *.emf "
        "*.ico *.cur);;Bitmaps (*.bmp *.dib);;GIF Images (*.gif);;JPEG Images (*.jpg "
        "*.jpeg);;PNG Images (*.png);;TIFF Images (*.tif *.tiff);;Metafiles (*.wmf "
        "*.emf);;Icons (*.ico *.cur);;All Files (*)");
}

} // namespace perlinex
