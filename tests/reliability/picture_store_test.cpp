// A stamp stored with a new picture by a program that is killed at each step of the store:
// after the next start's recovery the stamp's row and its picture always belong together.
#include "db/sqlite/collectionfile.h"
#include "db/sqlite/pendingpicture.h"
#include "reliability_support.h"
#include "support/temp_folder.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <algorithm>
#include <gtest/gtest.h>
#include <optional>
#include <string>

using namespace reliability;

namespace {

struct Scene {
    const char* name;
    const char* stamp; // a stamp's number, or "new"
    const char* descr; // its new description, "-" to leave the row as it is
    bool hadPicture;
};

const Scene kScenes[] = {
    {"UpdateOfAStampWithAPicture", "1", "Penny Black, relabelled", true},
    {"NewStamp", "new", "Penny Red", false},
    {"PictureOnly", "2", "-", true},
    {"UpdateOfAStampWithoutAPicture", "3", "Twopenny Blue, relabelled", false},
};

struct Step {
    const char* name; // where the program is killed; empty: it is not
    bool rowStored;   // the row's store has happened when the step is reached
    bool placed;      // the picture has been put in place
};

const Step kSteps[] = {
    {"picture-write", false, false},
    {"picture-row", false, false},
    {"picture-place", true, false},
    {"picture-placed", true, true},
    {"", true, true},
};

void PrintTo(const Scene& s, std::ostream* os) {
    *os << s.name;
}
void PrintTo(const Step& s, std::ostream* os) {
    *os << (*s.name ? s.name : "no kill");
}

using Param = std::tuple<Scene, Step>;

std::string paramName(const ::testing::TestParamInfo<Param>& info) {
    std::string step = std::get<1>(info.param).name;
    std::replace(step.begin(), step.end(), '-', '_');
    return std::string(std::get<0>(info.param).name) + "_" + (step.empty() ? "finished" : step);
}

// The stamp as it stands: its description (none without a row) and its picture's bytes (none
// without a picture).
struct Pair {
    std::optional<QString> descr;
    std::optional<QByteArray> picture;
    bool operator==(const Pair&) const = default;
};

void PrintTo(const Pair& p, std::ostream* os) {
    *os << "{" << (p.descr ? p.descr->toStdString() : "no row") << ", "
        << (p.picture ? p.picture->toStdString() : "no picture") << "}";
}

class PictureStoreKilledAt : public TempFolderTest, public ::testing::WithParamInterface<Param> {
protected:
    QString app, dbPath, images;

    void SetUp() override {
        TempFolderTest::SetUp();
        app = path(QStringLiteral("app"));
        dbPath = makeCollection(app, 3);
        images = QDir(app).filePath(QStringLiteral("images"));
        QDir().mkpath(images);
        writeFile(QDir(images).filePath(QStringLiteral("00000001.jpg")), "old picture of 1");
        writeFile(QDir(images).filePath(QStringLiteral("00000002.jpg")), "old picture of 2");
        writeFile(QDir(images).filePath(QStringLiteral("gb/seahorse.png")), "someone else's");
    }

    Pair pairOf(std::int64_t id) const {
        Pair p;
        const db::Value descr = db::openCollection(dbPath)->scalar(
            QStringLiteral("select descr from stamp where stampid = %1").arg(id));
        if (!descr.isNull())
            p.descr = descr.toText();
        const QString picture = QDir(images).filePath(db::pictureFileName(id));
        if (QFileInfo::exists(picture))
            p.picture = fileBytes(picture);
        return p;
    }
};

} // namespace

TEST_P(PictureStoreKilledAt, TheNextStartLeavesARowAndAPictureThatBelongTogether) {
    const auto& [scene, step] = GetParam();
    const QString scan = path(QStringLiteral("scan.jpg"));
    writeFile(scan, "the new picture");
    const std::int64_t next = 4; // a new stamp's number in a collection of three
    const std::int64_t id =
        QByteArray(scene.stamp) == "new" ? next : QByteArray(scene.stamp).toLongLong();
    const Pair before = pairOf(id);
    Pair after = before;
    if (QByteArray(scene.descr) != "-")
        after.descr = QString::fromUtf8(scene.descr);
    after.picture = QByteArray("the new picture");
    auto others = folderContents(images);
    others.remove(db::pictureFileName(id));

    QProcess child;
    QStringList args{dbPath,
                     QStringLiteral("--picture"),
                     images,
                     QString::fromLatin1(scene.stamp),
                     QString::fromUtf8(scene.descr),
                     scan};
    if (*step.name)
        args << QString::fromLatin1(step.name);
    child.start(QStringLiteral(PERLINEX_STORE_WRITER), args);
    ASSERT_TRUE(child.waitForStarted(10000));
    const QDeadlineTimer limit(60000);
    while (!child.peek(1 << 16).contains("waiting\n") && child.state() == QProcess::Running &&
           !limit.hasExpired())
        child.waitForReadyRead(100);
    if (*step.name)
        child.kill();
    ASSERT_TRUE(child.state() == QProcess::NotRunning || child.waitForFinished(10000));
    const QByteArray out = child.readAllStandardOutput();
    ASSERT_EQ(out.endsWith("stored\n"), !*step.name) << out.toStdString();
    ASSERT_TRUE(out.startsWith(QStringLiteral("stamp %1\n").arg(id).toUtf8())) << out.toStdString();
    ASSERT_EQ(out.contains("waiting\n"), *step.name != 0) << out.toStdString();

    const db::PictureRecovery recovery = db::recoverPendingPictures(images, dbPath);
    EXPECT_EQ(recovery.unsettled, QString());

    // A store that changes only the picture has no row to tell it was made: until the picture
    // is in place it was not.
    const bool rowChanged = after.descr != before.descr;
    const bool stored = step.placed || (step.rowStored && rowChanged);
    EXPECT_EQ(pairOf(id), stored ? after : before);
    const bool waited = !step.placed && *step.name && QByteArray(step.name) != "picture-write";
    EXPECT_EQ(recovery.finished,
              waited && stored ? QList<std::int64_t>{id} : QList<std::int64_t>{});
    EXPECT_EQ(recovery.discarded,
              waited && !stored ? QList<std::int64_t>{id} : QList<std::int64_t>{});
    // Nothing waits any more, and no other picture was touched.
    auto now = folderContents(images);
    now.remove(db::pictureFileName(id));
    EXPECT_EQ(now, others);
}

INSTANTIATE_TEST_SUITE_P(EachStep, PictureStoreKilledAt,
                         ::testing::Combine(::testing::ValuesIn(kScenes),
                                            ::testing::ValuesIn(kSteps)),
                         paramName);
