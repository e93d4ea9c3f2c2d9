#include "exchange/valuereading.h"

#include "regional/regional.h"

#include <gtest/gtest.h>

using namespace perlinex;
using namespace perlinex::exchange;

namespace {

const char* readingName(Reading r) {
    switch (r) {
    case Reading::Blank:
        return "blank";
    case Reading::Read:
        return "read";
    case Reading::Words:
        return "words";
    case Reading::Malformed:
        return "malformed";
    }
    return "?";
}

} // namespace

TEST(ReadAmount, TakesWhatPeopleTypeAndTellsWordsFromBadNumbers) {
    struct Case {
        const char* text;
        char decimal;
        Reading reading;
        const char* amount; // plain, for Read
    };
    const Case cases[] = {
        {"$54.91", '.', Reading::Read, "54.91"},
        {"54,91 €", ',', Reading::Read, "54.91"},
        {"€54,91", ',', Reading::Read, "54.91"},
        {"1,234.56", '.', Reading::Read, "1234.56"},
        {"1.234,56", ',', Reading::Read, "1234.56"},
        {"1 234,5", ',', Reading::Read, "1234.50"},
        {"EUR 12", '.', Reading::Read, "12.00"},
        {"12 CHF", '.', Reading::Read, "12.00"},
        {"US$ 7.5", '.', Reading::Read, "7.50"},
        {"(1.50)", '.', Reading::Read, "-1.50"},
        {"-$3", '.', Reading::Read, "-3.00"},
        {"0.123456", '.', Reading::Read, "0.1235"},
        {"  ", '.', Reading::Blank, nullptr},
        {"5c", '.', Reading::Words, nullptr},
        {"unknown", '.', Reading::Words, nullptr},
        {"12.3.4", '.', Reading::Malformed, nullptr},
        {"1,23,4", '.', Reading::Malformed, nullptr},
        {"99999999999999999999", '.', Reading::Malformed, nullptr},
    };
    for (const Case& c : cases) {
        const Read<Currency> r = readAmount(QString::fromUtf8(c.text), QLatin1Char(c.decimal));
        EXPECT_STREQ(readingName(r.reading), readingName(c.reading)) << c.text;
        if (c.amount && r.reading == Reading::Read) {
            EXPECT_EQ(plainAmount(r.value), QLatin1String(c.amount)) << c.text;
        }
    }
}

TEST(DecimalSeparator, FollowsTheFilesOwnNumbers) {
    struct Case {
        QStringList samples;
        char user;
        char expected;
    };
    const Case cases[] = {
        {{QStringLiteral("54,91 €"), QStringLiteral("3,5")}, '.', ','},
        {{QStringLiteral("$54.91"), QStringLiteral("1,234")}, ',', '.'},
        {{QStringLiteral("1.234,56")}, '.', ','},
        {{QStringLiteral("1,234,567")}, ',', '.'},
        {{QStringLiteral("12"), QStringLiteral("1,234")}, ',', ','}, // nothing tells: the user's
        {{}, '.', '.'},
    };
    for (const Case& c : cases)
        EXPECT_EQ(detectDecimalSeparator(c.samples, QLatin1Char(c.user)), QLatin1Char(c.expected))
            << c.samples.join(QLatin1Char(' ')).toStdString();
}

TEST(ReadYear, TakesTheFirstOfJoinedYearsAndKeepsTheText) {
    struct Case {
        const char* text;
        Reading reading;
        std::int64_t year;
        bool keepText;
    };
    const Case cases[] = {
        {"1885", Reading::Read, 1885, false},   {"1885; 1886", Reading::Read, 1885, true},
        {"1885/86", Reading::Read, 1885, true}, {"1885-1890", Reading::Read, 1885, true},
        {"c. 1885", Reading::Words, 0, false},  {"18.85.1", Reading::Malformed, 0, false},
        {"", Reading::Blank, 0, false},
    };
    for (const Case& c : cases) {
        const Read<std::int64_t> r = readYear(QString::fromUtf8(c.text));
        EXPECT_STREQ(readingName(r.reading), readingName(c.reading)) << c.text;
        EXPECT_EQ(r.keepText, c.keepText) << c.text;
        if (c.reading == Reading::Read) {
            EXPECT_EQ(r.value, c.year) << c.text;
        }
    }
}

TEST(ReadFlag, KnowsTheCommonSpellings) {
    for (const char* yes : {"yes", "Yes", "TRUE", "1", "x", "X", "y"})
        EXPECT_TRUE(readFlag(QLatin1String(yes)).reading == Reading::Read &&
                    readFlag(QLatin1String(yes)).value)
            << yes;
    for (const char* no : {"no", "False", "0", "n"})
        EXPECT_TRUE(readFlag(QLatin1String(no)).reading == Reading::Read &&
                    !readFlag(QLatin1String(no)).value)
            << no;
    EXPECT_EQ(readFlag(QString()).reading, Reading::Blank);
    EXPECT_EQ(readFlag(QStringLiteral("lightly")).reading, Reading::Words);
}

TEST(ReadDate, TakesIsoAndTheUsersOwnAndRefusesImpossibleDays) {
    const regional::Regional us(QLocale(QLocale::English, QLocale::UnitedStates));
    const regional::Regional de(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(readDate(QStringLiteral("2005-03-12"), us).value, QDate(2005, 3, 12));
    EXPECT_EQ(readDate(QStringLiteral("2005-03-12T10:00:00"), us).value, QDate(2005, 3, 12));
    EXPECT_EQ(readDate(QStringLiteral("3/4/2020"), us).value, QDate(2020, 3, 4));
    EXPECT_EQ(readDate(QStringLiteral("3.4.2020"), de).value, QDate(2020, 4, 3));
    EXPECT_EQ(readDate(QStringLiteral("2021-02-30"), us).reading, Reading::Malformed);
    EXPECT_EQ(readDate(QStringLiteral("31/31/2020"), us).reading, Reading::Malformed);
    EXPECT_EQ(readDate(QStringLiteral("spring 1990"), us).reading, Reading::Words);
    EXPECT_EQ(readDate(QStringLiteral(" "), us).reading, Reading::Blank);
}

TEST(PlainAmount, KeepsItsDecimalsAndAtLeastTwo) {
    EXPECT_EQ(plainAmount(Currency::fromRaw(549100)), QStringLiteral("54.91"));
    EXPECT_EQ(plainAmount(Currency::fromRaw(1235)), QStringLiteral("0.1235"));
    EXPECT_EQ(plainAmount(Currency::fromRaw(-30000)), QStringLiteral("-3.00"));
    EXPECT_EQ(plainAmount(Currency::fromRaw(std::numeric_limits<std::int64_t>::min())),
              QStringLiteral("-922337203685477.5808"));
}
