#include "ui/program.h"

#include "db/pg/pgstore.h"
#include "db/schema.h"
#include "db/sqlite/cataloguefile.h"
#include "db/sqlite/collectionfile.h"
#include "db/sqlite/maintenance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace perlinex {

QString defaultCollectionFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

Program::Program(DialogService& dialogs, const QString& appFolder) : ProgramState(dialogs) {
    AppFolder = QDir(appFolder).absolutePath();
    DbPath = QDir(AppFolder).filePath(QString::fromLatin1(db::CollectionFileName));
    HelpFile = QStringLiteral(":/help/index.html");
    raiseAllReloadFlags();
}

bool Program::reloadFlag(int maintTable) const {
    return maintTable >= 1 && maintTable <= 9 && reload_[std::size_t(maintTable)];
}

void Program::setReloadFlag(int maintTable, bool raised) {
    if (maintTable >= 1 && maintTable <= 9)
        reload_[std::size_t(maintTable)] = raised;
}

void Program::raiseAllReloadFlags() {
    for (int i = 1; i <= 9; ++i)
        reload_[std::size_t(i)] = true;
}

int Program::maintTableOf(const QString& table) {
    const db::CodeTable* t = db::codeTableByName(table);
    return t ? t->number : 0;
}

std::unique_ptr<QSettings> Program::settings() const {
    if (!settingsFile.isEmpty())
        return std::make_unique<QSettings>(settingsFile, QSettings::IniFormat);
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("perlinex"), QStringLiteral("perlinex"));
}

void Program::takeShared(const QString& address) {
    Server = address;
    FolderLock.reset();
    ReadOnly = false;
    const QByteArray hash =
        QCryptographicHash::hash(address.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    AppFolder = QDir(QStandardPaths::writableLocation(QStandardPaths::CacheLocation))
                    .filePath(QStringLiteral("shared/") + QString::fromLatin1(hash));
    DbPath = address;
}

std::unique_ptr<db::Database> Program::openFieldCatalogue(QString* remade) const {
    if (shared()) {
        const db::ServerAddress a = db::parseServerAddress(Server);
        if (auto catalogue = db::openServerCatalogue(a.server, a.collection))
            return catalogue;
    }
    return db::openCatalogue(AppFolder, remade);
}

QString Program::imagesFolder() const {
    return QDir(AppFolder).filePath(QStringLiteral("images"));
}

durable::ProtectedFiles Program::collectionFiles() const {
    return db::collectionFiles(AppFolder);
}

} // namespace perlinex
