#include "util/translation.h"

#include <QCoreApplication>
#include <algorithm>
#include <limits>

namespace perlinex {

QString translate(const char* context, const char* text, const char* disambiguation, int n) {
    return QCoreApplication::translate(context, text, disambiguation, n);
}

QString translateCount(const char* context, const char* one, const char* many, std::int64_t n) {
    // The plural form is chosen on an int; a larger count still shows whole.
    const int chooser = int(std::clamp<std::int64_t>(n, 0, std::numeric_limits<int>::max()));
    QString text = QCoreApplication::translate(context, many, nullptr, chooser);
    const QString untranslated =
        QString::fromUtf8(many).replace(QStringLiteral("%n"), QString::number(chooser));
    if (text == untranslated && n == 1)
        return QCoreApplication::translate(context, one);
    if (chooser != n)
        text.replace(QString::number(chooser), QString::number(n));
    return text;
}

} // namespace perlinex
