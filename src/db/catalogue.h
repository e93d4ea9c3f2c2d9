#pragma once

#include "db/database.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

// The field catalogue: the reportable fields of a stamp, shipped with the program as text and
// made into the table RptSpec of a database (a file of its own beside a collection file, a
// table of a shared collection).
namespace perlinex::db {

// The names one row of the catalogue gives, as read.
struct CatalogueRowNames {
    std::int64_t specid = 0;
    QString desc;
    QString useWith;   // the main table
    QString fieldname; // a field, "table.field" for one of another table
    QString fileName;  // the table that holds the field; empty for the main table
    QString linkfield; // the field joining the two tables, "main;joined" when named apart
};

// The catalogue is data, and its names go into queries: each must be a plain name of the
// collection's own tables and fields, as the program knows them. Why a row cannot be used, in
// words that name the row; empty when it can.
QString catalogueRowProblem(const CatalogueRowNames& row);

// The shipped catalogue's rows: ten fields each, as text.
QList<QStringList> shippedCatalogueRows();

// Inserts rows into a database's RptSpec table.
void fillCatalogueRows(Database& db, const QList<QStringList>& rows);

} // namespace perlinex::db
