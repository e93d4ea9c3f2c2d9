#pragma once

#include <QImage>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

namespace perlinex {

namespace db {
class Database;
class PendingPicture;
} // namespace db

class Program;

// The stamps' pictures: one file per stamp in the picture folder, named from the stamp's
// number with eight digits ("00000012.jpg"); the store holds no picture and no file name.
// A shared collection keeps its pictures on the server, a row a picture: findFile reads the
// stamp's afresh into this desk's own folder, where the views read pictures from.
class StampPictures {
public:
    explicit StampPictures(Program& program) : program_(program) {}

    // The picture file of a stamp: a file named with its eight-digit number and any
    // extension, a JPEG first; empty when there is none. Files being written are passed over.
    QString findFile(std::int64_t id) const;
    // Where the stamp's picture is stored.
    QString jpegPath(std::int64_t id) const;

    // A picture found as a bitmap (".bmp", in lower case) is stored as JPEG and the bitmap
    // deleted; when that fails the user is told and the bitmap stays. Returns the file that
    // holds the picture now.
    QString convertBitmap(const QString& bitmapFile);

    // Makes picture the stamp's new picture, written beside the stored one to take its place
    // once the stamp's row is stored (see db::PendingPicture): called after the row is begun
    // and before it is stored. A picture with no bitmap behind it (an empty clipboard, a
    // drawing) or one that cannot be written keeps the stored one, and the user is told why;
    // null then.
    std::unique_ptr<db::PendingPicture> prepare(db::Database& collection, std::int64_t id,
                                                const QImage& picture);
    // After the row's store: when the row was stored the new picture takes the old one's
    // place, otherwise it goes. A picture that cannot be put in place is reported; the next
    // start puts it there.
    void complete(db::PendingPicture& picture, bool rowStored);

    // A shared collection's picture as the JPEG to store with the stamp's row; nullopt, with the
    // user told why, when it cannot be made (the stored picture then stays).
    std::optional<QByteArray> sharedJpeg(const QImage& picture);

    // The JPEG file that a picture is stored as, the same for every way a picture comes in.
    // Throws imaging::ImagingError.
    static QByteArray jpegOf(const QImage& picture);

    // The filter of the "Load Image" dialog.
    static QString loadFilter();

private:
    QString sharedFile(std::int64_t id) const;
    bool refuseEmpty(const QImage& picture);
    bool writeJpeg(const QImage& picture, const QString& path);
    // "Failed to save the picture", naming the file, and a full disk as such.
    void tellNotSaved(const QString& path, int systemError);

    Program& program_;
};

} // namespace perlinex
