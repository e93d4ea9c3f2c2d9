#include "app/sharedfollower.h"

#include "db/fields.h"
#include "db/pg/pgstore.h"

#include <QSocketNotifier>

namespace perlinex {

namespace {

// Long enough to take a burst of stores as one, short enough to show them within a second.
constexpr int SettleMs = 150;

} // namespace

SharedFollower::SharedFollower(const QString& address, db::Database& collection, QObject* parent)
    : QObject(parent) {
    const db::ServerAddress a = db::parseServerAddress(address);
    changes_ = std::make_unique<db::ServerChanges>(a.server, a.collection, collection);
    notifier_ = new QSocketNotifier(qintptr(changes_->socket()), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { gather(); });
    settle_.setSingleShot(true);
    settle_.setInterval(SettleMs);
    connect(&settle_, &QTimer::timeout, this, [this] { tell(); });
}

SharedFollower::~SharedFollower() = default;

void SharedFollower::gather() {
    const QStringList tables = changes_->takeChangedTables();
    if (tables.isEmpty())
        return;
    for (const QString& t : tables)
        changed_.insert(t);
    if (!settle_.isActive())
        settle_.start();
}

void SharedFollower::tell() {
    const QSet<QString> changed = std::exchange(changed_, {});
    for (const db::CodeTable& t : db::codeTables())
        if (changed.contains(QString::fromLatin1(t.table).toLower()))
            emit codesChanged(t.number);
    if (changed.contains(QStringLiteral("picture")))
        emit picturesChanged();
    if (changed.contains(QStringLiteral("stamp")))
        emit stampsChanged();
}

} // namespace perlinex
