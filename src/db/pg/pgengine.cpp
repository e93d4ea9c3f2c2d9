#include "db/pg/pgengine.h"

#include "db/dberror.h"
#include "db/pg/pgcall.h"
#include "db/pg/pgdialect.h"
#include "db/pg/pgschema.h"
#include "db/sqlshape.h"
#include "db/textcompare.h"

#include <QDate>
#include <QRegularExpression>
#include <algorithm>
#include <libpq-fe.h>
#include <limits>

namespace perlinex::db::pg {

namespace detail {

// The connection shared by the engine and its cursors, so that a cursor outliving a closed
// engine finds it gone rather than freed.
struct Session {
    PGconn* conn = nullptr;
    int statements = 0;
    // Prepared statements to let go of once the failed transaction they outlived has ended.
    std::vector<QByteArray> unreleased;

    bool failedTransaction() const { return conn && PQtransactionStatus(conn) == PQTRANS_INERROR; }
    void release(const QByteArray& name) {
        if (!conn)
            return;
        if (failedTransaction()) {
            unreleased.push_back(name);
            return;
        }
        PQclear(PQexec(conn, QByteArray("DEALLOCATE " + name).constData()));
    }
    void releaseUnreleased() {
        for (const QByteArray& name : std::exchange(unreleased, {}))
            release(name);
    }
};

} // namespace detail

namespace {

// The server's type identifiers of the kinds the collection stores; fixed in every server.
enum TypeOid : Oid {
    BoolOid = 16,
    ByteaOid = 17,
    Int8Oid = 20,
    Int2Oid = 21,
    Int4Oid = 23,
    TextOid = 25,
    OidOid = 26,
    Float4Oid = 700,
    Float8Oid = 701,
    VarcharOid = 1043,
    DateOid = 1082,
    NumericOid = 1700,
};

bool isWholeNumber(Oid type) {
    return type == Int2Oid || type == Int4Oid || type == Int8Oid || type == OidOid;
}

Value::Kind kindOfType(Oid type) {
    switch (type) {
    case BoolOid:
        return Value::Kind::Bool;
    case Int2Oid:
    case Int4Oid:
    case Int8Oid:
        return Value::Kind::Integer;
    case Float4Oid:
    case Float8Oid:
        return Value::Kind::Real;
    case NumericOid:
        return Value::Kind::Money; // the collection keeps only amounts of money as numeric
    case DateOid:
        return Value::Kind::Date;
    case TextOid:
    case VarcharOid:
        return Value::Kind::Text;
    default:
        return Value::Kind::Null;
    }
}

// A value as the server reads it in text form; booleans as 1 and 0, which both its whole
// numbers and its booleans read, as the file stores them.
QByteArray parameterText(const Value& v) {
    switch (v.kind()) {
    case Value::Kind::Null:
        return QByteArray();
    case Value::Kind::Bool:
        return v.toBool() ? QByteArray("1") : QByteArray("0");
    case Value::Kind::Integer:
        return QByteArray::number(qlonglong(v.toInteger()));
    case Value::Kind::Real:
        return QByteArray::number(v.toReal(), 'g', 17);
    case Value::Kind::Money:
        return v.toCurrency().toPlainText().toLatin1();
    case Value::Kind::Text:
    case Value::Kind::Date:
        break;
    }
    QByteArray text = v.toText().toUtf8();
    if (text.isNull())
        text = QByteArray(""); // empty, not null
    return text;
}

class PgCursor : public Cursor {
public:
    PgCursor(std::shared_ptr<detail::Session> session, const QString& sql)
        : session_(std::move(session)), sql_(sql) {
        int params = 0;
        const QString numbered = numberedPlaceholders(sql, &params);
        PGconn* conn = session_->conn;
        name_ = "perlinex_" + QByteArray::number(++session_->statements);
        pg::detail::checked(
            conn, PQprepare(conn, name_.constData(), numbered.toUtf8().constData(), 0, nullptr),
            sql_);
        prepared_ = true;
        description_ = pg::detail::checked(conn, PQdescribePrepared(conn, name_.constData()), sql_);
        params_.resize(std::size_t(params));
    }
    ~PgCursor() override {
        if (prepared_)
            session_->release(name_);
    }

    void bind(int index, const Value& value) override {
        if (index < 1 || index > int(params_.size()))
            throw DbError(err::SyntaxError,
                          QStringLiteral("The statement has no parameter %1.").arg(index), sql_);
        params_[std::size_t(index - 1)] = parameterText(value);
    }

    bool step() override {
        if (!result_) {
            PGconn* conn = session_->conn;
            if (!conn)
                throw DbError(err::ObjectInvalid,
                              QStringLiteral("Object invalid or no longer set."));
            std::vector<const char*> values;
            values.reserve(params_.size());
            for (const QByteArray& p : params_)
                values.push_back(p.isNull() ? nullptr : p.constData());
            result_ =
                pg::detail::checked(conn,
                                    PQexecPrepared(conn, name_.constData(), int(values.size()),
                                                   values.data(), nullptr, nullptr, 0),
                                    sql_);
            changes_ = QByteArray(PQcmdTuples(result_.get())).toLongLong();
            row_ = 0;
        } else if (row_ < PQntuples(result_.get())) {
            ++row_;
        }
        return row_ < PQntuples(result_.get());
    }

    void reset() override {
        result_.reset();
        row_ = -1;
        std::fill(params_.begin(), params_.end(), QByteArray());
    }

    int columnCount() const override { return PQnfields(description_.get()); }
    QString columnName(int i) const override {
        return QString::fromUtf8(PQfname(description_.get(), i));
    }

    Value column(int i) const override {
        if (isNull(i))
            return Value();
        const Oid type = PQftype(description_.get(), i);
        const QByteArray text = raw(i).toByteArray();
        switch (type) {
        case BoolOid:
            return Value(text == "t");
        case Int2Oid:
        case Int4Oid:
        case Int8Oid:
        case OidOid:
            return Value(std::int64_t(text.toLongLong()));
        case Float4Oid:
        case Float8Oid:
            return Value(text.toDouble());
        case NumericOid:
            // An amount of money where a column declares one; a computed number otherwise.
            if (declaredKind(i) == Value::Kind::Money)
                if (const auto amount = Currency::fromPlainText(QString::fromLatin1(text)))
                    return Value(*amount);
            return Value(text.toDouble());
        case DateOid: {
            const QDate d = QDate::fromString(QString::fromLatin1(text), Qt::ISODate);
            return d.isValid() ? Value(d) : Value(QString::fromLatin1(text));
        }
        case ByteaOid:
            return Value(); // bytes are no value of the program's
        default:
            return Value(QString::fromUtf8(text));
        }
    }
    std::int64_t columnInt(int i) const override {
        if (isNull(i))
            return 0;
        const Oid type = PQftype(description_.get(), i);
        if (type == BoolOid)
            return raw(i) == "t" ? 1 : 0;
        if (isWholeNumber(type))
            return raw(i).toLongLong();
        return std::int64_t(raw(i).toDouble());
    }
    double columnReal(int i) const override {
        if (isNull(i))
            return 0;
        if (PQftype(description_.get(), i) == BoolOid)
            return raw(i) == "t" ? 1 : 0;
        return raw(i).toDouble();
    }
    QString columnText(int i) const override { return QString::fromUtf8(columnUtf8(i)); }
    QByteArrayView columnUtf8(int i) const override {
        if (isNull(i))
            return QByteArrayView();
        if (PQftype(description_.get(), i) == BoolOid)
            return raw(i) == "t" ? QByteArrayView("1") : QByteArrayView("0");
        return raw(i);
    }
    StoredKind storedKind(int i) const override {
        if (isNull(i))
            return StoredKind::Null;
        const Oid type = PQftype(description_.get(), i);
        if (type == BoolOid || isWholeNumber(type))
            return StoredKind::Integer;
        if (type == Float4Oid || type == Float8Oid || type == NumericOid)
            return StoredKind::Real;
        if (type == ByteaOid)
            return StoredKind::Blob;
        return StoredKind::Text;
    }
    Value::Kind declaredKind(int i) const override {
        // A column of a table declares its kind; an expression declares none.
        if (PQftable(description_.get(), i) == InvalidOid)
            return Value::Kind::Null;
        return kindOfType(PQftype(description_.get(), i));
    }
    std::int64_t changes() const override { return changes_; }

private:
    bool onRow() const { return result_ && row_ >= 0 && row_ < PQntuples(result_.get()); }
    bool isNull(int i) const { return !onRow() || PQgetisnull(result_.get(), row_, i); }
    QByteArrayView raw(int i) const {
        return QByteArrayView(PQgetvalue(result_.get(), row_, i),
                              PQgetlength(result_.get(), row_, i));
    }

    std::shared_ptr<detail::Session> session_;
    QString sql_;
    QByteArray name_;
    bool prepared_ = false;
    pg::detail::Result description_;
    pg::detail::Result result_;
    std::vector<QByteArray> params_;
    int row_ = -1;
    std::int64_t changes_ = 0;
};

// Rows sent to the server as one COPY: a round trip for the lot, not one a row. Each line holds
// the values in COPY's text form, then the sort keys of the texts the store keeps keys of.
class CopyWriter : public RowWriter {
public:
    CopyWriter(std::shared_ptr<detail::Session> session, const QString& table,
               const QStringList& columns, const std::vector<TableColumn>& declared)
        : session_(std::move(session)) {
        QStringList names;
        for (const QString& c : columns)
            names << quotedName(c.toLower());
        for (int i = 0; i < int(columns.size()); ++i)
            for (const TableColumn& d : declared)
                if (!d.sortKeyColumn.isEmpty() &&
                    d.name.compare(columns[i], Qt::CaseInsensitive) == 0) {
                    names << quotedName(d.sortKeyColumn.toLower());
                    keyed_.push_back(i);
                }
        sql_ = QStringLiteral("COPY %1 (%2) FROM STDIN")
                   .arg(quotedName(table.toLower()), names.join(QLatin1Char(',')));
        PGconn* conn = session_->conn;
        const pg::detail::Result r(PQexec(conn, sql_.toUtf8().constData()));
        if (!r || PQresultStatus(r.get()) != PGRES_COPY_IN)
            pg::detail::throwServer(conn, r.get(), sql_);
        open_ = true;
    }
    ~CopyWriter() override {
        if (open_) {
            // Ended without finish: the server drops what it was sent, and the connection is
            // ready for the rollback that follows.
            PQputCopyEnd(session_->conn, "the copy was cut short");
            drainResults();
        }
    }

    void write(const std::vector<Value>& values) override {
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (i > 0)
                buffer_ += '\t';
            append(values[i]);
        }
        for (const int i : keyed_) {
            buffer_ += '\t';
            append(sortKeyValue(values[std::size_t(i)]));
        }
        buffer_ += '\n';
        if (buffer_.size() >= BlockSize)
            send();
    }

    void finish() override {
        send();
        open_ = false;
        PGconn* conn = session_->conn;
        if (PQputCopyEnd(conn, nullptr) != 1)
            pg::detail::throwServer(conn, nullptr, sql_);
        pg::detail::Result failed;
        while (pg::detail::Result r{PQgetResult(conn)})
            if (PQresultStatus(r.get()) != PGRES_COMMAND_OK && !failed)
                failed = std::move(r);
        if (failed)
            pg::detail::throwServer(conn, failed.get(), sql_);
    }

private:
    static constexpr qsizetype BlockSize = 256 * 1024;

    void append(const Value& v) {
        if (v.isNull()) {
            buffer_ += "\\N";
            return;
        }
        for (const char c : parameterText(v)) {
            switch (c) {
            case '\\':
                buffer_ += "\\\\";
                break;
            case '\t':
                buffer_ += "\\t";
                break;
            case '\n':
                buffer_ += "\\n";
                break;
            case '\r':
                buffer_ += "\\r";
                break;
            default:
                buffer_ += c;
            }
        }
    }
    void send() {
        if (buffer_.isEmpty())
            return;
        if (PQputCopyData(session_->conn, buffer_.constData(), int(buffer_.size())) != 1)
            pg::detail::throwServer(session_->conn, nullptr, sql_);
        buffer_.clear();
    }
    void drainResults() {
        while (pg::detail::Result r{PQgetResult(session_->conn)}) {
        }
    }

    std::shared_ptr<detail::Session> session_;
    QString sql_;
    std::vector<int> keyed_; // the columns whose sort keys follow
    QByteArray buffer_;
    bool open_ = false;
};

// A column default as the server writes it back ("''::character varying", "false", "1").
Value defaultOf(const QString& expression, Value::Kind kind) {
    static const QRegularExpression cast(QStringLiteral(R"(::[a-z ]+(\([0-9, ]+\))?$)"));
    QString d = expression.trimmed();
    while (cast.match(d).hasMatch())
        d = d.left(cast.match(d).capturedStart()).trimmed();
    if (d.size() >= 2 && d.startsWith(QLatin1Char('\'')) && d.endsWith(QLatin1Char('\'')))
        d = d.mid(1, d.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'"));
    else if (d.startsWith(QLatin1Char('(')) && d.endsWith(QLatin1Char(')')))
        d = d.mid(1, d.size() - 2);
    switch (kind) {
    case Value::Kind::Bool:
        return Value(d == QLatin1String("true"));
    case Value::Kind::Integer:
        return Value(std::int64_t(d.toLongLong()));
    case Value::Kind::Money:
        return Value(Currency::fromPlainText(d).value_or(Currency()));
    case Value::Kind::Real:
        return Value(d.toDouble());
    default:
        return Value(d);
    }
}

} // namespace

PgEngine::PgEngine(PGconn* conn) : session_(std::make_shared<detail::Session>()) {
    session_->conn = conn;
    cancel_ = PQgetCancel(conn);
}

PgEngine::~PgEngine() {
    close();
}

PGconn* PgEngine::handle() const {
    return session_->conn;
}

bool PgEngine::isOpen() const {
    return session_->conn != nullptr;
}

void PgEngine::close() {
    if (cancel_) {
        PQfreeCancel(cancel_);
        cancel_ = nullptr;
    }
    if (session_->conn) {
        PQfinish(session_->conn);
        session_->conn = nullptr;
    }
}

PGconn* PgEngine::live() const {
    if (!session_->conn)
        throw DbError(err::NoDatabase, QStringLiteral("No database is open."));
    return session_->conn;
}

QString PgEngine::translate(const QString& sql) const {
    return translateForServer(sql);
}

std::unique_ptr<Cursor> PgEngine::prepare(const QString& engineSql) {
    live();
    return std::make_unique<PgCursor>(session_, engineSql);
}

void PgEngine::exec(const QString& engineSql) {
    pg::detail::exec(live(), engineSql);
    // The statement may have changed a table.
    columns_.clear();
    sequences_.clear();
}

void PgEngine::begin() {
    pg::detail::exec(live(), QStringLiteral("BEGIN"));
}

void PgEngine::commit() {
    PGconn* conn = live();
    // A transaction a statement failed in is only ever rolled back: the server answers COMMIT
    // with a rollback, which must not pass for a store.
    if (PQtransactionStatus(conn) == PQTRANS_INERROR) {
        rollback();
        throw DbError(err::ServerError,
                      QStringLiteral("The changes were not stored: a statement of them failed."));
    }
    pg::detail::exec(conn, QStringLiteral("COMMIT"));
    session_->releaseUnreleased();
}

void PgEngine::rollback() noexcept {
    PGconn* conn = session_->conn;
    if (!conn || PQtransactionStatus(conn) == PQTRANS_IDLE)
        return;
    PQclear(PQexec(conn, "ROLLBACK"));
    session_->releaseUnreleased();
}

bool PgEngine::inTransaction() const {
    if (!session_->conn)
        return false;
    const PGTransactionStatusType s = PQtransactionStatus(session_->conn);
    return s == PQTRANS_INTRANS || s == PQTRANS_INERROR || s == PQTRANS_ACTIVE;
}

std::vector<TableColumn> PgEngine::columnsOf(const QString& table) {
    // Every table of the collection at once: opening a collection reads most of them, and one
    // question of the server's catalogue costs what one table's does.
    const QString key = table.toLower();
    if (!columns_.contains(key)) {
        columns_.clear();
        readAllColumns();
    }
    return columns_.value(key);
}

void PgEngine::readAllColumns() {
    const auto r = pg::detail::query(
        live(),
        QStringLiteral(
            "SELECT lower(c.relname), a.attname, a.atttypid, a.atttypmod, a.attnotnull, "
            "pg_get_expr(d.adbin, d.adrelid), "
            "EXISTS (SELECT 1 FROM pg_index i WHERE i.indrelid = c.oid AND i.indisprimary "
            "AND a.attnum = ANY (i.indkey)) "
            "FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
            "JOIN pg_attribute a ON a.attrelid = c.oid AND a.attnum > 0 AND NOT a.attisdropped "
            "LEFT JOIN pg_attrdef d ON d.adrelid = c.oid AND d.adnum = a.attnum "
            "WHERE n.nspname = current_schema() AND c.relkind IN ('r', 'p', 'v') "
            "ORDER BY c.relname, a.attnum"));
    for (int row = 0; row < PQntuples(r.get()); ++row) {
        const auto text = [&](int col) { return QString::fromUtf8(PQgetvalue(r.get(), row, col)); };
        TableColumn c;
        c.name = text(1);
        const Oid type = Oid(text(2).toUInt());
        c.kind = kindOfType(type);
        if (type == VarcharOid && text(3).toInt() > 4)
            c.maxLength = text(3).toInt() - 4; // the declared length, as the server keeps it
        c.notNull = text(4) == QLatin1String("t");
        c.primaryKey = text(6) == QLatin1String("t");
        // The collection's whole numbers are the desktop engine's 16-bit and 32-bit kinds.
        if (!c.primaryKey && (type == Int2Oid || type == Int4Oid)) {
            c.minValue = type == Int2Oid ? -32768 : -2147483648LL;
            c.maxValue = type == Int2Oid ? 32767 : 2147483647LL;
        }
        if (!PQgetisnull(r.get(), row, 5) && !text(5).startsWith(QLatin1String("nextval(")))
            c.defaultValue = defaultOf(text(5), c.kind);
        columns_[text(0)].push_back(c);
    }
    // The server's own columns: the sort keys beside the texts, and the row version.
    for (std::vector<TableColumn>& cols : columns_) {
        for (TableColumn& c : cols) {
            if (c.name == QLatin1String(RowVersionColumn)) {
                c.hidden = true;
                continue;
            }
            const QString keyName = sortKeyColumnOf(c.name);
            for (TableColumn& k : cols)
                if (k.name == keyName) {
                    k.hidden = true;
                    c.sortKeyColumn = keyName;
                }
        }
    }
}

QString PgEngine::tableName(const QString& table) {
    const auto r = pg::detail::query(
        live(),
        QStringLiteral("SELECT c.relname FROM pg_class c JOIN pg_namespace n ON n.oid = "
                       "c.relnamespace WHERE n.nspname = current_schema() AND c.relkind IN "
                       "('r', 'p', 'v') AND lower(c.relname) = lower($1) ORDER BY c.relname"),
        {table.toUtf8()});
    return PQntuples(r.get()) > 0 ? QString::fromUtf8(PQgetvalue(r.get(), 0, 0)) : QString();
}

QString PgEngine::rowKey(const QString& table) {
    for (const TableColumn& c : columnsOf(table))
        if (c.primaryKey)
            return quotedName(c.name);
    throw DbError(err::NotSupported,
                  QStringLiteral("The table '%1' has no key to read its rows by.").arg(table));
}

QString PgEngine::rowVersion(const QString& table) {
    for (const TableColumn& c : columnsOf(table))
        if (c.name == QLatin1String(RowVersionColumn))
            return c.name;
    return QString();
}

QString PgEngine::counterSequence(const QString& table) {
    const QString key = table.toLower();
    if (const auto it = sequences_.constFind(key); it != sequences_.constEnd())
        return *it;
    QString column;
    for (const TableColumn& c : columnsOf(table))
        if (c.primaryKey)
            column = c.name;
    const auto r =
        pg::detail::query(live(), QStringLiteral("SELECT pg_get_serial_sequence($1, $2)"),
                          {quotedName(tableName(table)).toUtf8(), column.toUtf8()});
    if (column.isEmpty() || PQgetisnull(r.get(), 0, 0))
        throw DbError(err::NotSupported,
                      QStringLiteral("The table '%1' has no counter.").arg(table));
    const QString sequence = QString::fromUtf8(PQgetvalue(r.get(), 0, 0));
    sequences_.insert(key, sequence);
    return sequence;
}

std::int64_t PgEngine::reserveCounter(const QString& table) {
    // A sequence never hands a number out twice, whatever becomes of the transaction that
    // took it: neither a cancelled add nor a deleted row's number comes back.
    const auto r = pg::detail::query(live(), QStringLiteral("SELECT nextval($1::regclass)"),
                                     {counterSequence(table).toUtf8()});
    return QByteArray(PQgetvalue(r.get(), 0, 0)).toLongLong();
}

std::unique_ptr<RowWriter> PgEngine::bulkWriter(const QString& table, const QStringList& columns) {
    live();
    return std::make_unique<CopyWriter>(session_, table, columns, columnsOf(table));
}

std::int64_t PgEngine::counterMark(const QString& table) {
    // A sequence not yet used holds its first number uncalled.
    const auto r = pg::detail::query(
        live(), QStringLiteral("SELECT CASE WHEN is_called THEN last_value ELSE 0 END FROM %1")
                    .arg(counterSequence(table)));
    return QByteArray(PQgetvalue(r.get(), 0, 0)).toLongLong();
}

void PgEngine::raiseCounter(const QString& table, std::int64_t mark) {
    if (mark <= 0 || counterMark(table) >= mark)
        return;
    pg::detail::query(live(), QStringLiteral("SELECT setval($1::regclass, $2, true)"),
                      {counterSequence(table).toUtf8(), QByteArray::number(qlonglong(mark))});
}

std::vector<std::int64_t> PgEngine::takeCounters(const QString& table, std::int64_t count) {
    std::vector<std::int64_t> ids;
    if (count <= 0)
        return ids;
    const auto r = pg::detail::query(
        live(), QStringLiteral("SELECT nextval($1::regclass) FROM generate_series(1, $2)"),
        {counterSequence(table).toUtf8(), QByteArray::number(qlonglong(count))});
    ids.reserve(std::size_t(count));
    for (int row = 0; row < PQntuples(r.get()); ++row)
        ids.push_back(QByteArray(PQgetvalue(r.get(), row, 0)).toLongLong());
    std::sort(ids.begin(), ids.end());
    return ids;
}

std::int64_t PgEngine::lastInsertedKey() {
    const auto r = pg::detail::query(live(), QStringLiteral("SELECT lastval()"));
    return QByteArray(PQgetvalue(r.get(), 0, 0)).toLongLong();
}

QString PgEngine::searchTextHolds(const QString& alias, const QString& word) {
    return pg::searchTextHolds(alias, word);
}

void PgEngine::interrupt() {
    if (cancel_) {
        char why[256];
        PQcancel(cancel_, why, int(sizeof why));
    }
}

} // namespace perlinex::db::pg
