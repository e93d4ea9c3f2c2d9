#pragma once

#include <QString>
#include <QTextStream>

// What a command says on its error stream, each on a line of its own after the program's
// name: a command line it cannot take (its usage follows, status 2), or work that failed
// (status 1).
namespace perlinex {

inline int commandMisuse(QTextStream& err, const QString& what, const QString& usage) {
    err << "perlinex: " << what << "\n" << usage;
    err.flush();
    return 2;
}

inline int commandFailure(QTextStream& err, const QString& what) {
    err << "perlinex: " << what << "\n";
    err.flush();
    return 1;
}

} // namespace perlinex
