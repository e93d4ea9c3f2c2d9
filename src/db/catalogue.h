#pragma once

#include "db/database.h"

#include <QString>
#include <memory>

// The field catalogue (rptspec.mdb): the reportable fields of a stamp, shipped with the
// program as text and made into a database file in the program folder when it is missing.
namespace perlinex::db {

// Writes the catalogue file from the shipped data; throws when it already exists.
void createCatalogue(const QString& path);

// Opens the catalogue of a program folder read-only, first creating it when it is missing.
// A file of that name that is not a catalogue is reported and left alone.
std::unique_ptr<Database> openCatalogue(const QString& folder);

} // namespace perlinex::db
