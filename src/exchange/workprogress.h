#pragma once

#include <cstdint>
#include <functional>

namespace perlinex::exchange {

// How long work is getting on: done of total. Returning false cancels it.
using WorkProgress = std::function<bool(std::int64_t done, std::int64_t total)>;

// Long work tells its progress every so many stamps: often enough for a progress bar, rarely
// enough to cost nothing.
inline constexpr std::int64_t ProgressStep = 256;

} // namespace perlinex::exchange
