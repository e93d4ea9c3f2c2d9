#include "db/value.h"

#include <cmath>

namespace perlinex::db {

bool Value::toBool() const {
    switch (kind()) {
    case Kind::Bool:
        return std::get<bool>(data_);
    case Kind::Integer:
        return std::get<std::int64_t>(data_) != 0;
    case Kind::Real:
        return std::get<double>(data_) != 0.0;
    case Kind::Money:
        return std::get<Currency>(data_).raw() != 0;
    case Kind::Text: {
        const QString t = std::get<QString>(data_).trimmed().toLower();
        return t == QLatin1String("true") || t == QLatin1String("yes") ||
               t == QLatin1String("-1") || t == QLatin1String("1");
    }
    default:
        return false;
    }
}

std::int64_t Value::toInteger() const {
    switch (kind()) {
    case Kind::Bool:
        return std::get<bool>(data_) ? 1 : 0;
    case Kind::Integer:
        return std::get<std::int64_t>(data_);
    case Kind::Real:
        return std::llround(std::get<double>(data_));
    case Kind::Money:
        return std::llround(std::get<Currency>(data_).toDouble());
    case Kind::Text:
        return std::get<QString>(data_).trimmed().toLongLong();
    default:
        return 0;
    }
}

double Value::toReal() const {
    switch (kind()) {
    case Kind::Bool:
    case Kind::Integer:
        return static_cast<double>(toInteger());
    case Kind::Real:
        return std::get<double>(data_);
    case Kind::Money:
        return std::get<Currency>(data_).toDouble();
    case Kind::Text:
        return std::get<QString>(data_).trimmed().toDouble();
    default:
        return 0.0;
    }
}

Currency Value::toCurrency() const {
    switch (kind()) {
    case Kind::Money:
        return std::get<Currency>(data_);
    case Kind::Integer:
    case Kind::Bool:
        return Currency::fromInteger(toInteger());
    case Kind::Real:
        return Currency::fromDouble(std::get<double>(data_));
    case Kind::Text:
        return Currency::fromPlainText(std::get<QString>(data_)).value_or(Currency());
    default:
        return Currency();
    }
}

QString Value::toText() const {
    switch (kind()) {
    case Kind::Bool:
        return std::get<bool>(data_) ? QStringLiteral("True") : QStringLiteral("False");
    case Kind::Integer:
        return QString::number(std::get<std::int64_t>(data_));
    case Kind::Real:
        return QString::number(std::get<double>(data_), 'g', 15);
    case Kind::Money:
        return std::get<Currency>(data_).toPlainText();
    case Kind::Text:
        return std::get<QString>(data_);
    case Kind::Date:
        return std::get<QDate>(data_).toString(Qt::ISODate);
    default:
        return QString();
    }
}

QDate Value::toDate() const {
    switch (kind()) {
    case Kind::Date:
        return std::get<QDate>(data_);
    case Kind::Text:
        return QDate::fromString(std::get<QString>(data_).left(10), Qt::ISODate);
    default:
        return QDate();
    }
}

} // namespace perlinex::db
