#pragma once

#include "db/database.h"

#include <QStringList>

// The server's own look at a shared collection: what a damaged or half-upgraded collection,
// or a program that wrote it without this one's rules, would leave wrong.
namespace perlinex::db {

// Its problems, each in words for the user; empty when it is whole. Nothing is changed.
QStringList checkServerCollection(Database& db);

} // namespace perlinex::db
