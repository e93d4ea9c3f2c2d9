#pragma once

#include <QString>
#include <cstdint>

// Makes collections of any size with realistic values in every field and classification,
// the same collection for the same seed.
namespace perlinex::generator {

struct GeneratorOptions {
    std::int64_t stamps = 1000;
    std::uint64_t seed = 1;
};

// Creates a new collection at path (which must not exist) filled with generated stamps.
void generateCollection(const QString& path, const GeneratorOptions& options);

} // namespace perlinex::generator
