#include "util/translation.h"

#include <QCoreApplication>

namespace perlinex {

QString translate(const char* context, const char* text, const char* disambiguation, int n) {
    return QCoreApplication::translate(context, text, disambiguation, n);
}

} // namespace perlinex
