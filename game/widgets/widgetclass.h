// The type test of the game's window classes: a class answers true for its
// own id and for the id of each of its window ancestors, all listed flat
// rather than asked of the base class.
#pragma once

#include <initializer_list>

#include "core/windows/window.h"

inline bool IsClassIdIn(TWindowClassId id, std::initializer_list<TWindowClassId> ids) {
    for (TWindowClassId listed : ids) {
        if (listed == id) return true;
    }
    return false;
}
