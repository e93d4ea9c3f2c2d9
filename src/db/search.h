#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

// The collection list's filter: the words a user types are looked for, folded by accentFreeKey,
// in each stamp's search text (description, catalogue number, country, topic and notes). Each
// store keeps that text in its own way; this is the part they share.
namespace perlinex::db {

class Database;

// The fields whose texts the search text holds, in its order; a code reference stands for
// its entry's description.
const std::vector<const char*>& searchedFields();

// The typed filter as folded words, split at white space; empty for a blank filter.
QStringList filterWords(const QString& typed);

// The condition, in the program's dialect over table stamp, that a stamp holds every word
// (for what takes a condition, such as the statistics of the filtered stamps); empty for no
// words.
QString searchConditionText(Database& db, const QStringList& words);

// The numbers of the stamps that hold every word and meet condition (in the program's dialect
// over table stamp; empty for none), ascending.
std::vector<std::int64_t> stampsMatching(Database& db, const QStringList& words,
                                         const QString& condition = QString());

} // namespace perlinex::db
