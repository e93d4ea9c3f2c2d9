#pragma once

#include "db/collectioncopy.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace perlinex::db {
class Database;
}

// perlinex server init|push|pull: collections shared on a PostgreSQL server, made there and
// copied there and back.
namespace perlinex::app {

// What a pull made.
struct PulledCollection {
    db::CopyCount copied;
    qsizetype pictures = 0;
};

// Makes a new collection in folder from a shared one, with its pictures: all of it or, when
// it fails, nothing. Throws DbError, also when the folder holds a collection already.
PulledCollection pullCollection(db::Database& shared, const QString& folder,
                                const db::CopyProgress& progress = {});

// The usage lines of the server commands.
QString serverCommandUsage();

// Runs "perlinex server ..." (arguments as main() has them); the exit status: 0 done, 1
// failed, 2 a command line it cannot take.
int runServerCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace perlinex::app
