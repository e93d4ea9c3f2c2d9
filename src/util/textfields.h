#pragma once

#include <QString>
#include <cstdint>

// Small text procedures used across the program: delimited lists, sort-key padding and
// in-place replacement. Positions are 1-based; searches are case-sensitive.
namespace perlinex {

// 0 for an empty text, 1 when the delimiter does not occur, else 1 + occurrences.
int CountFields(const QString& text, QChar delimiter);

// The n-th (1-based) delimited field; empty when the text has fewer than n-1 delimiters.
QString NthField(const QString& text, QChar delimiter, int n);

// Replaces every occurrence of find, left to right, never searching inserted text again.
// The caller's text is changed as well and returned. find must not be empty.
QString ReplaceText(QString& text, const QString& find, const QString& replacement);

// Right-aligns text to width with leading spaces; never cuts a longer text.
QString PadLeft(const QString& text, int width);

// A count with its word in the right number: one when n is 1, else many with n for its "%1"
// ("1 stamp", "2 stamps", "0 stamps").
QString countOf(std::int64_t n, const QString& one, const QString& many);
// "1 stamp", "12 stamps".
QString stampCount(std::int64_t n);

} // namespace perlinex
