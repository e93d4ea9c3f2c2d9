#include "app/recentcollections.h"

#include <QDir>
#include <QSettings>

namespace perlinex {

namespace {

const QString kKey = QStringLiteral("collections/recent");

QString normalized(const QString& folder) {
    return QDir::cleanPath(QDir(folder).absolutePath());
}

} // namespace

QStringList RecentCollections::folders() const {
    QStringList out;
    for (const QString& f : settings_.value(kKey).toStringList())
        if (!f.isEmpty() && !out.contains(normalized(f)) && out.size() < Most)
            out << normalized(f);
    return out;
}

void RecentCollections::add(const QString& folder) {
    QStringList list = folders();
    list.removeAll(normalized(folder));
    list.prepend(normalized(folder));
    store(list.mid(0, Most));
}

void RecentCollections::remove(const QString& folder) {
    QStringList list = folders();
    list.removeAll(normalized(folder));
    store(list);
}

void RecentCollections::store(const QStringList& folders) {
    settings_.setValue(kKey, folders);
    settings_.sync();
}

} // namespace perlinex
