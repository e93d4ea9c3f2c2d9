#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The few shapes of statement the store looks into, found in the engine's SQL: a query of one
// table that a keyed record set can read again row by row, and an insert of listed columns.
namespace perlinex::db {

// "select <plain columns> from <one table> [where ...] [order by ...]".
struct SingleTableQuery {
    QString list;  // "*" or the columns as written
    QString table; // unquoted
    QString rest;  // the where and order by clauses, as written
};
std::optional<SingleTableQuery> parseSingleTable(const QString& sql);

// "insert into <table> (<columns>) values (?, ...)", one "?" a column.
struct ListedInsert {
    QString table;
    QStringList columns;
};
std::optional<ListedInsert> parseInsert(const QString& sql);

// A name as the engine's SQL quotes it: "name".
QString quotedName(const QString& name);

} // namespace perlinex::db
