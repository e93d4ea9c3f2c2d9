#include "imaging/dibsection.h"
#include "imaging/imagingerror.h"

#include <QClipboard>
#include <QGuiApplication>
#include <array>
#include <cstring>
#include <gtest/gtest.h>
#include <set>
#include <vector>

namespace {

using perlinex::imaging::cDIBSection;
using perlinex::imaging::ImagingError;

// Byte `channel` (0 blue, 1 green, 2 red) of pixel x in memory row y (row 0 is the bottom).
std::uint8_t& at(cDIBSection& d, int x, int y, int channel) {
    return d.DIBSectionBitsPtr()[y * d.BytesPerScanLine() + 3 * x + channel];
}
std::array<int, 3> bgr(const cDIBSection& d, int x, int y) {
    const auto* p = d.DIBSectionBitsPtr() + y * d.BytesPerScanLine() + 3 * x;
    return {p[0], p[1], p[2]};
}

TEST(DibSection, Create_RowsPadTo4Bytes_AndStartBlack) {
    for (auto [w, h, rowBytes] :
         {std::array{1, 1, 4}, std::array{4, 2, 12}, std::array{5, 3, 16}, std::array{7, 1, 24}}) {
        cDIBSection d;
        ASSERT_TRUE(d.Create(w, h));
        EXPECT_EQ(d.BytesPerScanLine(), rowBytes) << w;
        EXPECT_EQ(d.ImageSize(), rowBytes * h) << w;
        const std::vector<std::uint8_t> zeros(std::size_t(rowBytes * h), 0);
        EXPECT_EQ(std::memcmp(d.DIBSectionBitsPtr(), zeros.data(), zeros.size()), 0) << w;
    }
}

TEST(DibSection, Create_ReplacesAHeldBitmap_RefusedOrOverflowingSizesLeaveItEmpty) {
    cDIBSection d;
    ASSERT_TRUE(d.Create(5, 3));
    ASSERT_TRUE(d.Create(2, 9));
    EXPECT_EQ(QSize(d.Width(), d.Height()), QSize(2, 9));
    for (auto [w, h] : {std::pair{0, 3}, std::pair{3, 0}, std::pair{-1, 4}}) {
        ASSERT_TRUE(d.Create(4, 4));
        EXPECT_FALSE(d.Create(w, h));
        EXPECT_TRUE(d.IsEmpty() && d.Width() == 0 && d.Height() == 0);
    }
    // Row or whole byte count beyond 32 bits.
    for (auto [w, h] : {std::pair{800'000'000, 1}, std::pair{50'000, 50'000}}) {
        ASSERT_TRUE(d.Create(2, 2));
        try {
            d.Create(w, h);
            ADD_FAILURE() << "no overflow for " << w << "x" << h;
        } catch (const ImagingError& e) {
            EXPECT_EQ(e.number(), perlinex::imaging::err::Overflow);
        }
        EXPECT_TRUE(d.IsEmpty());
    }
}

// Three pixels of the top row, then three of the bottom row, in each source format.
TEST(DibSection, CreateFromPicture_AnyFormat_GivesBgrRowsBottomUp) {
    const std::array<QRgb, 6> colours = {qRgb(255, 0, 0), qRgb(0, 255, 0),     qRgb(10, 20, 30),
                                         qRgb(0, 0, 255), qRgb(255, 255, 255), qRgb(200, 100, 50)};
    const std::array<int, 6> levels = {0, 17, 128, 200, 254, 255};
    struct Case {
        QImage image;
        std::array<std::array<int, 3>, 6> expected; // blue, green, red
    };
    const auto colourExpected = std::array<std::array<int, 3>, 6>{
        {{0, 0, 255}, {0, 255, 0}, {30, 20, 10}, {255, 0, 0}, {255, 255, 255}, {50, 100, 200}}};
    std::vector<Case> cases;
    for (auto format : {QImage::Format_RGB32, QImage::Format_ARGB32, QImage::Format_RGB888}) {
        QImage image(3, 2, format);
        for (int i = 0; i < 6; ++i)
            image.setPixel(i % 3, i / 3, colours[std::size_t(i)]);
        cases.push_back({image, colourExpected});
    }
    QImage indexed(3, 2, QImage::Format_Indexed8);
    indexed.setColorTable(QList<QRgb>(colours.rbegin(), colours.rend()));
    QImage gray(3, 2, QImage::Format_Grayscale8);
    std::array<std::array<int, 3>, 6> grayExpected{};
    for (int i = 0; i < 6; ++i) {
        indexed.setPixel(i % 3, i / 3, uint(5 - i));
        gray.scanLine(i / 3)[i % 3] = uchar(levels[std::size_t(i)]);
        grayExpected[std::size_t(i)].fill(levels[std::size_t(i)]);
    }
    cases.push_back({indexed, colourExpected});
    cases.push_back({gray, grayExpected});

    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "format " << c.image.format());
        cDIBSection d;
        d.CreateFromPicture(c.image);
        ASSERT_EQ(QSize(d.Width(), d.Height()), QSize(3, 2));
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(bgr(d, i % 3, 1 - i / 3), c.expected[std::size_t(i)]) << "pixel " << i;
        for (int pad = 9; pad < 12; ++pad)
            EXPECT_EQ(d.DIBSectionBitsPtr()[pad] | d.DIBSectionBitsPtr()[12 + pad], 0);
    }
}

TEST(DibSection, CreateFromPicture_TransparentPartsComeOutAsOnWhitePaper_NullPictureEmpties) {
    QImage image(3, 1, QImage::Format_ARGB32);
    for (int x = 0; x < 3; ++x)
        image.setPixel(x, 0, qRgba(200, 100, 50, std::array{255, 0, 128}[std::size_t(x)]));
    cDIBSection d;
    d.CreateFromPicture(image);
    EXPECT_EQ(bgr(d, 0, 0), (std::array{50, 100, 200}));
    EXPECT_EQ(bgr(d, 1, 0), (std::array{255, 255, 255}));
    // Halfway to white, give or take the premultiplication.
    const std::array<int, 3> colour = {50, 100, 200}, half = bgr(d, 2, 0);
    for (std::size_t c = 0; c < 3; ++c)
        EXPECT_NEAR(half[c], colour[c] * 128 / 255.0 + 127, 1.0);

    d.CreateFromPicture(QImage());
    EXPECT_TRUE(d.IsEmpty() && d.Width() == 0 && d.Height() == 0);
    EXPECT_TRUE(d.ToImage().isNull());
}

// Scales 2/6: target column 5 samples source position 5/3 (x0 = 1, dx about 0.667), and the
// last target row and column never reach the source's last. Red mirrors blue and green is flat,
// so a channel read from the wrong byte shows.
TEST(DibSection, Resample_3x3To6x6_BlendsBilinearly) {
    const int blue[3][3] = {{10, 200, 40}, {90, 0, 255}, {30, 120, 60}};
    const int expected[6][6] = {{10, 73, 137, 200, 147, 93}, {37, 69, 101, 133, 126, 119},
                                {63, 64, 66, 67, 106, 144},  {90, 60, 30, 0, 85, 170},
                                {70, 60, 50, 40, 90, 140},   {50, 60, 70, 80, 95, 110}};
    cDIBSection d;
    ASSERT_TRUE(d.Create(3, 3));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) {
            at(d, x, y, 0) = std::uint8_t(blue[y][x]);
            at(d, x, y, 1) = 77;
            at(d, x, y, 2) = std::uint8_t(255 - blue[y][x]);
        }
    const auto big = d.Resample(6, 6);
    ASSERT_TRUE(big && big->Width() == 6 && big->Height() == 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(bgr(*big, x, y), (std::array{expected[y][x], 77, 255 - expected[y][x]}))
                << x << "," << y;
}

// Scales of exactly one half put samples halfway: 1.5 and 2.5 both give 2.
TEST(DibSection, Resample_HalfwaySamples_RoundToEven) {
    const int expected[4][8] = {{1, 2, 2, 2, 3, 4, 4, 4},
                                {2, 2, 2, 3, 4, 4, 4, 5},
                                {2, 2, 3, 4, 4, 4, 5, 6},
                                {2, 3, 4, 4, 4, 5, 6, 6}};
    cDIBSection d;
    ASSERT_TRUE(d.Create(5, 3));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            at(d, x, y, 1) = std::uint8_t(1 + x + y);
    const auto big = d.Resample(4, 8);
    ASSERT_TRUE(big);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(at(*big, x, y, 1), expected[y][x]) << x << "," << y;
}

TEST(DibSection, Resample_OnePixelWide_SameSize_AndEmpty) {
    cDIBSection column;
    ASSERT_TRUE(column.Create(1, 3));
    for (int y = 0; y < 3; ++y)
        at(column, 0, y, 0) = std::uint8_t(10 * (y + 1));
    const auto wide = column.Resample(5, 4);
    ASSERT_TRUE(wide);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(bgr(*wide, x, y), (std::array{10 + 4 * y, 0, 0})) << x << "," << y;

    const auto copy = wide->Resample(5, 4);
    ASSERT_TRUE(copy);
    EXPECT_NE(copy->DIBSectionBitsPtr(), wide->DIBSectionBitsPtr());
    EXPECT_EQ(std::memcmp(copy->DIBSectionBitsPtr(), wide->DIBSectionBitsPtr(),
                          std::size_t(wide->ImageSize())),
              0);

    EXPECT_EQ(wide->Resample(0, 3), nullptr);
    EXPECT_EQ(cDIBSection().Resample(2, 2), nullptr);
}

TEST(DibSection, RandomiseBits_FillsPixelsButNotThePadding) {
    for (bool gray : {true, false}) {
        cDIBSection d;
        ASSERT_TRUE(d.Create(33, 20)); // 99 bytes of pixels and 1 of padding a row
        std::memset(d.DIBSectionBitsPtr(), 0xAB, std::size_t(d.ImageSize()));
        d.RandomiseBits(gray);
        std::set<int> reds;
        for (int y = 0; y < 20; ++y) {
            EXPECT_EQ(d.DIBSectionBitsPtr()[y * 100 + 99], 0xAB);
            for (int x = 0; x < 33; ++x) {
                const auto [b, g, r] = bgr(d, x, y);
                EXPECT_EQ(b, gray ? r : 0);
                EXPECT_EQ(g, gray ? r : g);
                reds.insert(r);
            }
        }
        EXPECT_GT(reds.size(), 100u) << gray;
    }
}

TEST(DibSection, CopyToClipboard_AsBitmap_PutsThePictureThere_AsDib_OnlyTellsTheUser) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("before"));
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(qRgb(1, 2, 3));
    picture.setPixel(0, 0, qRgb(250, 0, 9));
    cDIBSection d;
    d.CreateFromPicture(picture);
    std::vector<QString> told;
    const auto tell = [&](const QString& text) { told.push_back(text); };

    EXPECT_FALSE(d.CopyToClipboard(true, tell));
    EXPECT_EQ(told,
              std::vector<QString>{QStringLiteral(
                  "I don't know how to put a DIB on the clipboard! Copy as bitmap instead!!!")});
    EXPECT_EQ(clipboard->text(), QStringLiteral("before"));

    EXPECT_TRUE(d.CopyToClipboard(false, tell));
    EXPECT_EQ(told.size(), 1u);
    EXPECT_EQ(clipboard->image().convertToFormat(QImage::Format_RGB32), picture);
    EXPECT_FALSE(cDIBSection().CopyToClipboard(false, tell));
}

} // namespace
