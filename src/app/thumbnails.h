#pragma once

#include <QCache>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QVariant>
#include <cstdint>
#include <functional>

namespace perlinex {

// The stamps' pictures as the collection list shows them: decoded at the size shown, off the
// main thread, when a row asks for its picture (so only for the rows on screen), and a few
// hundred kept.
class Thumbnails : public QObject {
    Q_OBJECT
public:
    // fileOf gives a stamp's picture file, empty when it has none.
    Thumbnails(std::function<QString(std::int64_t id)> fileOf, int size, QObject* parent = nullptr);
    ~Thumbnails() override;

    int size() const { return size_; }
    // The picture, or nothing while it is read (ready follows) or when the stamp has none.
    QVariant picture(std::int64_t id);
    // A stamp's picture changed or went: it is read again when next asked for.
    void forget(std::int64_t id);
    void clear();
    // Waits for the pictures being read (before the collection goes away).
    void waitForAll();

signals:
    void ready(std::int64_t id);

private:
    std::function<QString(std::int64_t)> fileOf_;
    int size_;
    QCache<std::int64_t, QImage> images_;
    QSet<std::int64_t> reading_;
    QSet<std::int64_t> none_; // stamps without a picture, or with one that cannot be read
    int generation_ = 0;      // results of reads begun before a clear are dropped
};

// A picture file read at most size pixels either way, keeping its proportions; a null image
// when it cannot be read.
QImage readThumbnail(const QString& file, int size);

} // namespace perlinex
