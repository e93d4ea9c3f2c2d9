#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

// Recovery of the rows of a damaged collection by reading the SQLite file format itself:
// the engine refuses a file whose header, schema or a b-tree page is damaged, while most
// rows are still there. The header is corrected from what the file tells (its length, the
// shape of its pages), the tables' b-trees are read as far as they hold, and where a table's
// b-tree is broken every page is searched for rows of that table's shape.
namespace perlinex::db {

class Database;

struct SalvageOutcome {
    std::int64_t stamps = 0;   // stamp rows written
    std::int64_t codes = 0;    // code-table rows written
    std::int64_t lostRows = 0; // rows found but not recoverable: unreadable, of no known table,
                               // or refused by the schema
    std::int64_t cutRows = 0;  // rows written with a value whose end could not be read
    // Stamps written with characters that could not be read replaced by U+FFFD.
    std::int64_t mendedStamps = 0;
    // How many stamps the damaged file held, as far as it tells: the rows read plus the rows
    // its key ranges suggest for the parts that could not be read.
    std::int64_t expectedStamps = 0;
    // False when nothing of the stamps is left to tell how many there were (no page of their
    // table, no row, no counter), as in a file cut to its first page.
    bool stampsHeldKnown = true;
    std::int64_t stampCounter = 0; // the stamp counter's high-water mark written to the new file
    int pageSize = 0;              // the page size the file was read with
    bool pageSizeGuessed = false;  // the header's page size was unusable and was found otherwise
    bool schemaFound = true;       // the damaged file's table list could be read
    QStringList notes;             // what was corrected or guessed, for the log
};

// Reads every row that can still be found in the SQLite file at damagedPath and writes it
// into the same-named table of fresh, an empty collection made by createCollection. Keys are
// kept; a key found twice keeps the row of the live b-tree. The counters' high-water marks
// are raised to the highest key or counter seen, so that no key is handed out twice. Values
// are copied byte for byte, except that texts are written as UTF-8 with any sequence that does
// not decode replaced by U+FFFD. Runs inside the caller's transaction; never alters damagedPath.
// Throws DbError only when the file cannot be read at all or fresh cannot be written.
SalvageOutcome salvageCollection(const QString& damagedPath, Database& fresh);

} // namespace perlinex::db
