#pragma once

#include "db/database.h"
#include "db/value.h"

#include <QHash>
#include <QString>
#include <cstdint>
#include <sqlite3.h>
#include <vector>

// The store's private view of an open database, shared by the database and its record sets.
namespace perlinex::db::detail {

struct TableColumn {
    QString name;
    Value::Kind kind = Value::Kind::Null;
    int maxLength = 0;                       // text limit; 0 for none
    std::int64_t minValue = 0, maxValue = 0; // whole-number range; equal when unlimited
    bool notNull = false;
    bool primaryKey = false;
    Value defaultValue;
};

struct Connection {
    sqlite3* db = nullptr;
    QString path;
    OpenMode mode = OpenMode::Shared;
    std::vector<RecordSet*> recordSets;
    QHash<QString, std::vector<TableColumn>> tableColumns; // by lower-case table name

    ~Connection();
    void close();
    // The columns of a table as declared, cached; empty when the table does not exist.
    const std::vector<TableColumn>& columnsOf(const QString& table);
    // The table's name as it was created, found without regard to case.
    QString canonicalTableName(const QString& table);
};

} // namespace perlinex::db::detail
