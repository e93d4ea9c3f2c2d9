#pragma once

#include "custom/fieldcatalogue.h"
#include "custom/layout.h"
#include "db/catalogue.h"
#include "db/database.h"
#include "db/recordset.h"
#include "db/schema.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"
#include "support/wait.h"

#include <QDate>
#include <QFile>
#include <QTemporaryDir>
#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

// The shipped field catalogue's identifiers used by the tests.
namespace spec {
inline constexpr int Description = 1, CatalogNumber = 2, FaceValue = 3, Year = 4, Used = 5,
                     Quantity = 7, Country = 8, Type = 9, Format = 10, Perforation = 13,
                     IssueDate = 20, PricePaid = 21, Sold = 29, Notes = 31;
}

// The field catalogue as the program ships it, read back from a catalogue file made for it.
inline const perlinex::custom::FieldCatalogue& shippedCatalogue() {
    static const perlinex::custom::FieldCatalogue catalogue = [] {
        QTemporaryDir dir;
        auto db = perlinex::db::openCatalogue(dir.path());
        auto c = perlinex::custom::FieldCatalogue::read(*db);
        db->close();
        return c;
    }();
    return catalogue;
}

// A layout over the shipped catalogue with these fields in this order.
inline perlinex::custom::Layout layoutOf(std::initializer_list<int> fields) {
    perlinex::custom::Layout layout = perlinex::custom::Layout::defaults(
        shippedCatalogue().offeredFor(QStringLiteral("stamp")), QStringLiteral("stamp"));
    for (const int id : fields)
        layout.fields << id;
    return layout;
}

inline int sortPosition(int specid) {
    return shippedCatalogue().offeredFor(QStringLiteral("stamp")).positionOf(specid);
}

inline QString fileText(const QString& fileName) {
    QFile f(fileName);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QStringLiteral("<none>");
}

inline void writeFileBytes(const QString& fileName, const QByteArray& bytes) {
    QFile f(fileName);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

inline QString crlf(const QStringList& lines) {
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

// A small collection whose stamps meet the custom reports' edge cases: an apostrophe and HTML
// characters, wildcard characters, a tab, a bar and a semicolon, letters outside ASCII in
// both cases, missing values, and stamps of no country or type.
//
// Entries: country 1 Österreich, 2 Sweden, 3 United States; type 1 Airmail, 2 Definitive.
inline std::unique_ptr<perlinex::db::Database> makeCustomCollection(const QString& path) {
    using perlinex::Currency;
    using perlinex::db::Value;
    auto db = perlinex::db::createCollection(path, false);
    db->execute(QStringLiteral(
        "insert into country(Coudesc) values ('Österreich'); insert into country(Coudesc) values "
        "('Sweden'); insert into country(Coudesc) values ('United States'); insert into "
        "type(Typedesc) values ('Airmail'); insert into type(Typedesc) values ('Definitive')"));
    const auto money = [](const char* text) {
        return Value(*Currency::fromPlainText(QString::fromLatin1(text)));
    };
    using Fields = std::vector<std::pair<const char*, Value>>;
    const auto add = [&](const QString& descr, const char* catnum, const Fields& fields) {
        auto rs = db->openRecordSet(QStringLiteral("Select * from stamp"));
        rs->addNew();
        rs->setField(QStringLiteral("descr"), Value(descr));
        rs->setField(QStringLiteral("catnum"), Value(catnum));
        for (const auto& [name, value] : fields)
            rs->setField(QString::fromLatin1(name), value);
        rs->update();
    };
    const Value yes(true);
    add(QStringLiteral("O'Brien <Irish> & Co"), "SG 1",
        {{"Year", 1900},
         {"face", money("0.5")},
         {"quantity", 2},
         {"pricepaid", money("1.25")},
         {"used", yes},
         {"CouID", 3},
         {"typeID", 1},
         {"issued", Value(QDate(2001, 3, 1))}});
    add(QStringLiteral("50* overprint"), "SG 2",
        {{"Year", 1950},
         {"quantity", 1},
         {"pricepaid", money("2.5")},
         {"CouID", 2},
         {"typeID", 2},
         {"sold", yes},
         {"issued", Value(QDate(2001, 3, 31))}});
    add(QStringLiteral("500 tests"), "SG 3",
        {{"Year", 1960}, {"quantity", 4}, {"CouID", 2}, {"issued", Value(QDate(2001, 4, 1))}});
    add(QStringLiteral("Penny Black"), "1",
        {{"Year", 1840}, {"quantity", 3}, {"used", yes}, {"typeID", 2}});
    add(QStringLiteral("penny red"), "2",
        {{"Year", 1841}, {"quantity", 1}, {"pricepaid", money("0.75")}, {"CouID", 1}});
    add(QStringLiteral("Tab\there; bar|"), "",
        {{"quantity", 1}, {"pricepaid", money("1000")}, {"CouID", 2}, {"typeID", 1}});
    add(QStringLiteral("Ürümqi"), "CN 1",
        {{"Year", 1990}, {"quantity", 1}, {"face", money("1")}, {"CouID", 3}});
    add(QStringLiteral("Urumqi"), "CN 2", {{"Year", 1991}, {"quantity", 1}});
    return db;
}
