#include "db/codeentries.h"

#include "db/database.h"
#include "db/recordset.h"
#include "db/textcompare.h"

namespace perlinex::db {

std::optional<CodeEntry> indistinctEntry(Database& db, const CodeTable& table,
                                         const QString& description,
                                         std::optional<std::int64_t> except) {
    // A code table holds a few hundred entries at most: each is compared as the lists show it.
    const QString idField = QLatin1String(table.idField);
    const QString descField = QLatin1String(table.descField);
    auto rs = db.openRecordSet(codeListQuery(table), RecordSetKind::Snapshot);
    for (; !rs->eof(); rs->moveNext()) {
        const Value desc = rs->field(descField);
        if (desc.isNull() || !sameTextIgnoringAccents(desc.toText(), description))
            continue;
        const std::int64_t id = rs->field(idField).toInteger();
        if (id != except)
            return CodeEntry{id, desc.toText()};
    }
    return std::nullopt;
}

} // namespace perlinex::db
