#include "db/sqlite/sqliteengine.h"

#include "db/dberror.h"
#include "db/dialect.h"
#include "db/sqlite/searchtext.h"
#include "db/sqlite/sqlitecall.h"
#include "db/sqlshape.h"
#include "db/textcompare.h"

#include <QRegularExpression>
#include <limits>
#include <sqlite3.h>

namespace perlinex::db::sqlite {

using detail::Statement;

namespace {

class SqliteCursor : public Cursor {
public:
    SqliteCursor(sqlite3* db, const QString& sql) : db_(db), st_(db, sql) {}

    void bind(int index, const Value& value) override { st_.bind(index, value); }
    bool step() override {
        const bool row = st_.step();
        if (!row)
            changes_ = sqlite3_changes64(db_);
        return row;
    }
    void reset() override { st_.reset(); }
    int columnCount() const override { return st_.columnCount(); }
    QString columnName(int i) const override { return st_.columnName(i); }
    Value column(int i) const override { return st_.column(i); }
    std::int64_t columnInt(int i) const override { return st_.columnInt(i); }
    double columnReal(int i) const override { return sqlite3_column_double(st_.get(), i); }
    QString columnText(int i) const override { return st_.columnText(i); }
    QByteArrayView columnUtf8(int i) const override {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st_.get(), i));
        return QByteArrayView(text, sqlite3_column_bytes(st_.get(), i));
    }
    StoredKind storedKind(int i) const override {
        switch (sqlite3_column_type(st_.get(), i)) {
        case SQLITE_INTEGER:
            return StoredKind::Integer;
        case SQLITE_FLOAT:
            return StoredKind::Real;
        case SQLITE_TEXT:
            return StoredKind::Text;
        case SQLITE_BLOB:
            return StoredKind::Blob;
        default:
            return StoredKind::Null;
        }
    }
    Value::Kind declaredKind(int i) const override {
        const char* declared = sqlite3_column_decltype(st_.get(), i);
        return declared ? detail::kindOfDeclaredType(QString::fromLatin1(declared))
                        : Value::Kind::Null;
    }
    std::int64_t changes() const override { return changes_; }

private:
    sqlite3* db_;
    Statement st_;
    std::int64_t changes_ = 0;
};

} // namespace

SqliteEngine::~SqliteEngine() {
    close();
}

void SqliteEngine::close() {
    if (db_) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
}

QString SqliteEngine::translate(const QString& sql) const {
    return translateSql(sql);
}

std::unique_ptr<Cursor> SqliteEngine::prepare(const QString& engineSql) {
    return std::make_unique<SqliteCursor>(db_, engineSql);
}

void SqliteEngine::exec(const QString& engineSql) {
    detail::exec(db_, engineSql);
}

void SqliteEngine::begin() {
    detail::exec(db_, QStringLiteral("BEGIN IMMEDIATE"));
}
void SqliteEngine::commit() {
    detail::exec(db_, QStringLiteral("COMMIT"));
}
void SqliteEngine::rollback() noexcept {
    if (db_ && !sqlite3_get_autocommit(db_))
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}
bool SqliteEngine::inTransaction() const {
    return db_ && !sqlite3_get_autocommit(db_);
}

std::vector<TableColumn> SqliteEngine::columnsOf(const QString& table) {
    std::vector<TableColumn> cols;
    Statement st(db_, QStringLiteral("PRAGMA table_info(%1)").arg(quoteText(table)));
    static const QRegularExpression lengthRe(QStringLiteral(R"(\((\d+)\))"));
    while (st.step()) {
        TableColumn c;
        c.name = st.columnText(1);
        const QString declared = st.columnText(2);
        c.kind = detail::kindOfDeclaredType(declared);
        if (c.kind == Value::Kind::Text) {
            const auto m = lengthRe.match(declared);
            if (m.hasMatch())
                c.maxLength = m.captured(1).toInt();
        }
        c.notNull = st.columnInt(3) != 0;
        c.primaryKey = st.columnInt(5) != 0;
        // The collection's whole numbers are the desktop engine's 16-bit and 32-bit kinds.
        if (c.kind == Value::Kind::Integer && !c.primaryKey) {
            const bool small = declared.toUpper().startsWith(QLatin1String("SMALLINT"));
            c.minValue = small ? -32768 : -2147483648LL;
            c.maxValue = small ? 32767 : 2147483647LL;
        }
        if (sqlite3_column_type(st.get(), 4) != SQLITE_NULL) {
            QString d = st.columnText(4).trimmed();
            if (d.startsWith(QLatin1Char('\'')) && d.endsWith(QLatin1Char('\'')) && d.size() >= 2)
                c.defaultValue = Value(
                    d.mid(1, d.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'")));
            else if (c.kind == Value::Kind::Bool)
                c.defaultValue = Value(d.toLongLong() != 0);
            else if (c.kind == Value::Kind::Money)
                c.defaultValue = Value(Currency::fromPlainText(d).value_or(Currency()));
            else
                c.defaultValue = Value(std::int64_t(d.toLongLong()));
        }
        cols.push_back(c);
    }
    return cols;
}

QString SqliteEngine::tableName(const QString& table) {
    Statement st(db_, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND "
                                     "lower(name) = lower(?)"));
    st.bind(1, Value(table));
    return st.step() ? st.columnText(0) : QString();
}

namespace {

// The highest counter the table has handed out: its high-water mark or its highest key.
std::int64_t highestCounter(sqlite3* db, const QString& table, bool* hasMark) {
    std::int64_t seq = 0;
    {
        Statement st(db, QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = ?"));
        st.bind(1, Value(table));
        *hasMark = st.step();
        if (*hasMark)
            seq = st.columnInt(0);
    }
    Statement st(db, QStringLiteral("SELECT max(rowid) FROM %1").arg(quotedName(table)));
    if (st.step())
        seq = std::max(seq, st.columnInt(0));
    return seq;
}

DbError tooManyRows(const QString& table, std::int64_t seq) {
    return DbError(err::TooManyRows,
                   table.compare(QLatin1String("stamp"), Qt::CaseInsensitive) == 0
                       ? QStringLiteral("Too many stamps: the collection has handed out the "
                                        "largest stamp number there is (%1), so no stamp can be "
                                        "added.")
                             .arg(seq)
                       : QStringLiteral("Too many entries: the table '%1' has handed out the "
                                        "largest number there is (%2), so no entry can be added.")
                             .arg(table)
                             .arg(seq));
}

} // namespace

std::int64_t SqliteEngine::reserveCounter(const QString& table) {
    // The counter is taken and recorded at once, so that neither a cancelled add nor a
    // deleted row's number is ever handed out again.
    detail::exec(db_, QStringLiteral("BEGIN IMMEDIATE"));
    try {
        bool hasMark = false;
        const std::int64_t seq = highestCounter(db_, table, &hasMark);
        // The engine's counters end at the largest 64-bit number; there is no next one.
        if (seq == std::numeric_limits<std::int64_t>::max())
            throw tooManyRows(table, seq);
        const std::int64_t next = seq + 1;
        Statement up(
            db_, hasMark ? QStringLiteral("UPDATE sqlite_sequence SET seq = ? WHERE name = ?")
                         : QStringLiteral("INSERT INTO sqlite_sequence(seq, name) VALUES (?, ?)"));
        up.bindInt(1, next);
        up.bind(2, Value(table));
        up.step();
        detail::exec(db_, QStringLiteral("COMMIT"));
        return next;
    } catch (...) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

std::int64_t SqliteEngine::counterMark(const QString& table) {
    bool hasMark = false;
    return highestCounter(db_, table, &hasMark);
}

void SqliteEngine::raiseCounter(const QString& table, std::int64_t mark) {
    bool hasMark = false;
    if (highestCounter(db_, table, &hasMark) >= mark)
        return;
    Statement up(db_,
                 hasMark ? QStringLiteral("UPDATE sqlite_sequence SET seq = ? WHERE name = ?")
                         : QStringLiteral("INSERT INTO sqlite_sequence (seq, name) VALUES (?, ?)"));
    up.bind(1, Value(mark));
    up.bind(2, Value(table));
    up.step();
}

std::vector<std::int64_t> SqliteEngine::takeCounters(const QString& table, std::int64_t count) {
    // Inside the caller's transaction on a file no other program writes: the numbers after
    // every one handed out so far, recorded by the engine's counter as the rows are stored.
    bool hasMark = false;
    const std::int64_t seq = highestCounter(db_, table, &hasMark);
    if (count > 0 && seq > std::numeric_limits<std::int64_t>::max() - count)
        throw tooManyRows(table, seq);
    std::vector<std::int64_t> ids;
    ids.reserve(std::size_t(std::max<std::int64_t>(count, 0)));
    for (std::int64_t i = 1; i <= count; ++i)
        ids.push_back(seq + i);
    return ids;
}

std::int64_t SqliteEngine::lastInsertedKey() {
    return sqlite3_last_insert_rowid(db_);
}

QString SqliteEngine::searchTextHolds(const QString& alias, const QString& word) {
    return db::searchTextHolds(db_, alias, word);
}

void SqliteEngine::idle() {
    if (db_)
        sqlite3_db_release_memory(db_);
}

void SqliteEngine::interrupt() {
    if (db_)
        sqlite3_interrupt(db_);
}

std::int64_t SqliteEngine::cacheSetting() {
    Statement st(db_, QStringLiteral("PRAGMA cache_size"));
    return st.step() ? st.columnInt(0) : 0;
}

void SqliteEngine::setCacheSetting(std::int64_t setting) {
    detail::exec(db_, QStringLiteral("PRAGMA cache_size = %1").arg(setting));
}

namespace {

int collate(void*, int na, const void* a, int nb, const void* b) {
    return compareUtf8Text(static_cast<const char*>(a), na, static_cast<const char*>(b), nb);
}

void likeFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    // like(pattern, value): the engine calls it for "value LIKE pattern".
    if (argc == 3) {
        sqlite3_result_error(ctx, "ESCAPE is not supported in like patterns", -1);
        return;
    }
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto text = [](sqlite3_value* v) {
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(v)),
                                 sqlite3_value_bytes(v));
    };
    auto* pattern = static_cast<LikePattern*>(sqlite3_get_auxdata(ctx, 0));
    if (!pattern) {
        sqlite3_set_auxdata(ctx, 0, new LikePattern(text(argv[0])),
                            [](void* p) { delete static_cast<LikePattern*>(p); });
        pattern = static_cast<LikePattern*>(sqlite3_get_auxdata(ctx, 0));
        if (!pattern) { // the engine may drop auxiliary data at once when memory is short
            const LikePattern local(text(argv[0]));
            sqlite3_result_int(
                ctx, local.matchesUtf8(reinterpret_cast<const char*>(sqlite3_value_text(argv[1])),
                                       sqlite3_value_bytes(argv[1])));
            return;
        }
    }
    sqlite3_result_int(
        ctx, pattern->matchesUtf8(reinterpret_cast<const char*>(sqlite3_value_text(argv[1])),
                                  sqlite3_value_bytes(argv[1])));
}

// searchtext(a, b, ...): the search text of its arguments.
void searchTextFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    std::vector<std::pair<const char*, int>> texts;
    texts.reserve(std::size_t(argc));
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
            texts.emplace_back(nullptr, 0);
            continue;
        }
        // The text first: asking its length before could measure another encoding.
        const auto* t = reinterpret_cast<const char*>(sqlite3_value_text(argv[i]));
        texts.emplace_back(t, sqlite3_value_bytes(argv[i]));
    }
    const QByteArray out = searchTextUtf8(texts);
    sqlite3_result_text(ctx, out.constData(), int(out.size()), SQLITE_TRANSIENT);
}

} // namespace

void registerTextFunctions(sqlite3* db) {
    sqlite3_create_collation_v2(db, TextCollation, SQLITE_UTF8, nullptr, collate, nullptr);
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    sqlite3_create_function_v2(db, "like", 2, flags, nullptr, likeFunction, nullptr, nullptr,
                               nullptr);
    sqlite3_create_function_v2(db, "like", 3, flags, nullptr, likeFunction, nullptr, nullptr,
                               nullptr);
    sqlite3_create_function_v2(db, "searchtext", -1, flags, nullptr, searchTextFunction, nullptr,
                               nullptr, nullptr);
}

} // namespace perlinex::db::sqlite
