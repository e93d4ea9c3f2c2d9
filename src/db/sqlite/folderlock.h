#pragma once

#include <QString>
#include <memory>

namespace perlinex::db {

// One program at a time on a collection folder: an flock on a lock file beside the collection,
// taken before the collection is opened or made and held for the program's whole life, so that
// no second program gets in while the collection is closed for a compaction, a backup, a
// restore or a repair. The kernel lets it go when the process ends, however it ends.
//
// A collection that cannot be changed (read-only media, a read-only file) is only read, and
// readers may share it: they take shared locks, on the lock file where it exists or can be
// made, and always on the collection's folder. A writer, besides its exclusive lock on the lock
// file, tries the folder's lock for a moment, so that it is refused while a reader that could
// not make the lock file reads. The folder is locked, not the collection file: closing a file
// the engine has open would drop the engine's own locks on it.
class FolderLock {
public:
    enum class Kind { Exclusive, Shared };

    // Takes the lock of the collection at collectionPath (which need not exist yet). Throws
    // DbError 3045 at once when another program holds it, 3051 when the lock file cannot be
    // made (Exclusive) or the folder cannot be locked (Shared).
    static std::unique_ptr<FolderLock> take(const QString& collectionPath,
                                            Kind kind = Kind::Exclusive);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    Kind kind() const { return kind_; }

    // The lock file: the collection's name with ".lock" added.
    static QString lockFileOf(const QString& collectionPath);

private:
    FolderLock(Kind kind, int lockFile, int folder)
        : kind_(kind), lockFile_(lockFile), folder_(folder) {}
    Kind kind_;
    int lockFile_; // -1 for a shared lock where no lock file could be made
    int folder_;   // -1 for an exclusive lock
};

} // namespace perlinex::db
