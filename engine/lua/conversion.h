// Numbers to text and back: "%.14g" in the C locale; text to number by the
// rules of the 8-bit string type (decimal only, spaces around allowed) and of
// the wide string type (hexadecimal with fraction and binary exponent, no
// leading space).
#pragma once

#include <cstddef>

#include "lua/state.h"

namespace script {

// Enough for any "%.14g" text and its terminator.
constexpr int kNumberTextSize = 32;

// Writes "%.14g" of n into buffer; returns the length.
int numberToText(lua_Number n, char* buffer);

// Text to number; false when the text is not a number.
bool textToNumber(const char* s, lua_Number* result);
bool wideTextToNumber(const lua_WChar* s, lua_Number* result);

// A number, or a string or wide string that converts to one: true and *result
// set; false otherwise.
bool valueToNumber(const Value* v, lua_Number* result);

// Converts a number in place to a string / wide string; false when the value
// is neither a number nor already of that type.
bool numberToStringInPlace(lua_State* L, Value* v);
bool numberToWideStringInPlace(lua_State* L, Value* v);

}  // namespace script
