#pragma once

#include <QString>
#include <cstdio>

// What the child programs of the reliability tests say: a line at a time, each flushed at once,
// since the test kills the child at any moment and trusts what it has read.
namespace child {

inline void say(const QString& line) {
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// Where a child waits to be killed, or to be let go by the end of its input.
inline void waitForInputToEnd() {
    while (std::getchar() != EOF) {
    }
}

} // namespace child
