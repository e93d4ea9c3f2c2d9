#include "db/database.h"
#include "db/dberror.h"
#include "db/dialect.h"
#include "db/recordset.h"
#include "db/sqlite/sqlitefile.h"
#include "db/textcompare.h"

#include <gtest/gtest.h>
#include <utility>
#include <vector>

using namespace perlinex::db;

TEST(Dialect, TranslatesLiteralsNamesAndDates) {
    EXPECT_EQ(translateSql(QStringLiteral("Select * from stamp order by [descr]")),
              QStringLiteral("Select * from stamp order by \"descr\""));
    EXPECT_EQ(translateSql(QStringLiteral("descr like \"*penny*\"")),
              QStringLiteral("descr like '*penny*'"));
    // A double-quoted literal may hold single quotes and doubled double quotes.
    EXPECT_EQ(translateSql(QStringLiteral("descr = \"O'Brien \"\"Jr\"\"\"")),
              QStringLiteral("descr = 'O''Brien \"Jr\"'"));
    EXPECT_EQ(translateSql(QStringLiteral("issued >= #1/1/1990#")),
              QStringLiteral("issued >= '1990-01-01'"));
    EXPECT_EQ(translateSql(QStringLiteral("issued <= #12/31/1999#")),
              QStringLiteral("issued <= '1999-12-31'"));
    EXPECT_EQ(translateSql(QStringLiteral("d = #3/1/2001 2:05:00 PM#")),
              QStringLiteral("d = '2001-03-01 14:05:00'"));
    EXPECT_EQ(translateSql(QStringLiteral("t >= #10:30#")), QStringLiteral("t >= '10:30:00'"));
    // Wildcards and # inside text stay as they are: the like function reads them.
    EXPECT_EQ(translateSql(QStringLiteral("catnum like '#*'")), QStringLiteral("catnum like '#*'"));
}

TEST(Dialect, RefusesMalformedTexts) {
    for (const char* bad : {"descr = 'open", "descr = \"open", "issued = #2/30/1999#",
                            "issued = #1/1/1990", "x = [open"}) {
        try {
            translateSql(QString::fromLatin1(bad));
            ADD_FAILURE() << bad;
        } catch (const DbError& e) {
            EXPECT_EQ(e.number(), err::SyntaxError) << bad;
        }
    }
}

TEST(Dialect, QuotingHelpersMakeTypedTextLiteral) {
    EXPECT_EQ(quoteText(QStringLiteral("O'Brien")), QStringLiteral("'O''Brien'"));
    EXPECT_EQ(escapeLike(QStringLiteral("50*?#[x]")), QStringLiteral("50[*][?][#][[]x]"));
    EXPECT_TRUE(likeMatch(QStringLiteral("50*?#[x]"), escapeLike(QStringLiteral("50*?#[x]"))));
    EXPECT_FALSE(likeMatch(QStringLiteral("500"), escapeLike(QStringLiteral("50*"))));
    EXPECT_EQ(dateLiteral(QDate(1990, 1, 3)), QStringLiteral("#1/3/1990#"));
    EXPECT_EQ(translateSql(dateLiteral(QDate(1990, 1, 3))), QStringLiteral("'1990-01-03'"));
}

TEST(LikeMatch, DesktopEngineWildcards) {
    struct Case {
        const char* value;
        const char* pattern;
        bool match;
    } cases[] = {
        {"Germany", "ger*", true},
        {"Algeria", "ger*", false},
        {"Penny Black", "*penny*", true},
        {"penny", "*penny*", true},
        {"", "*", true},
        {"abc", "a?c", true},
        {"ac", "a?c", false},
        {"SG 12a", "SG ##?", true},
        {"SG 1x2", "SG ##?", false},
        {"b", "[abc]", true},
        {"d", "[abc]", false},
        {"d", "[!abc]", true},
        {"m", "[a-z]", true},
        {"5", "[a-z]", false},
        {"a*b", "a[*]b", true},
        {"axb", "a[*]b", false},
        {"50%", "50%", true},
        {"500", "50%", false}, // % and _ are plain characters
        {"a_c", "a_c", true},
        {"abc", "a_c", false},
        {"aaa", "*a*a*a*", true},
        {"aa", "*a*a*a*", false},
        {"mississippi", "*sip*", true},
        {"abc", "abc*", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(likeMatch(QString::fromUtf8(c.value), QString::fromUtf8(c.pattern)), c.match)
            << c.value << " like " << c.pattern;
}

TEST(LikeMatch, IgnoresCaseOfEveryAlphabet) {
    EXPECT_TRUE(likeMatch(QStringLiteral("Österreich"), QStringLiteral("ö*")));
    EXPECT_TRUE(likeMatch(QStringLiteral("österreich"), QStringLiteral("Ö*")));
    EXPECT_TRUE(likeMatch(QStringLiteral("ΕΛΛΆΣ"), QStringLiteral("ελλάσ")));
    EXPECT_FALSE(likeMatch(QStringLiteral("Osterreich"), QStringLiteral("ö*")));
}

TEST(CompareText, OrdersWithoutRegardToCaseAndKeepsAccentsNear) {
    EXPECT_LT(compareText(QStringLiteral("apple"), QStringLiteral("Banana")), 0);
    EXPECT_LT(compareText(QStringLiteral("Banana"), QStringLiteral("cherry")), 0);
    EXPECT_EQ(compareText(QStringLiteral("GERMANY"), QStringLiteral("germany")), 0);
    EXPECT_EQ(compareText(QStringLiteral("Ärger"), QStringLiteral("äRGER")), 0);
    // Accented letters sort with their plain ones, yet are not equal to them.
    EXPECT_LT(compareText(QStringLiteral("Österreich"), QStringLiteral("Peru")), 0);
    EXPECT_GT(compareText(QStringLiteral("Österreich"), QStringLiteral("Oman")), 0);
    EXPECT_NE(compareText(QStringLiteral("Osterreich"), QStringLiteral("Österreich")), 0);
}

TEST(CompareText, TheEnginesCollationOrdersEveryPairAsCompareTextDoes) {
    auto db = createDatabaseInMemory();
    const auto sign = [](int n) { return (n > 0) - (n < 0); };
    // Plain letters decided byte by byte, and every way a text leaves them before the two
    // differ: a letter of another alphabet, a combining mark, a sign that folds to a plain
    // letter, a rest the longer text has.
    const std::vector<std::pair<const char*, const char*>> pairs = {
        {"abc", "abd"},
        {"ABC", "abc"},
        {"ab", "abc"},
        {"a_b", "aZb"},
        {"abc", "ab\u0301c"},
        {"abc", "abc\u0301"},
        {"abd", "abc\u0301"},
        {"zz", "\u00c4a"},
        {"Kelvin", "\u212aelvin"},
        {"strasse", "stra\u00dfe"},
        {"Oman", "\u00d6sterreich"},
        {"\u00d6sterreich", "\u00d6sterreich"},
        {"Peru", "\u00d6sterreich"},
        {"", "a"},
        {"", ""},
    };
    for (const auto& [a, b] : pairs)
        for (const bool swap : {false, true}) {
            const QString x = QString::fromUtf8(swap ? b : a);
            const QString y = QString::fromUtf8(swap ? a : b);
            auto rs = db->openRecordSet(
                QStringLiteral("select case when %1 = %2 collate TEXTCI then 0 when %1 < %2 "
                               "collate TEXTCI then -1 else 1 end as c")
                    .arg(quoteText(x), quoteText(y)),
                RecordSetKind::Snapshot);
            EXPECT_EQ(rs->field(QStringLiteral("c")).toInteger(), sign(compareText(x, y)))
                << x.toStdString() << " / " << y.toStdString();
            // The sort key a server orders by: by code point, as compareText orders.
            EXPECT_EQ(sign(sortKey(x).compare(sortKey(y))), sign(compareText(x, y)))
                << "sort keys of " << x.toStdString() << " / " << y.toStdString();
        }
}
