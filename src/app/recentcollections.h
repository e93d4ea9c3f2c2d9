#pragma once

#include <QString>
#include <QStringList>

class QSettings;

namespace perlinex {

// The collections opened last, newest first, remembered in the settings for "Open Recent".
class RecentCollections {
public:
    static constexpr int Most = 8;

    explicit RecentCollections(QSettings& settings) : settings_(settings) {}

    QStringList folders() const;
    // Puts a folder first (once; the same folder written another way is the same), keeping
    // the newest eight.
    void add(const QString& folder);
    void remove(const QString& folder);

private:
    void store(const QStringList& folders);

    QSettings& settings_;
};

} // namespace perlinex
