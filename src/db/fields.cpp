#include "db/fields.h"

#include <QCoreApplication>
#include <QHash>
#include <array>
#include <vector>

namespace perlinex::db {

namespace {

using K = FieldKind;
using P = FieldPlace;
using R = EntryRule;

// clang-format off
const std::array<StampField, 35> kStampFields = {{
    {"stampid",    K::Counter,   0,  nullptr,                          nullptr,         P::None,      R::Plain,    0, nullptr,     nullptr},
    {"descr",      K::Text,      80, QT_TRANSLATE_NOOP("Fields", "Description"),   "txtDescr",     P::AboveTabs, R::Plain,    0, nullptr,     nullptr, true},
    {"catnum",     K::Text,      30, QT_TRANSLATE_NOOP("Fields", "Catalog Num"),   "txtCatNum",    P::AboveTabs, R::Plain,    0, nullptr,     nullptr, true},
    {"catsort",    K::Text,      20, nullptr,                          nullptr,         P::None,      R::Derived,  0, nullptr,     nullptr, true},
    {"face",       K::Money,     0,  QT_TRANSLATE_NOOP("Fields", "Face Value"),    "txtFace",      P::AboveTabs, R::Number,   0, nullptr,
     QT_TRANSLATE_NOOP("Fields", "You must enter a number in the 'Face Value' field, or leave it blank")},
    {"Year",       K::Integer16, 0,  QT_TRANSLATE_NOOP("Fields", "Year"),          "txtYear",      P::AboveTabs, R::Number,   0, nullptr,
     QT_TRANSLATE_NOOP("Fields", "You must enter a number in the Year field, or leave it blank")},
    {"used",       K::Boolean,   0,  QT_TRANSLATE_NOOP("Fields", "Used"),          "chkUsed",      P::AboveTabs, R::Plain,    0, nullptr,     nullptr},
    {"wantlist",   K::Boolean,   0,  QT_TRANSLATE_NOOP("Fields", "Want List"),     "chkWantList",  P::AboveTabs, R::Plain,    0, nullptr,     nullptr},
    {"quantity",   K::Integer32, 0,  QT_TRANSLATE_NOOP("Fields", "Quantity"),      "txtQuantity",  P::AboveTabs, R::Quantity, 0, nullptr,     nullptr},
    {"CouID",      K::CodeRef,   0,  QT_TRANSLATE_NOOP("Fields", "Country"),       "cmbCou",       P::General,   R::Plain,    3, nullptr,     nullptr},
    {"typeID",     K::CodeRef,   0,  QT_TRANSLATE_NOOP("Fields", "Type"),          "cmbType",      P::General,   R::Plain,    9, nullptr,     nullptr},
    {"formID",     K::CodeRef,   0,  QT_TRANSLATE_NOOP("Fields", "Format"),        "cmbForm",      P::General,   R::Plain,    4, nullptr,     nullptr},
    {"papID",      K::CodeRef,   0,  QT_TRANSLATE_NOOP("Fields", "Paper"),         "cmbPap",       P::General,   R::Plain,    6, nullptr,     nullptr},
    {"CanID",      K::CodeRef,   0,  QT_TRANSLATE_NOOP("Fields", "Cancellation"),  "cmbCan",       P::General,   R::Plain,    1, nullptr,     nullptr},
    {"perfID",     K::CodeRef,   0,  QT_TRANSLATE_NOOP("Fields", "Perforation"),   "cmbPerf",      P::General,   R::Plain,    7, nullptr,     nullptr},
    {"topID",      K::CodeRef,   0,  QT_TRANSLATE_NOOP("Fields", "Topic"),         "cmbTop",       P::General,   R::Plain,    8, nullptr,     nullptr},
    {"gumID",      K::CodeRef,   0,  QT_TRANSLATE_NOOP("Fields", "Gum"),           "cmbGum",       P::General,   R::Plain,    5, nullptr,     nullptr},
    {"ConID",      K::CodeRef,   0,  QT_TRANSLATE_NOOP("Fields", "Condition"),     "cmbCon",       P::Prices,    R::Plain,    2, nullptr,     nullptr},
    {"Color",      K::Text,      50, QT_TRANSLATE_NOOP("Fields", "Color"),         "txtColor",     P::General,   R::Plain,    0, nullptr,     nullptr},
    {"watermark",  K::Text,      50, QT_TRANSLATE_NOOP("Fields", "Watermark"),     "txtWatermark", P::General,   R::Plain,    0, nullptr,     nullptr},
    {"Errors",     K::Text,      50, QT_TRANSLATE_NOOP("Fields", "Errors"),        "txtErrors",    P::General,   R::Plain,    0, nullptr,     nullptr},
    {"issued",     K::Date,      0,  QT_TRANSLATE_NOOP("Fields", "Issue Date"),    "dcIssued",     P::General,   R::Date,     0, nullptr,
     QT_TRANSLATE_NOOP("Fields", "You must enter a valid issue date, or leave the field blank.")},
    {"pricepaid",  K::Money,     0,  QT_TRANSLATE_NOOP("Fields", "Price Paid"),    "txtPricePaid", P::Prices,    R::Price,    0, nullptr,     nullptr},
    {"totalpaid",  K::Money,     0,  QT_TRANSLATE_NOOP("Fields", "Total Paid"),    "txtTotalPaid", P::Prices,    R::Total,    0, "pricepaid", nullptr},
    {"catvalue",   K::Money,     0,  QT_TRANSLATE_NOOP("Fields", "Catalog Value"), "txtCatValue",  P::Prices,    R::Price,    0, nullptr,     nullptr},
    {"totalval",   K::Money,     0,  QT_TRANSLATE_NOOP("Fields", "Total Value"),   "txtTotalVal",  P::Prices,    R::Total,    0, "catvalue",  nullptr},
    {"priceask",   K::Money,     0,  QT_TRANSLATE_NOOP("Fields", "Selling Price"), "txtPriceAsk",  P::Prices,    R::Price,    0, nullptr,     nullptr},
    {"totalsales", K::Money,     0,  QT_TRANSLATE_NOOP("Fields", "Total Sales"),   "txtTotalSales",P::Prices,    R::Total,    0, "priceask",  nullptr},
    {"forsale",    K::Boolean,   0,  QT_TRANSLATE_NOOP("Fields", "For Sale"),      "chkForSale",   P::Prices,    R::Plain,    0, nullptr,     nullptr},
    {"purchased",  K::Date,      0,  QT_TRANSLATE_NOOP("Fields", "Purchase Date"), "dcPurchased",  P::Prices,    R::Date,     0, nullptr,
     QT_TRANSLATE_NOOP("Fields", "You must enter a valid purchase date, or leave the field blank.")},
    {"sold",       K::Boolean,   0,  QT_TRANSLATE_NOOP("Fields", "Sold"),          "chkSold",      P::Prices,    R::Plain,    0, nullptr,     nullptr},
    {"datesold",   K::Date,      0,  QT_TRANSLATE_NOOP("Fields", "Date Sold"),     "dcDateSold",   P::Prices,    R::Date,     0, nullptr,
     QT_TRANSLATE_NOOP("Fields", "You must enter a valid sold date, or leave the field blank.")},
    {"notes",      K::LongText,  0,  QT_TRANSLATE_NOOP("Fields", "Notes"),         "txtNotes",     P::Notes,     R::Plain,    0, nullptr,     nullptr},
    {"misc1",      K::Text,      50, QT_TRANSLATE_NOOP("Fields", "Misc. 1"),       "txtMisc1",     P::Notes,     R::Plain,    0, nullptr,     nullptr},
    {"misc2",      K::Text,      50, QT_TRANSLATE_NOOP("Fields", "Misc. 2"),       "txtMisc2",     P::Notes,     R::Plain,    0, nullptr,     nullptr},
}};

const std::array<CodeTable, 9> kCodeTables = {{
    {1, "cancel", "CanID", "CanDesc", "cancel",
     QT_TRANSLATE_NOOP("Fields", "C&ancellations"), QT_TRANSLATE_NOOP("Fields", "Maintain Cancellations"),
     QT_TRANSLATE_NOOP("Fields", "Cancellation Description"), 48, "code-cancellations.html",
     QT_TRANSLATE_NOOP("Fields", "cancellation"),
     QT_TRANSLATE_NOOP("Fields", "Are you sure that you want to delete this Cancellation?"),
     QT_TRANSLATE_NOOP("Fields", "Delete Cancellation"),
     QT_TRANSLATE_NOOP("Fields", "This cancellation is in use in a stamp record")},
    {2, "Condition", "ConID", "conDesc", "condition",
     QT_TRANSLATE_NOOP("Fields", "Con&ditions"), QT_TRANSLATE_NOOP("Fields", "Maintain Conditions"),
     QT_TRANSLATE_NOOP("Fields", "Condition Description"), 20, "code-conditions.html",
     QT_TRANSLATE_NOOP("Fields", "condition"),
     QT_TRANSLATE_NOOP("Fields", "Are you sure that you want to delete this condition?"),
     QT_TRANSLATE_NOOP("Fields", "Delete Condition"),
     QT_TRANSLATE_NOOP("Fields", "This condition is in use in a stamp record")},
    {3, "country", "CouID", "Coudesc", "country",
     QT_TRANSLATE_NOOP("Fields", "&Countries"), QT_TRANSLATE_NOOP("Fields", "Maintain Countries"),
     QT_TRANSLATE_NOOP("Fields", "Country Description"), 49, "code-countries.html",
     QT_TRANSLATE_NOOP("Fields", "country"),
     QT_TRANSLATE_NOOP("Fields", "Are you sure that you want to delete this country?"),
     QT_TRANSLATE_NOOP("Fields", "Delete Country"),
     QT_TRANSLATE_NOOP("Fields", "This country is in use in a stamp record")},
    {4, "format", "formID", "FormDesc", "format",
     QT_TRANSLATE_NOOP("Fields", "&Formats"), QT_TRANSLATE_NOOP("Fields", "Maintain Formats"),
     QT_TRANSLATE_NOOP("Fields", "Format Description"), 50, "code-formats.html",
     QT_TRANSLATE_NOOP("Fields", "format"),
     QT_TRANSLATE_NOOP("Fields", "Are you sure that you want to delete this format?"),
     QT_TRANSLATE_NOOP("Fields", "Delete Format"),
     QT_TRANSLATE_NOOP("Fields", "This format is in use in a stamp record")},
    {5, "gum", "gumID", "GumDesc", "gum",
     QT_TRANSLATE_NOOP("Fields", "&Gum"), QT_TRANSLATE_NOOP("Fields", "Maintain Gum Types"),
     QT_TRANSLATE_NOOP("Fields", "Gum Description"), 51, "code-gum.html",
     QT_TRANSLATE_NOOP("Fields", "gum"),
     QT_TRANSLATE_NOOP("Fields", "Are you sure that you want to delete this gum type?"),
     QT_TRANSLATE_NOOP("Fields", "Delete Gum"),
     QT_TRANSLATE_NOOP("Fields", "This gum is in use in a stamp record")},
    {6, "paper", "papID", "Papdesc", "paper",
     QT_TRANSLATE_NOOP("Fields", "&Papers"), QT_TRANSLATE_NOOP("Fields", "Maintain Papers"),
     QT_TRANSLATE_NOOP("Fields", "Paper Description"), 52, "code-papers.html",
     QT_TRANSLATE_NOOP("Fields", "paper"),
     QT_TRANSLATE_NOOP("Fields", "Are you sure that you want to delete this paper?"),
     QT_TRANSLATE_NOOP("Fields", "Delete Paper"),
     QT_TRANSLATE_NOOP("Fields", "This paper is in use in a stamp record")},
    {7, "Perf", "perfID", "PerfDesc", "perf",
     QT_TRANSLATE_NOOP("Fields", "P&erformations"), QT_TRANSLATE_NOOP("Fields", "Maintain Perforations"),
     QT_TRANSLATE_NOOP("Fields", "Perforation Description"), 53, "code-perforations.html",
     QT_TRANSLATE_NOOP("Fields", "perforation"),
     QT_TRANSLATE_NOOP("Fields", "Are you sure that you want to delete this perforation?"),
     QT_TRANSLATE_NOOP("Fields", "Delete Perforation"),
     QT_TRANSLATE_NOOP("Fields", "This perforation is in use in a stamp record")},
    {8, "topic", "topID", "TopDesc", "topic",
     QT_TRANSLATE_NOOP("Fields", "T&opics"), QT_TRANSLATE_NOOP("Fields", "Maintain Topics"),
     QT_TRANSLATE_NOOP("Fields", "Topic Description"), 55, "code-topics.html",
     QT_TRANSLATE_NOOP("Fields", "topic"),
     QT_TRANSLATE_NOOP("Fields", "Are you sure that you want to delete this topic?"),
     QT_TRANSLATE_NOOP("Fields", "Delete Topic"),
     QT_TRANSLATE_NOOP("Fields", "This topic is in use in a stamp record")},
    {9, "type", "typeID", "Typedesc", "type",
     QT_TRANSLATE_NOOP("Fields", "&Types"), QT_TRANSLATE_NOOP("Fields", "Maintain Types"),
     QT_TRANSLATE_NOOP("Fields", "Type Description"), 54, "code-types.html",
     QT_TRANSLATE_NOOP("Fields", "type"),
     QT_TRANSLATE_NOOP("Fields", "Are you sure that you want to delete this type?"),
     QT_TRANSLATE_NOOP("Fields", "Delete Type"),
     QT_TRANSLATE_NOOP("Fields", "This type is in use in a stamp record")},
}};
// clang-format on

// The collection list's columns: what a collector scans a list by, the flags last.
const std::array<const char*, 13> kListed = {"descr",    "catnum",  "CouID",     "Year",     "face",
                                             "quantity", "ConID",   "pricepaid", "catvalue", "used",
                                             "wantlist", "forsale", "sold"};

bool sameName(const char* a, const QString& b) {
    return b.compare(QLatin1String(a), Qt::CaseInsensitive) == 0;
}

} // namespace

std::span<const StampField> stampFields() {
    return kStampFields;
}

int stampFieldIndex(const QString& name) {
    // Callers mostly spell a field as the table does, which is found without folding case: a
    // whole import asks this for every field of every line.
    static const auto exact = [] {
        QHash<QString, int> out;
        for (std::size_t i = 0; i < kStampFields.size(); ++i)
            out.insert(QLatin1String(kStampFields[i].name), int(i));
        return out;
    }();
    if (const auto it = exact.constFind(name); it != exact.constEnd())
        return *it;
    for (std::size_t i = 0; i < kStampFields.size(); ++i)
        if (sameName(kStampFields[i].name, name))
            return int(i);
    return -1;
}

const StampField* stampField(const QString& name) {
    const int i = stampFieldIndex(name);
    return i < 0 ? nullptr : &kStampFields[std::size_t(i)];
}

const StampField* totalOfPrice(const QString& priceField) {
    for (const StampField& f : kStampFields)
        if (f.priceField && sameName(f.priceField, priceField))
            return &f;
    return nullptr;
}

std::span<const StampField* const> listedFields() {
    static const std::vector<const StampField*> fields = [] {
        std::vector<const StampField*> out;
        for (const char* name : kListed)
            out.push_back(stampField(QLatin1String(name)));
        return out;
    }();
    return fields;
}

std::span<const CodeTable> codeTables() {
    return kCodeTables;
}

const CodeTable* codeTable(int number) {
    return number >= 1 && number <= 9 ? &kCodeTables[std::size_t(number - 1)] : nullptr;
}

const CodeTable* codeTableByName(const QString& table) {
    for (const CodeTable& t : kCodeTables)
        if (sameName(t.table, table))
            return &t;
    return nullptr;
}

const StampField& referenceField(const CodeTable& table) {
    for (const StampField& f : kStampFields)
        if (f.codeTable == table.number)
            return f;
    Q_UNREACHABLE();
}

QString codeListQuery(const CodeTable& table) {
    return QStringLiteral("Select * from %1 order by %2")
        .arg(QLatin1String(table.table), QLatin1String(table.descField));
}

QString inUseQuery(const CodeTable& table) {
    return QStringLiteral("Select StampID from Stamp where %1 = ")
        .arg(QLatin1String(table.idField));
}

QString fieldText(const char* text) {
    return text ? QCoreApplication::translate("Fields", text) : QString();
}

} // namespace perlinex::db
