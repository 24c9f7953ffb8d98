// Children looked up by name when a screen needs them, so a script that
// destroys one leaves no pointer behind.
#pragma once

#include "core/windows/window.h"

// The window or the first of that name below it, when it is of the class.
template <typename T>
T* FindChildAs(TWindow* window, const char* name) {
    return dynamic_cast<T*>(window->FindChildWindow(TString(name), -1));
}
