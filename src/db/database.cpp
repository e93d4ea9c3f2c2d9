#include "db/database.h"

#include "db/connection.h"
#include "db/dberror.h"
#include "db/engine.h"
#include "db/recordset.h"
#include "db/sqlshape.h"
#include "db/textcompare.h"
#include "util/translation.h"

namespace perlinex::db {

using detail::Connection;

namespace detail {

Connection::~Connection() {
    close();
}

Engine& Connection::live() {
    if (!isOpen())
        throw DbError(err::NoDatabase, translate("Database", "No database is open."));
    return *engine;
}

void Connection::close() {
    // Record sets still open lose their statements first, so that the store is really let go.
    for (RecordSet* rs : std::vector<RecordSet*>(recordSets))
        rs->invalidate();
    recordSets.clear();
    if (engine)
        engine->close();
}

const std::vector<TableColumn>& Connection::columnsOf(const QString& table) {
    const QString key = table.toLower();
    auto it = tableColumns.find(key);
    if (it != tableColumns.end())
        return *it;
    return *tableColumns.insert(key, live().columnsOf(table));
}

} // namespace detail

Database::Database(std::unique_ptr<Engine> engine, const QString& path, OpenMode mode)
    : conn_(std::make_shared<Connection>()) {
    conn_->engine = std::move(engine);
    conn_->path = path;
    conn_->mode = mode;
}

Database::~Database() {
    close();
}

const QString& Database::path() const {
    return conn_->path;
}
OpenMode Database::mode() const {
    return conn_->mode;
}
StoreKind Database::storeKind() const {
    return conn_->engine->kind();
}
bool Database::isOpen() const {
    return conn_ && conn_->isOpen();
}

void Database::close() {
    if (conn_)
        conn_->close();
}

Engine& Database::engine() const {
    return conn_->live();
}

std::unique_ptr<RecordSet> Database::openRecordSet(const QString& sql, RecordSetKind kind) {
    conn_->live();
    return std::unique_ptr<RecordSet>(new RecordSet(conn_.get(), sql, kind));
}

void Database::execute(const QString& sql) {
    Engine& e = conn_->live();
    e.exec(e.translate(sql));
    conn_->forgetColumns(); // the statement may have changed a table
}

Value Database::scalar(const QString& sql) {
    Engine& e = conn_->live();
    const auto cursor = e.prepare(e.translate(sql));
    return cursor->step() ? cursor->column(0) : Value();
}

std::unique_ptr<Command> Database::prepare(const QString& sql) {
    Engine& e = conn_->live();
    const QString translated = e.translate(sql);
    // An insert of texts the store orders by keys of also stores their keys.
    std::vector<Command::Derived> derived;
    QString run = translated;
    if (const auto insert = parseInsert(translated)) {
        QStringList names = insert->columns;
        QStringList marks;
        for (int i = 0; i < names.size(); ++i)
            marks << QStringLiteral("?");
        const std::vector<TableColumn>& columns = conn_->columnsOf(insert->table);
        for (int i = 0; i < int(insert->columns.size()); ++i)
            for (const TableColumn& c : columns)
                if (!c.sortKeyColumn.isEmpty() &&
                    c.name.compare(insert->columns[i], Qt::CaseInsensitive) == 0) {
                    names << c.sortKeyColumn;
                    marks << QStringLiteral("?");
                    derived.push_back({i});
                }
        if (!derived.empty())
            run =
                QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                    .arg(insert->table, names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
    }
    return std::unique_ptr<Command>(new Command(e.prepare(run), std::move(derived)));
}

namespace {

// Where the engine has no quicker way: one prepared insert a row.
class InsertWriter : public RowWriter {
public:
    explicit InsertWriter(std::unique_ptr<Command> insert) : insert_(std::move(insert)) {}
    void write(const std::vector<Value>& values) override { insert_->run(values); }
    void finish() override {}

private:
    std::unique_ptr<Command> insert_;
};

} // namespace

std::unique_ptr<RowWriter> Database::rowWriter(const QString& table, const QStringList& columns) {
    if (auto writer = conn_->live().bulkWriter(table, columns))
        return writer;
    QStringList marks;
    for (qsizetype i = 0; i < columns.size(); ++i)
        marks << QStringLiteral("?");
    return std::make_unique<InsertWriter>(
        prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                    .arg(table, columns.join(QLatin1Char(',')), marks.join(QLatin1Char(',')))));
}

std::unique_ptr<Query> Database::query(const QString& sql) {
    Engine& e = conn_->live();
    return std::unique_ptr<Query>(new Query(e.prepare(e.translate(sql))));
}

QString Database::rowVersionColumn(const QString& table) {
    return conn_->live().rowVersion(table);
}

void Database::idle() {
    if (isOpen())
        conn_->engine->idle();
}

std::vector<std::int64_t> Database::takeCounters(const QString& table, std::int64_t count) {
    return conn_->live().takeCounters(table, count);
}

std::int64_t Database::lastInsertedKey() {
    return conn_->live().lastInsertedKey();
}

std::int64_t Database::counterMark(const QString& table) {
    return conn_->live().counterMark(table);
}

void Database::raiseCounter(const QString& table, std::int64_t mark) {
    conn_->live().raiseCounter(table, mark);
}

void Database::interrupt() {
    if (isOpen())
        conn_->engine->interrupt();
}

void Database::begin() {
    conn_->live().begin();
}
void Database::commit() {
    conn_->live().commit();
}
void Database::rollback() noexcept {
    if (isOpen())
        conn_->engine->rollback();
}

Command::Command(std::unique_ptr<Cursor> cursor, std::vector<Derived> derived)
    : cursor_(std::move(cursor)), derived_(std::move(derived)) {}

Command::~Command() = default;

void Command::run(const std::vector<Value>& values) {
    cursor_->reset();
    for (std::size_t i = 0; i < values.size(); ++i)
        cursor_->bind(int(i) + 1, values[i]);
    int next = int(values.size()) + 1;
    for (const Derived& d : derived_) {
        const Value& source =
            d.source < int(values.size()) ? values[std::size_t(d.source)] : Value();
        cursor_->bind(next++, sortKeyValue(source));
    }
    cursor_->step();
}

Query::Query(std::unique_ptr<Cursor> cursor) : cursor_(std::move(cursor)) {}

Query::~Query() = default;

void Query::run(const std::vector<Value>& values) {
    cursor_->reset();
    for (std::size_t i = 0; i < values.size(); ++i)
        cursor_->bind(int(i) + 1, values[i]);
}

bool Query::next() {
    return cursor_->step();
}
int Query::columnCount() const {
    return cursor_->columnCount();
}
QString Query::columnName(int column) const {
    return cursor_->columnName(column);
}
Value Query::value(int column) const {
    return cursor_->column(column);
}
std::int64_t Query::integer(int column) const {
    return cursor_->columnInt(column);
}
double Query::real(int column) const {
    return cursor_->columnReal(column);
}
QString Query::text(int column) const {
    return cursor_->columnText(column);
}
QByteArrayView Query::utf8(int column) const {
    return cursor_->columnUtf8(column);
}
StoredKind Query::storedKind(int column) const {
    return cursor_->storedKind(column);
}
Value::Kind Query::declaredKind(int column) const {
    return cursor_->declaredKind(column);
}
void Query::finish() {
    cursor_->reset();
}

LargerCache::LargerCache(Database& db, std::int64_t kib) : db_(db) {
    Engine& e = db.engine();
    before_ = e.cacheSetting();
    e.setCacheSetting(-kib);
}

LargerCache::~LargerCache() {
    try {
        if (db_.isOpen())
            db_.engine().setCacheSetting(before_);
    } catch (const DbError&) {
        // The cache stays larger; nothing is lost.
    }
}

} // namespace perlinex::db
