#include "db/catalogue.h"

#include "db/dberror.h"
#include "db/schema.h"
#include "db/sqlitecall.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace perlinex::db {

namespace {

QList<QStringList> shippedRows() {
    QFile f(QStringLiteral(":/data/rptspec.tsv"));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        throw DbError(err::FileNotFound,
                      QStringLiteral("The program's field catalogue data is missing."));
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
                QStringLiteral("The program's field catalogue data is damaged at: %1").arg(line));
        rows << parts;
    }
    return rows;
}

} // namespace

void createCatalogue(const QString& path) {
    const QList<QStringList> rows = shippedRows();
    createDatabaseFile(path, [&](Database& db) {
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
    });
}

std::unique_ptr<Database> openCatalogue(const QString& folder) {
    const QString path = QDir(folder).filePath(QString::fromLatin1(CatalogueFileName));
    if (!QFileInfo::exists(path)) {
        try {
            createCatalogue(path);
        } catch (const DbError& e) {
            throw DbError(e.number(), QStringLiteral("The field catalogue '%1' is missing and "
                                                     "could not be made again: %2")
                                          .arg(path, e.text()));
        }
    }
    auto db = Database::open(path, OpenMode::ReadOnly);
    if (db->scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND "
                                  "lower(name) = 'rptspec'"))
            .toInteger() == 0)
        throw DbError(err::TableMissing,
                      QStringLiteral("'%1' is not a field catalogue: it has no table RptSpec. It "
                                     "has been left as it is; move it away and Perlinex will make "
                                     "a new one.")
                          .arg(path));
    return db;
}

} // namespace perlinex::db
