#pragma once

#include <QString>

namespace perlinex {

// The texts of code that is no QObject: each call names its context, so lupdate (which reads
// this as Qt's own translate()) files every text under the context the program looks it up in.
// A count goes in `n` and picks the plural form of a "%n" text.
QString translate(const char* context, const char* text, const char* disambiguation = nullptr,
                  int n = -1);

} // namespace perlinex
