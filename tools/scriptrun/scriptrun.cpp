// scriptrun: runs one script file (or standard input, "-") with the base,
// table and string libraries, as the stand-alone interpreter does. Further
// arguments are given to the script in the global table "arg".
#include "lua/lauxlib.h"
#include "lua/lua.h"
#include "lua/lualib.h"

#include <cstdio>
#include <iostream>
#include <iterator>
#include <string>

namespace {

const char* const kProgramName = "lua";

void openLibraries(lua_State* L) {
    luaopen_base(L);
    luaopen_table(L);
    luaopen_string(L);
    lua_settop(L, 0);
}

// arg[0] is the script, arg[1..] the arguments after it.
void setArguments(lua_State* L, int argc, char** argv) {
    lua_pushliteral(L, "arg");
    lua_newtable(L);
    for (int i = 1; i < argc; ++i) {
        lua_pushstring(L, argv[i]);
        lua_rawseti(L, -2, i - 1);
    }
    lua_pushliteral(L, "n");
    lua_pushnumber(L, argc - 2);
    lua_rawset(L, -3);
    lua_rawset(L, LUA_GLOBALSINDEX);
}

int loadScript(lua_State* L, const char* name) {
    if (std::string(name) != "-") return luaL_loadfile(L, name);
    std::string source((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
    return luaL_loadbuffer(L, source.data(), source.size(), "=stdin");
}

// The error object's text: a string or number as it is, else what its
// "__tostring" gives; empty when it has neither or that call fails.
std::string errorText(lua_State* L) {
    if (const char* message = lua_tostring(L, -1)) return message;
    if (!luaL_getmetafield(L, -1, "__tostring")) return std::string();
    lua_pushvalue(L, -2);
    std::string text;
    if (lua_pcall(L, 1, 1, 0) == 0 && lua_isstring(L, -1)) text = lua_tostring(L, -1);
    lua_pop(L, 1);
    return text;
}

// Prints the error on top of the stack as "lua: message".
void report(lua_State* L) {
    std::string message = errorText(L);
    if (message.empty()) message = "(error with no message)";
    std::fflush(stdout);
    std::fprintf(stderr, "%s: %s\n", kProgramName, message.c_str());
    std::fflush(stderr);
    lua_pop(L, 1);
}

struct Run {
    int argc;
    char** argv;
    int status;  // of loading and running the script
};

// Runs the script inside a protected native call, as the stand-alone
// interpreter does, so its calls nest as deep as they do there.
int runScript(lua_State* L) {
    Run* run = static_cast<Run*>(lua_touserdata(L, 1));
    openLibraries(L);
    setArguments(L, run->argc, run->argv);
    run->status = loadScript(L, run->argv[1]);
    if (run->status == 0) run->status = lua_pcall(L, 0, 0, 0);
    if (run->status != 0) report(L);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE [ARGS...]   (FILE \"-\" reads standard input)\n", argv[0]);
        return 1;
    }
    lua_State* L = lua_open();
    if (L == nullptr) {
        std::fprintf(stderr, "%s: cannot create state: not enough memory\n", kProgramName);
        return 1;
    }
    Run run{argc, argv, 0};
    int status = lua_cpcall(L, runScript, &run);
    if (status != 0) report(L);
    else status = run.status;
    std::fflush(stdout);
    lua_close(L);
    return status == 0 ? 0 : 1;
}
