#pragma once

#include "exchange/importplan.h"
#include "exchange/importsource.h"
#include "exchange/workprogress.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

namespace perlinex::db {
class Database;
}

// Storing an import: the whole of it in one transaction, the pictures with their rows, so that
// an import that is cancelled, fails or is killed leaves the collection exactly as it was.
namespace perlinex::exchange {

struct ImportChoices {
    // Store the lines the validator takes and leave the refused ones out; otherwise nothing is
    // stored while any line is refused.
    bool goodLinesOnly = false;
    // Leave out the stamps equal to one the collection holds.
    bool skipDuplicates = false;
};

struct ImportOutcome {
    enum class Result {
        Stored,    // committed
        Refused,   // lines were refused and only good lines were not chosen: nothing stored
        Cancelled, // the progress callback said stop: nothing stored
    };
    Result result = Result::Stored;
    std::int64_t stored = 0;
    std::int64_t skippedDuplicates = 0;
    std::int64_t leftOut = 0;  // refused lines left out
    std::int64_t newCodes = 0; // classification entries added
    std::int64_t firstId = 0;  // the numbers the stored stamps got, in the file's order
    std::int64_t lastId = 0;
    // Pictures that could not be made into a JPEG: the stamp was stored without one, the name
    // and the reason in its notes. And pictures stored with their rows that could not be put
    // in place yet (the next start does it).
    std::vector<LineProblem> pictureProblems;
};

// The planned stamps that an import with these choices stores, in the file's order.
std::vector<const PlannedStamp*> stampsToStore(const ImportPlan& plan,
                                               const ImportChoices& choices);
// The new classifications that those stamps use, which the import adds.
std::vector<NewCode> newCodesUsed(const ImportPlan& plan,
                                  const std::vector<const PlannedStamp*>& stamps);

// Stores the planned stamps with new numbers (and the new classifications they use) in one
// transaction; a stamp's picture is written to wait beside its place before its row and put in
// place once the transaction is committed (see db::PendingPicture). pictures and convert may
// be null when the plan names no picture. Throws db::DbError and durable::FileError; nothing is
// then stored and no picture is left behind.
ImportOutcome storeImport(db::Database& collection, const QString& imagesFolder,
                          const ImportPlan& plan, const regional::Regional& regional,
                          const PictureSource* pictures, const PictureConverter& convert,
                          const ImportChoices& choices, const WorkProgress& progress = {});

} // namespace perlinex::exchange
