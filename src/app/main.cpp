#include "app/commandline.h"
#include "app/frmmain.h"
#include "app/helpviewer.h"
#include "db/catalogue.h"
#include "db/schema.h"
#include "ui/application.h"
#include "ui/qtdialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextStream>

using namespace perlinex;

namespace {

bool isCommand(int argc, char** argv) {
    if (argc < 2)
        return false;
    const QString first = QString::fromLocal8Bit(argv[1]);
    return first == QLatin1String("new") || first == QLatin1String("generate") ||
           first == QLatin1String("--help") || first == QLatin1String("-h");
}

// A folder without a collection gets a new, empty one and the field catalogue.
void prepareFolder(Program& program) {
    QDir().mkpath(program.AppFolder);
    if (!QFileInfo::exists(program.DbPath))
        db::createCollection(program.DbPath)->close();
    db::openCatalogue(program.AppFolder)->close();
}

} // namespace

int main(int argc, char** argv) {
    if (isCommand(argc, argv)) {
        QCoreApplication app(argc, argv);
        QTextStream out(stdout);
        QTextStream err(stderr);
        return app::runCommand(app.arguments(), out, err);
    }
    Application app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("perlinex"));
    QApplication::setApplicationDisplayName(QStringLiteral("Perlinex"));
    const QStringList args = app.arguments();
    const QString folder = args.size() > 1
                               ? args[1]
                               : QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);

    QtDialogs dialogs;
    Program program(dialogs, folder);
    installHelp(program);
    frmMain window(program);
    app.onEnd = [&] { program.closeCollection(); };
    try {
        trap(program, [&] { prepareFolder(program); });
        window.load();
    } catch (const ProgramEnded&) {
        return 1;
    }
    window.show();
    return app.exec();
}
