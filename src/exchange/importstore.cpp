#include "exchange/importstore.h"

#include "db/database.h"
#include "db/dberror.h"
#include "db/pg/pgpictures.h"
#include "db/sqlite/bulkindexes.h"
#include "db/sqlite/pendingpicture.h"
#include "db/sqlite/searchtext.h"
#include "record/stampvalidator.h"
#include "util/durablefile.h"
#include "util/translation.h"

#include <memory>
#include <optional>
#include <utility>

namespace perlinex::exchange {

namespace {

// Thrown from inside the transaction when the progress callback says stop.
struct Cancelled {};

// A larger page cache while the import writes: its rows and their index entries then stay in
// memory until the commit rather than being spilled to the file on the way.
constexpr std::int64_t CacheKiB = 131072;

// Which of the plan's new classifications the stamps use, by place in newCodes().
std::vector<bool> usedNewCodes(const ImportPlan& plan,
                               const std::vector<const PlannedStamp*>& stamps) {
    std::vector<bool> used(plan.newCodes().size(), false);
    for (const PlannedStamp* s : stamps)
        for (const db::StampField& f : db::stampFields())
            if (f.kind == db::FieldKind::CodeRef)
                if (const auto id = s->entry.code(QLatin1String(f.name)); id && *id < 0)
                    used[std::size_t(-*id - 1)] = true;
    return used;
}

// Adds the new classifications that the stored stamps use; their identifiers by placeholder.
std::vector<std::int64_t> addNewCodes(db::Database& collection, const ImportPlan& plan,
                                      const std::vector<const PlannedStamp*>& stamps,
                                      std::int64_t* added) {
    const auto& codes = plan.newCodes();
    const std::vector<bool> used = usedNewCodes(plan, stamps);
    std::vector<std::int64_t> ids(codes.size(), 0);
    for (std::size_t i = 0; i < codes.size(); ++i) {
        if (!used[i])
            continue;
        const db::CodeTable& t = *codes[i].table;
        collection
            .prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (?)")
                         .arg(QLatin1String(t.table), QLatin1String(t.descField)))
            ->run({db::Value(codes[i].description)});
        ids[i] = collection.lastInsertedKey();
        ++*added;
    }
    return ids;
}

} // namespace

std::vector<const PlannedStamp*> stampsToStore(const ImportPlan& plan,
                                               const ImportChoices& choices) {
    std::vector<const PlannedStamp*> stamps;
    for (const PlannedStamp& s : plan.stamps())
        if (!s.refused && !(s.duplicate && choices.skipDuplicates))
            stamps.push_back(&s);
    return stamps;
}

std::vector<NewCode> newCodesUsed(const ImportPlan& plan,
                                  const std::vector<const PlannedStamp*>& stamps) {
    const std::vector<bool> used = usedNewCodes(plan, stamps);
    std::vector<NewCode> out;
    for (std::size_t i = 0; i < used.size(); ++i)
        if (used[i])
            out.push_back(plan.newCodes()[i]);
    return out;
}

ImportOutcome storeImport(db::Database& collection, const QString& imagesFolder,
                          const ImportPlan& plan, const regional::Regional& regional,
                          const PictureSource* pictures, const PictureConverter& convert,
                          const ImportChoices& choices, const WorkProgress& progress) {
    ImportOutcome out;
    if (plan.hasRefusals() && !choices.goodLinesOnly) {
        out.result = ImportOutcome::Result::Refused;
        return out;
    }
    const std::vector<const PlannedStamp*> stamps = stampsToStore(plan, choices);
    for (const PlannedStamp& s : plan.stamps()) {
        out.leftOut += s.refused ? 1 : 0;
        out.skippedDuplicates += !s.refused && s.duplicate && choices.skipDuplicates ? 1 : 0;
    }
    const record::StampValidator validator(regional);
    const std::int64_t total = std::int64_t(stamps.size());
    // Declared before the transaction: when it is rolled back, leaving this function discards
    // every picture still waiting.
    std::vector<std::unique_ptr<db::PendingPicture>> waiting;
    const db::LargerCache cache(collection, CacheKiB);
    try {
        collection.transaction([&] {
            const std::vector<std::int64_t> codeIds =
                addNewCodes(collection, plan, stamps, &out.newCodes);
            const std::vector<std::int64_t> ids =
                collection.takeCounters(QStringLiteral("stamp"), total);
            db::BulkIndexes indexes(collection, QStringLiteral("stamp"), total);
            db::BulkSearchText searchText(collection);
            std::unique_ptr<db::Command> insert;
            std::vector<db::Value> values;
            // A shared collection keeps its pictures as rows, in the same transaction.
            const bool onServer = collection.storeKind() == db::StoreKind::Server;
            QByteArray serverPicture;
            for (std::int64_t i = 0; i < total; ++i) {
                const std::int64_t id = ids[std::size_t(i)];
                if (progress && i % ProgressStep == 0 && !progress(i, total))
                    throw Cancelled{};
                const PlannedStamp& stamp = *stamps[std::size_t(i)];
                // The planned stamp as it is, or a copy where a new classification's number or
                // a picture's note changes it.
                const record::StampEntry* entry = &stamp.entry;
                std::optional<record::StampEntry> changed;
                const auto edit = [&]() -> record::StampEntry& {
                    if (!changed)
                        entry = &changed.emplace(stamp.entry);
                    return *changed;
                };
                for (const db::StampField& f : db::stampFields())
                    if (f.kind == db::FieldKind::CodeRef)
                        if (const auto code = entry->code(QLatin1String(f.name)); code && *code < 0)
                            edit().setCode(QLatin1String(f.name), codeIds[std::size_t(-*code - 1)]);
                if (!stamp.picture.isEmpty() && pictures && convert) {
                    QString why;
                    QByteArray jpeg = pictures->read(stamp.picture, &why);
                    if (!jpeg.isEmpty())
                        jpeg = convert(jpeg, &why);
                    if (jpeg.isEmpty()) {
                        const QString note =
                            translate("ImportStore", "Picture: %1 (%2)").arg(stamp.picture, why);
                        const QString notes = entry->text(QStringLiteral("notes"));
                        edit().setText(QStringLiteral("notes"),
                                       notes.isEmpty() ? note : notes + QLatin1Char('\n') + note);
                        out.pictureProblems.push_back(
                            {stamp.line, QString(),
                             translate(
                                 "ImportStore",
                                 "the picture '%1' could not be read (%2); the stamp is stored "
                                 "without it and its name is kept in the notes")
                                 .arg(stamp.picture, why),
                             false});
                    } else if (onServer) {
                        serverPicture = std::move(jpeg); // stored right after its row
                    } else {
                        // Written before its row, so that a row never waits for its picture.
                        waiting.push_back(std::make_unique<db::PendingPicture>(
                            collection, imagesFolder, id, jpeg));
                    }
                }
                const std::vector<record::Change> changes = validator.changes(*entry, nullptr);
                if (!insert) {
                    QStringList names{QStringLiteral("stampid")};
                    QStringList marks{QStringLiteral("?")};
                    for (const record::Change& c : changes) {
                        names << QLatin1String(c.field->name);
                        marks << QStringLiteral("?");
                    }
                    insert = collection.prepare(
                        QStringLiteral("INSERT INTO stamp (%1) VALUES (%2)")
                            .arg(names.join(QLatin1Char(',')), marks.join(QLatin1Char(','))));
                }
                values.clear();
                values.emplace_back(id);
                for (const record::Change& c : changes)
                    values.push_back(c.value);
                insert->run(values);
                if (!serverPicture.isEmpty())
                    db::putServerPicture(collection, id, std::exchange(serverPicture, {}));
                if (i == 0)
                    out.firstId = id;
                out.lastId = id;
            }
            if (total > 0)
                searchText.finish(out.firstId, out.lastId);
            indexes.finish();
            if (progress && !progress(total, total))
                throw Cancelled{};
        });
    } catch (const Cancelled&) {
        ImportOutcome cancelled;
        cancelled.result = ImportOutcome::Result::Cancelled;
        return cancelled;
    }
    out.stored = total;
    // The rows are stored: each picture takes its place now, or at the next start.
    for (const auto& picture : waiting) {
        try {
            picture->finish();
        } catch (const durable::FileError& e) {
            out.pictureProblems.push_back(
                {0, QString(),
                 translate(
                     "ImportStore",
                     "%1 The picture is put in place when Perlinex next opens the collection.")
                     .arg(e.text()),
                 false});
        }
    }
    return out;
}

} // namespace perlinex::exchange
