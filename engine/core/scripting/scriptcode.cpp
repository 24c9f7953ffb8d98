#include "core/scripting/scriptcode.h"

#include <cctype>

#include "core/scripting/luaobject.h"
#include "lua/lauxlib.h"
#include "lua/lua.h"
#include "foundation/assetmanager.h"
#include "foundation/assetmap.h"
#include "foundation/debuglog.h"
#include "foundation/file.h"

const TAssetClassId TScriptCode::ClassId = &TScriptCode::ClassId;

const TString kScriptSearchPath("assets/?;?;../?;../../?");

namespace {

constexpr size_t kReadBlock = 512;

int AppendBlock(lua_State*, const void* bytes, size_t size, void* buffer) {
    static_cast<std::string*>(buffer)->append(static_cast<const char*>(bytes), size);
    return 0;
}

// Compiles the file in L and dumps it; on failure the message goes to error.
bool CompileFile(lua_State* L, const TString& fileName, const TString& searchPath, std::string& code, TString& error) {
    lua_pushstring(L, "LUA_PATH");
    PushLuaString(L, searchPath.Length() ? searchPath : TString("assets/?;../?;?"));
    lua_settable(L, LUA_GLOBALSINDEX);
    if (luaL_loadfile(L, fileName.c_str()) != 0) {
        error = LuaToString(L, -1);
        return false;
    }
    lua_dump(L, AppendBlock, &code);
    return true;
}

// Registers the "lua" loader of asset maps.
const bool kLoaderRegistered = [] {
    TAssetMap::RegisterLoader("lua", [](const TString& loadName) -> std::shared_ptr<TAsset> {
        return TScriptCode::Get(loadName, kScriptSearchPath, nullptr);
    });
    return true;
}();

}  // namespace

TScriptCode::TScriptCode(const char* bytes, int length) : mCode(bytes, length), mSize(length) {}

std::shared_ptr<TScriptCode> TScriptCode::Get(const TString& fileName, const TString& searchPath, TString* error) {
    if (fileName.Length() == 0) return nullptr;
    TAssetManager* cache = GetAssetManager();
    if (cache) {
        if (auto cached = std::dynamic_pointer_cast<TScriptCode>(cache->GetAsset(fileName))) return cached;
    }
    InstallScriptFileReader();
    lua_State* scratch = lua_open();
    std::string code;
    TString message;
    bool compiled = CompileFile(scratch, fileName, searchPath, code, message);
    lua_close(scratch);
    if (!compiled) {
        if (error) *error = message;
        return nullptr;
    }
    auto result = std::make_shared<TScriptCode>(code.data(), static_cast<int>(code.size()));
    if (cache) cache->RegisterAsset(fileName, result);
    return result;
}

bool ReadScriptFile(const char* fileName, std::string& contents) {
    TFile file;
    if (!file.Open(fileName, kFileReadText)) return false;
    int first = file.Getc();
    if (first != -1 && !std::isspace(first) && !std::isprint(first)) {
        file.Close();
        if (!file.Open(fileName, kFileReadBinary)) return false;
    } else {
        file.Seek(0, kSeekStart);
    }
    contents.clear();
    char block[kReadBlock];
    while (size_t count = file.Read(block, sizeof(block))) {
        contents.append(block, count);
    }
    return true;
}

void InstallScriptFileReader() {
    // Once only, so that a reader installed later (a test's) stays.
    static const bool installed = (luaL_setfilereader(ReadScriptFile), true);
    (void)installed;
}
