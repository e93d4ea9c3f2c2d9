#include "app/recentcollections.h"

#include "db/pg/pgstore.h"
#include "util/translation.h"

#include <QDir>
#include <QSettings>

namespace perlinex {

namespace {

const QString kKey = QStringLiteral("collections/recent");

const QString kSharedPrefix = QStringLiteral("shared:");

QString normalized(const QString& entry) {
    if (entry.startsWith(kSharedPrefix))
        return entry;
    return QDir::cleanPath(QDir(entry).absolutePath());
}

} // namespace

QString RecentCollections::sharedEntry(const QString& address) {
    return kSharedPrefix + address;
}

QString RecentCollections::sharedAddress(const QString& entry) {
    return entry.startsWith(kSharedPrefix) ? entry.mid(kSharedPrefix.size()) : QString();
}

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

QString sharedCollectionName(const QString& address) {
    const db::ServerAddress a = db::parseServerAddress(address);
    return translate("RecentCollections", "%1 on %2").arg(a.collection, a.server);
}

} // namespace perlinex
