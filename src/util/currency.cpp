#include "util/currency.h"

#include <cmath>
#include <limits>

namespace perlinex {

namespace {

__extension__ typedef __int128 Int128;

[[noreturn]] void overflow() {
    throw std::overflow_error("currency amount out of range");
}

std::int64_t checkedMul(std::int64_t a, std::int64_t b) {
    std::int64_t r;
    if (__builtin_mul_overflow(a, b, &r))
        overflow();
    return r;
}

std::int64_t checkedAdd(std::int64_t a, std::int64_t b) {
    std::int64_t r;
    if (__builtin_add_overflow(a, b, &r))
        overflow();
    return r;
}

} // namespace

Currency Currency::fromInteger(std::int64_t units) {
    return fromRaw(checkedMul(units, Scale));
}

Currency Currency::fromDouble(double value) {
    if (!std::isfinite(value))
        overflow();
    const double scaled = std::round(value * Scale); // std::round rounds half away from zero
    // 2^63 is exactly representable; anything at or beyond it does not fit.
    if (scaled >= 9223372036854775808.0 || scaled < -9223372036854775808.0)
        overflow();
    return fromRaw(static_cast<std::int64_t>(scaled));
}

std::optional<Currency> Currency::fromPlainText(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    qsizetype i = 0;
    bool negative = false;
    if (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+')) {
        negative = t[i] == QLatin1Char('-');
        ++i;
    }
    // Accumulate with the sign applied so that the most negative amount, whose magnitude
    // has no positive counterpart, still reads back.
    const int sign = negative ? -1 : 1;
    std::int64_t whole = 0;
    int digits = 0;
    try {
        for (; i < t.size() && t[i].isDigit() && t[i].unicode() < 128; ++i, ++digits)
            whole = checkedAdd(checkedMul(whole, 10), sign * (t[i].unicode() - '0'));
        std::int64_t frac = 0;
        int fracDigits = 0;
        if (i < t.size() && t[i] == QLatin1Char('.')) {
            for (++i; i < t.size() && t[i].isDigit() && t[i].unicode() < 128; ++i) {
                if (++fracDigits > 4)
                    return std::nullopt;
                frac = frac * 10 + (t[i].unicode() - '0');
            }
        }
        if (i != t.size() || digits + fracDigits == 0)
            return std::nullopt;
        for (int k = fracDigits; k < 4; ++k)
            frac *= 10;
        return fromRaw(checkedAdd(checkedMul(whole, Scale), sign * frac));
    } catch (const std::overflow_error&) {
        return std::nullopt;
    }
}

QString Currency::toPlainText() const {
    // Work in unsigned so that the most negative amount has a magnitude too.
    const bool negative = raw_ < 0;
    const std::uint64_t mag =
        negative ? std::uint64_t(0) - static_cast<std::uint64_t>(raw_) : std::uint64_t(raw_);
    return QStringLiteral("%1%2.%3")
        .arg(negative ? QStringLiteral("-") : QString())
        .arg(mag / Scale)
        .arg(mag % Scale, 4, 10, QLatin1Char('0'));
}

Currency Currency::operator-() const {
    if (raw_ == std::numeric_limits<std::int64_t>::min())
        overflow();
    return fromRaw(-raw_);
}

Currency Currency::operator+(Currency other) const {
    return fromRaw(checkedAdd(raw_, other.raw_));
}

Currency Currency::operator-(Currency other) const {
    std::int64_t r;
    if (__builtin_sub_overflow(raw_, other.raw_, &r))
        overflow();
    return fromRaw(r);
}

Currency Currency::operator*(std::int64_t factor) const {
    return fromRaw(checkedMul(raw_, factor));
}

Currency Currency::operator*(Currency other) const {
    const Int128 product = static_cast<Int128>(raw_) * other.raw_;
    const Int128 half = Scale / 2;
    const Int128 rounded = product >= 0 ? (product + half) / Scale : (product - half) / Scale;
    if (rounded > std::numeric_limits<std::int64_t>::max() ||
        rounded < std::numeric_limits<std::int64_t>::min())
        overflow();
    return fromRaw(static_cast<std::int64_t>(rounded));
}

} // namespace perlinex
