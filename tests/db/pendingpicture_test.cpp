// A stamp's new picture waiting beside the old one until its row is stored.
#include "db/sqlite/maintenance.h"
#include "db/sqlite/pendingpicture.h"
#include "support/collection_fixture.h"
#include "util/durablefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace perlinex;
using namespace perlinex::db;

namespace {

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& data) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(data), data.size());
}

struct stat statOf(const QString& path) {
    struct stat st {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0) << path.toStdString();
    return st;
}

constexpr time_t Y2000 = 946'771'200;

} // namespace

class PendingPictureTest : public CollectionTest {
protected:
    QString images;
    std::int64_t id = 0;

    void SetUp() override {
        CollectionTest::SetUp();
        images = path(QStringLiteral("images"));
        QDir().mkpath(images);
        id = addStamp(QStringLiteral("Penny Black"));
    }

    QString picture() const { return QDir(images).filePath(pictureFileName(id)); }

    // The stamp's picture as it was before, with permissions and a time of its own.
    void oldPicture(const QString& file, mode_t mode = 0640) {
        writeFile(file, "old picture");
        const QByteArray native = QFile::encodeName(file);
        const timespec times[2] = {{Y2000, 0}, {Y2000, 0}};
        ASSERT_EQ(::chmod(native.constData(), mode), 0);
        ASSERT_EQ(::utimensat(AT_FDCWD, native.constData(), times, 0), 0);
    }

    void storeRow(const QString& descr) {
        auto rs = db->openRecordSet(QStringLiteral("select * from stamp"));
        rs->findFirst(QStringLiteral("stampid = %1").arg(id));
        rs->edit();
        rs->setField(QStringLiteral("descr"), Value(descr));
        rs->update();
    }

    // What waits in the picture folder (hidden names).
    QStringList waiting() const {
        QStringList names = QDir(images).entryList(QDir::Files | QDir::Hidden);
        names.removeIf([](const QString& n) { return !n.startsWith(QLatin1Char('.')); });
        return names;
    }
};

TEST_F(PendingPictureTest, AReplacedPictureKeepsItsPermissionsAndOwnerButGetsItsOwnTime) {
    oldPicture(picture(), 0604);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(QFile::encodeName(picture()).constData(), 65534, 65534), 0);
    }
    {
        PendingPicture pending(*db, images, id, "new picture");
        EXPECT_EQ(waiting().size(), 1);
        EXPECT_EQ(readFile(picture()), "old picture"); // until the row is stored
        storeRow(QStringLiteral("Penny Black, relabelled"));
        pending.finish();
    }
    EXPECT_EQ(readFile(picture()), "new picture");
    const struct stat st = statOf(picture());
    EXPECT_EQ(st.st_mode & 07777, 0604u);
    EXPECT_GT(st.st_mtim.tv_sec, Y2000) << "tools that compare times would skip it";
    if (root) {
        EXPECT_EQ(st.st_uid, 65534u);
        EXPECT_EQ(st.st_gid, 65534u);
    }
    EXPECT_EQ(waiting(), QStringList());
}

TEST_F(PendingPictureTest, ThroughALinkTheFileItLeadsToIsReplacedAndTheLinkKept) {
    const QString real = path(QStringLiteral("scans/penny.jpg"));
    oldPicture(real, 0600);
    ASSERT_TRUE(QFile::link(real, picture()));
    PendingPicture pending(*db, images, id, "new picture");
    storeRow(QStringLiteral("Penny Black, relabelled"));
    pending.finish();
    EXPECT_TRUE(QFileInfo(picture()).isSymLink());
    EXPECT_EQ(readFile(real), "new picture");
    EXPECT_EQ(statOf(real).st_mode & 07777, 0600u);
    EXPECT_EQ(waiting(), QStringList());
}

TEST_F(PendingPictureTest, AStoreThatIsNotMadeLeavesTheOldPictureAndNothingWaiting) {
    oldPicture(picture());
    for (const bool explicitly : {true, false}) {
        SCOPED_TRACE(explicitly ? "discarded" : "dropped");
        PendingPicture pending(*db, images, id, "new picture");
        if (explicitly)
            pending.discard();
    }
    EXPECT_EQ(readFile(picture()), "old picture");
    EXPECT_EQ(statOf(picture()).st_mtim.tv_sec, Y2000);
    EXPECT_EQ(waiting(), QStringList());
}

// A picture that cannot wait beside the old one fails before the row is stored, and leaves
// nothing behind.
TEST_F(PendingPictureTest, APictureThatCannotBeWrittenFailsBeforeTheRowAndLeavesNothing) {
    rlimit oldLimit{};
    ::getrlimit(RLIMIT_FSIZE, &oldLimit);
    struct Case {
        const char* name;
        durable::FileError::Kind kind;
        std::function<void()> arrange, restore;
    };
    const std::vector<Case> cases = {
        {"a folder where the picture goes", durable::FileError::Kind::CannotWrite,
         [&] { QDir().mkpath(picture()); }, [&] { QDir(picture()).removeRecursively(); }},
        {"a full disk", durable::FileError::Kind::DiskFull,
         [&] {
             oldPicture(picture());
             std::signal(SIGXFSZ, SIG_IGN);
             const rlimit small{4096, oldLimit.rlim_max};
             ::setrlimit(RLIMIT_FSIZE, &small);
         },
         [&] { ::setrlimit(RLIMIT_FSIZE, &oldLimit); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.arrange();
        const QStringList before = QDir(images).entryList(QDir::AllEntries | QDir::Hidden);
        try {
            PendingPicture pending(*db, images, id, QByteArray(64 * 1024, 'j'));
            ADD_FAILURE() << "no error";
        } catch (const durable::FileError& e) {
            EXPECT_EQ(e.kind(), c.kind) << e.text().toStdString();
        }
        EXPECT_EQ(QDir(images).entryList(QDir::AllEntries | QDir::Hidden), before);
        c.restore();
    }
    EXPECT_EQ(readFile(picture()), "old picture");
}

// The next start settles a picture that waits: a stamp with no row before the store ("none")
// whose row is there now was stored.
TEST_F(PendingPictureTest, ALeftPictureWaitsForItsCollectionAndIsSettledByItsRow) {
    const QString left =
        QDir(images).filePath(QStringLiteral(".%1.none.pending").arg(pictureFileName(id)));
    const QString other =
        QDir(images).filePath(QStringLiteral(".%1.none.pending").arg(pictureFileName(id + 1)));
    writeFile(left, "stored before the kill");
    writeFile(other, "its row never was");
    db->close();

    // Without its collection nothing can be told: both wait.
    const QString aside = path(QStringLiteral("aside.mdb"));
    ASSERT_TRUE(QFile::rename(dbPath, aside));
    PictureRecovery recovery = recoverPendingPictures(images, dbPath);
    EXPECT_FALSE(recovery.unsettled.isEmpty());
    EXPECT_EQ(waiting().size(), 2);

    ASSERT_TRUE(QFile::rename(aside, dbPath));
    recovery = recoverPendingPictures(images, dbPath);
    EXPECT_EQ(recovery.unsettled, QString());
    EXPECT_EQ(recovery.finished, QList<std::int64_t>{id});
    EXPECT_EQ(recovery.discarded, QList<std::int64_t>{id + 1});
    EXPECT_EQ(readFile(picture()), "stored before the kill");
    EXPECT_FALSE(QFile::exists(QDir(images).filePath(pictureFileName(id + 1))));
    EXPECT_EQ(waiting(), QStringList());
}

// A picture left waiting in this session (its placing failed) is settled before the stamp's
// next store writes another.
TEST_F(PendingPictureTest, AnEarlierWaitingPictureOfTheStampIsSettledFirst) {
    oldPicture(picture());
    writeFile(QDir(images).filePath(QStringLiteral(".%1.none.pending").arg(pictureFileName(id))),
              "stored earlier");
    { PendingPicture pending(*db, images, id, "not stored"); }
    EXPECT_EQ(readFile(picture()), "stored earlier");
    EXPECT_EQ(waiting(), QStringList());
}
