#pragma once

#include "db/database.h"

#include <QByteArray>
#include <cstdint>
#include <vector>

// The pictures of a collection on a server: one row a picture, in the collection's own
// schema, so that every desk sees them.
namespace perlinex::db {

// Stores the stamp's picture (a JPEG), replacing the one it had, inside the caller's
// transaction when there is one.
void putServerPicture(Database& db, std::int64_t stamp, const QByteArray& jpeg);

// The stamp's picture; empty when it has none.
QByteArray serverPicture(Database& db, std::int64_t stamp);

// The stamps that have a picture, ascending.
std::vector<std::int64_t> stampsWithServerPictures(Database& db);

} // namespace perlinex::db
