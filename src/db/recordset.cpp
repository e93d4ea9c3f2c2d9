#include "db/recordset.h"

#include "db/connection.h"
#include "db/dberror.h"
#include "db/dialect.h"
#include "db/sqlitecall.h"

#include <QRegularExpression>
#include <algorithm>
#include <limits>
#include <stdexcept>
#include <unordered_set>

namespace perlinex::db {

using detail::Statement;

namespace {

// "select <list> from <one table> [where ...] [order by ...]": the shape a keyed set needs.
struct SingleTableQuery {
    QString list;
    QString table;
    QString rest;
};

std::optional<SingleTableQuery> parseSingleTable(const QString& sql) {
    static const QRegularExpression re(
        QStringLiteral(
            R"(^\s*select\s+(.+?)\s+from\s+("[^"]+"|[A-Za-z_][A-Za-z0-9_]*)\s*(.*?)\s*;?\s*$)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression restRe(QStringLiteral(R"(^(where\b|order\s+by\b|$))"),
                                           QRegularExpression::CaseInsensitiveOption);
    // Plain columns only, so that a row can be read again by its key.
    static const QString column =
        QStringLiteral(R"((?:"[^"]+"|[A-Za-z_][A-Za-z0-9_.]*)(?:\s+as\s+[A-Za-z_][A-Za-z0-9_]*)?)");
    static const QRegularExpression listRe(
        QStringLiteral(R"(^\s*(?:\*|%1(?:\s*,\s*%1)*)\s*$)").arg(column),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(sql);
    if (!m.hasMatch())
        return std::nullopt;
    SingleTableQuery q{m.captured(1), m.captured(2), m.captured(3)};
    if (!restRe.match(q.rest).hasMatch() || !listRe.match(q.list).hasMatch())
        return std::nullopt;
    if (q.table.startsWith(QLatin1Char('"')))
        q.table = q.table.mid(1, q.table.size() - 2);
    return q;
}

QString quotedName(const QString& name) {
    QString n = name;
    n.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + n + QLatin1Char('"');
}

} // namespace

RecordSet::RecordSet(detail::Connection* conn, const QString& sql, RecordSetKind kind)
    : conn_(conn), sql_(translateSql(sql)), kind_(kind) {
    if (const auto q = parseSingleTable(sql_)) {
        const QString canonical = conn_->canonicalTableName(q->table);
        if (canonical.isEmpty())
            throw DbError(err::TableMissing,
                          QStringLiteral("The database has no table '%1'.").arg(q->table));
        table_ = canonical;
        selectList_ = q->list;
        const QString from = QStringLiteral(" FROM %1 ").arg(quotedName(table_));
        if (kind_ == RecordSetKind::Dynaset) {
            Statement keys(
                conn_->db,
                QStringLiteral("SELECT %1.rowid%2%3").arg(quotedName(table_), from, q->rest));
            while (keys.step())
                keys_.push_back(keys.columnInt(0));
            rowStmt_ = std::make_unique<Statement>(
                conn_->db, QStringLiteral("SELECT %1%2WHERE rowid = ?").arg(selectList_, from));
            for (int i = 0; i < rowStmt_->columnCount(); ++i)
                columns_.push_back(rowStmt_->columnName(i));
        } else {
            Statement st(conn_->db, QStringLiteral("SELECT %1, %2.rowid%3%4")
                                        .arg(selectList_, quotedName(table_), from, q->rest));
            const int n = st.columnCount() - 1;
            for (int i = 0; i < n; ++i)
                columns_.push_back(st.columnName(i));
            while (st.step()) {
                std::vector<Value> row;
                row.reserve(n);
                for (int i = 0; i < n; ++i)
                    row.push_back(st.column(i));
                rows_.push_back(std::move(row));
                keys_.push_back(st.columnInt(n));
            }
        }
        tableColumns_ = conn_->columnsOf(table_);
    } else {
        // Joins, aggregates and expressions: a read-only copy of the result.
        kind_ = RecordSetKind::Snapshot;
        Statement st(conn_->db, sql_);
        const int n = st.columnCount();
        for (int i = 0; i < n; ++i)
            columns_.push_back(st.columnName(i));
        while (st.step()) {
            std::vector<Value> row;
            row.reserve(n);
            for (int i = 0; i < n; ++i)
                row.push_back(st.column(i));
            rows_.push_back(std::move(row));
        }
    }
    for (int i = 0; i < int(columns_.size()); ++i)
        if (!columnByName_.contains(columns_[i].toLower()))
            columnByName_.insert(columns_[i].toLower(), i);
    const std::size_t n = kind_ == RecordSetKind::Dynaset ? keys_.size() : rows_.size();
    deleted_.assign(n, false);
    pos_ = n == 0 ? -1 : 0;
    conn_->recordSets.push_back(this);
}

RecordSet::~RecordSet() {
    close();
}

void RecordSet::close() {
    if (conn_) {
        auto& sets = conn_->recordSets;
        sets.erase(std::remove(sets.begin(), sets.end(), this), sets.end());
    }
    invalidate();
}

void RecordSet::invalidate() {
    rowStmt_.reset();
    conn_ = nullptr;
}

void RecordSet::ensureValid() const {
    if (!conn_ || !conn_->db)
        throw DbError(err::ObjectInvalid, QStringLiteral("Object invalid or no longer set."));
}

bool RecordSet::isUpdatable() const {
    return kind_ == RecordSetKind::Dynaset && !table_.isEmpty();
}

std::int64_t RecordSet::recordCount() const {
    ensureValid();
    return std::int64_t(deleted_.size()) - deletedCount_;
}

bool RecordSet::bof() const {
    ensureValid();
    return pos_ < 0 || recordCount() == 0;
}

bool RecordSet::eof() const {
    ensureValid();
    return pos_ >= std::int64_t(deleted_.size()) || recordCount() == 0;
}

void RecordSet::settle(std::int64_t newPos) {
    // Moving away abandons a pending add or edit, as it does in the desktop engine.
    editMode_ = EditMode::None;
    buffer_.clear();
    pos_ = newPos;
    rowLoaded_ = false;
}

void RecordSet::moveFirst() {
    ensureValid();
    std::int64_t p = 0;
    const auto n = std::int64_t(deleted_.size());
    while (p < n && deleted_[p])
        ++p;
    settle(p < n ? p : -1);
}

void RecordSet::moveLast() {
    ensureValid();
    std::int64_t p = std::int64_t(deleted_.size()) - 1;
    while (p >= 0 && deleted_[p])
        --p;
    settle(p >= 0 ? p : std::int64_t(deleted_.size()));
}

void RecordSet::moveNext() {
    ensureValid();
    const auto n = std::int64_t(deleted_.size());
    std::int64_t p = std::min(pos_ + 1, n);
    while (p < n && deleted_[p])
        ++p;
    settle(p);
}

void RecordSet::movePrevious() {
    ensureValid();
    std::int64_t p = std::max<std::int64_t>(pos_ - 1, -1);
    while (p >= 0 && deleted_[p])
        --p;
    settle(p);
}

void RecordSet::requireCurrent() const {
    ensureValid();
    if (pos_ < 0 || pos_ >= std::int64_t(deleted_.size()))
        throw DbError(err::NoCurrentRecord, QStringLiteral("No current record."));
    if (deleted_[pos_])
        throw DbError(err::RecordDeleted, QStringLiteral("Record is deleted."));
}

void RecordSet::requireUpdatable() const {
    ensureValid();
    if (!isUpdatable())
        throw DbError(err::ReadOnly,
                      QStringLiteral("Cannot update. Database or object is read-only."));
}

void RecordSet::loadRow() const {
    if (rowLoaded_)
        return;
    if (kind_ == RecordSetKind::Snapshot) {
        row_ = rows_[pos_];
    } else {
        rowStmt_->reset();
        rowStmt_->bindInt(1, keys_[pos_]);
        if (!rowStmt_->step()) {
            rowStmt_->reset();
            throw DbError(err::RecordDeleted, QStringLiteral("Record is deleted."));
        }
        row_.resize(columns_.size());
        for (int i = 0; i < int(columns_.size()); ++i)
            row_[i] = rowStmt_->column(i);
        rowStmt_->reset();
    }
    rowLoaded_ = true;
}

int RecordSet::columnIndex(const QString& name) const {
    const auto it = columnByName_.constFind(name.toLower());
    if (it == columnByName_.constEnd())
        throw DbError(err::FieldMissing,
                      QStringLiteral("Item '%1' not found in this collection.").arg(name));
    return *it;
}

int RecordSet::tableColumnIndex(const QString& name) const {
    for (int i = 0; i < int(tableColumns_.size()); ++i)
        if (tableColumns_[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    throw DbError(err::FieldMissing,
                  QStringLiteral("Item '%1' not found in this collection.").arg(name));
}

QString RecordSet::fieldName(int index) const {
    return columns_.at(index);
}

bool RecordSet::hasField(const QString& name) const {
    return columnByName_.contains(name.toLower());
}

Value RecordSet::field(const QString& name) const {
    ensureValid();
    if (editMode_ != EditMode::None) {
        const int t = tableColumnIndex(name);
        const auto it = buffer_.find(t);
        if (it != buffer_.end())
            return it->second;
        if (editMode_ == EditMode::Adding)
            return tableColumns_[t].primaryKey ? Value(addKey_) : tableColumns_[t].defaultValue;
    }
    return field(columnIndex(name));
}

Value RecordSet::field(int index) const {
    requireCurrent();
    if (index < 0 || index >= int(columns_.size()))
        throw DbError(err::FieldMissing,
                      QStringLiteral("Item %1 not found in this collection.").arg(index));
    loadRow();
    return row_[index];
}

namespace {

// Converts a value to the kind of the column it is stored in, as the desktop engine does,
// refusing what does not fit.
Value convertForColumn(const detail::TableColumn& col, const Value& v) {
    const auto mismatch = [&] {
        return DbError(err::TypeMismatch,
                       QStringLiteral("Data type conversion error: '%1' cannot hold '%2'.")
                           .arg(col.name, v.toText()));
    };
    if (v.isNull()) {
        if (col.notNull)
            throw DbError(
                err::NullNotAllowed,
                QStringLiteral("The field '%1' cannot contain a Null value.").arg(col.name));
        return v;
    }
    switch (col.kind) {
    case Value::Kind::Text: {
        const QString t = v.toText();
        if (col.maxLength > 0 && t.size() > col.maxLength)
            throw DbError(err::FieldTooSmall,
                          QStringLiteral("The field '%1' is too small to accept the amount of data "
                                         "you attempted to add (at most %2 characters).")
                              .arg(col.name)
                              .arg(col.maxLength));
        return Value(t);
    }
    case Value::Kind::Integer: {
        std::int64_t i = 0;
        if (v.kind() == Value::Kind::Integer || v.kind() == Value::Kind::Bool)
            i = v.toInteger();
        else if (v.kind() == Value::Kind::Real && v.toReal() == double(std::int64_t(v.toReal())))
            i = std::int64_t(v.toReal());
        else if (v.kind() == Value::Kind::Money && v.toCurrency().raw() % Currency::Scale == 0)
            i = v.toCurrency().raw() / Currency::Scale;
        else
            throw mismatch();
        if (col.minValue != col.maxValue && (i < col.minValue || i > col.maxValue))
            throw DbError(err::ValidationFailed,
                          QStringLiteral("The value %1 does not fit the field '%2' (%3 to %4).")
                              .arg(i)
                              .arg(col.name)
                              .arg(col.minValue)
                              .arg(col.maxValue));
        return Value(i);
    }
    case Value::Kind::Money:
        if (v.kind() != Value::Kind::Money && v.kind() != Value::Kind::Integer &&
            v.kind() != Value::Kind::Real)
            throw mismatch();
        try {
            return Value(v.toCurrency());
        } catch (const std::overflow_error&) {
            throw DbError(err::Overflow,
                          QStringLiteral("Overflow: the field '%1' cannot hold %2, more than an "
                                         "amount of money can be.")
                              .arg(col.name, v.toText()));
        }
    case Value::Kind::Bool:
        if (v.kind() == Value::Kind::Bool || v.kind() == Value::Kind::Integer)
            return Value(v.toBool());
        throw mismatch();
    case Value::Kind::Date:
        if (v.toDate().isValid())
            return Value(v.toDate());
        throw mismatch();
    case Value::Kind::Real:
        if (v.kind() == Value::Kind::Text || v.kind() == Value::Kind::Date)
            throw mismatch();
        return Value(v.toReal());
    case Value::Kind::Null:
        break;
    }
    return v;
}

} // namespace

void RecordSet::setField(const QString& name, const Value& value) {
    ensureValid();
    if (editMode_ == EditMode::None)
        throw DbError(err::UpdateWithoutEdit,
                      QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    const int t = tableColumnIndex(name);
    const auto& col = tableColumns_[t];
    if (col.primaryKey)
        throw DbError(err::ReadOnly, QStringLiteral("Field '%1' cannot be updated.").arg(col.name));
    buffer_[t] = convertForColumn(col, value);
}

std::int64_t RecordSet::reserveCounter() {
    // The counter is taken and recorded at once, so that neither a cancelled add nor a
    // deleted row's number is ever handed out again.
    sqlite3* db = conn_->db;
    detail::exec(db, QStringLiteral("BEGIN IMMEDIATE"));
    try {
        std::int64_t seq = 0;
        bool hasRow = false;
        {
            Statement st(db, QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = ?"));
            st.bind(1, Value(table_));
            if (st.step()) {
                seq = st.columnInt(0);
                hasRow = true;
            }
        }
        {
            Statement st(db, QStringLiteral("SELECT max(rowid) FROM %1").arg(quotedName(table_)));
            if (st.step())
                seq = std::max(seq, st.columnInt(0));
        }
        // The engine's counters end at the largest 64-bit number; there is no next one.
        if (seq == std::numeric_limits<std::int64_t>::max())
            throw DbError(
                err::TooManyRows,
                table_.compare(QLatin1String("stamp"), Qt::CaseInsensitive) == 0
                    ? QStringLiteral("Too many stamps: the collection has handed out the largest "
                                     "stamp number there is (%1), so no stamp can be added.")
                          .arg(seq)
                    : QStringLiteral("Too many entries: the table '%1' has handed out the "
                                     "largest number there is (%2), so no entry can be added.")
                          .arg(table_)
                          .arg(seq));
        const std::int64_t next = seq + 1;
        Statement up(
            db, hasRow ? QStringLiteral("UPDATE sqlite_sequence SET seq = ? WHERE name = ?")
                       : QStringLiteral("INSERT INTO sqlite_sequence(seq, name) VALUES (?, ?)"));
        up.bindInt(1, next);
        up.bind(2, Value(table_));
        up.step();
        detail::exec(db, QStringLiteral("COMMIT"));
        return next;
    } catch (...) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

void RecordSet::addNew() {
    requireUpdatable();
    const std::int64_t key = reserveCounter();
    editMode_ = EditMode::Adding;
    buffer_.clear();
    addKey_ = key;
}

void RecordSet::edit() {
    requireUpdatable();
    requireCurrent();
    loadRow();
    editMode_ = EditMode::Editing;
    buffer_.clear();
}

void RecordSet::cancelUpdate() {
    ensureValid();
    editMode_ = EditMode::None;
    buffer_.clear();
}

void RecordSet::storeAdded() {
    QStringList names;
    QStringList marks;
    int pk = -1;
    for (int i = 0; i < int(tableColumns_.size()); ++i)
        if (tableColumns_[i].primaryKey)
            pk = i;
    if (pk >= 0) {
        names << quotedName(tableColumns_[pk].name);
        marks << QStringLiteral("?");
    }
    for (const auto& [col, v] : buffer_) {
        names << quotedName(tableColumns_[col].name);
        marks << QStringLiteral("?");
    }
    // Columns left unset must still satisfy their rules.
    for (int i = 0; i < int(tableColumns_.size()); ++i) {
        const auto& c = tableColumns_[i];
        if (c.notNull && !c.primaryKey && c.defaultValue.isNull() && !buffer_.count(i))
            throw DbError(
                err::NullNotAllowed,
                QStringLiteral("The field '%1' cannot contain a Null value.").arg(c.name));
    }
    Statement st(conn_->db, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                .arg(quotedName(table_), names.join(QLatin1Char(',')),
                                     marks.join(QLatin1Char(','))));
    int k = 1;
    if (pk >= 0)
        st.bindInt(k++, addKey_);
    for (const auto& [col, v] : buffer_)
        st.bind(k++, v);
    st.step();
    if (kind_ == RecordSetKind::Dynaset) {
        keys_.push_back(addKey_);
        deleted_.push_back(false);
    }
}

void RecordSet::storeEdited() {
    if (buffer_.empty())
        return;
    QStringList sets;
    for (const auto& [col, v] : buffer_)
        sets << quotedName(tableColumns_[col].name) + QStringLiteral(" = ?");
    Statement st(conn_->db, QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                                .arg(quotedName(table_), sets.join(QLatin1Char(','))));
    int k = 1;
    for (const auto& [col, v] : buffer_)
        st.bind(k++, v);
    st.bindInt(k, keys_[pos_]);
    st.step();
    if (sqlite3_changes(conn_->db) == 0)
        throw DbError(err::RecordDeleted, QStringLiteral("Record is deleted."));
}

void RecordSet::update() {
    ensureValid();
    if (editMode_ == EditMode::None)
        throw DbError(err::UpdateWithoutEdit,
                      QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    if (editMode_ == EditMode::Adding)
        storeAdded();
    else
        storeEdited();
    editMode_ = EditMode::None;
    buffer_.clear();
    rowLoaded_ = false;
}

void RecordSet::deleteCurrent() {
    requireUpdatable();
    requireCurrent();
    Statement st(conn_->db,
                 QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quotedName(table_)));
    st.bindInt(1, keys_[pos_]);
    st.step();
    deleted_[pos_] = true;
    ++deletedCount_;
    editMode_ = EditMode::None;
    buffer_.clear();
    rowLoaded_ = false;
}

void RecordSet::find(const QString& criteria, bool forward, std::int64_t from) {
    ensureValid();
    if (table_.isEmpty())
        throw DbError(err::NotSupported,
                      QStringLiteral("Operation is not supported for this type of object."));
    std::unordered_set<std::int64_t> matches;
    {
        Statement st(conn_->db, QStringLiteral("SELECT rowid FROM %1 WHERE (%2)")
                                    .arg(quotedName(table_), translateSql(criteria)));
        while (st.step())
            matches.insert(st.columnInt(0));
    }
    const auto n = std::int64_t(deleted_.size());
    for (std::int64_t p = from; p >= 0 && p < n; p += forward ? 1 : -1) {
        if (!deleted_[p] && matches.count(keys_[p])) {
            settle(p);
            noMatch_ = false;
            return;
        }
    }
    noMatch_ = true;
}

void RecordSet::findFirst(const QString& criteria) {
    find(criteria, true, 0);
}
void RecordSet::findLast(const QString& criteria) {
    find(criteria, false, std::int64_t(deleted_.size()) - 1);
}
void RecordSet::findNext(const QString& criteria) {
    find(criteria, true, std::max<std::int64_t>(pos_ + 1, 0));
}
void RecordSet::findPrevious(const QString& criteria) {
    find(criteria, false, std::min<std::int64_t>(pos_ - 1, std::int64_t(deleted_.size()) - 1));
}

} // namespace perlinex::db
