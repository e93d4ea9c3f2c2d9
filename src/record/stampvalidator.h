#pragma once

#include "db/fields.h"
#include "db/value.h"
#include "record/stampentry.h"
#include "regional/regional.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

// The checks and conversions of a typed stamp, apart from any window: the checks made when
// the user leaves a field, the check of the whole record before it is stored, and the
// conversions between stored values and the texts the user sees.
namespace perlinex::record {

// Why a typed value cannot be taken: the message, its title (empty for the program's own),
// its icon, and the field that gets the focus back.
struct Refusal {
    QString field;
    QString text;
    QString title;
    bool critical = false;
};

// One stored field's new value.
struct Change {
    const db::StampField* field;
    db::Value value;
};

class StampValidator {
public:
    explicit StampValidator(const regional::Regional& regional) : regional_(regional) {}

    // The check made when the user leaves a field. A price that passes is rewritten as
    // currency and its total recomputed; a quantity that passes recomputes every total whose
    // price is a number. Nothing is rewritten when the field is refused. A field that still
    // holds what shown holds (the stored record, as it was put on screen) is never refused.
    std::optional<Refusal> leave(const QString& field, StampEntry& entry,
                                 const StampEntry* shown = nullptr) const;

    // The check of the whole record before it is stored: the description, the quantity and
    // the sale status first, then every field whose text would not convert, so that nothing
    // typed is dropped at the store.
    // A field that still holds what the shown record holds is not refused for what it holds
    // (another program may have stored a word in a number field, or a text longer than the
    // field); the description and the sale status are always checked.
    std::optional<Refusal> validate(const StampEntry& entry,
                                    const StampEntry* shown = nullptr) const;

    // What to store. A new record (shown is null) gets every field; a shown record only the
    // fields the user changed, so a stored value is never rewritten in the form the editor
    // shows it (rounded, shortened). The sort key follows the catalogue number, and each
    // total follows its quantity and price.
    std::vector<Change> changes(const StampEntry& entry, const StampEntry* shown) const;

    // The entry that shows a stored row; row gives a field's stored value by its name.
    StampEntry show(const std::function<db::Value(const char* field)>& row) const;

    // The value a field stores for its typed text (null for blank or unconvertible text).
    db::Value value(const db::StampField& field, const StampEntry& entry) const;

    // A stored value as the editor shows it: prices in the currency format, dates in the short
    // date format, the face value as a plain number.
    QString showValue(const db::StampField& f, const db::Value& v) const;

private:
    std::optional<Refusal> check(const db::StampField& f, StampEntry& entry) const;
    std::optional<Refusal> checkNumber(const db::StampField& f, const StampEntry& entry) const;
    std::optional<Refusal> checkQuantity(const StampEntry& entry, const QString& title) const;
    std::optional<Refusal> checkPrice(const db::StampField& f, const StampEntry& entry) const;
    std::optional<Refusal> checkDate(const db::StampField& f, const StampEntry& entry) const;
    std::optional<Refusal> checkLength(const db::StampField& f, const StampEntry& entry) const;
    // quantity × the total's price, nullopt when either is missing; throws on overflow.
    std::optional<Currency> total(const db::StampField& totalField, const StampEntry& entry) const;
    std::optional<Refusal> checkTotal(const db::StampField& totalField, const StampEntry& entry,
                                      const QString& refusedField) const;

    const regional::Regional& regional_;
};

} // namespace perlinex::record
