#pragma once

#include <QString>
#include <memory>

namespace perlinex::db {

// One program at a time on a collection folder: an flock on a lock file beside the collection,
// taken before the collection is opened or made and held for the program's whole life, so that
// no second program gets in while the collection is closed for a compaction, a backup, a
// restore or a repair. The kernel lets it go when the process ends, however it ends.
class FolderLock {
public:
    // Takes the lock of the collection at collectionPath (which need not exist yet). Throws
    // DbError 3045 at once when another program holds it, 3051 when the lock file cannot be
    // made.
    static std::unique_ptr<FolderLock> take(const QString& collectionPath);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // The lock file: the collection's name with ".lock" added.
    static QString lockFileOf(const QString& collectionPath);

private:
    explicit FolderLock(int fd) : fd_(fd) {}
    int fd_;
};

} // namespace perlinex::db
