#include "db/maintenance.h"

#include "db/dberror.h"
#include "db/fileprobe.h"
#include "db/salvage.h"
#include "db/schema.h"
#include "db/sqlitecall.h"
#include "db/textcompare.h"
#include "util/durablefile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

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

void removeQuietly(const QString& path) {
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-journal"));
}

// The durable-file helpers report in their own terms; the store's callers expect its errors.
DbError storeError(const durable::FileError& e) {
    switch (e.kind()) {
    case durable::FileError::Kind::DiskFull:
        return DbError(err::DiskFull, e.text());
    case durable::FileError::Kind::NotFound:
        return DbError(err::FileNotFound, e.text());
    case durable::FileError::Kind::CannotWrite:
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
void exchangeFolders(const QString& a, const QString& b) {
    inStoreTerms([&] { durable::exchangeFolders(a, b); });
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
            fail(err::CannotOpen, QStringLiteral("Could not open '%1': %2").arg(path, why));
        }
        sqlite3_extended_result_codes(db, 1);
        registerTextFunctions(db);
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

// A new file is checked for what it must hold rather than read whole: its structure by the
// engine's quick check, every table and field, and the row counts and counters of the
// original.
void verifyCopy(const QString& copy, const QString& expectedFingerprint, const Progress& progress) {
    QString why;
    bool whole = false;
    try {
        auto db = Database::open(copy, OpenMode::ReadOnly);
        detail::exec(db->handle(), QStringLiteral("PRAGMA cache_size = -262144"));
        EngineProgress reporting(db->handle(), progress);
        whole = quickCheck(*db, &why);
        if (whole) {
            const QStringList missing = collectionProblems(*db);
            why = missing.join(QLatin1String(", "));
            whole = missing.isEmpty();
        }
        if (whole && fingerprint(db->handle()) != expectedFingerprint)
            fail(err::DiskError,
                 QStringLiteral("The new file '%1' does not hold everything of the collection.")
                     .arg(copy));
    } catch (const DbError& e) {
        if (e.number() == err::DiskError)
            throw;
        why = e.text();
        whole = false;
    }
    if (!whole)
        fail(err::DiskError,
             QStringLiteral("The new file '%1' is not a whole collection (%2).").arg(copy, why));
}

QString uniqueName(const QString& folder, const QString& stem, const QString& suffix) {
    QString candidate = QDir(folder).filePath(stem + suffix);
    for (int n = 2; QFileInfo::exists(candidate); ++n)
        candidate = QDir(folder).filePath(QStringLiteral("%1-%2%3").arg(stem).arg(n).arg(suffix));
    return candidate;
}

} // namespace

void setStepHook(StepHook h) {
    hook() = std::move(h);
}

QStringList checkCollection(const QString& path) {
    const FileProbe probe = probeFile(path);
    if (probe.kind != FileKind::SQLite)
        return {QStringLiteral("it is %1").arg(probe.description)};
    try {
        auto db = Database::open(path, OpenMode::ReadOnly);
        detail::Statement st(db->handle(), QStringLiteral("PRAGMA integrity_check"));
        QStringList problems;
        while (st.step())
            problems << st.columnText(0);
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

void compactCollection(const QString& appFolder, const Progress& progress) {
    const QDir dir(appFolder);
    const QString source = dir.filePath(QString::fromLatin1(CollectionFileName));
    const QString target = dir.filePath(QString::fromLatin1(CompactTargetFileName));
    const QString kept = dir.filePath(QString::fromLatin1(CompactBackupFileName));

    step("remove-old-target");
    removeQuietly(target);
    try {
        step("compact");
        QString expected;
        {
            auto db = Database::open(source, OpenMode::Exclusive);
            expected = fingerprint(db->handle());
            detail::exec(db->handle(), QStringLiteral("PRAGMA cache_size = -262144"));
            EngineProgress reporting(db->handle(), progress);
            detail::exec(db->handle(), QStringLiteral("VACUUM INTO '%1'")
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
        step("done");
    } catch (const DbError& e) {
        removeQuietly(target);
        if (e.number() == err::DiskFull)
            fail(err::DiskFull,
                 QStringLiteral("The collection could not be compacted: there is not "
                                "enough space on the disk. It has been left as it was."));
        fail(e.number(),
             QStringLiteral("The collection could not be compacted: %1 It has been left "
                            "as it was.")
                 .arg(e.text()));
    }
}

bool RepairReport::fellShort() const {
    return (stamps == 0 && expectedStamps > 0) || stamps * 100 < expectedStamps * 95;
}

RepairReport repairCollection(const QString& dbPath,
                              const std::function<bool(const RepairReport&)>& accept) {
    const QFileInfo info(dbPath);
    const QString folder = info.absolutePath();
    RepairReport report;

    step("keep-damaged");
    report.damagedCopy = uniqueName(
        folder,
        QStringLiteral("%1-damaged-%2")
            .arg(info.completeBaseName(),
                 QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"))),
        QStringLiteral(".mdb"));
    copyDurably(dbPath, report.damagedCopy);

    step("recover");
    const QString fresh = dbPath + QStringLiteral(".repair");
    removeQuietly(fresh);
    try {
        auto db = createCollection(fresh, false);
        SalvageOutcome salvaged;
        db->transaction([&] { salvaged = salvageCollection(report.damagedCopy, *db); });
        db->close();
        report.stamps = salvaged.stamps;
        report.codes = salvaged.codes;
        report.lostRows = salvaged.lostRows;
        report.cutRows = salvaged.cutRows;
        report.expectedStamps = salvaged.expectedStamps;
        report.notes = salvaged.notes;
    } catch (...) {
        removeQuietly(fresh);
        throw;
    }
    step("verify");
    syncPath(fresh, false);
    QString why;
    if (!isIntactCollection(fresh, &why)) {
        removeQuietly(fresh);
        fail(err::DamagedFile,
             QStringLiteral("The repaired collection is not whole (%1).").arg(why));
    }
    if (accept && !accept(report)) {
        removeQuietly(fresh);
        return report;
    }
    step("replace");
    renameOver(fresh, dbPath);
    QFile::remove(dbPath + QStringLiteral("-journal"));
    report.replaced = true;
    return report;
}

void replaceCollectionWith(const QString& source, const QString& dbPath, const QString& keptName) {
    QString why;
    if (!isIntactCollection(source, &why))
        fail(err::DamagedFile,
             QStringLiteral("'%1' is not a whole collection (%2).").arg(source, why));
    const QString temp = dbPath + QStringLiteral(".incoming");
    step("copy-in");
    copyDurably(source, temp);
    if (!keptName.isEmpty() && QFileInfo::exists(dbPath)) {
        step("keep-current");
        const QFileInfo info(dbPath);
        keepCopy(dbPath, uniqueName(info.absolutePath(),
                                    QStringLiteral("%1-%2-%3")
                                        .arg(info.completeBaseName(), keptName,
                                             QDateTime::currentDateTime().toString(
                                                 QStringLiteral("yyyyMMdd-HHmmss"))),
                                    QStringLiteral(".mdb")));
    }
    step("replace");
    renameOver(temp, dbPath);
    QFile::remove(dbPath + QStringLiteral("-journal"));
}

namespace {

void copyFolderDurably(const QString& from, const QString& to, const Progress& progress) {
    if (!QDir().mkpath(to))
        fail(err::CannotOpen, QStringLiteral("Could not make the folder '%1'.").arg(to));
    if (!QFileInfo(from).isDir())
        return;
    QStringList files;
    QDirIterator it(from, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString target = QDir(to).filePath(QDir(from).relativeFilePath(files[i]));
        QDir().mkpath(QFileInfo(target).absolutePath());
        copyDurably(files[i], target);
        if (progress)
            progress(i + 1, files.size());
    }
    syncPath(to, true);
}

void removeFolder(const QString& path) {
    QDir(path).removeRecursively();
}

} // namespace

bool isBackupFolder(const QString& folder) {
    return isIntactCollection(QDir(folder).filePath(QString::fromLatin1(CollectionFileName)));
}

QString backupCollection(const QString& appFolder, const QString& destination,
                         const QDateTime& when, const Progress& progress) {
    if (!QFileInfo(destination).isDir())
        fail(err::InvalidPath,
             QStringLiteral("The backup folder '%1' does not exist.").arg(destination));
    const QDir app(appFolder);
    const QString source = app.filePath(QString::fromLatin1(CollectionFileName));
    const QString finalFolder =
        uniqueName(destination,
                   QStringLiteral("Perlinex backup %1")
                       .arg(when.toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"))),
                   QString());
    const QString partial =
        QDir(destination)
            .filePath(QStringLiteral(".%1.partial").arg(QFileInfo(finalFolder).fileName()));
    removeFolder(partial);
    try {
        if (!QDir().mkpath(partial))
            fail(err::CannotOpen,
                 QStringLiteral("Could not make a folder in '%1'.").arg(destination));
        const QString copy = QDir(partial).filePath(QString::fromLatin1(CollectionFileName));
        step("copy-collection");
        QString expected;
        {
            auto db = Database::open(source, OpenMode::Exclusive);
            expected = fingerprint(db->handle());
            RawDb out(copy, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
            sqlite3_backup* b = sqlite3_backup_init(out.db, "main", db->handle(), "main");
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
        copyFolderDurably(app.filePath(QStringLiteral("images")),
                          QDir(partial).filePath(QStringLiteral("images")), progress);
        step("finish");
        renameOver(partial, finalFolder);
        return finalFolder;
    } catch (const DbError& e) {
        removeFolder(partial);
        if (e.number() == err::DiskFull)
            fail(err::DiskFull, QStringLiteral("The backup could not be made: there is not enough "
                                               "space on the disk. Nothing has been changed."));
        fail(e.number(), QStringLiteral("The backup could not be made: %1").arg(e.text()));
    }
}

void restoreCollection(const QString& backupFolder, const QString& appFolder,
                       const Progress& progress) {
    const QDir app(appFolder);
    const QString backupDb = QDir(backupFolder).filePath(QString::fromLatin1(CollectionFileName));
    QString why;
    if (!isIntactCollection(backupDb, &why))
        fail(err::DamagedFile, QStringLiteral("'%1' does not hold a whole Perlinex backup (%2).")
                                   .arg(backupFolder, why));
    const QString dbPath = app.filePath(QString::fromLatin1(CollectionFileName));
    const QString images = app.filePath(QStringLiteral("images"));
    const QString incomingImages = images + QStringLiteral(".incoming");
    const QString keptImages = app.filePath(QStringLiteral("images-before-restore"));
    try {
        step("copy-images");
        removeFolder(incomingImages);
        copyFolderDurably(QDir(backupFolder).filePath(QStringLiteral("images")), incomingImages,
                          progress);
        step("copy-collection");
        const QString incoming = dbPath + QStringLiteral(".incoming");
        copyDurably(backupDb, incoming);
        if (QFileInfo::exists(dbPath)) {
            step("keep-current");
            keepCopy(dbPath, app.filePath(QStringLiteral("stamp-before-restore.mdb")));
        }
        step("replace");
        renameOver(incoming, dbPath);
        QFile::remove(dbPath + QStringLiteral("-journal"));
        step("replace-images");
        removeFolder(keptImages);
        if (QFileInfo(images).isDir()) {
            exchangeFolders(images, incomingImages);
            renameOver(incomingImages, keptImages);
        } else {
            renameOver(incomingImages, images);
        }
        step("done");
    } catch (const DbError& e) {
        removeFolder(incomingImages);
        QFile::remove(dbPath + QStringLiteral(".incoming"));
        fail(e.number(), QStringLiteral("The backup could not be restored: %1").arg(e.text()));
    }
}

} // namespace perlinex::db
