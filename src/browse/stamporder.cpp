#include "browse/stamporder.h"

#include "db/database.h"

namespace perlinex::browse {

namespace {

QString latin(const char* text) {
    return QString::fromLatin1(text);
}

// The stamps' table and the code tables the columns need, as one FROM clause.
QString fromClause(const QStringList& joins) {
    return QStringLiteral(" FROM stamp s ") + joins.join(QLatin1Char(' '));
}

// ORDER BY of the Sort menu's orders; the same indexes the record editor has always used.
QString keyOrder(SortKey key, const QString& table = QStringLiteral("s")) {
    switch (key) {
    case SortKey::Catalogue:
        return QStringLiteral("%1.catsort, %1.catnum, %1.stampid").arg(table);
    case SortKey::Issued:
        return QStringLiteral("%1.issued, %1.stampid").arg(table);
    case SortKey::Description:
        break;
    }
    return QStringLiteral("%1.descr, %1.stampid").arg(table);
}

} // namespace

const std::vector<ListColumn>& listColumns() {
    static const std::vector<ListColumn> columns = [] {
        std::vector<ListColumn> out;
        for (const db::StampField* f : db::listedFields()) {
            ListColumn c{f, QStringLiteral("s.") + latin(f->name), QString()};
            if (f->kind == db::FieldKind::CodeRef) {
                const db::CodeTable& t = *db::codeTable(f->codeTable);
                const QString alias = QStringLiteral("c%1").arg(t.number);
                c.expression = QStringLiteral("%1.%2").arg(alias, latin(t.descField));
                c.join = QStringLiteral("LEFT JOIN %1 %2 ON %2.%3 = s.%4")
                             .arg(latin(t.table), alias, latin(t.idField), latin(f->name));
            }
            out.push_back(c);
        }
        return out;
    }();
    return columns;
}

int listColumnNamed(const QString& name) {
    const std::vector<ListColumn>& columns = listColumns();
    for (int i = 0; i < int(columns.size()); ++i) {
        const db::StampField& f = *columns[std::size_t(i)].field;
        if (name.compare(latin(f.name), Qt::CaseInsensitive) == 0 ||
            name.compare(latin(f.caption), Qt::CaseInsensitive) == 0 ||
            name.compare(db::fieldText(f.caption), Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

StampOrder StampOrder::clicked(int clickedColumn) const {
    if (byColumn() && column == clickedColumn)
        return ofColumn(column, !descending);
    return ofColumn(clickedColumn);
}

std::optional<StampOrder> parseOrder(const QString& text) {
    if (text == QLatin1String("description"))
        return StampOrder::of(SortKey::Description);
    if (text == QLatin1String("catalog"))
        return StampOrder::of(SortKey::Catalogue);
    if (text == QLatin1String("issued"))
        return StampOrder::of(SortKey::Issued);
    const bool down = text.startsWith(QLatin1Char('-'));
    const int column = listColumnNamed(down ? text.mid(1) : text);
    if (column < 0)
        return std::nullopt;
    return StampOrder::ofColumn(column, down);
}

std::vector<std::int64_t> orderedStamps(db::Database& db, const StampOrder& order) {
    QString orderBy;
    QStringList joins;
    if (order.byColumn()) {
        const ListColumn& c = listColumns().at(std::size_t(order.column));
        if (!c.join.isEmpty())
            joins << c.join;
        const QString way = order.descending ? QStringLiteral(" DESC") : QString();
        orderBy = c.expression + way + QStringLiteral(", s.stampid") + way;
    } else {
        orderBy = keyOrder(order.key);
    }
    auto query =
        db.query(QStringLiteral("SELECT s.stampid%1 ORDER BY %2").arg(fromClause(joins), orderBy));
    query->run();
    std::vector<std::int64_t> keys;
    while (query->next())
        keys.push_back(query->integer(0));
    return keys;
}

QString orderClause(const StampOrder& order) {
    if (!order.byColumn())
        return keyOrder(order.key, QStringLiteral("stamp"));
    const db::StampField& f = *listColumns().at(std::size_t(order.column)).field;
    QString expression = QStringLiteral("stamp.") + latin(f.name);
    if (f.kind == db::FieldKind::CodeRef) {
        const db::CodeTable& t = *db::codeTable(f.codeTable);
        expression = QStringLiteral("(SELECT %1 FROM %2 WHERE %3 = stamp.%4)")
                         .arg(latin(t.descField), latin(t.table), latin(t.idField), latin(f.name));
    }
    const QString way = order.descending ? QStringLiteral(" DESC") : QString();
    return expression + way + QStringLiteral(", stamp.stampid") + way;
}

QString listRowQuery() {
    QStringList expressions, joins;
    for (const ListColumn& c : listColumns()) {
        expressions << c.expression;
        if (!c.join.isEmpty())
            joins << c.join;
    }
    return QStringLiteral("SELECT %1%2 WHERE s.stampid = ?")
        .arg(expressions.join(QLatin1String(", ")), fromClause(joins));
}

} // namespace perlinex::browse
