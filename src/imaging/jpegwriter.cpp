#include "imaging/jpegwriter.h"

#include "imaging/imagingerror.h"
#include "util/durablefile.h"
#include "util/translation.h"

#include <QCoreApplication>
#include <cerrno>
#include <memory>
#include <turbojpeg.h>

namespace perlinex::imaging {

namespace {

struct CompressorDeleter {
    void operator()(void* handle) const { tjDestroy(handle); }
};
using Compressor = std::unique_ptr<void, CompressorDeleter>;

struct JpegBufferDeleter {
    void operator()(unsigned char* p) const { tjFree(p); }
};

[[noreturn]] void failSave(int code, const QString& detail, int systemError = 0) {
    throw ImagingError(err::JpegWriter,
                       QCoreApplication::translate("SaveJPG", "Failed to save to JPG %1").arg(code),
                       detail, systemError);
}

} // namespace

QByteArray EncodeJPG(const cDIBSection& cDib, int lQuality) {
    const Compressor compressor(tjInitCompress());
    if (!compressor)
        throw ImagingError(
            err::JpegWriter,
            QCoreApplication::translate("SaveJPG", "Failed to initialise the IJL library: %1")
                .arg(jpegcode::EncoderFailed),
            QString::fromLocal8Bit(tjGetErrorStr2(nullptr)));

    // A picture with no bitmap behind it must not blank the stored one.
    if (cDib.IsEmpty())
        failSave(jpegcode::EmptyBitmap, translate("SaveJPG", "the picture has no bitmap"));

    if (lQuality < 1 || lQuality > 100)
        failSave(jpegcode::BadQuality,
                 translate("SaveJPG", "quality %1 is not 1 to 100").arg(lQuality));

    // The rows are read where they lie: bottom-up, blue-green-red, padded to 4 bytes.
    unsigned char* jpeg = nullptr;
    unsigned long jpegSize = 0;
    const int rc = tjCompress2(compressor.get(), cDib.DIBSectionBitsPtr(), cDib.Width(),
                               cDib.BytesPerScanLine(), cDib.Height(), TJPF_BGR, &jpeg, &jpegSize,
                               TJSAMP_420, lQuality, TJFLAG_BOTTOMUP);
    const std::unique_ptr<unsigned char, JpegBufferDeleter> owned(jpeg);
    if (rc != 0)
        failSave(jpegcode::EncoderFailed, QString::fromLocal8Bit(tjGetErrorStr2(compressor.get())));
    return QByteArray(reinterpret_cast<const char*>(jpeg), qsizetype(jpegSize));
}

bool SaveJPG(const cDIBSection& cDib, const QString& sFile, int lQuality) {
    const QByteArray jpeg = EncodeJPG(cDib, lQuality);
    // Written beside the old picture and put in its place only when whole: a failed write
    // never loses the stamp's picture. The new file is of its own time, so that tools which
    // compare times see that the picture changed.
    try {
        durable::replaceFile(sFile, [&](const QString& temp) {
            durable::writeBytes(temp, jpeg.constData(), jpeg.size());
        });
    } catch (const durable::FileError& e) {
        failSave(e.systemError() ? e.systemError() : EIO, e.text(), e.systemError());
    }
    return true;
}

} // namespace perlinex::imaging
