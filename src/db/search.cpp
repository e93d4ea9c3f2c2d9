#include "db/search.h"

#include "db/database.h"
#include "db/engine.h"
#include "db/textcompare.h"

#include <QRegularExpression>
#include <algorithm>

namespace perlinex::db {

const std::vector<const char*>& searchedFields() {
    static const std::vector<const char*> fields{"descr", "catnum", "CouID", "topID", "notes"};
    return fields;
}

QStringList filterWords(const QString& typed) {
    static const QRegularExpression space(QStringLiteral("\\s+"));
    QStringList words;
    for (const QString& w : typed.split(space, Qt::SkipEmptyParts)) {
        const QString folded = accentFreeKey(w);
        // A word of accents alone folds to nothing and narrows nothing.
        if (!folded.isEmpty() && !words.contains(folded))
            words << folded;
    }
    return words;
}

QString searchConditionText(Database& db, const QStringList& words) {
    QStringList parts;
    for (const QString& w : words)
        parts << db.engine().searchTextHolds(QStringLiteral("stamp"), w);
    return parts.join(QLatin1String(" AND "));
}

std::vector<std::int64_t> stampsMatching(Database& db, const QStringList& words,
                                         const QString& condition) {
    QString where = searchConditionText(db, words);
    if (!condition.trimmed().isEmpty())
        where +=
            (where.isEmpty() ? QStringLiteral("(%1)") : QStringLiteral(" AND (%1)")).arg(condition);
    if (where.isEmpty())
        where = QStringLiteral("1 = 1");
    const auto q = db.query(QStringLiteral("SELECT stampid FROM stamp WHERE %1").arg(where));
    q->run();
    std::vector<std::int64_t> ids;
    while (q->next())
        ids.push_back(q->integer(0));
    std::sort(ids.begin(), ids.end());
    return ids;
}

} // namespace perlinex::db
