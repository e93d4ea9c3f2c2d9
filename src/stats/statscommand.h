#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

// `perlinex statistics [--folder DIR] [--by BREAKDOWN] [--csv]`: the figures of the Statistics
// window on standard output, from the same code: the collection at a glance, or one breakdown's
// table, tab-separated with a heading row or as comma-separated values.
namespace perlinex::stats {

// arguments as QCoreApplication::arguments() gives them: the program, "statistics", then the
// rest. Exit status: 0 written; 1 the collection could not be read (the reason on err); 2 wrong
// arguments (what is wrong, then the usage).
int runStatisticsCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);

// The usage lines of the subcommand, for the program's own usage text too.
QString statisticsCommandUsage();

} // namespace perlinex::stats
