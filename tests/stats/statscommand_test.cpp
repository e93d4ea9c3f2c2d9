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

// The figures of the stamps the list's filter keeps: worked out by hand from the collection of
// stats_support.h, with a stamp whose notes hold what SQL and the program's dialect treat
// specially, and which the filter must still take as plain words.
TEST(StatisticsCommand, FiguresOfAFilter_AreThoseOfTheStampsTheListKeeps) {
    QTemporaryDir dir;
    {
        auto db = makeStatsCollection(dir.filePath(QStringLiteral("stamp.mdb")));
        db->execute(
            QStringLiteral("insert into stamp(descr, quantity, catvalue, notes) values ('N', 1, 2, "
                           "'O''Brien \"50%\" [descr] #1/1/2000# *? a_b');"));
    }
    const QString folder = dir.path();
    const auto args = [&](std::initializer_list<const char*> words) {
        QStringList out{QStringLiteral("statistics"), QStringLiteral("--folder"), folder};
        for (const char* w : words)
            out << QString::fromUtf8(w);
        return out;
    };
    const std::vector<std::pair<QStringList, QString>> cases = {
        {args({}),
         QStringLiteral(
             "Figure\tValue\nStamps in the collection\t6\nQuantity in the collection\t12\n"
             "Total paid\t9.80\nCatalogue value\t30.767\n")},
        {args({"--filter", "austria"}),
         QStringLiteral("Figure (filtered: austria)\tValue\nStamps in the collection\t2\n"
                        "Quantity in the collection\t3\nTotal paid\t2.50\n"
                        "Catalogue value\t16.6666\nValue minus cost\t14.1666\n"
                        "Stamps on the want list\t1\nQuantity on the want list\t2\n"
                        "Will pay for the want list\t4.50\nStamps for sale\t0\n")},
        {args({"--by", "country", "--csv", "--filter", "AUSTRIA  ships"}),
         QStringLiteral("Country (filtered: AUSTRIA ships),Stamps,Quantity,Catalogue value\r\n"
                        "Austria,1,2,6.6666\r\nTotal,1,2,6.6666\r\n")},
        {args({"--filter", "sweden", "--by", "decade"}),
         QStringLiteral("Decade of issue (filtered: sweden)\tStamps\tQuantity\tCatalogue value\n"
                        "1960s\t1\t3\t0.60\nTotal\t1\t3\t0.60\n")},
        {args({"--filter", "o'brien \"50%\" [descr] #1/1/2000# *? a_b"}),
         QStringLiteral("Figure (filtered: o'brien \"50%\" [descr] #1/1/2000# *? a_b)\tValue\n"
                        "Stamps in the collection\t1\nQuantity in the collection\t1\n"
                        "Total paid\t0.00\nCatalogue value\t2.00\n")},
        {args({"--filter", "50 %"}), QStringLiteral("Figure (filtered: 50 %)\tValue\n"
                                                    "Stamps in the collection\t1\n")},
        {args({"--filter", "nowhere"}), QStringLiteral("Figure (filtered: nowhere)\tValue\n"
                                                       "Stamps in the collection\t0\n"
                                                       "Quantity in the collection\t0\n"
                                                       "Total paid\t0.00\n")},
    };
    for (const auto& [arguments, start] : cases) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        const Outcome o = run(arguments);
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
