#include "db/pg/pgcall.h"

#include "db/dberror.h"

#include "util/translation.h"

#include <QRegularExpression>
#include <libpq-fe.h>

namespace perlinex::db::pg::detail {

void ResultFree::operator()(pg_result* r) const {
    PQclear(r);
}

QString connectionProblem(pg_conn* conn) {
    QString why =
        conn ? QString::fromUtf8(PQerrorMessage(conn)).trimmed() : QStringLiteral("out of memory");
    // libpq indents its hints with tabs and spaces meant for a terminal.
    why.replace(QRegularExpression(QStringLiteral("\\s*\\n\\s*")), QStringLiteral("\n"));
    return translate("ServerStore", "Cannot reach the server: %1").arg(why);
}

void throwServer(pg_conn* conn, const pg_result* result, const QString& statement) {
    const char* state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    const QString code = state ? QString::fromLatin1(state) : QString();
    if (!result || !state || code.startsWith(QLatin1String("08")) ||
        code == QLatin1String("57P01") || code == QLatin1String("57P02") ||
        code == QLatin1String("57P03") || (conn && PQstatus(conn) == CONNECTION_BAD))
        throw DbError(err::ServerUnreachable, connectionProblem(conn), statement);
    const QString message = QString::fromUtf8(PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY));
    const auto raise = [&](int number, const QString& text) {
        throw DbError(number, text, statement);
    };
    // A row another desk holds, or a transaction the server gave up for another's: the
    // lock-retry loop's locked row.
    if (code == QLatin1String("55P03") || code == QLatin1String("40001") ||
        code == QLatin1String("40P01"))
        raise(err::LockedRow2,
              QStringLiteral("Could not update; currently locked by another user (%1).")
                  .arg(message));
    if (code == QLatin1String("23505"))
        raise(err::DuplicateKey,
              QStringLiteral("The changes were not stored because they would create a duplicate "
                             "value (%1).")
                  .arg(message));
    if (code == QLatin1String("23502"))
        raise(err::NullNotAllowed, message + QLatin1Char('.'));
    if (code.startsWith(QLatin1String("23")))
        raise(err::ValidationFailed,
              QStringLiteral("The value breaks a rule of the field: %1.").arg(message));
    if (code == QLatin1String("22001"))
        raise(err::FieldTooSmall, message + QLatin1Char('.'));
    if (code == QLatin1String("22003"))
        raise(err::Overflow, QStringLiteral("Overflow: %1.").arg(message));
    if (code == QLatin1String("22P02") || code == QLatin1String("22007") ||
        code == QLatin1String("22008"))
        raise(err::TypeMismatch, QStringLiteral("Data type conversion error: %1.").arg(message));
    if (code == QLatin1String("2200H"))
        raise(err::TooManyRows,
              QStringLiteral("Too many rows: the table has handed out the largest number there "
                             "is (%1).")
                  .arg(message));
    if (code == QLatin1String("57014"))
        raise(err::Interrupted, QStringLiteral("The statement was interrupted."));
    if (code == QLatin1String("42P01"))
        raise(err::TableMissing, message + QLatin1Char('.'));
    if (code == QLatin1String("42703"))
        raise(err::FieldMissing, message + QLatin1Char('.'));
    if (code == QLatin1String("42601"))
        raise(err::SyntaxError, QStringLiteral("Syntax error: %1.").arg(message));
    if (code == QLatin1String("42501") || code == QLatin1String("25006"))
        raise(err::ReadOnly, QStringLiteral("Cannot update: %1.").arg(message));
    if (code == QLatin1String("53100"))
        raise(err::DiskFull,
              QStringLiteral("There is not enough space on the server's disk (%1).").arg(message));
    raise(err::ServerError, QStringLiteral("The server refused: %1.").arg(message));
    Q_UNREACHABLE();
}

Result checked(pg_conn* conn, pg_result* result, const QString& statement) {
    Result r(result);
    const ExecStatusType status = result ? PQresultStatus(result) : PGRES_FATAL_ERROR;
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
        throwServer(conn, result, statement);
    return r;
}

void exec(pg_conn* conn, const QString& sql) {
    checked(conn, PQexec(conn, sql.toUtf8().constData()), sql);
}

Result query(pg_conn* conn, const QString& sql, const std::vector<QByteArray>& params) {
    std::vector<const char*> values;
    values.reserve(params.size());
    for (const QByteArray& p : params)
        values.push_back(p.isNull() ? nullptr : p.constData());
    return checked(conn,
                   PQexecParams(conn, sql.toUtf8().constData(), int(values.size()), nullptr,
                                values.data(), nullptr, nullptr, 0),
                   sql);
}

} // namespace perlinex::db::pg::detail
