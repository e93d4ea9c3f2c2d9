#pragma once

#include "util/currency.h"

#include <QDate>
#include <QString>
#include <cstdint>
#include <variant>

namespace perlinex::db {

// One field value as the store hands it out: null or one of the kinds the collection uses.
class Value {
public:
    enum class Kind { Null, Bool, Integer, Real, Money, Text, Date };

    Value() = default;
    Value(bool b) : data_(b) {}
    Value(int i) : data_(std::int64_t(i)) {}
    Value(std::int64_t i) : data_(i) {}
    Value(double d) : data_(d) {}
    Value(Currency c) : data_(c) {}
    Value(const QString& s) : data_(s) {}
    Value(const char* s) : data_(QString::fromUtf8(s)) {}
    Value(const QDate& d) : data_(d) {}

    static Value null() { return Value(); }

    Kind kind() const { return static_cast<Kind>(data_.index()); }
    bool isNull() const { return kind() == Kind::Null; }

    // Conversions; a null converts to the kind's zero (false, 0, "", invalid date).
    bool toBool() const;
    std::int64_t toInteger() const;
    double toReal() const;
    Currency toCurrency() const;
    QString toText() const;
    QDate toDate() const;

    bool operator==(const Value& other) const = default;

private:
    std::variant<std::monostate, bool, std::int64_t, double, Currency, QString, QDate> data_;
};

} // namespace perlinex::db
