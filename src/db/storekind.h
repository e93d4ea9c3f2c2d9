#pragma once

namespace perlinex::db {

// Which store holds a collection.
enum class StoreKind {
    File,   // a SQLite file beside its pictures
    Server, // a PostgreSQL server shared by several desks
};

} // namespace perlinex::db
