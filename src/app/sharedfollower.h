#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>
#include <memory>

class QSocketNotifier;

namespace perlinex {

namespace db {
class Database;
class ServerChanges;
} // namespace db

// Follows what other desks store to the shared collection open here: the server's notices
// are gathered for a moment, so that a burst of stores is read once, then told as signals.
class SharedFollower : public QObject {
    Q_OBJECT
public:
    // Listens to the collection that address names, ignoring collection's own stores.
    // Throws DbError when the server cannot be reached.
    SharedFollower(const QString& address, db::Database& collection, QObject* parent = nullptr);
    ~SharedFollower() override;

signals:
    void stampsChanged();
    void picturesChanged();
    // A code table, by its number of the Maintain menu (1..9).
    void codesChanged(int maintTable);

private:
    void gather();
    void tell();

    std::unique_ptr<db::ServerChanges> changes_;
    QSocketNotifier* notifier_ = nullptr;
    QTimer settle_;
    QSet<QString> changed_;
};

} // namespace perlinex
