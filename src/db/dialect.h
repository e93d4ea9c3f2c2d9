#pragma once

#include <QDate>
#include <QString>

// The SQL dialect of the program's queries is the desktop engine's: double-quoted string
// literals, [bracketed] names, #m/d/yyyy# date literals, * ? # wildcards in like. The store
// runs such texts unchanged by translating them for SQLite here.
namespace perlinex::db {

// Translates one statement; throws DbError (syntax error) for a malformed date literal or an
// unterminated string.
QString translateSql(const QString& sql);

// A typed text as a literal that matches itself exactly: 'O''Brien'.
QString quoteText(const QString& text);
// A typed text for use inside a like pattern, its wildcard characters made literal:
// "50*" becomes "50[*]".
QString escapeLike(const QString& text);
// A date literal the engine reads the same under every regional setting: #5/30/1998#.
QString dateLiteral(const QDate& date);

} // namespace perlinex::db
