#pragma once

#include "db/database.h"
#include "db/engine.h"

#include <QHash>
#include <QString>
#include <memory>
#include <vector>

// The store's private view of an open database, shared by the database and its record sets.
namespace perlinex::db::detail {

struct Connection {
    std::unique_ptr<Engine> engine;
    QString path;
    OpenMode mode = OpenMode::Shared;
    std::vector<RecordSet*> recordSets;
    QHash<QString, std::vector<TableColumn>> tableColumns; // by lower-case table name

    ~Connection();
    bool isOpen() const { return engine && engine->isOpen(); }
    // The engine while the database is open; throws 91 when it is closed.
    Engine& live();
    void close();
    // The columns of a table as declared, cached; empty when the table does not exist.
    const std::vector<TableColumn>& columnsOf(const QString& table);
    // Forgets the cached columns: a statement may have changed a table.
    void forgetColumns() { tableColumns.clear(); }
};

} // namespace perlinex::db::detail
