#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <functional>

class QIODevice;

// `perlinex report NAME [--entry ID] --to text|html|pdf --output FILE [--folder DIR]`: a
// fixed report without a window, written as the menu would write it (PDF: the preview's
// pages), under the user's regional settings.
namespace perlinex::reports {

// arguments as QCoreApplication::arguments() gives them: the program, "report", then the
// rest. Exit status: 0 written; 1 nothing found (the report's message on err; no file is
// written and an existing one is left as it is) or the collection or file could not be
// opened or written; 2 wrong arguments (what is wrong, then the usage). A PDF needs a
// QGuiApplication.
int runReportCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);

// "--output -": write hands the report to standard output (out), where nothing else is
// written. Exit status 0, or 1 with the reason on err when it could not all be written.
int writeToStandardOutput(QTextStream& out, QTextStream& err,
                          const std::function<void(QIODevice& device)>& write);

// The usage lines of the subcommand, for the program's own usage text too.
QString reportCommandUsage();

} // namespace perlinex::reports
