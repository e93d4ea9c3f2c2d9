#pragma once

#include "db/database.h"
#include "db/sqlite/folderlock.h"

#include <QString>
#include <memory>

// How every command reaches the collection of a program folder: the same file (links
// resolved), the same lock, a store cut short rolled back before anything is judged, and a
// collection that cannot be changed opened for reading only.
namespace perlinex::db {

// What a command means to do with the collection.
enum class Purpose {
    Read,   // check, report: an existing collection, only read; works where it cannot be written
    Change, // repair: an existing collection, refused where it cannot be written
    Make,   // new, generate: a collection to be made; refused where the folder cannot be written
    Browse, // the window: changed where it can be written, read where not, made when missing
            // (refused, as Make is, where it cannot be made)
};

struct CollectionHold {
    QString path;          // the collection file, symbolic links resolved
    bool readOnly = false; // it cannot be changed: it is opened read-only, under a shared lock
    QString rolledBack;    // words for the user when a store cut short was rolled back
    std::unique_ptr<FolderLock> lock;

    OpenMode openMode() const { return readOnly ? OpenMode::ReadOnly : OpenMode::Exclusive; }
};

// Resolves the collection of appFolder (resolvedCollectionPath), takes its lock (exclusive, or
// shared where it is only read because it cannot be changed) and rolls back a store that a
// crash or a kill cut short. Throws DbError: 3024 when Read or Change finds no collection, 3051
// when Change or Make meets a collection or folder that cannot be written, 3045 when another
// program has the collection, 3027 when a store cut short cannot be rolled back because the
// collection is read-only.
CollectionHold holdCollection(const QString& appFolder, Purpose purpose);

// The folder of a collection about to be made: made when missing and held as Make holds it.
// Throws DbError 3044 when the folder cannot be made or already holds a collection (which is
// left as it is), or what holdCollection throws.
CollectionHold holdNewCollection(const QString& folder);

// Rolls back a store of the database at path that a crash or a kill cut short (its rollback
// journal is left behind, as the engine intends), so that the file is judged as it was after
// its last whole store. True when one was rolled back. Run under the folder's lock.
bool rollBackUnfinishedStore(const QString& path);

} // namespace perlinex::db
