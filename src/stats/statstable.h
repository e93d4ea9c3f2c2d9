#pragma once

#include "stats/statistics.h"
#include "stats/statsqueries.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

namespace perlinex::regional {
class Regional;
}

// The figures as the Statistics window, its exported files and `perlinex statistics` show
// them: which groups a chart draws, the rows of the table beside it, and the table as text.
namespace perlinex::stats {

// What the bars of a breakdown measure, and so which groups are the largest.
enum class Measure { Count, Value };

// How many entries of a code table are shown on their own; the rest are "Other".
inline constexpr int LargestShown = 15;

// A row of a breakdown as shown.
struct ShownGroup {
    QString label;
    Figures figures;
    // The stamps of the row, the filter's and the part's conditions included, in the
    // program's dialect: what a click on its bar asks the collection list to show.
    QString condition;
    // The group's key (entry number, decade, year) when the row is one group that has one.
    std::optional<std::int64_t> key;
};

// The rows of a breakdown: of a code table the entries with the most stamps (or the most
// value) first, LargestShown of them, then "Other" for the rest and "Unclassified"; the
// decades and years in order, then "Unknown". A closing "Total" row is not among them.
// store: whose values the rows' conditions read.
std::vector<ShownGroup> shownGroups(Breakdown breakdown, const std::vector<Group>& groups,
                                    Measure measure, const StampFilter& filter,
                                    db::StoreKind store = db::StoreKind::File);
ShownGroup totalOf(const std::vector<ShownGroup>& rows, const QString& condition);

// A part of the glance as shown, with its condition.
struct ShownPart {
    Part part;
    QString label;
    const Figures* figures;
    QString condition;
};
std::array<ShownPart, 4> shownParts(const Glance& glance, const StampFilter& filter);

// A table of figures: a heading row and rows of cells, and for each row the stamps it counts
// (a condition as ShownGroup has it) and what they are, for the collection list to say.
struct FigureTable {
    QStringList headings;
    std::vector<QStringList> rows;
    std::vector<QString> conditions;
    std::vector<QString> descriptions;
};

// Numbers and money as the user's settings write them ($1,234.50) when regional is given;
// otherwise plain, as files take them (1234.50, at least two decimals, never rounded).
QString countText(std::int64_t count, const regional::Regional* regional);
QString moneyText(const MoneySum& sum, const regional::Regional* regional);

FigureTable glanceTable(const Glance& glance, const StampFilter& filter,
                        const regional::Regional* regional);
// The rows and then a "Total" row.
FigureTable breakdownTable(Breakdown breakdown, const std::vector<ShownGroup>& rows,
                           const StampFilter& filter, const regional::Regional* regional);

// The name of a breakdown, as a heading ("Country") and as the command line spells it.
QString breakdownHeading(Breakdown breakdown);
QString breakdownOption(Breakdown breakdown);
inline constexpr std::array<Breakdown, 6> AllBreakdowns = {
    Breakdown::Country, Breakdown::Topic,  Breakdown::Condition,
    Breakdown::Type,    Breakdown::Decade, Breakdown::PurchaseYear};

// The table as comma-separated values (RFC 4180: quoted where a cell needs it, CR LF after
// every record) or as tab-separated lines, in UTF-8.
QByteArray csvText(const FigureTable& table);
QByteArray tabText(const FigureTable& table);

} // namespace perlinex::stats
