#include "util/textfields.h"

#include <gtest/gtest.h>
#include <ostream>

using namespace perlinex;

// Readable failure messages.
void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {
const QChar Semi(u';');
}

TEST(CountFields, CountsDelimitersPlusOneExceptForEmptyText) {
    EXPECT_EQ(CountFields(QString(), Semi), 0);
    EXPECT_EQ(CountFields(QStringLiteral(""), Semi), 0);
    EXPECT_EQ(CountFields(QStringLiteral("a"), Semi), 1);
    EXPECT_EQ(CountFields(QStringLiteral("a;b"), Semi), 2);
    EXPECT_EQ(CountFields(QStringLiteral("a;b;"), Semi), 3);
    EXPECT_EQ(CountFields(QStringLiteral(";"), Semi), 2);
    EXPECT_EQ(CountFields(QStringLiteral(";;;"), Semi), 4);
    EXPECT_EQ(CountFields(QStringLiteral("a,b"), Semi), 1) << "other delimiters do not count";
}

TEST(NthField, PicksFieldsByOneBasedPosition) {
    const QString list = QStringLiteral("a;b;c");
    EXPECT_EQ(NthField(list, Semi, 1), QStringLiteral("a"));
    EXPECT_EQ(NthField(list, Semi, 2), QStringLiteral("b"));
    EXPECT_EQ(NthField(list, Semi, 3), QStringLiteral("c"));
    EXPECT_EQ(NthField(list, Semi, 4), QString());
    EXPECT_EQ(NthField(list, Semi, 100), QString());
}

TEST(NthField, EmptyFieldsAndTextsWithoutDelimiter) {
    EXPECT_EQ(NthField(QStringLiteral("a;;b"), Semi, 2), QString());
    EXPECT_EQ(NthField(QStringLiteral("a;;b"), Semi, 3), QStringLiteral("b"));
    EXPECT_EQ(NthField(QStringLiteral("a;b;"), Semi, 3), QString());
    EXPECT_EQ(NthField(QStringLiteral(";x"), Semi, 1), QString());
    EXPECT_EQ(NthField(QStringLiteral("abc"), Semi, 1), QStringLiteral("abc"));
    EXPECT_EQ(NthField(QStringLiteral("abc"), Semi, 2), QString());
    EXPECT_EQ(NthField(QString(), Semi, 1), QString());
}

TEST(NthField, MultiCharacterFieldsKeepTheirText) {
    const QString list = QStringLiteral("Penny Black;Two Penny Blue;Inverted Jenny");
    EXPECT_EQ(NthField(list, Semi, 2), QStringLiteral("Two Penny Blue"));
    EXPECT_EQ(NthField(list, Semi, 3), QStringLiteral("Inverted Jenny"));
}

TEST(ReplaceText, ChangesTheCallersTextAndReturnsIt) {
    QString file = QStringLiteral("stamp.bmp");
    const QString result = ReplaceText(file, QStringLiteral(".bmp"), QStringLiteral(".jpg"));
    EXPECT_EQ(result, QStringLiteral("stamp.jpg"));
    EXPECT_EQ(file, QStringLiteral("stamp.jpg"));
}

TEST(ReplaceText, DoesNotRescanInsertedText) {
    QString text = QStringLiteral("aa");
    EXPECT_EQ(ReplaceText(text, QStringLiteral("a"), QStringLiteral("aa")), QStringLiteral("aaaa"));

    QString shrink = QStringLiteral("aaaa");
    EXPECT_EQ(ReplaceText(shrink, QStringLiteral("aa"), QStringLiteral("a")), QStringLiteral("aa"));
}

TEST(ReplaceText, ReplacesEveryOccurrenceCaseSensitively) {
    QString text = QStringLiteral("x.BMP x.bmp x.bmp");
    EXPECT_EQ(ReplaceText(text, QStringLiteral(".bmp"), QString()), QStringLiteral("x.BMP x x"));

    QString missing = QStringLiteral("stamp.png");
    EXPECT_EQ(ReplaceText(missing, QStringLiteral(".bmp"), QStringLiteral(".jpg")),
              QStringLiteral("stamp.png"));
}

TEST(PadLeft, RightAlignsWithoutEverCutting) {
    EXPECT_EQ(PadLeft(QStringLiteral("12"), 5), QStringLiteral("   12"));
    EXPECT_EQ(PadLeft(QString(), 5), QStringLiteral("     "));
    EXPECT_EQ(PadLeft(QStringLiteral("12345"), 5), QStringLiteral("12345"));
    EXPECT_EQ(PadLeft(QStringLiteral("1234567"), 5), QStringLiteral("1234567"));
    EXPECT_EQ(PadLeft(QStringLiteral("12"), 0), QStringLiteral("12"));
}

TEST(StampCount, OneStampAndEveryOtherNumberOfStamps) {
    EXPECT_EQ(stampCount(1), QStringLiteral("1 stamp"));
    EXPECT_EQ(stampCount(0), QStringLiteral("0 stamps"));
    EXPECT_EQ(stampCount(2), QStringLiteral("2 stamps"));
    EXPECT_EQ(stampCount(1000000), QStringLiteral("1000000 stamps"));
    EXPECT_EQ(countOf(1, QStringLiteral("1 entry"), QStringLiteral("%1 entries")),
              QStringLiteral("1 entry"));
}
