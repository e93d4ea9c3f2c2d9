#include "db/sqlite/cataloguefile.h"

#include "db/dberror.h"
#include "db/sqlite/collectionfile.h"
#include "db/sqlite/fileprobe.h"
#include "db/sqlite/sqlitecall.h"
#include "db/sqlite/sqlitefile.h"
#include "util/durablefile.h"
#include "util/translation.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <unistd.h>

namespace perlinex::db {

namespace {

void fillCatalogue(Database& db, const QList<QStringList>& rows) {
    detail::exec(handleOf(db), QStringLiteral(R"(
            CREATE TABLE RptSpec (
                specid INTEGER PRIMARY KEY CHECK (specid BETWEEN 1 AND 32767),
                "Desc" TEXT(50) COLLATE TEXTCI NOT NULL,
                usewith TEXT(50) COLLATE TEXTCI NOT NULL,
                fieldname TEXT(100) COLLATE TEXTCI NOT NULL,
                FileName TEXT(50) COLLATE TEXTCI,
                linkfield TEXT(50) COLLATE TEXTCI,
                datatype SMALLINT NOT NULL,
                defwidth REAL,
                IsCurrency BOOLEAN NOT NULL DEFAULT 0,
                ismemo BOOLEAN NOT NULL DEFAULT 0))"));
    fillCatalogueRows(db, rows);
}

// The shipped catalogue, for a folder where none can be made: read from memory.
std::unique_ptr<Database> shippedCatalogueInMemory() {
    const QList<QStringList> rows = shippedCatalogueRows();
    auto db = createDatabaseInMemory();
    db->transaction([&] { fillCatalogue(*db, rows); });
    return db;
}

bool canWriteIn(const QString& folder) {
    return ::access(QFile::encodeName(folder).constData(), W_OK) == 0;
}

} // namespace

void createCatalogue(const QString& path) {
    const QList<QStringList> rows = shippedCatalogueRows();
    createDatabaseFile(path, [&](Database& db) { fillCatalogue(db, rows); });
}

namespace {

const char* const CatalogueColumns[] = {"specid",     "Desc",      "usewith",  "fieldname",
                                        "FileName",   "linkfield", "datatype", "defwidth",
                                        "IsCurrency", "ismemo"};

// Why an existing file cannot serve as the field catalogue; empty when it can.
QString catalogueProblem(const QString& path) {
    const FileProbe probe = probeFile(path);
    if (probe.kind != FileKind::SQLite)
        return probe.description;
    try {
        auto db = openDatabaseFile(path, OpenMode::ReadOnly);
        QString why;
        if (!quickCheck(*db, &why))
            return QCoreApplication::translate("Catalogue", "a damaged database (%1)")
                .arg(why.left(200));
        QStringList present;
        detail::Statement st(handleOf(*db), QStringLiteral("PRAGMA table_info(RptSpec)"));
        while (st.step())
            present << st.columnText(1);
        if (present.isEmpty())
            return QCoreApplication::translate("Catalogue", "a database without the table RptSpec");
        for (const char* column : CatalogueColumns)
            if (!present.contains(QString::fromLatin1(column), Qt::CaseInsensitive))
                return QCoreApplication::translate("Catalogue",
                                                   "a database whose table RptSpec lacks the "
                                                   "field %1")
                    .arg(QString::fromLatin1(column));
        if (db->scalar(QStringLiteral("SELECT count(*) FROM RptSpec")).toInteger() == 0)
            return QCoreApplication::translate("Catalogue", "a field catalogue without fields");
    } catch (const DbError& e) {
        return e.text();
    }
    return QString();
}

} // namespace

std::unique_ptr<Database> openCatalogue(const QString& folder, QString* remade) {
    const QString path = QDir(folder).filePath(QString::fromLatin1(CatalogueFileName));
    const QFileInfo info(path);
    // The catalogue is the program's own data: a file in its place that cannot serve is moved
    // aside, never overwritten, and the catalogue made again from the shipped data.
    if (info.exists() || info.isSymLink()) {
        const QString problem = catalogueProblem(path);
        if (!problem.isEmpty() && !canWriteIn(folder)) {
            if (remade)
                *remade = QCoreApplication::translate(
                              "Catalogue", "The field catalogue %1 is %2. Its folder cannot be "
                                           "changed, so the file has been left as it is and "
                                           "Perlinex uses its own field catalogue for now.")
                              .arg(QDir::toNativeSeparators(path), problem);
            return shippedCatalogueInMemory();
        }
        if (!problem.isEmpty()) {
            const QString kept = durable::unusedName(
                folder,
                QStringLiteral("rptspec-bad-%1")
                    .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"))),
                QStringLiteral(".mdb"));
            try {
                durable::renameOver(path, kept);
            } catch (const durable::FileError& e) {
                throw DbError(err::CannotOpen,
                              QCoreApplication::translate(
                                  "Catalogue", "The field catalogue %1 is %2, and it could not "
                                               "be moved aside to make a new one: %3")
                                  .arg(QDir::toNativeSeparators(path), problem, e.text()));
            }
            if (remade)
                *remade =
                    QCoreApplication::translate(
                        "Catalogue", "The field catalogue %1 was %2. It has been kept as %3 "
                                     "and made again.")
                        .arg(QDir::toNativeSeparators(path), problem, QFileInfo(kept).fileName());
        }
    }
    // A folder that cannot be changed, such as a read-only collection's, gets no new file.
    if (!QFileInfo::exists(path) && !canWriteIn(folder))
        return shippedCatalogueInMemory();
    if (!QFileInfo::exists(path)) {
        try {
            createCatalogue(path);
        } catch (const DbError& e) {
            throw DbError(e.number(), QStringLiteral("The field catalogue '%1' is missing and "
                                                     "could not be made again: %2")
                                          .arg(path, e.text()));
        }
    }
    return openDatabaseFile(path, OpenMode::ReadOnly);
}

} // namespace perlinex::db
