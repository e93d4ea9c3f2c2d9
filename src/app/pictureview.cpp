#include "app/pictureview.h"

#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QResizeEvent>

namespace perlinex {

PictureView::PictureView(QWidget* parent) : QScrollArea(parent), label_(new QLabel) {
    label_->setAlignment(Qt::AlignCenter);
    label_->setObjectName(QStringLiteral("lblPicture"));
    setWidget(label_);
    setAlignment(Qt::AlignCenter);
    setWidgetResizable(true);
    setBackgroundRole(QPalette::Dark);
}

bool PictureView::showFile(const QString& path) {
    QImageReader reader(path);
    // A file the reader cannot take leaves the view as it was.
    if (!reader.canRead())
        return false;
    clear();
    file_ = path;
    fileSize_ = reader.size();
    render();
    return !label_->pixmap().isNull();
}

void PictureView::showImage(const QImage& image) {
    clear();
    memory_ = image;
    render();
}

void PictureView::clear() {
    file_.clear();
    memory_ = QImage();
    full_ = QImage();
    fileSize_ = QSize();
    label_->clear();
}

bool PictureView::isEmpty() const {
    return file_.isEmpty() && memory_.isNull();
}

QImage PictureView::fullImage() const {
    if (!memory_.isNull())
        return memory_;
    if (full_.isNull() && !file_.isEmpty()) {
        QImageReader reader(file_);
        reader.setAutoTransform(true);
        full_ = reader.read();
    }
    return full_;
}

void PictureView::setActualSize(bool actual) {
    if (actual == actualSize_)
        return;
    actualSize_ = actual;
    setWidgetResizable(!actual);
    render();
}

void PictureView::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    if (!actualSize_)
        render();
}

void PictureView::render() {
    if (isEmpty()) {
        label_->clear();
        return;
    }
    const QSize room = viewport()->size().expandedTo(QSize(16, 16));
    QImage shown;
    if (actualSize_) {
        shown = fullImage();
    } else if (!memory_.isNull()) {
        shown = memory_.width() > room.width() || memory_.height() > room.height()
                    ? memory_.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                    : memory_;
    } else {
        // Decoded at the size shown: the JPEG reader scales while it decodes.
        QImageReader reader(file_);
        reader.setAutoTransform(true);
        if (fileSize_.isValid() &&
            (fileSize_.width() > room.width() || fileSize_.height() > room.height()))
            reader.setScaledSize(fileSize_.scaled(room, Qt::KeepAspectRatio));
        shown = reader.read();
    }
    label_->setPixmap(QPixmap::fromImage(shown));
    if (actualSize_)
        label_->adjustSize();
}

} // namespace perlinex
