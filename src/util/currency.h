#pragma once

#include <QString>
#include <compare>
#include <cstdint>
#include <optional>
#include <stdexcept>

namespace perlinex {

// A money amount as a 64-bit fixed-point number with four decimals, so that sums and
// products of prices are exact to the ten-thousandth. Arithmetic that would leave the
// 64-bit range throws std::overflow_error rather than wrapping.
class Currency {
public:
    static constexpr std::int64_t Scale = 10000;

    constexpr Currency() = default;

    static constexpr Currency fromRaw(std::int64_t tenThousandths) {
        Currency c;
        c.raw_ = tenThousandths;
        return c;
    }
    static Currency fromInteger(std::int64_t units);
    // Rounds half away from zero to four decimals; throws when out of range or not finite.
    static Currency fromDouble(double value);
    // Parses a plain number such as "-1234.5" or "12" (no locale, no symbols); nullopt when
    // the text is not such a number or has more than four decimals.
    static std::optional<Currency> fromPlainText(const QString& text);

    constexpr std::int64_t raw() const { return raw_; }
    double toDouble() const { return static_cast<double>(raw_) / Scale; }
    // Plain text with exactly four decimals and '.' as separator: "-1234.5000".
    QString toPlainText() const;

    Currency operator-() const;
    Currency operator+(Currency other) const;
    Currency operator-(Currency other) const;
    Currency operator*(std::int64_t factor) const;
    // Product of two amounts, rounded half away from zero to four decimals.
    Currency operator*(Currency other) const;
    Currency& operator+=(Currency other) { return *this = *this + other; }
    Currency& operator-=(Currency other) { return *this = *this - other; }

    constexpr auto operator<=>(const Currency&) const = default;

private:
    std::int64_t raw_ = 0;
};

} // namespace perlinex
