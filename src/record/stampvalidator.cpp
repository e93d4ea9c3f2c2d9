#include "record/stampvalidator.h"

#include "db/schema.h"
#include "regional/regional.h"
#include "util/translation.h"

#include <stdexcept>

namespace perlinex::record {

using db::EntryRule;
using db::FieldKind;
using db::StampField;

namespace {

QString nameOf(const StampField& f) {
    return QLatin1String(f.name);
}

const StampField& field(const char* name) {
    return *db::stampField(QLatin1String(name));
}

Refusal refuse(const StampField& f, const QString& text, bool critical,
               const QString& title = QString()) {
    return Refusal{nameOf(f), text, title, critical};
}

// Stored values that are numbers; a text column written by another program may hold words.
bool isNumber(const db::Value& v) {
    switch (v.kind()) {
    case db::Value::Kind::Integer:
    case db::Value::Kind::Real:
    case db::Value::Kind::Money:
        return true;
    case db::Value::Kind::Text:
        return Currency::fromPlainText(v.toText().trimmed()).has_value();
    default:
        return false;
    }
}

} // namespace

std::optional<Currency> StampValidator::total(const StampField& totalField,
                                              const StampEntry& entry) const {
    const auto quantity = regional_.toInt32(entry.text(QStringLiteral("quantity")));
    const auto price = regional_.toCurrency(entry.text(QLatin1String(totalField.priceField)));
    if (!quantity || !price)
        return std::nullopt;
    return *price * std::int64_t(*quantity);
}

std::optional<Refusal> StampValidator::checkTotal(const StampField& totalField,
                                                  const StampEntry& entry,
                                                  const QString& refusedField) const {
    try {
        total(totalField, entry);
        return std::nullopt;
    } catch (const std::overflow_error&) {
        const StampField& price = field(totalField.priceField);
        return Refusal{
            refusedField,
            translate("StampValidator",
                      "The %1 times the quantity is more than an amount of money can hold. "
                      "Enter a smaller quantity or %2.")
                .arg(db::fieldText(price.caption), db::fieldText(price.caption)),
            QString(), true};
    }
}

std::optional<Refusal> StampValidator::checkNumber(const StampField& f,
                                                   const StampEntry& entry) const {
    const QString t = entry.text(nameOf(f)).trimmed();
    if (t.isEmpty())
        return std::nullopt;
    if (!regional_.isNumeric(t))
        return refuse(f, db::fieldText(f.leaveMessage), true);
    if (f.kind == FieldKind::Integer16 && !regional_.toInt16(t))
        return refuse(f,
                      translate("StampValidator",
                                "The year must be a whole number from -32768 to 32767, or blank."),
                      true);
    if (f.kind == FieldKind::Money && !regional_.toCurrency(t))
        return refuse(
            f,
            translate("StampValidator", "The %1 is more than an amount of money can hold.")
                .arg(db::fieldText(f.caption)),
            true);
    return std::nullopt;
}

std::optional<Refusal> StampValidator::checkQuantity(const StampEntry& entry,
                                                     const QString& title) const {
    const StampField& q = field("quantity");
    if (!regional_.toInt32(entry.text(nameOf(q))))
        return refuse(
            q,
            translate("StampValidator",
                      "The quantity must be a whole number from -2147483648 to 2147483647."),
            true, title);
    for (const StampField& f : db::stampFields())
        if (f.rule == EntryRule::Total)
            if (auto r = checkTotal(f, entry, nameOf(q)))
                return r;
    return std::nullopt;
}

std::optional<Refusal> StampValidator::checkPrice(const StampField& f,
                                                  const StampEntry& entry) const {
    const QString t = entry.text(nameOf(f));
    if (t.isEmpty())
        return std::nullopt;
    if (!regional_.toCurrency(t))
        return refuse(
            f,
            translate("StampValidator", "You must enter a valid number or leave the field blank"),
            false);
    return checkTotal(*db::totalOfPrice(nameOf(f)), entry, nameOf(f));
}

std::optional<Refusal> StampValidator::checkDate(const StampField& f,
                                                 const StampEntry& entry) const {
    // Spaces alone are a blank date, not a wrong one.
    const QString t = entry.text(nameOf(f));
    if (t.trimmed().isEmpty() || regional_.isDate(t))
        return std::nullopt;
    return refuse(f, db::fieldText(f.leaveMessage), false);
}

std::optional<Refusal> StampValidator::checkLength(const StampField& f,
                                                   const StampEntry& entry) const {
    if (f.size <= 0 || entry.text(nameOf(f)).size() <= f.size)
        return std::nullopt;
    return refuse(f,
                  translate("StampValidator", "The %1 can hold at most %2 characters; it holds %3.")
                      .arg(db::fieldText(f.caption))
                      .arg(f.size)
                      .arg(entry.text(nameOf(f)).size()),
                  false);
}

std::optional<Refusal> StampValidator::leave(const QString& name, StampEntry& entry,
                                             const StampEntry* shown) const {
    const StampField* f = db::stampField(name);
    if (!f)
        return std::nullopt;
    // A stored value the user has not touched is the record's own, whatever another program
    // put there: leaving it is no reason to complain (a refused field is not rewritten).
    const auto refusal = check(*f, entry);
    if (refusal && shown && entry.same(*shown, *f))
        return std::nullopt;
    return refusal;
}

std::optional<Refusal> StampValidator::check(const StampField& f, StampEntry& entry) const {
    const QString name = nameOf(f);
    switch (f.rule) {
    case EntryRule::Number:
        return checkNumber(f, entry);
    case EntryRule::Date:
        return checkDate(f, entry);
    case EntryRule::Quantity: {
        if (!regional_.isNumeric(entry.text(name)))
            return refuse(
                f, translate("StampValidator", "You must enter a number in the Quantity field"),
                true);
        if (auto r = checkQuantity(entry, QString()))
            return r;
        for (const StampField& t : db::stampFields())
            if (t.rule == EntryRule::Total)
                if (const auto amount = total(t, entry))
                    entry.setText(nameOf(t), regional_.formatCurrency(*amount));
        return std::nullopt;
    }
    case EntryRule::Price: {
        const StampField& totalField = *db::totalOfPrice(name);
        if (entry.text(name).isEmpty()) {
            entry.setText(nameOf(totalField), QString());
            return std::nullopt;
        }
        if (auto r = checkPrice(f, entry))
            return r;
        // A price left while the quantity is not a number changes no total.
        if (const auto amount = total(totalField, entry))
            entry.setText(nameOf(totalField), regional_.formatCurrency(*amount));
        entry.setText(name, regional_.formatCurrency(*regional_.toCurrency(entry.text(name))));
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

std::optional<Refusal> StampValidator::validate(const StampEntry& entry,
                                                const StampEntry* shown) const {
    if (entry.text(QStringLiteral("descr")).isEmpty())
        return refuse(
            field("descr"),
            translate("StampValidator",
                      "You must enter a description for this stamp or click the Cancel button."),
            false);
    // What the user left alone stays as it was stored, even what these checks would refuse.
    const auto kept = [&](const StampField& f) { return shown && entry.same(*shown, f); };
    if (!kept(field("quantity"))) {
        if (!regional_.isNumeric(entry.text(QStringLiteral("quantity"))))
            return refuse(
                field("quantity"),
                translate("StampValidator", "You must enter number in the quantity field."), false,
                translate("StampValidator", "Non-numeric Quantity Entered"));
        if (auto r = checkQuantity(entry, translate("StampValidator", "Invalid Quantity")))
            return r;
    }
    if (entry.ticked(QStringLiteral("sold")) && entry.ticked(QStringLiteral("forsale")))
        return refuse(
            field("forsale"),
            translate("StampValidator", "A stamp cannot be for sale and sold at the same time."),
            false, translate("StampValidator", "Sale Status Error"));
    for (const StampField& f : db::stampFields()) {
        if (kept(f))
            continue;
        std::optional<Refusal> r;
        switch (f.rule) {
        case EntryRule::Number:
            r = checkNumber(f, entry);
            break;
        case EntryRule::Price:
            r = checkPrice(f, entry);
            break;
        case EntryRule::Date:
            r = checkDate(f, entry);
            break;
        default:
            break;
        }
        if (!r)
            r = checkLength(f, entry);
        if (r)
            return r;
    }
    return std::nullopt;
}

db::Value StampValidator::value(const StampField& f, const StampEntry& entry) const {
    const QString name = nameOf(f);
    switch (f.kind) {
    case FieldKind::Counter:
        return {};
    case FieldKind::Text:
        if (f.rule == EntryRule::Derived)
            return db::Value(db::CatSortKey(entry.text(QStringLiteral("catnum"))));
        return db::Value(entry.text(name));
    case FieldKind::LongText:
        return db::Value(entry.text(name));
    case FieldKind::Boolean:
        return db::Value(entry.ticked(name));
    case FieldKind::Integer16: {
        const auto v = regional_.toInt16(entry.text(name));
        return v ? db::Value(std::int64_t(*v)) : db::Value();
    }
    case FieldKind::Integer32: {
        const auto v = regional_.toInt32(entry.text(name));
        return v ? db::Value(std::int64_t(*v)) : db::Value();
    }
    case FieldKind::Money: {
        if (f.rule == EntryRule::Total) {
            try {
                const auto v = total(f, entry);
                return v ? db::Value(*v) : db::Value();
            } catch (const std::overflow_error&) {
                return {};
            }
        }
        const auto v = regional_.toCurrency(entry.text(name));
        return v ? db::Value(*v) : db::Value();
    }
    case FieldKind::Date: {
        const auto v = regional_.toDate(entry.text(name));
        return v ? db::Value(*v) : db::Value();
    }
    case FieldKind::CodeRef: {
        const auto v = entry.code(name);
        return v ? db::Value(*v) : db::Value();
    }
    }
    return {};
}

std::vector<Change> StampValidator::changes(const StampEntry& entry,
                                            const StampEntry* shown) const {
    std::vector<Change> out;
    auto changed = [&](const char* name) { return !shown || !entry.same(*shown, field(name)); };
    for (const StampField& f : db::stampFields()) {
        bool include = false;
        switch (f.rule) {
        case EntryRule::Derived:
            include = changed("catnum");
            break;
        case EntryRule::Total:
            include = changed(f.name) || changed("quantity") || changed(f.priceField);
            break;
        default:
            include = f.kind != FieldKind::Counter && changed(f.name);
            break;
        }
        if (include)
            out.push_back({&f, value(f, entry)});
    }
    return out;
}

QString StampValidator::showValue(const StampField& f, const db::Value& v) const {
    if (v.isNull())
        return QString();
    switch (f.kind) {
    case FieldKind::Money: {
        // A word another program stored shows as it stands, a number money cannot hold as such.
        if (!isNumber(v))
            return v.toText();
        Currency amount;
        try {
            amount = v.toCurrency();
        } catch (const std::overflow_error&) {
            return regional::tooLargeForMoney();
        }
        // The face value is shown as a plain number, the prices as currency.
        return f.rule == EntryRule::Number ? regional_.formatNumber(amount.toDouble())
                                           : regional_.formatCurrency(amount);
    }
    case FieldKind::Date: {
        const QDate d = v.toDate();
        return d.isValid() ? regional_.formatShortDate(d) : QString();
    }
    default:
        return v.toText();
    }
}

StampEntry StampValidator::show(const std::function<db::Value(const char* field)>& row) const {
    StampEntry e;
    for (const StampField& f : db::stampFields()) {
        if (!f.control)
            continue;
        const db::Value v = row(f.name);
        const QString name = nameOf(f);
        if (f.kind == FieldKind::Boolean)
            e.setTicked(name, v.toBool());
        else if (f.kind == FieldKind::CodeRef)
            e.setCode(name, v.isNull() ? std::nullopt : std::optional(v.toInteger()));
        else
            e.setText(name, showValue(f, v));
    }
    return e;
}

} // namespace perlinex::record
