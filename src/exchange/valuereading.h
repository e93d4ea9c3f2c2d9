#pragma once

#include "util/currency.h"

#include <QChar>
#include <QDate>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace perlinex::regional {
class Regional;
}

// Values read as people type them into spreadsheets and other catalogues: amounts with a
// currency sign or code on either side, a decimal comma or point, thousands separators; years
// alone or several joined; yes/no in its common spellings; dates in ISO form or the user's own.
namespace perlinex::exchange {

// What became of a value read for a field.
enum class Reading {
    Blank,     // nothing there
    Read,      // the field takes it
    Words,     // words, not a value of the field's kind: kept in the notes, the field blank
    Malformed, // written as a value of the kind but wrongly (12.3.4, 2021-02-30): refused
};

template <typename T> struct Read {
    Reading reading = Reading::Blank;
    T value{};
    // Read, but the text says more than the field holds (the other years of "1885; 1886"):
    // the whole text goes to the notes as well.
    bool keepText = false;
};

// The decimal separator of a file's numbers: the point, unless its amounts are written with a
// decimal comma (54,91 or 1.234,56), as the file's own numbers show; where they show neither,
// the user's own separator.
QChar detectDecimalSeparator(const QStringList& samples, QChar userDecimal);

Read<Currency> readAmount(const QString& text, QChar decimal);
Read<std::int64_t> readWhole(const QString& text, QChar decimal);
// The first of several years joined by ";", ",", "/" or "-" is taken, the text kept.
Read<std::int64_t> readYear(const QString& text);
Read<bool> readFlag(const QString& text);
// ISO yyyy-mm-dd (a time after it is passed over), else the user's date test.
Read<QDate> readDate(const QString& text, const regional::Regional& regional);

// An amount as a plain decimal with a point and no more decimals than it has (at least two):
// "54.91", "0.1235", "-3.00".
QString plainAmount(Currency amount);

} // namespace perlinex::exchange
