#pragma once

#include <QString>

struct sqlite3;

// Text comparison of the collection: without regard to case (Unicode letters included) and,
// for ordering, with accented letters next to their plain ones. The rules depend only on
// Unicode data, never on the user's locale, so an index built today stays valid tomorrow.
namespace perlinex::db {

// Name of the collation that every text column of our schemas carries.
inline constexpr const char* TextCollation = "TEXTCI";

// <0, 0, >0. Equal means equal apart from case; "Osterreich" and "Österreich" differ but
// sort next to each other.
int compareText(const QString& a, const QString& b);

// The text with case and accents folded away: two texts have the same key exactly when they
// are equal apart from case and accents ("aland" and "Åland"), as the order's first level sees
// them.
QString accentFreeKey(const QString& text);

// Equal apart from case and accents.
bool sameTextIgnoringAccents(const QString& a, const QString& b);

// The desktop-engine pattern match: * any run, ? one character, # one digit, [abc], [a-z],
// [!abc]; without regard to case.
bool likeMatch(const QString& value, const QString& pattern);

// Registers the collation and replaces the engine's like() with likeMatch on a connection.
void registerTextFunctions(sqlite3* db);

} // namespace perlinex::db
