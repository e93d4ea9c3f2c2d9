#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

// perlinex server init|push|pull: collections shared on a PostgreSQL server, made there and
// copied there and back.
namespace perlinex::app {

// The usage lines of the server commands.
QString serverCommandUsage();

// Runs "perlinex server ..." (arguments as main() has them); the exit status: 0 done, 1
// failed, 2 a command line it cannot take.
int runServerCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace perlinex::app
