#include "db/pg/pgpictures.h"

#include "db/dberror.h"
#include "db/pg/pgcall.h"
#include "db/pg/pgengine.h"

#include <libpq-fe.h>

namespace perlinex::db {

namespace {

pg_conn* connectionOf(Database& db) {
    auto* engine = dynamic_cast<pg::PgEngine*>(&db.engine());
    if (!engine)
        throw DbError(err::NotSupported,
                      QStringLiteral("Operation is not supported for this type of object."));
    return engine->handle();
}

} // namespace

void putServerPicture(Database& db, std::int64_t stamp, const QByteArray& jpeg) {
    pg_conn* conn = connectionOf(db);
    const QString sql =
        QStringLiteral("INSERT INTO picture (stampid, jpeg) VALUES ($1::bigint, $2::bytea) "
                       "ON CONFLICT (stampid) DO UPDATE SET jpeg = excluded.jpeg");
    // The picture's bytes go as they are, in the binary form, never through a text escape.
    const QByteArray id = QByteArray::number(qlonglong(stamp));
    const char* values[] = {id.constData(), jpeg.constData()};
    const int lengths[] = {0, int(jpeg.size())};
    const int formats[] = {0, 1};
    pg::detail::checked(
        conn, PQexecParams(conn, sql.toUtf8().constData(), 2, nullptr, values, lengths, formats, 0),
        sql);
}

QByteArray serverPicture(Database& db, std::int64_t stamp) {
    pg_conn* conn = connectionOf(db);
    const QString sql = QStringLiteral("SELECT jpeg FROM picture WHERE stampid = $1::bigint");
    const QByteArray id = QByteArray::number(qlonglong(stamp));
    const char* values[] = {id.constData()};
    const auto r = pg::detail::checked(
        conn, PQexecParams(conn, sql.toUtf8().constData(), 1, nullptr, values, nullptr, nullptr, 1),
        sql);
    if (PQntuples(r.get()) == 0)
        return QByteArray();
    return QByteArray(PQgetvalue(r.get(), 0, 0), PQgetlength(r.get(), 0, 0));
}

std::vector<std::int64_t> stampsWithServerPictures(Database& db) {
    const auto r = pg::detail::query(connectionOf(db),
                                     QStringLiteral("SELECT stampid FROM picture ORDER BY 1"));
    std::vector<std::int64_t> out;
    out.reserve(std::size_t(PQntuples(r.get())));
    for (int row = 0; row < PQntuples(r.get()); ++row)
        out.push_back(QByteArray(PQgetvalue(r.get(), row, 0)).toLongLong());
    return out;
}

} // namespace perlinex::db
