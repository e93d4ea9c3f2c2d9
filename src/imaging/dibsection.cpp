#include "imaging/dibsection.h"

#include "imaging/imagingerror.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDateTime>
#include <QGuiApplication>
#include <QMimeData>
#include <QRandomGenerator>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

namespace perlinex::imaging {

namespace {

constexpr std::int64_t kMaxInt = std::numeric_limits<std::int32_t>::max();

// Row length in bytes: 3 per pixel, rounded up to a multiple of 4.
std::int64_t scanLineBytes(std::int64_t width) {
    return (width * 3 + 3) & ~std::int64_t(3);
}

// The pixel counts of a bitmap are 32-bit numbers; a size whose row or whole byte count
// leaves that range is an overflow, not a smaller bitmap.
void checkSize(std::int64_t width, std::int64_t height) {
    const std::int64_t rowBytes = scanLineBytes(width);
    if (width * 3 + 3 > kMaxInt || rowBytes * height > kMaxInt)
        throw ImagingError(err::Overflow, QCoreApplication::translate("cDIBSection", "Overflow"));
}

std::uint8_t roundToByte(double v) {
    return static_cast<std::uint8_t>(std::nearbyint(v));
}

} // namespace

cDIBSection::cDIBSection(cDIBSection&& other) noexcept
    : bits_(std::move(other.bits_)), width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)) {}

cDIBSection& cDIBSection::operator=(cDIBSection&& other) noexcept {
    if (this != &other) {
        bits_ = std::move(other.bits_);
        width_ = std::exchange(other.width_, 0);
        height_ = std::exchange(other.height_, 0);
    }
    return *this;
}

int cDIBSection::BytesPerScanLine() const {
    return int(scanLineBytes(width_));
}

bool cDIBSection::Create(int lWidth, int lHeight) {
    ClearUp();
    if (lWidth <= 0 || lHeight <= 0)
        return false;
    checkSize(lWidth, lHeight);
    // calloc hands large blocks over as fresh zero pages, so a bitmap that is about to be
    // overwritten costs no extra pass.
    auto* p = static_cast<std::uint8_t*>(
        std::calloc(std::size_t(scanLineBytes(lWidth)) * std::size_t(lHeight), 1));
    if (!p)
        return false;
    bits_.reset(p);
    width_ = lWidth;
    height_ = lHeight;
    return true;
}

void cDIBSection::ClearUp() {
    bits_.reset();
    width_ = 0;
    height_ = 0;
}

void cDIBSection::CreateFromPicture(const QImage& picThis) {
    if (!Create(picThis.width(), picThis.height()))
        return;
    // Premultiplied pixels blend onto white with one addition per channel:
    // c·a/255 + 255·(1 − a/255) = premultiplied c + 255 − a.
    const QImage src = picThis.convertToFormat(
        picThis.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    if (src.isNull()) {
        ClearUp();
        return;
    }
    for (int y = 0; y < height_; ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        std::uint8_t* out = row(height_ - 1 - y);
        for (int x = 0; x < width_; ++x, out += 3) {
            const QRgb p = in[x];
            const int white = 255 - qAlpha(p);
            out[0] = std::uint8_t(qBlue(p) + white);
            out[1] = std::uint8_t(qGreen(p) + white);
            out[2] = std::uint8_t(qRed(p) + white);
        }
    }
}

QImage cDIBSection::ToImage() const {
    if (IsEmpty())
        return QImage();
    QImage image(width_, height_, QImage::Format_BGR888);
    if (image.isNull())
        return image;
    const std::size_t bytes = std::size_t(width_) * 3;
    for (int y = 0; y < height_; ++y)
        std::memcpy(image.scanLine(y), row(height_ - 1 - y), bytes);
    return image;
}

QString cDIBSection::DibClipboardMessage() {
    return QCoreApplication::translate(
        "cDIBSection", "I don't know how to put a DIB on the clipboard! Copy as bitmap instead!!!");
}

bool cDIBSection::CopyToClipboard(bool bAsDIB, const MessageSink& tell) {
    if (!qGuiApp)
        return false;
    if (bAsDIB) {
        if (tell)
            tell(DibClipboardMessage());
        return false;
    }
    const QImage image = ToImage();
    if (image.isNull())
        return false;
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setImage(image);
    const QMimeData* data = clipboard->mimeData();
    return data && data->hasImage();
}

void cDIBSection::RandomiseBits(bool bGray) {
    QRandomGenerator random(quint32(QDateTime::currentMSecsSinceEpoch()));
    auto next = [&] { return roundToByte(random.generateDouble() * 255.0); };
    for (int y = 0; y < height_; ++y) {
        std::uint8_t* p = row(y);
        for (int x = 0; x < width_; ++x, p += 3) {
            if (bGray) {
                p[0] = p[1] = p[2] = next();
            } else {
                p[0] = 0;
                p[1] = next();
                p[2] = next();
            }
        }
    }
}

std::unique_ptr<cDIBSection> cDIBSection::Resample(int lNewHeight, int lNewWidth) const {
    if (IsEmpty())
        return nullptr;
    auto result = std::make_unique<cDIBSection>();
    if (!result->Create(lNewWidth, lNewHeight))
        return nullptr;
    if (lNewWidth == width_ && lNewHeight == height_)
        std::memcpy(result->bits_.get(), bits_.get(), std::size_t(ImageSize()));
    else
        ResampleInto(*result);
    return result;
}

// Bilinear sampling with the scales (W − 1) / W2 and (H − 1) / H2, so the last target column
// and row fall just short of the last source ones. Scales and fractions are single precision,
// the blends double; each blend rounds half to even, the vertical one before the horizontal.
// A source one pixel wide or high has no next column or row: the last one stands in for it
// (its weight is then 0 anyway).
void cDIBSection::ResampleInto(cDIBSection& target) const {
    const float xScale = float(width_ - 1) / float(target.width_);
    const float yScale = float(height_ - 1) / float(target.height_);
    for (int y = 0; y < target.height_; ++y) {
        const float fy = yScale * float(y);
        const int y0 = int(std::floor(fy));
        const double dy = double(fy - float(y0));
        const std::uint8_t* top = row(y0);
        const std::uint8_t* next = row(std::min(y0 + 1, height_ - 1));
        std::uint8_t* out = target.row(y);
        for (int x = 0; x < target.width_; ++x, out += 3) {
            const float fx = xScale * float(x);
            const int x0 = int(std::floor(fx));
            const double dx = double(fx - float(x0));
            const int left = 3 * x0;
            const int right = 3 * std::min(x0 + 1, width_ - 1);
            for (int c = 0; c < 3; ++c) {
                const double l = roundToByte((1.0 - dy) * top[left + c] + dy * next[left + c]);
                const double r = roundToByte((1.0 - dy) * top[right + c] + dy * next[right + c]);
                out[c] = roundToByte((1.0 - dx) * l + dx * r);
            }
        }
    }
}

} // namespace perlinex::imaging
