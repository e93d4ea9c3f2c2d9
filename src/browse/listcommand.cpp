#include "browse/listcommand.h"

#include "browse/stampbrowser.h"
#include "browse/stamplistmodel.h"
#include "db/dberror.h"
#include "db/schema.h"
#include "db/sqlite/collectionfile.h"
#include "db/sqlite/collectionhold.h"
#include "regional/regional.h"
#include "util/commandreport.h"
#include "util/translation.h"

#include <QCommandLineParser>
#include <QStandardPaths>

namespace perlinex::browse {

namespace {

int wrong(QTextStream& err, const QString& what) {
    return commandMisuse(err, what, listCommandUsage());
}

// A cell on one line of its own column: its tabs and line breaks become spaces.
QString oneCell(QString text) {
    for (QChar& c : text)
        if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            c = QLatin1Char(' ');
    return text;
}

QString line(const QStringList& cells) {
    QStringList out;
    for (const QString& c : cells)
        out << oneCell(c);
    return out.join(QLatin1Char('\t'));
}

} // namespace

QString listCommandUsage() {
    return translate(
        "CommandLine",
        "  perlinex list [--filter TEXT] [--sort description|catalog|issued|COLUMN] "
        "[--folder DIR]\n"
        "      print the collection list as the window shows it: a header row, then one\n"
        "      tab-separated row a stamp. --filter keeps the stamps whose description,\n"
        "      catalogue number, country, topic or notes hold every word (case and\n"
        "      accents aside); --sort takes a Sort menu order or a column's name, with\n"
        "      \"-\" before it for downwards; --folder is the collection's folder (default:\n"
        "      the one named above).\n");
}

int runListCommand(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    const QCommandLineOption filter(QStringLiteral("filter"), QString(), QStringLiteral("TEXT"));
    const QCommandLineOption sort(QStringLiteral("sort"), QString(), QStringLiteral("ORDER"));
    const QCommandLineOption folder(QStringLiteral("folder"), QString(), QStringLiteral("DIR"));
    parser.addOptions({filter, sort, folder});
    if (!parser.parse(arguments))
        return wrong(err, parser.errorText());
    if (parser.positionalArguments() != QStringList{QStringLiteral("list")})
        return wrong(err, translate("CommandLine", "list takes no words besides its options"));
    StampOrder order;
    if (parser.isSet(sort)) {
        const std::optional<StampOrder> parsed = parseOrder(parser.value(sort));
        if (!parsed)
            return wrong(err,
                         translate("CommandLine",
                                   "--sort takes description, catalog, issued or a column's name, "
                                   "not %1")
                             .arg(parser.value(sort)));
        order = *parsed;
    }
    const QString appFolder =
        parser.isSet(folder) ? parser.value(folder)
                             : QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    try {
        const db::CollectionHold hold = db::holdCollection(appFolder, db::Purpose::Read);
        if (!hold.rolledBack.isEmpty())
            err << "perlinex: " << hold.rolledBack << "\n";
        const auto db =
            db::openCollection(hold.path, db::StructureCheck::Deferred, hold.openMode());
        const regional::Regional regional;
        StampBrowser browser(regional);
        browser.setOrder(order, false);
        browser.setFilter(parser.value(filter));
        browser.open(*db, true);
        StampListModel model(browser, regional);
        out << line(model.headings()) << "\n";
        for (int row = 0; row < model.rowCount(); ++row)
            out << line(model.rowTexts(row)) << "\n";
        out.flush();
        browser.close();
        if (out.status() != QTextStream::Ok) {
            err << "perlinex: "
                << translate("CommandLine", "the list could not be written to standard output")
                << "\n";
            return 1;
        }
        return 0;
    } catch (const db::DbError& e) {
        err << "perlinex: " << e.text() << "\n";
        return 1;
    }
}

} // namespace perlinex::browse
