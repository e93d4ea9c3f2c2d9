#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

// `perlinex export --csv FILE|- ...` and `perlinex import --csv FILE ...` /
// `perlinex import --tellico FILE.tc ...`: the stamps taken out as CSV and brought in from CSV
// or a Tellico collection without a window, through the same code as the window.
namespace perlinex::app {

// arguments as QCoreApplication::arguments() gives them: the program, "export", then the
// rest. Exit status: 0 written; 1 the collection or file could not be read or written; 2 wrong
// arguments.
int runExportCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);

// arguments: the program, "import", then the rest. Refused lines go to err, one a line. Exit
// status: 0 stored (a dry run: nothing refused); 1 a line was refused and nothing was stored,
// or the file or collection could not be read; 2 wrong arguments.
int runImportCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);

// The usage lines of both, for the program's own usage text.
QString exchangeCommandUsage();

// The conversion of a picture's bytes into the JPEG the collection keeps, as Load Image
// converts it.
QByteArray pictureAsJpeg(const QByteArray& picture, QString* why);

} // namespace perlinex::app
