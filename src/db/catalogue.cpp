#include "db/catalogue.h"

#include "db/dberror.h"
#include "db/fields.h"
#include "db/fileprobe.h"
#include "db/schema.h"
#include "db/sqlitecall.h"
#include "util/durablefile.h"
#include "util/translation.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <unistd.h>

namespace perlinex::db {

namespace {

QList<QStringList> shippedRows() {
    QFile f(QStringLiteral(":/data/rptspec.tsv"));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        throw DbError(err::FileNotFound,
                      translate("Catalogue", "The program's field catalogue data is missing."));
    QTextStream in(&f);
    in.setEncoding(QStringConverter::Utf8);
    QList<QStringList> rows;
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList parts = line.split(QLatin1Char('\t'));
        if (parts.size() != 10)
            throw DbError(
                err::SyntaxError,
                translate("Catalogue", "The program's field catalogue data is damaged at: %1")
                    .arg(line));
        rows << parts;
    }
    return rows;
}

void fillCatalogue(Database& db, const QList<QStringList>& rows) {
    detail::exec(db.handle(), QStringLiteral(R"(
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
    detail::Statement st(db.handle(),
                         QStringLiteral("INSERT INTO RptSpec VALUES (?,?,?,?,?,?,?,?,?,?)"));
    for (const QStringList& r : rows) {
        st.reset();
        st.bindInt(1, r[0].toLongLong());
        for (int i = 1; i <= 5; ++i)
            st.bind(i + 1, r[i].isEmpty() ? Value() : Value(r[i]));
        st.bindInt(7, r[6].toLongLong());
        st.bind(8, r[7].isEmpty() ? Value() : Value(r[7].toDouble()));
        st.bindInt(9, r[8].toInt() != 0);
        st.bindInt(10, r[9].toInt() != 0);
        st.step();
    }
}

// The shipped catalogue, for a folder where none can be made: read from memory.
std::unique_ptr<Database> shippedCatalogueInMemory() {
    const QList<QStringList> rows = shippedRows();
    auto db = Database::createInMemory();
    db->transaction([&] { fillCatalogue(*db, rows); });
    return db;
}

bool canWriteIn(const QString& folder) {
    return ::access(QFile::encodeName(folder).constData(), W_OK) == 0;
}

// The fields of one of the collection's tables, by its name without regard to case; empty for
// a name that is no table of the collection.
QStringList fieldsOf(const QString& table) {
    QStringList fields;
    if (table.compare(QLatin1String("stamp"), Qt::CaseInsensitive) == 0) {
        for (const StampField& f : stampFields())
            fields << QLatin1String(f.name);
    } else if (const CodeTable* t = codeTableByName(table)) {
        fields << QLatin1String(t->idField) << QLatin1String(t->descField);
    }
    return fields;
}

bool isFieldOf(const QString& field, const QString& table) {
    return fieldsOf(table).contains(field, Qt::CaseInsensitive);
}

// A name as the message shows it: whole when short, so that the user finds it in the row.
QString shown(const QString& name) {
    return name.size() > 60 ? name.left(60) + QChar(0x2026) : name;
}

QString namesProblem(const CatalogueRowNames& row) {
    if (fieldsOf(row.useWith).isEmpty())
        return translate("Catalogue",
                         "its main table \"%1\" (usewith) is no table of the collection")
            .arg(shown(row.useWith));
    if (!row.fileName.isEmpty() && fieldsOf(row.fileName).isEmpty())
        return translate("Catalogue", "its table \"%1\" (FileName) is no table of the collection")
            .arg(shown(row.fileName));
    const QString table = row.fileName.isEmpty() ? row.useWith : row.fileName;
    const QStringList qualified = row.fieldname.split(QLatin1Char('.'));
    const bool fieldFound = qualified.size() == 2
                                ? isFieldOf(qualified[1], qualified[0])
                                : qualified.size() == 1 && isFieldOf(row.fieldname, table);
    if (!fieldFound)
        return translate("Catalogue",
                         "its field \"%1\" (fieldname) is no field of the table \"%2\"")
            .arg(shown(row.fieldname), shown(table));
    const bool joined = table.compare(row.useWith, Qt::CaseInsensitive) != 0;
    if (row.linkfield.isEmpty())
        return joined ? translate("Catalogue",
                                  "it names no field (linkfield) that joins the table \"%1\" to "
                                  "\"%2\"")
                            .arg(shown(table), shown(row.useWith))
                      : QString();
    const QStringList link = row.linkfield.split(QLatin1Char(';'));
    if (link.size() > 2 || !isFieldOf(link.first(), row.useWith) || !isFieldOf(link.last(), table))
        return translate("Catalogue",
                         "its link \"%1\" (linkfield) does not name fields of the tables \"%2\" "
                         "and \"%3\"")
            .arg(shown(row.linkfield), shown(row.useWith), shown(table));
    return QString();
}

} // namespace

QString catalogueRowProblem(const CatalogueRowNames& row) {
    const QString problem = namesProblem(row);
    if (problem.isEmpty())
        return problem;
    return translate("Catalogue",
                     "The field catalogue's row %1 (%2) cannot be used and is left out: %3.")
        .arg(row.specid)
        .arg(shown(row.desc), problem);
}

void createCatalogue(const QString& path) {
    const QList<QStringList> rows = shippedRows();
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
        auto db = Database::open(path, OpenMode::ReadOnly);
        QString why;
        if (!quickCheck(*db, &why))
            return QCoreApplication::translate("Catalogue", "a damaged database (%1)")
                .arg(why.left(200));
        QStringList present;
        detail::Statement st(db->handle(), QStringLiteral("PRAGMA table_info(RptSpec)"));
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
    return Database::open(path, OpenMode::ReadOnly);
}

} // namespace perlinex::db
