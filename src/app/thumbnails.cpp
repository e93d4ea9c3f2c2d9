#include "app/thumbnails.h"

#include <QFutureWatcher>
#include <QImageReader>
#include <QThreadPool>
#include <QtConcurrent>

namespace perlinex {

QImage readThumbnail(const QString& file, int size) {
    QImageReader reader(file);
    reader.setAutoTransform(true);
    const QSize full = reader.size();
    // Decoded at the size shown where the format can (a JPEG is read at a fraction), scaled
    // once otherwise.
    if (full.isValid())
        reader.setScaledSize(full.scaled(size, size, Qt::KeepAspectRatio));
    QImage image = reader.read();
    if (!image.isNull() && (image.width() > size || image.height() > size))
        image = image.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

Thumbnails::Thumbnails(std::function<QString(std::int64_t)> fileOf, int size, QObject* parent)
    : QObject(parent), fileOf_(std::move(fileOf)), size_(size), images_(400) {}

Thumbnails::~Thumbnails() {
    waitForAll();
}

QVariant Thumbnails::picture(std::int64_t id) {
    if (const QImage* image = images_.object(id))
        return *image;
    if (none_.contains(id) || reading_.contains(id))
        return {};
    const QString file = fileOf_(id);
    if (file.isEmpty()) {
        none_.insert(id);
        return {};
    }
    reading_.insert(id);
    auto* watcher = new QFutureWatcher<QImage>(this);
    const int generation = generation_;
    connect(watcher, &QFutureWatcher<QImage>::finished, this, [this, watcher, id, generation] {
        const QImage image = watcher->result();
        watcher->deleteLater();
        if (generation != generation_)
            return;
        reading_.remove(id);
        if (image.isNull())
            none_.insert(id);
        else
            images_.insert(id, new QImage(image));
        emit ready(id);
    });
    watcher->setFuture(QtConcurrent::run(readThumbnail, file, size_));
    return {};
}

void Thumbnails::forget(std::int64_t id) {
    images_.remove(id);
    none_.remove(id);
}

void Thumbnails::clear() {
    ++generation_;
    images_.clear();
    none_.clear();
    reading_.clear();
}

void Thumbnails::waitForAll() {
    for (auto* watcher : findChildren<QFutureWatcher<QImage>*>())
        watcher->waitForFinished();
}

} // namespace perlinex
