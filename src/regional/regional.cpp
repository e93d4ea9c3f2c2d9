#include "regional/regional.h"

#include <QCoreApplication>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <limits>

namespace perlinex::regional {

namespace {

// Qt writes a two-digit year for "yy"; the program always shows four.
QString widenYear(const QString& format) {
    QString out;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format[i];
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
        } else if (!quoted && c == QLatin1Char('y')) {
            qsizetype end = i;
            while (end < format.size() && format[end] == QLatin1Char('y'))
                ++end;
            out += QStringLiteral("yyyy");
            i = end;
            continue;
        }
        out += c;
        ++i;
    }
    return out;
}

// Digits of any script count, as QLocale may write them; the result is plain ASCII.
QString asciiDigits(QStringView digits) {
    QString out;
    out.reserve(digits.size());
    for (const QChar c : digits)
        out += QChar(u'0' + c.digitValue());
    return out;
}

std::uint64_t pow10(int n) {
    std::uint64_t p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

const QDate& serialEpoch() {
    static const QDate epoch(1899, 12, 30);
    return epoch;
}

constexpr qint64 MsecsPerDay = 86400000;

} // namespace

Regional::Regional(const QLocale& locale)
    : locale_(locale), currencySymbol_(locale.currencySymbol()),
      negativeSign_(locale.negativeSign()), positiveSign_(locale.positiveSign()),
      groupSeparator_(locale.groupSeparator()), decimalPoint_(locale.decimalPoint()) {
    shortDateFormat_ = widenYear(locale_.dateFormat(QLocale::ShortFormat));

    qsizetype dayAt = -1, monthAt = -1, yearAt = -1;
    bool quoted = false;
    for (qsizetype i = 0; i < shortDateFormat_.size(); ++i) {
        const QChar c = shortDateFormat_[i];
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
        } else if (quoted) {
            continue;
        } else if (c == QLatin1Char('d')) {
            dayAt = dayAt < 0 ? i : dayAt;
        } else if (c == QLatin1Char('M')) {
            monthAt = monthAt < 0 ? i : monthAt;
        } else if (c == QLatin1Char('y')) {
            yearAt = yearAt < 0 ? i : yearAt;
        } else if (separator_.isNull() && !c.isSpace() && i > 0) {
            separator_ = c;
        }
    }
    if (yearAt >= 0 && yearAt < dayAt && yearAt < monthAt)
        order_ = DateOrder::YearMonthDay;
    else if (dayAt >= 0 && dayAt < monthAt)
        order_ = DateOrder::DayMonthYear;
    else
        order_ = DateOrder::MonthDayYear;
    if (separator_.isNull())
        separator_ = QLatin1Char(' ');

    // Qt knows the currency's decimals and where symbol and number go but exposes neither,
    // so read them off a formatted zero; the amount itself is then written exactly.
    QLocale plain = locale_;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    const QString zeroAmount = locale_.toCurrencyString(0.0);
    for (int digits = 4; digits >= 0; --digits) {
        const QString zero = plain.toString(0.0, 'f', digits);
        const qsizetype at = zeroAmount.indexOf(zero);
        if (at >= 0) {
            currencyPrefix_ = zeroAmount.left(at);
            currencySuffix_ = zeroAmount.mid(at + zero.size());
            // Digits beside the match mean the currency writes its decimals differently
            // from plain numbers; then leave the formatting to Qt after all.
            const QString around = currencyPrefix_ + currencySuffix_;
            if (std::none_of(around.begin(), around.end(), [](QChar c) { return c.isDigit(); }))
                currencyDigits_ = digits;
            break;
        }
    }
    // Qt 6 takes CLDR's accounting form, which brackets losses almost everywhere; users
    // expect brackets only where their own system writes them so.
    parenthesisedNegatives_ = locale_.territory() == QLocale::UnitedStates;

    const QString grouped = locale_.toString(qlonglong(1234567890));
    const QString group = groupSeparator_;
    if (!group.isEmpty() && grouped.contains(group)) {
        const QStringList groups = grouped.split(group);
        primaryGroup_ = int(groups.last().size());
        secondaryGroup_ =
            groups.size() >= 3 ? int(groups[groups.size() - 2].size()) : primaryGroup_;
    }

    // English names are accepted everywhere; British English adds "Sept".
    const QLocale sources[] = {locale_, QLocale::c(),
                               QLocale(QLocale::English, QLocale::UnitedKingdom)};
    for (const QLocale& source : sources) {
        for (int month = 1; month <= 12; ++month) {
            const QString names[] = {source.monthName(month, QLocale::LongFormat),
                                     source.monthName(month, QLocale::ShortFormat),
                                     source.standaloneMonthName(month, QLocale::LongFormat),
                                     source.standaloneMonthName(month, QLocale::ShortFormat)};
            for (QString name : names) {
                if (name.endsWith(QLatin1Char('.')))
                    name.chop(1);
                name = name.toLower();
                if (!name.isEmpty())
                    monthNames_.append({name, month});
            }
        }
    }
}

QString Regional::formatCurrency(Currency amount) const {
    if (currencyDigits_ < 0)
        return locale_.toCurrencyString(amount.toDouble());

    const std::int64_t raw = amount.raw();
    // Unsigned so that the most negative amount has a magnitude as well.
    const std::uint64_t magnitude =
        raw < 0 ? std::uint64_t(0) - static_cast<std::uint64_t>(raw) : std::uint64_t(raw);
    const std::uint64_t step = pow10(4 - currencyDigits_);
    const std::uint64_t units = (magnitude + step / 2) / step; // half away from zero
    const std::uint64_t unitsPerWhole = pow10(currencyDigits_);

    QString number = locale_.toString(qulonglong(units / unitsPerWhole));
    if (currencyDigits_ > 0) {
        QLocale plain = locale_;
        plain.setNumberOptions(QLocale::OmitGroupSeparator);
        // A leading 1 keeps the fraction's zeros in whatever digits the locale writes.
        const QString fraction = plain.toString(qulonglong(unitsPerWhole + units % unitsPerWhole));
        number += decimalPoint_ + fraction.mid(plain.toString(1).size());
    }
    const QString text = currencyPrefix_ + number + currencySuffix_;
    if (raw >= 0 || units == 0)
        return text;
    if (parenthesisedNegatives_)
        return QStringLiteral("(%1)").arg(text);
    return negativeSign_ + text;
}

QString Regional::formatShortDate(const QDate& date) const {
    return date.isValid() ? locale_.toString(date, shortDateFormat_) : QString();
}

QString Regional::formatMediumTime(const QTime& time) const {
    return time.isValid() ? locale_.toString(time, locale_.timeFormat(QLocale::ShortFormat))
                          : QString();
}

QString Regional::formatNumber(double value) const {
    QLocale plain = locale_;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    return plain.toString(value, 'f', QLocale::FloatingPointShortest);
}

// The common case read without the general rules: ASCII digits, at most a leading minus and
// one decimal point of the locale, nothing else (no spaces, groups, signs or symbols).
std::optional<Regional::NumberParts> Regional::parsePlainNumber(const QString& text) const {
    if (decimalPoint_.size() != 1)
        return std::nullopt;
    const QChar point = decimalPoint_[0];
    const qsizetype start = !text.isEmpty() && text[0] == QLatin1Char('-') ? 1 : 0;
    qsizetype pointAt = -1;
    for (qsizetype i = start; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == point && pointAt < 0)
            pointAt = i;
        else if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    NumberParts parts;
    parts.negative = start == 1;
    parts.whole = pointAt < 0 ? text.mid(start) : text.mid(start, pointAt - start);
    parts.fraction = pointAt < 0 ? QString() : text.mid(pointAt + 1);
    if (parts.whole.isEmpty() && parts.fraction.isEmpty())
        return std::nullopt;
    return parts;
}

std::optional<Regional::NumberParts> Regional::parseNumber(const QString& text) const {
    if (auto plain = parsePlainNumber(text))
        return plain;
    QString s = text.trimmed();
    bool parenthesised = false;
    if (s.size() >= 2 && s.startsWith(QLatin1Char('(')) && s.endsWith(QLatin1Char(')'))) {
        parenthesised = true;
        s = s.mid(1, s.size() - 2);
    }

    qsizetype pos = 0;
    auto take = [&](const QString& token) {
        if (token.isEmpty() || !QStringView(s).mid(pos).startsWith(token))
            return false;
        pos += token.size();
        return true;
    };
    auto skipSpaces = [&] {
        while (pos < s.size() && s[pos].isSpace())
            ++pos;
    };
    auto isDigitAt = [&](qsizetype at) { return at < s.size() && s[at].isDigit(); };
    const QString symbol = currencySymbol_;
    const QString minusSign = negativeSign_;
    const QString plusSign = positiveSign_;
    int signs = 0;
    int symbols = 0;
    bool minus = false;
    // Sign and currency symbol may come in either order, before or after the number.
    auto takeAffixes = [&] {
        for (;;) {
            skipSpaces();
            if (take(QStringLiteral("-")) || take(minusSign) || take(QStringLiteral("\u2212"))) {
                ++signs;
                minus = true;
            } else if (take(QStringLiteral("+")) || take(plusSign)) {
                ++signs;
            } else if (take(symbol)) {
                ++symbols;
            } else {
                return;
            }
        }
    };

    takeAffixes();
    NumberParts parts;
    const qsizetype wholeStart = pos;
    while (isDigitAt(pos))
        ++pos;
    QString whole = asciiDigits(QStringView(s).mid(wholeStart, pos - wholeStart));
    // Grouping is checked against the locale so that a stray separator, such as "1.5" typed
    // in German, is refused instead of silently read as 15.
    const QString group = groupSeparator_;
    const bool groupIsSpace = group.size() == 1 && group[0].isSpace();
    QList<qsizetype> groupSizes{whole.size()};
    for (;;) {
        qsizetype next = pos;
        if (groupIsSpace && pos < s.size() &&
            (s[pos] == QLatin1Char(' ') || s[pos] == QChar(0x00A0) || s[pos] == QChar(0x202F)))
            next = pos + 1;
        else if (!group.isEmpty() && QStringView(s).mid(pos).startsWith(group))
            next = pos + group.size();
        if (next == pos || whole.isEmpty() || !isDigitAt(next))
            break;
        pos = next;
        while (isDigitAt(pos))
            ++pos;
        groupSizes.append(pos - next);
        whole += asciiDigits(QStringView(s).mid(next, pos - next));
    }
    if (groupSizes.size() > 1) {
        const qsizetype last = groupSizes.size() - 1;
        if (groupSizes[last] != primaryGroup_)
            return std::nullopt;
        for (qsizetype i = 1; i < last; ++i)
            if (groupSizes[i] != secondaryGroup_)
                return std::nullopt;
        if (groupSizes[0] > (last > 1 ? secondaryGroup_ : primaryGroup_))
            return std::nullopt;
    }
    parts.whole = whole;
    if (take(decimalPoint_)) {
        const qsizetype fractionStart = pos;
        while (isDigitAt(pos))
            ++pos;
        parts.fraction = asciiDigits(QStringView(s).mid(fractionStart, pos - fractionStart));
    }
    if (parts.whole.isEmpty() && parts.fraction.isEmpty())
        return std::nullopt;
    takeAffixes();
    if (pos != s.size() || signs + (parenthesised ? 1 : 0) > 1 || symbols > 1)
        return std::nullopt;
    parts.negative = minus || parenthesised;
    return parts;
}

bool Regional::isNumeric(const QString& text) const {
    return toDouble(text).has_value();
}

std::optional<double> Regional::toDouble(const QString& text) const {
    const auto parts = parseNumber(text);
    if (!parts)
        return std::nullopt;
    const QString plain = QStringLiteral("%1%2.%3").arg(
        parts->negative ? QStringLiteral("-") : QString(),
        parts->whole.isEmpty() ? QStringLiteral("0") : parts->whole,
        parts->fraction.isEmpty() ? QStringLiteral("0") : parts->fraction);
    bool ok = false;
    const double value = plain.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<Currency> Regional::toCurrency(const QString& text) const {
    const auto parts = parseNumber(text);
    if (!parts)
        return std::nullopt;
    // Straight from the digits: a double would already have lost the exact decimals.
    QString plain = parts->negative ? QStringLiteral("-") : QString();
    plain += parts->whole;
    if (!parts->fraction.isEmpty())
        plain += QLatin1Char('.') + parts->fraction.left(4);
    auto amount = Currency::fromPlainText(plain);
    if (!amount)
        return std::nullopt;
    if (parts->fraction.size() > 4 && parts->fraction[4] >= QLatin1Char('5')) {
        try {
            *amount += Currency::fromRaw(parts->negative ? -1 : 1);
        } catch (const std::overflow_error&) {
            return std::nullopt;
        }
    }
    return amount;
}

std::optional<std::int64_t> Regional::toWhole(const QString& text, std::int64_t min,
                                              std::int64_t max) const {
    const auto parts = parseNumber(text);
    if (!parts)
        return std::nullopt;
    for (const QChar c : parts->fraction)
        if (c != QLatin1Char('0'))
            return std::nullopt;
    std::int64_t magnitude = 0;
    for (const QChar c : parts->whole) {
        magnitude = magnitude * 10 + (c.unicode() - '0');
        if (magnitude > max + 1) // the limit of either sign is at most max + 1 away
            return std::nullopt;
    }
    const std::int64_t value = parts->negative ? -magnitude : magnitude;
    if (value < min || value > max)
        return std::nullopt;
    return value;
}

std::optional<std::int32_t> Regional::toInt32(const QString& text) const {
    const auto value = toWhole(text, std::numeric_limits<std::int32_t>::min(),
                               std::numeric_limits<std::int32_t>::max());
    return value ? std::optional<std::int32_t>(std::int32_t(*value)) : std::nullopt;
}

std::optional<std::int16_t> Regional::toInt16(const QString& text) const {
    const auto value = toWhole(text, std::numeric_limits<std::int16_t>::min(),
                               std::numeric_limits<std::int16_t>::max());
    return value ? std::optional<std::int16_t>(std::int16_t(*value)) : std::nullopt;
}

int Regional::monthFromName(const QString& word) const {
    const QString lower = word.toLower();
    for (const auto& [name, month] : monthNames_)
        if (name == lower)
            return month;
    return 0;
}

bool Regional::isDate(const QString& text) const {
    return toDate(text).has_value();
}

std::optional<QDate> Regional::toDate(const QString& text) const {
    const QString s = text.trimmed();
    struct Token {
        QString text;
        bool number;
    };
    QList<Token> tokens;
    QStringList separators;
    for (qsizetype i = 0; i < s.size();) {
        qsizetype end = i;
        if (s[i].isDigit() || s[i].isLetter()) {
            const bool number = s[i].isDigit();
            while (end < s.size() && (number ? s[end].isDigit() : s[end].isLetter()))
                ++end;
            tokens.append({s.mid(i, end - i), number});
        } else {
            while (end < s.size() && !s[end].isDigit() && !s[end].isLetter())
                ++end;
            if (tokens.size() != separators.size() + 1)
                return std::nullopt;
            const QString separator = s.mid(i, end - i).trimmed();
            if (separator.size() > 1 ||
                (separator.size() == 1 && !QStringLiteral("/.-,").contains(separator[0])))
                return std::nullopt;
            separators.append(separator);
        }
        i = end;
    }
    // Also refuses parts run together, as in "30May1998".
    if (tokens.size() < 2 || tokens.size() > 3 || separators.size() != tokens.size() - 1)
        return std::nullopt;

    // Two-digit years fall in 1930-2029; three or four digits are taken as written.
    auto yearOf = [](const QString& digits) -> int {
        const int value = asciiDigits(digits).toInt();
        if (digits.size() <= 2)
            return value < 30 ? 2000 + value : 1900 + value;
        return digits.size() <= 4 && value >= 100 ? value : 0;
    };
    auto smallOf = [](const QString& digits) -> int {
        return digits.size() <= 2 ? asciiDigits(digits).toInt() : 0;
    };

    int day = 0, month = 0, year = 0;
    qsizetype wordAt = -1;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        if (!tokens[i].number) {
            if (wordAt >= 0)
                return std::nullopt;
            wordAt = i;
        }
    }
    // A day and month alone are taken as the current year, as people jot "30/5". Only then is
    // the clock read: reading it costs a look at the time zone's file every time.
    const auto currentYear = [] { return QDate::currentDate().year(); };
    if (wordAt < 0) {
        for (const QString& separator : separators)
            if (separator != separators[0] || separator == QLatin1String(","))
                return std::nullopt;
        const QString& a = tokens[0].text;
        const QString& b = tokens[1].text;
        if (tokens.size() == 2) {
            const bool dayFirst = order_ == DateOrder::DayMonthYear;
            day = smallOf(dayFirst ? a : b);
            month = smallOf(dayFirst ? b : a);
            year = currentYear();
        } else {
            const QString& c = tokens[2].text;
            if (a.size() > 2 || order_ == DateOrder::YearMonthDay) {
                year = yearOf(a), month = smallOf(b), day = smallOf(c);
            } else if (order_ == DateOrder::DayMonthYear) {
                day = smallOf(a), month = smallOf(b), year = yearOf(c);
            } else {
                month = smallOf(a), day = smallOf(b), year = yearOf(c);
            }
        }
    } else {
        if (wordAt > 1)
            return std::nullopt;
        month = monthFromName(tokens[wordAt].text);
        QStringList numbers;
        for (qsizetype i = 0; i < tokens.size(); ++i)
            if (i != wordAt)
                numbers.append(tokens[i].text);
        if (numbers.size() == 1) {
            day = smallOf(numbers[0]);
            year = currentYear();
        } else if (numbers[0].size() > 2) {
            year = yearOf(numbers[0]), day = smallOf(numbers[1]);
        } else {
            day = smallOf(numbers[0]), year = yearOf(numbers[1]);
        }
    }
    if (!QDate::isValid(year, month, day))
        return std::nullopt;
    return QDate(year, month, day);
}

double toSerial(const QDateTime& dateTime) {
    if (!dateTime.isValid())
        return std::numeric_limits<double>::quiet_NaN();
    const qint64 days = serialEpoch().daysTo(dateTime.date());
    const double fraction = double(dateTime.time().msecsSinceStartOfDay()) / MsecsPerDay;
    return days >= 0 ? double(days) + fraction : double(days) - fraction;
}

QDateTime fromSerial(double serial) {
    // Far beyond year 9999 either way; keeps the conversions below in range.
    if (!std::isfinite(serial) || std::fabs(serial) > 1e8)
        return QDateTime();
    const double days = std::trunc(serial);
    qint64 msecs = std::llround(std::fabs(serial - days) * MsecsPerDay);
    QDate date = serialEpoch().addDays(qint64(days));
    if (msecs >= MsecsPerDay) { // rounded up to midnight: the time runs forward into the next day
        date = date.addDays(1);
        msecs -= MsecsPerDay;
    }
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(int(msecs)));
}

QString tooLargeForMoney() {
    return QCoreApplication::translate("Regional", "too large");
}

} // namespace perlinex::regional
