#pragma once

#include "db/database.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>

// A stamp's row and its picture file, stored as one step. The new picture is written whole
// beside the stamp's picture, under a hidden name that the picture lookup never takes, and
// that name records how the stamp's row stood before the store. Only once the row is stored
// does the new picture take the old one's place. A store cut short leaves that waiting picture
// behind; the next start compares the row as it now stands with the state in the name: a row
// that changed was stored, and the picture takes its place; a row as it was (or no row at all)
// was not, and the picture goes. So the row and the picture always belong together.
namespace perlinex::db {

// The name of a stamp's picture file in the picture folder: its number with eight digits and
// ".jpg" ("00000012.jpg").
QString pictureFileName(std::int64_t id);

class PendingPicture {
public:
    // Writes jpeg, the stamp's new picture, whole and to disk beside its picture file, with the
    // permissions and owner of the picture it replaces. The stamp's row (if it has one yet) must
    // not have been stored since the store began. Throws durable::FileError, or DbError when
    // the row cannot be read; nothing is left behind then and the old picture stays.
    PendingPicture(Database& collection, const QString& imagesFolder, std::int64_t id,
                   const QByteArray& jpeg);
    // A picture neither put in place nor discarded goes: its row was not stored.
    ~PendingPicture();
    PendingPicture(const PendingPicture&) = delete;
    PendingPicture& operator=(const PendingPicture&) = delete;

    // Where the picture goes.
    const QString& pictureFile() const { return picture_; }

    // Once the row is stored: the new picture takes the old one's place (through a symbolic
    // link, the file it leads to is replaced). Throws durable::FileError; the waiting picture
    // then stays, for the next start to put in place.
    void finish();
    // The row was not stored: the waiting picture goes and the old one stays.
    void discard() noexcept;

private:
    QString picture_;
    QString pending_;
    bool settled_ = false;
};

struct PictureRecovery {
    QList<std::int64_t> finished;  // stamps whose stored row had its picture put in place
    QList<std::int64_t> discarded; // stamps whose row was not stored: the waiting picture went
    // Why waiting pictures were left for a later start (the collection could not be read);
    // empty when none were.
    QString unsettled;
};

// Run at every start under the folder's lock, before the collection is opened: puts in place
// or removes the pictures that stores cut short left waiting, as their rows say.
PictureRecovery recoverPendingPictures(const QString& imagesFolder, const QString& collectionPath);

} // namespace perlinex::db
