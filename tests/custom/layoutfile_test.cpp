#include "custom_support.h"

#include "custom/layoutfile.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace perlinex::custom;

namespace {

// Four fields with a gap where identifier 3 would be: layouts still keep its settings.
FieldCatalogue smallCatalogue() {
    SpecRow description{1, "Description", "stamp", "descr", "stamp", "", 1, 2.5f, false, false};
    SpecRow face{2, "Face Value", "stamp", "face", "stamp", "", 2, 0.9f, true, false};
    SpecRow used{4, "Used", "stamp", "used", "stamp", "", 4, 0.6f, false, false};
    SpecRow issued{5, "Issue Date", "stamp", "issued", "stamp", "", 3, 1.0f, false, false};
    SpecRow other{6, "Album Page", "album", "page", "album", "", 2, 1.0f, false, false};
    return FieldCatalogue::fromRows({description, face, used, issued, other});
}

Layout sampleLayout() {
    Layout l = Layout::defaults(smallCatalogue().offeredFor("stamp"), "stamp");
    l.title = "My; report";
    l.target = Target::WebTable;
    l.orientation = Orientation::Landscape;
    l.showDate = false;
    l.pageNumbers = PageNumbers::InHeader;
    l.unit = WidthUnit::Centimetres;
    l.sort = {0, -1};
    l.fields = {2, 1};
    l.setting(1).startsWith = "a;b\\c";
    l.setting(2).lessThan = "$1,000.00";
    l.setting(2).greaterThan = "5";
    l.setting(2).showTotal = true;
    // Settings of fields that are not in the report are kept too.
    l.setting(4).critFalse = true;
    l.setting(5).rangeFrom = QDateTime(QDate(2001, 3, 1), QTime(0, 0));
    l.setting(5).rangeTo = QDateTime(QDate(2001, 3, 31), QTime(0, 0));
    return l;
}

const QStringList SampleLines = {"stamp",
                                 "My; report",
                                 "3",
                                 "1",
                                 "0",
                                 "1",
                                 "1",
                                 " 0 ",
                                 "-1 ",
                                 "2",
                                 "2;1",
                                 "0;0;0;0;0",
                                 "0;0;0;1;0",
                                 "a\\;b\\\\c;;;;",
                                 "0;0;0;0;36951",
                                 "0;0;0;0;36981",
                                 ";$1,000.00;;;",
                                 ";5;;;",
                                 "2.5;0.9;1;0.6;1",
                                 "0;0;0;0;0",
                                 "0;1;0;0;0",
                                 "0;1;0;0;0"};

LayoutRead readLines(const QStringList& lines, const QString& ending = "\r\n") {
    return readLayout((lines.join(ending) + ending).toUtf8(), smallCatalogue(), "stamp");
}

} // namespace

TEST(LayoutFile, WritesEveryLineAsTheFormatSays) {
    EXPECT_EQ(QString::fromUtf8(writeLayout(sampleLayout())), crlf(SampleLines));
}

TEST(LayoutFile, ReadsBackWhatItWrote) {
    const LayoutRead read = readLayout(writeLayout(sampleLayout()), smallCatalogue(), "stamp");
    ASSERT_TRUE(read.layout) << read.problem.toStdString();
    EXPECT_EQ(*read.layout, sampleLayout());
}

TEST(LayoutFile, EveryShippedFieldAndSettingSurvivesARoundTrip) {
    const FieldCatalogue offered = shippedCatalogue().offeredFor("stamp");
    Layout l = layoutOf({spec::Country, spec::Year, spec::IssueDate, spec::Used, spec::Notes});
    int k = 0;
    for (const SpecRow& row : offered.rows()) {
        FieldSettings& s = l.setting(row.specid);
        ++k;
        s.colWidth = float(k) / 4;
        s.hideField = k % 3 == 0;
        s.showTotal = k % 4 == 0;
        s.critTrue = k % 5 == 0;
        s.critFalse = k % 7 == 0;
        s.startsWith = QStringLiteral("x;\\;%1\\").arg(k);
        s.lessThan = QString::number(k);
        s.rangeFrom = QDateTime(QDate(1800 + k, k % 12 + 1, k % 28 + 1), QTime(0, 0));
        s.rangeTo = QDateTime(QDate(1899, 12, 30), QTime(k % 24, 30, 15));
    }
    l.sort = {sortPosition(spec::Type), 0};
    const LayoutRead read = readLayout(writeLayout(l), shippedCatalogue(), "stamp");
    ASSERT_TRUE(read.layout) << read.problem.toStdString();
    EXPECT_EQ(*read.layout, l);
}

TEST(LayoutFile, SerialNumbersAndWidthsArePlainDecimals) {
    EXPECT_EQ(serialText(QDateTime()), "0");
    EXPECT_EQ(serialText(QDateTime(QDate(2001, 3, 1), QTime(0, 0))), "36951");
    EXPECT_EQ(serialText(QDateTime(QDate(1899, 12, 30), QTime(18, 0))), "0.75");
    EXPECT_EQ(serialText(QDateTime(QDate(1899, 12, 30), QTime(0, 0, 1))), "0.0000115740740740741");
    EXPECT_EQ(widthText(2.5f), "2.5");
    EXPECT_EQ(widthText(1.2f), "1.2");
    EXPECT_EQ(widthText(0), "0");
}

TEST(LayoutFile, ReadsOtherLineEndingsAndTheLenientForms) {
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    const QByteArray plain = crlf(SampleLines).toUtf8();
    QStringList spaced = SampleLines;
    spaced[2] = " 3 ";
    spaced[0] = "STAMP";
    const Case cases[] = {
        {"LF", (SampleLines.join("\n") + "\n").toUtf8()},
        {"CR", (SampleLines.join("\r")).toUtf8()},
        {"byte-order mark", "\xEF\xBB\xBF" + plain},
        {"lines after the 22nd", plain + "more\r\nand more\r\n"},
        {"spaces around whole numbers, main table in capitals", crlf(spaced).toUtf8()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const LayoutRead read = readLayout(c.bytes, smallCatalogue(), "stamp");
        ASSERT_TRUE(read.layout) << read.problem.toStdString();
        EXPECT_EQ(*read.layout, sampleLayout());
    }
}

TEST(LayoutFile, AnOlderFileReadsAsItAlwaysDid) {
    QStringList lines = SampleLines;
    lines[13] = "C:\\dir;;;;";
    QByteArray bytes = crlf(lines).toUtf8();
    bytes.replace("My; report", "Br\xFC"
                                "ssel"); // an 8-bit code page, not UTF-8
    const LayoutRead read = readLayout(bytes, smallCatalogue(), "stamp");
    ASSERT_TRUE(read.layout) << read.problem.toStdString();
    EXPECT_EQ(read.layout->setting(1).startsWith, "C:\\dir");
    EXPECT_EQ(read.layout->title, QString::fromUtf8("Brüssel"));
}

TEST(LayoutFile, ShortListsLeaveDefaultsAndTheFieldListIsForgiving) {
    QStringList lines = SampleLines;
    lines[10] = "9;2;2;3;1;-4;1.5"; // unknown, repeated, not offered, not a whole number
    lines[18] = "3";
    lines[11] = "";
    const LayoutRead read = readLines(lines);
    ASSERT_TRUE(read.layout) << read.problem.toStdString();
    EXPECT_EQ(read.layout->fields, (QList<int>{2, 1}));
    EXPECT_EQ(read.layout->setting(1).colWidth, 3.0f);
    EXPECT_EQ(read.layout->setting(2).colWidth, 0.9f); // the catalogue's default
    EXPECT_FALSE(read.layout->setting(1).critTrue);

    lines[10] = "";
    const LayoutRead empty = readLines(lines);
    ASSERT_TRUE(empty.layout);
    EXPECT_TRUE(empty.layout->fields.isEmpty());
}

TEST(LayoutFile, AFieldNoLongerOfferedIsSkippedButKeepsItsSettings) {
    const FieldCatalogue full = smallCatalogue();
    QList<SpecRow> rows;
    for (const SpecRow& r : full.rows())
        if (r.specid != 2)
            rows << r;
    const LayoutRead read =
        readLayout(writeLayout(sampleLayout()), FieldCatalogue::fromRows(rows), "stamp");
    ASSERT_TRUE(read.layout) << read.problem.toStdString();
    EXPECT_EQ(read.layout->fields, QList<int>{1});
    EXPECT_EQ(read.layout->setting(2).lessThan, "$1,000.00");
}

TEST(LayoutFile, AnotherMainTableOfTheCatalogueIsTakenUp) {
    Layout album = Layout::defaults(smallCatalogue().offeredFor("album"), "album");
    album.fields = {6};
    const LayoutRead read = readLayout(writeLayout(album), smallCatalogue(), "stamp");
    ASSERT_TRUE(read.layout) << read.problem.toStdString();
    EXPECT_EQ(read.layout->useWith, "album");
    EXPECT_EQ(read.layout->fields, QList<int>{6});
}

TEST(LayoutFile, RefusesEveryInvalidFile) {
    struct Case {
        int line; // 1-based; 0 drops the last line
        const char* text;
    };
    const Case cases[] = {
        {0, nullptr},
        {1, "album2"},
        {1, "stampstampstampstampX"},
        {3, "0"},
        {3, "4"},
        {3, "1.0"},
        {3, "x"},
        {4, "2"},
        {5, "-1"},
        {6, "3"},
        {7, "2"},
        {8, " 4 "},
        {9, "-2 "},
        {10, "two"},
        {11, "2;x"},
        {12, "0;0;0;0;-1"},
        {13, "0;0;2;0;0"},
        {20, "0;0;0;0;yes"},
        {21, "0;0;0;0;0;0"},
        {14, "a;b;c;d;e;f"},
        {15, "0;0;0;0;-700000"},
        {16, "0;0;0;0;3000000"},
        {16, "0;0;0;0;1/3/2001"},
        {19, "1;1;1;1;-1"},
        {19, "1;1;1;1,5;1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("line %1: %2").arg(c.line).arg(c.text).toStdString());
        QStringList lines = SampleLines;
        if (c.line == 0)
            lines.removeLast();
        else
            lines[c.line - 1] = c.text;
        const LayoutRead read = readLines(lines);
        EXPECT_FALSE(read.layout);
        EXPECT_EQ(read.line, c.line == 0 ? 22 : c.line) << read.problem.toStdString();
    }
}

TEST(LayoutFile, ASemicolonInATextSurvivesASaveAndReopen) {
    Layout l = sampleLayout();
    for (const QString text : {"a;b", ";", "\\", "\\;", "x\\", ";;\\\\;", "end;"}) {
        l.setting(1).startsWith = text;
        l.setting(2).greaterThan = text;
        const LayoutRead read = readLayout(writeLayout(l), smallCatalogue(), "stamp");
        ASSERT_TRUE(read.layout) << text.toStdString();
        EXPECT_EQ(read.layout->setting(1).startsWith, text);
        EXPECT_EQ(read.layout->setting(2).greaterThan, text);
        EXPECT_EQ(read.layout->setting(4).critFalse, true);
    }
}
