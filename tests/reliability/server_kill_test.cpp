#include "db/pg/pgcheck.h"
#include "db/recordset.h"
#include "shared_desks.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QTest>
#include <csignal>
#include <map>

// A desk killed (SIGKILL) in the middle of a store of many stamps with their pictures leaves
// the shared collection whole, and the other desks go on.
using namespace desks;

namespace {

constexpr int kStamps = 40;
constexpr int kNoWait = -1;

struct KillCase {
    const char* name;
    int waitAfter;     // stamps stored before the desk waits to be killed; kNoWait: it does not
    bool killAtCommit; // killed as soon as it says it commits
};

// What the desk said before it died; only whole lines count.
struct DeskSaid {
    std::int64_t backend = 0;
    std::vector<std::int64_t> numbers;
    bool committed = false;
    QString error;
};

DeskSaid parse(const QList<QByteArray>& lines) {
    DeskSaid said;
    for (const QByteArray& raw : lines) {
        const QList<QByteArray> words = raw.trimmed().split(' ');
        if (words[0] == "backend")
            said.backend = words.value(1).toLongLong();
        else if (words[0] == "stored")
            said.numbers.push_back(words.value(2).toLongLong());
        else if (words[0] == "committed")
            said.committed = true;
        else if (words[0] == "error")
            said.error = QString::fromUtf8(raw);
    }
    return said;
}

// Reads the child's lines until one starts with `until` or the child ends.
QList<QByteArray> readUntil(QProcess& child, const QByteArray& until) {
    QList<QByteArray> lines;
    for (;;) {
        while (child.canReadLine()) {
            lines << child.readLine();
            if (lines.back().startsWith(until))
                return lines;
        }
        if (child.state() == QProcess::NotRunning || !child.waitForReadyRead(60000))
            break;
    }
    while (child.canReadLine())
        lines << child.readLine();
    return lines;
}

// The server notices a dead desk when its socket closes; its transaction ends with it.
bool serverProcessGone(db::Database& collection, std::int64_t backend) {
    return QTest::qWaitFor(
        [&] {
            return collection
                       .scalar(
                           QStringLiteral("select count(*) from pg_stat_activity where pid = %1")
                               .arg(backend))
                       .toInteger() == 0;
        },
        60000);
}

// The stamps each run's desk stored, by run tag.
std::map<QString, int> stampsByTag(db::Database& collection) {
    std::map<QString, int> out;
    const auto rows = collection.query(QStringLiteral("select descr from stamp"));
    while (rows->next())
        ++out[rows->text(0).section(QLatin1Char(' '), 0, 0)];
    return out;
}

} // namespace

class KilledDesk : public SharedCollectionTest {};

TEST_F(KilledDesk, LeavesTheSharedCollectionWholeAndTheOthersStoring) {
    const KillCase cases[] = {
        {"before its first stamp", 0, false},
        {"after its first stamp", 1, false},
        {"halfway", kStamps / 2, false},
        {"with every stamp stored, before the commit", kStamps, false},
        {"while it commits", kNoWait, true},
        {"after its commit", kNoWait, false},
    };
    auto other = desk();
    std::int64_t held = 0;
    {
        auto stamps = other->openRecordSet(QStringLiteral("Select * from stamp"));
        stamps->addNew();
        held = stamps->field(QStringLiteral("stampid")).toInteger();
        stamps->setField(QStringLiteral("descr"), db::Value(QStringLiteral("Held")));
        stamps->setField(QStringLiteral("notes"), db::Value(QStringLiteral("nobody")));
        stamps->update();
    }
    QString heldNotes = QStringLiteral("nobody");

    for (int run = 0; run < int(std::size(cases)); ++run) {
        const KillCase& c = cases[run];
        SCOPED_TRACE(c.name);
        const QString tag = QStringLiteral("Run%1").arg(run);
        QProcess child;
        QStringList args = {serverUnderTest(), collection, tag, QString::number(kStamps),
                            QString::number(held)};
        if (c.waitAfter != kNoWait)
            args << QString::number(c.waitAfter);
        child.start(QStringLiteral(PERLINEX_SERVER_DESK), args);
        ASSERT_TRUE(child.waitForStarted(10000));
        const QByteArray killAt = c.waitAfter != kNoWait ? "waiting"
                                  : c.killAtCommit       ? "committing"
                                                         : "committed";
        QList<QByteArray> lines = readUntil(child, killAt);
        ASSERT_TRUE(!lines.isEmpty() && lines.back().startsWith(killAt))
            << lines.join().toStdString() << child.readAllStandardError().toStdString();
        ::kill(pid_t(child.processId()), SIGKILL);
        ASSERT_TRUE(child.waitForFinished(60000));
        lines << child.readAllStandardOutput().split('\n');
        const DeskSaid said = parse(lines);
        ASSERT_TRUE(said.error.isEmpty()) << said.error.toStdString();
        ASSERT_GT(said.backend, 0);
        ASSERT_TRUE(serverProcessGone(*other, said.backend));

        // All of the desk's transaction or none of it, each stamp with its picture.
        const int stored = stampsByTag(*other)[tag];
        if (c.waitAfter != kNoWait)
            EXPECT_EQ(stored, 0);
        else if (said.committed)
            EXPECT_EQ(stored, kStamps);
        else
            EXPECT_TRUE(stored == 0 || stored == kStamps) << stored;
        EXPECT_EQ(other
                      ->scalar(QStringLiteral("select count(*) from picture p join stamp s on "
                                              "s.stampid = p.stampid where s.descr like '%1 *'")
                                   .arg(tag))
                      .toInteger(),
                  stored);
        EXPECT_EQ(other
                      ->scalar(QStringLiteral("select count(*) from picture where stampid not in "
                                              "(select stampid from stamp)"))
                      .toInteger(),
                  0);
        if (stored)
            heldNotes = tag;
        auto heldStamp = other->openRecordSet(
            QStringLiteral("Select * from stamp where stampid = %1").arg(held));
        EXPECT_EQ(heldStamp->field(QStringLiteral("notes")).toText(), heldNotes);
        const QStringList problems = db::checkServerCollection(*other);
        EXPECT_TRUE(problems.isEmpty()) << problems.join(u'\n').toStdString();

        // The others go on: the row the desk held is free at the first try, and a new stamp
        // takes a number the dead desk was never given.
        heldStamp->edit();
        heldStamp->setField(QStringLiteral("quantity"), db::Value(run));
        EXPECT_EQ(errorOf([&] { heldStamp->update(); }), 0);
        auto stamps = other->openRecordSet(QStringLiteral("Select * from stamp"));
        stamps->addNew();
        const std::int64_t next = stamps->field(QStringLiteral("stampid")).toInteger();
        stamps->setField(QStringLiteral("descr"), db::Value(QStringLiteral("After %1").arg(tag)));
        EXPECT_EQ(errorOf([&] { stamps->update(); }), 0);
        for (std::int64_t given : said.numbers)
            EXPECT_GT(next, given);
    }
}
