#pragma once

#include "db/database.h"

#include <cstdint>
#include <functional>

// A collection's rows copied into another, empty one, whatever store each lives in: a file
// pushed to a server, a server's collection pulled into a file.
namespace perlinex::db {

// Told how many stamps are copied of how many; false cancels the copy.
using CopyProgress = std::function<bool(std::int64_t done, std::int64_t total)>;

struct CopyCount {
    std::int64_t stamps = 0;
    std::int64_t codes = 0; // entries of the nine code tables together
    bool cancelled = false;
};

// Copies the nine code tables and the stamps of from into to, every row under its own
// number, inside the caller's transaction on to; the counters of to then hand out only
// numbers above every one from ever handed out, so that no stamp number comes back. The
// tables of to must be empty.
CopyCount copyCollectionRows(Database& from, Database& to, const CopyProgress& progress = {});

} // namespace perlinex::db
