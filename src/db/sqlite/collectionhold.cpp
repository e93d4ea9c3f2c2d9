#include "db/sqlite/collectionhold.h"

#include "db/dberror.h"
#include "db/sqlite/maintenance.h"
#include "db/sqlite/sqlitefile.h"
#include "util/translation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace perlinex::db {

namespace {

// The engine calls a journal hot, and rolls it back at the next read, when it holds something
// and no program is storing through it. A journal whose first byte is zero has been finished
// with.
bool hasJournal(const QString& path) {
    QFile journal(path + QStringLiteral("-journal"));
    if (!journal.open(QIODevice::ReadOnly))
        return false;
    char first = 0;
    return journal.read(&first, 1) == 1 && first != 0;
}

} // namespace

bool rollBackUnfinishedStore(const QString& path) {
    if (!hasJournal(path))
        return false;
    const QString why = whyReadOnly(path);
    if (!why.isEmpty())
        throw DbError(
            err::ReadOnly,
            translate("CollectionHold",
                      "The collection %1 was stopped in the middle of a store (by a crash or a "
                      "kill). That store must be undone before the collection can be read, but "
                      "%2. Make it writable, or copy the folder to where it can be written, "
                      "and try again.")
                .arg(QDir::toNativeSeparators(path), why));
    // The engine rolls a hot journal back as it first reads the file. A journal still there
    // afterwards belongs to another program that is storing right now.
    openDatabaseFile(path, OpenMode::Shared)->close();
    return !hasJournal(path);
}

CollectionHold holdNewCollection(const QString& folder) {
    if (!QDir().mkpath(folder))
        throw DbError(err::InvalidPath,
                      translate("CollectionHold", "cannot make the folder %1").arg(folder));
    CollectionHold hold = holdCollection(folder, Purpose::Make);
    if (QFileInfo::exists(hold.path))
        throw DbError(
            err::InvalidPath,
            translate("CollectionHold",
                      "%1 already holds a collection (stamp.mdb); it has been left as it is.")
                .arg(folder));
    return hold;
}

CollectionHold holdCollection(const QString& appFolder, Purpose purpose) {
    CollectionHold hold;
    hold.path = resolvedCollectionPath(appFolder);
    const bool exists = QFileInfo::exists(hold.path);
    if (!exists && (purpose == Purpose::Read || purpose == Purpose::Change))
        throw DbError(err::FileNotFound,
                      translate("CollectionHold", "there is no collection in %1").arg(appFolder));
    const QString why = whyReadOnly(hold.path);
    if (!why.isEmpty()) {
        if (purpose == Purpose::Change)
            throw DbError(
                err::CannotOpen,
                translate("CollectionHold",
                          "The collection %1 cannot be changed: %2. Nothing has been changed.")
                    .arg(QDir::toNativeSeparators(hold.path), why));
        if (purpose == Purpose::Make || !exists)
            throw DbError(err::CannotOpen,
                          translate("CollectionHold", "A collection cannot be made in %1: %2.")
                              .arg(QDir::toNativeSeparators(appFolder), why));
        hold.readOnly = true;
    }
    hold.lock = FolderLock::take(hold.path, hold.readOnly ? FolderLock::Kind::Shared
                                                          : FolderLock::Kind::Exclusive);
    if (!exists)
        return hold;
    try {
        if (rollBackUnfinishedStore(hold.path))
            hold.rolledBack =
                translate("CollectionHold",
                          "The collection %1 was stopped in the middle of a store (by a "
                          "crash or a kill). That store has been undone: the collection "
                          "is as it was after its last complete store.")
                    .arg(QDir::toNativeSeparators(hold.path));
    } catch (const DbError& e) {
        // Damage is for the open that follows to meet and handle as it always does.
        if (e.number() == err::FileInUse || e.number() == err::ReadOnly)
            throw;
    }
    return hold;
}

} // namespace perlinex::db
