#include "stats/statscommand.h"

#include "browse/stampbrowser.h"
#include "db/database.h"
#include "db/dberror.h"
#include "db/schema.h"
#include "db/sqlite/collectionfile.h"
#include "db/sqlite/collectionhold.h"
#include "regional/regional.h"
#include "stats/statistics.h"
#include "stats/statstable.h"
#include "util/commandreport.h"
#include "util/translation.h"

#include <QCommandLineParser>
#include <QStandardPaths>
#include <optional>

namespace perlinex::stats {

namespace {

int wrong(QTextStream& err, const QString& what) {
    return commandMisuse(err, what, statisticsCommandUsage());
}

QStringList breakdownOptions() {
    QStringList names;
    for (Breakdown b : AllBreakdowns)
        names << breakdownOption(b);
    return names;
}

std::optional<Breakdown> breakdownNamed(const QString& name) {
    for (Breakdown b : AllBreakdowns)
        if (breakdownOption(b) == name)
            return b;
    return std::nullopt;
}

} // namespace

QString statisticsCommandUsage() {
    return translate(
               "CommandLine",
               "  perlinex statistics [--folder DIR] [--filter TEXT] [--by %1] [--csv]\n"
               "      the figures of the Statistics window: the collection at a glance, or its\n"
               "      stamps by one of these (the 15 largest entries, Other, Unclassified);\n"
               "      tab-separated with a heading row, or comma-separated values with --csv.\n"
               "      --filter takes the figures over the stamps the list's filter of TEXT\n"
               "      keeps, and the first heading says so.\n")
        .arg(breakdownOptions().join(QLatin1Char('|')));
}

int runStatisticsCommand(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    const QCommandLineOption folder(QStringLiteral("folder"), QString(), QStringLiteral("DIR"));
    const QCommandLineOption by(QStringLiteral("by"), QString(), QStringLiteral("BREAKDOWN"));
    const QCommandLineOption csv(QStringLiteral("csv"), QString());
    const QCommandLineOption filter(QStringLiteral("filter"), QString(), QStringLiteral("TEXT"));
    parser.addOptions({folder, by, csv, filter});
    if (!parser.parse(arguments))
        return wrong(err, parser.errorText());
    const QStringList positional = parser.positionalArguments();
    if (positional != QStringList{QStringLiteral("statistics")})
        return wrong(err, translate("CommandLine", "statistics takes no other words: %1")
                              .arg(positional.mid(1).join(QLatin1Char(' '))));
    std::optional<Breakdown> breakdown;
    if (parser.isSet(by)) {
        breakdown = breakdownNamed(parser.value(by));
        if (!breakdown)
            return wrong(err,
                         translate("CommandLine", "--by takes %1, not %2")
                             .arg(breakdownOptions().join(QStringLiteral(", ")), parser.value(by)));
    }
    const QString appFolder =
        parser.isSet(folder) ? parser.value(folder)
                             : QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    try {
        // Like every command; the statistics only read, so they work on a collection that
        // cannot be changed.
        const db::CollectionHold hold = db::holdCollection(appFolder, db::Purpose::Read);
        if (!hold.rolledBack.isEmpty())
            err << "perlinex: " << hold.rolledBack << "\n";
        const std::unique_ptr<db::Database> db =
            db::openCollection(hold.path, db::StructureCheck::Deferred, hold.openMode());
        const regional::Regional regional;
        const QString typed = parser.value(filter).simplified();
        CollectionStatistics statistics(*db, regional,
                                        {browse::filterCondition(*db, typed), typed});
        FigureTable table =
            breakdown ? breakdownTable(*breakdown,
                                       shownGroups(*breakdown, statistics.groups(*breakdown),
                                                   Measure::Count, statistics.filter()),
                                       statistics.filter(), nullptr)
                      : glanceTable(statistics.glance(), statistics.filter(), nullptr);
        // Figures of a filter are never taken for the whole collection's.
        if (statistics.filter().isSet())
            table.headings[0] =
                translate("CommandLine", "%1 (filtered: %2)").arg(table.headings[0], typed);
        out << QString::fromUtf8(parser.isSet(csv) ? csvText(table) : tabText(table));
        out.flush();
        return 0;
    } catch (const db::DbError& e) {
        err << "perlinex: " << e.text() << "\n";
        err.flush();
        return 1;
    }
}

} // namespace perlinex::stats
