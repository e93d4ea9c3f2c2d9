#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

// `perlinex report --layout FILE.rpt [--to text|html|pdf] [--output FILE] [--folder DIR]`: a
// saved custom report layout generated without a window, under the user's regional settings.
namespace perlinex::custom {

// True for the arguments of a layout report: the subcommand report with --layout.
bool isLayoutReportCommand(const QStringList& arguments);

// arguments as QCoreApplication::arguments() gives them: the program, "report", then the
// rest. --to defaults to the layout's own target (Screen/Printer writes a PDF); --output to
// stamp.txt, stamp.htm or stamp.pdf in the current folder; --folder to the program's own.
// Exit status: 0 written; 1 with the reason on err when the layout is not valid, has no
// field or no visible one, holds a bound that is not a number, finds nothing, or the
// collection or file cannot be opened or written (no file is then written and an existing one
// is left as it is); 2 wrong arguments (what is wrong, then the usage). A PDF needs a
// QGuiApplication.
int runLayoutReportCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);

// The usage lines of the subcommand, for the program's usage text.
QString layoutReportCommandUsage();

} // namespace perlinex::custom
