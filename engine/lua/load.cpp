// lua_load and lua_dump: the interface to the compiler and the chunk format.
#include "lua/call.h"
#include "lua/collector.h"
#include "lua/dump.h"
#include "lua/function.h"
#include "lua/parser.h"
#include "lua/undump.h"

using namespace script;

namespace {

struct LoadRequest {
    ChunkInput* input;
    const char* name;
};

void loadChunk(lua_State* L, void* ud)
{
    auto* request = static_cast<LoadRequest*>(ud);
    checkCollect(L);  // nothing half-built is around yet
    bool binary = request->input->peek() == kBinarySignatureByte;
    FunctionProto* p = binary ? undumpChunk(L, *request->input, request->name)
                              : compileChunk(L, *request->input, request->name);
    // The prototype sits on top of the stack; the closure takes its slot.
    ScriptClosure* c = newScriptClosure(L, 0, asTable(globalsOf(L)));
    c->proto = p;
    setClosure(L->top - 1, c);
}

}  // namespace

int lua_load(lua_State* L, lua_Chunkreader reader, void* data, const char* chunkname)
{
    ChunkInput input(L, reader, data);
    LoadRequest request{&input, chunkname ? chunkname : "?"};
    return runProtected(L, loadChunk, &request, slotOffset(L, L->top), 0);
}

int lua_dump(lua_State* L, lua_Chunkwriter writer, void* data)
{
    // Only a script function without upvalues can be written.
    const Value* top = L->top - 1;
    if (!isFunction(top) || asClosure(top)->isNative || asClosure(top)->upvalueCount != 0)
        return 0;
    const FunctionProto* p = static_cast<const ScriptClosure*>(asClosure(top))->proto;
    return dumpFunction(L, p, writer, data) == 0 ? 1 : 0;
}
