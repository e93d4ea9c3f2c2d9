#pragma once

#include "db/database.h"

#include <QString>
#include <cstdint>
#include <memory>

// The field catalogue (rptspec.mdb): the reportable fields of a stamp, shipped with the
// program as text and made into a database file in the program folder when it is missing.
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

// Writes the catalogue file from the shipped data; throws when it already exists.
void createCatalogue(const QString& path);

// Opens the catalogue of a program folder read-only, first creating it when it is missing.
// A file of that name that is not a whole catalogue (an empty or text file, another kind of
// database, one without the table RptSpec or its fields, a damaged one) is kept as
// rptspec-bad-<date>-<time>.mdb and the catalogue made again; remade, when given, then gets
// words for the user saying so (it is left alone otherwise). In a folder that cannot be
// changed nothing is made or moved: the shipped catalogue is then read from memory.
std::unique_ptr<Database> openCatalogue(const QString& folder, QString* remade = nullptr);

} // namespace perlinex::db
