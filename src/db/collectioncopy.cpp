#include "db/collectioncopy.h"

#include "db/engine.h"
#include "db/fields.h"

#include <QStringList>
#include <vector>

namespace perlinex::db {

namespace {

constexpr std::int64_t ProgressStep = 500;

// Copies the listed columns of every row of table; calls step after each row, which may stop
// the copy by returning false. The number of rows copied.
std::int64_t copyTable(Database& from, Database& to, const QString& table,
                       const QStringList& columns, const QString& key,
                       const std::function<bool(std::int64_t)>& step) {
    const QString list = columns.join(QLatin1Char(','));
    const auto rows =
        from.query(QStringLiteral("SELECT %1 FROM %2 ORDER BY %3").arg(list, table, key));
    const auto writer = to.rowWriter(table, columns);
    std::vector<Value> values(std::size_t(columns.size()));
    std::int64_t copied = 0;
    while (rows->next()) {
        for (int i = 0; i < int(columns.size()); ++i)
            values[std::size_t(i)] = rows->value(i);
        writer->write(values);
        ++copied;
        if (step && !step(copied))
            break;
    }
    rows->finish();
    writer->finish();
    to.raiseCounter(table, from.counterMark(table));
    return copied;
}

} // namespace

CopyCount copyCollectionRows(Database& from, Database& to, const CopyProgress& progress) {
    CopyCount count;
    for (const CodeTable& t : codeTables()) {
        const QString id = QLatin1String(t.idField);
        count.codes +=
            copyTable(from, to, QLatin1String(t.table), {id, QLatin1String(t.descField)}, id, {});
    }
    QStringList columns;
    QString key;
    for (const StampField& f : stampFields()) {
        columns << QLatin1String(f.name);
        if (f.kind == FieldKind::Counter)
            key = QLatin1String(f.name);
    }
    const std::int64_t total =
        from.scalar(QStringLiteral("SELECT count(*) FROM stamp")).toInteger();
    if (progress && !progress(0, total)) {
        count.cancelled = true;
        return count;
    }
    count.stamps =
        copyTable(from, to, QStringLiteral("stamp"), columns, key, [&](std::int64_t done) {
            if (!progress || (done % ProgressStep != 0 && done != total))
                return true;
            if (progress(done, total))
                return true;
            count.cancelled = true;
            return false;
        });
    return count;
}

} // namespace perlinex::db
