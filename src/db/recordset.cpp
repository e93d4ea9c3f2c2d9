#include "db/recordset.h"

#include "db/connection.h"
#include "db/dberror.h"
#include "db/engine.h"
#include "db/sqlshape.h"
#include "db/textcompare.h"

#include <QRegularExpression>
#include <algorithm>
#include <limits>
#include <stdexcept>
#include <unordered_set>

namespace perlinex::db {

namespace {

// The query's order, with the rows' key last, so that rows equal in the order come in the
// same order on every store.
QString withKeyLast(const QString& rest, const QString& key) {
    static const QRegularExpression orderBy(QStringLiteral(R"(\border\s+by\b)"),
                                            QRegularExpression::CaseInsensitiveOption);
    if (!orderBy.match(rest).hasMatch())
        return rest;
    return rest + QStringLiteral(", ") + key;
}

} // namespace

RecordSet::RecordSet(detail::Connection* conn, const QString& sql, RecordSetKind kind)
    : conn_(conn), kind_(kind) {
    Engine& engine = conn_->live();
    sql_ = engine.translate(sql);
    if (const auto q = parseSingleTable(sql_)) {
        const QString canonical = engine.tableName(q->table);
        if (canonical.isEmpty())
            throw DbError(err::TableMissing,
                          QStringLiteral("The database has no table '%1'.").arg(q->table));
        table_ = canonical;
        tableColumns_ = conn_->columnsOf(table_);
        key_ = engine.rowKey(table_);
        version_ = engine.rowVersion(table_);
        selectList_ = q->list;
        // The store's own columns are no fields of the row.
        if (selectList_.trimmed() == QLatin1String("*") &&
            std::any_of(tableColumns_.begin(), tableColumns_.end(),
                        [](const TableColumn& c) { return c.hidden; })) {
            QStringList visible;
            for (const TableColumn& c : tableColumns_)
                if (!c.hidden)
                    visible << quotedName(c.name);
            selectList_ = visible.join(QStringLiteral(", "));
        }
        const QString from = QStringLiteral(" FROM %1 ").arg(quotedName(table_));
        const QString rest = withKeyLast(q->rest, quotedName(table_) + u'.' + key_);
        if (kind_ == RecordSetKind::Dynaset) {
            const auto keys = engine.prepare(
                QStringLiteral("SELECT %1.%2%3%4").arg(quotedName(table_), key_, from, rest));
            while (keys->step())
                keys_.push_back(keys->columnInt(0));
            const QString version =
                version_.isEmpty() ? QString() : QStringLiteral(", ") + quotedName(version_);
            rowStmt_ = engine.prepare(
                QStringLiteral("SELECT %1%2%3WHERE %4 = ?").arg(selectList_, version, from, key_));
            const int n = rowStmt_->columnCount() - (version_.isEmpty() ? 0 : 1);
            for (int i = 0; i < n; ++i)
                columns_.push_back(rowStmt_->columnName(i));
        } else {
            const auto st =
                engine.prepare(QStringLiteral("SELECT %1, %2.%3%4%5")
                                   .arg(selectList_, quotedName(table_), key_, from, rest));
            const int n = st->columnCount() - 1;
            for (int i = 0; i < n; ++i)
                columns_.push_back(st->columnName(i));
            while (st->step()) {
                std::vector<Value> row;
                row.reserve(n);
                for (int i = 0; i < n; ++i)
                    row.push_back(st->column(i));
                rows_.push_back(std::move(row));
                keys_.push_back(st->columnInt(n));
            }
        }
    } else {
        // Joins, aggregates and expressions: a read-only copy of the result.
        kind_ = RecordSetKind::Snapshot;
        const auto st = engine.prepare(sql_);
        const int n = st->columnCount();
        for (int i = 0; i < n; ++i)
            columns_.push_back(st->columnName(i));
        while (st->step()) {
            std::vector<Value> row;
            row.reserve(n);
            for (int i = 0; i < n; ++i)
                row.push_back(st->column(i));
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
    if (!conn_ || !conn_->isOpen())
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
        rowStmt_->bind(1, Value(keys_[pos_]));
        if (!rowStmt_->step()) {
            rowStmt_->reset();
            throw DbError(err::RecordDeleted, QStringLiteral("Record is deleted."));
        }
        row_.resize(columns_.size());
        for (int i = 0; i < int(columns_.size()); ++i)
            row_[i] = rowStmt_->column(i);
        if (!version_.isEmpty())
            rowVersion_ = rowStmt_->columnInt(int(columns_.size()));
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
Value convertForColumn(const TableColumn& col, const Value& v) {
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
    if (col.primaryKey || col.hidden)
        throw DbError(err::ReadOnly, QStringLiteral("Field '%1' cannot be updated.").arg(col.name));
    buffer_[t] = convertForColumn(col, value);
}

void RecordSet::addNew() {
    requireUpdatable();
    const std::int64_t key = conn_->live().reserveCounter(table_);
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

void RecordSet::expectVersion(std::int64_t version) {
    if (!version_.isEmpty() && editMode_ == EditMode::Editing)
        rowVersion_ = version;
}

void RecordSet::cancelUpdate() {
    ensureValid();
    editMode_ = EditMode::None;
    buffer_.clear();
}

void RecordSet::storeAdded() {
    QStringList names;
    QStringList marks;
    std::vector<Value> values;
    const auto put = [&](const QString& name, const Value& v) {
        names << quotedName(name);
        marks << QStringLiteral("?");
        values.push_back(v);
    };
    for (const TableColumn& c : tableColumns_)
        if (c.primaryKey)
            put(c.name, Value(addKey_));
    for (const auto& [col, v] : buffer_) {
        put(tableColumns_[col].name, v);
        if (!tableColumns_[col].sortKeyColumn.isEmpty())
            put(tableColumns_[col].sortKeyColumn, sortKeyValue(v));
    }
    // Columns left unset must still satisfy their rules.
    for (int i = 0; i < int(tableColumns_.size()); ++i) {
        const auto& c = tableColumns_[i];
        if (c.notNull && !c.primaryKey && !c.hidden && c.defaultValue.isNull() && !buffer_.count(i))
            throw DbError(
                err::NullNotAllowed,
                QStringLiteral("The field '%1' cannot contain a Null value.").arg(c.name));
    }
    const auto st =
        conn_->live().prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                  .arg(quotedName(table_), names.join(u','), marks.join(u',')));
    for (std::size_t i = 0; i < values.size(); ++i)
        st->bind(int(i) + 1, values[i]);
    st->step();
    if (kind_ == RecordSetKind::Dynaset) {
        keys_.push_back(addKey_);
        deleted_.push_back(false);
    }
}

void RecordSet::storeEdited(bool whateverTheVersion) {
    if (buffer_.empty())
        return;
    QStringList sets;
    std::vector<Value> values;
    const auto put = [&](const QString& name, const Value& v) {
        sets << quotedName(name) + QStringLiteral(" = ?");
        values.push_back(v);
    };
    for (const auto& [col, v] : buffer_) {
        put(tableColumns_[col].name, v);
        if (!tableColumns_[col].sortKeyColumn.isEmpty())
            put(tableColumns_[col].sortKeyColumn, sortKeyValue(v));
    }
    QString where = QStringLiteral("%1 = ?").arg(key_);
    values.emplace_back(keys_[pos_]);
    if (!version_.isEmpty()) {
        sets << QStringLiteral("%1 = %1 + 1").arg(quotedName(version_));
        if (!whateverTheVersion) {
            where += QStringLiteral(" AND %1 = ?").arg(quotedName(version_));
            values.emplace_back(rowVersion_);
        }
    }
    Engine& engine = conn_->live();
    const auto st = engine.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                                       .arg(quotedName(table_), sets.join(u','), where));
    for (std::size_t i = 0; i < values.size(); ++i)
        st->bind(int(i) + 1, values[i]);
    st->step();
    if (st->changes() > 0)
        return;
    // Not stored: the row is gone, or another program changed it since it was read here.
    const auto row = engine.prepare(
        QStringLiteral("SELECT 1 FROM %1 WHERE %2 = ?").arg(quotedName(table_), key_));
    row->bind(1, Value(keys_[pos_]));
    if (!row->step())
        throw DbError(err::RecordDeleted, QStringLiteral("Record is deleted."));
    throw DbError(err::ChangedElsewhere,
                  table_.compare(QLatin1String("stamp"), Qt::CaseInsensitive) == 0
                      ? QStringLiteral("This stamp was changed by another user since you began "
                                       "editing it.")
                      : QStringLiteral("This entry was changed by another user since you began "
                                       "editing it."));
}

void RecordSet::update() {
    ensureValid();
    if (editMode_ == EditMode::None)
        throw DbError(err::UpdateWithoutEdit,
                      QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    if (editMode_ == EditMode::Adding)
        storeAdded();
    else
        storeEdited(false);
    editMode_ = EditMode::None;
    buffer_.clear();
    rowLoaded_ = false;
}

void RecordSet::updateOver() {
    ensureValid();
    if (editMode_ != EditMode::Editing)
        throw DbError(err::UpdateWithoutEdit,
                      QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    storeEdited(true);
    editMode_ = EditMode::None;
    buffer_.clear();
    rowLoaded_ = false;
}

void RecordSet::deleteCurrent() {
    requireUpdatable();
    requireCurrent();
    const auto st = conn_->live().prepare(
        QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(quotedName(table_), key_));
    st->bind(1, Value(keys_[pos_]));
    st->step();
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
        Engine& engine = conn_->live();
        const auto st =
            engine.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE (%3)")
                               .arg(key_, quotedName(table_), engine.translate(criteria)));
        while (st->step())
            matches.insert(st->columnInt(0));
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
