#include "imaging/dibsection.h"
#include "imaging/imagingerror.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <array>
#include <cstring>
#include <gtest/gtest.h>
#include <set>
#include <vector>

namespace {

using perlinex::imaging::cDIBSection;
using perlinex::imaging::ImagingError;

struct Bgr {
    int b, g, r;
    bool operator==(const Bgr&) const = default;
};

void PrintTo(const Bgr& p, std::ostream* os) {
    *os << "(" << p.b << "," << p.g << "," << p.r << ")";
}

// x counts from the left, memRow from the first row in memory (the picture's bottom row).
Bgr pixel(const cDIBSection& d, int x, int memRow) {
    const auto* p = d.DIBSectionBitsPtr() + memRow * d.BytesPerScanLine() + 3 * x;
    return {p[0], p[1], p[2]};
}

void setPixel(cDIBSection& d, int x, int memRow, Bgr v) {
    auto* p = d.DIBSectionBitsPtr() + memRow * d.BytesPerScanLine() + 3 * x;
    p[0] = std::uint8_t(v.b);
    p[1] = std::uint8_t(v.g);
    p[2] = std::uint8_t(v.r);
}

template <std::size_t W, std::size_t H> using Grid = std::array<std::array<int, W>, H>;

TEST(DibSection, Create_RowsPadTo4Bytes_AndStartBlack) {
    struct Case {
        int w, h, rowBytes, size;
    };
    for (const Case c : {Case{1, 1, 4, 4}, Case{4, 2, 12, 24}, Case{5, 3, 16, 48},
                         Case{7, 1, 24, 24}, Case{8, 3, 24, 72}}) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
        cDIBSection d;
        ASSERT_TRUE(d.Create(c.w, c.h));
        EXPECT_EQ(d.Width(), c.w);
        EXPECT_EQ(d.Height(), c.h);
        EXPECT_EQ(d.BytesPerScanLine(), c.rowBytes);
        EXPECT_EQ(d.ImageSize(), c.size);
        const std::vector<std::uint8_t> zeros(std::size_t(c.size), 0);
        EXPECT_EQ(std::memcmp(d.DIBSectionBitsPtr(), zeros.data(), zeros.size()), 0);
    }
}

TEST(DibSection, Create_OnAHeldBitmap_ReplacesIt_AndARefusedSizeLeavesItEmpty) {
    cDIBSection d;
    ASSERT_TRUE(d.Create(5, 3));
    ASSERT_TRUE(d.Create(2, 9));
    EXPECT_EQ(d.Width(), 2);
    EXPECT_EQ(d.Height(), 9);
    for (auto [w, h] : {std::pair{0, 3}, std::pair{3, 0}, std::pair{-1, 4}}) {
        ASSERT_TRUE(d.Create(4, 4));
        EXPECT_FALSE(d.Create(w, h));
        EXPECT_TRUE(d.IsEmpty());
        EXPECT_EQ(d.Width(), 0);
        EXPECT_EQ(d.DIBSectionBitsPtr(), nullptr);
    }
}

TEST(DibSection, Create_ByteCountBeyond32Bits_IsAnOverflow) {
    for (auto [w, h] : {std::pair{800'000'000, 1}, std::pair{50'000, 50'000}}) {
        cDIBSection d;
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

// A 3 × 2 picture: the top row red, green, a dark blue-grey; the bottom row blue, white and
// an orange brown. Each format below holds the same colours.
const std::array<QRgb, 6> kColours = {qRgb(255, 0, 0), qRgb(0, 255, 0),     qRgb(10, 20, 30),
                                      qRgb(0, 0, 255), qRgb(255, 255, 255), qRgb(200, 100, 50)};

QImage colourPicture(QImage::Format format) {
    if (format == QImage::Format_Indexed8) {
        QImage image(3, 2, format);
        image.setColorTable(QList<QRgb>(kColours.begin(), kColours.end()));
        for (int i = 0; i < 6; ++i)
            image.setPixel(i % 3, i / 3, uint(i));
        return image;
    }
    QImage image(3, 2, format);
    for (int i = 0; i < 6; ++i)
        image.setPixel(i % 3, i / 3, kColours[std::size_t(i)]);
    return image;
}

void expectBottomUp(const cDIBSection& d, const std::array<Bgr, 6>& topDown) {
    ASSERT_EQ(d.Width(), 3);
    ASSERT_EQ(d.Height(), 2);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(pixel(d, i % 3, 1 - i / 3), topDown[std::size_t(i)]) << "pixel " << i;
    for (int memRow = 0; memRow < 2; ++memRow)
        for (int pad = 9; pad < 12; ++pad)
            EXPECT_EQ(d.DIBSectionBitsPtr()[memRow * 12 + pad], 0);
}

TEST(DibSection, CreateFromPicture_AnyFormat_GivesBgrRowsBottomUp) {
    const std::array<Bgr, 6> expected = {Bgr{0, 0, 255}, Bgr{0, 255, 0},     Bgr{30, 20, 10},
                                         Bgr{255, 0, 0}, Bgr{255, 255, 255}, Bgr{50, 100, 200}};
    for (auto format : {QImage::Format_RGB32, QImage::Format_ARGB32, QImage::Format_RGB888,
                        QImage::Format_Indexed8, QImage::Format_RGB16}) {
        SCOPED_TRACE(testing::Message() << "format " << format);
        cDIBSection d;
        d.CreateFromPicture(colourPicture(format));
        if (format == QImage::Format_RGB16) {
            // Five or six bits a channel: only the pure colours survive exactly.
            EXPECT_EQ(pixel(d, 0, 1), expected[0]);
            EXPECT_EQ(pixel(d, 1, 0), expected[4]);
            continue;
        }
        expectBottomUp(d, expected);
    }
}

TEST(DibSection, CreateFromPicture_Grayscale_GivesEqualChannels) {
    QImage gray(3, 2, QImage::Format_Grayscale8);
    const std::array<int, 6> levels = {0, 17, 128, 200, 254, 255};
    for (int i = 0; i < 6; ++i)
        gray.scanLine(i / 3)[i % 3] = uchar(levels[std::size_t(i)]);
    cDIBSection d;
    d.CreateFromPicture(gray);
    std::array<Bgr, 6> expected{};
    for (int i = 0; i < 6; ++i)
        expected[std::size_t(i)] = {levels[std::size_t(i)], levels[std::size_t(i)],
                                    levels[std::size_t(i)]};
    expectBottomUp(d, expected);
}

TEST(DibSection, CreateFromPicture_TransparentParts_ComeOutAsOnWhitePaper) {
    QImage image(3, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(200, 100, 50, 255));
    image.setPixel(1, 0, qRgba(200, 100, 50, 0));
    image.setPixel(2, 0, qRgba(200, 100, 50, 128));
    cDIBSection d;
    d.CreateFromPicture(image);
    EXPECT_EQ(pixel(d, 0, 0), (Bgr{50, 100, 200}));
    EXPECT_EQ(pixel(d, 1, 0), (Bgr{255, 255, 255}));
    // Half covered: halfway between the colour and white, give or take the premultiplication.
    const Bgr half = pixel(d, 2, 0);
    EXPECT_NEAR(half.b, 50 * 128 / 255.0 + 127, 1.0);
    EXPECT_NEAR(half.g, 100 * 128 / 255.0 + 127, 1.0);
    EXPECT_NEAR(half.r, 200 * 128 / 255.0 + 127, 1.0);
}

TEST(DibSection, CreateFromPicture_NullPicture_LeavesTheObjectEmpty) {
    cDIBSection d;
    ASSERT_TRUE(d.Create(4, 4));
    d.CreateFromPicture(QImage());
    EXPECT_TRUE(d.IsEmpty());
    EXPECT_EQ(d.Width(), 0);
    EXPECT_EQ(d.Height(), 0);
    EXPECT_TRUE(d.ToImage().isNull());
}

TEST(DibSection, ToImage_GivesThePictureBackTopDown) {
    const QImage source = colourPicture(QImage::Format_RGB32);
    cDIBSection d;
    d.CreateFromPicture(source);
    EXPECT_EQ(d.ToImage().convertToFormat(QImage::Format_RGB32), source);
}

template <std::size_t W, std::size_t H>
void fillChannel(cDIBSection& d, int channel, const Grid<W, H>& values) {
    for (std::size_t y = 0; y < H; ++y)
        for (std::size_t x = 0; x < W; ++x)
            d.DIBSectionBitsPtr()[y * std::size_t(d.BytesPerScanLine()) + 3 * x +
                                  std::size_t(channel)] = std::uint8_t(values[y][x]);
}

template <std::size_t W, std::size_t H>
void expectChannel(const cDIBSection& d, int channel, const Grid<W, H>& values) {
    ASSERT_EQ(d.Width(), int(W));
    ASSERT_EQ(d.Height(), int(H));
    for (std::size_t y = 0; y < H; ++y)
        for (std::size_t x = 0; x < W; ++x)
            EXPECT_EQ(d.DIBSectionBitsPtr()[y * std::size_t(d.BytesPerScanLine()) + 3 * x +
                                            std::size_t(channel)],
                      values[y][x])
                << "channel " << channel << " at " << x << "," << y;
}

// Rows in memory order. The scale is 2/6, so target column 5 samples source position 5/3:
// x0 = 1, dx about 0.667, and the last target row and column never reach the source's last.
TEST(DibSection, Resample_3x3To6x6_BlendsBilinearly) {
    const Grid<3, 3> blue = {{{10, 200, 40}, {90, 0, 255}, {30, 120, 60}}};
    const Grid<3, 3> red = {{{255, 0, 128}, {7, 77, 177}, {250, 3, 99}}};
    const Grid<3, 3> green = {{{77, 77, 77}, {77, 77, 77}, {77, 77, 77}}};
    cDIBSection d;
    ASSERT_TRUE(d.Create(3, 3));
    fillChannel(d, 0, blue);
    fillChannel(d, 1, green);
    fillChannel(d, 2, red);

    const auto big = d.Resample(6, 6);
    ASSERT_NE(big, nullptr);
    expectChannel(*big, 0,
                  Grid<6, 6>{{{10, 73, 137, 200, 147, 93},
                              {37, 69, 101, 133, 126, 119},
                              {63, 64, 66, 67, 106, 144},
                              {90, 60, 30, 0, 85, 170},
                              {70, 60, 50, 40, 90, 140},
                              {50, 60, 70, 80, 95, 110}}});
    expectChannel(*big, 1,
                  Grid<6, 6>{{{77, 77, 77, 77, 77, 77},
                              {77, 77, 77, 77, 77, 77},
                              {77, 77, 77, 77, 77, 77},
                              {77, 77, 77, 77, 77, 77},
                              {77, 77, 77, 77, 77, 77},
                              {77, 77, 77, 77, 77, 77}}});
    expectChannel(*big, 2,
                  Grid<6, 6>{{{255, 170, 85, 0, 43, 85},
                              {172, 123, 75, 26, 65, 105},
                              {90, 77, 64, 51, 88, 124},
                              {7, 30, 54, 77, 110, 144},
                              {88, 76, 64, 52, 85, 118},
                              {169, 122, 75, 28, 60, 93}}});
}

// Scales of exactly one half put many samples halfway: 1.5 gives 2 but 2.5 gives 2 as well.
TEST(DibSection, Resample_HalfwaySamples_RoundToEven) {
    const Grid<5, 3> ramp = {{{1, 2, 3, 4, 5}, {2, 3, 4, 5, 6}, {3, 4, 5, 6, 7}}};
    cDIBSection d;
    ASSERT_TRUE(d.Create(5, 3));
    for (int c = 0; c < 3; ++c)
        fillChannel(d, c, ramp);
    const auto big = d.Resample(4, 8);
    ASSERT_NE(big, nullptr);
    const Grid<8, 4> expected = {{{1, 2, 2, 2, 3, 4, 4, 4},
                                  {2, 2, 2, 3, 4, 4, 4, 5},
                                  {2, 2, 3, 4, 4, 4, 5, 6},
                                  {2, 3, 4, 4, 4, 5, 6, 6}}};
    for (int c = 0; c < 3; ++c)
        expectChannel(*big, c, expected);
}

TEST(DibSection, Resample_OnePixelWideSource_UsesItsOnlyColumn) {
    cDIBSection d;
    ASSERT_TRUE(d.Create(1, 3));
    for (int y = 0; y < 3; ++y)
        setPixel(d, 0, y, {10 * (y + 1), 0, 255});
    const auto big = d.Resample(5, 4);
    ASSERT_NE(big, nullptr);
    const std::array<int, 5> blues = {10, 14, 18, 22, 26};
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(pixel(*big, x, y), (Bgr{blues[std::size_t(y)], 0, 255})) << x << "," << y;
}

TEST(DibSection, Resample_SameSize_IsAnExactCopy_AndAnEmptySourceOrSizeGivesNone) {
    cDIBSection d;
    d.CreateFromPicture(colourPicture(QImage::Format_RGB32));
    const auto copy = d.Resample(2, 3);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->ToImage(), d.ToImage());
    EXPECT_NE(copy->DIBSectionBitsPtr(), d.DIBSectionBitsPtr());

    EXPECT_EQ(d.Resample(0, 3), nullptr);
    EXPECT_EQ(cDIBSection().Resample(2, 2), nullptr);
}

TEST(DibSection, RandomiseBits_FillsPixelsButNotThePadding) {
    for (bool gray : {true, false}) {
        SCOPED_TRACE(gray ? "gray" : "colour");
        cDIBSection d;
        ASSERT_TRUE(d.Create(33, 20)); // 99 bytes of pixels, 1 of padding a row
        std::memset(d.DIBSectionBitsPtr(), 0xAB, std::size_t(d.ImageSize()));
        d.RandomiseBits(gray);
        std::set<int> seen;
        for (int y = 0; y < 20; ++y) {
            EXPECT_EQ(d.DIBSectionBitsPtr()[y * 100 + 99], 0xAB);
            for (int x = 0; x < 33; ++x) {
                const Bgr p = pixel(d, x, y);
                if (gray) {
                    EXPECT_EQ(p.b, p.g);
                    EXPECT_EQ(p.g, p.r);
                } else {
                    EXPECT_EQ(p.b, 0);
                }
                seen.insert(p.r);
            }
        }
        EXPECT_GT(seen.size(), 100u);
    }
}

TEST(DibSection, CopyToClipboard_AsBitmap_PutsThePictureThere_AsDib_OnlyTellsTheUser) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("before"));
    cDIBSection d;
    d.CreateFromPicture(colourPicture(QImage::Format_RGB32));
    std::vector<QString> told;
    const auto tell = [&](const QString& text) { told.push_back(text); };

    EXPECT_FALSE(d.CopyToClipboard(true, tell));
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0], QStringLiteral("I don't know how to put a DIB on the clipboard! Copy as "
                                      "bitmap instead!!!"));
    EXPECT_EQ(clipboard->text(), QStringLiteral("before"));

    EXPECT_TRUE(d.CopyToClipboard(false, tell));
    EXPECT_EQ(told.size(), 1u);
    EXPECT_EQ(clipboard->image().convertToFormat(QImage::Format_RGB32),
              colourPicture(QImage::Format_RGB32));

    EXPECT_FALSE(cDIBSection().CopyToClipboard(false, tell));
}

} // namespace
