#include "db/schema.h"

#include "util/textfields.h"

#include <QFile>
#include <QTextStream>

namespace perlinex::db {

QString CatSortKey(const QString& catalogueNumber) {
    const QString part = CountFields(catalogueNumber, QLatin1Char('-')) > 1
                             ? NthField(catalogueNumber, QLatin1Char('-'), 1)
                             : catalogueNumber;
    QString digits;
    for (QChar c : part)
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits += c;
    if (catalogueNumber.size() > 20)
        return digits.left(20);
    return PadLeft(digits, 20);
}

QStringList starterVocabulary(const QString& table) {
    const CodeTable* t = codeTableByName(table);
    if (!t)
        return {};
    QFile f(QStringLiteral(":/data/vocabulary/%1.txt").arg(QString::fromLatin1(t->vocabulary)));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QStringList out;
    QTextStream in(&f);
    in.setEncoding(QStringConverter::Utf8);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (!line.isEmpty())
            out << line;
    }
    return out;
}

void fillVocabularies(Database& db) {
    for (const CodeTable& t : codeTables()) {
        const auto insert =
            db.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (?)")
                           .arg(QString::fromLatin1(t.table), QString::fromLatin1(t.descField)));
        for (const QString& entry : starterVocabulary(QString::fromLatin1(t.table)))
            insert->run({Value(entry)});
    }
}

QStringList knownFieldsOf(const QString& table) {
    QStringList fields;
    if (table.compare(QLatin1String("stamp"), Qt::CaseInsensitive) == 0) {
        for (const StampField& f : stampFields())
            fields << QLatin1String(f.name);
    } else if (const CodeTable* t = codeTableByName(table)) {
        fields << QLatin1String(t->idField) << QLatin1String(t->descField);
    }
    return fields;
}

} // namespace perlinex::db
