#pragma once

#include "db/database.h"
#include "db/schema.h"
#include "db/sqlite/collectionfile.h"
#include "stats/statistics.h"
#include "support/temp_folder.h"
#include "support/wait.h"

#include <QString>
#include <memory>

// A small collection whose figures are worked out by hand below: stamps with and without a
// country, one whose country no longer exists, issue dates and years, purchase dates, a want
// list stamp, a stamp for sale, two sold stamps (one also marked for sale), and amounts with
// four decimals.
//
// Entries: country 1 Austria, 2 Sweden; condition 1 Mint, 2 Used; topic 1 Ships; type 1 Airmail.
inline std::unique_ptr<perlinex::db::Database> makeStatsCollection(const QString& path) {
    auto db = perlinex::db::createCollection(path, false);
    db->execute(QStringLiteral(
        "insert into country(Coudesc) values ('Austria'); insert into country(Coudesc) values "
        "('Sweden'); insert into condition(conDesc) values ('Mint'); insert into "
        "condition(conDesc) values ('Used'); insert into topic(TopDesc) values ('Ships'); "
        "insert into type(Typedesc) values ('Airmail');"
        "insert into stamp(descr, CouID, ConID, topID, typeID, quantity, pricepaid, catvalue, "
        "issued, Year, purchased) values ('A', 1, 1, 1, 1, 2, 1.25, 3.3333, '1952-03-01', 1952, "
        "'1990-05-06');"
        "insert into stamp(descr, CouID, ConID, quantity, pricepaid, catvalue, issued, Year, "
        "purchased) values ('B', 1, 2, 1, null, 10, null, 1948, '1990-12-31');"
        "insert into stamp(descr, CouID, quantity, pricepaid, catvalue, issued, Year) values "
        "('C', 2, 3, 0.1, 0.2, '1961-01-01', 1900);"
        "insert into stamp(descr, quantity, pricepaid, catvalue, forsale, priceask, purchased) "
        "values ('D', 1, 5, 7.5, 1, 9.99, '2001-01-01');"
        "insert into stamp(descr, CouID, quantity, pricepaid, catvalue, purchased) values "
        "('E', 99, 4, 0.5, 1.0001, '2001-07-07 10:30');"
        "insert into stamp(descr, CouID, wantlist, quantity, pricepaid, catvalue) values "
        "('W', 1, 1, 2, 4.5, 6);"
        "insert into stamp(descr, CouID, sold, quantity, pricepaid, priceask, catvalue) values "
        "('S', 2, 1, 3, 2, 5.5, 4);"
        "insert into stamp(descr, sold, forsale, quantity, pricepaid, priceask) values "
        "('T', 1, 1, 1, 1, 2);"));
    return db;
}

inline perlinex::Currency money(const char* plain) {
    return *perlinex::Currency::fromPlainText(QString::fromLatin1(plain));
}

inline perlinex::stats::MoneySum sum(const char* plain) {
    return perlinex::stats::MoneySum{money(plain), false};
}
