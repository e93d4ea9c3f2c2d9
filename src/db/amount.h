#pragma once

#include "db/value.h"
#include "util/currency.h"

#include <optional>

namespace perlinex::regional {
class Regional;
}

// How a value stored in a money field counts as an amount: the one rule of the reports, the
// custom reports and the statistics, so that their totals agree to the cent.
namespace perlinex::db {

// True for a number stored in a money field that no amount of money can hold (written by
// another program): it shows as regional::tooLargeForMoney(), and no total can include it.
bool isTooLargeForMoney(const Value& value);

// The numeric test of a stored value: a number, or a text the user's settings read as one.
std::optional<Currency> numberOf(const Value& value, const regional::Regional& regional);

} // namespace perlinex::db
