// The "Image" tab: a stamp's picture found by its number, shown, converted from a bitmap,
// loaded, pasted, copied and stored with the record.
#include "main_window_fixture.h"

#include "app/pictureview.h"
#include "db/sqlite/maintenance.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QRandomGenerator>
#include <QTabWidget>
#include <csignal>
#include <fcntl.h>
#include <map>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

QImage picture(int width, int height, QColor colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A picture that no encoder makes small.
QImage noise(int side) {
    QImage image(side, side, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            image.setPixel(x, y, random.generate() | 0xff000000u);
    return image;
}

constexpr time_t Y2000 = 946'771'200;

struct stat statOf(const QString& path) {
    struct stat st {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0) << path.toStdString();
    return st;
}

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class PictureTab : public MainWindowTest {
protected:
    QString images() const { return dir.filePath(QStringLiteral("images")); }
    QString file(const char* name) const { return QDir(images()).filePath(QLatin1String(name)); }
    PictureView* view() { return find<PictureView>("Image1"); }
    void showImageTab() { find<QTabWidget>("SSTab1")->setCurrentIndex(3); }
    void showGeneralTab() { find<QTabWidget>("SSTab1")->setCurrentIndex(0); }
    QSize storedSize(const char* name) const { return QImage(file(name)).size(); }
    void TearDown() override {
        db::setStepHook({});
        MainWindowTest::TearDown();
    }
    // Stamp 1's picture as stored before, red, with permissions and a time of its own.
    void oldPicture() {
        QDir().mkpath(images());
        ASSERT_TRUE(picture(40, 30, Qt::red).save(file("00000001.jpg")));
        const QByteArray native = QFile::encodeName(file("00000001.jpg"));
        const timespec times[2] = {{Y2000, 0}, {Y2000, 0}};
        ASSERT_EQ(::chmod(native.constData(), 0640), 0);
        ASSERT_EQ(::utimensat(AT_FDCWD, native.constData(), times, 0), 0);
    }
    QStringList hiddenInImages() const {
        QStringList names = QDir(images()).entryList(QDir::AllEntries | QDir::Hidden);
        names.removeIf([](const QString& n) { return !n.startsWith(QLatin1Char('.')); });
        names.removeAll(QStringLiteral("."));
        names.removeAll(QStringLiteral(".."));
        return names;
    }
};

TEST_F(PictureTab, ShowsTheFileNamedFromTheNumber_ALowerCaseBitmapBecomesAJpeg) {
    open({{"A", "1"}, {"B", "2"}, {"C", "3"}});
    QDir().mkpath(images());
    ASSERT_TRUE(picture(40, 30, Qt::red).save(file("00000001.bmp"), "BMP"));
    ASSERT_TRUE(picture(20, 10, Qt::blue).save(file("00000002.BMP"), "BMP"));

    showImageTab();
    EXPECT_FALSE(view()->isEmpty());
    EXPECT_FALSE(QFile::exists(file("00000001.bmp")));
    EXPECT_EQ(storedSize("00000001.jpg"), QSize(40, 30));
    click("cmdNext"); // upper case: shown, not converted
    EXPECT_FALSE(view()->isEmpty());
    EXPECT_TRUE(QFile::exists(file("00000002.BMP")));
    EXPECT_FALSE(QFile::exists(file("00000002.jpg")));
    click("cmdNext"); // no picture at all
    EXPECT_TRUE(view()->isEmpty());
    click("cmdFirst"); // the JPEG now
    EXPECT_EQ(view()->file(), file("00000001.jpg"));
    EXPECT_TRUE(dialogs.prompts.empty());
    QGuiApplication::clipboard()->clear();
    click("cmdPicCopy");
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(40, 30));
}

TEST_F(PictureTab, LoadOfAMissingFileChangesNothing_LoadAndPasteAreStoredWithTheRecord) {
    open({{"A", "1"}});
    showImageTab();
    dialogs.texts = {dir.filePath(QStringLiteral("no such picture.png"))};
    click("cmdPicLoad");
    EXPECT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("File not found.")});
    EXPECT_TRUE(browsing());

    const QString scan = dir.filePath(QStringLiteral("scan.png"));
    ASSERT_TRUE(picture(64, 48, Qt::green).save(scan));
    dialogs.texts = {scan};
    click("cmdPicLoad");
    EXPECT_TRUE(w->isEditing());
    // Looking at another tab and back keeps the picture that waits to be stored.
    showGeneralTab();
    showImageTab();
    EXPECT_EQ(view()->file(), scan);
    click("cmdUpdate");
    EXPECT_EQ(storedSize("00000001.jpg"), QSize(64, 48));
    EXPECT_NEAR(qGreen(QImage(file("00000001.jpg")).pixel(10, 10)), 255, 8);

    // A pasted picture goes to a new record under that record's own number.
    QGuiApplication::clipboard()->setImage(picture(30, 20, Qt::yellow));
    click("cmdAddNew");
    type("txtDescr", QStringLiteral("Pasted"));
    click("cmdPicPaste");
    click("cmdUpdate");
    const std::int64_t id = program->CollectionDb
                                ->scalar(QStringLiteral("select stampid from stamp where descr = "
                                                        "'Pasted'"))
                                .toInteger();
    EXPECT_EQ(
        QImage(QDir(images()).filePath(QStringLiteral("%1.jpg").arg(id, 8, 10, QLatin1Char('0'))))
            .size(),
        QSize(30, 20));
    // A deleted record leaves its picture.
    dialogs.answers = {Answer::Yes};
    click("cmdDelete");
    EXPECT_EQ(stampCount(), 1);
    EXPECT_TRUE(QFile::exists(
        QDir(images()).filePath(QStringLiteral("%1.jpg").arg(id, 8, 10, QLatin1Char('0')))));
}

TEST_F(PictureTab, APictureWithoutABitmapOrAFailedWriteKeepsTheStoredOneAndSaysWhy) {
    open({{"A", "1"}});
    QDir().mkpath(images());
    ASSERT_TRUE(picture(40, 30, Qt::red).save(file("00000001.jpg")));
    QFile stored(file("00000001.jpg"));
    ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
    const QByteArray before = stored.readAll();
    stored.close();
    showImageTab();

    QGuiApplication::clipboard()->clear();
    click("cmdPicPaste");
    type("txtDescr", QStringLiteral("A, stored"));
    click("cmdUpdate");
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_TRUE(dialogs.prompts[0].text.startsWith(QStringLiteral("The picture could not be "
                                                                  "stored")));
    ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
    EXPECT_EQ(stored.readAll(), before);
    stored.close();
    EXPECT_EQ(program->CollectionDb->scalar(QStringLiteral("select descr from stamp")).toText(),
              QStringLiteral("A, stored")); // the record is stored all the same

    // Where no file can be written, the warning names it and the old picture stays.
    QFile::remove(file("00000001.jpg"));
    QDir().mkpath(file("00000001.jpg")); // a folder where the picture would go
    QGuiApplication::clipboard()->setImage(picture(8, 8, Qt::blue));
    click("cmdPicPaste");
    click("cmdUpdate");
    EXPECT_EQ(dialogs.prompts.back().text,
              QStringLiteral("Failed to save the picture to the file: '%1'")
                  .arg(QDir::toNativeSeparators(file("00000001.jpg"))));
    EXPECT_EQ(dialogs.prompts.back().icon, Icon::Warning);
    EXPECT_TRUE(browsing());
}

// The new picture waits until the record is stored, so that a crash in between leaves the
// stored record with its stored picture; and it is a file of its own time, so that backup
// tools that compare times copy it.
TEST_F(PictureTab, ANewPictureTakesItsPlaceOnlyOnceTheRecordIsStored_WithATimeOfItsOwn) {
    open({{"A", "1"}});
    oldPicture();
    showImageTab();
    const QString scan = dir.filePath(QStringLiteral("scan.png"));
    ASSERT_TRUE(picture(64, 48, Qt::green).save(scan));
    dialogs.texts = {scan};
    click("cmdPicLoad");
    type("txtDescr", QStringLiteral("A, relabelled"));

    struct Seen {
        QString descr;
        QSize picture;
    };
    std::map<std::string, Seen> seen;
    db::setStepHook([&](const char* step) {
        seen[step] = {
            program->CollectionDb->scalar(QStringLiteral("select descr from stamp")).toText(),
            storedSize("00000001.jpg")};
    });
    click("cmdUpdate");
    db::setStepHook({});

    ASSERT_TRUE(seen.count("picture-row") && seen.count("picture-place"));
    EXPECT_EQ(seen["picture-row"].descr, QStringLiteral("A")); // the row is stored next
    EXPECT_EQ(seen["picture-row"].picture, QSize(40, 30));
    EXPECT_EQ(seen["picture-place"].descr, QStringLiteral("A, relabelled"));
    EXPECT_EQ(seen["picture-place"].picture, QSize(40, 30));
    EXPECT_EQ(storedSize("00000001.jpg"), QSize(64, 48));
    const struct stat st = statOf(file("00000001.jpg"));
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_GT(st.st_mtim.tv_sec, Y2000);
    EXPECT_EQ(hiddenInImages(), QStringList());
    EXPECT_EQ(dialogs.messageTexts(), QStringList());
    EXPECT_TRUE(browsing());
}

TEST_F(PictureTab, APictureThatDoesNotFitOnTheDiskIsReportedAsSuch) {
    open({{"A", "1"}});
    oldPicture();
    const QByteArray before = bytesOf(file("00000001.jpg"));
    showImageTab();
    QGuiApplication::clipboard()->setImage(noise(1000));
    click("cmdPicPaste");

    // Room for the collection's own writes, not for the picture.
    rlimit oldLimit{};
    ::getrlimit(RLIMIT_FSIZE, &oldLimit);
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit small{
        rlim_t(QFileInfo(dir.filePath(QStringLiteral("stamp.mdb"))).size() + 256 * 1024),
        oldLimit.rlim_max};
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    click("cmdUpdate");
    ::setrlimit(RLIMIT_FSIZE, &oldLimit);

    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(dialogs.prompts[0].text,
              QStringLiteral("Failed to save the picture to the file: '%1': there is not enough "
                             "space on the disk. The picture stored before has been kept.")
                  .arg(QDir::toNativeSeparators(file("00000001.jpg"))));
    EXPECT_EQ(dialogs.prompts[0].icon, Icon::Warning);
    EXPECT_EQ(bytesOf(file("00000001.jpg")), before);
    EXPECT_EQ(hiddenInImages(), QStringList());
    EXPECT_TRUE(browsing());
}
