#include "db/dialect.h"

#include "db/dberror.h"

#include <QRegularExpression>
#include <QTime>

namespace perlinex::db {

namespace {

[[noreturn]] void syntaxError(const QString& what, const QString& sql) {
    throw DbError(err::SyntaxError,
                  QStringLiteral("Syntax error (%1) in query '%2'.").arg(what, sql));
}

// Reads the inside of a #...# literal: m/d/yyyy, optionally followed by a time, a time alone,
// or yyyy-mm-dd. Returns the ISO text the collection stores.
QString isoFromDateLiteral(const QString& body, const QString& sql) {
    static const QRegularExpression us(
        QStringLiteral(R"(^\s*(\d{1,2})[/-](\d{1,2})[/-](\d{2,4})(?:\s+(.+?))?\s*$)"));
    static const QRegularExpression iso(
        QStringLiteral(R"(^\s*(\d{4})-(\d{1,2})-(\d{1,2})(?:\s+(.+?))?\s*$)"));
    static const QRegularExpression timeOnly(
        QStringLiteral(R"(^\s*(\d{1,2}):(\d{2})(?::(\d{2}))?\s*([AaPp][Mm])?\s*$)"));

    auto parseTime = [&](const QString& t) -> QString {
        const auto m = timeOnly.match(t);
        if (!m.hasMatch())
            syntaxError(QStringLiteral("time literal #%1#").arg(body), sql);
        int h = m.captured(1).toInt();
        const int mi = m.captured(2).toInt();
        const int s = m.captured(3).isEmpty() ? 0 : m.captured(3).toInt();
        const QString ampm = m.captured(4).toUpper();
        if (!ampm.isEmpty()) {
            if (h < 1 || h > 12)
                syntaxError(QStringLiteral("time literal #%1#").arg(body), sql);
            h = (h % 12) + (ampm == QLatin1String("PM") ? 12 : 0);
        }
        const QTime time(h, mi, s);
        if (!time.isValid())
            syntaxError(QStringLiteral("time literal #%1#").arg(body), sql);
        return time.toString(QStringLiteral("HH:mm:ss"));
    };

    int y = 0, mo = 0, d = 0;
    QString rest;
    if (auto m = us.match(body); m.hasMatch()) {
        mo = m.captured(1).toInt();
        d = m.captured(2).toInt();
        y = m.captured(3).toInt();
        if (m.captured(3).size() <= 2)
            y += y < 30 ? 2000 : 1900;
        rest = m.captured(4);
    } else if (auto m2 = iso.match(body); m2.hasMatch()) {
        y = m2.captured(1).toInt();
        mo = m2.captured(2).toInt();
        d = m2.captured(3).toInt();
        rest = m2.captured(4);
    } else {
        return parseTime(body);
    }
    const QDate date(y, mo, d);
    if (!date.isValid())
        syntaxError(QStringLiteral("date literal #%1#").arg(body), sql);
    QString out = date.toString(Qt::ISODate);
    if (!rest.isEmpty())
        out += QLatin1Char(' ') + parseTime(rest);
    return out;
}

} // namespace

QString translateSql(const QString& sql) {
    QString out;
    out.reserve(sql.size() + 16);
    const qsizetype n = sql.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = sql[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            // Both quote characters open a string literal; the result is always '...'.
            QString body;
            qsizetype j = i + 1;
            bool closed = false;
            while (j < n) {
                if (sql[j] == c) {
                    if (j + 1 < n && sql[j + 1] == c) {
                        body += c;
                        j += 2;
                        continue;
                    }
                    closed = true;
                    break;
                }
                body += sql[j++];
            }
            if (!closed)
                syntaxError(QStringLiteral("unterminated text"), sql);
            out += quoteText(body);
            i = j;
        } else if (c == QLatin1Char('[')) {
            const qsizetype j = sql.indexOf(QLatin1Char(']'), i + 1);
            if (j < 0)
                syntaxError(QStringLiteral("unterminated [name]"), sql);
            QString name = sql.mid(i + 1, j - i - 1);
            name.replace(QLatin1Char('"'), QStringLiteral("\"\""));
            out += QLatin1Char('"') + name + QLatin1Char('"');
            i = j;
        } else if (c == QLatin1Char('#')) {
            const qsizetype j = sql.indexOf(QLatin1Char('#'), i + 1);
            if (j < 0)
                syntaxError(QStringLiteral("unterminated date"), sql);
            out += quoteText(isoFromDateLiteral(sql.mid(i + 1, j - i - 1), sql));
            i = j;
        } else {
            out += c;
        }
    }
    return out;
}

QString quoteName(const QString& name) {
    QStringList parts = name.split(QLatin1Char('.'));
    for (QString& part : parts) {
        if (part.isEmpty() || part.contains(QLatin1Char(']')) || part.contains(QChar(0)))
            syntaxError(QStringLiteral("a name that is none"), name);
        part = QLatin1Char('[') + part + QLatin1Char(']');
    }
    return parts.join(QLatin1Char('.'));
}

QString quoteText(const QString& text) {
    QString t = text;
    t.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + t + QLatin1Char('\'');
}

QString escapeLike(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c == QLatin1Char('*') || c == QLatin1Char('?') || c == QLatin1Char('#') ||
            c == QLatin1Char('['))
            out += QLatin1Char('[') + c + QLatin1Char(']');
        else
            out += c;
    }
    return out;
}

QString dateLiteral(const QDate& date) {
    return QStringLiteral("#%1/%2/%3#")
        .arg(date.month())
        .arg(date.day())
        .arg(date.year(), 4, 10, QLatin1Char('0'));
}

} // namespace perlinex::db
