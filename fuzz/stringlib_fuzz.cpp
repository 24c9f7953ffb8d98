// Calls string.format, string.pack, string.unpack or string.lualex with an
// arbitrary format or text and arguments of arbitrary kinds: every mistake
// must end in a script error, never in a crash or a read out of bounds.
//
// Input: byte 0 picks the function, byte 1 the argument count (0 to 7),
// the next bytes one kind per argument; then the first argument's text up to
// a zero byte, and after it the text used for string arguments.
#include "lua/lauxlib.h"
#include "lua/lua.h"
#include "lua/lualib.h"

#include <cmath>
#include <cstdint>
#include <string>

namespace {

const char* const kFunctions[] = {"format", "pack", "unpack", "lualex"};

const lua_Number kNumbers[] = {
    0, 1, -1, 2.5, -2.5, 255, 65535, 4294967295.0, 4294967296.0, -2147483649.0, 1e300, -1e300, HUGE_VAL, NAN,
};

lua_State* openState() {
    lua_State* L = lua_open();
    luaopen_base(L);
    luaopen_string(L);
    lua_settop(L, 0);
    return L;
}

void pushWide(lua_State* L, const std::string& bytes) {
    std::basic_string<lua_WChar> units;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        units += static_cast<lua_WChar>(static_cast<uint8_t>(bytes[i]) | (static_cast<uint8_t>(bytes[i + 1]) << 8));
    lua_pushwstring(L, units.data(), units.size());
}

void pushArgument(lua_State* L, uint8_t kind, const std::string& text) {
    switch (kind % 5) {
    case 0: lua_pushnumber(L, kNumbers[(kind / 5) % (sizeof kNumbers / sizeof kNumbers[0])]); break;
    case 1: lua_pushlstring(L, text.data(), text.size()); break;
    case 2: pushWide(L, text); break;
    case 3: lua_pushboolean(L, kind & 0x80); break;
    default: lua_pushnil(L); break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static lua_State* L = openState();
    if (size < 2) return 0;
    size_t count = data[1] % 8;
    if (size < 2 + count) return 0;
    std::string rest(reinterpret_cast<const char*>(data + 2 + count), size - 2 - count);
    size_t split = rest.find('\0');
    std::string first = rest.substr(0, split);
    std::string text = split == std::string::npos ? std::string() : rest.substr(split + 1);

    lua_settop(L, 0);
    lua_pushliteral(L, "string");
    lua_rawget(L, LUA_GLOBALSINDEX);
    lua_pushstring(L, kFunctions[data[0] % 4]);
    lua_rawget(L, -2);
    lua_pushlstring(L, first.data(), first.size());
    for (size_t i = 0; i < count; ++i) pushArgument(L, data[2 + i], text);
    lua_pcall(L, static_cast<int>(count) + 1, 0, 0);
    lua_settop(L, 0);
    return 0;
}
