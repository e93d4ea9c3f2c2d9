#include "custom/fieldcatalogue.h"

#include "db/catalogue.h"
#include "db/database.h"
#include "db/recordset.h"
#include "db/textcompare.h"

#include <algorithm>

namespace perlinex::custom {

FieldCatalogue::FieldCatalogue(QList<SpecRow> rows) : rows_(std::move(rows)) {
    // Caption order as the store sorts text; equal captions by identifier, so the order (and
    // with it the sort positions a layout file stores) never depends on how rows were read.
    std::stable_sort(rows_.begin(), rows_.end(), [](const SpecRow& a, const SpecRow& b) {
        const int c = db::compareText(a.desc, b.desc);
        return c != 0 ? c < 0 : a.specid < b.specid;
    });
    for (const SpecRow& r : rows_)
        maxSpecId_ = std::max(maxSpecId_, r.specid);
}

FieldCatalogue FieldCatalogue::fromRows(QList<SpecRow> rows) {
    return FieldCatalogue(std::move(rows));
}

FieldCatalogue FieldCatalogue::read(db::Database& catalogue) {
    auto rs = catalogue.openRecordSet(QStringLiteral("Select * from RptSpec order by specid"),
                                      db::RecordSetKind::Snapshot);
    QList<SpecRow> rows;
    QStringList refused;
    for (; !rs->eof(); rs->moveNext()) {
        SpecRow r;
        const std::int64_t id = rs->field(QStringLiteral("specid")).toInteger();
        // Identifiers index the per-field settings and are written into layout files; the
        // catalogue's own check keeps them to 1..32767.
        if (id < 1 || id > 32767)
            continue;
        r.specid = int(id);
        r.desc = rs->field(QStringLiteral("Desc")).toText();
        r.useWith = rs->field(QStringLiteral("usewith")).toText();
        r.fieldname = rs->field(QStringLiteral("fieldname")).toText();
        r.fileName = rs->field(QStringLiteral("FileName")).toText();
        r.linkfield = rs->field(QStringLiteral("linkfield")).toText();
        r.datatype = int(rs->field(QStringLiteral("datatype")).toInteger());
        const db::Value width = rs->field(QStringLiteral("defwidth"));
        r.defaultWidth = width.isNull() ? 1.0f : float(width.toReal());
        r.isCurrency = rs->field(QStringLiteral("IsCurrency")).toBool();
        r.isMemo = rs->field(QStringLiteral("ismemo")).toBool();
        const QString problem = db::catalogueRowProblem(
            {r.specid, r.desc, r.useWith, r.fieldname, r.fileName, r.linkfield});
        if (problem.isEmpty())
            rows << r;
        else
            refused << problem;
    }
    FieldCatalogue read(std::move(rows));
    read.refused_ = refused;
    return read;
}

FieldCatalogue FieldCatalogue::offeredFor(const QString& mainTable) const {
    QList<SpecRow> offered;
    for (const SpecRow& r : rows_)
        if (r.useWith.contains(mainTable, Qt::CaseInsensitive))
            offered << r;
    return FieldCatalogue(std::move(offered));
}

std::optional<QString> FieldCatalogue::mainTableNamed(const QString& name) const {
    for (const SpecRow& r : rows_)
        if (r.useWith.compare(name, Qt::CaseInsensitive) == 0)
            return r.useWith;
    return std::nullopt;
}

const SpecRow* FieldCatalogue::find(int specid) const {
    const int i = positionOf(specid);
    return i < 0 ? nullptr : &rows_[i];
}

int FieldCatalogue::positionOf(int specid) const {
    for (qsizetype i = 0; i < rows_.size(); ++i)
        if (rows_[i].specid == specid)
            return int(i);
    return -1;
}

} // namespace perlinex::custom
