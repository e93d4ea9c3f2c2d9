#include "reports/tabletext.h"

#include "support/wait.h"

using namespace perlinex::reports;

TEST(TableText, FormatSectionReadsWidthsAndAlignment) {
    const TableFormat f = TableFormat::parse(u"2160|1400|>1400|^900|<700;");
    ASSERT_EQ(f.columnCount(), 5);
    const QList<Column> want = {{2160, Align::Left},
                                {1400, Align::Left},
                                {1400, Align::Right},
                                {900, Align::Center},
                                {700, Align::Left}};
    EXPECT_EQ(f.columns(), want);
    EXPECT_EQ(f.width(), 2160 + 1400 + 1400 + 900 + 700);
    EXPECT_EQ(f.toText(), QStringLiteral("2160|1400|>1400|^900|700;"));
    EXPECT_EQ(TableFormat::parse(f.toText()), f);
}

TEST(TableText, FormatEntryWithoutReadableWidthGetsHalfAnInch) {
    const TableFormat f = TableFormat::parse(u">|abc| 300 ");
    ASSERT_EQ(f.columnCount(), 3);
    EXPECT_EQ(f.columns()[0], (Column{TableFormat::DefaultWidth, Align::Right}));
    EXPECT_EQ(f.columns()[1].width, TableFormat::DefaultWidth);
    EXPECT_EQ(f.columns()[2].width, 300);
    EXPECT_TRUE(TableFormat::parse(u"").isEmpty());
}

TEST(TableText, RowsAndSections) {
    struct Case {
        const char16_t* text;
        int columns;
        QList<QStringList> rows;
    };
    const Case cases[] = {
        {u"2880|1440|>1400;Penny Black|SG 1|$5.00;", 3, {{"Penny Black", "SG 1", "$5.00"}}},
        {u"720|720;a|b;c|d;", 2, {{"a", "b"}, {"c", "d"}}},
        // The last section end may be missing.
        {u"720|720;a|b;c|d", 2, {{"a", "b"}, {"c", "d"}}},
        // Empty cells keep their places: the want list total stands under the last column.
        {u"720|720|720;||$1.50;", 3, {{"", "", "$1.50"}}},
        // An empty section between two ends is an empty row.
        {u"720;a;;b;", 1, {{"a"}, {""}, {"b"}}},
        {u"720|720;", 2, {}},
        {u"720|720", 2, {}},
    };
    for (const Case& c : cases) {
        const TableText t = parseTableText(c.text);
        SCOPED_TRACE(QString::fromUtf16(c.text).toStdString());
        EXPECT_EQ(t.format.columnCount(), c.columns);
        EXPECT_EQ(t.rows, c.rows);
    }
}

TEST(TableText, TotalsLineCarriesItsOwnFormatMergingColumns) {
    const TableText rows =
        parseTableText(u"2160|1400|>1400|>1400|>1400|>1400|>1400;a|b|1|2|3|4|5;");
    const TableText totals = parseTableText(u"3560|>1400|>2800|>2800;Totals|3|$4.50|$6.00;");
    EXPECT_EQ(totals.format.width(), rows.format.width());
    EXPECT_EQ(totals.format.columns()[0].width,
              rows.format.columns()[0].width + rows.format.columns()[1].width);
    EXPECT_EQ(totals.rows, (QList<QStringList>{{"Totals", "3", "$4.50", "$6.00"}}));
}
