#pragma once

#include <QString>
#include <cstddef>

namespace perlinex::imaging {

// Why a file could not be written: the system's error number (errno) and its words.
struct FileWriteFailure {
    int code;
    QString reason;
};

// Writes bytes to path so that a reader sees either the old file or the whole new one:
// the bytes go to a hidden temporary file beside it, which is flushed to disk and renamed
// over the old one. A replaced file keeps its permissions and its access and modification
// times; a new one gets the usual permissions. Through a symbolic link the file it points
// to is replaced. On failure the old file is untouched and nothing is left behind.
// Returns false and fills failure when the write fails.
bool replaceFile(const QString& path, const unsigned char* bytes, std::size_t size,
                 FileWriteFailure& failure);

} // namespace perlinex::imaging
