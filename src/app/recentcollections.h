#pragma once

#include <QString>
#include <QStringList>

class QSettings;

namespace perlinex {

// The collections opened last, newest first, remembered in the settings for "Open Recent": a
// folder by its absolute path, a shared collection by its address after "shared:" (a path
// never starts so).
class RecentCollections {
public:
    static constexpr int Most = 8;

    explicit RecentCollections(QSettings& settings) : settings_(settings) {}

    static QString sharedEntry(const QString& address);
    // The address of a shared collection's entry; empty for a folder.
    static QString sharedAddress(const QString& entry);

    QStringList folders() const;
    // Puts a folder first (once; the same folder written another way is the same), keeping
    // the newest eight.
    void add(const QString& folder);
    void remove(const QString& folder);

private:
    void store(const QStringList& folders);

    QSettings& settings_;
};

// A shared collection as menus and titles name it: "stamps on postgresql:///club".
QString sharedCollectionName(const QString& address);

} // namespace perlinex
