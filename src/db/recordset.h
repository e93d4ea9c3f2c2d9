#pragma once

#include "db/database.h"
#include "db/value.h"

#include <QHash>
#include <QString>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace perlinex::db {

namespace detail {
struct Connection;
class Statement;
struct TableColumn;
} // namespace detail

// The result of a query, walked one current row at a time. A dynaset over one table is
// updatable and reads each row when it becomes current; rows it adds go to its end until
// it is opened again. A snapshot is a read-only copy.
class RecordSet {
public:
    ~RecordSet();
    RecordSet(const RecordSet&) = delete;
    RecordSet& operator=(const RecordSet&) = delete;

    RecordSetKind kind() const { return kind_; }
    bool isUpdatable() const;

    // Rows in the set, not counting deleted ones; 0 exactly when the set is empty.
    std::int64_t recordCount() const;
    bool bof() const;
    bool eof() const;
    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrevious();

    // Starts a new row; its counter field can be read at once and is never handed out again.
    void addNew();
    // Starts changing the current row.
    void edit();
    // Stores the row begun by addNew or edit. After an add the current row is the one that
    // was current before addNew.
    void update();
    void cancelUpdate();
    bool isEditing() const { return editMode_ != EditMode::None; }
    bool isAdding() const { return editMode_ == EditMode::Adding; }
    // Removes the current row; it stays current, but deleted, until the next move.
    void deleteCurrent();

    // Criteria in the program's dialect, e.g. "StampID = 12" or "descr like '*penny*'".
    void findFirst(const QString& criteria);
    void findLast(const QString& criteria);
    void findNext(const QString& criteria);
    void findPrevious(const QString& criteria);
    bool noMatch() const { return noMatch_; }

    int fieldCount() const { return int(columns_.size()); }
    QString fieldName(int index) const;
    bool hasField(const QString& name) const;
    // Field access by name without regard to case; throws 3265 for an unknown name.
    Value field(const QString& name) const;
    Value field(int index) const;
    void setField(const QString& name, const Value& value);

    void close();

private:
    friend class Database;
    friend struct detail::Connection;
    RecordSet(detail::Connection* conn, const QString& sql, RecordSetKind kind);
    void invalidate();

    enum class EditMode { None, Editing, Adding };

    void ensureValid() const;
    void requireCurrent() const;
    void requireUpdatable() const;
    void settle(std::int64_t newPos);
    void loadRow() const;
    int columnIndex(const QString& name) const;
    int tableColumnIndex(const QString& name) const;
    void find(const QString& criteria, bool forward, std::int64_t from);
    std::int64_t reserveCounter();
    void storeAdded();
    void storeEdited();

    detail::Connection* conn_;
    QString sql_;
    RecordSetKind kind_;
    QString table_; // the one table a keyed set reads, else empty
    QString selectList_;

    std::vector<QString> columns_;
    QHash<QString, int> columnByName_;
    std::vector<detail::TableColumn> tableColumns_;

    std::vector<std::int64_t> keys_;
    std::vector<bool> deleted_;
    std::int64_t deletedCount_ = 0;
    std::vector<std::vector<Value>> rows_; // snapshot rows
    std::int64_t pos_ = -1;
    bool noMatch_ = false;

    std::unique_ptr<detail::Statement> rowStmt_;
    mutable std::vector<Value> row_;
    mutable bool rowLoaded_ = false;

    EditMode editMode_ = EditMode::None;
    std::map<int, Value> buffer_; // by table column index
    std::int64_t addKey_ = 0;
};

} // namespace perlinex::db
