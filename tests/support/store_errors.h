#pragma once

#include "db/dberror.h"

#include <functional>

// The store error the call threw; 0 when it threw none.
inline int errorOf(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const perlinex::db::DbError& e) {
        return e.number();
    }
    return 0;
}
