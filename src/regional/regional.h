#pragma once

#include "util/currency.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QPair>
#include <QString>
#include <QTime>
#include <cstdint>
#include <optional>

// The one place that knows the user's regional settings: how money, dates, times and
// numbers are written and read back. Every window formats and parses through here.
namespace perlinex::regional {

// Order of day, month and year in the user's short date.
enum class DateOrder { MonthDayYear, DayMonthYear, YearMonthDay };

class Regional {
public:
    // Uses the given locale; the default is the program's current default QLocale.
    explicit Regional(const QLocale& locale = QLocale());

    const QLocale& locale() const { return locale_; }

    // "currency": symbol, grouping, the locale's decimals; a negative amount as the locale
    // writes it, such as ($1.50) for United States English.
    QString formatCurrency(Currency amount) const;
    // "short date", always with a four-digit year.
    QString formatShortDate(const QDate& date) const;
    // "medium time": hours and minutes in the locale's own clock (12 or 24 hours).
    QString formatMediumTime(const QTime& time) const;
    // A plain number as the locale writes it, without grouping: 1234,5 in German.
    QString formatNumber(double value) const;

    // The numeric test: spaces around, a sign, the currency symbol, grouping separators,
    // the locale's decimal separator, and negatives in the currency format's form all pass;
    // an empty or all-space text does not.
    bool isNumeric(const QString& text) const;
    std::optional<double> toDouble(const QString& text) const;
    // Exact to four decimals, further typed decimals rounded half away from zero; nullopt
    // when not numeric or out of range.
    std::optional<Currency> toCurrency(const QString& text) const;
    // Whole-number conversions: nullopt when not numeric, not a whole number, or out of
    // the type's range (never a silent wrap).
    std::optional<std::int32_t> toInt32(const QString& text) const;
    std::optional<std::int16_t> toInt16(const QString& text) const;

    // The date test: day, month and year in the locale's order separated by "/", ".", "-"
    // or spaces; month names; ISO yyyy-mm-dd; two-digit years windowed to 1930-2029;
    // impossible days such as 31 April refused. A day and month alone mean the current year.
    bool isDate(const QString& text) const;
    std::optional<QDate> toDate(const QString& text) const;

    DateOrder dateOrder() const { return order_; }
    // The separator that the locale's short date uses between its parts.
    QChar dateSeparator() const { return separator_; }

private:
    // A number as typed, reduced to ASCII digits; either part may be empty, not both.
    struct NumberParts {
        bool negative = false;
        QString whole;
        QString fraction;
    };
    std::optional<NumberParts> parseNumber(const QString& text) const;
    std::optional<NumberParts> parsePlainNumber(const QString& text) const;
    std::optional<std::int64_t> toWhole(const QString& text, std::int64_t min,
                                        std::int64_t max) const;
    int monthFromName(const QString& word) const;

    QLocale locale_;
    DateOrder order_;
    QChar separator_;
    QString shortDateFormat_;
    // toCurrencyString's layout around the number, e.g. "$" and "" or "" and " €".
    QString currencyPrefix_;
    QString currencySuffix_;
    int currencyDigits_ = -1; // -1: layout unknown, Qt formats from a double
    bool parenthesisedNegatives_ = false;
    // The locale's signs and separators, asked once: reading numbers asks for them all the time.
    QString currencySymbol_;
    QString negativeSign_;
    QString positiveSign_;
    QString groupSeparator_;
    QString decimalPoint_;
    // Digits in the group next to the decimal point and in the groups before it.
    int primaryGroup_ = 3;
    int secondaryGroup_ = 3;
    QList<QPair<QString, int>> monthNames_; // lower case, without a trailing '.'
};

// What is shown for a stored number that no amount of money can hold (written by another
// program): a marker, never an amount it is not.
QString tooLargeForMoney();

// Serial numbers of date-times: whole days since 30 December 1899, fraction = time of day.
// Before that day the whole part counts days back while the fraction still counts the time
// forward: -1.25 is 29 December 1899 06:00. toSerial gives NaN for an invalid date-time;
// fromSerial gives an invalid one for a non-finite or absurdly large serial.
double toSerial(const QDateTime& dateTime);
QDateTime fromSerial(double serial);

} // namespace perlinex::regional
