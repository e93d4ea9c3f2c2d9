#include "reports/reportdefinitions.h"

#include "db/fields.h"

#include <QCoreApplication>
#include <array>

namespace perlinex::reports {

namespace {

using K = CellKind;

// clang-format off
constexpr std::array<ReportColumn, 6> kForSaleColumns = {{
    {"descr", K::Text, false}, {"CatNum", K::Text, false}, {"coudesc", K::Text, false},
    {"face", K::FaceAmount, false}, {"year", K::Text, false}, {"PriceAsk", K::Amount, true},
}};
constexpr std::array<ReportColumn, 7> kSoldColumns = {{
    {"descr", K::Text, false}, {"CatNum", K::Text, false}, {"Quantity", K::Text, true},
    {"PricePaid", K::Amount, true}, {nullptr, K::Extended, true},
    {"PriceAsk", K::Amount, true}, {nullptr, K::Extended, true},
}};
constexpr std::array<ReportColumn, 7> kValueColumns = {{
    {"descr", K::Text, false}, {"CatNum", K::Text, false}, {"Quantity", K::Text, true},
    {"PricePaid", K::Amount, true}, {nullptr, K::Extended, true},
    {"CatValue", K::Amount, true}, {nullptr, K::Extended, true},
}};
constexpr std::array<ReportColumn, 6> kWantColumns = {{
    {"descr", K::Text, false}, {"CatNum", K::Text, false}, {"Coudesc", K::Text, false},
    {"Face", K::Money, true}, {"condesc", K::Text, false}, {"PricePaid", K::Amount, true},
}};
constexpr std::array<ReportColumn, 6> kCategoryColumns = {{
    {nullptr, K::Group, false}, {"descr", K::Text, false}, {"CatNum", K::Text, false},
    {"Face", K::Money, true}, {"year", K::Text, false}, {"Quantity", K::Text, true},
}};

#define TR(text) QT_TRANSLATE_NOOP("Reports", text)

constexpr const char* kCategoryFormat = "2160|2880|1440|>1440|>1340|>1340;";
constexpr const char* kCategoryEmpty = TR("You have not entered any reportable stamps!");

const std::array<ReportDefinition, 8> kReports = {{
    {ReportId::ForSale, "forsale",
     TR("Stamps For Sale"), TR("Stamps For Sale"), TR("Stamps For Sale"),
     "ForSale.txt", "forsale.htm",
     "2880|1440|1440|720|720|>1400;", TR("Description|Cat #|Country|Face|Year|Price;"),
     TR("Description|Cat #|Country|Face Value|Year|Price"),
     kForSaleColumns,
     "Select descr, CatNum, PriceAsk, coudesc, face, year from stamp left join country on "
     "stamp.couid = country.couid where forsale order by descr",
     TR("You have not entered any stamps with the For Sale option checked."),
     TotalsKind::None, nullptr, nullptr, nullptr, false,
     0, nullptr, nullptr, nullptr, nullptr, nullptr},
    {ReportId::Sold, "sold",
     TR("Stamp Sales Report"), TR("Stamp Sales Report"), TR("Stamp Sales Report"),
     "Sales.txt", "Sales.htm",
     "2160|1400|>1400|>1400|>1400|>1400|>1400;",
     TR("Description|Cat #|Quantity|Paid Each|Total Paid|Sale Each|Total Sales;"),
     TR("Description|Cat #|Quantity|Paid Each|Total Paid|Sale Price Each|Total Sales"),
     kSoldColumns,
     "Select descr, CatNum, Quantity, PricePaid, PriceAsk from Stamp where sold order by [descr]",
     TR("You have not entered any stamps as sold."),
     TotalsKind::CostAndWorth, "3560|>1400|>2800|>2800;", "3560|>7000;",
     TR("Sale Price Minus Cost"), true,
     0, nullptr, nullptr, nullptr, nullptr, nullptr},
    {ReportId::Value, "value",
     TR("Stamp Value Report"), TR("Stamp Collection Value "), TR("Stamp Collection Value"),
     "Value.txt", "Value.htm",
     "2160|1400|>1400|>1440|>1400|>1400|>1400;",
     TR("Description|Cat #|Quantity|Paid Each|Total Paid|Value Each|Total Value;"),
     TR("Description|Cat #|Quantity|Paid Each|Total Paid|Value Each|Total Value"),
     kValueColumns,
     "Select descr, CatNum, Quantity, PricePaid, CatValue from Stamp where not wantlist and not "
     "sold order by [descr]",
     TR("You have not entered any stamps!"),
     TotalsKind::CostAndWorth, "3560|>1400|>2840|>2800;", "3560|>7040;",
     TR("Value Minus Cost"), false,
     0, nullptr, nullptr, nullptr, nullptr, nullptr},
    {ReportId::WantList, "wantlist",
     TR("Stamp Want List"), TR("Stamp Want List "), TR("Stamp Want List"),
     "WantList.txt", "WantList.htm",
     "2160|700|1440|>1440|1400|>1400;",
     TR("Description|Cat #|Country|Face Value|Condition|Will Pay|;"),
     TR("Description|Cat #|Country|Face Value|Condition|Will Pay"),
     kWantColumns,
     "Select descr, CatNum, PricePaid, Face, Coudesc, condesc from (Stamp left join country on "
     "stamp.couid = country.couid) left join condition on stamp.conid = condition.conid where "
     "wantlist order by [descr]",
     TR("You have not entered any want list stamps!"),
     TotalsKind::Sum, nullptr, nullptr, nullptr, false,
     0, nullptr, nullptr, nullptr, nullptr, nullptr},
    {ReportId::ByCountry, "country",
     TR("Stamps by Country"), TR("Stamps by Country"), TR("Stamps by Country"),
     "Stamp.txt", "Stamps.htm",
     kCategoryFormat, TR("Country|description|Cat #|Face Value|Year|Quantity;"),
     TR("Country|Description|Cat #|Face Value|Year|Quantity"),
     kCategoryColumns,
     "Select descr, CatNum, Quantity, Face, year, coudesc from Stamp left join country on "
     "stamp.couid = country.couid where not wantlist and not sold ",
     kCategoryEmpty,
     TotalsKind::StampCount, nullptr, nullptr, nullptr, false,
     3, "and stamp.couid = ", " order by coudesc, descr",
     TR("Country Report"), TR("All Countries"), TR("Selected Country")},
    {ReportId::ByType, "type",
     TR("Stamps by Type"), TR("Stamps by Type"), TR("Stamps by Type"),
     "Stamp.txt", "Stamps.htm",
     kCategoryFormat, TR("Type|description|Cat #|Face Value|Year|Quantity;"),
     TR("Type|Description|Cat #|Face Value|Year|Quantity"),
     kCategoryColumns,
     "Select descr, CatNum, Quantity, Face, year, typedesc from Stamp left join type on "
     "stamp.typeid = type.typeid where not wantlist and not sold ",
     kCategoryEmpty,
     TotalsKind::StampCount, nullptr, nullptr, nullptr, false,
     9, "and stamp.typeid = ", " order by typedesc, descr",
     TR("Type Report"), TR("All Types"), TR("Selected Type")},
    {ReportId::ByFormat, "format",
     TR("Stamps by Format"), TR("Stamps by Format"), TR("Stamps by Format"),
     "Stamp.txt", "Stamps.htm",
     kCategoryFormat, TR("Format|description|Cat #|Face Value|Year|Quantity;"),
     TR("Format|Description|Cat #|Face Value|Year|Quantity"),
     kCategoryColumns,
     "Select descr, CatNum, Quantity, Face, year, formdesc from Stamp left join format on "
     "stamp.formid = format.formid where not wantlist and not sold ",
     kCategoryEmpty,
     TotalsKind::StampCount, nullptr, nullptr, nullptr, false,
     4, "and stamp.formid = ", " order by formdesc, descr",
     TR("Format Report"), TR("All Formats"), TR("Selected Format")},
    {ReportId::ByTopic, "topic",
     TR("Stamps by Topic"), TR("Stamps by Topic"), TR("Stamps by Topic"),
     "Stamp.txt", "Stamps.htm",
     kCategoryFormat, TR("Topic|description|Cat #|Face Value|Year|Quantity;"),
     TR("Topic|Description|Cat #|Face Value|Year|Quantity"),
     kCategoryColumns,
     "Select descr, CatNum, Quantity, Face, year, topdesc from Stamp left join topic on "
     "stamp.topid = topic.topid where not wantlist and not sold ",
     kCategoryEmpty,
     TotalsKind::StampCount, nullptr, nullptr, nullptr, false,
     8, "and stamp.topid = ", " order by topdesc, descr",
     TR("Topics Report"), TR("All Topics"), TR("Selected Topic")},
}};
// clang-format on

} // namespace

std::span<const ReportDefinition> reportDefinitions() {
    return kReports;
}

const ReportDefinition& reportDefinition(ReportId id) {
    for (const ReportDefinition& d : kReports)
        if (d.id == id)
            return d;
    Q_UNREACHABLE();
}

const ReportDefinition* reportByCommandName(const QString& name) {
    for (const ReportDefinition& d : kReports)
        if (name == QLatin1String(d.commandName))
            return &d;
    return nullptr;
}

const ReportDefinition* reportOfCategory(int category) {
    for (const ReportDefinition& d : kReports)
        if (category != 0 && d.category == category)
            return &d;
    return nullptr;
}

bool isCategoryReport(const ReportDefinition& definition) {
    return definition.category != 0;
}

QString reportQuery(const ReportDefinition& definition, std::int32_t codeId) {
    QString sql = QString::fromLatin1(definition.query);
    if (!isCategoryReport(definition))
        return sql;
    if (codeId != -1)
        sql += QLatin1String(definition.filter) + QString::number(codeId);
    return sql + QLatin1String(definition.order);
}

QString groupField(const ReportDefinition& definition) {
    const db::CodeTable* table = db::codeTable(definition.category);
    return isCategoryReport(definition) && table ? QString::fromLatin1(table->descField)
                                                 : QString();
}

QString reportText(const char* text) {
    return text ? QCoreApplication::translate("Reports", text) : QString();
}

QStringList htmlHeadings(const ReportDefinition& definition) {
    return reportText(definition.htmlHeadings).split(u'|');
}

} // namespace perlinex::reports
