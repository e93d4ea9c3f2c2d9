#include "db/sqlshape.h"

#include <QRegularExpression>

namespace perlinex::db {

namespace {

QString unquoted(const QString& name) {
    if (name.startsWith(QLatin1Char('"')) && name.endsWith(QLatin1Char('"')) && name.size() >= 2)
        return name.mid(1, name.size() - 2).replace(QStringLiteral("\"\""), QStringLiteral("\""));
    return name;
}

} // namespace

std::optional<SingleTableQuery> parseSingleTable(const QString& sql) {
    static const QRegularExpression re(
        QStringLiteral(
            R"(^\s*select\s+(.+?)\s+from\s+("[^"]+"|[A-Za-z_][A-Za-z0-9_]*)\s*(.*?)\s*;?\s*$)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression restRe(QStringLiteral(R"(^(where\b|order\s+by\b|$))"),
                                           QRegularExpression::CaseInsensitiveOption);
    // Plain columns only, so that a row can be read again by its key.
    static const QString column =
        QStringLiteral(R"((?:"[^"]+"|[A-Za-z_][A-Za-z0-9_.]*)(?:\s+as\s+[A-Za-z_][A-Za-z0-9_]*)?)");
    static const QRegularExpression listRe(
        QStringLiteral(R"(^\s*(?:\*|%1(?:\s*,\s*%1)*)\s*$)").arg(column),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(sql);
    if (!m.hasMatch())
        return std::nullopt;
    SingleTableQuery q{m.captured(1), unquoted(m.captured(2)), m.captured(3)};
    if (!restRe.match(q.rest).hasMatch() || !listRe.match(q.list).hasMatch())
        return std::nullopt;
    return q;
}

std::optional<ListedInsert> parseInsert(const QString& sql) {
    static const QString name = QStringLiteral(R"((?:"[^"]+"|[A-Za-z_][A-Za-z0-9_]*))");
    static const QRegularExpression re(
        QStringLiteral(R"(^\s*insert\s+into\s+(%1)\s*\(\s*(%1(?:\s*,\s*%1)*)\s*\)\s*values\s*)"
                       R"(\(\s*\?(?:\s*,\s*\?)*\s*\)\s*;?\s*$)")
            .arg(name),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(sql);
    if (!m.hasMatch())
        return std::nullopt;
    ListedInsert insert{unquoted(m.captured(1)), {}};
    for (const QString& c : m.captured(2).split(QLatin1Char(',')))
        insert.columns << unquoted(c.trimmed());
    if (sql.count(QLatin1Char('?')) != insert.columns.size())
        return std::nullopt;
    return insert;
}

QString quotedName(const QString& name) {
    QString n = name;
    n.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + n + QLatin1Char('"');
}

} // namespace perlinex::db
