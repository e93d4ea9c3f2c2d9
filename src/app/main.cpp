#include "app/commandline.h"

#include "db/catalogue.h"
#include "db/dberror.h"
#include "db/recordset.h"
#include "db/schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextStream>

using namespace perlinex;

// Until the main window exists, opening a folder reports what its collection holds.
static int showCollection(const QString& folder, QTextStream& out, QTextStream& err) {
    const QDir dir(folder);
    const QString path = dir.filePath(QString::fromLatin1(db::CollectionFileName));
    try {
        if (!QFileInfo::exists(path)) {
            QDir().mkpath(folder);
            db::createCollection(path)->close();
            out << "Made a new, empty collection in " << dir.absolutePath() << "\n";
        }
        auto collection = db::openCollection(path);
        auto catalogue = db::openCatalogue(folder);
        auto stamps =
            collection->openRecordSet(QStringLiteral("Select * from stamp order by [descr]"));
        out << "Collection " << path << ": " << stamps->recordCount() << " stamps\n";
        if (!stamps->eof())
            out << "First stamp: " << stamps->field(QStringLiteral("descr")).toText() << " ("
                << stamps->field(QStringLiteral("catnum")).toText() << ")\n";
        return 0;
    } catch (const db::DbError& e) {
        err << "perlinex: " << e.number() << "  " << e.text() << "\n";
        return 1;
    }
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("perlinex"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int status = app::runCommand(app.arguments(), out, err);
    if (status >= 0)
        return status;
    const QStringList args = app.arguments();
    const QString folder = args.size() > 1
                               ? args[1]
                               : QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return showCollection(folder, out, err);
}
