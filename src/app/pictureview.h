#pragma once

#include <QImage>
#include <QScrollArea>
#include <QString>

class QLabel;

namespace perlinex {

// The scrollable view of a stamp's picture. Fitted to the view, a picture file is decoded at
// the size shown (a 24-megapixel photograph then costs a fraction of its full decoding); at
// actual size it is decoded whole, once.
class PictureView : public QScrollArea {
    Q_OBJECT
public:
    explicit PictureView(QWidget* parent = nullptr);

    // Shows a picture file; false when it cannot be read (the view is then empty).
    bool showFile(const QString& path);
    // Shows a picture held in memory (pasted); a null image empties the view.
    void showImage(const QImage& image);
    void clear();

    bool isEmpty() const;
    // The picture at its full size: decoded whole from its file when it came from one.
    QImage fullImage() const;
    QString file() const { return file_; }

    bool actualSize() const { return actualSize_; }
    void setActualSize(bool actual);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void render();

    QLabel* label_;
    QString file_;        // the picture's file, when it came from one
    QImage memory_;       // the picture, when it came from memory
    mutable QImage full_; // the file decoded whole, once asked for
    QSize fileSize_;
    bool actualSize_ = false;
};

} // namespace perlinex
