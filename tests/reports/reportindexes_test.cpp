// The fixed reports read indexes of their own, in the order and with the rows they always had.
#include "db/dialect.h"
#include "db/recordset.h"
#include "db/schema.h"
#include "db/sqlite/collectionfile.h"
#include "db/sqlite/sqlitecall.h"
#include "db/sqlite/sqlitefile.h"
#include "regional/regional.h"
#include "reports/reportdefinitions.h"
#include "reports/reportrows.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <vector>

using namespace perlinex;
using namespace perlinex::reports;
using db::Value;

namespace {

// The engine's plan of a query, one line per step.
QStringList planOf(db::Database& db, const QString& sql) {
    db::detail::Statement st(db::handleOf(db), QStringLiteral("EXPLAIN QUERY PLAN ") + sql);
    QStringList steps;
    while (st.step())
        steps << st.columnText(3);
    return steps;
}

struct Rows : ReportSink {
    std::vector<QStringList> rows;
    void row(std::span<const QString> cells) override {
        rows.emplace_back(cells.begin(), cells.end());
    }
    void totals(const TotalsLine&) override {}
};

} // namespace

TEST(ReportIndexes, EveryFixedReportReadsAnIndexThatHoldsAllItNeeds) {
    QTemporaryDir dir;
    auto db = db::createCollection(dir.filePath(QStringLiteral("stamp.mdb")));
    for (const ReportDefinition& d : reportDefinitions()) {
        const QStringList plan = planOf(*db, db::translateSql(reportQuery(d, -1)));
        const QString stamp =
            plan.filter(QRegularExpression(QStringLiteral("^SCAN stamp"),
                                           QRegularExpression::CaseInsensitiveOption))
                .value(0);
        // Not the table, nor an index that sends every row back to the table.
        EXPECT_TRUE(stamp.contains(QLatin1String("USING COVERING INDEX")))
            << d.commandName << ": " << plan.join(QStringLiteral("; ")).toStdString();
    }
}

TEST(ReportIndexes, StampsOfTheSameDescriptionKeepTheOrderOfTheirNumbers) {
    QTemporaryDir dir;
    auto db = db::createCollection(dir.filePath(QStringLiteral("stamp.mdb")), false);
    db->execute(QStringLiteral("insert into country(Coudesc) values ('Sweden')"));
    // Stored in the order Z, A, M of their catalogue numbers, in a case that differs too.
    for (const char* number : {"Z 3", "A 1", "M 2"})
        for (const char* flags : {"forsale = 1", "sold = 1", "wantlist = 1", "quantity = 1"}) {
            db->execute(QStringLiteral("insert into stamp (descr, catnum, CouID) values ('%1', "
                                       "'%2', 1)")
                            .arg(QLatin1String(*number == 'A' ? "penny black" : "Penny Black"),
                                 QLatin1String(number)));
            db->execute(QStringLiteral("update stamp set %1 where stampid = last_insert_rowid()")
                            .arg(QLatin1String(flags)));
        }
    const regional::Regional regional;
    for (const ReportDefinition& d : reportDefinitions()) {
        ReportData data(*db, d);
        Rows sink;
        data.writeTo(sink, regional);
        // A category report's first cell is its group.
        const int numberCell = isCategoryReport(d) ? 2 : 1;
        QStringList numbers;
        for (const QStringList& row : sink.rows)
            numbers << row.value(numberCell);
        numbers.removeDuplicates();
        EXPECT_EQ(numbers, (QStringList{QStringLiteral("Z 3"), QStringLiteral("A 1"),
                                        QStringLiteral("M 2")}))
            << d.commandName;
    }
}

TEST(ReportIndexes, ACollectionWithoutThemGetsThemWhenOpened_UnlessItIsOpenedReadOnly) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("stamp.mdb"));
    const QString partial =
        QStringLiteral("SELECT group_concat(name) FROM (SELECT name FROM sqlite_master WHERE "
                       "type = 'index' AND instr(sql, ' WHERE ') > 0 ORDER BY name)");
    QString made;
    {
        auto db = db::createCollection(path);
        made = db->scalar(partial).toText();
        ASSERT_FALSE(made.isEmpty());
        // As a collection from before them has it.
        for (const QString& name : made.split(QLatin1Char(',')))
            db->execute(QStringLiteral("DROP INDEX %1").arg(name));
    }
    EXPECT_TRUE(db::openCollection(path, db::StructureCheck::AtOpen, db::OpenMode::ReadOnly)
                    ->scalar(partial)
                    .isNull());
    EXPECT_EQ(db::openCollection(path)->scalar(partial).toText(), made);
}
