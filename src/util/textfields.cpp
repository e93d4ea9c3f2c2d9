#include "util/textfields.h"

#include "util/translation.h"

#include <QCoreApplication>

namespace perlinex {

int CountFields(const QString& text, QChar delimiter) {
    if (text.isEmpty())
        return 0;
    return 1 + static_cast<int>(text.count(delimiter));
}

QString NthField(const QString& text, QChar delimiter, int n) {
    if (n <= 1) {
        const qsizetype end = text.indexOf(delimiter);
        return end < 0 ? text : text.left(end);
    }
    qsizetype start = -1;
    qsizetype pos = -1;
    for (int seen = 0; seen < n - 1; ++seen) {
        pos = text.indexOf(delimiter, pos + 1);
        if (pos < 0)
            return QString();
        start = pos + 1;
    }
    const qsizetype end = text.indexOf(delimiter, start);
    return end < 0 ? text.mid(start) : text.mid(start, end - start);
}

QString ReplaceText(QString& text, const QString& find, const QString& replacement) {
    if (find.isEmpty())
        return text;
    qsizetype from = 0;
    for (;;) {
        const qsizetype p = text.indexOf(find, from, Qt::CaseSensitive);
        if (p < 0)
            break;
        text.replace(p, find.size(), replacement);
        from = p + replacement.size();
    }
    return text;
}

QString PadLeft(const QString& text, int width) {
    if (text.size() >= width)
        return text;
    return QString(width - text.size(), QLatin1Char(' ')) + text;
}

QString countOf(std::int64_t n, const QString& one, const QString& many) {
    return n == 1 ? one : QString(many).arg(n);
}

QString stampCount(std::int64_t n) {
    return translateCount("Counts", QT_TRANSLATE_NOOP("Counts", "1 stamp"),
                          QT_TRANSLATE_N_NOOP("Counts", "%n stamps"), n);
}

} // namespace perlinex
