#include "app/collectionpane.h"
#include "app/commandline.h"
#include "app/frmmain.h"
#include "app/recentcollections.h"
#include "custom/frmrptspec.h"
#include "db/sqlite/maintenance.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>

namespace perlinex {

// The folders opened last, newest first; the one shown is among them once it is open.
void frmMain::fillRecent() {
    const auto settings = program_.settings();
    RecentCollections recent(*settings);
    if (program_.CollectionDb)
        recent.add(program_.shared() ? RecentCollections::sharedEntry(program_.Server)
                                     : program_.AppFolder);
    mnuRecent->clear();
    const QStringList folders = recent.folders();
    for (int i = 0; i < folders.size(); ++i) {
        const QString folder = folders[i];
        const QString address = RecentCollections::sharedAddress(folder);
        QString name =
            address.isEmpty() ? QDir::toNativeSeparators(folder) : sharedCollectionName(address);
        // A "&" of a path or an address is shown as written, not taken for a mnemonic.
        name.replace(QLatin1Char('&'), QLatin1String("&&"));
        QAction* a = mnuRecent->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(name));
        a->setObjectName(QStringLiteral("mnuRecent%1").arg(i + 1));
        connect(a, &QAction::triggered, this,
                [this, folder] { guard([this, folder] { openRecent(folder); }); });
    }
    mnuRecent->setEnabled(!folders.isEmpty());
}

void frmMain::openRecent(const QString& folder) {
    if (const QString address = RecentCollections::sharedAddress(folder); !address.isEmpty()) {
        // A server out of reach today may be back tomorrow: the entry stays.
        openShared(address);
        return;
    }
    if (!QFileInfo::exists(db::resolvedCollectionPath(folder))) {
        program_.dialogs().message(
            tr("There is no collection in %1 any more. It is taken off the list of recent "
               "collections.")
                .arg(QDir::toNativeSeparators(folder)),
            tr("Open Recent"), Buttons::Ok, Icon::Warning);
        const auto settings = program_.settings();
        RecentCollections(*settings).remove(folder);
        fillRecent();
        return;
    }
    openFolder(folder, false);
}

void frmMain::newCollection() {
    const std::optional<QString> folder =
        program_.dialogs().folderName(tr("New Collection"), QDir::homePath());
    if (!folder || folder->isEmpty())
        return;
    if (QFileInfo::exists(db::resolvedCollectionPath(*folder))) {
        program_.dialogs().message(tr("There is a collection in %1 already. Open it with Open "
                                      "Collection, or choose another folder.")
                                       .arg(QDir::toNativeSeparators(*folder)),
                                   tr("New Collection"), Buttons::Ok, Icon::Information);
        return;
    }
    openFolder(*folder, false);
}

void frmMain::openCollection() {
    const std::optional<QString> folder =
        program_.dialogs().folderName(tr("Open Collection"), program_.AppFolder);
    if (folder && !folder->isEmpty())
        openFolder(*folder, true);
}

void frmMain::openSharedCollection() {
    const auto settings = program_.settings();
    const QString last = program_.shared()
                             ? program_.Server
                             : settings->value(QStringLiteral("collections/lastShared")).toString();
    const std::optional<QString> address = program_.dialogs().input(
        tr("The shared collection: its server (a postgresql:// address or a service name) and, "
           "after #, the collection's name there (stamps when none is named). The password "
           "comes from ~/.pgpass or the service file."),
        tr("Open Shared Collection"), last);
    if (!address || address->trimmed().isEmpty())
        return;
    if (openShared(address->trimmed()))
        settings->setValue(QStringLiteral("collections/lastShared"), address->trimmed());
}

bool frmMain::openFolder(const QString& folder, bool ask) {
    return switchCollection([&] { return takeFolder(folder, ask); });
}

bool frmMain::openShared(const QString& address) {
    return switchCollection([&] { return takeShared(address); });
}

bool frmMain::switchCollection(const std::function<bool()>& take) {
    if (changing()) {
        if (program_.dialogs().message(tr("The record on screen has not been stored. Do you want "
                                          "to open another collection and lose the changes?"),
                                       tr("Open Collection"), Buttons::YesNoDefaultNo,
                                       Icon::Question) != Answer::Yes)
            return false;
        cancel();
    }
    // The layout being designed is offered for saving first; Cancel there keeps the collection.
    if (!custom::closeCustomReports(program_))
        return false;
    closeOtherWindows();
    keepPlace();
    const QString shown = program_.AppFolder;
    const QString shownServer = program_.Server;
    unload();
    program_.FolderLock.reset(); // the lock goes with the collection
    // The list of another collection starts whole.
    browser_.setCondition(QString(), QString());
    pane_->filterBox()->clear();
    if (!take()) {
        if (shownServer.isEmpty())
            takeFolder(shown, false);
        else
            takeShared(shownServer);
        load();
        return false;
    }
    load();
    return true;
}

// Takes the folder as start-up does; false, with the reason told, when it cannot be.
bool frmMain::takeFolder(const QString& folder, bool ask) {
    program_.Server.clear();
    program_.AppFolder = QDir::cleanPath(QDir(folder).absolutePath());
    try {
        if (app::prepareCollectionFolder(program_, ask))
            return true;
    } catch (const db::DbError& e) {
        program_.dialogs().message(e.text(), tr("Open Collection"), Buttons::Ok, Icon::Critical);
    }
    program_.FolderLock.reset();
    return false;
}

bool frmMain::takeShared(const QString& address) {
    program_.takeShared(address);
    try {
        if (app::prepareCollectionFolder(program_, false))
            return true;
    } catch (const db::DbError& e) {
        program_.dialogs().message(e.text(), tr("Open Shared Collection"), Buttons::Ok,
                                   Icon::Critical);
    }
    program_.closeCollection();
    return false;
}

} // namespace perlinex
