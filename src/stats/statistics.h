#pragma once

#include "util/currency.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace perlinex::db {
class Database;
}
namespace perlinex::regional {
class Regional;
}

// The figures of the Statistics window and of `perlinex statistics`: what the collection holds,
// counted and added up by aggregate queries in the store, with money to the ten-thousandth.
namespace perlinex::stats {

// The stamps the figures are taken over: every stamp, or those of the collection list's filter.
struct StampFilter {
    QString condition;   // over table stamp, in the program's SQL dialect; empty: every stamp
    QString description; // what the window's title says of it
    bool isSet() const { return !condition.trimmed().isEmpty(); }
};

// A sum of money, or the word that it is too large to be added up: a stored number no amount
// of money can hold is part of it, or the sum leaves the range of money.
struct MoneySum {
    Currency amount;
    bool tooLarge = false;

    void add(Currency value);
    void add(const MoneySum& other);
    bool operator==(const MoneySum&) const = default;
};

// What a group of stamps adds up to. Each amount is the quantity times the stamp's price, as the
// reports' totals are, except willPay: the price paid once per stamp, as the want list totals it.
struct Figures {
    std::int64_t stamps = 0;   // records
    std::int64_t quantity = 0; // their quantities
    MoneySum paid;             // price paid
    MoneySum value;            // catalogue value
    MoneySum asked;            // selling price (the sale price of a sold stamp)
    MoneySum willPay;

    void add(const Figures& other);
    bool operator==(const Figures&) const = default;
};

// The collection at a glance. Each part is chosen as its report chooses: the collection as the
// value report (neither on the want list nor sold), the want list, the stamps for sale and the
// stamps sold each by their own mark, so a stamp can count in more than one of the last three.
struct Glance {
    Figures collection;
    Figures wantList;
    Figures forSale;
    Figures sold;
};

// The ways the stamps of the collection (neither on the want list nor sold) are broken down.
enum class Breakdown { Country, Topic, Condition, Type, Decade, PurchaseYear };

// One group of a breakdown: an entry of a code table, a decade of issue or a year of purchase,
// or the stamps that have none (unclassified; also those whose entry no longer exists).
struct Group {
    std::int64_t key = 0; // the entry's number, the decade's first year, the year
    bool unclassified = false;
    QString label; // the entry's description; empty for the others, which the view names
    Figures figures;
};

// Computes the figures with aggregate queries over the collection's stamps (or the filter's).
// A query runs when its figures are asked for. Sums of money are exact: the store adds the
// amounts in ten-thousandths of a unit; a query that meets a value the store cannot add exactly
// (a text in a money field, a quantity that is not a whole number, amounts near the limits of
// money) is added up here instead, row by row, under the reports' own rules.
class CollectionStatistics {
public:
    CollectionStatistics(db::Database& db, const regional::Regional& regional,
                         StampFilter filter = {});

    const StampFilter& filter() const { return filter_; }

    // Throw db::DbError.
    Glance glance();
    // Every group that has stamps: entries in no particular order; decades and years in order;
    // the unclassified last.
    std::vector<Group> groups(Breakdown breakdown);

    // Adds everything up row by row, as when the store cannot: for the tests, which check
    // that both ways give the same figures.
    void setRowByRow(bool rowByRow) { rowByRow_ = rowByRow; }
    // Whether the last figures were added up row by row.
    bool addedUpRowByRow() const { return addedUpRowByRow_; }

private:
    db::Database& db_;
    const regional::Regional& regional_;
    StampFilter filter_;
    bool rowByRow_ = false;
    bool addedUpRowByRow_ = false;
};

} // namespace perlinex::stats
