#pragma once

#include "db/catalogue.h"
#include "db/database.h"

#include <QString>
#include <cstdint>
#include <memory>

// The field catalogue file (rptspec.mdb) of a collection folder, made from the shipped data
// when it is missing.
namespace perlinex::db {

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
