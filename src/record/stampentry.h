#pragma once

#include "db/fields.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace perlinex::record {

// A stamp as the user sees and types it: the text of every text, number, money and date
// field exactly as typed, the tick of every check box and the entry picked in every code
// list. The main window is one view of it; an import is another.
class StampEntry {
public:
    StampEntry();
    // A new record: every field blank and the quantity 1.
    static StampEntry blank();

    QString text(const QString& field) const;
    void setText(const QString& field, const QString& text);
    bool ticked(const QString& field) const;
    void setTicked(const QString& field, bool ticked);
    // The identifier of the code entry picked, or nullopt for none.
    std::optional<std::int64_t> code(const QString& field) const;
    void setCode(const QString& field, std::optional<std::int64_t> id);

    // True when the field holds the same in both entries.
    bool same(const StampEntry& other, const db::StampField& field) const;
    bool operator==(const StampEntry& other) const;

private:
    struct Slot {
        QString text;
        bool ticked = false;
        std::optional<std::int64_t> code;
        bool operator==(const Slot&) const = default;
    };
    const Slot& slot(const QString& field) const;
    Slot& slot(const QString& field);

    std::vector<Slot> slots_;
};

} // namespace perlinex::record
