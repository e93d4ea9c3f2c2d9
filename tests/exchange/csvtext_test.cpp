#include "exchange/csvtext.h"

#include <gtest/gtest.h>

using namespace perlinex::exchange;

namespace {

struct ParseCase {
    const char* name;
    const char* text;
    char delimiter;
    // Records as "line:cell|cell|..."; the last entry may be "unclosed:N".
    std::vector<const char*> expected;
};

const ParseCase kParseCases[] = {
    {"Plain", "a,b,c\r\n1,2,3\r\n", ',', {"1:a|b|c", "2:1|2|3"}},
    {"QuotedDelimiterAndQuote", "a,\"b, \"\"c\"\"\",d\n", ',', {"1:a|b, \"c\"|d"}},
    {"EmbeddedLineBreaksCountLines",
     "descr,notes\r\nPenny,\"first\r\nsecond\nthird\"\r\nRed,x\r\n",
     ',',
     {"1:descr|notes", "2:Penny|first\r\nsecond\nthird", "5:Red|x"}},
    {"BlankLinesPassedOver", "a\n\n\nb\n", ',', {"1:a", "4:b"}},
    {"CarriageReturnsAlone", "a;b\rc;d\r", ';', {"1:a|b", "2:c|d"}},
    {"EmptyCellsKept", "a,,\n,b,\n", ',', {"1:a||", "2:|b|"}},
    {"NoLineEndAtTheEnd", "a\tb", '\t', {"1:a|b"}},
    {"UnclosedQuoteStopsThere", "a,b\n1,\"open\n2,3\n", ',', {"1:a|b", "unclosed:2"}},
};

class CsvParse_ : public ::testing::TestWithParam<ParseCase> {};

} // namespace

TEST_P(CsvParse_, ReadsRecordsWithTheirLines) {
    const ParseCase& c = GetParam();
    const CsvParse parsed = parseCsv(QString::fromUtf8(c.text), QLatin1Char(c.delimiter));
    QStringList got;
    for (const CsvRecord& r : parsed.records)
        got << QStringLiteral("%1:%2").arg(r.line).arg(r.cells.join(QLatin1Char('|')));
    if (parsed.unclosedQuoteLine)
        got << QStringLiteral("unclosed:%1").arg(*parsed.unclosedQuoteLine);
    QStringList expected;
    for (const char* e : c.expected)
        expected << QString::fromUtf8(e);
    EXPECT_EQ(got, expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, CsvParse_, ::testing::ValuesIn(kParseCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CsvEncoding, IsDetectedAndDecodedWhole) {
    struct Case {
        QByteArray bytes;
        TextEncoding encoding;
        QString text;
    };
    const Case cases[] = {
        {QByteArray("\xEF\xBB\xBF\xC3\x85land,1"), TextEncoding::Utf8, QStringLiteral("Åland,1")},
        {QByteArray("\xC3\x85land,1"), TextEncoding::Utf8, QStringLiteral("Åland,1")},
        {QByteArray("\xFF\xFE\xC5\x00l\x00", 6), TextEncoding::Utf16, QStringLiteral("Ål")},
        {QByteArray("\xFE\xFF\x00\xC5\x00l", 6), TextEncoding::Utf16, QStringLiteral("Ål")},
        {QByteArray("\xC5land;\x80 5"), TextEncoding::Windows1252, QStringLiteral("Åland;€ 5")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(detectEncoding(c.bytes), c.encoding) << c.bytes.toHex().constData();
        EXPECT_EQ(decodeText(c.bytes, c.encoding), c.text) << c.bytes.toHex().constData();
    }
}

TEST(CsvDelimiter, IsTheOneTheHeaderUsesMostOutsideQuotes) {
    EXPECT_EQ(detectDelimiter(QStringLiteral("a,b,c\n1;2;3;4;5")), QLatin1Char(','));
    EXPECT_EQ(detectDelimiter(QStringLiteral("Beschreibung;Preis;\"a,b,c\"\n")), QLatin1Char(';'));
    EXPECT_EQ(detectDelimiter(QStringLiteral("a\tb\tc, d")), QLatin1Char('\t'));
    EXPECT_EQ(detectDelimiter(QStringLiteral("descr")), QLatin1Char(','));
}

TEST(CsvWriting, ValuesComeBackAsTheyWereWritten) {
    const QStringList values{QStringLiteral("plain"),
                             QStringLiteral("with, comma"),
                             QStringLiteral("\"quoted\""),
                             QStringLiteral("two\r\nlines"),
                             QString(),
                             QStringLiteral("Åland €")};
    QByteArray out;
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (i > 0)
            out.append(',');
        appendCsvValue(out, values[i].toUtf8());
    }
    endCsvRecord(out);
    EXPECT_TRUE(out.endsWith("\r\n"));
    EXPECT_TRUE(out.startsWith("plain,\"with, comma\",\"\"\"quoted\"\"\""));
    const CsvParse parsed = parseCsv(QString::fromUtf8(out), QLatin1Char(','));
    ASSERT_EQ(parsed.records.size(), 1u);
    EXPECT_EQ(parsed.records.front().cells, values);
}
