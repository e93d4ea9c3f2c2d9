#pragma once

#include <QString>

// The program's SQL dialect in PostgreSQL's SQL. On top of what every store translates
// (string literals, [names], #dates#), the server needs: names folded to the lower case the
// collection's tables were made with, the engine-pattern like as a regular expression, text
// ordered by the stored sort keys, and nulls ordered first, as the file orders them.
namespace perlinex::db::pg {

// Translates one statement or criterion; throws DbError (syntax error) as translateSql does.
QString translateForServer(const QString& sql);

// The engine-pattern (* ? # [a-z] [!a-z]) as an anchored PostgreSQL regular expression, to be
// matched without regard to case.
QString likeRegex(const QString& pattern);

// Numbers the "?" placeholders outside literals and quoted names: $1, $2, ...; count gets
// how many there are.
QString numberedPlaceholders(const QString& sql, int* count = nullptr);

// The collation under which the server folds case for the like patterns: Unicode's, whatever
// the database's own locale.
inline constexpr const char* PatternCollation = "und-x-icu";

} // namespace perlinex::db::pg
