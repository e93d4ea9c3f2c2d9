#include "exchange/importplan.h"

#include "db/database.h"
#include "db/recordset.h"
#include "db/textcompare.h"
#include "exchange/valuereading.h"
#include "regional/regional.h"
#include "util/translation.h"

#include <QSet>

namespace perlinex::exchange {

namespace {

using db::FieldKind;
using db::StampField;

QString nameOf(const StampField& f) {
    return QLatin1String(f.name);
}

// The columns of the code tables hold at most this many characters.
constexpr int CodeDescriptionSize = 50;

// An amount as the user would type it under their settings, so that the validator reads it
// back exactly: "54.91" in English, "54,91" in German.
QString typedAmount(Currency amount, const QLocale& locale) {
    QString t = plainAmount(amount);
    t.replace(QLatin1Char('.'), locale.decimalPoint());
    if (t.startsWith(QLatin1Char('-')))
        t.replace(0, 1, locale.negativeSign());
    return t;
}

QString whyNot(const StampField& f) {
    switch (f.kind) {
    case FieldKind::Money:
        return translate("ImportPlan", "'%2' is not an amount of money that the %1 can hold");
    case FieldKind::Date:
        return translate("ImportPlan", "'%2' is not a date that the %1 can hold");
    case FieldKind::Integer16:
        return translate("ImportPlan", "'%2' is not a year that the %1 can hold");
    default:
        return translate("ImportPlan", "'%2' is not a whole number that the %1 can hold");
    }
}

QString duplicateKey(const record::StampEntry& e) {
    const auto country = e.code(QStringLiteral("CouID"));
    return e.text(QStringLiteral("descr")).trimmed().toCaseFolded() + QChar(0x1F) +
           e.text(QStringLiteral("catnum")).trimmed().toCaseFolded() + QChar(0x1F) +
           (country ? QString::number(*country) : QString()) + QChar(0x1F) +
           e.text(QStringLiteral("Year")).trimmed();
}

QStringList amountSamples(const SourceTable& table, const ColumnMap& columns) {
    QStringList samples;
    for (int c = 0; c < columns.columnCount(); ++c) {
        const ColumnRole& role = columns.role(c);
        if (role.kind != ColumnRole::Kind::Field || role.field->kind != FieldKind::Money)
            continue;
        for (const CsvRecord& row : table.rows)
            if (c < row.cells.size() && !row.cells[c].isEmpty())
                samples << row.cells[c];
    }
    return samples;
}

} // namespace

ImportPlan::ImportPlan(db::Database& collection, const SourceTable& table, const ColumnMap& columns,
                       const regional::Regional& regional, const PictureSource* pictures,
                       std::optional<QChar> decimal, NewCodes newCodes)
    : table_(table), columns_(columns), regional_(regional), validator_(regional),
      newCodePolicy_(newCodes) {
    decimal_ = decimal.value_or(detectDecimalSeparator(amountSamples(table, columns),
                                                       regional.locale().decimalPoint().front()));
    loadCodes(collection);
    stamps_.reserve(table.rows.size());
    for (const CsvRecord& row : table.rows)
        readRow(row, pictures);
    if (table.brokenLine)
        problems_.push_back({*table.brokenLine, QString(), table.brokenReason, true});
    markDuplicates(collection);
}

bool ImportPlan::hasRefusals() const {
    for (const LineProblem& p : problems_)
        if (p.refused)
            return true;
    return false;
}

int ImportPlan::duplicateCount() const {
    int n = 0;
    for (const PlannedStamp& s : stamps_)
        n += s.duplicate && !s.refused ? 1 : 0;
    return n;
}

void ImportPlan::loadCodes(db::Database& collection) {
    for (const db::CodeTable& t : db::codeTables()) {
        auto set = collection.openRecordSet(db::codeListQuery(t), db::RecordSetKind::Snapshot);
        auto& exact = exactCodes_[t.number];
        auto& loose = looseCodes_[t.number];
        auto& names = codeNames_[t.number];
        const QString idField = QLatin1String(t.idField);
        const QString descField = QLatin1String(t.descField);
        for (; !set->eof(); set->moveNext()) {
            const std::int64_t id = set->field(idField).toInteger();
            const QString desc = set->field(descField).toText();
            names.insert(id, desc);
            if (!exact.contains(desc.toCaseFolded()))
                exact.insert(desc.toCaseFolded(), id);
            const QString key = db::accentFreeKey(desc);
            if (!loose.contains(key))
                loose.insert(key, id);
        }
    }
}

std::optional<std::int64_t> ImportPlan::codeFor(const db::CodeTable& table,
                                                const QString& description) {
    if (description.size() > CodeDescriptionSize)
        return std::nullopt;
    if (const auto id = exactCodes_[table.number].constFind(description.toCaseFolded());
        id != exactCodes_[table.number].cend())
        return *id;
    const QString key = db::accentFreeKey(description);
    if (const auto id = looseCodes_[table.number].constFind(key);
        id != looseCodes_[table.number].cend())
        return *id;
    if (newCodePolicy_ == NewCodes::KeepInNotes)
        return std::nullopt;
    // A new description, added once however often it comes; later lines find it as well.
    const std::int64_t placeholder = -std::int64_t(newCodes_.size()) - 1;
    newCodes_.push_back({&table, description});
    exactCodes_[table.number].insert(description.toCaseFolded(), placeholder);
    looseCodes_[table.number].insert(key, placeholder);
    return placeholder;
}

void ImportPlan::readRow(const CsvRecord& row, const PictureSource* pictures) {
    PlannedStamp stamp;
    stamp.line = row.line;
    stamp.entry = record::StampEntry::blank();
    record::StampEntry& e = stamp.entry;
    QStringList notesColumns;
    bool refused = false;
    const auto refuse = [&](const QString& column, const QString& reason) {
        if (!refused)
            problems_.push_back({row.line, column, reason, true});
        refused = true;
    };
    const auto keep = [&](const QString& header, const QString& value) {
        stamp.notes << QStringLiteral("%1: %2").arg(header.trimmed(), value.trimmed());
    };

    // Fallback columns come last, when the field is still blank.
    for (int pass = 0; pass < 2; ++pass) {
        for (int c = 0; c < columns_.columnCount(); ++c) {
            const ColumnRole& role = columns_.role(c);
            if (role.fallback != (pass == 1))
                continue;
            const QString value = c < row.cells.size() ? row.cells[c] : QString();
            const QString& header = columns_.headers()[c];
            if (role.kind == ColumnRole::Kind::Skip)
                continue;
            if (role.kind == ColumnRole::Kind::Notes) {
                if (!value.trimmed().isEmpty())
                    keep(header, value);
                continue;
            }
            if (role.kind == ColumnRole::Kind::Picture) {
                stamp.picture = value.trimmed();
                continue;
            }
            const StampField& f = *role.field;
            const QString name = nameOf(f);
            if (role.fallback && !e.text(name).isEmpty())
                continue;
            switch (f.kind) {
            case FieldKind::Text:
                if (f.size > 0 && value.size() > f.size) {
                    e.setText(name, value.left(f.size));
                    keep(header, value);
                } else {
                    e.setText(name, value);
                }
                break;
            case FieldKind::LongText:
                if (!value.isEmpty())
                    notesColumns << value;
                break;
            case FieldKind::Boolean: {
                const Read<bool> r = readFlag(value);
                if (r.reading == Reading::Words)
                    keep(header, value);
                e.setTicked(name, r.reading == Reading::Read && r.value);
                break;
            }
            case FieldKind::Integer16:
            case FieldKind::Integer32:
            case FieldKind::Money:
            case FieldKind::Date: {
                Reading reading = Reading::Blank;
                QString typed;
                bool keepText = false;
                if (f.kind == FieldKind::Money) {
                    const Read<Currency> r = readAmount(value, decimal_);
                    reading = r.reading;
                    typed = typedAmount(r.value, regional_.locale());
                } else if (f.kind == FieldKind::Date) {
                    const Read<QDate> r = readDate(value, regional_);
                    reading = r.reading;
                    typed = r.value.isValid() ? regional_.formatShortDate(r.value) : QString();
                } else {
                    const Read<std::int64_t> r = f.kind == FieldKind::Integer16
                                                     ? readYear(value)
                                                     : readWhole(value, decimal_);
                    reading = r.reading;
                    keepText = r.keepText;
                    typed = QString::number(r.value);
                }
                if (reading == Reading::Read)
                    e.setText(name, typed);
                else if (reading == Reading::Words)
                    keep(header, value);
                else if (reading == Reading::Malformed)
                    refuse(header, whyNot(f).arg(db::fieldText(f.caption), value.trimmed()));
                if (keepText)
                    keep(header, value);
                break;
            }
            case FieldKind::CodeRef: {
                const QString description = value.trimmed();
                if (description.isEmpty())
                    break;
                const auto id = codeFor(*db::codeTable(f.codeTable), description);
                if (id)
                    e.setCode(name, id);
                else
                    keep(header, value);
                break;
            }
            case FieldKind::Counter:
                break;
            }
        }
    }
    // Cells beyond the header row have no column name: they are kept under their number.
    for (qsizetype c = columns_.columnCount(); c < row.cells.size(); ++c)
        if (!row.cells[c].trimmed().isEmpty())
            keep(translate("ImportPlan", "Column %1").arg(c + 1), row.cells[c]);

    if (!stamp.picture.isEmpty() && pictures && !pictures->has(stamp.picture)) {
        problems_.push_back(
            {row.line, QString(),
             translate("ImportPlan",
                       "the picture '%1' was not found; its name is kept in the notes")
                 .arg(stamp.picture),
             false});
        keep(translate("ImportPlan", "Picture"), stamp.picture);
        stamp.picture.clear();
    }
    QStringList notes = notesColumns;
    notes += stamp.notes;
    e.setText(QStringLiteral("notes"), notes.join(QLatin1Char('\n')));

    if (!refused) {
        // Codes stand in for entries here; the validator does not look at them.
        if (const auto r = validator_.validate(e)) {
            const StampField* f = db::stampField(r->field);
            const int column = f ? columns_.columnOf(*f) : -1;
            refuse(column >= 0 ? columns_.headers()[column]
                               : (f ? db::fieldText(f->caption) : r->field),
                   r->text);
        }
    }
    stamp.refused = refused;
    stamps_.push_back(std::move(stamp));
}

void ImportPlan::markDuplicates(db::Database& collection) {
    auto set =
        collection.openRecordSet(QStringLiteral("Select descr, catnum, CouID, Year from stamp"),
                                 db::RecordSetKind::Snapshot);
    if (set->eof())
        return;
    QSet<QString> held;
    for (; !set->eof(); set->moveNext()) {
        record::StampEntry e;
        e.setText(QStringLiteral("descr"), set->field(QStringLiteral("descr")).toText());
        e.setText(QStringLiteral("catnum"), set->field(QStringLiteral("catnum")).toText());
        const db::Value country = set->field(QStringLiteral("CouID"));
        e.setCode(QStringLiteral("CouID"),
                  country.isNull() ? std::nullopt : std::optional(country.toInteger()));
        const db::Value year = set->field(QStringLiteral("Year"));
        e.setText(QStringLiteral("Year"),
                  year.isNull() ? QString() : QString::number(year.toInteger()));
        held.insert(duplicateKey(e));
    }
    for (PlannedStamp& s : stamps_)
        s.duplicate = held.contains(duplicateKey(s.entry));
}

QStringList ImportPlan::previewHeader() {
    QStringList header;
    for (const StampField& f : db::stampFields())
        if (f.control && f.rule != db::EntryRule::Total)
            header << db::fieldText(f.caption);
    header << translate("ImportPlan", "Picture");
    return header;
}

QStringList ImportPlan::previewRow(const PlannedStamp& stamp) const {
    QStringList cells;
    const record::StampEntry& e = stamp.entry;
    for (const StampField& f : db::stampFields()) {
        if (!f.control || f.rule == db::EntryRule::Total)
            continue;
        const QString name = nameOf(f);
        if (f.kind == FieldKind::Boolean) {
            cells << (e.ticked(name) ? translate("ImportPlan", "yes")
                                     : translate("ImportPlan", "no"));
        } else if (f.kind == FieldKind::CodeRef) {
            const auto id = e.code(name);
            if (!id)
                cells << QString();
            else if (*id < 0)
                cells << translate("ImportPlan", "%1 (new)")
                             .arg(newCodes_[std::size_t(-*id - 1)].description);
            else
                cells << codeNames_.value(f.codeTable).value(*id);
        } else {
            cells << e.text(name);
        }
    }
    cells << stamp.picture;
    return cells;
}

} // namespace perlinex::exchange
