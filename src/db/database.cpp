#include "db/database.h"

#include "db/connection.h"
#include "db/dberror.h"
#include "db/dialect.h"
#include "db/fileprobe.h"
#include "db/recordset.h"
#include "db/sqlitecall.h"
#include "db/textcompare.h"
#include "util/durablefile.h"
#include "util/translation.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <cerrno>
#include <unistd.h>

namespace perlinex::db {

using detail::Connection;

namespace detail {

Connection::~Connection() {
    close();
}

void Connection::close() {
    // Record sets still open lose their statements first, so that the file is really let go.
    for (RecordSet* rs : std::vector<RecordSet*>(recordSets))
        rs->invalidate();
    recordSets.clear();
    if (db) {
        sqlite3_close_v2(db);
        db = nullptr;
    }
}

const std::vector<TableColumn>& Connection::columnsOf(const QString& table) {
    const QString key = table.toLower();
    auto it = tableColumns.find(key);
    if (it != tableColumns.end())
        return *it;
    std::vector<TableColumn> cols;
    Statement st(db, QStringLiteral("PRAGMA table_info(%1)").arg(quoteText(table)));
    static const QRegularExpression lengthRe(QStringLiteral(R"(\((\d+)\))"));
    while (st.step()) {
        TableColumn c;
        c.name = st.columnText(1);
        const QString declared = st.columnText(2);
        c.kind = kindOfDeclaredType(declared);
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
    return *tableColumns.insert(key, cols);
}

QString Connection::canonicalTableName(const QString& table) {
    Statement st(db, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND "
                                    "lower(name) = lower(?)"));
    st.bind(1, Value(table));
    return st.step() ? st.columnText(0) : QString();
}

} // namespace detail

namespace {

void applyPragmas(sqlite3* db, OpenMode mode) {
    sqlite3_busy_timeout(db, 0);
    sqlite3_extended_result_codes(db, 1);
    // A double-quoted name is a name: one that names nothing is an error, never a text.
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    registerTextFunctions(db);
    // A store's statement journal (every store of a stamp runs the search text's trigger, so
    // it keeps one) stays in memory rather than going to a temporary file for each stamp.
    detail::exec(db, QStringLiteral("PRAGMA foreign_keys = OFF; PRAGMA temp_store = MEMORY"));
    if (mode == OpenMode::ReadOnly || mode == OpenMode::ReadUnlocked)
        return;
    // A full sync on every commit: a stored record survives a crash or a power cut.
    detail::exec(db, QStringLiteral("PRAGMA journal_mode = DELETE; PRAGMA synchronous = FULL"));
    if (mode == OpenMode::Exclusive) {
        // Take the exclusive lock now, not at the first write, and keep it until closed.
        detail::exec(db, QStringLiteral("PRAGMA locking_mode = EXCLUSIVE"));
        const int rc = sqlite3_exec(db, "BEGIN EXCLUSIVE; COMMIT;", nullptr, nullptr, nullptr);
        if ((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED) {
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
            throw DbError(err::FileInUse, QString());
        }
        if (rc != SQLITE_OK)
            detail::throwSqlite(rc, db, translate("Database", "taking the lock"));
    }
}

void checkFolderAndFile(const QString& path, OpenMode mode) {
    const QFileInfo info(path);
    const QString folder = info.absolutePath();
    if (!QFileInfo(folder).isDir())
        throw DbError(err::InvalidPath,
                      translate("Database", "'%1' is not a valid path: the folder does not exist.")
                          .arg(folder));
    const FileProbe probe = probeFile(path);
    switch (probe.kind) {
    case FileKind::Missing:
        throw DbError(err::FileNotFound,
                      translate("Database", "Could not find file '%1'.").arg(path));
    case FileKind::SQLite:
        break;
    case FileKind::DamagedSQLite:
        throw DbError(
            err::DamagedFile,
            translate("Database", "The database '%1' is damaged: its header is not valid.")
                .arg(path));
    default:
        throw DbError(err::NotACollection,
                      QStringLiteral("'%1' is not a Perlinex database: it is %2. It has been left "
                                     "as it is.")
                          .arg(path, probe.description));
    }
    if (mode != OpenMode::ReadOnly) {
        const QString why = whyReadOnly(path);
        if (!why.isEmpty())
            throw DbError(
                err::CannotOpen,
                translate("Database", "The database '%1' cannot be changed: %2.").arg(path, why));
    }
}

// Any lock met while opening means another program holds the file. Ours keep each other out
// with the folder's lock before they get here, so this one is not known to be Perlinex.
DbError inUseByAnotherProgram(const QString& path) {
    return DbError(err::FileInUse,
                   QStringLiteral("'%1' is in use by another program: the file is open there. "
                                  "Close that program and try again.")
                       .arg(path));
}

} // namespace

Database::Database(std::shared_ptr<Connection> conn) : conn_(std::move(conn)) {}

Database::~Database() {
    close();
}

std::unique_ptr<Database> Database::open(const QString& path, OpenMode mode) {
    // An unlocked reader is opened on the file another connection of this program holds: a
    // look at its header through a descriptor of our own would, on closing it, end that
    // connection's lock.
    if (mode != OpenMode::ReadUnlocked)
        checkFolderAndFile(path, mode);
    auto conn = std::make_shared<Connection>();
    conn->path = QFileInfo(path).absoluteFilePath();
    conn->mode = mode;
    int flags = (mode == OpenMode::Exclusive || mode == OpenMode::Shared ? SQLITE_OPEN_READWRITE
                                                                         : SQLITE_OPEN_READONLY) |
                SQLITE_OPEN_NOMUTEX;
    QByteArray name = QFile::encodeName(conn->path);
    if (mode == OpenMode::ReadUnlocked) {
        // "immutable" rather than "nolock": it also leaves the journal alone, where a reader
        // would take the journal of a store under way for one left by a crash.
        name = "file:" + name.toPercentEncoding("/") + "?immutable=1";
        flags |= SQLITE_OPEN_URI;
    }
    const int rc = sqlite3_open_v2(name.constData(), &conn->db, flags, nullptr);
    if (rc != SQLITE_OK)
        detail::throwSqlite(rc, conn->db, path);
    try {
        applyPragmas(conn->db, mode);
        // Reading the schema proves the file is a readable database.
        detail::exec(conn->db, QStringLiteral("SELECT count(*) FROM sqlite_master"));
    } catch (const DbError& e) {
        if (e.number() == err::FileInUse || e.number() == err::LockedRow2)
            throw inUseByAnotherProgram(path);
        throw;
    }
    return std::unique_ptr<Database>(new Database(std::move(conn)));
}

std::unique_ptr<Database> Database::create(const QString& path) {
    if (QFileInfo::exists(path))
        throw DbError(err::CannotOpen, translate("Database", "'%1' already exists.").arg(path));
    if (!QFileInfo(QFileInfo(path).absolutePath()).isDir())
        throw DbError(err::InvalidPath, QStringLiteral("'%1' is not a valid path: the folder does "
                                                       "not exist.")
                                            .arg(QFileInfo(path).absolutePath()));
    auto conn = std::make_shared<Connection>();
    conn->path = QFileInfo(path).absoluteFilePath();
    conn->mode = OpenMode::Exclusive;
    const int rc =
        sqlite3_open_v2(QFile::encodeName(conn->path).constData(), &conn->db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK)
        detail::throwSqlite(rc, conn->db, path);
    applyPragmas(conn->db, OpenMode::Exclusive);
    return std::unique_ptr<Database>(new Database(std::move(conn)));
}

std::unique_ptr<Database> Database::createInMemory() {
    auto conn = std::make_shared<Connection>();
    conn->path = QStringLiteral(":memory:");
    conn->mode = OpenMode::Shared;
    const int rc = sqlite3_open_v2(":memory:", &conn->db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE |
                                       SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_MEMORY,
                                   nullptr);
    if (rc != SQLITE_OK)
        detail::throwSqlite(rc, conn->db, QStringLiteral(":memory:"));
    applyPragmas(conn->db, OpenMode::ReadOnly);
    return std::unique_ptr<Database>(new Database(std::move(conn)));
}

QString whyReadOnly(const QString& path) {
    const QFileInfo info(path);
    if (info.exists() && ::access(QFile::encodeName(path).constData(), W_OK) != 0)
        return translate("Database", "the file is read-only");
    // The engine writes its journal beside the file.
    const QString folder = info.absolutePath();
    if (::access(QFile::encodeName(folder).constData(), W_OK) != 0)
        return translate("Database", "its folder '%1' is read-only").arg(folder);
    return QString();
}

const QString& Database::path() const {
    return conn_->path;
}
OpenMode Database::mode() const {
    return conn_->mode;
}
bool Database::isOpen() const {
    return conn_ && conn_->db;
}

void Database::close() {
    if (conn_)
        conn_->close();
}

sqlite3* Database::handle() const {
    if (!isOpen())
        throw DbError(err::NoDatabase, translate("Database", "No database is open."));
    return conn_->db;
}

std::unique_ptr<RecordSet> Database::openRecordSet(const QString& sql, RecordSetKind kind) {
    handle();
    return std::unique_ptr<RecordSet>(new RecordSet(conn_.get(), sql, kind));
}

void Database::execute(const QString& sql) {
    detail::exec(handle(), translateSql(sql));
    conn_->tableColumns.clear(); // the statement may have changed a table
}

Value Database::scalar(const QString& sql) {
    detail::Statement st(handle(), translateSql(sql));
    return st.step() ? st.column(0) : Value();
}

std::unique_ptr<Command> Database::prepare(const QString& sql) {
    return std::unique_ptr<Command>(
        new Command(std::make_unique<detail::Statement>(handle(), translateSql(sql))));
}

Command::Command(std::unique_ptr<detail::Statement> statement) : statement_(std::move(statement)) {}

Command::~Command() = default;

void Command::run(const std::vector<Value>& values) {
    statement_->reset();
    for (std::size_t i = 0; i < values.size(); ++i)
        statement_->bind(int(i) + 1, values[i]);
    statement_->step();
}

std::unique_ptr<Query> Database::query(const QString& sql) {
    return std::unique_ptr<Query>(new Query(std::make_unique<detail::Statement>(handle(), sql)));
}

Query::Query(std::unique_ptr<detail::Statement> statement) : statement_(std::move(statement)) {}

Query::~Query() = default;

void Query::run(const std::vector<Value>& values) {
    statement_->reset();
    for (std::size_t i = 0; i < values.size(); ++i)
        statement_->bind(int(i) + 1, values[i]);
}

bool Query::next() {
    return statement_->step();
}

int Query::columnCount() const {
    return statement_->columnCount();
}

QString Query::columnName(int column) const {
    return statement_->columnName(column);
}

Value Query::value(int column) const {
    return statement_->column(column);
}

std::int64_t Query::integer(int column) const {
    return statement_->columnInt(column);
}

void Query::finish() {
    statement_->reset();
}

void Database::idle() {
    if (isOpen())
        sqlite3_db_release_memory(conn_->db);
}

void Database::interrupt() {
    if (isOpen())
        sqlite3_interrupt(conn_->db);
}

void Database::begin() {
    detail::exec(handle(), QStringLiteral("BEGIN IMMEDIATE"));
}
void Database::commit() {
    detail::exec(handle(), QStringLiteral("COMMIT"));
}
void Database::rollback() noexcept {
    if (isOpen() && !sqlite3_get_autocommit(conn_->db))
        sqlite3_exec(conn_->db, "ROLLBACK", nullptr, nullptr, nullptr);
}

void createDatabaseFile(const QString& path, const std::function<void(Database&)>& fill) {
    if (QFileInfo::exists(path))
        throw DbError(err::CannotOpen, translate("Database", "'%1' already exists.").arg(path));
    const QString temp = path + QStringLiteral(".new");
    const auto removeTemp = [&] {
        QFile::remove(temp);
        QFile::remove(temp + QStringLiteral("-journal"));
    };
    removeTemp();
    try {
        {
            auto db = Database::create(temp);
            db->transaction([&] { fill(*db); });
        }
        durable::syncPath(temp, false);
        // A link never replaces a file that appeared meanwhile, where a rename would; file
        // systems without links get the rename.
        if (::link(QFile::encodeName(temp).constData(), QFile::encodeName(path).constData()) != 0) {
            if (errno == EEXIST)
                throw DbError(err::CannotOpen,
                              translate("Database", "'%1' already exists.").arg(path));
            durable::renameOver(temp, path);
        }
        durable::syncFolderOf(path);
        removeTemp();
    } catch (const durable::FileError& e) {
        removeTemp();
        throw DbError(e.kind() == durable::FileError::Kind::DiskFull ? err::DiskFull
                                                                     : err::CannotOpen,
                      e.text());
    } catch (...) {
        removeTemp();
        throw;
    }
}

} // namespace perlinex::db
