#pragma once

#include <QString>
#include <stdexcept>

namespace perlinex::imaging {

namespace err {
constexpr int Overflow = 6;
constexpr int JpegWriter = 26001;
} // namespace err

// A failure of the bitmap or the JPEG writer: a number, a text for the user, and the
// technical reason behind it (the system's or the encoder's own words) for diagnosis.
class ImagingError : public std::runtime_error {
public:
    ImagingError(int number, const QString& text, const QString& detail = QString(),
                 int systemError = 0)
        : std::runtime_error(text.toStdString()), number_(number), text_(text), detail_(detail),
          systemError_(systemError) {}
    int number() const { return number_; }
    const QString& text() const { return text_; }
    const QString& detail() const { return detail_; }
    // The system's error number (errno) when the file could not be written, else 0; it tells
    // a full disk from other causes.
    int systemError() const { return systemError_; }

private:
    int number_;
    QString text_;
    QString detail_;
    int systemError_;
};

} // namespace perlinex::imaging
