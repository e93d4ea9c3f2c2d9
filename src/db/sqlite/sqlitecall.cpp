#include "db/sqlite/sqlitecall.h"

#include "db/dberror.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cerrno>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/statvfs.h>

namespace perlinex::db::detail {

namespace {

// A statement is kept for the log; a file name or a step is part of what the user reads.
bool isStatement(const QString& context) {
    static const QRegularExpression sql(
        QStringLiteral("^\\s*(SELECT|INSERT|UPDATE|DELETE|CREATE|PRAGMA|BEGIN|COMMIT|ROLLBACK|"
                       "VACUUM|ALTER|DROP|WITH|REINDEX|ANALYZE|SAVEPOINT|RELEASE)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    return sql.match(context).hasMatch();
}

// A write refused without a reason the engine kept: a file-size limit or a nearly full disk
// tells the user what to do, where "disk I/O error" would not.
bool writesCannotGrow(sqlite3* db) {
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
        return true;
    const char* file = db ? sqlite3_db_filename(db, "main") : nullptr;
    if (!file || !*file)
        return false;
    struct statvfs fs {};
    const QByteArray folder = QFile::encodeName(QFileInfo(QFile::decodeName(file)).absolutePath());
    constexpr unsigned long long NearlyFull = 16ull << 20;
    return ::statvfs(folder.constData(), &fs) == 0 &&
           static_cast<unsigned long long>(fs.f_bavail) * fs.f_frsize < NearlyFull;
}

[[noreturn]] void raise(int number, const QString& text, const QString& statement) {
    throw DbError(number, text, statement);
}

} // namespace

void throwSqlite(int rc, sqlite3* db, const QString& context, int systemErrno) {
    if (systemErrno < 0 && db)
        systemErrno = sqlite3_system_errno(db);
    const QString detail =
        db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    const bool statement = isStatement(context);
    const QString where =
        context.isEmpty() || statement ? QString() : QStringLiteral(" (%1)").arg(context);
    const QString logged = statement ? context : QString();
    switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        raise(err::LockedRow2, QStringLiteral("Could not update; currently locked%1.").arg(where),
              logged);
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        raise(err::DamagedFile,
              QStringLiteral("The collection file is damaged: %1%2.").arg(detail, where), logged);
    case SQLITE_FULL:
        raise(err::DiskFull, QStringLiteral("There is not enough space on the disk%1.").arg(where),
              logged);
    case SQLITE_READONLY:
        raise(err::ReadOnly, QStringLiteral("Cannot update: the file is read-only%1.").arg(where),
              logged);
    case SQLITE_IOERR:
        // A file-size limit or quota shows as a failed write, not as a full disk.
        if (systemErrno == ENOSPC || systemErrno == EFBIG || systemErrno == EDQUOT ||
            (rc == SQLITE_IOERR_WRITE && writesCannotGrow(db)))
            raise(err::DiskFull,
                  QStringLiteral("There is not enough space on the disk%1.").arg(where), logged);
        raise(err::DiskError, QStringLiteral("Disk error: %1%2.").arg(detail, where), logged);
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
        raise(err::CannotOpen, QStringLiteral("Cannot open the file: %1%2.").arg(detail, where),
              logged);
    case SQLITE_CONSTRAINT:
        if (rc == SQLITE_CONSTRAINT_NOTNULL)
            raise(err::NullNotAllowed, QStringLiteral("%1%2.").arg(detail, where), logged);
        raise(err::ValidationFailed,
              QStringLiteral("The value breaks a rule of the field: %1%2.").arg(detail, where),
              logged);
    case SQLITE_ERROR:
        if (detail.startsWith(QLatin1String("no such table")))
            raise(err::TableMissing, QStringLiteral("%1%2.").arg(detail, where), logged);
        if (detail.startsWith(QLatin1String("no such column")))
            raise(err::FieldMissing, QStringLiteral("%1%2.").arg(detail, where), logged);
        raise(err::SyntaxError, QStringLiteral("Syntax error: %1%2.").arg(detail, where), logged);
    default:
        raise(3000 + (rc & 0xff), QStringLiteral("%1%2.").arg(detail, where), logged);
    }
    Q_UNREACHABLE();
}

Statement::Statement(sqlite3* db, const QString& sql) : db_(db), sql_(sql) {
    const QByteArray utf8 = sql.toUtf8();
    const int rc = sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &stmt_, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
        throwSqlite(rc, db, sql);
    }
}

Statement::~Statement() {
    sqlite3_finalize(stmt_);
}

Statement& Statement::operator=(Statement&& o) noexcept {
    if (this != &o) {
        sqlite3_finalize(stmt_);
        db_ = o.db_;
        stmt_ = o.stmt_;
        sql_ = std::move(o.sql_);
        o.stmt_ = nullptr;
    }
    return *this;
}

bool Statement::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    // The reset forgets why the system refused a write; keep it first.
    const int systemErrno = sqlite3_system_errno(db_);
    sqlite3_reset(stmt_);
    throwSqlite(rc, db_, sql_, systemErrno);
}

void Statement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

void Statement::bind(int index, const Value& value) {
    switch (value.kind()) {
    case Value::Kind::Null:
        sqlite3_bind_null(stmt_, index);
        break;
    case Value::Kind::Bool:
        sqlite3_bind_int(stmt_, index, value.toBool() ? 1 : 0);
        break;
    case Value::Kind::Integer:
        sqlite3_bind_int64(stmt_, index, value.toInteger());
        break;
    case Value::Kind::Real:
        sqlite3_bind_double(stmt_, index, value.toReal());
        break;
    case Value::Kind::Money:
        sqlite3_bind_double(stmt_, index, value.toCurrency().toDouble());
        break;
    case Value::Kind::Text:
    case Value::Kind::Date: {
        const QByteArray utf8 = value.toText().toUtf8();
        sqlite3_bind_text(stmt_, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        break;
    }
    }
}

QString Statement::columnName(int i) const {
    return QString::fromUtf8(sqlite3_column_name(stmt_, i));
}

QString Statement::columnText(int i) const {
    const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, i));
    return QString::fromUtf8(t, sqlite3_column_bytes(stmt_, i));
}

Value::Kind kindOfDeclaredType(const QString& declared) {
    const QString d = declared.toUpper();
    if (d.startsWith(QLatin1String("CURRENCY")))
        return Value::Kind::Money;
    if (d.startsWith(QLatin1String("DATE")))
        return Value::Kind::Date;
    if (d.startsWith(QLatin1String("BOOLEAN")))
        return Value::Kind::Bool;
    if (d.contains(QLatin1String("INT")))
        return Value::Kind::Integer;
    if (d.contains(QLatin1String("TEXT")))
        return Value::Kind::Text;
    if (d.startsWith(QLatin1String("REAL")) || d.startsWith(QLatin1String("DOUBLE")))
        return Value::Kind::Real;
    return Value::Kind::Null; // unknown: go by the stored value
}

Value Statement::column(int i) const {
    const int type = sqlite3_column_type(stmt_, i);
    // Bytes that are no value of the program's stay stored as they are, and show as nothing.
    if (type == SQLITE_NULL || type == SQLITE_BLOB)
        return Value();
    const char* decl = sqlite3_column_decltype(stmt_, i);
    const Value::Kind kind =
        decl ? kindOfDeclaredType(QString::fromLatin1(decl)) : Value::Kind::Null;
    switch (kind) {
    case Value::Kind::Money:
        // Another program may have stored a word, or a number no amount of money can hold:
        // they come as they are (a text, a real number), never as an amount they are not.
        if (type == SQLITE_TEXT) {
            const auto amount = Currency::fromPlainText(columnText(i).trimmed());
            return amount ? Value(*amount) : Value(columnText(i));
        }
        try {
            return Value(Currency::fromDouble(sqlite3_column_double(stmt_, i)));
        } catch (const std::overflow_error&) {
            return Value(sqlite3_column_double(stmt_, i));
        }
    case Value::Kind::Date: {
        const QDate d = QDate::fromString(columnText(i).left(10), Qt::ISODate);
        return d.isValid() ? Value(d) : Value(columnText(i));
    }
    case Value::Kind::Bool:
        return Value(sqlite3_column_int64(stmt_, i) != 0);
    case Value::Kind::Text:
        return Value(columnText(i));
    default:
        break;
    }
    switch (type) {
    case SQLITE_INTEGER:
        return Value(std::int64_t(sqlite3_column_int64(stmt_, i)));
    case SQLITE_FLOAT:
        return Value(sqlite3_column_double(stmt_, i));
    default:
        return Value(columnText(i));
    }
}

void exec(sqlite3* db, const QString& sql) {
    char* msg = nullptr;
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &msg);
    sqlite3_free(msg);
    if (rc != SQLITE_OK)
        throwSqlite(rc, db, sql.left(200));
}

} // namespace perlinex::db::detail
