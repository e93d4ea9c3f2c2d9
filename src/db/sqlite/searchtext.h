#pragma once

#include "db/search.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

struct sqlite3;

// The collection's search text: every stamp keeps the words a filter looks in (description,
// catalogue number, country, topic and notes) folded by accentFreeKey in a column of its own,
// kept up to date by the file's own triggers whenever a stamp or a code description changes,
// whoever writes it. A filter then compares folded words with one plain scan.
namespace perlinex::db {

class Database;

// The column of table stamp that holds the folded search text.
inline constexpr const char* SearchTextColumn = "foldedtext";

// The search text of the stamp row named alias ("s", or "new" inside a trigger), as SQL.
QString searchTextExpression(const QString& alias);

// Adds the column and its triggers to a collection's stamp table and fills it.
void addSearchText(sqlite3* db);

// The condition that the search text of the stamp row named alias holds the folded word, in
// the program's dialect; it computes the text where the collection keeps none.
QString searchTextHolds(sqlite3* db, const QString& alias, const QString& word);

// True when the collection keeps the search text (an older one opened read-only does not).
bool hasSearchText(Database& db);

// A bulk store of new stamps inside an open transaction: the trigger that fills a new stamp's
// search text row by row is set aside for its while, and finish() fills the text of the stamps
// added in one statement and makes the trigger again as the file had it. Left without finish()
// (a store that fails), the trigger is made again at once; a rollback brings it back anyway.
class BulkSearchText {
public:
    explicit BulkSearchText(Database& db);
    ~BulkSearchText();
    BulkSearchText(const BulkSearchText&) = delete;
    BulkSearchText& operator=(const BulkSearchText&) = delete;

    // The stamps numbered first to last were added. Throws DbError.
    void finish(std::int64_t first, std::int64_t last);

private:
    void restore();

    Database& db_;
    QString trigger_; // the trigger's SQL as the file keeps it; empty when set aside by none
};

} // namespace perlinex::db
