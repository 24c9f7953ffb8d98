#include "scriptedsprites/animationlibrary.h"

#include <string>

#include "core/scripting/luaobject.h"
#include "foundation/debuglog.h"
#include "lua/lauxlib.h"
#include "lua/lua.h"

namespace {

const char kChunkName[] = "ganimationscript";

// The frame delay is shared by the functions and hidden from the scripts.
const char kSource[] = R"lua(
alpha = 1.0
alphadelta = 0
alphacount = 0

local frameDelay = 16

function delay(ms)
    frameDelay = ms
end

function pause(ms)
    WaitLuaNextFrame(ms)
end

function showFrame()
    WaitLuaNextFrame(frameDelay)
end

function fadeout(n)
    alphadelta = -alpha / n
    alphacount = n
end

function fadein(n)
    alphadelta = (1 - alpha) / n
    alphacount = n
end

function setAlpha(a)
    alpha = a
    SetAlpha(a)
end

function frames(t)
    local count = table.getn(t)
    for i = 1, count do
        if alphacount ~= 0 then
            alpha = alpha + alphadelta
            SetAlpha(alpha)
            alphacount = alphacount - 1
            if alphacount == 0 then
                alphadelta = 0
            end
        end
        SetCurrentFrame(t[i] - 1)
        WaitLuaNextFrame(frameDelay)
    end
end

function loop(n, t)
    for i = 1, n do
        frames(t)
    end
end

function run(t)
    local name = t[1]
    local image = t.image or ""
    local mask = t.mask or ""
    local anim = t.anim or "DoAnim"
    if Load(name, image, mask) then
        local chunk = loadstring(GetScript() .. "; " .. anim .. "()")
        if chunk then
            chunk()
        end
    end
end

function die()
    Die()
end

function halt()
    Pause(true, -1)
end

function isPlaying(d)
    return IsPlaying(d or -1)
end

function endReferences()
end

function stop(d)
    Pause(true, d or -1)
end

function random(a, b)
    return Random(a, b)
end
)lua";

int AppendBlock(lua_State*, const void* bytes, size_t size, void* code) {
    static_cast<std::string*>(code)->append(static_cast<const char*>(bytes), size);
    return 0;
}

// The library's byte code, compiled once in a scratch state.
const std::string& CompiledLibrary() {
    static const std::string code = [] {
        std::string bytes;
        lua_State* scratch = lua_open();
        if (luaL_loadbuffer(scratch, kSource, sizeof(kSource) - 1, kChunkName) == 0) {
            lua_dump(scratch, AppendBlock, &bytes);
        } else {
            DebugLog("%s does not compile: %s", kChunkName, LuaToString(scratch, -1).c_str());
        }
        lua_close(scratch);
        return bytes;
    }();
    return code;
}

}  // namespace

bool RunAnimationLibrary(lua_State* L) {
    LuaPopState guard(L);
    const std::string& code = CompiledLibrary();
    if (luaL_loadbuffer(L, code.data(), code.size(), kChunkName) != 0 || lua_pcall(L, 0, 0, 0) != 0) {
        DebugLog("%s: %s", kChunkName, LuaToString(L, -1).c_str());
        return false;
    }
    return true;
}
