#include "db/sqlite/sqlitefile.h"

#include "db/dberror.h"
#include "db/sqlite/fileprobe.h"
#include "db/sqlite/sqlitecall.h"
#include "db/sqlite/sqliteengine.h"
#include "util/durablefile.h"
#include "util/translation.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <sqlite3.h>
#include <unistd.h>

namespace perlinex::db {

namespace {

void applyPragmas(sqlite3* db, OpenMode mode) {
    sqlite3_busy_timeout(db, 0);
    sqlite3_extended_result_codes(db, 1);
    // A double-quoted name is a name: one that names nothing is an error, never a text.
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    sqlite::registerTextFunctions(db);
    // A store's statement journal (every store of a stamp runs the search text's trigger, so
    // it keeps one) stays in memory rather than going to a temporary file for each stamp.
    detail::exec(db, QStringLiteral("PRAGMA foreign_keys = OFF; PRAGMA temp_store = MEMORY"));
    if (mode == OpenMode::ReadOnly || mode == OpenMode::ReadUnlocked)
        return;
    // A full sync on every commit: a stored record survives a crash or a power cut.
    detail::exec(db, QStringLiteral("PRAGMA journal_mode = DELETE; PRAGMA synchronous = FULL"));
    if (mode == OpenMode::Exclusive) {
        // Take the exclusive lock now, not at the first write, and keep it until closed.
        detail::exec(db, QStringLiteral("PRAGMA locking_mode = EXCLUSIVE"));
        const int rc = sqlite3_exec(db, "BEGIN EXCLUSIVE; COMMIT;", nullptr, nullptr, nullptr);
        if ((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED) {
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
            throw DbError(err::FileInUse, QString());
        }
        if (rc != SQLITE_OK)
            detail::throwSqlite(rc, db, translate("Database", "taking the lock"));
    }
}

void checkFolderAndFile(const QString& path, OpenMode mode) {
    const QFileInfo info(path);
    const QString folder = info.absolutePath();
    if (!QFileInfo(folder).isDir())
        throw DbError(err::InvalidPath,
                      translate("Database", "'%1' is not a valid path: the folder does not exist.")
                          .arg(folder));
    const FileProbe probe = probeFile(path);
    switch (probe.kind) {
    case FileKind::Missing:
        throw DbError(err::FileNotFound,
                      translate("Database", "Could not find file '%1'.").arg(path));
    case FileKind::SQLite:
        break;
    case FileKind::DamagedSQLite:
        throw DbError(
            err::DamagedFile,
            translate("Database", "The database '%1' is damaged: its header is not valid.")
                .arg(path));
    default:
        throw DbError(err::NotACollection,
                      QStringLiteral("'%1' is not a Perlinex database: it is %2. It has been left "
                                     "as it is.")
                          .arg(path, probe.description));
    }
    if (mode != OpenMode::ReadOnly) {
        const QString why = whyReadOnly(path);
        if (!why.isEmpty())
            throw DbError(
                err::CannotOpen,
                translate("Database", "The database '%1' cannot be changed: %2.").arg(path, why));
    }
}

// Any lock met while opening means another program holds the file. Ours keep each other out
// with the folder's lock before they get here, so this one is not known to be Perlinex.
DbError inUseByAnotherProgram(const QString& path) {
    return DbError(err::FileInUse,
                   QStringLiteral("'%1' is in use by another program: the file is open there. "
                                  "Close that program and try again.")
                       .arg(path));
}

} // namespace

namespace {

std::unique_ptr<Database> wrap(sqlite3* db, const QString& path, OpenMode mode) {
    return std::make_unique<Database>(std::make_unique<sqlite::SqliteEngine>(db), path, mode);
}

// Opens a connection, closing whatever half-open connection a failure leaves.
sqlite3* openConnection(const QString& path, int flags, const QByteArray& name = QByteArray()) {
    sqlite3* db = nullptr;
    const int rc =
        sqlite3_open_v2(name.isEmpty() ? QFile::encodeName(path).constData() : name.constData(),
                        &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        try {
            detail::throwSqlite(rc, db, path);
        } catch (...) {
            sqlite3_close_v2(db);
            throw;
        }
    }
    return db;
}

} // namespace

std::unique_ptr<Database> openDatabaseFile(const QString& path, OpenMode mode) {
    // An unlocked reader is opened on the file another connection of this program holds: a
    // look at its header through a descriptor of our own would, on closing it, end that
    // connection's lock.
    if (mode != OpenMode::ReadUnlocked)
        checkFolderAndFile(path, mode);
    const QString absolute = QFileInfo(path).absoluteFilePath();
    int flags = (mode == OpenMode::Exclusive || mode == OpenMode::Shared ? SQLITE_OPEN_READWRITE
                                                                         : SQLITE_OPEN_READONLY) |
                SQLITE_OPEN_NOMUTEX;
    QByteArray name;
    if (mode == OpenMode::ReadUnlocked) {
        // "immutable" rather than "nolock": it also leaves the journal alone, where a reader
        // would take the journal of a store under way for one left by a crash.
        name = "file:" + QFile::encodeName(absolute).toPercentEncoding("/") + "?immutable=1";
        flags |= SQLITE_OPEN_URI;
    }
    auto db = wrap(openConnection(absolute, flags, name), absolute, mode);
    sqlite3* h = handleOf(*db);
    try {
        applyPragmas(h, mode);
        // Reading the schema proves the file is a readable database.
        detail::exec(h, QStringLiteral("SELECT count(*) FROM sqlite_master"));
    } catch (const DbError& e) {
        if (e.number() == err::FileInUse || e.number() == err::LockedRow2)
            throw inUseByAnotherProgram(path);
        throw;
    }
    return db;
}

std::unique_ptr<Database> createDatabase(const QString& path) {
    if (QFileInfo::exists(path))
        throw DbError(err::CannotOpen, translate("Database", "'%1' already exists.").arg(path));
    if (!QFileInfo(QFileInfo(path).absolutePath()).isDir())
        throw DbError(err::InvalidPath, QStringLiteral("'%1' is not a valid path: the folder does "
                                                       "not exist.")
                                            .arg(QFileInfo(path).absolutePath()));
    const QString absolute = QFileInfo(path).absoluteFilePath();
    auto db = wrap(
        openConnection(absolute, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX),
        absolute, OpenMode::Exclusive);
    applyPragmas(handleOf(*db), OpenMode::Exclusive);
    return db;
}

std::unique_ptr<Database> createDatabaseInMemory() {
    auto db = wrap(
        openConnection(QStringLiteral(":memory:"), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE |
                                                       SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_MEMORY),
        QStringLiteral(":memory:"), OpenMode::Shared);
    applyPragmas(handleOf(*db), OpenMode::ReadOnly);
    return db;
}

QString whyReadOnly(const QString& path) {
    const QFileInfo info(path);
    if (info.exists() && ::access(QFile::encodeName(path).constData(), W_OK) != 0)
        return translate("Database", "the file is read-only");
    // The engine writes its journal beside the file.
    const QString folder = info.absolutePath();
    if (::access(QFile::encodeName(folder).constData(), W_OK) != 0)
        return translate("Database", "its folder '%1' is read-only").arg(folder);
    return QString();
}

sqlite3* handleOf(const Database& db) {
    auto* engine = dynamic_cast<sqlite::SqliteEngine*>(&db.engine());
    if (!engine)
        throw DbError(err::NotSupported,
                      QStringLiteral("Operation is not supported for this type of object."));
    return engine->handle();
}

void createDatabaseFile(const QString& path, const std::function<void(Database&)>& fill) {
    if (QFileInfo::exists(path))
        throw DbError(err::CannotOpen, translate("Database", "'%1' already exists.").arg(path));
    const QString temp = path + QStringLiteral(".new");
    const auto removeTemp = [&] {
        QFile::remove(temp);
        QFile::remove(temp + QStringLiteral("-journal"));
    };
    removeTemp();
    try {
        {
            auto db = createDatabase(temp);
            db->transaction([&] { fill(*db); });
        }
        durable::syncPath(temp, false);
        // A link never replaces a file that appeared meanwhile, where a rename would; file
        // systems without links get the rename.
        if (::link(QFile::encodeName(temp).constData(), QFile::encodeName(path).constData()) != 0) {
            if (errno == EEXIST)
                throw DbError(err::CannotOpen,
                              translate("Database", "'%1' already exists.").arg(path));
            durable::renameOver(temp, path);
        }
        durable::syncFolderOf(path);
        removeTemp();
    } catch (const durable::FileError& e) {
        removeTemp();
        throw DbError(e.kind() == durable::FileError::Kind::DiskFull ? err::DiskFull
                                                                     : err::CannotOpen,
                      e.text());
    } catch (...) {
        removeTemp();
        throw;
    }
}

} // namespace perlinex::db
