#pragma once

#include <QString>
#include <cstdint>

namespace perlinex {

// The texts of code that is no QObject: each call names its context, so lupdate (which reads
// this as Qt's own translate()) files every text under the context the program looks it up in.
// A count goes in `n` and picks the plural form of a "%n" text.
QString translate(const char* context, const char* text, const char* disambiguation = nullptr,
                  int n = -1);

// A count in words: `many` ("%n stamps") in the plural form the user's language gives n; where
// no translation has it (English, the language the texts are written in), `one` ("1 stamp") for
// a count of 1. Both are marked where they are written, in the same context:
// QT_TRANSLATE_NOOP for one, QT_TRANSLATE_N_NOOP for many.
QString translateCount(const char* context, const char* one, const char* many, std::int64_t n);

} // namespace perlinex
