#pragma once

#include <QImage>
#include <QString>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>

namespace perlinex::imaging {

// Shows a fixed message to the user (the caller routes it through its dialog service).
using MessageSink = std::function<void(const QString& text)>;

// One uncompressed 24-bit bitmap: blue-green-red pixels, each row padded to a multiple of
// 4 bytes, rows bottom-up (the first row in memory is the bottom row of the picture). The
// JPEG writer and the resampler read this memory in place.
class cDIBSection {
public:
    cDIBSection() = default;
    ~cDIBSection() = default;
    cDIBSection(const cDIBSection&) = delete;
    cDIBSection& operator=(const cDIBSection&) = delete;
    cDIBSection(cDIBSection&& other) noexcept;
    cDIBSection& operator=(cDIBSection&& other) noexcept;

    // Replaces any bitmap held with a black one of the given size. False when a side is not
    // positive or the memory cannot be had; the object is then empty. A size whose byte
    // count does not fit 32 bits throws ImagingError (err::Overflow).
    bool Create(int lWidth, int lHeight);

    // Takes a copy of the picture, whatever its format. Transparent parts come out as on
    // white paper. A null picture leaves the object empty.
    void CreateFromPicture(const QImage& picThis);

    // Releases the bitmap; the object is empty afterwards.
    void ClearUp();

    int Width() const { return width_; }
    int Height() const { return height_; }
    // width × 3 rounded up to a multiple of 4.
    int BytesPerScanLine() const;
    int ImageSize() const { return BytesPerScanLine() * height_; }
    bool IsEmpty() const { return !bits_; }

    // The first byte of the bottom row; null while the object is empty.
    std::uint8_t* DIBSectionBitsPtr() { return bits_.get(); }
    const std::uint8_t* DIBSectionBitsPtr() const { return bits_.get(); }

    // A top-down copy for display and the clipboard; a null image while empty.
    QImage ToImage() const;

    // Puts the bitmap on the clipboard. A device-independent copy is not offered: that request
    // tells the user so through tell and returns false.
    bool CopyToClipboard(bool bAsDIB, const MessageSink& tell = {});

    // Fills every pixel (not the row padding) with random grey, or with random red and green
    // over no blue.
    void RandomiseBits(bool bGray);

    // A new bitmap of the given size (height first) made by bilinear sampling; null when it
    // cannot be created or this one is empty.
    std::unique_ptr<cDIBSection> Resample(int lNewHeight, int lNewWidth) const;

    static QString DibClipboardMessage();

private:
    struct FreeBytes {
        void operator()(std::uint8_t* p) const { std::free(p); }
    };

    void ResampleInto(cDIBSection& target) const;
    std::uint8_t* row(int y) { return bits_.get() + std::size_t(y) * BytesPerScanLine(); }
    const std::uint8_t* row(int y) const {
        return bits_.get() + std::size_t(y) * BytesPerScanLine();
    }

    std::unique_ptr<std::uint8_t, FreeBytes> bits_;
    int width_ = 0;
    int height_ = 0;
};

} // namespace perlinex::imaging
