#pragma once

#include <QString>

// Looks at a file's first bytes to tell a collection from other files, so that a wrong file
// is never overwritten and the user learns what it is.
namespace perlinex::db {

enum class FileKind {
    Missing,
    Empty,
    SQLite,        // an intact SQLite header
    DamagedSQLite, // an SQLite file whose header has been changed
    OtherDatabase, // e.g. a desktop-engine .mdb of an older program
    Other,
};

struct FileProbe {
    FileKind kind;
    QString description; // "a text file", "a PDF document", ...
};

FileProbe probeFile(const QString& path);

} // namespace perlinex::db
