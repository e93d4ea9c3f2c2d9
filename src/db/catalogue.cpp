#include "db/catalogue.h"

#include "db/dberror.h"
#include "db/schema.h"
#include "util/translation.h"

#include <QFile>
#include <QTextStream>

namespace perlinex::db {

namespace {

bool isFieldOf(const QString& field, const QString& table) {
    return knownFieldsOf(table).contains(field, Qt::CaseInsensitive);
}

// A name as the message shows it: whole when short, so that the user finds it in the row.
QString shown(const QString& name) {
    return name.size() > 60 ? name.left(60) + QChar(0x2026) : name;
}

QString namesProblem(const CatalogueRowNames& row) {
    if (knownFieldsOf(row.useWith).isEmpty())
        return translate("Catalogue",
                         "its main table \"%1\" (usewith) is no table of the collection")
            .arg(shown(row.useWith));
    if (!row.fileName.isEmpty() && knownFieldsOf(row.fileName).isEmpty())
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

QList<QStringList> shippedCatalogueRows() {
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

void fillCatalogueRows(Database& db, const QList<QStringList>& rows) {
    const auto insert =
        db.prepare(QStringLiteral("INSERT INTO RptSpec (specid, [Desc], usewith, fieldname, "
                                  "FileName, linkfield, datatype, defwidth, IsCurrency, ismemo) "
                                  "VALUES (?,?,?,?,?,?,?,?,?,?)"));
    const auto text = [](const QString& t) { return t.isEmpty() ? Value() : Value(t); };
    for (const QStringList& r : rows)
        insert->run({Value(std::int64_t(r[0].toLongLong())), text(r[1]), text(r[2]), text(r[3]),
                     text(r[4]), text(r[5]), Value(std::int64_t(r[6].toLongLong())),
                     r[7].isEmpty() ? Value() : Value(r[7].toDouble()), Value(r[8].toInt() != 0),
                     Value(r[9].toInt() != 0)});
}

} // namespace perlinex::db
