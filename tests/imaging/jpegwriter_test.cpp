#include "imaging/imagingerror.h"
#include "imaging/jpegwriter.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using perlinex::imaging::cDIBSection;
using perlinex::imaging::ImagingError;
using perlinex::imaging::SaveJPG;
namespace jpegcode = perlinex::imaging::jpegcode;

// A smooth blend with a different direction in each channel, no steeper than about two
// levels a pixel whatever the size.
QImage gradient(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    const int span = std::max({w, h, 64});
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(
                x, y,
                qRgb(60 + 120 * x / span, 40 + 150 * y / span, 200 - 100 * (x + y) / (2 * span)));
    return image;
}

double meanAbsError(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * a.width() * a.height());
}

cDIBSection bitmapOf(const QImage& image) {
    cDIBSection d;
    d.CreateFromPicture(image);
    return d;
}

struct stat statOf(const QString& path) {
    struct stat st {};
    EXPECT_EQ(::lstat(QFile::encodeName(path).constData(), &st), 0) << path.toStdString();
    return st;
}

bool sameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class JpegWriter : public TempFolderTest {
protected:
    // An old picture file with its own bytes, permissions and times, as a stamp had it.
    QString oldPicture(const QString& name, mode_t mode = 0640) {
        const QString p = path(name);
        QFile f(p);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(oldBytes);
        f.close();
        const QByteArray native = QFile::encodeName(p);
        EXPECT_EQ(::chmod(native.constData(), mode), 0);
        const timespec times[2] = {{981'173'106, 123'456'789}, {946'771'200, 987'654'321}};
        EXPECT_EQ(::utimensat(AT_FDCWD, native.constData(), times, 0), 0);
        return p;
    }

    // Nothing but the named entries in the folder: no temporary file was left behind.
    void expectFolderHolds(const QStringList& names) {
        EXPECT_EQ(
            QDir(dir.path())
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
            names);
    }

    const QByteArray oldBytes = QByteArrayLiteral("the stamp's only picture");
};

TEST_F(JpegWriter, SaveJPG_DecodesToTheSameSizeAndCloseToTheSource) {
    for (auto [w, h] : {std::pair{5, 3}, std::pair{64, 48}, std::pair{333, 17}, std::pair{1, 1}}) {
        SCOPED_TRACE(testing::Message() << w << "x" << h);
        const QImage source = gradient(w, h);
        const QString file = path(QStringLiteral("%1x%2.jpg").arg(w).arg(h));
        EXPECT_TRUE(SaveJPG(bitmapOf(source), file, 90));
        const QImage back(file, "JPEG");
        ASSERT_FALSE(back.isNull());
        EXPECT_EQ(back.size(), source.size());
        EXPECT_LT(meanAbsError(back, source), 2.5);
    }
}

// Four quadrants tell a picture upside down or with red and blue swapped.
TEST_F(JpegWriter, SaveJPG_KeepsTopAtTheTopAndColoursInPlace) {
    QImage source(32, 32, QImage::Format_RGB32);
    const QRgb quadrant[2][2] = {{qRgb(255, 0, 0), qRgb(0, 255, 0)},
                                 {qRgb(0, 0, 255), qRgb(255, 255, 0)}};
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            source.setPixel(x, y, quadrant[y / 16][x / 16]);
    const QString file = path(QStringLiteral("quadrants.jpg"));
    SaveJPG(bitmapOf(source), file, 90);
    const QImage back(file);
    for (int qy = 0; qy < 2; ++qy)
        for (int qx = 0; qx < 2; ++qx) {
            const QRgb want = quadrant[qy][qx], got = back.pixel(8 + 16 * qx, 8 + 16 * qy);
            EXPECT_NEAR(qRed(got), qRed(want), 12) << qx << "," << qy;
            EXPECT_NEAR(qGreen(got), qGreen(want), 12) << qx << "," << qy;
            EXPECT_NEAR(qBlue(got), qBlue(want), 12) << qx << "," << qy;
        }
}

TEST_F(JpegWriter, SaveJPG_HigherQualityKeepsMoreDetail) {
    cDIBSection noise;
    ASSERT_TRUE(noise.Create(64, 64));
    noise.RandomiseBits(true);
    SaveJPG(noise, path(QStringLiteral("low.jpg")), 20);
    SaveJPG(noise, path(QStringLiteral("high.jpg")), 95);
    EXPECT_GT(QFileInfo(path(QStringLiteral("high.jpg"))).size(),
              2 * QFileInfo(path(QStringLiteral("low.jpg"))).size());
}

TEST_F(JpegWriter, SaveJPG_OverAnOldPicture_KeepsItsPermissionsAndTimes) {
    const QString file = oldPicture(QStringLiteral("00000012.jpg"), 0604);
    const struct stat before = statOf(file);
    SaveJPG(bitmapOf(gradient(40, 30)), file, 90);

    const struct stat after = statOf(file);
    EXPECT_NE(after.st_ino, before.st_ino) << "the file was rewritten in place";
    EXPECT_EQ(after.st_mode & 07777, 0604u);
    EXPECT_TRUE(sameTime(after.st_atim, before.st_atim));
    EXPECT_TRUE(sameTime(after.st_mtim, before.st_mtim));
    EXPECT_EQ(QImage(file).size(), QSize(40, 30));
    expectFolderHolds({QStringLiteral("00000012.jpg")});
}

TEST_F(JpegWriter, SaveJPG_NewFile_GetsTheUsualPermissionsAndTheTimeOfWriting) {
    const mode_t mask = ::umask(022);
    const time_t start = ::time(nullptr);
    const QString file = path(QStringLiteral("00000013.jpg"));
    SaveJPG(bitmapOf(gradient(8, 8)), file, 90);
    ::umask(mask);
    const struct stat st = statOf(file);
    EXPECT_EQ(st.st_mode & 07777, 0644u);
    EXPECT_GE(st.st_mtim.tv_sec, start - 1);
}

TEST_F(JpegWriter, SaveJPG_ThroughASymbolicLink_ReplacesTheFileItPointsTo) {
    const QString file = oldPicture(QStringLiteral("real.jpg"));
    const QString link = path(QStringLiteral("00000014.jpg"));
    ASSERT_TRUE(QFile::link(file, link));
    SaveJPG(bitmapOf(gradient(8, 8)), link, 90);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(QImage(file).size(), QSize(8, 8));
}

// Each failure throws 26001 with the code in its text and leaves the old picture as it was.
TEST_F(JpegWriter, SaveJPG_FailedWrite_KeepsTheOldPicture) {
    struct Case {
        const char* name;
        int quality;
        bool emptyBitmap;
        int code;
        std::function<void()> arrange, restore;
    };
    rlimit oldLimit{};
    ::getrlimit(RLIMIT_FSIZE, &oldLimit);
    const std::vector<Case> cases = {
        {"empty bitmap", 90, true, jpegcode::EmptyBitmap, {}, {}},
        {"quality out of range", 101, false, jpegcode::BadQuality, {}, {}},
        // The disk fills up halfway through the picture.
        {"file too large", 90, false, EFBIG,
         [&] {
             std::signal(SIGXFSZ, SIG_IGN);
             const rlimit small{64, oldLimit.rlim_max};
             ::setrlimit(RLIMIT_FSIZE, &small);
         },
         [&] { ::setrlimit(RLIMIT_FSIZE, &oldLimit); }},
    };
    const QString file = oldPicture(QStringLiteral("00000012.jpg"));
    const struct stat before = statOf(file);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const cDIBSection bitmap = c.emptyBitmap ? cDIBSection() : bitmapOf(gradient(64, 64));
        if (c.arrange)
            c.arrange();
        try {
            SaveJPG(bitmap, file, c.quality);
            ADD_FAILURE() << "no error";
        } catch (const ImagingError& e) {
            EXPECT_EQ(e.number(), 26001);
            EXPECT_EQ(e.text(), QStringLiteral("Failed to save to JPG %1").arg(c.code));
        }
        if (c.restore)
            c.restore();
        EXPECT_EQ(contents(file), oldBytes);
        const struct stat after = statOf(file);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_TRUE(sameTime(after.st_mtim, before.st_mtim));
        expectFolderHolds({QStringLiteral("00000012.jpg")});
    }
}

TEST_F(JpegWriter, SaveJPG_IntoAFolderThatCannotTakeIt_FailsAndCreatesNothing) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("images")));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("00000015.jpg")));
    struct Case {
        QString file;
        int code;
    };
    const std::vector<Case> cases = {
        {path(QStringLiteral("missing/00000015.jpg")), ENOENT},
        {path(QStringLiteral("00000015.jpg")), EISDIR}, // a folder holds the picture's name
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        try {
            SaveJPG(bitmapOf(gradient(8, 8)), c.file, 90);
            ADD_FAILURE() << "no error";
        } catch (const ImagingError& e) {
            EXPECT_EQ(e.number(), 26001);
            EXPECT_EQ(e.text(), QStringLiteral("Failed to save to JPG %1").arg(c.code));
        }
    }
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("00000015.jpg"))).isDir());
    expectFolderHolds({QStringLiteral("00000015.jpg"), QStringLiteral("images")});
}

TEST_F(JpegWriter, SaveJPG_ReadOnlyFolder_KeepsTheOldPicture) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "the superuser writes into any folder";
    const QString file = oldPicture(QStringLiteral("00000012.jpg"));
    const QByteArray folder = QFile::encodeName(dir.path());
    ASSERT_EQ(::chmod(folder.constData(), 0555), 0);
    EXPECT_THROW(SaveJPG(bitmapOf(gradient(8, 8)), file, 90), ImagingError);
    ::chmod(folder.constData(), 0755);
    EXPECT_EQ(contents(file), oldBytes);
}

} // namespace
