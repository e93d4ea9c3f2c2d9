#include "reliability_support.h"
#include "support/temp_folder.h"

#include <QElapsedTimer>
#include <QProcess>
#include <gtest/gtest.h>

using namespace reliability;

namespace {

const QString kWriter = QStringLiteral(PERLINEX_STORE_WRITER);

class SecondProgram : public TempFolderTest {
protected:
    QString dbPath;
    QStringList before;
    void SetUp() override {
        TempFolderTest::SetUp();
        dbPath = makeCollection(path(QStringLiteral("app")), 30);
        before = stampsOf(dbPath);
    }
};

} // namespace

TEST_F(SecondProgram, IsRefusedAtOnceWhileThisOneHoldsTheCollection) {
    auto held = db::openCollection(dbPath);

    QProcess second;
    QElapsedTimer clock;
    clock.start();
    second.start(kWriter, {dbPath, QStringLiteral("--open")});
    ASSERT_TRUE(second.waitForFinished(10000));
    const qint64 ms = clock.elapsed();
    const QString said = QString::fromUtf8(second.readAllStandardOutput()).trimmed();
    EXPECT_LT(ms, 1000) << "the second program waited for the lock";
    EXPECT_TRUE(said.startsWith(QLatin1String("error 3045 "))) << said.toStdString();
    EXPECT_TRUE(said.contains(QLatin1String("in use"), Qt::CaseInsensitive)) << said.toStdString();

    // The refusal costs the first program nothing: it reads and stores as before.
    auto set = held->openRecordSet(QStringLiteral("Select * from stamp order by [descr]"));
    EXPECT_EQ(set->recordCount(), 30);
    set->addNew();
    set->setField(QStringLiteral("descr"), db::Value(QStringLiteral("After the refusal")));
    set->setField(QStringLiteral("quantity"), db::Value(std::int64_t(7)));
    ASSERT_NO_THROW(set->update());
    set.reset();
    held.reset();
    QStringList expected = before;
    expected << QStringLiteral("After the refusal|7");
    expected.sort();
    EXPECT_EQ(stampsOf(dbPath), expected);
    QString why;
    EXPECT_TRUE(db::isIntactCollection(dbPath, &why)) << why.toStdString();
}

TEST_F(SecondProgram, ThisOneIsRefusedWhileAnotherHoldsItAndGetsInWhenThatOneDies) {
    QProcess first;
    first.start(kWriter, {dbPath, QStringLiteral("--hold")});
    ASSERT_TRUE(first.waitForReadyRead(10000));
    ASSERT_EQ(first.readLine().trimmed(), QByteArray("open"));

    QElapsedTimer clock;
    clock.start();
    try {
        db::openCollection(dbPath);
        ADD_FAILURE() << "opened a collection another program holds";
    } catch (const db::DbError& e) {
        EXPECT_EQ(e.number(), db::err::FileInUse) << e.text().toStdString();
        EXPECT_TRUE(e.text().contains(QLatin1String("in use"), Qt::CaseInsensitive))
            << e.text().toStdString();
    }
    EXPECT_LT(clock.elapsed(), 1000);

    // A program that crashes lets go of the collection with it.
    first.kill();
    ASSERT_TRUE(first.waitForFinished(10000));
    EXPECT_EQ(stampsOf(dbPath), before);
}
