#include "regional/regional.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <ostream>

using perlinex::Currency;
using perlinex::regional::DateOrder;
using perlinex::regional::fromSerial;
using perlinex::regional::Regional;
using perlinex::regional::toSerial;

// Readable failure messages for Qt values.
void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
void PrintTo(const QDate& d, std::ostream* os) {
    *os << d.toString(Qt::ISODate).toStdString();
}
void PrintTo(const QDateTime& d, std::ostream* os) {
    *os << d.toString(Qt::ISODateWithMs).toStdString();
}

namespace {

const Regional& us() {
    static const Regional r(QLocale(QLocale::English, QLocale::UnitedStates));
    return r;
}
const Regional& gb() {
    static const Regional r(QLocale(QLocale::English, QLocale::UnitedKingdom));
    return r;
}
const Regional& de() {
    static const Regional r(QLocale(QLocale::German, QLocale::Germany));
    return r;
}

Currency money(const char* plain) {
    return *Currency::fromPlainText(QString::fromUtf8(plain));
}

QString u(const char* text) {
    return QString::fromUtf8(text);
}

const QString Nbsp = QStringLiteral("\u00a0");
const QString Euro = QStringLiteral("\u20ac");

int thisYear() {
    return QDate::currentDate().year();
}

} // namespace

// --- Formatting ---------------------------------------------------------------------------

TEST(FormatCurrency, UnitedStatesBracketsLosses) {
    EXPECT_EQ(us().formatCurrency(money("1.5")), u("$1.50"));
    EXPECT_EQ(us().formatCurrency(money("-1.5")), u("($1.50)"));
    EXPECT_EQ(us().formatCurrency(money("1234.5")), u("$1,234.50"));
    EXPECT_EQ(us().formatCurrency(money("-1234567.891")), u("($1,234,567.89)"));
    EXPECT_EQ(us().formatCurrency(Currency()), u("$0.00"));
}

TEST(FormatCurrency, BritishAndGermanUseAMinus) {
    EXPECT_EQ(gb().formatCurrency(money("1.5")), u("£1.50"));
    EXPECT_EQ(gb().formatCurrency(money("-1.5")), u("-£1.50"));
    EXPECT_EQ(gb().formatCurrency(money("1234.5")), u("£1,234.50"));

    EXPECT_EQ(de().formatCurrency(money("1.5")), u("1,50") + Nbsp + Euro);
    EXPECT_EQ(de().formatCurrency(money("-1.5")), u("-1,50") + Nbsp + Euro);
    EXPECT_EQ(de().formatCurrency(money("1234.5")), u("1.234,50") + Nbsp + Euro);
}

TEST(FormatCurrency, RoundsExactlyHalfAwayFromZero) {
    // 1.005 and 2.675 are below the half as doubles; the amounts themselves are not.
    EXPECT_EQ(us().formatCurrency(money("1.005")), u("$1.01"));
    EXPECT_EQ(us().formatCurrency(money("2.675")), u("$2.68"));
    EXPECT_EQ(us().formatCurrency(money("-1.005")), u("($1.01)"));
    EXPECT_EQ(us().formatCurrency(money("1.0049")), u("$1.00"));
    EXPECT_EQ(gb().formatCurrency(money("-0.0049")), u("£0.00")) << "no sign on a zero";
    EXPECT_EQ(us().formatCurrency(money("-0.0049")), u("$0.00"));
}

TEST(FormatCurrency, LargeAmountsKeepEveryDigit) {
    EXPECT_EQ(us().formatCurrency(money("123456789012345.01")), u("$123,456,789,012,345.01"));
    EXPECT_EQ(us().formatCurrency(Currency::fromRaw(std::numeric_limits<std::int64_t>::min())),
              u("($922,337,203,685,477.58)"));
    EXPECT_EQ(de().formatCurrency(money("-123456789012345.01")),
              u("-123.456.789.012.345,01") + Nbsp + Euro);
}

TEST(FormatShortDate, AlwaysShowsFourYearDigits) {
    const QDate date(1998, 5, 30);
    EXPECT_EQ(us().formatShortDate(date), u("5/30/1998"));
    EXPECT_EQ(gb().formatShortDate(date), u("30/05/1998"));
    EXPECT_EQ(de().formatShortDate(date), u("30.05.1998"));

    const QDate early(2005, 1, 2);
    EXPECT_EQ(us().formatShortDate(early), u("1/2/2005"));
    EXPECT_EQ(gb().formatShortDate(early), u("02/01/2005"));
    EXPECT_EQ(de().formatShortDate(early), u("02.01.2005"));

    EXPECT_EQ(us().formatShortDate(QDate()), QString());
}

TEST(FormatMediumTime, HoursAndMinutesInTheLocalesClock) {
    EXPECT_EQ(us().formatMediumTime(QTime(13, 5)), u("1:05 PM"));
    EXPECT_EQ(us().formatMediumTime(QTime(0, 5)), u("12:05 AM"));
    EXPECT_EQ(us().formatMediumTime(QTime(13, 5, 59)), u("1:05 PM"));
    EXPECT_EQ(gb().formatMediumTime(QTime(13, 5)), u("13:05"));
    EXPECT_EQ(de().formatMediumTime(QTime(13, 5)), u("13:05"));
    EXPECT_EQ(de().formatMediumTime(QTime(9, 5, 30)), u("09:05"));
    EXPECT_EQ(de().formatMediumTime(QTime()), QString());
}

TEST(FormatNumber, LocaleDecimalsWithoutGrouping) {
    EXPECT_EQ(us().formatNumber(1234.5), u("1234.5"));
    EXPECT_EQ(de().formatNumber(1234.5), u("1234,5"));
    EXPECT_EQ(de().formatNumber(-0.25), u("-0,25"));
    EXPECT_EQ(gb().formatNumber(3), u("3"));
    EXPECT_EQ(us().formatNumber(0.1), u("0.1"));
}

TEST(DateShape, OrderAndSeparatorComeFromTheShortDate) {
    EXPECT_EQ(us().dateOrder(), DateOrder::MonthDayYear);
    EXPECT_EQ(us().dateSeparator(), QChar(u'/'));
    EXPECT_EQ(gb().dateOrder(), DateOrder::DayMonthYear);
    EXPECT_EQ(gb().dateSeparator(), QChar(u'/'));
    EXPECT_EQ(de().dateOrder(), DateOrder::DayMonthYear);
    EXPECT_EQ(de().dateSeparator(), QChar(u'.'));

    // Canadian English writes yyyy-MM-dd in Qt 6.
    const Regional ca(QLocale(QLocale::English, QLocale::Canada));
    EXPECT_EQ(ca.dateOrder(), DateOrder::YearMonthDay);
    EXPECT_EQ(ca.dateSeparator(), QChar(u'-'));
    EXPECT_EQ(ca.toDate(u("98-05-30")), QDate(1998, 5, 30));
}

TEST(DefaultLocale, FollowsTheProgramsDefault) {
    // The test main makes United States English the default.
    const Regional current;
    EXPECT_EQ(current.locale(), QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(current.formatCurrency(money("-1.5")), u("($1.50)"));
}

// --- Numbers ------------------------------------------------------------------------------

TEST(Numeric, UnitedStatesAcceptsCurrencyShapes) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"12", 12},
        {"  12  ", 12},
        {"+12", 12},
        {"-12", -12},
        {"12-", -12},
        {"$1,234.50", 1234.5},
        {"($1,234.50)", -1234.5},
        {"(12)", -12},
        {"-$1.50", -1.5},
        {"$-1.50", -1.5},
        {"$ 1.50", 1.5},
        {"1.50$", 1.5},
        {"1.50 $", 1.5},
        {"$1.50-", -1.5},
        {".5", 0.5},
        {"5.", 5},
        {"1,234,567", 1234567},
        {"0", 0},
        {"007", 7},
        {" ( $ 3.25 ) ", -3.25},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(us().isNumeric(u(c.text))) << c.text;
        EXPECT_EQ(us().toDouble(u(c.text)), c.value) << c.text;
    }
}

TEST(Numeric, RefusesGarbage) {
    for (const char* text : {"",     "   ",   "abc",    "1.2.3x",    "1.2.3",        "--1",
                             "+-1",  "-1-",   "(-1)",   "($1.50",    "$1.50)",       "()",
                             "1,23", ",123",  "1,,234", "1,234,56",  "1234,567,890", "$",
                             "-",    ".",     "$$1",    "1 2",       "€1",           "£1",
                             "1e3",  "12abc", "0x10",   "1,234.5.6", "1..5"}) {
        EXPECT_FALSE(us().isNumeric(u(text))) << text;
        EXPECT_EQ(us().toDouble(u(text)), std::nullopt) << text;
        EXPECT_EQ(us().toCurrency(u(text)), std::nullopt) << text;
        EXPECT_EQ(us().toInt32(u(text)), std::nullopt) << text;
    }
}

TEST(Numeric, BritishPounds) {
    EXPECT_EQ(gb().toDouble(u("£1,234.50")), 1234.5);
    EXPECT_EQ(gb().toDouble(u("-£1.50")), -1.5);
    EXPECT_EQ(gb().toDouble(u("(£1.50)")), -1.5);
    EXPECT_FALSE(gb().isNumeric(u("$1.50")));
}

TEST(Numeric, GermanSwapsTheSeparators) {
    EXPECT_EQ(de().toDouble(u("1,5")), 1.5);
    EXPECT_EQ(de().toDouble(u("1.234,5")), 1234.5);
    EXPECT_EQ(de().toDouble(u("1.234.567,89")), 1234567.89);
    EXPECT_EQ(de().toDouble(u("1,50 €")), 1.5);
    EXPECT_EQ(de().toDouble(u("1,50") + Nbsp + Euro), 1.5);
    EXPECT_EQ(de().toDouble(u("-1,50") + Nbsp + Euro), -1.5);
    EXPECT_EQ(de().toDouble(u("1,50€")), 1.5);
    EXPECT_EQ(de().toDouble(u("€ 1,50")), 1.5);
    EXPECT_EQ(de().toDouble(u("1,5-")), -1.5);
    // A point is grouping in German: 1.5 is a misplaced separator, not fifteen.
    for (const char* text : {"1.5", "1234.5", "1,2,3", "1.2.3x", "$1,50", "1.23,4"})
        EXPECT_FALSE(de().isNumeric(u(text))) << text;
}

// Plain digits with at most a minus and one decimal point are read on a short way; it must
// agree with the full rules, and hand on whatever it does not take.
TEST(Numeric, PlainDigitsReadAsTheFullRulesReadThem) {
    const struct {
        const char* us;
        const char* german;
        std::optional<double> value;
    } cases[] = {
        {"0012.50", "0012,50", 12.5},
        {"-3", "-3", -3.0},
        {".5", ",5", 0.5},
        {"5.", "5,", 5.0},
        {"-.25", "-,25", -0.25},
        {"-", "-", std::nullopt},
        {".", ",", std::nullopt},
        {"1.2.3", "1,2,3", std::nullopt},
        {"--1", "--1", std::nullopt},
        {"1-", "1-", -1.0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(us().toDouble(u(c.us)), c.value) << c.us;
        EXPECT_EQ(de().toDouble(u(c.german)), c.value) << c.german;
    }
}

TEST(Numeric, SpaceGroupingAcceptsAnySpace) {
    // French groups with a narrow no-break space that nobody can type; plain and no-break
    // spaces stand in for it.
    const Regional fr(QLocale(QLocale::French, QLocale::France));
    EXPECT_EQ(fr.toDouble(u("1\u202f234,5")), 1234.5);
    EXPECT_EQ(fr.toDouble(u("1 234,5")), 1234.5);
    EXPECT_EQ(fr.toDouble(u("1\u00a0234,50 €")), 1234.5);
    EXPECT_EQ(fr.toDouble(u("12 €")), 12);
    EXPECT_FALSE(fr.isNumeric(u("1 23,5")));
}

TEST(Numeric, FormattedValuesReadBack) {
    for (const Regional* r : {&us(), &gb(), &de()}) {
        for (const char* plain : {"0", "1.5", "-1.5", "1234.56", "-987654321.01"}) {
            const Currency amount = money(plain);
            EXPECT_EQ(r->toCurrency(r->formatCurrency(amount)), amount)
                << r->locale().name().toStdString() << ' ' << plain;
        }
        for (const double value : {0.1, -1234.5, 1e-7, 123456789.125})
            EXPECT_EQ(r->toDouble(r->formatNumber(value)), value);
    }
}

TEST(ToCurrency, ExactFromTheTypedDigits) {
    EXPECT_EQ(us().toCurrency(u("$1,234.50")), Currency::fromRaw(12345000));
    EXPECT_EQ(us().toCurrency(u("0.1")), Currency::fromRaw(1000));
    EXPECT_EQ(us().toCurrency(u("($0.0001)")), Currency::fromRaw(-1));
    EXPECT_EQ(de().toCurrency(u("1.234,5678 €")), Currency::fromRaw(12345678));
    // Beyond a double's 15-16 digits; a detour through double would lose the tail.
    EXPECT_EQ(us().toCurrency(u("9,007,199,254,740.9993")), Currency::fromRaw(90071992547409993));
    EXPECT_EQ(us().toCurrency(u("922337203685477.5807")),
              Currency::fromRaw(std::numeric_limits<std::int64_t>::max()));
    EXPECT_EQ(us().toCurrency(u("-922337203685477.5808")),
              Currency::fromRaw(std::numeric_limits<std::int64_t>::min()));
}

TEST(ToCurrency, ExtraDecimalsRoundHalfAwayFromZero) {
    EXPECT_EQ(us().toCurrency(u("1.23455")), money("1.2346"));
    EXPECT_EQ(us().toCurrency(u("-1.23455")), money("-1.2346"));
    EXPECT_EQ(us().toCurrency(u("1.234549999")), money("1.2345"));
    EXPECT_EQ(us().toCurrency(u("(1.23455)")), money("-1.2346"));
    EXPECT_EQ(us().toCurrency(u("0.00005")), money("0.0001"));
    EXPECT_EQ(us().toCurrency(u("-0.00004")), Currency());
    EXPECT_EQ(us().toCurrency(u("0.99995")), money("1"));
}

TEST(ToCurrency, OutOfRangeIsRefused) {
    EXPECT_EQ(us().toCurrency(u("922337203685477.5808")), std::nullopt);
    EXPECT_EQ(us().toCurrency(u("922337203685477.58075")), std::nullopt) << "rounds past the top";
    EXPECT_EQ(us().toCurrency(u("-922337203685477.58085")), std::nullopt);
    EXPECT_EQ(us().toCurrency(u("99999999999999999999")), std::nullopt);
    // Still a number, just not an amount.
    EXPECT_TRUE(us().isNumeric(u("99999999999999999999")));
}

TEST(ToInt, WholeNumbersWithinRange) {
    EXPECT_EQ(us().toInt32(u("12")), 12);
    EXPECT_EQ(us().toInt32(u(" 1,234 ")), 1234);
    EXPECT_EQ(us().toInt32(u("(5)")), -5);
    EXPECT_EQ(us().toInt32(u("$3")), 3);
    EXPECT_EQ(us().toInt32(u("12.00")), 12);
    EXPECT_EQ(us().toInt32(u("-0")), 0);
    EXPECT_EQ(de().toInt32(u("1.000")), 1000);
    EXPECT_EQ(us().toInt32(u("2147483647")), 2147483647);
    EXPECT_EQ(us().toInt32(u("-2147483648")), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(us().toInt16(u("32767")), 32767);
    EXPECT_EQ(us().toInt16(u("-32768")), -32768);
    EXPECT_EQ(us().toInt16(u("000000000000000000000032767")), 32767);
}

TEST(ToInt, NeverWraps) {
    // 2^64 + 5 would come out as 5 if the digits were allowed to wrap.
    for (const char* text :
         {"2147483648", "-2147483649", "4294967296", "4294967297", "18446744073709551621",
          "99999999999999999999999", "12.5", "0.001", "abc", ""})
        EXPECT_EQ(us().toInt32(u(text)), std::nullopt) << text;
    for (const char* text : {"32768", "-32769", "65536", "65537", "2147483647", "1.5"})
        EXPECT_EQ(us().toInt16(u(text)), std::nullopt) << text;
    EXPECT_EQ(de().toInt32(u("12,5")), std::nullopt);
}

// --- Dates --------------------------------------------------------------------------------

TEST(ToDate, UnitedStatesMonthFirst) {
    const QDate expected(1998, 5, 30);
    for (const char* text :
         {"5/30/1998", "05/30/1998", "5-30-1998", "5.30.1998", "5 30 1998", "5  30   1998",
          "  5/30/1998  ", "5/30/98", "5 / 30 / 1998", "May 30, 1998", "May 30 1998",
          "may 30, 1998", "MAY 30, 98", "30 May 1998", "30-May-1998", "1998-05-30", "1998/5/30"}) {
        EXPECT_TRUE(us().isDate(u(text))) << text;
        EXPECT_EQ(us().toDate(u(text)), expected) << text;
    }
    EXPECT_EQ(us().toDate(u("Sept 30, 1998")), QDate(1998, 9, 30));
    EXPECT_EQ(us().toDate(u("Dec. 25, 2001")), QDate(2001, 12, 25));
}

TEST(ToDate, BritishDayFirst) {
    const QDate expected(1998, 5, 30);
    for (const char* text : {"30/5/1998", "30/05/98", "30 5 1998", "30.5.1998", "30-5-1998",
                             "30 May 1998", "30-May-98", "May 30, 1998", "1998-05-30"})
        EXPECT_EQ(gb().toDate(u(text)), expected) << text;
    EXPECT_EQ(gb().toDate(u("5/30/1998")), std::nullopt);
    EXPECT_EQ(gb().toDate(u("1/2/2005")), QDate(2005, 2, 1));
}

TEST(ToDate, GermanNamesAndEnglishOnes) {
    const QDate expected(1998, 5, 30);
    for (const char* text : {"30.5.1998", "30.05.98", "30. Mai 1998", "30. mai 1998", "30 Mai 1998",
                             "30 May 1998", "30/5/1998", "1998-05-30"})
        EXPECT_EQ(de().toDate(u(text)), expected) << text;
    EXPECT_EQ(de().toDate(u("1. März 1998")), QDate(1998, 3, 1));
    EXPECT_EQ(de().toDate(u("3. Okt. 1990")), QDate(1990, 10, 3));
    EXPECT_EQ(de().toDate(u("24. Dezember 2000")), QDate(2000, 12, 24));
    EXPECT_EQ(de().toDate(u("24 December 2000")), QDate(2000, 12, 24));
}

TEST(ToDate, TwoDigitYearsFallIn1930To2029) {
    EXPECT_EQ(us().toDate(u("5/30/29")), QDate(2029, 5, 30));
    EXPECT_EQ(us().toDate(u("5/30/30")), QDate(1930, 5, 30));
    EXPECT_EQ(us().toDate(u("5/30/00")), QDate(2000, 5, 30));
    EXPECT_EQ(us().toDate(u("5/30/99")), QDate(1999, 5, 30));
    EXPECT_EQ(gb().toDate(u("1/1/5")), QDate(2005, 1, 1));
}

TEST(ToDate, LiteralYearsFrom100To9999) {
    EXPECT_EQ(us().toDate(u("1/1/100")), QDate(100, 1, 1));
    EXPECT_EQ(us().toDate(u("1/1/0100")), QDate(100, 1, 1));
    EXPECT_EQ(us().toDate(u("12/31/9999")), QDate(9999, 12, 31));
    EXPECT_EQ(us().toDate(u("1/1/1066")), QDate(1066, 1, 1));
    EXPECT_EQ(us().toDate(u("1/1/0099")), std::nullopt);
    EXPECT_EQ(us().toDate(u("1/1/10000")), std::nullopt);
}

TEST(ToDate, ImpossibleDaysAreRefused) {
    for (const char* text : {"4/31/1998", "2/29/1999", "2/29/1900", "13/1/1998", "0/1/1998",
                             "1/0/1998", "1/32/1998", "30/5/1998", "1998-13-01", "1998-02-30"})
        EXPECT_FALSE(us().isDate(u(text))) << text;
    EXPECT_EQ(us().toDate(u("2/29/2000")), QDate(2000, 2, 29));
    EXPECT_EQ(gb().toDate(u("31/4/1998")), std::nullopt);
    EXPECT_EQ(de().toDate(u("29.2.1999")), std::nullopt);
    EXPECT_EQ(de().toDate(u("31. April 1998")), std::nullopt);
}

TEST(ToDate, MalformedTextIsNotADate) {
    for (const char* text : {"",
                             "   ",
                             "abc",
                             "5/30/1998x",
                             "30May1998",
                             "5/30-1998",
                             "5//30/1998",
                             "5//30//1998",
                             "/5/30/1998",
                             "5/30/1998/",
                             "5/30/1998 13:05",
                             "Foo 30, 1998",
                             "May June 1998",
                             "5,30,1998",
                             "5/30/1998/1",
                             "5",
                             "May",
                             "May 1998",
                             "1998 30 May",
                             "5/305/1998",
                             "005/30/1998"})
        EXPECT_FALSE(us().isDate(u(text))) << text;
}

TEST(ToDate, DayAndMonthAloneMeanThisYear) {
    EXPECT_EQ(us().toDate(u("5/30")), QDate(thisYear(), 5, 30));
    EXPECT_EQ(gb().toDate(u("30/5")), QDate(thisYear(), 5, 30));
    EXPECT_EQ(de().toDate(u("30.5")), QDate(thisYear(), 5, 30));
    EXPECT_EQ(gb().toDate(u("30 May")), QDate(thisYear(), 5, 30));
    EXPECT_EQ(us().toDate(u("May 30")), QDate(thisYear(), 5, 30));
    EXPECT_EQ(us().toDate(u("30/5")), std::nullopt);
}

TEST(ToDate, FormattedDatesReadBack) {
    for (const Regional* r : {&us(), &gb(), &de()}) {
        for (const QDate date : {QDate(1998, 5, 30), QDate(2005, 1, 2), QDate(1850, 12, 31),
                                 QDate(2029, 2, 28), QDate(1930, 1, 1)})
            EXPECT_EQ(r->toDate(r->formatShortDate(date)), date)
                << r->locale().name().toStdString();
    }
}

// --- Serial date-times --------------------------------------------------------------------

TEST(Serial, DaysSince30December1899) {
    EXPECT_EQ(toSerial(QDateTime(QDate(1899, 12, 30), QTime(0, 0))), 0.0);
    EXPECT_EQ(toSerial(QDateTime(QDate(1900, 1, 1), QTime(0, 0))), 2.0);
    EXPECT_EQ(toSerial(QDateTime(QDate(1998, 5, 30), QTime(0, 0))), 35945.0);
    EXPECT_EQ(toSerial(QDateTime(QDate(1998, 5, 30), QTime(12, 0))), 35945.5);
    EXPECT_EQ(toSerial(QDateTime(QDate(1899, 12, 30), QTime(6, 0))), 0.25);
    EXPECT_EQ(toSerial(QDateTime(QDate(1800, 1, 1), QTime(0, 0))), -36522.0);

    EXPECT_EQ(fromSerial(2), QDateTime(QDate(1900, 1, 1), QTime(0, 0)));
    EXPECT_EQ(fromSerial(35945), QDateTime(QDate(1998, 5, 30), QTime(0, 0)));
    EXPECT_EQ(fromSerial(35945.75), QDateTime(QDate(1998, 5, 30), QTime(18, 0)));
    EXPECT_EQ(fromSerial(0.5), QDateTime(QDate(1899, 12, 30), QTime(12, 0)));
}

TEST(Serial, BeforeTheEpochTheTimeStillRunsForward) {
    EXPECT_EQ(toSerial(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
    EXPECT_EQ(toSerial(QDateTime(QDate(1899, 12, 29), QTime(18, 0))), -1.75);
    EXPECT_EQ(toSerial(QDateTime(QDate(1899, 12, 29), QTime(0, 0))), -1.0);

    EXPECT_EQ(fromSerial(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    EXPECT_EQ(fromSerial(-1.75), QDateTime(QDate(1899, 12, 29), QTime(18, 0)));
    EXPECT_EQ(fromSerial(-2), QDateTime(QDate(1899, 12, 28), QTime(0, 0)));
    // Between -1 and 0 the whole part is still day 0.
    EXPECT_EQ(fromSerial(-0.25), QDateTime(QDate(1899, 12, 30), QTime(6, 0)));
}

TEST(Serial, RoundTripsToTheMillisecond) {
    for (const QDateTime& dt : {QDateTime(QDate(1998, 5, 30), QTime(13, 5)),
                                QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59, 999)),
                                QDateTime(QDate(1899, 12, 29), QTime(0, 0, 0, 1)),
                                QDateTime(QDate(1066, 10, 14), QTime(9, 30, 15)),
                                QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59))})
        EXPECT_EQ(fromSerial(toSerial(dt)), dt);
}

TEST(Serial, NearMidnightRoundsIntoTheNextDay) {
    EXPECT_EQ(fromSerial(35945.9999999999), QDateTime(QDate(1998, 5, 31), QTime(0, 0)));
    EXPECT_EQ(fromSerial(-1.9999999999), QDateTime(QDate(1899, 12, 30), QTime(0, 0)));
}

TEST(Serial, InvalidValues) {
    EXPECT_TRUE(std::isnan(toSerial(QDateTime())));
    EXPECT_FALSE(fromSerial(std::numeric_limits<double>::quiet_NaN()).isValid());
    EXPECT_FALSE(fromSerial(std::numeric_limits<double>::infinity()).isValid());
    EXPECT_FALSE(fromSerial(1e300).isValid());
}
