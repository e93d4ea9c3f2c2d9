#pragma once

#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

struct pg_conn;
struct pg_result;

// Thin ownership and error mapping over libpq, private to the server's store.
namespace perlinex::db::pg::detail {

struct ResultFree {
    void operator()(pg_result* r) const;
};
using Result = std::unique_ptr<pg_result, ResultFree>;

// Throws the DbError that matches a failed result (or a lost connection, when there is no
// result) of the statement.
[[noreturn]] void throwServer(pg_conn* conn, const pg_result* result, const QString& statement);
// The result when it is a success; throws otherwise.
Result checked(pg_conn* conn, pg_result* result, const QString& statement);

// Runs statements without parameters that return no rows (several, separated by ";").
void exec(pg_conn* conn, const QString& sql);
// Runs one statement with text parameters (null for SQL null) and returns its result.
Result query(pg_conn* conn, const QString& sql, const std::vector<QByteArray>& params = {});

// The reason a connection failed, in the user's words.
QString connectionProblem(pg_conn* conn);

} // namespace perlinex::db::pg::detail
