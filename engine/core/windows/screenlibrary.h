// The built-in screen library: the Lua source of screenlibrary.lua, which the
// build compiles into the program. The window script runs it when it is made.
#pragma once

#include <cstddef>
#include <cstdint>

extern const uint8_t kScreenLibraryData[];
extern const size_t kScreenLibrarySize;
