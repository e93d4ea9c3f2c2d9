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

constexpr const char* kCategoryFormat = "2160|2880|1440|>1440|>1340|>1340;";
constexpr const char* kCategoryEmpty = QT_TRANSLATE_NOOP("Reports", "You have not entered any reportable stamps!");

const std::array<ReportDefinition, 8> kReports = {{
    {ReportId::ForSale, "forsale",
     QT_TRANSLATE_NOOP("Reports", "Stamps For Sale"), QT_TRANSLATE_NOOP("Reports", "Stamps For Sale"), QT_TRANSLATE_NOOP("Reports", "Stamps For Sale"),
     "ForSale.txt", "forsale.htm",
     "2880|1440|1440|720|720|>1400;", QT_TRANSLATE_NOOP("Reports", "Description|Cat #|Country|Face|Year|Price;"),
     QT_TRANSLATE_NOOP("Reports", "Description|Cat #|Country|Face Value|Year|Price"),
     kForSaleColumns,
     "Select descr, CatNum, PriceAsk, coudesc, face, year from stamp left join country on "
     "stamp.couid = country.couid where forsale order by descr",
     QT_TRANSLATE_NOOP("Reports", "You have not entered any stamps with the For Sale option checked."),
     TotalsKind::None, nullptr, nullptr, nullptr, false,
     0, nullptr, nullptr, nullptr, nullptr, nullptr},
    {ReportId::Sold, "sold",
     QT_TRANSLATE_NOOP("Reports", "Stamp Sales Report"), QT_TRANSLATE_NOOP("Reports", "Stamp Sales Report"), QT_TRANSLATE_NOOP("Reports", "Stamp Sales Report"),
     "Sales.txt", "Sales.htm",
     "2160|1400|>1400|>1400|>1400|>1400|>1400;",
     QT_TRANSLATE_NOOP("Reports", "Description|Cat #|Quantity|Paid Each|Total Paid|Sale Each|Total Sales;"),
     QT_TRANSLATE_NOOP("Reports", "Description|Cat #|Quantity|Paid Each|Total Paid|Sale Price Each|Total Sales"),
     kSoldColumns,
     "Select descr, CatNum, Quantity, PricePaid, PriceAsk from Stamp where sold order by [descr]",
     QT_TRANSLATE_NOOP("Reports", "You have not entered any stamps as sold."),
     TotalsKind::CostAndWorth, "3560|>1400|>2800|>2800;", "3560|>7000;",
     QT_TRANSLATE_NOOP("Reports", "Sale Price Minus Cost"), true,
     0, nullptr, nullptr, nullptr, nullptr, nullptr},
    {ReportId::Value, "value",
     QT_TRANSLATE_NOOP("Reports", "Stamp Value Report"), QT_TRANSLATE_NOOP("Reports", "Stamp Collection Value "), QT_TRANSLATE_NOOP("Reports", "Stamp Collection Value"),
     "Value.txt", "Value.htm",
     "2160|1400|>1400|>1440|>1400|>1400|>1400;",
     QT_TRANSLATE_NOOP("Reports", "Description|Cat #|Quantity|Paid Each|Total Paid|Value Each|Total Value;"),
     QT_TRANSLATE_NOOP("Reports", "Description|Cat #|Quantity|Paid Each|Total Paid|Value Each|Total Value"),
     kValueColumns,
     "Select descr, CatNum, Quantity, PricePaid, CatValue from Stamp where not wantlist and not "
     "sold order by [descr]",
     QT_TRANSLATE_NOOP("Reports", "You have not entered any stamps!"),
     TotalsKind::CostAndWorth, "3560|>1400|>2840|>2800;", "3560|>7040;",
     QT_TRANSLATE_NOOP("Reports", "Value Minus Cost"), false,
     0, nullptr, nullptr, nullptr, nullptr, nullptr},
    {ReportId::WantList, "wantlist",
     QT_TRANSLATE_NOOP("Reports", "Stamp Want List"), QT_TRANSLATE_NOOP("Reports", "Stamp Want List "), QT_TRANSLATE_NOOP("Reports", "Stamp Want List"),
     "WantList.txt", "WantList.htm",
     "2160|700|1440|>1440|1400|>1400;",
     QT_TRANSLATE_NOOP("Reports", "Description|Cat #|Country|Face Value|Condition|Will Pay|;"),
     QT_TRANSLATE_NOOP("Reports", "Description|Cat #|Country|Face Value|Condition|Will Pay"),
     kWantColumns,
     "Select descr, CatNum, PricePaid, Face, Coudesc, condesc from (Stamp left join country on "
     "stamp.couid = country.couid) left join condition on stamp.conid = condition.conid where "
     "wantlist order by [descr]",
     QT_TRANSLATE_NOOP("Reports", "You have not entered any want list stamps!"),
     TotalsKind::Sum, nullptr, nullptr, nullptr, false,
     0, nullptr, nullptr, nullptr, nullptr, nullptr},
    {ReportId::ByCountry, "country",
     QT_TRANSLATE_NOOP("Reports", "Stamps by Country"), QT_TRANSLATE_NOOP("Reports", "Stamps by Country"), QT_TRANSLATE_NOOP("Reports", "Stamps by Country"),
     "Stamp.txt", "Stamps.htm",
     kCategoryFormat, QT_TRANSLATE_NOOP("Reports", "Country|description|Cat #|Face Value|Year|Quantity;"),
     QT_TRANSLATE_NOOP("Reports", "Country|Description|Cat #|Face Value|Year|Quantity"),
     kCategoryColumns,
     "Select descr, CatNum, Quantity, Face, year, coudesc from Stamp left join country on "
     "stamp.couid = country.couid where not wantlist and not sold ",
     kCategoryEmpty,
     TotalsKind::StampCount, nullptr, nullptr, nullptr, false,
     3, "and stamp.couid = ", " order by coudesc, descr",
     QT_TRANSLATE_NOOP("Reports", "Country Report"), QT_TRANSLATE_NOOP("Reports", "All Countries"), QT_TRANSLATE_NOOP("Reports", "Selected Country")},
    {ReportId::ByType, "type",
     QT_TRANSLATE_NOOP("Reports", "Stamps by Type"), QT_TRANSLATE_NOOP("Reports", "Stamps by Type"), QT_TRANSLATE_NOOP("Reports", "Stamps by Type"),
     "Stamp.txt", "Stamps.htm",
     kCategoryFormat, QT_TRANSLATE_NOOP("Reports", "Type|description|Cat #|Face Value|Year|Quantity;"),
     QT_TRANSLATE_NOOP("Reports", "Type|Description|Cat #|Face Value|Year|Quantity"),
     kCategoryColumns,
     "Select descr, CatNum, Quantity, Face, year, typedesc from Stamp left join type on "
     "stamp.typeid = type.typeid where not wantlist and not sold ",
     kCategoryEmpty,
     TotalsKind::StampCount, nullptr, nullptr, nullptr, false,
     9, "and stamp.typeid = ", " order by typedesc, descr",
     QT_TRANSLATE_NOOP("Reports", "Type Report"), QT_TRANSLATE_NOOP("Reports", "All Types"), QT_TRANSLATE_NOOP("Reports", "Selected Type")},
    {ReportId::ByFormat, "format",
     QT_TRANSLATE_NOOP("Reports", "Stamps by Format"), QT_TRANSLATE_NOOP("Reports", "Stamps by Format"), QT_TRANSLATE_NOOP("Reports", "Stamps by Format"),
     "Stamp.txt", "Stamps.htm",
     kCategoryFormat, QT_TRANSLATE_NOOP("Reports", "Format|description|Cat #|Face Value|Year|Quantity;"),
     QT_TRANSLATE_NOOP("Reports", "Format|Description|Cat #|Face Value|Year|Quantity"),
     kCategoryColumns,
     "Select descr, CatNum, Quantity, Face, year, formdesc from Stamp left join format on "
     "stamp.formid = format.formid where not wantlist and not sold ",
     kCategoryEmpty,
     TotalsKind::StampCount, nullptr, nullptr, nullptr, false,
     4, "and stamp.formid = ", " order by formdesc, descr",
     QT_TRANSLATE_NOOP("Reports", "Format Report"), QT_TRANSLATE_NOOP("Reports", "All Formats"), QT_TRANSLATE_NOOP("Reports", "Selected Format")},
    {ReportId::ByTopic, "topic",
     QT_TRANSLATE_NOOP("Reports", "Stamps by Topic"), QT_TRANSLATE_NOOP("Reports", "Stamps by Topic"), QT_TRANSLATE_NOOP("Reports", "Stamps by Topic"),
     "Stamp.txt", "Stamps.htm",
     kCategoryFormat, QT_TRANSLATE_NOOP("Reports", "Topic|description|Cat #|Face Value|Year|Quantity;"),
     QT_TRANSLATE_NOOP("Reports", "Topic|Description|Cat #|Face Value|Year|Quantity"),
     kCategoryColumns,
     "Select descr, CatNum, Quantity, Face, year, topdesc from Stamp left join topic on "
     "stamp.topid = topic.topid where not wantlist and not sold ",
     kCategoryEmpty,
     TotalsKind::StampCount, nullptr, nullptr, nullptr, false,
     8, "and stamp.topid = ", " order by topdesc, descr",
     QT_TRANSLATE_NOOP("Reports", "Topics Report"), QT_TRANSLATE_NOOP("Reports", "All Topics"), QT_TRANSLATE_NOOP("Reports", "Selected Topic")},
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
