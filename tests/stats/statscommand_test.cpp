#include "stats_support.h"

#include "app/command_support.h"

TEST(StatisticsCommand, PrintsTheWindowsFigures_TabSeparatedOrAsCsv) {
    QTemporaryDir dir;
    makeStatsCollection(dir.filePath(QStringLiteral("stamp.mdb")))->close();
    const QString folder = dir.path();
    const std::vector<std::pair<QStringList, QString>> cases = {
        {{QStringLiteral("--folder"), folder},
         QStringLiteral(
             "Figure\tValue\nStamps in the collection\t5\nQuantity in the collection\t11\n"
             "Total paid\t9.80\nCatalogue value\t28.767\nValue minus cost\t18.967\n")},
        {{QStringLiteral("--by"), QStringLiteral("country"), QStringLiteral("--folder"), folder},
         QStringLiteral("Country\tStamps\tQuantity\tCatalogue value\nAustria\t2\t3\t16.6666\n"
                        "Sweden\t1\t3\t0.60\nUnclassified\t2\t5\t11.5004\nTotal\t5\t11\t28.767\n")},
        {{QStringLiteral("--folder"), folder, QStringLiteral("--by"), QStringLiteral("purchased"),
          QStringLiteral("--csv")},
         QStringLiteral("Year of purchase,Stamps,Quantity,Price paid,Catalogue value\r\n"
                        "1990,2,3,2.50,16.6666\r\n2001,2,5,7.00,11.5004\r\n"
                        "Unknown,1,3,0.30,0.60\r\nTotal,5,11,9.80,28.767\r\n")},
    };
    for (const auto& [args, start] : cases) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const Outcome o = run(QStringList{QStringLiteral("statistics")} + args);
        EXPECT_EQ(o.status, 0) << o.err.toStdString();
        EXPECT_TRUE(o.out.startsWith(start)) << o.out.toStdString();
    }
}

TEST(StatisticsCommand, WrongArgumentsAndMissingCollections_AreSaidSo) {
    QTemporaryDir dir;
    const Outcome wrongBy = run({QStringLiteral("statistics"), QStringLiteral("--by"),
                                 QStringLiteral("colour"), QStringLiteral("--folder"), dir.path()});
    EXPECT_EQ(wrongBy.status, 2);
    EXPECT_TRUE(wrongBy.err.contains(QStringLiteral("--by takes country")));
    EXPECT_TRUE(wrongBy.out.isEmpty());
    EXPECT_EQ(run({QStringLiteral("statistics"), QStringLiteral("extra")}).status, 2);
    const Outcome none =
        run({QStringLiteral("statistics"), QStringLiteral("--folder"), dir.path()});
    EXPECT_EQ(none.status, 1);
    EXPECT_FALSE(none.err.isEmpty());
    EXPECT_TRUE(none.out.isEmpty());
    EXPECT_TRUE(
        run({QStringLiteral("--help")}).out.contains(QStringLiteral("perlinex statistics")));
}
