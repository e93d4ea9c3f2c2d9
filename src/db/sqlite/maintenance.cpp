#include "db/sqlite/maintenance.h"

#include "db/dberror.h"
#include "db/sqlite/collectionfile.h"
#include "db/sqlite/fileprobe.h"
#include "db/sqlite/folderlock.h"
#include "db/sqlite/salvage.h"
#include "db/sqlite/sqlitecall.h"
#include "db/sqlite/sqliteengine.h"
#include "db/sqlite/sqlitefile.h"
#include "util/durablefile.h"
#include "util/translation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace perlinex::db {

namespace {

StepHook& hook() {
    static StepHook h;
    return h;
}

void step(const char* name) {
    if (hook())
        hook()(name);
}

[[noreturn]] void fail(int number, const QString& text) {
    throw DbError(number, text);
}

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

void removeQuietly(const QString& path) {
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-journal"));
}

bool isThere(const QString& path) {
    struct stat st {};
    return ::lstat(native(path).constData(), &st) == 0;
}

// Removes a file, a link or a whole folder; true when something was there.
bool removeEntry(const QString& path) {
    const QFileInfo info(path);
    if (!isThere(path))
        return false;
    if (info.isDir() && !info.isSymLink())
        QDir(path).removeRecursively();
    else
        QFile::remove(path);
    return true;
}

// Undoes the partial work of an operation unless it was dismissed: whichever way the operation
// ends early (a failed step, a full disk, an exception from a progress callback), nothing
// half-made stays in the user's folders.
class OnFailure {
public:
    explicit OnFailure(std::function<void()> undo) : undo_(std::move(undo)) {}
    ~OnFailure() {
        if (!undo_)
            return;
        try {
            undo_();
        } catch (...) {
            // The original failure is the one to report.
        }
    }
    OnFailure(const OnFailure&) = delete;
    OnFailure& operator=(const OnFailure&) = delete;
    void dismiss() { undo_ = nullptr; }

private:
    std::function<void()> undo_;
};

// A file reached through symbolic links, as the real file. A link that leads nowhere is
// refused: writing through it would make a new file where the user's collection used to be.
QString resolveLinks(const QString& path) {
    const QFileInfo info(path);
    if (!info.isSymLink())
        return info.absoluteFilePath();
    if (char* real = ::realpath(native(path).constData(), nullptr)) {
        const QString resolved = QFile::decodeName(real);
        std::free(real);
        return resolved;
    }
    const int error = errno;
    if (error != ENOENT && error != ELOOP)
        fail(err::FileNotFound,
             translate("Maintenance",
                       "The collection %1 is a symbolic link to %2, which cannot be reached: %3.")
                 .arg(shown(path), shown(info.symLinkTarget()), durable::systemError(error)));
    if (error == ELOOP)
        fail(err::FileNotFound,
             translate(
                 "Maintenance",
                 "The collection %1 is a symbolic link that leads round in a circle. Perlinex has "
                 "not changed it; make the link lead to the collection file, or remove it.")
                 .arg(shown(path)));
    fail(err::FileNotFound,
         translate(
             "Maintenance",
             "The collection %1 is a symbolic link to %2, which does not exist. Perlinex has not "
             "made a new collection in its place; put the collection file back where the link "
             "leads, or remove the link.")
             .arg(shown(path), shown(info.symLinkTarget())));
}

// The durable-file helpers report in their own terms; the store's callers expect its errors.
DbError storeError(const durable::FileError& e) {
    switch (e.kind()) {
    case durable::FileError::Kind::DiskFull:
        return DbError(err::DiskFull, e.text());
    case durable::FileError::Kind::NotFound:
        return DbError(err::FileNotFound, e.text());
    case durable::FileError::Kind::CannotRead:
    case durable::FileError::Kind::CannotWrite:
    case durable::FileError::Kind::Refused:
        return DbError(err::CannotOpen, e.text());
    case durable::FileError::Kind::Other:
        break;
    }
    return DbError(err::DiskError, e.text());
}

template <typename Fn> auto inStoreTerms(Fn&& fn) {
    try {
        return fn();
    } catch (const durable::FileError& e) {
        throw storeError(e);
    }
}

void syncPath(const QString& path, bool directory) {
    inStoreTerms([&] { durable::syncPath(path, directory); });
}
void renameOver(const QString& from, const QString& to) {
    inStoreTerms([&] { durable::renameOver(from, to); });
}
void copyDurably(const QString& from, const QString& to) {
    inStoreTerms([&] { durable::copyDurably(from, to); });
}
void keepCopy(const QString& from, const QString& to) {
    inStoreTerms([&] { durable::keepCopy(from, to); });
}

// A raw connection for reading a file that may not pass our own checks.
struct RawDb {
    sqlite3* db = nullptr;
    RawDb(const QString& path, int flags) {
        const int rc = sqlite3_open_v2(native(path).constData(), &db, flags, nullptr);
        if (rc != SQLITE_OK) {
            const QString why = QString::fromUtf8(sqlite3_errmsg(db));
            sqlite3_close_v2(db);
            db = nullptr;
            fail(err::CannotOpen,
                 translate("Maintenance", "Could not open '%1': %2").arg(path, why));
        }
        sqlite3_extended_result_codes(db, 1);
        sqlite::registerTextFunctions(db);
    }
    ~RawDb() { sqlite3_close_v2(db); }
    RawDb(const RawDb&) = delete;
    RawDb& operator=(const RawDb&) = delete;
};

QStringList allTables() {
    QStringList t{QStringLiteral("stamp")};
    for (int i = 0; i < 9; ++i)
        t << QString::fromLatin1(codeTables()[i].table);
    return t;
}

std::int64_t count(sqlite3* db, const QString& sql) {
    detail::Statement st(db, sql);
    return st.step() ? st.columnInt(0) : 0;
}

// Row counts of every table and the counters' high-water marks: what a faithful copy keeps.
QString fingerprint(sqlite3* db) {
    QStringList parts;
    for (const QString& t : allTables())
        parts << QStringLiteral("%1=%2").arg(t).arg(
            count(db, QStringLiteral("SELECT count(*) FROM \"%1\"").arg(t)));
    detail::Statement st(db,
                         QStringLiteral("SELECT lower(name), seq FROM sqlite_sequence ORDER BY 1"));
    while (st.step())
        parts << QStringLiteral("seq:%1=%2").arg(st.columnText(0)).arg(st.columnInt(1));
    return parts.join(QLatin1Char(','));
}

// Lets progress hear from the engine now and then while a long statement runs.
class EngineProgress {
public:
    EngineProgress(sqlite3* db, const Progress& progress) : db_(db), progress_(progress) {
        if (progress_)
            sqlite3_progress_handler(db_, 50000, &EngineProgress::call, this);
    }
    ~EngineProgress() {
        if (progress_)
            sqlite3_progress_handler(db_, 0, nullptr, nullptr);
    }
    EngineProgress(const EngineProgress&) = delete;
    EngineProgress& operator=(const EngineProgress&) = delete;

private:
    static int call(void* self) {
        try {
            static_cast<EngineProgress*>(self)->progress_(0, 0);
        } catch (...) {
            // Nothing may unwind through the engine.
        }
        return 0;
    }
    sqlite3* db_;
    const Progress& progress_;
};

// The page cache of the copy and of its check. Both read every page once, in order, so a
// larger cache saves nothing: 256 MB ran no faster at a million stamps and more than doubled
// the peak memory (the copy's new file and the sorter of its indexes take the same size).
void setMaintenanceCache(sqlite3* db) {
    detail::exec(db, QStringLiteral("PRAGMA cache_size = -16384"));
}

// A new file is checked for what it must hold rather than read whole: its structure by the
// engine's quick check, every table and field, and the row counts and counters of the
// original.
void verifyCopy(const QString& copy, const QString& expectedFingerprint, const Progress& progress) {
    QString why;
    bool whole = false;
    try {
        auto db = openDatabaseFile(copy, OpenMode::ReadOnly);
        setMaintenanceCache(handleOf(*db));
        EngineProgress reporting(handleOf(*db), progress);
        whole = quickCheck(*db, &why);
        if (whole) {
            const QStringList missing = collectionProblems(*db);
            why = missing.join(QLatin1String(", "));
            whole = missing.isEmpty();
        }
        if (whole && fingerprint(handleOf(*db)) != expectedFingerprint)
            fail(err::DiskError,
                 translate("Maintenance",
                           "The new file '%1' does not hold everything of the collection.")
                     .arg(copy));
    } catch (const DbError& e) {
        if (e.number() == err::DiskError)
            throw;
        why = e.text();
        whole = false;
    }
    if (!whole)
        fail(err::DiskError,
             translate("Maintenance", "The new file '%1' is not a whole collection (%2).")
                 .arg(copy, why));
}

} // namespace

void setStepHook(StepHook h) {
    hook() = std::move(h);
}

void reachStep(const char* name) {
    step(name);
}

QStringList checkCollection(const QString& path) {
    const FileProbe probe = probeFile(path);
    if (probe.kind != FileKind::SQLite)
        return {translate("Maintenance", "it is %1").arg(probe.description)};
    try {
        auto db = openDatabaseFile(path, OpenMode::ReadOnly);
        const QStringList problems = engineCheck(*db, EngineCheck::Full);
        if (problems != QStringList{QStringLiteral("ok")})
            return problems;
        return collectionProblems(*db);
    } catch (const DbError& e) {
        return {e.text()};
    }
}

bool isIntactCollection(const QString& path, QString* why) {
    const QStringList problems = checkCollection(path);
    if (why)
        *why = problems.join(QLatin1String("; ")).left(300);
    return problems.isEmpty();
}

QString resolvedCollectionPath(const QString& appFolder) {
    return resolveLinks(QDir(appFolder).filePath(QString::fromLatin1(CollectionFileName)));
}

void compactCollection(const QString& appFolder, const Progress& progress) {
    const QString source = resolvedCollectionPath(appFolder);
    const QDir dir(QFileInfo(source).absolutePath());
    const QString target = dir.filePath(QString::fromLatin1(CompactTargetFileName));
    const QString kept = dir.filePath(QString::fromLatin1(CompactBackupFileName));

    step("remove-old-target");
    removeQuietly(target);
    try {
        OnFailure cleanup([&] { removeQuietly(target); });
        step("compact");
        QString expected;
        {
            auto db = openDatabaseFile(source, OpenMode::Exclusive);
            expected = fingerprint(handleOf(*db));
            setMaintenanceCache(handleOf(*db));
            EngineProgress reporting(handleOf(*db), progress);
            detail::exec(handleOf(*db), QStringLiteral("VACUUM INTO '%1'")
                                            .arg(QString(target).replace(QLatin1Char('\''),
                                                                         QStringLiteral("''"))));
        }
        step("verify");
        syncPath(target, false);
        verifyCopy(target, expected, progress);
        step("keep-previous");
        keepCopy(source, kept);
        step("replace");
        renameOver(target, source);
        cleanup.dismiss();
    } catch (const DbError& e) {
        if (e.number() == err::DiskFull)
            fail(err::DiskFull,
                 QStringLiteral("The collection could not be compacted: there is not "
                                "enough space on the disk. It has been left as it was."));
        fail(e.number(),
             QStringLiteral("The collection could not be compacted: %1 It has been left "
                            "as it was.")
                 .arg(e.text()));
    }
    step("done");
}

bool RepairReport::fellShort() const {
    return !expectedKnown || (stamps == 0 && expectedStamps > 0) ||
           stamps * 100 < expectedStamps * 95;
}

std::int64_t RepairReport::missingStamps() const {
    return expectedKnown ? std::max<std::int64_t>(0, expectedStamps - stamps) : 0;
}

RepairReport repairCollection(const QString& damagedPath,
                              const std::function<bool(const RepairReport&)>& accept) {
    const QString dbPath = resolveLinks(damagedPath);
    const QFileInfo info(dbPath);
    const QString folder = info.absolutePath();
    const QString fresh = dbPath + QStringLiteral(".repair");
    RepairReport report;
    report.damagedCopy = durable::unusedName(
        folder,
        QStringLiteral("%1-damaged-%2")
            .arg(info.completeBaseName(),
                 QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"))),
        QStringLiteral(".mdb"));
    bool renaming = false;
    try {
        // Until the repaired file is in place the damaged one stays under its own name, so the
        // copy of it would only take room.
        OnFailure cleanup([&] {
            if (!renaming || isThere(fresh))
                QFile::remove(report.damagedCopy);
            removeQuietly(fresh);
        });
        step("keep-damaged");
        copyDurably(dbPath, report.damagedCopy);

        step("recover");
        removeQuietly(fresh);
        {
            auto db = createCollection(fresh, false);
            SalvageOutcome salvaged;
            db->transaction([&] { salvaged = salvageCollection(report.damagedCopy, *db); });
            db->close();
            report.stamps = salvaged.stamps;
            report.codes = salvaged.codes;
            report.lostRows = salvaged.lostRows;
            report.cutRows = salvaged.cutRows;
            report.mendedStamps = salvaged.mendedStamps;
            report.expectedStamps = salvaged.expectedStamps;
            report.expectedKnown = salvaged.stampsHeldKnown;
            report.notes = salvaged.notes;
        }
        step("verify");
        syncPath(fresh, false);
        QString why;
        if (!isIntactCollection(fresh, &why))
            fail(err::DamagedFile,
                 translate("Maintenance", "The repaired collection is not whole (%1).").arg(why));
        // Declined: the cleanup takes the recovered file and the copy away again.
        if (accept && !accept(report))
            return report;
        step("replace");
        renaming = true;
        renameOver(fresh, dbPath);
        cleanup.dismiss();
    } catch (const DbError& e) {
        if (e.number() == err::DiskFull)
            fail(err::DiskFull,
                 translate("Maintenance",
                           "There is not enough space on the disk to repair the "
                           "collection. The damaged file has been left where it was."));
        throw;
    }
    QFile::remove(dbPath + QStringLiteral("-journal"));
    report.replaced = true;
    return report;
}

void replaceCollectionWith(const QString& source, const QString& path, const QString& keptName) {
    const QString dbPath = resolveLinks(path);
    QString why;
    if (!isIntactCollection(source, &why))
        fail(err::DamagedFile,
             translate("Maintenance", "'%1' is not a whole collection (%2).").arg(source, why));
    const QString temp = dbPath + QStringLiteral(".incoming");
    OnFailure cleanup([&] { QFile::remove(temp); });
    step("copy-in");
    copyDurably(source, temp);
    if (!keptName.isEmpty() && QFileInfo::exists(dbPath)) {
        step("keep-current");
        const QFileInfo info(dbPath);
        keepCopy(dbPath, durable::unusedName(info.absolutePath(),
                                             QStringLiteral("%1-%2-%3")
                                                 .arg(info.completeBaseName(), keptName,
                                                      QDateTime::currentDateTime().toString(
                                                          QStringLiteral("yyyyMMdd-HHmmss"))),
                                             QStringLiteral(".mdb")));
    }
    step("replace");
    renameOver(temp, dbPath);
    cleanup.dismiss();
    QFile::remove(dbPath + QStringLiteral("-journal"));
}

namespace {

// The files of a folder tree, by path under its root, and what in it could not be read.
struct Tree {
    QStringList files;
    QList<NotCopied> unreadable; // named as the user sees them, "images/gb"
};

using Seen = std::set<std::pair<dev_t, ino_t>>;

QString whatItIs(mode_t mode) {
    if (S_ISFIFO(mode))
        return translate("Maintenance", "a named pipe, not a file");
    if (S_ISSOCK(mode))
        return translate("Maintenance", "a socket, not a file");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return translate("Maintenance", "a device, not a file");
    return translate("Maintenance", "not a file");
}

// Why a name in a folder cannot be reached by stat: a link that leads nowhere, or the error.
QString unreachable(const QString& path, int error) {
    struct stat st {};
    if (::lstat(native(path).constData(), &st) == 0 && S_ISLNK(st.st_mode))
        return error == ELOOP ? translate("Maintenance", "a link that leads round in a circle")
                              : translate("Maintenance", "a link that leads nowhere");
    return durable::systemError(error);
}

void listInto(const QString& folder, const QString& relative, const QString& name, Tree& tree,
              Seen& seen) {
    DIR* d = ::opendir(native(folder).constData());
    if (!d) {
        tree.unreadable.push_back(
            {name, translate("Maintenance", "the folder could not be read: %1")
                       .arg(durable::systemError(errno))});
        return;
    }
    QStringList names;
    for (;;) {
        errno = 0;
        const dirent* e = ::readdir(d);
        if (!e)
            break;
        const QString entry = QFile::decodeName(e->d_name);
        if (entry != QLatin1String(".") && entry != QLatin1String(".."))
            names << entry;
    }
    const int readError = errno;
    ::closedir(d);
    if (readError != 0)
        tree.unreadable.push_back(
            {name, translate("Maintenance", "the folder could not be read to its end: %1")
                       .arg(durable::systemError(readError))});
    names.sort();
    for (const QString& entry : names) {
        const QString path = folder + QLatin1Char('/') + entry;
        const QString rel = relative.isEmpty() ? entry : relative + QLatin1Char('/') + entry;
        const QString entryName = name + QLatin1Char('/') + entry;
        struct stat st {};
        if (::stat(native(path).constData(), &st) != 0) {
            tree.unreadable.push_back({entryName, unreachable(path, errno)});
        } else if (S_ISDIR(st.st_mode)) {
            // A folder reached twice through links is copied once; a circle of links ends.
            if (seen.insert({st.st_dev, st.st_ino}).second)
                listInto(path, rel, entryName, tree, seen);
        } else if (S_ISREG(st.st_mode)) {
            tree.files << rel;
        } else {
            // Opening a pipe would wait for a writer for ever.
            tree.unreadable.push_back({entryName, whatItIs(st.st_mode)});
        }
    }
}

// No folder at all is an empty tree: a collection need not have pictures.
Tree listTree(const QString& root, const QString& name) {
    Tree tree;
    struct stat st {};
    if (::stat(native(root).constData(), &st) != 0) {
        const int error = errno;
        if (isThere(root) || error != ENOENT)
            tree.unreadable.push_back({name, unreachable(root, error)});
        return tree;
    }
    if (!S_ISDIR(st.st_mode)) {
        tree.unreadable.push_back({name, translate("Maintenance", "it is not a folder")});
        return tree;
    }
    Seen seen{{st.st_dev, st.st_ino}};
    listInto(root, QString(), name, tree, seen);
    return tree;
}

QString describe(const NotCopied& n) {
    return QStringLiteral("%1 (%2)").arg(n.path, n.why);
}

// Copies the files of a folder tree to a new folder. With notCopied given, what cannot be
// read is reported there and left out; without it, the copy fails. Failures to write, such as
// a full disk, always fail it.
void copyTree(const QString& from, const QString& to, const QString& name,
              QList<NotCopied>* notCopied, const Progress& progress) {
    if (!QDir().mkpath(to))
        fail(err::CannotOpen, translate("Maintenance", "Could not make the folder '%1'.").arg(to));
    const Tree tree = listTree(from, name);
    if (!tree.unreadable.isEmpty()) {
        if (!notCopied)
            fail(err::CannotOpen, translate("Maintenance", "%1 could not be copied: %2.")
                                      .arg(shown(from), describe(tree.unreadable[0])));
        *notCopied << tree.unreadable;
    }
    QStringList folders{to};
    for (qsizetype i = 0; i < tree.files.size(); ++i) {
        const QString source = QDir(from).filePath(tree.files[i]);
        const QString target = QDir(to).filePath(tree.files[i]);
        const QString folder = QFileInfo(target).absolutePath();
        if (!folders.contains(folder)) {
            if (!QDir().mkpath(folder))
                fail(err::CannotOpen,
                     translate("Maintenance", "Could not make the folder '%1'.").arg(folder));
            folders << folder;
        }
        const QString entryName = name + QLatin1Char('/') + tree.files[i];
        QFile check(source);
        if (notCopied && !check.open(QIODevice::ReadOnly)) {
            *notCopied << NotCopied{entryName, check.errorString()};
        } else {
            check.close();
            try {
                durable::copyDurably(source, target);
            } catch (const durable::FileError& e) {
                const bool unreadable = e.kind() == durable::FileError::Kind::CannotRead ||
                                        e.kind() == durable::FileError::Kind::NotFound;
                if (!notCopied || !unreadable)
                    throw storeError(e);
                *notCopied << NotCopied{entryName, e.text()};
            }
        }
        if (progress)
            progress(i + 1, tree.files.size());
    }
    // Every new folder's entries, so that a crash after the copy cannot lose a picture.
    for (const QString& folder : folders)
        syncPath(folder, true);
}

const char* const ImagesFolderName = "images";

void writeTextFile(const QString& path, const QString& text) {
    inStoreTerms([&] {
        durable::replaceOwnFile(path, [&](const QString& temp) {
            const QByteArray bytes = text.toUtf8();
            const int fd = ::open(native(temp).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (fd < 0)
                fail(err::CannotOpen, translate("Maintenance", "Could not write '%1': %2.")
                                          .arg(temp, durable::systemError(errno)));
            const ssize_t n = ::write(fd, bytes.constData(), size_t(bytes.size()));
            const int error = errno;
            ::close(fd);
            if (n != bytes.size()) {
                const bool full = n >= 0 || error == ENOSPC || error == EFBIG || error == EDQUOT;
                fail(full ? err::DiskFull : err::DiskError,
                     translate("Maintenance", "Could not write '%1': %2.")
                         .arg(temp, durable::systemError(n >= 0 ? ENOSPC : error)));
            }
        });
    });
}

QString listed(const QList<NotCopied>& items, qsizetype most) {
    QStringList lines;
    for (qsizetype i = 0; i < items.size() && i < most; ++i)
        lines << describe(items[i]);
    if (items.size() > most)
        lines << translate("Maintenance", "and %1 more").arg(items.size() - most);
    return lines.join(QLatin1Char('\n'));
}

} // namespace

QString BackupReport::message() const {
    if (complete())
        return translate("Maintenance",
                         "The backup has been made in the folder\n%1\n\nIt holds the collection "
                         "(stamp.mdb) and its pictures (images).")
            .arg(shown(folder));
    return translate(
               "Maintenance",
               "The backup in the folder\n%1\n\nis incomplete. It holds the collection "
               "(stamp.mdb), but these pictures could not be read and are not in it:\n\n%2\n\n"
               "Make them readable and make the backup again. The list is kept in the backup "
               "as incomplete.txt.")
        .arg(shown(folder), listed(notCopied, 10));
}

bool isBackupFolder(const QString& folder) {
    return isIntactCollection(QDir(folder).filePath(QString::fromLatin1(CollectionFileName)));
}

BackupReport backupCollection(const QString& appFolder, const QString& destination,
                              const QDateTime& when, const Progress& progress) {
    if (!QFileInfo(destination).isDir())
        fail(err::InvalidPath,
             translate("Maintenance", "The backup folder '%1' does not exist.").arg(destination));
    const QDir app(appFolder);
    const QString source = resolvedCollectionPath(appFolder);
    BackupReport report;
    report.folder =
        durable::unusedName(destination,
                            QStringLiteral("Perlinex backup %1")
                                .arg(when.toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"))),
                            QString());
    const QString partial =
        QDir(destination)
            .filePath(QStringLiteral(".%1.partial").arg(QFileInfo(report.folder).fileName()));
    removeEntry(partial);
    try {
        OnFailure cleanup([&] { removeEntry(partial); });
        if (!QDir().mkpath(partial))
            fail(err::CannotOpen,
                 translate("Maintenance", "Could not make a folder in '%1'.").arg(destination));
        const QString copy = QDir(partial).filePath(QString::fromLatin1(CollectionFileName));
        step("copy-collection");
        QString expected;
        {
            // A collection that cannot be changed is backed up all the same.
            auto db = openDatabaseFile(source, whyReadOnly(source).isEmpty() ? OpenMode::Exclusive
                                                                             : OpenMode::ReadOnly);
            expected = fingerprint(handleOf(*db));
            RawDb out(copy, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
            sqlite3_backup* b = sqlite3_backup_init(out.db, "main", handleOf(*db), "main");
            if (!b)
                detail::throwSqlite(sqlite3_errcode(out.db), out.db, copy);
            // In steps, so that the window can show how far it got.
            int rc = SQLITE_OK;
            while ((rc = sqlite3_backup_step(b, 4096)) == SQLITE_OK)
                if (progress)
                    progress(sqlite3_backup_pagecount(b) - sqlite3_backup_remaining(b),
                             sqlite3_backup_pagecount(b));
            sqlite3_backup_finish(b);
            if (rc != SQLITE_DONE)
                detail::throwSqlite(rc, out.db, copy);
        }
        syncPath(copy, false);
        step("verify");
        verifyCopy(copy, expected, progress);
        step("copy-images");
        const QString images = QString::fromLatin1(ImagesFolderName);
        copyTree(app.filePath(images), QDir(partial).filePath(images), images, &report.notCopied,
                 progress);
        if (!report.complete()) {
            QStringList lines{translate(
                "Maintenance", "This backup is incomplete: these pictures could not be read "
                               "when it was made, and are not in it.")};
            for (const NotCopied& n : report.notCopied)
                lines << describe(n);
            writeTextFile(QDir(partial).filePath(QStringLiteral("incomplete.txt")),
                          lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
        }
        step("finish");
        renameOver(partial, report.folder);
        cleanup.dismiss();
        return report;
    } catch (const DbError& e) {
        if (e.number() == err::DiskFull)
            fail(err::DiskFull, QStringLiteral("The backup could not be made: there is not enough "
                                               "space on the disk. Nothing has been changed."));
        fail(e.number(),
             translate("Maintenance", "The backup could not be made: %1").arg(e.text()));
    }
}

namespace {

// A restore in three parts. It first makes everything it needs beside what it replaces (the
// backup's pictures as images.incoming, its collection as <collection>.incoming). Then it
// writes the marker restore.pending, and only then changes the program folder: the collection
// is renamed into place, and then the pictures. A crash before that rename is undone by
// removing the marker and the incoming files; a crash after it is finished by putting the
// pictures in place. Each step can be run again after a crash part-way through it.
const char* const MarkerFileName = "restore.pending";
const char* const MarkerHeading = "Perlinex is restoring a backup into this folder.";

struct RestorePlan {
    QString backup;         // where the backup came from, for the user
    QString dbPath;         // the collection file, links resolved
    QString incomingDb;     // the backup's collection beside it
    QString keptDb;         // the replaced collection, kept
    QString images;         // the program folder's pictures
    QString incomingImages; // the backup's pictures beside them
    QString keptImages;     // the replaced pictures, kept
    QString marker;
};

RestorePlan planRestore(const QString& appFolder, const QString& dbPath, const QString& backup) {
    const QDir app(appFolder);
    const QString images = app.filePath(QString::fromLatin1(ImagesFolderName));
    return {
        backup,
        dbPath,
        dbPath + QStringLiteral(".incoming"),
        QDir(QFileInfo(dbPath).absolutePath()).filePath(QStringLiteral("stamp-before-restore.mdb")),
        images,
        images + QStringLiteral(".incoming"),
        app.filePath(QStringLiteral("images-before-restore")),
        app.filePath(QString::fromLatin1(MarkerFileName))};
}

void writeMarker(const RestorePlan& plan) {
    writeTextFile(plan.marker,
                  QStringLiteral("%1\ncollection=%2\nbackup=%3\n")
                      .arg(QString::fromLatin1(MarkerHeading), plan.dbPath, plan.backup));
}

// The plan of the restore a marker tells of. The collection it names is the one it was
// replacing, even if a link has been changed since.
RestorePlan readMarker(const QString& appFolder) {
    const QString marker = QDir(appFolder).filePath(QString::fromLatin1(MarkerFileName));
    QString dbPath;
    QString backup;
    const QString text = QString::fromUtf8([&] {
        QFile f(marker);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }());
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("collection=")))
            dbPath = line.mid(11);
        else if (line.startsWith(QLatin1String("backup=")))
            backup = line.mid(7);
    }
    if (dbPath.isEmpty() || !QFileInfo(QFileInfo(dbPath).absolutePath()).isDir())
        dbPath = resolvedCollectionPath(appFolder);
    return planRestore(appFolder, dbPath, backup);
}

void removeMarker(const RestorePlan& plan) {
    if (QFile::exists(plan.marker) && !QFile::remove(plan.marker))
        fail(err::CannotOpen,
             translate("Maintenance", "Could not remove %1.").arg(shown(plan.marker)));
    syncPath(QFileInfo(plan.marker).absolutePath(), true);
}

// The backup's pictures go in place once its collection is: while images.incoming is there,
// the folder named images still holds the pictures being replaced.
void putImagesInPlace(const RestorePlan& plan) {
    if (!isThere(plan.incomingImages))
        return;
    step("replace-images");
    if (isThere(plan.images)) {
        removeEntry(plan.keptImages);
        renameOver(plan.images, plan.keptImages);
    }
    step("put-images");
    renameOver(plan.incomingImages, plan.images);
}

// Everything after the collection was renamed into place.
void finishRestore(const RestorePlan& plan) {
    // A journal beside the new file would belong to the file it replaced.
    QFile::remove(plan.dbPath + QStringLiteral("-journal"));
    putImagesInPlace(plan);
    step("unmark");
    removeMarker(plan);
}

// Everything before it: the marker goes first, so that a crash while the incoming files are
// removed cannot be taken for a restore to finish.
void rollBackRestore(const RestorePlan& plan) {
    removeMarker(plan);
    removeEntry(plan.incomingDb);
    removeEntry(durable::partName(plan.incomingDb));
    removeEntry(plan.incomingImages);
}

// The partial files that maintenance leaves when the program is killed, by name: nothing of
// the user's own is touched.
QStringList removeLeftovers(const QString& appFolder) {
    const QDir app(appFolder);
    QString dbPath;
    try {
        dbPath = resolvedCollectionPath(appFolder);
    } catch (const DbError&) {
        dbPath = app.filePath(QString::fromLatin1(CollectionFileName));
    }
    const QDir dbFolder(QFileInfo(dbPath).absolutePath());
    const QString images = app.filePath(QString::fromLatin1(ImagesFolderName));
    const QString compactTarget = dbFolder.filePath(QString::fromLatin1(CompactTargetFileName));
    QStringList candidates{
        compactTarget,
        compactTarget + QStringLiteral("-journal"),
        durable::partName(dbFolder.filePath(QString::fromLatin1(CompactBackupFileName))),
        dbPath + QStringLiteral(".incoming"),
        durable::partName(dbPath + QStringLiteral(".incoming")),
        dbPath + QStringLiteral(".repair"),
        dbPath + QStringLiteral(".repair-journal"),
        durable::partName(dbFolder.filePath(QStringLiteral("stamp-before-restore.mdb"))),
        images + QStringLiteral(".incoming"),
        images + QStringLiteral(".swap"),
        durable::partName(app.filePath(QString::fromLatin1(MarkerFileName))),
    };
    // A repair killed while it kept the damaged file.
    const QString damaged = QFileInfo(dbPath).completeBaseName() + QStringLiteral("-damaged-*.mdb");
    for (const QString& name :
         dbFolder.entryList({durable::partName(damaged)}, QDir::Files | QDir::Hidden))
        candidates << dbFolder.filePath(name);
    // A picture being written when the program was killed; no report or other file the user
    // names is ever written among the pictures.
    const QDir pictures(images);
    for (const QString& name :
         pictures.entryList({durable::tempNameFilter()}, QDir::Files | QDir::Hidden))
        candidates << pictures.filePath(name);
    QStringList removed;
    for (const QString& path : candidates)
        if (removeEntry(path))
            removed << path;
    return removed;
}

} // namespace

void restoreCollection(const QString& backupFolder, const QString& appFolder,
                       const Progress& progress) {
    const QString backupDb = QDir(backupFolder).filePath(QString::fromLatin1(CollectionFileName));
    QString why;
    if (!isIntactCollection(backupDb, &why))
        fail(err::DamagedFile,
             translate("Maintenance", "'%1' does not hold a whole Perlinex backup (%2).")
                 .arg(backupFolder, why));
    // A restore cut short earlier is settled first, so that this one starts from a whole folder.
    recoverInterruptedRestore(appFolder);
    const RestorePlan plan = planRestore(appFolder, resolvedCollectionPath(appFolder),
                                         QFileInfo(backupFolder).absoluteFilePath());
    const auto failed = [](const DbError& e) {
        if (e.number() == err::DiskFull)
            fail(err::DiskFull,
                 translate("Maintenance",
                           "The backup could not be restored: there is not enough space "
                           "on the disk. Nothing has been changed."));
        fail(e.number(),
             translate("Maintenance", "The backup could not be restored: %1").arg(e.text()));
    };
    // The collection has been replaced once the marker is there and the incoming file is not.
    const auto replaced = [&] { return isThere(plan.marker) && !isThere(plan.incomingDb); };
    try {
        OnFailure undo([&] {
            if (!replaced())
                rollBackRestore(plan);
        });
        step("copy-images");
        removeEntry(plan.incomingImages);
        const QString images = QString::fromLatin1(ImagesFolderName);
        copyTree(QDir(backupFolder).filePath(images), plan.incomingImages, images, nullptr,
                 progress);
        step("copy-collection");
        copyDurably(backupDb, plan.incomingDb);
        if (QFileInfo::exists(plan.dbPath)) {
            step("keep-current");
            keepCopy(plan.dbPath, plan.keptDb);
        }
        step("mark");
        writeMarker(plan);
        step("replace");
        renameOver(plan.incomingDb, plan.dbPath);
        undo.dismiss();
    } catch (const DbError& e) {
        if (!replaced())
            failed(e);
    }
    try {
        finishRestore(plan);
    } catch (const DbError& first) {
        // The backup's collection is in place: its pictures must follow. Once more, and
        // otherwise at the next start.
        try {
            finishRestore(plan);
        } catch (const DbError&) {
            fail(first.number(),
                 translate(
                     "Maintenance",
                     "The backup's collection has been put in place, but its pictures could not "
                     "be: %1 Perlinex will finish the restore when it next starts.")
                     .arg(first.text()));
        }
    }
    step("done");
}

bool hasInterruptedRestore(const QString& appFolder) {
    return isThere(QDir(appFolder).filePath(QString::fromLatin1(MarkerFileName)));
}

RestoreRecovery recoverInterruptedRestore(const QString& appFolder) {
    RestoreRecovery result;
    if (hasInterruptedRestore(appFolder)) {
        const RestorePlan plan = readMarker(appFolder);
        const QString from =
            plan.backup.isEmpty() ? translate("Maintenance", "a backup") : shown(plan.backup);
        if (isThere(plan.incomingDb)) {
            try {
                rollBackRestore(plan);
            } catch (const DbError& e) {
                fail(e.number(),
                     translate("Maintenance",
                               "Perlinex was stopped while it restored %1, and the restore "
                               "could not be undone: %2")
                         .arg(from, e.text()));
            }
            result.outcome = RestoreRecovery::Outcome::RolledBack;
            result.message =
                translate(
                    "Maintenance",
                    "Perlinex was stopped while it restored %1, before the collection was "
                    "replaced. The restore has been undone: the collection and its pictures are "
                    "as they were before it.")
                    .arg(from);
        } else {
            try {
                finishRestore(plan);
            } catch (const DbError& e) {
                fail(e.number(),
                     translate("Maintenance",
                               "Perlinex was stopped while it restored %1, and the restore "
                               "could not be finished: %2")
                         .arg(from, e.text()));
            }
            result.outcome = RestoreRecovery::Outcome::Finished;
            result.message =
                translate("Maintenance",
                          "Perlinex was stopped while it restored %1. The restore has now "
                          "been finished: the collection and its pictures are those of the "
                          "backup. The ones it replaced are kept as %2 and "
                          "images-before-restore.")
                    .arg(from, QFileInfo(plan.keptDb).fileName());
        }
    }
    result.removed = removeLeftovers(appFolder);
    return result;
}

durable::ProtectedFiles collectionFiles(const QString& appFolder) {
    const QDir app(QDir::current().absoluteFilePath(appFolder));
    const QString named = app.filePath(QString::fromLatin1(CollectionFileName));
    QString dbPath = named;
    try {
        dbPath = resolvedCollectionPath(appFolder);
    } catch (const DbError&) {
        // A link that leads nowhere: the name itself is still the collection's.
    }
    const QDir dbFolder(QFileInfo(dbPath).absolutePath());
    const QString own = translate("Maintenance", "%1, a file Perlinex keeps with the collection");
    durable::ProtectedFiles files;
    // what names the file for the user, with %1 for its path.
    const auto add = [&](const QString& path, const QString& what) {
        files.addFile(path, what.arg(shown(path)));
    };
    const auto addWithJournal = [&](const QString& path, const QString& what) {
        add(path, what);
        for (const char* suffix : {"-journal", "-wal", "-shm"})
            add(path + QLatin1String(suffix), own);
    };
    for (const QString& collection : {named, dbPath}) {
        addWithJournal(collection, translate("Maintenance", "the collection %1"));
        add(FolderLock::lockFileOf(collection),
            translate("Maintenance", "the collection's lock file %1"));
    }
    add(dbFolder.filePath(QString::fromLatin1(CompactBackupFileName)),
        translate("Maintenance", "the copy of the collection kept by the last compaction %1"));
    addWithJournal(app.filePath(QString::fromLatin1(CatalogueFileName)),
                   translate("Maintenance", "the field catalogue %1"));
    addWithJournal(dbFolder.filePath(QString::fromLatin1(CompactTargetFileName)), own);
    addWithJournal(dbPath + QStringLiteral(".repair"), own);
    add(dbPath + QStringLiteral(".incoming"), own);
    add(dbFolder.filePath(QStringLiteral("stamp-before-restore.mdb")), own);
    add(app.filePath(QString::fromLatin1(MarkerFileName)), own);
    // The damaged files a repair kept, the copies kept before an upgrade, and the catalogues
    // that could not be read.
    const QString base = QFileInfo(dbPath).completeBaseName();
    for (const QString& name : dbFolder.entryList({base + QStringLiteral("-damaged-*.mdb"),
                                                   base + QStringLiteral("-before-upgrade-*.mdb")},
                                                  QDir::Files | QDir::Hidden))
        add(dbFolder.filePath(name), own);
    for (const QString& name :
         app.entryList({QStringLiteral("rptspec-bad-*.mdb")}, QDir::Files | QDir::Hidden))
        add(app.filePath(name), own);
    const QString images = app.filePath(QString::fromLatin1(ImagesFolderName));
    files.addFolder(
        images, translate("Maintenance", "the collection's pictures folder %1").arg(shown(images)));
    for (const QString& kept :
         {images + QStringLiteral(".incoming"), images + QStringLiteral(".swap"),
          app.filePath(QStringLiteral("images-before-restore"))})
        files.addFolder(kept,
                        translate("Maintenance", "%1, a folder Perlinex keeps with the collection")
                            .arg(shown(kept)));
    return files;
}

} // namespace perlinex::db
