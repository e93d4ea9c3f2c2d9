#pragma once

#include "db/database.h"
#include "db/engine.h"
#include "db/value.h"

#include <QHash>
#include <QString>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace perlinex::db {

class Cursor;
struct TableColumn;
namespace detail {
struct Connection;
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
    // was current before addNew. An edited row that another program changed since it was read
    // here is not stored: error 3197, and the edit stays, to be stored over theirs with
    // updateOver or dropped.
    void update();
    // After edit: the edit is stored only over the row as it stood at version, read earlier
    // (as a window shows a stamp before the user edits it); a row another program stored since
    // then is error 3197 on update. Nothing where the table keeps no row version.
    void expectVersion(std::int64_t version);
    // Stores the edited row's changes over whatever another program stored meanwhile.
    void updateOver();
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
    void storeAdded();
    void storeEdited(bool whateverTheVersion);

    detail::Connection* conn_;
    QString sql_;
    RecordSetKind kind_;
    QString table_;   // the one table a keyed set reads, else empty
    QString key_;     // the column that names its rows
    QString version_; // the column that counts a row's changes; empty when none
    QString selectList_;

    std::vector<QString> columns_;
    QHash<QString, int> columnByName_;
    std::vector<TableColumn> tableColumns_;

    std::vector<std::int64_t> keys_;
    std::vector<bool> deleted_;
    std::int64_t deletedCount_ = 0;
    std::vector<std::vector<Value>> rows_; // snapshot rows
    std::int64_t pos_ = -1;
    bool noMatch_ = false;

    std::unique_ptr<Cursor> rowStmt_;
    mutable std::vector<Value> row_;
    mutable std::int64_t rowVersion_ = 0; // of the current row as read
    mutable bool rowLoaded_ = false;

    EditMode editMode_ = EditMode::None;
    std::map<int, Value> buffer_; // by table column index
    std::int64_t addKey_ = 0;
};

} // namespace perlinex::db
