#include "lua/dump.h"

#include <cstdint>

#include "lua/chunkformat.h"

namespace script {

namespace {

class ChunkWriter {
public:
    ChunkWriter(lua_State* L, lua_Chunkwriter writer, void* data) : L_(L), writer_(writer), data_(data) {}

    int status() const { return status_; }

    void header()
    {
        block(kChunkSignature, sizeof kChunkSignature - 1);
        byte(kChunkVersion);
        byte(nativeByteOrder());
        block(kChunkSizes, sizeof kChunkSizes);
        number(kChunkTestNumber);
    }

    void function(const FunctionProto* p, const String* parentSource)
    {
        string(p->source == parentSource ? nullptr : p->source);
        integer(p->lineDefined);
        byte(p->upvalueCount);
        byte(p->paramCount);
        byte(p->isVararg);
        byte(p->maxStackSize);
        integer(p->lineInfoSize);
        block(p->lineInfo, sizeof(int) * static_cast<size_t>(p->lineInfoSize));
        integer(p->localVarCount);
        for (int i = 0; i < p->localVarCount; ++i) {
            string(p->localVars[i].name);
            integer(p->localVars[i].startPc);
            integer(p->localVars[i].endPc);
        }
        integer(p->upvalueNameCount);
        for (int i = 0; i < p->upvalueNameCount; ++i)
            string(p->upvalueNames[i]);
        integer(p->constantCount);
        for (int i = 0; i < p->constantCount; ++i)
            constant(&p->constants[i]);
        integer(p->protoCount);
        for (int i = 0; i < p->protoCount; ++i)
            function(p->protos[i], p->source);
        integer(p->codeSize);
        block(p->code, sizeof(Instruction) * static_cast<size_t>(p->codeSize));
    }

private:
    void block(const void* p, size_t size)
    {
        if (status_ == 0 && size > 0)
            status_ = writer_(L_, p, size, data_);
    }

    void byte(int b)
    {
        uint8_t c = static_cast<uint8_t>(b);
        block(&c, 1);
    }

    void integer(int v)
    {
        int32_t x = v;
        block(&x, sizeof x);
    }

    // size_t fields are 4 bytes whatever the machine's size_t.
    void size(size_t n)
    {
        uint32_t x = static_cast<uint32_t>(n);
        block(&x, sizeof x);
    }

    void number(lua_Number n) { block(&n, sizeof n); }

    // Count including the terminator, then the characters or units; 0 for none.
    void string(const String* s)
    {
        if (s == nullptr) {
            size(0);
            return;
        }
        size(s->length + 1);
        if (s->tag == LUA_TWSTRING)
            block(s->units(), (s->length + 1) * sizeof(lua_WChar));
        else
            block(s->chars(), s->length + 1);
    }

    void constant(const Value* v)
    {
        switch (v->tag) {
        case LUA_TNUMBER:
            byte(kConstantNumber);
            number(v->n);
            break;
        case LUA_TSTRING:
            byte(kConstantString);
            string(asString(v));
            break;
        case LUA_TWSTRING:
            byte(kConstantWideString);
            string(asString(v));
            break;
        default:
            byte(kConstantNil);  // the compiler makes no other constants
            break;
        }
    }

    lua_State* L_;
    lua_Chunkwriter writer_;
    void* data_;
    int status_ = 0;
};

}  // namespace

int dumpFunction(lua_State* L, const FunctionProto* p, lua_Chunkwriter writer, void* data)
{
    ChunkWriter w(L, writer, data);
    w.header();
    w.function(p, nullptr);
    return w.status();
}

}  // namespace script
