#include "imaging/imagingerror.h"
#include "imaging/jpegwriter.h"
#include "support/temp_folder.h"
#include "support/unprivileged.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <algorithm>
#include <cerrno>
#include <csignal>
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

// A smooth blend, a different direction in each channel, about two levels a pixel at most.
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
    // An old picture file with bytes, permissions and times of its own.
    QString oldPicture(const QString& name, mode_t mode = 0640) {
        const QString p = path(name);
        QFile f(p);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(oldBytes) == oldBytes.size());
        f.close();
        const QByteArray native = QFile::encodeName(p);
        const timespec times[2] = {{981'173'106, 123'456'789}, {946'771'200, 987'654'321}};
        EXPECT_EQ(::chmod(native.constData(), mode), 0);
        EXPECT_EQ(::utimensat(AT_FDCWD, native.constData(), times, 0), 0);
        return p;
    }

    // Only the named entries: no temporary file was left behind.
    void expectFolderHolds(const QStringList& names) {
        EXPECT_EQ(
            QDir(dir.path())
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
            names);
    }

    void expectFailure(const cDIBSection& bitmap, const QString& file, int quality, int code) {
        try {
            SaveJPG(bitmap, file, quality);
            ADD_FAILURE() << "no error";
        } catch (const ImagingError& e) {
            EXPECT_EQ(e.number(), 26001);
            EXPECT_EQ(e.text(), QStringLiteral("Failed to save to JPG %1").arg(code));
        }
    }

    const QByteArray oldBytes = QByteArrayLiteral("the stamp's only picture");
};

TEST_F(JpegWriter, SaveJPG_DecodesToTheSameSizeAndCloseToTheSource) {
    const mode_t mask = ::umask(022);
    ::umask(mask);
    for (auto [w, h] : {std::pair{5, 3}, std::pair{64, 48}, std::pair{333, 17}, std::pair{1, 1}}) {
        SCOPED_TRACE(testing::Message() << w << "x" << h);
        const QImage source = gradient(w, h);
        const QString file = path(QStringLiteral("%1x%2.jpg").arg(w).arg(h));
        EXPECT_TRUE(SaveJPG(bitmapOf(source), file, 90));
        const QImage back(file, "JPEG");
        ASSERT_EQ(back.size(), source.size());
        EXPECT_LT(meanAbsError(back, source), 2.5);
        EXPECT_EQ(statOf(file).st_mode & 07777, 0666u & ~mask);
    }
}

// Four quadrants tell a picture upside down or with red and blue swapped.
TEST_F(JpegWriter, SaveJPG_KeepsTopAtTheTopAndColoursInPlace) {
    const QRgb quadrant[2][2] = {{qRgb(255, 0, 0), qRgb(0, 255, 0)},
                                 {qRgb(0, 0, 255), qRgb(255, 255, 0)}};
    QImage source(32, 32, QImage::Format_RGB32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            source.setPixel(x, y, quadrant[y / 16][x / 16]);
    const QString file = path(QStringLiteral("quadrants.jpg"));
    SaveJPG(bitmapOf(source), file, 90);
    const QImage back(file);
    for (int q = 0; q < 4; ++q) {
        const QRgb want = quadrant[q / 2][q % 2],
                   got = back.pixel(8 + 16 * (q % 2), 8 + 16 * (q / 2));
        EXPECT_NEAR(qRed(got), qRed(want), 12) << q;
        EXPECT_NEAR(qGreen(got), qGreen(want), 12) << q;
        EXPECT_NEAR(qBlue(got), qBlue(want), 12) << q;
    }
}

// A changed picture must look changed to tools that compare size and time (rsync).
TEST_F(JpegWriter, SaveJPG_OverAnOldPicture_KeepsItsPermissionsButNotItsTime) {
    const QString file = oldPicture(QStringLiteral("00000012.jpg"), 0604);
    const struct stat before = statOf(file);
    SaveJPG(bitmapOf(gradient(40, 30)), file, 90);

    const struct stat after = statOf(file);
    EXPECT_NE(after.st_ino, before.st_ino) << "rewritten in place";
    EXPECT_EQ(after.st_mode & 07777, 0604u);
    EXPECT_GT(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    EXPECT_EQ(QImage(file).size(), QSize(40, 30));
    expectFolderHolds({QStringLiteral("00000012.jpg")});
}

TEST_F(JpegWriter, SaveJPG_ThroughASymbolicLink_ReplacesTheFileItPointsTo) {
    const QString file = oldPicture(QStringLiteral("real.jpg"));
    const QString link = path(QStringLiteral("00000014.jpg"));
    ASSERT_TRUE(QFile::link(file, link));
    SaveJPG(bitmapOf(gradient(8, 8)), link, 90);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(QImage(file).size(), QSize(8, 8));
}

TEST_F(JpegWriter, SaveJPG_FailedWrite_KeepsTheOldPicture) {
    rlimit oldLimit{};
    ::getrlimit(RLIMIT_FSIZE, &oldLimit);
    struct Case {
        const char* name;
        bool emptyBitmap;
        int quality, code;
        std::function<void()> arrange, restore;
    };
    const std::vector<Case> cases = {
        {"empty bitmap", true, 90, jpegcode::EmptyBitmap, {}, {}},
        {"quality out of range", false, 101, jpegcode::BadQuality, {}, {}},
        // The disk fills up halfway through the picture.
        {"file too large", false, 90, EFBIG,
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
        expectFailure(bitmap, file, c.quality, c.code);
        if (c.restore)
            c.restore();
        EXPECT_EQ(contents(file), oldBytes);
        const struct stat after = statOf(file);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_TRUE(sameTime(after.st_mtim, before.st_mtim));
        expectFolderHolds({QStringLiteral("00000012.jpg")});
    }
}

TEST_F(JpegWriter, SaveJPG_WhereNoFileCanGo_FailsAndCreatesNothing) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("00000015.jpg")));
    expectFailure(bitmapOf(gradient(8, 8)), path(QStringLiteral("missing/00000015.jpg")), 90,
                  ENOENT);
    // A folder holds the picture's name.
    expectFailure(bitmapOf(gradient(8, 8)), path(QStringLiteral("00000015.jpg")), 90, EISDIR);
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("00000015.jpg"))).isDir());
    expectFolderHolds({QStringLiteral("00000015.jpg")});
}

TEST_F(JpegWriter, SaveJPG_ReadOnlyFolder_KeepsTheOldPicture) {
    RUN_UNPRIVILEGED();
    const QString file = oldPicture(QStringLiteral("00000012.jpg"));
    const QByteArray folder = QFile::encodeName(dir.path());
    ASSERT_EQ(::chmod(folder.constData(), 0555), 0);
    expectFailure(bitmapOf(gradient(8, 8)), file, 90, EACCES);
    ::chmod(folder.constData(), 0755);
    EXPECT_EQ(contents(file), oldBytes);
}

} // namespace
