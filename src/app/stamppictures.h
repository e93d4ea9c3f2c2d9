#pragma once

#include <QImage>
#include <QString>
#include <cstdint>

namespace perlinex {

class Program;

// The stamps' pictures: one file per stamp in the picture folder, named from the stamp's
// number with eight digits ("00000012.jpg"); the store holds no picture and no file name.
class StampPictures {
public:
    explicit StampPictures(Program& program) : program_(program) {}

    // The picture file of a stamp: a file named with its eight-digit number and any
    // extension, a JPEG first; empty when there is none. Files being written are passed over.
    QString findFile(std::int64_t id) const;
    // Where the stamp's picture is stored.
    QString jpegPath(std::int64_t id) const;

    // A picture found as a bitmap (".bmp", in lower case) is stored as JPEG and the bitmap
    // deleted; when that fails the user is told and the bitmap stays. Returns the file that
    // holds the picture now.
    QString convertBitmap(const QString& bitmapFile);

    // Stores picture as the stamp's picture file. A picture with no bitmap behind it (an
    // empty clipboard, a drawing) keeps the stored one; either way the user is told what went
    // wrong. True when the picture was stored.
    bool save(std::int64_t id, const QImage& picture);

    // The filter of the "Load Image" dialog.
    static QString loadFilter();

private:
    bool writeJpeg(const QImage& picture, const QString& path);

    Program& program_;
};

} // namespace perlinex
