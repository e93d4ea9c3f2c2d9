#include "db/amount.h"

#include "regional/regional.h"

#include <stdexcept>

namespace perlinex::db {

bool isTooLargeForMoney(const Value& value) {
    if (value.kind() != Value::Kind::Real && value.kind() != Value::Kind::Integer)
        return false;
    try {
        value.toCurrency();
        return false;
    } catch (const std::overflow_error&) {
        return true;
    }
}

std::optional<Currency> numberOf(const Value& value, const regional::Regional& regional) {
    switch (value.kind()) {
    case Value::Kind::Money:
        return value.toCurrency();
    case Value::Kind::Integer:
    case Value::Kind::Real:
        try {
            return value.toCurrency();
        } catch (const std::overflow_error&) {
            return std::nullopt; // no amount of money
        }
    case Value::Kind::Text:
        return regional.toCurrency(value.toText());
    default:
        return std::nullopt;
    }
}

} // namespace perlinex::db
