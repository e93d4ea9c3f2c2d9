#include "custom_support.h"

#include "custom/layoutfile.h"

#include <gtest/gtest.h>

using namespace perlinex::custom;

namespace {

// Four fields with a gap where identifier 3 would be, and one of another main table.
FieldCatalogue smallCatalogue(bool withFace = true) {
    QList<SpecRow> rows{{1, "Description", "stamp", "descr", "stamp", "", 1, 2.5f, false, false},
                        {4, "Used", "stamp", "used", "stamp", "", 4, 0.6f, false, false},
                        {5, "Issue Date", "stamp", "issued", "stamp", "", 3, 1.0f, false, false},
                        {6, "Album Page", "album", "page", "album", "", 2, 1.0f, false, false}};
    if (withFace)
        rows << SpecRow{2, "Face Value", "stamp", "face", "stamp", "", 2, 0.9f, true, false};
    return FieldCatalogue::fromRows(rows);
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
    l.setting(4).critFalse = true; // not in the report, kept all the same
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

LayoutRead read(const QByteArray& bytes, bool withFace = true) {
    return readLayout(bytes, smallCatalogue(withFace), "stamp");
}
LayoutRead read(const QStringList& lines) {
    return read(crlf(lines).toUtf8());
}

} // namespace

TEST(LayoutFile, WritesEveryLineAsTheFormatSaysAndReadsItBack) {
    EXPECT_EQ(QString::fromUtf8(writeLayout(sampleLayout())), crlf(SampleLines));
    const LayoutRead back = read(writeLayout(sampleLayout()));
    ASSERT_TRUE(back.layout) << back.problem.toStdString();
    EXPECT_EQ(*back.layout, sampleLayout());
    // Times are fractions of a day; no exponent however small.
    EXPECT_EQ(serialText(QDateTime(QDate(1899, 12, 30), QTime(18, 0))), "0.75");
    EXPECT_EQ(serialText(QDateTime(QDate(1899, 12, 30), QTime(0, 0, 1))), "0.0000115740740740741");
}

TEST(LayoutFile, EveryShippedFieldAndSettingSurvivesARoundTrip) {
    Layout l = layoutOf({spec::Country, spec::Year, spec::IssueDate, spec::Used, spec::Notes});
    for (int k = 1; k <= l.maxSpecId(); ++k) {
        FieldSettings& s = l.setting(k);
        s = {k % 5 == 0,
             k % 7 == 0,
             QStringLiteral("x;\\;%1\\").arg(k),
             QDateTime(QDate(1800 + k, k % 12 + 1, k % 28 + 1), QTime(0, 0)),
             QDateTime(QDate(1899, 12, 30), QTime(k % 24, 30, 15)),
             QString::number(k),
             QString::number(-k),
             float(k) / 4,
             k % 3 == 0,
             k % 4 == 0,
             s.isCurrency};
    }
    l.sort = {sortPosition(spec::Type), 0};
    const LayoutRead back = readLayout(writeLayout(l), shippedCatalogue(), "stamp");
    ASSERT_TRUE(back.layout) << back.problem.toStdString();
    EXPECT_EQ(*back.layout, l);
}

TEST(LayoutFile, ReadsOtherLineEndingsAndOlderFiles) {
    QStringList spaced = SampleLines;
    spaced[0] = "STAMP";
    spaced[2] = " 3 ";
    const QByteArray plain = crlf(SampleLines).toUtf8();
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"LF", (SampleLines.join("\n") + "\n").toUtf8()},
        {"CR, no ending on the last line", SampleLines.join("\r").toUtf8()},
        {"byte-order mark", "\xEF\xBB\xBF" + plain},
        {"lines after the 22nd", plain + "more\r\nand more\r\n"},
        {"spaces around whole numbers, main table in capitals", crlf(spaced).toUtf8()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const LayoutRead back = read(c.bytes);
        ASSERT_TRUE(back.layout) << back.problem.toStdString();
        EXPECT_EQ(*back.layout, sampleLayout());
    }
    // Before the escape, and in an 8-bit code page: a backslash stands for itself.
    QStringList older = SampleLines;
    older[13] = "C:\\dir;;;;";
    const LayoutRead back = read(crlf(older).toUtf8().replace("My; report", "Br\xFC"
                                                                            "ssel"));
    ASSERT_TRUE(back.layout);
    EXPECT_EQ(back.layout->setting(1).startsWith, "C:\\dir");
    EXPECT_EQ(back.layout->title, QString::fromUtf8("Brüssel"));
}

TEST(LayoutFile, SkipsFieldsNoLongerOfferedAndLeavesShortListsAtTheirDefaults) {
    QStringList lines = SampleLines;
    lines[10] = "9;2;2;3;1;-4;1.5"; // unknown, repeated, never offered, not whole
    lines[18] = "3";
    lines[11] = "";
    LayoutRead back = read(lines);
    ASSERT_TRUE(back.layout) << back.problem.toStdString();
    EXPECT_EQ(back.layout->fields, (QList<int>{2, 1}));
    EXPECT_EQ(back.layout->setting(1).colWidth, 3.0f);
    EXPECT_EQ(back.layout->setting(2).colWidth, 0.9f); // the catalogue's default

    // A field taken out of the catalogue: gone from the report, its settings kept.
    back = read(writeLayout(sampleLayout()), false);
    ASSERT_TRUE(back.layout) << back.problem.toStdString();
    EXPECT_EQ(back.layout->fields, QList<int>{1});
    EXPECT_EQ(back.layout->setting(2).lessThan, "$1,000.00");

    lines[10] = "";
    back = read(lines);
    ASSERT_TRUE(back.layout);
    EXPECT_TRUE(back.layout->fields.isEmpty());
}

TEST(LayoutFile, RefusesEveryInvalidFile) {
    const struct {
        int line; // 0 drops the last line
        const char* text;
    } cases[] = {
        {0, nullptr},
        {1, "album2"},
        {1, "stampstampstampstampX"},
        {3, "0"},
        {3, "4"},
        {3, "1.0"},
        {4, "2"},
        {5, "-1"},
        {6, "3"},
        {7, "x"},
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
    for (const auto& c : cases) {
        SCOPED_TRACE(QStringLiteral("line %1: %2").arg(c.line).arg(c.text).toStdString());
        QStringList lines = SampleLines;
        if (c.line == 0)
            lines.removeLast();
        else
            lines[c.line - 1] = c.text;
        const LayoutRead back = read(lines);
        EXPECT_FALSE(back.layout);
        EXPECT_EQ(back.line, c.line == 0 ? 22 : c.line) << back.problem.toStdString();
    }
}

TEST(LayoutFile, SemicolonsAndBackslashesInTextsSurviveASaveAndReopen) {
    Layout l = sampleLayout();
    for (const QString text : {"a;b", ";", "\\", "\\;", "x\\", ";;\\\\;", "end;"}) {
        l.setting(1).startsWith = l.setting(2).greaterThan = text;
        const LayoutRead back = read(writeLayout(l));
        ASSERT_TRUE(back.layout) << text.toStdString();
        EXPECT_EQ(*back.layout, l) << text.toStdString();
    }
}
