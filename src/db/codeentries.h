#pragma once

#include "db/fields.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace perlinex::db {

class Database;

// An entry of a code table.
struct CodeEntry {
    std::int64_t id = 0;
    QString description;
};

// The entry of the table whose description the given one cannot be told apart from: equal
// without regard to case and accents ("aden" and "Aden", "Cote d'Ivoire" and "Côte d'Ivoire").
// The entry numbered except (the one being renamed) does not count.
std::optional<CodeEntry> indistinctEntry(Database& db, const CodeTable& table,
                                         const QString& description,
                                         std::optional<std::int64_t> except = std::nullopt);

} // namespace perlinex::db
