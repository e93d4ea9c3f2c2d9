#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

// `perlinex list`: the collection list's rows as the window's pane shows them, for scripts.
namespace perlinex::browse {

QString listCommandUsage();

// Prints the header row and every listed stamp, tab-separated; returns the exit status: 0
// done, 1 the collection could not be read, 2 wrong arguments.
int runListCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace perlinex::browse
