// Binary chunks: writing and reading back byte-identically, chunks of the
// other byte order, and refusal of truncated, damaged and ill-formed chunks.
#include "tests/lua/chunktesting.h"

#include "lua/chunkformat.h"
#include "lua/object.h"
#include "lua/state.h"

#include <cstring>
#include <functional>

using namespace script;
using chunktesting::StateTest;

namespace {

constexpr size_t kByteOrderOffset = 5;

// Visits the fields of a chunk written on this machine: every multi-byte
// scalar (its offset and width) and every unit of a wide string.
class ChunkWalker {
public:
    ChunkWalker(const std::string& bytes, std::function<void(size_t, int)> onScalar)
        : bytes_(bytes), onScalar_(std::move(onScalar))
    {
    }

    void walk()
    {
        pos_ = 14;  // signature, version, byte order, eight sizes
        scalar(8);  // the test number
        function();
    }

    size_t firstConstantType() const { return firstConstantType_; }

private:
    void scalar(int width)
    {
        onScalar_(pos_, width);
        pos_ += width;
    }

    uint32_t count()
    {
        uint32_t n;
        std::memcpy(&n, bytes_.data() + pos_, 4);
        scalar(4);
        return n;
    }

    void string(bool wide)
    {
        uint32_t n = count();
        if (!wide) {
            pos_ += n;
            return;
        }
        for (uint32_t i = 0; i < n; ++i)
            scalar(2);
    }

    void function()
    {
        string(false);
        scalar(4);  // line defined
        pos_ += 4;  // upvalues, parameters, vararg, stack size
        for (uint32_t n = count(); n > 0; --n)
            scalar(4);
        for (uint32_t n = count(); n > 0; --n) {
            string(false);
            scalar(4);
            scalar(4);
        }
        for (uint32_t n = count(); n > 0; --n)
            string(false);
        for (uint32_t n = count(); n > 0; --n) {
            if (firstConstantType_ == 0)
                firstConstantType_ = pos_;
            int type = static_cast<unsigned char>(bytes_[pos_++]);
            if (type == 3)
                scalar(8);
            else if (type == 4 || type == 9)
                string(type == 9);
        }
        for (uint32_t n = count(); n > 0; --n)
            function();
        for (uint32_t n = count(); n > 0; --n)
            scalar(4);
    }

    const std::string& bytes_;
    std::function<void(size_t, int)> onScalar_;
    size_t pos_ = 0;
    size_t firstConstantType_ = 0;
};

// The same chunk as written by a machine of the other byte order.
std::string otherByteOrder(const std::string& chunk)
{
    std::string swapped = chunk;
    ChunkWalker(chunk, [&](size_t offset, int width) {
        std::reverse(swapped.begin() + static_cast<long>(offset), swapped.begin() + static_cast<long>(offset) + width);
    }).walk();
    swapped[kByteOrderOffset] = static_cast<char>(chunk[kByteOrderOffset] ^ 1);
    return swapped;
}

const char* const kSources[] = {
    "return 1",
    "local a, b = 1, 'two' local t = {a, b, x = L\"w\\x263A\\x0102\", [3] = nil} t.y = nil return t",
    "local up = 0 local function counter(step, ...) up = up + step return function() return up, arg end end "
    "for i = 1, 3 do counter(i) end for k, v in {1, 2} do if k == 1 then continue end end return counter",
    "function g(a) local t = { &4 &8 L\"\", '', 0.5, -1e300 } while a do a = a and a.next or nil break end "
    "return t[1] .. a, 2 ^ 3 & 1 << 2 end",
};

class ChunkTest : public StateTest {
protected:
    // Loads a chunk; its status, with the message in *message (or "ok").
    int loadChunk(const std::string& chunk, std::string* message, const char* name = "=t", size_t piece = 7)
    {
        int status = chunktesting::load(L, chunk, name, piece);
        *message = status == 0 ? "ok" : lua_tostring(L, -1);
        lua_pop(L, 1);
        return status;
    }

    std::string loadMessage(const std::string& chunk, const char* name = "=t")
    {
        std::string message;
        loadChunk(chunk, &message, name);
        return message;
    }

    const FunctionProto* protoOfTop() { return static_cast<const ScriptClosure*>(asClosure(L->top - 1))->proto; }
};

TEST_F(ChunkTest, HeaderBytes)
{
    std::string chunk = compile("return 1");
    const char header[] = "\x1bLua\x50\x01\x04\x04\x04\x06\x08\x09\x09\x08";
    ASSERT_GT(chunk.size(), sizeof header + 8);
    EXPECT_EQ(chunk.substr(0, sizeof header - 1), std::string(header, sizeof header - 1));
    double test;
    std::memcpy(&test, chunk.data() + sizeof header - 1, 8);
    EXPECT_EQ(test, 31415926.535897933);
}

// Little-endian bytes of a 4-byte field.
std::string int4(uint32_t v)
{
    std::string bytes;
    for (int i = 0; i < 4; ++i)
        bytes += static_cast<char>((v >> (8 * i)) & 0xFF);
    return bytes;
}

TEST_F(ChunkTest, FunctionFieldsInTheirOrder)
{
    ASSERT_EQ(nativeByteOrder(), 1);  // int4 writes little-endian
    std::string chunk = compile("local a = 'k' return function(x, ...) return a end");
    std::string ones = int4(1) + int4(1) + int4(1) + int4(1) + int4(1);  // line info
    // The main function: source, line defined, upvalue count, parameters,
    // vararg, stack size, line info, locals, upvalue names, constants,
    // functions, code.
    std::string expected = chunk.substr(0, 22) + int4(3) + std::string("=t\0", 3) + int4(0) +
                           std::string("\0\0\0\x02", 4) + int4(5) + ones + int4(1) + int4(2) +
                           std::string("a\0", 2) + int4(1) + int4(4) + int4(0) + int4(1) + "\x04" + int4(2) +
                           std::string("k\0", 2) + int4(1);
    // The nested function names no source of its own (count 0).
    expected += int4(0) + int4(1) + "\x01\x01\x01\x03" + int4(3) + ones.substr(0, 12) + int4(2) + int4(2) +
                std::string("x\0", 2) + int4(0) + int4(2) + int4(4) + std::string("arg\0", 4) + int4(0) + int4(2) +
                int4(1) + int4(2) + std::string("a\0", 2) + int4(0) + int4(0) + int4(3) +
                int4(makeABC(OP_GETUPVAL, 2, 0, 0)) + int4(makeABC(OP_RETURN, 2, 2, 0)) +
                int4(makeABC(OP_RETURN, 0, 1, 0));
    expected += int4(5) + int4(makeABx(OP_LOADK, 0, 0)) + int4(makeABx(OP_CLOSURE, 1, 0)) +
                int4(makeABC(OP_MOVE, 0, 0, 0)) + int4(makeABC(OP_RETURN, 1, 2, 0)) + int4(makeABC(OP_RETURN, 0, 1, 0));
    EXPECT_EQ(chunk, expected);
}

TEST_F(ChunkTest, ReloadedChunksDumpIdentically)
{
    for (const char* source : kSources) {
        std::string chunk = compile(source);
        ASSERT_EQ(chunktesting::load(L, chunk), 0) << source;
        EXPECT_EQ(chunktesting::dumpTop(L), chunk) << source;
    }
}

TEST_F(ChunkTest, ChunksOfTheOtherByteOrderLoad)
{
    for (const char* source : kSources) {
        std::string chunk = compile(source);
        std::string swapped = otherByteOrder(chunk);
        ASSERT_NE(swapped, chunk);
        ASSERT_EQ(chunktesting::load(L, swapped), 0) << source << ": " << lua_tostring(L, -1);
        EXPECT_EQ(chunktesting::dumpTop(L), chunk) << source;
    }
}

TEST_F(ChunkTest, LoadedChunksRun)
{
    std::string chunk = compile("local t = {L\"a\\x263A\", 0x10 | 1, 'x' .. 2} return t[1], t[2], t[3]");
    ASSERT_EQ(chunktesting::load(L, otherByteOrder(chunk)), 0);
    ASSERT_EQ(lua_pcall(L, 0, 3, 0), 0) << lua_tostring(L, -1);
    ASSERT_EQ(lua_type(L, -3), LUA_TWSTRING);
    const lua_WChar* units = lua_towstring(L, -3);
    EXPECT_EQ(units[0], 'a');
    EXPECT_EQ(units[1], 0x263A);
    EXPECT_EQ(lua_tonumber(L, -2), 17);
    EXPECT_STREQ(lua_tostring(L, -1), "x2");
}

TEST_F(ChunkTest, TruncatedChunksAreRefused)
{
    std::string chunk = compile(kSources[2]);
    for (size_t length = 1; length < chunk.size(); ++length) {
        std::string message;
        ASSERT_EQ(loadChunk(chunk.substr(0, length), &message), LUA_ERRRUN) << length;
        EXPECT_EQ(message, "unexpected end of file in t") << length;
    }
}

TEST_F(ChunkTest, DamagedChunksNeverCrash)
{
    std::string chunk = compile(kSources[2]);
    int refused = 0;
    for (size_t at = 0; at < chunk.size(); ++at) {
        unsigned char original = static_cast<unsigned char>(chunk[at]);
        for (unsigned char value : {0x00, 0xFF, original ^ 0x01, original ^ 0x80}) {
            std::string damaged = chunk;
            damaged[at] = static_cast<char>(value);
            std::string message;
            int status = loadChunk(damaged, &message);
            // Without its first byte 27 the chunk is read as source text.
            int refusal = at == 0 && value != 27 ? LUA_ERRSYNTAX : LUA_ERRRUN;
            ASSERT_TRUE(status == 0 || status == refusal) << at << ": " << message;
            refused += status != 0;
        }
    }
    EXPECT_GT(refused, 0);
}

TEST_F(ChunkTest, HeaderErrors)
{
    std::string chunk = compile("return 1");
    struct HeaderCase {
        size_t offset;
        char value;
        const char* message;
    };
    const HeaderCase cases[] = {
        {3, 'b', "bad signature in t"},
        {4, 0x51, "t too new: read version 5.1; expected at most 5.0"},
        {4, 0x40, "t too old: read version 4.0; expected at least 5.0"},
        {6, 8, "virtual machine mismatch in t: size of int is 4 but read 8"},
        {7, 8, "virtual machine mismatch in t: size of size_t is 4 but read 8"},
        {11, 7, "virtual machine mismatch in t: size of B is 9 but read 7"},
        {13, 4, "virtual machine mismatch in t: size of number is 8 but read 4"},
        {21, 0x40, "unknown number format in t"},
    };
    for (const HeaderCase& c : cases) {
        std::string damaged = chunk;
        damaged[c.offset] = c.value;
        EXPECT_EQ(loadMessage(damaged), c.message) << c.offset;
    }
    // Named by itself, a chunk is a "binary string"; "@file" names the file.
    std::string truncated = chunk.substr(0, 10);
    EXPECT_EQ(loadMessage(truncated, truncated.c_str()), "unexpected end of file in binary string");
    EXPECT_EQ(loadMessage(truncated, "@dir/file.out"), "unexpected end of file in dir/file.out");
    // The signature is compared as it is read.
    EXPECT_EQ(loadMessage(std::string("\x1bX", 2)), "bad signature in t");
}

TEST_F(ChunkTest, BadConstantTypes)
{
    std::string chunk = compile("return 'a', 2");
    size_t typeAt = 0;
    ChunkWalker walker(chunk, [](size_t, int) {});
    walker.walk();
    typeAt = walker.firstConstantType();
    ASSERT_EQ(chunk[typeAt], 4);
    for (int type : {1, 2, 5, 6, 200}) {
        std::string damaged = chunk;
        damaged[typeAt] = static_cast<char>(type);
        EXPECT_EQ(loadMessage(damaged), "bad constant type (" + std::to_string(type) + ") in t");
    }
}

TEST_F(ChunkTest, InstructionsAreChecked)
{
    std::string chunk = compile("local a, b = 1, 2 local t = {} return a");
    ASSERT_EQ(chunktesting::load(L, chunk), 0);
    const FunctionProto* p = protoOfTop();
    const int top = p->maxStackSize;
    const int constants = p->constantCount;
    ASSERT_EQ(p->protoCount, 0);
    ASSERT_EQ(p->upvalueCount, 0);
    ASSERT_TRUE(p->constants[0].tag == LUA_TNUMBER);
    // The main function's code ends the chunk: replace it, and drop its line
    // information (header, source "=t", line defined, four bytes, then lines).
    const size_t codeBytes = 4 * static_cast<size_t>(p->codeSize);
    const size_t linesAt = 22 + 4 + 3 + 4 + 4;
    ASSERT_EQ(p->lineInfoSize, p->codeSize);
    std::string head = chunk.substr(0, linesAt) + std::string(4, '\0') +
                       chunk.substr(linesAt + 4 + codeBytes, chunk.size() - codeBytes - 4 - (linesAt + 4 + codeBytes));
    lua_pop(L, 1);
    auto withCode = [&](std::vector<Instruction> code) {
        std::string c = head;
        int32_t n = static_cast<int32_t>(code.size());
        c.append(reinterpret_cast<const char*>(&n), 4);
        c.append(reinterpret_cast<const char*>(code.data()), 4 * code.size());
        return c;
    };
    const Instruction ret = makeABC(OP_RETURN, 0, 1, 0);
    const Instruction jmp = makeAsBx(OP_JMP, 0, 0);
    const std::vector<Instruction> bad[] = {
        {},
        {jmp},
        {makeABx(OP_LOADK, 0, constants), ret},
        {makeABC(OP_MOVE, top, 0, 0), ret},
        {makeABC(OP_MOVE, 0, top, 0), ret},
        {makeABC(OP_GETTABLE, 0, 0, kConstantBase + constants), ret},
        {makeABC(OP_SETTABLE, 0, top, 0), ret},
        {makeAsBx(OP_JMP, 0, 1), ret},
        {makeAsBx(OP_JMP, 0, -2), ret},
        {makeABC(OP_GETUPVAL, 0, 0, 0), ret},
        {makeABx(OP_CLOSURE, 0, 0), ret},
        {makeABx(OP_GETGLOBAL, 0, 0), ret},
        {makeABC(OP_EQ, 0, 0, 0), ret},
        {makeABC(OP_TEST, 0, 0, 1), ret, ret},
        {makeABC(OP_CALL, 0, 1, 0), makeABC(OP_MOVE, 0, 0, 0), ret},
        {makeABC(OP_CALL, 0, top + 1, 1), ret},
        {makeABC(OP_TAILCALL, 0, 1, 0), makeABC(OP_MOVE, 0, 0, 0), ret},
        {makeABC(OP_TFORLOOP, 0, 0, top), jmp, ret},
        {makeAsBx(OP_FORLOOP, top - 2, -1), ret},
        {makeABC(OP_CONCAT, 0, 1, 1), ret},
        {makeABC(OP_LOADNIL, 1, 0, 0), ret},
        {makeABC(OP_LOADBOOL, 0, 1, 1), ret},
        {makeABx(OP_SETLIST, top - 1, 1), ret},
        {makeABC(OP_NEWTABLE, 0, kMaxEncodedArraySize + 1, 0), ret},
        {makeABC(OP_RETURN, 0, top + 2, 0)},
        {makeABC(static_cast<OpCode>(kNumOpCodes), 0, 0, 0), ret},
        {makeABC(static_cast<OpCode>(63), 0, 0, 0), ret},
    };
    for (const std::vector<Instruction>& code : bad)
        EXPECT_EQ(loadMessage(withCode(code)), "bad code in t") << (code.empty() ? -1 : opcode(code[0]));
    // The main function becomes a closure without upvalues: it may not ask for any.
    std::string withUpvalues = withCode({ret});
    const size_t upvaluesAt = 22 + 4 + 3 + 4;
    ASSERT_EQ(withUpvalues[upvaluesAt], 0);
    withUpvalues[upvaluesAt] = 1;
    EXPECT_EQ(loadMessage(withUpvalues), "bad code in t");
    // The same checks let well-formed code through.
    const std::vector<Instruction> good[] = {
        {makeABx(OP_LOADK, 0, 0), makeABC(OP_RETURN, 0, 2, 0)},
        {makeABC(OP_CALL, 0, 1, 0), makeABC(OP_RETURN, 0, 0, 0)},
        {makeABC(OP_EQ, 0, 0, kConstantBase), makeAsBx(OP_JMP, 0, 0), ret},
        {makeAsBx(OP_JMP, 0, -1), ret},
        {makeABC(OP_CLOSE, top, 0, 0), ret},
    };
    for (const std::vector<Instruction>& code : good)
        EXPECT_EQ(loadMessage(withCode(code)), "ok") << opcode(code[0]);
    ASSERT_EQ(chunktesting::load(L, withCode(good[0])), 0);
    ASSERT_EQ(lua_pcall(L, 0, 1, 0), 0);
    EXPECT_EQ(lua_tonumber(L, -1), 1);
}

int refuseWrite(lua_State*, const void*, size_t, void* data)
{
    ++*static_cast<int*>(data);
    return 1;
}

TEST_F(ChunkTest, DumpWritesOnlyScriptFunctionsWithoutUpvalues)
{
    std::string bytes;
    lua_pushcfunction(L, [](lua_State*) { return 0; });
    EXPECT_EQ(lua_dump(L, chunktesting::appendBytes, &bytes), 0);
    lua_pop(L, 1);
    ASSERT_EQ(chunktesting::load(L, "local x = 1 return function() return x end"), 0);
    ASSERT_EQ(lua_pcall(L, 0, 1, 0), 0);
    EXPECT_EQ(lua_dump(L, chunktesting::appendBytes, &bytes), 0);
    EXPECT_TRUE(bytes.empty());
    lua_pop(L, 1);
    // A failing writer is not called again, and the dump reports failure.
    int calls = 0;
    ASSERT_EQ(chunktesting::load(L, "return 1"), 0);
    EXPECT_EQ(lua_dump(L, refuseWrite, &calls), 0);
    EXPECT_EQ(calls, 1);
    lua_pop(L, 1);
}

}  // namespace
