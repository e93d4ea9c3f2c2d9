#pragma once

#include "custom/fieldcatalogue.h"
#include "custom/layout.h"
#include "db/catalogue.h"
#include "db/database.h"
#include "db/schema.h"
#include "db/sqlite/cataloguefile.h"
#include "db/sqlite/collectionfile.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"
#include "support/wait.h"

#include <QFile>
#include <QTemporaryDir>
#include <initializer_list>
#include <memory>

// Identifiers of the shipped field catalogue.
namespace spec {
inline constexpr int Description = 1, FaceValue = 3, Year = 4, Used = 5, Quantity = 7, Country = 8,
                     Type = 9, Perforation = 13, IssueDate = 20, PricePaid = 21, Sold = 29,
                     Notes = 31;
}

// The fields offered for stamps by the catalogue the program ships.
inline const perlinex::custom::FieldCatalogue& shippedCatalogue() {
    static const perlinex::custom::FieldCatalogue catalogue = [] {
        QTemporaryDir dir;
        auto db = perlinex::db::openCatalogue(dir.path());
        auto c = perlinex::custom::FieldCatalogue::read(*db).offeredFor("stamp");
        db->close();
        return c;
    }();
    return catalogue;
}

inline perlinex::custom::Layout layoutOf(std::initializer_list<int> fields) {
    auto layout = perlinex::custom::Layout::defaults(shippedCatalogue(), "stamp");
    layout.fields = fields;
    return layout;
}

inline int sortPosition(int specid) {
    return shippedCatalogue().positionOf(specid);
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

// Stamps that meet the custom reports' edge cases: an apostrophe and HTML characters, wildcard
// characters, a tab, a bar and a semicolon, letters outside ASCII in both cases, missing
// values, and stamps of no country or type. Countries 1 Österreich, 2 Sweden, 3 United States;
// types 1 Airmail, 2 Definitive.
inline void makeCustomCollection(const QString& path) {
    auto db = perlinex::db::createCollection(path, false);
    db->execute(QString::fromUtf8(R"(
        insert into country(Coudesc) values ('Österreich'), ('Sweden'), ('United States');
        insert into type(Typedesc) values ('Airmail'), ('Definitive');
        insert into stamp(descr, catnum, Year, face, quantity, pricepaid, used, sold, CouID,
                          typeID, issued) values
            ('O''Brien <Irish> & Co', 'SG 1', 1900, 0.5, 2, 1.25, 1, 0, 3, 1, '2001-03-01'),
            ('50* overprint', 'SG 2', 1950, null, 1, 2.5, 0, 1, 2, 2, '2001-03-31'),
            ('500 tests', 'SG 3', 1960, null, 4, null, 0, 0, 2, null, '2001-04-01'),
            ('Penny Black', '1', 1840, null, 3, null, 1, 0, null, 2, null),
            ('penny red', '2', 1841, null, 1, 0.75, 0, 0, 1, null, null),
            ('Tab' || char(9) || 'here; bar|', '', null, null, 1, 1000, 0, 0, 2, 1, null),
            ('Ürümqi', 'CN 1', 1990, 1, 1, null, 0, 0, 3, null, null),
            ('Urumqi', 'CN 2', 1991, null, 1, null, 0, 0, null, null, null))"));
    db->close();
}
