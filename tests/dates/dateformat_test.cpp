#include "dates_support.h"

using perlinex::FormatDate;

TEST(DateFormat, LearnsOrderFromShortDateAndComposesTextTheDateTestReadsBack) {
    const struct {
        QLocale locale;
        const char *order, *separator, *composed; // 30 May 1998
    } cases[] = {
        {QLocale(QLocale::English, QLocale::UnitedStates), "mdy", "/", "5 30 1998"},
        {QLocale(QLocale::English, QLocale::UnitedKingdom), "dmy", "/", "30 5 1998"},
        {QLocale(QLocale::German, QLocale::Germany), "dmy", ".", "30 5 1998"},
        {QLocale(QLocale::Swedish, QLocale::Sweden), "ymd", "-", "1998 5 30"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale.name().toStdString());
        DatesProgram p(c.locale);
        EXPECT_EQ(p.program.DateOrder, QString::fromLatin1(c.order));
        EXPECT_EQ(p.program.DateSep, QString::fromLatin1(c.separator));
        EXPECT_EQ(FormatDate(p.program, 5, 30, 1998), QString::fromLatin1(c.composed));
        const auto& regional = p.program.regional;
        EXPECT_EQ(regional.toDate(FormatDate(p.program, 5, 30, 1998)), QDate(1998, 5, 30));
        EXPECT_EQ(regional.toDate(FormatDate(p.program, 2, 3, 104)), QDate(104, 2, 3));
        EXPECT_FALSE(regional.isDate(FormatDate(p.program, 4, 31, 2001)));
    }
    DatesProgram p;
    p.program.DateOrder = QStringLiteral("ydm");
    EXPECT_EQ(FormatDate(p.program, 5, 30, 1998), QStringLiteral("1998 30 5"));
    p.program.DateOrder = QStringLiteral("dym"); // unknown: month first
    EXPECT_EQ(FormatDate(p.program, 5, 30, 1998), QStringLiteral("5 30 1998"));
}
