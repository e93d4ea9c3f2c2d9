#include "reports/moneyformat.h"

#include "regional/regional.h"

#include <array>
#include <limits>

namespace perlinex::reports {

namespace {

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool hasDigit(const QString& text) {
    for (const QChar c : text)
        if (c.isDigit())
            return true;
    return false;
}

std::uint64_t pow10(int n) {
    std::uint64_t p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

// Amounts the layout must reproduce exactly: rounding at the last decimal either way, losses
// that round to nothing, grouping at every length, and the ends of the range.
constexpr std::array<std::int64_t, 18> kChecks = {0,
                                                  1,
                                                  49,
                                                  50,
                                                  -49,
                                                  -50,
                                                  5000,
                                                  10000,
                                                  -10000,
                                                  12345,
                                                  999950,
                                                  12345678,
                                                  9999999999,
                                                  -12345678901,
                                                  123456789012345,
                                                  -987654321098765,
                                                  std::numeric_limits<std::int64_t>::max(),
                                                  std::numeric_limits<std::int64_t>::min()};

} // namespace

MoneyFormat::MoneyFormat(const regional::Regional& regional) : regional_(regional) {
    own_ = readLayout();
    if (!own_)
        return;
    for (const std::int64_t raw : kChecks) {
        const Currency amount = Currency::fromRaw(raw);
        if (format(amount) != regional_.formatCurrency(amount)) {
            own_ = false;
            return;
        }
    }
}

bool MoneyFormat::readLayout() {
    // Zero gives the symbol's place, the decimal separator and the number of decimals.
    const QString zero = regional_.formatCurrency(Currency());
    const qsizetype first = zero.indexOf(u'0');
    const qsizetype last = zero.lastIndexOf(u'0');
    if (first < 0)
        return false;
    prefix_ = zero.left(first);
    suffix_ = zero.mid(last + 1);
    if (hasDigit(prefix_) || hasDigit(suffix_))
        return false;
    qsizetype i = first + 1;
    while (i <= last && !isAsciiDigit(zero[i]))
        ++i;
    decimal_ = zero.mid(first + 1, i - first - 1);
    digits_ = int(last - i + 1);
    if (digits_ > 4 || (digits_ > 0) == decimal_.isEmpty() ||
        zero.mid(i, digits_) != QString(digits_, u'0'))
        return false;

    // A million and more gives the grouping: by threes with one separator, or none.
    const QString whole = regional_.formatCurrency(Currency::fromInteger(1234567));
    QString number = whole;
    if (!number.startsWith(prefix_) ||
        !number.endsWith(decimal_ + QString(digits_, u'0') + suffix_))
        return false;
    number = number.mid(prefix_.size(), number.size() - prefix_.size() - suffix_.size() -
                                            decimal_.size() - digits_);
    const qsizetype separator = (number.size() - 7) / 2;
    group_ = number.mid(1, separator);
    if (hasDigit(group_) ||
        number != QLatin1Char('1') + group_ + QLatin1String("234") + group_ + QLatin1String("567"))
        return false;

    // A loss: the amount's own text with something around it.
    const Currency amount = Currency::fromRaw(12345678900);
    const QString positive = regional_.formatCurrency(amount);
    const QString negative = regional_.formatCurrency(-amount);
    const qsizetype at = negative.indexOf(positive);
    if (at < 0 || negative.size() == positive.size())
        return false;
    negativeBefore_ = negative.left(at);
    negativeAfter_ = negative.mid(at + positive.size());
    return true;
}

QString MoneyFormat::format(Currency amount) const {
    if (!own_)
        return regional_.formatCurrency(amount);
    const std::int64_t raw = amount.raw();
    // Unsigned, so that the most negative amount has a magnitude too.
    const std::uint64_t magnitude =
        raw < 0 ? std::uint64_t(0) - static_cast<std::uint64_t>(raw) : std::uint64_t(raw);
    const std::uint64_t step = pow10(4 - digits_);
    const std::uint64_t units = (magnitude + step / 2) / step; // half away from zero
    const std::uint64_t perWhole = pow10(digits_);
    std::uint64_t whole = units / perWhole;
    std::uint64_t fraction = units % perWhole;
    const bool loss = raw < 0 && units != 0;

    std::array<char16_t, 24> wholeDigits{};
    int n = 0;
    do {
        wholeDigits[std::size_t(n++)] = char16_t(u'0' + whole % 10);
        whole /= 10;
    } while (whole != 0);

    QString out;
    out.reserve(prefix_.size() + suffix_.size() + negativeBefore_.size() + negativeAfter_.size() +
                n + n / 3 * group_.size() + decimal_.size() + digits_);
    if (loss)
        out += negativeBefore_;
    out += prefix_;
    for (int i = n - 1; i >= 0; --i) {
        out += QChar(wholeDigits[std::size_t(i)]);
        if (i > 0 && i % 3 == 0)
            out += group_;
    }
    if (digits_ > 0) {
        out += decimal_;
        std::array<char16_t, 4> decimals{};
        for (int i = digits_ - 1; i >= 0; --i) {
            decimals[std::size_t(i)] = char16_t(u'0' + fraction % 10);
            fraction /= 10;
        }
        out.append(reinterpret_cast<const QChar*>(decimals.data()), digits_);
    }
    out += suffix_;
    if (loss)
        out += negativeAfter_;
    return out;
}

} // namespace perlinex::reports
