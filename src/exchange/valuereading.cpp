#include "exchange/valuereading.h"

#include "regional/regional.h"

#include <QRegularExpression>
#include <limits>

namespace perlinex::exchange {

namespace {

bool isSpace(QChar c) {
    return c.isSpace() || c == QChar(0x00A0) || c == QChar(0x202F);
}

bool isSign(QChar c) {
    return c == QLatin1Char('-') || c == QChar(0x2212);
}

bool isCurrencySign(QChar c) {
    return c.category() == QChar::Symbol_Currency;
}

// Strips a currency sign or code from the front and the back: "$", "US$", "€", "EUR", "CHF".
QString stripCurrency(QString t) {
    static const QRegularExpression front(QStringLiteral(R"(^(?:[A-Z]{3}\b|[A-Za-z]{0,3}\p{Sc}))"));
    static const QRegularExpression back(QStringLiteral(R"((?:\b[A-Z]{3}|\p{Sc})$)"));
    // Either begins or ends with a letter or a currency sign; most amounts have neither.
    const auto signOrLetter = [](QChar c) { return c.isLetter() || isCurrencySign(c); };
    if (t.isEmpty() || (!signOrLetter(t.front()) && !signOrLetter(t.back())))
        return t;
    if (const auto m = front.match(t); m.hasMatch())
        t = t.mid(m.capturedLength()).trimmed();
    if (const auto m = back.match(t); m.hasMatch())
        t = t.left(t.size() - m.capturedLength()).trimmed();
    return t;
}

bool onlyNumberCharacters(QStringView t) {
    for (QChar c : t)
        if (!c.isDigit() && c != QLatin1Char('.') && c != QLatin1Char(',') &&
            c != QLatin1Char('\'') && !isSpace(c) && !isSign(c) && c != QLatin1Char('(') &&
            c != QLatin1Char(')') && !isCurrencySign(c))
            return false;
    return true;
}

bool isGroupCharacter(QChar c, QChar decimal) {
    const QChar group = decimal == QLatin1Char(',') ? QLatin1Char('.') : QLatin1Char(',');
    return c == group || c == QLatin1Char('\'') || isSpace(c);
}

// The digits of the part before the decimal separator, when any grouping in it is regular
// (a first group of one to three digits, then groups of three).
std::optional<QString> wholeDigits(QStringView whole, QChar decimal) {
    QString digits;
    int group = 0;
    int groups = 0;
    bool grouped = false;
    for (QChar c : whole) {
        if (c.isDigit()) {
            digits += QChar(QLatin1Char(char('0' + c.digitValue())));
            ++group;
        } else if (isGroupCharacter(c, decimal)) {
            if (group == 0 || (groups > 0 && group != 3) || group > 3)
                return std::nullopt;
            grouped = true;
            ++groups;
            group = 0;
        } else {
            return std::nullopt;
        }
    }
    if (grouped && group != 3)
        return std::nullopt;
    return digits;
}

// An unsigned amount in ten-thousandths from ASCII digits, the fraction rounded half away from
// zero to four places; nullopt when it is more than money holds.
std::optional<std::int64_t> tenThousandths(const QString& whole, QStringView fraction) {
    constexpr std::int64_t maxWhole = std::numeric_limits<std::int64_t>::max() / Currency::Scale;
    std::int64_t units = 0;
    for (QChar c : whole) {
        units = units * 10 + c.digitValue();
        if (units > maxWhole)
            return std::nullopt;
    }
    std::int64_t frac = 0;
    for (int i = 0; i < 4; ++i)
        frac = frac * 10 + (i < fraction.size() ? fraction[i].digitValue() : 0);
    if (fraction.size() > 4 && fraction[4].digitValue() >= 5)
        ++frac;
    const std::int64_t raw = units * Currency::Scale;
    if (raw > std::numeric_limits<std::int64_t>::max() - frac)
        return std::nullopt;
    return raw + frac;
}

template <typename T> Read<T> outcome(Reading r) {
    Read<T> out;
    out.reading = r;
    return out;
}

template <typename T> Read<T> readValue(T value, bool keepText = false) {
    Read<T> out;
    out.reading = Reading::Read;
    out.value = value;
    out.keepText = keepText;
    return out;
}

} // namespace

QChar detectDecimalSeparator(const QStringList& samples, QChar userDecimal) {
    int comma = 0, point = 0;
    // A separator followed by one or two digits at the end: "4,5", "54.91". Checked by hand, as
    // a whole file's amounts pass here.
    const auto shortTail = [](const QString& t) {
        const qsizetype n = t.size();
        const auto digit = [](QChar c) { return c.isDigit(); };
        const auto separator = [](QChar c) {
            return c == QLatin1Char('.') || c == QLatin1Char(',');
        };
        return (n >= 2 && digit(t[n - 1]) && separator(t[n - 2])) ||
               (n >= 3 && digit(t[n - 1]) && digit(t[n - 2]) && separator(t[n - 3]));
    };
    for (const QString& sample : samples) {
        const QString t = stripCurrency(sample.trimmed());
        const qsizetype lastComma = t.lastIndexOf(QLatin1Char(','));
        const qsizetype lastPoint = t.lastIndexOf(QLatin1Char('.'));
        if (lastComma >= 0 && lastPoint >= 0)
            (lastComma > lastPoint ? comma : point) += 1;
        else if (t.count(QLatin1Char(',')) > 1)
            ++point; // 1,234,567: commas group
        else if (t.count(QLatin1Char('.')) > 1)
            ++comma;
        else if (shortTail(t))
            (lastComma >= 0 ? comma : point) += 1;
    }
    if (comma != point)
        return comma > point ? QLatin1Char(',') : QLatin1Char('.');
    return userDecimal == QLatin1Char(',') ? QLatin1Char(',') : QLatin1Char('.');
}

Read<Currency> readAmount(const QString& text, QChar decimal) {
    QStringView t = QStringView(text).trimmed();
    if (t.isEmpty())
        return outcome<Currency>(Reading::Blank);
    bool negative = false;
    if (t.startsWith(QLatin1Char('(')) && t.endsWith(QLatin1Char(')'))) {
        negative = true;
        t = t.mid(1, t.size() - 2).trimmed();
    }
    if (!t.isEmpty() && isSign(t.front())) {
        negative = !negative;
        t = t.mid(1).trimmed();
    }
    const QString stripped = stripCurrency(t.toString());
    t = stripped;
    if (!t.isEmpty() && isSign(t.front())) {
        negative = !negative;
        t = t.mid(1).trimmed();
    } else if (!t.isEmpty() && isSign(t.back())) {
        negative = !negative;
        t = t.left(t.size() - 1).trimmed();
    }
    bool anyDigit = false;
    for (QChar c : t)
        anyDigit = anyDigit || c.isDigit();
    if (!anyDigit || !onlyNumberCharacters(t))
        return outcome<Currency>(onlyNumberCharacters(QStringView(text).trimmed()) && anyDigit
                                     ? Reading::Malformed
                                     : Reading::Words);
    const qsizetype point = t.indexOf(decimal);
    if (point >= 0 && t.indexOf(decimal, point + 1) >= 0)
        return outcome<Currency>(Reading::Malformed);
    const QStringView fraction = point < 0 ? QStringView() : t.mid(point + 1);
    for (QChar c : fraction)
        if (!c.isDigit())
            return outcome<Currency>(Reading::Malformed);
    const auto whole = wholeDigits(point < 0 ? t : t.left(point), decimal);
    if (!whole)
        return outcome<Currency>(Reading::Malformed);
    const auto raw = tenThousandths(*whole, fraction);
    if (!raw)
        return outcome<Currency>(Reading::Malformed);
    return readValue(Currency::fromRaw(negative ? -*raw : *raw));
}

Read<std::int64_t> readWhole(const QString& text, QChar decimal) {
    const Read<Currency> amount = readAmount(text, decimal);
    if (amount.reading != Reading::Read)
        return outcome<std::int64_t>(amount.reading);
    if (amount.value.raw() % Currency::Scale != 0)
        return outcome<std::int64_t>(Reading::Malformed);
    return readValue(amount.value.raw() / Currency::Scale);
}

Read<std::int64_t> readYear(const QString& text) {
    static const QRegularExpression joined(
        QStringLiteral(R"(^(-?\d{1,5})(?:\s*[;,/\x{2013}\x{2014}-]\s*\d{1,5})+$)"));
    const QString t = text.trimmed();
    if (t.isEmpty())
        return outcome<std::int64_t>(Reading::Blank);
    if (const auto m = joined.match(t); m.hasMatch())
        return readValue(std::int64_t(m.captured(1).toLongLong()), true);
    return readWhole(t, QLatin1Char('.'));
}

Read<bool> readFlag(const QString& text) {
    static const QStringList yes{
        QStringLiteral("yes"), QStringLiteral("y"),      QStringLiteral("true"),
        QStringLiteral("t"),   QStringLiteral("1"),      QStringLiteral("x"),
        QStringLiteral("on"),  QStringLiteral("\u2713"), QStringLiteral("\u2714")};
    static const QStringList no{QStringLiteral("no"), QStringLiteral("n"), QStringLiteral("false"),
                                QStringLiteral("f"),  QStringLiteral("0"), QStringLiteral("off")};
    const QString t = text.trimmed().toLower();
    if (t.isEmpty())
        return outcome<bool>(Reading::Blank);
    if (yes.contains(t))
        return readValue(true);
    if (no.contains(t))
        return readValue(false);
    return outcome<bool>(Reading::Words);
}

Read<QDate> readDate(const QString& text, const regional::Regional& regional) {
    static const QRegularExpression iso(QStringLiteral(
        R"(^(\d{4})-(\d{1,2})-(\d{1,2})(?:[T ]\d{1,2}:\d{2}(?::\d{2}(?:\.\d+)?)?)?$)"));
    static const QRegularExpression dateLike(QStringLiteral(R"(^[\d\s./-]+$)"));
    const QString t = text.trimmed();
    if (t.isEmpty())
        return outcome<QDate>(Reading::Blank);
    if (const auto m = iso.match(t); m.hasMatch()) {
        const QDate d(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
        return d.isValid() ? readValue(d) : outcome<QDate>(Reading::Malformed);
    }
    if (const auto d = regional.toDate(t))
        return readValue(*d);
    return outcome<QDate>(dateLike.match(t).hasMatch() ? Reading::Malformed : Reading::Words);
}

QString plainAmount(Currency amount) {
    const std::int64_t raw = amount.raw();
    const std::uint64_t magnitude =
        raw < 0 ? std::uint64_t(0) - static_cast<std::uint64_t>(raw) : std::uint64_t(raw);
    QString fraction =
        QStringLiteral("%1").arg(magnitude % Currency::Scale, 4, 10, QLatin1Char('0'));
    while (fraction.size() > 2 && fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    return QStringLiteral("%1%2.%3")
        .arg(raw < 0 ? QStringLiteral("-") : QString())
        .arg(magnitude / Currency::Scale)
        .arg(fraction);
}

} // namespace perlinex::exchange
