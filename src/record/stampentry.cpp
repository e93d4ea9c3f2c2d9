#include "record/stampentry.h"

#include <stdexcept>

namespace perlinex::record {

StampEntry::StampEntry() : slots_(db::stampFields().size()) {}

StampEntry StampEntry::blank() {
    StampEntry e;
    e.setText(QStringLiteral("quantity"), QStringLiteral("1"));
    return e;
}

const StampEntry::Slot& StampEntry::slot(const QString& field) const {
    const int i = db::stampFieldIndex(field);
    if (i < 0)
        throw std::invalid_argument("no stamp field " + field.toStdString());
    return slots_[std::size_t(i)];
}

StampEntry::Slot& StampEntry::slot(const QString& field) {
    return const_cast<Slot&>(std::as_const(*this).slot(field));
}

QString StampEntry::text(const QString& field) const {
    return slot(field).text;
}
void StampEntry::setText(const QString& field, const QString& text) {
    slot(field).text = text;
}
bool StampEntry::ticked(const QString& field) const {
    return slot(field).ticked;
}
void StampEntry::setTicked(const QString& field, bool ticked) {
    slot(field).ticked = ticked;
}
std::optional<std::int64_t> StampEntry::code(const QString& field) const {
    return slot(field).code;
}
void StampEntry::setCode(const QString& field, std::optional<std::int64_t> id) {
    slot(field).code = id;
}

bool StampEntry::same(const StampEntry& other, const db::StampField& field) const {
    const QString name = QLatin1String(field.name);
    return slot(name) == other.slot(name);
}

bool StampEntry::operator==(const StampEntry& other) const {
    return slots_ == other.slots_;
}

} // namespace perlinex::record
