#include "util/currency.h"

#include <gtest/gtest.h>
#include <limits>

using perlinex::Currency;

namespace {

constexpr std::int64_t MaxRaw = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t MinRaw = std::numeric_limits<std::int64_t>::min();

Currency parse(const char* text) {
    const auto value = Currency::fromPlainText(QString::fromUtf8(text));
    if (!value)
        throw std::invalid_argument(text);
    return *value;
}

} // namespace

TEST(CurrencyArithmetic, SumsAreExactWhereDoublesAreNot) {
    ASSERT_NE(0.1 + 0.2, 0.3) << "the premise: doubles drift";
    EXPECT_EQ(parse("0.1") + parse("0.2"), parse("0.3"));
    EXPECT_EQ((parse("0.1") + parse("0.2")).raw(), 3000);
    EXPECT_EQ(Currency::fromDouble(0.1) + Currency::fromDouble(0.2), Currency::fromDouble(0.3));

    Currency total;
    for (int i = 0; i < 1000; ++i)
        total += parse("0.01");
    EXPECT_EQ(total, Currency::fromInteger(10));
    total -= parse("10.0001");
    EXPECT_EQ(total.raw(), -1);
}

TEST(CurrencyArithmetic, ProductsAreExact) {
    EXPECT_EQ(parse("0.1") * 3, parse("0.3"));
    EXPECT_EQ(parse("0.1") * parse("3"), parse("0.3"));
    EXPECT_EQ(parse("19.99") * std::int64_t(-4), parse("-79.96"));
    EXPECT_EQ(parse("1.5") * parse("1.5"), parse("2.25"));
}

TEST(CurrencyArithmetic, ProductOfAmountsRoundsHalfAwayFromZero) {
    EXPECT_EQ(parse("1.2345") * parse("1.1"), parse("1.358")); // 1.35795
    EXPECT_EQ(parse("0.0001") * parse("0.5"), parse("0.0001"));
    EXPECT_EQ(parse("-0.0001") * parse("0.5"), parse("-0.0001"));
    EXPECT_EQ(parse("0.0001") * parse("-0.5"), parse("-0.0001"));
    EXPECT_EQ(parse("0.0001") * parse("0.4999"), Currency());
    EXPECT_EQ(parse("-0.0001") * parse("0.4999"), Currency());
}

TEST(CurrencyArithmetic, OverflowThrowsInsteadOfWrapping) {
    const Currency max = Currency::fromRaw(MaxRaw);
    const Currency min = Currency::fromRaw(MinRaw);
    EXPECT_THROW(max + Currency::fromRaw(1), std::overflow_error);
    EXPECT_THROW(min - Currency::fromRaw(1), std::overflow_error);
    EXPECT_THROW(min + Currency::fromRaw(-1), std::overflow_error);
    EXPECT_THROW(-min, std::overflow_error);
    EXPECT_THROW(max * 2, std::overflow_error);
    EXPECT_THROW(Currency::fromInteger(1'000'000'000) * Currency::fromInteger(1'000'000'000),
                 std::overflow_error);
    EXPECT_THROW(Currency::fromInteger(1'000'000'000'000'000), std::overflow_error);

    Currency sum = max;
    EXPECT_THROW(sum += Currency::fromRaw(1), std::overflow_error);

    // The edges themselves are fine.
    EXPECT_EQ((-max).raw(), -MaxRaw);
    EXPECT_EQ((max - max).raw(), 0);
    EXPECT_EQ((min + max).raw(), -1);
    EXPECT_EQ(Currency::fromInteger(922'337'203'685'477).raw(), 9'223'372'036'854'770'000);
}

TEST(CurrencyFromDouble, RoundsHalfAwayFromZeroToFourDecimals) {
    // Binary fractions, so that the half really is a half.
    EXPECT_EQ(Currency::fromDouble(1.03125).raw(), 10313);
    EXPECT_EQ(Currency::fromDouble(-1.03125).raw(), -10313);
    EXPECT_EQ(Currency::fromDouble(0.03125).raw(), 313);
    EXPECT_EQ(Currency::fromDouble(1.23444).raw(), 12344);
    EXPECT_EQ(Currency::fromDouble(-1.23446).raw(), -12345);
    EXPECT_EQ(Currency::fromDouble(1234.5).raw(), 12345000);
    EXPECT_EQ(Currency::fromDouble(-0.0).raw(), 0);
}

TEST(CurrencyFromDouble, ThrowsWhenNotRepresentable) {
    EXPECT_THROW(Currency::fromDouble(std::numeric_limits<double>::quiet_NaN()),
                 std::overflow_error);
    EXPECT_THROW(Currency::fromDouble(std::numeric_limits<double>::infinity()),
                 std::overflow_error);
    EXPECT_THROW(Currency::fromDouble(-std::numeric_limits<double>::infinity()),
                 std::overflow_error);
    EXPECT_THROW(Currency::fromDouble(1e15), std::overflow_error);
    EXPECT_THROW(Currency::fromDouble(-1e15), std::overflow_error);
    EXPECT_EQ(Currency::fromDouble(9e14).raw(), 9'000'000'000'000'000'000);
}

TEST(CurrencyText, PlainTextAlwaysHasFourDecimals) {
    EXPECT_EQ(Currency().toPlainText(), QStringLiteral("0.0000"));
    EXPECT_EQ(parse("-1234.5").toPlainText(), QStringLiteral("-1234.5000"));
    EXPECT_EQ(Currency::fromRaw(5).toPlainText(), QStringLiteral("0.0005"));
    EXPECT_EQ(Currency::fromRaw(-1).toPlainText(), QStringLiteral("-0.0001"));
    EXPECT_EQ(Currency::fromInteger(12).toPlainText(), QStringLiteral("12.0000"));
    EXPECT_EQ(Currency::fromRaw(MaxRaw).toPlainText(), QStringLiteral("922337203685477.5807"));
    EXPECT_EQ(Currency::fromRaw(MinRaw).toPlainText(), QStringLiteral("-922337203685477.5808"));
}

TEST(CurrencyText, PlainTextReadsBackToTheSameAmount) {
    for (const std::int64_t raw : {std::int64_t(0), std::int64_t(1), std::int64_t(-1),
                                   std::int64_t(123456789), std::int64_t(-10000), MaxRaw, MinRaw}) {
        const Currency value = Currency::fromRaw(raw);
        EXPECT_EQ(Currency::fromPlainText(value.toPlainText()), value) << raw;
    }
}

TEST(CurrencyText, FromPlainTextAcceptsPlainNumbers) {
    EXPECT_EQ(Currency::fromPlainText(QStringLiteral("12")), Currency::fromInteger(12));
    EXPECT_EQ(Currency::fromPlainText(QStringLiteral("+3")), Currency::fromInteger(3));
    EXPECT_EQ(Currency::fromPlainText(QStringLiteral("-1234.5")), Currency::fromRaw(-12345000));
    EXPECT_EQ(Currency::fromPlainText(QStringLiteral("  7.25 ")), Currency::fromRaw(72500));
    EXPECT_EQ(Currency::fromPlainText(QStringLiteral(".5")), Currency::fromRaw(5000));
    EXPECT_EQ(Currency::fromPlainText(QStringLiteral("5.")), Currency::fromInteger(5));
    EXPECT_EQ(Currency::fromPlainText(QStringLiteral("-0")), Currency());
    EXPECT_EQ(Currency::fromPlainText(QStringLiteral("0.0001")), Currency::fromRaw(1));
    EXPECT_EQ(Currency::fromPlainText(QStringLiteral("007")), Currency::fromInteger(7));
}

TEST(CurrencyText, FromPlainTextRefusesEverythingElse) {
    for (const char* text : {"", "   ", "-", "+", ".", "-.", "1.23456", "1,5", "1e3", "--1", "+-1",
                             "1 2", "1.2.3", "$1", "abc", "1-", "922337203685477.5808",
                             "-922337203685477.5809", "99999999999999999999"}) {
        EXPECT_EQ(Currency::fromPlainText(QString::fromUtf8(text)), std::nullopt) << text;
    }
    // Digits of other scripts are not plain text.
    EXPECT_EQ(Currency::fromPlainText(QStringLiteral("\u0661\u0662")), std::nullopt);
}

TEST(CurrencyCompare, OrdersByAmount) {
    EXPECT_LT(parse("-0.0001"), Currency());
    EXPECT_LT(parse("1.9999"), parse("2"));
    EXPECT_GT(Currency::fromRaw(MaxRaw), Currency::fromRaw(MinRaw));
    EXPECT_DOUBLE_EQ(parse("-1234.5678").toDouble(), -1234.5678);
}
