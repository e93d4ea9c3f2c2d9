#pragma once

#include "imaging/dibsection.h"

#include <QString>

namespace perlinex::imaging {

// The codes that follow "Failed to save to JPG " when the failure is not the system's own
// (the system's failures give their errno, a positive number).
namespace jpegcode {
constexpr int EncoderFailed = -1;
constexpr int EmptyBitmap = -2;
constexpr int BadQuality = -3;
} // namespace jpegcode

// The bitmap as the bytes of a JPEG file of the given quality (1 to 100), its rows read in
// place. Every failure throws ImagingError (err::JpegWriter); an empty bitmap is such a
// failure.
QByteArray EncodeJPG(const cDIBSection& cDib, int lQuality);

// Writes the bitmap to sFile as a JPEG file of the given quality (1 to 100), reading its
// rows in place. An existing file is replaced only once the new one is complete and keeps
// its permissions and owner; its times are those of the new writing. Every failure throws
// ImagingError (err::JpegWriter) and leaves any old file as it was; an empty bitmap is such
// a failure. Returns true.
bool SaveJPG(const cDIBSection& cDib, const QString& sFile, int lQuality);

} // namespace perlinex::imaging
