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
// A name read from data (the field catalogue) as an identifier: [name], and [table].[field]
// for a qualified one, so that it can only ever name a table or a field. Throws DbError
// (syntax error) for a name that no identifier can hold.
QString quoteName(const QString& name);
// A typed text for use inside a like pattern, its wildcard characters made literal:
// "50*" becomes "50[*]".
QString escapeLike(const QString& text);
// A date literal the engine reads the same under every regional setting: #5/30/1998#.
QString dateLiteral(const QDate& date);

} // namespace perlinex::db
