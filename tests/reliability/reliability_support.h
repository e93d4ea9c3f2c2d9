#pragma once

#include "db/database.h"
#include "db/dberror.h"
#include "db/recordset.h"
#include "db/schema.h"
#include "db/sqlite/collectionfile.h"
#include "db/sqlite/maintenance.h"
#include "db/sqlite/sqlitefile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QStringList>
#include <csignal>
#include <cstdio>
#include <functional>
#include <sqlite3.h>
#include <stdexcept>
#include <sys/resource.h>

// Collections made and read back for the reliability tests.
namespace reliability {

namespace db = perlinex::db;

// Runs SQL straight on the engine; the tests need bulk inserts and pragmas the store does not
// offer.
inline void rawExec(db::Database& collection, const QString& sql) {
    char* msg = nullptr;
    const int rc =
        sqlite3_exec(db::handleOf(collection), sql.toUtf8().constData(), nullptr, nullptr, &msg);
    const QString why = QString::fromUtf8(msg ? msg : sqlite3_errstr(rc));
    sqlite3_free(msg);
    if (rc != SQLITE_OK)
        throw std::runtime_error(QStringLiteral("%1: %2").arg(sql.left(80), why).toStdString());
}

// Adds the stamps "<prefix> first" .. "<prefix> first+count-1" in one transaction: through a
// dynaset each would cost two synced commits.
inline void addStamps(db::Database& collection, const QString& prefix, int first, int count) {
    rawExec(
        collection,
        QStringLiteral(
            "BEGIN; WITH RECURSIVE n(i) AS (SELECT %2 UNION ALL SELECT i + 1 FROM n "
            "WHERE i < %3) INSERT INTO stamp (descr, catnum, catsort, quantity, "
            "notes) SELECT '%1 ' || i, 'SG ' || i, substr('                    ' || i, -20), i, "
            "'Bought at the spring fair, lot ' || i || '; light hinge.' FROM n; "
            "COMMIT")
            .arg(prefix)
            .arg(first)
            .arg(first + count - 1));
}

// A new collection at folder/stamp.mdb with the given stamps, closed again.
inline QString makeCollection(const QString& folder, int count,
                              const QString& prefix = QStringLiteral("Stamp")) {
    QDir().mkpath(folder);
    const QString path = QDir(folder).filePath(QString::fromLatin1(db::CollectionFileName));
    auto collection = db::createCollection(path);
    if (count > 0)
        addStamps(*collection, prefix, 1, count);
    return path;
}

// Every stamp as "descr|quantity", sorted; the collection is opened as the program opens it.
inline QStringList stampsOf(const QString& path) {
    auto collection = db::openCollection(path);
    auto set = collection->openRecordSet(QStringLiteral("Select descr, quantity from stamp"),
                                         db::RecordSetKind::Snapshot);
    QStringList out;
    for (; !set->eof(); set->moveNext())
        out << QStringLiteral("%1|%2")
                   .arg(set->field(QStringLiteral("descr")).toText())
                   .arg(set->field(QStringLiteral("quantity")).toInteger());
    out.sort();
    return out;
}

inline QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        throw std::runtime_error("could not write " + path.toStdString());
}

// Every file under a folder, by relative path, with its bytes.
inline QMap<QString, QByteArray> folderContents(const QString& folder) {
    QMap<QString, QByteArray> out;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        out.insert(QDir(folder).relativeFilePath(file), fileBytes(file));
    }
    return out;
}

// Everything in a folder, hidden entries included.
inline QStringList entriesOf(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// A step hook that kills this process, as a power cut or a crash would, when the work reaches
// the given step.
inline db::StepHook killAt(const char* step) {
    return [target = QByteArray(step)](const char* current) {
        if (target == current)
            std::raise(SIGKILL);
    };
}

// A step hook that makes the given step fail, as a failing disk or rename would.
inline db::StepHook failAt(const char* step) {
    return [target = QByteArray(step)](const char* current) {
        if (target == current)
            throw db::DbError(db::err::DiskError,
                              QStringLiteral("stopped at %1").arg(QString::fromLatin1(current)));
    };
}

// Runs work in a death-test child whose files cannot grow past limit bytes, as on a disk that
// fills up; writes past it fail instead of raising SIGXFSZ. The child tells the parent the
// store's error through its exit code and stderr.
[[noreturn]] inline void onFullDisk(std::int64_t limit, const std::function<void()>& work) {
    const rlimit r{rlim_t(limit), rlim_t(limit)};
    if (setrlimit(RLIMIT_FSIZE, &r) != 0 || std::signal(SIGXFSZ, SIG_IGN) == SIG_ERR)
        std::_Exit(2);
    try {
        work();
    } catch (const db::DbError& e) {
        std::fprintf(stderr, "DbError %d: %s\n", e.number(), e.text().toUtf8().constData());
        std::_Exit(0);
    }
    std::fputs("finished although the disk was full\n", stderr);
    std::_Exit(1);
}

// The names maintenance gives its unfinished work: none may stay once an operation has ended,
// however it ended.
inline bool isPartialName(const QString& name) {
    static const QRegularExpression partial(QStringLiteral(
        R"(^(stampnew\.mdb.*|.*\.part|.*\.incoming|.*-journal|restore\.pending|.*\.repair|)"
        R"(\..*\.partial|.*\.swap)$)"));
    return partial.match(name).hasMatch();
}

// The partial files among the entries of the given folders.
inline QStringList partialFilesIn(const QStringList& folders) {
    QStringList out;
    for (const QString& folder : folders)
        for (const QString& name : entriesOf(folder))
            if (isPartialName(name))
                out << QDir(folder).filePath(name);
    return out;
}

} // namespace reliability
