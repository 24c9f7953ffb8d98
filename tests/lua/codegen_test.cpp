// The constant table as the code generator fills it: every numeral enters
// when it is read, in source order, and keeps its entry when a fold or a test
// leaves it unused. Checked on the bytes string.dump writes: the end of a
// main function is its constants, its (no) nested functions and its code.
#include "tests/lua/libfixture.h"

#include "lua/object.h"
#include "lua/opcodes.h"
#include "lua/state.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

using namespace script;

namespace {

// A number or string constant as the chunk writer lays it out.
struct Constant {
    Constant(double n) : bytes("\x03") { bytes.append(reinterpret_cast<const char*>(&n), sizeof n); }
    Constant(int n) : Constant(static_cast<double>(n)) {}
    Constant(const char* s) : bytes("\x04")
    {
        uint32_t size = static_cast<uint32_t>(std::strlen(s) + 1);
        bytes.append(reinterpret_cast<const char*>(&size), sizeof size);
        bytes.append(s, size);
    }

    std::string bytes;
};

std::string int4(uint32_t v) { return std::string(reinterpret_cast<const char*>(&v), sizeof v); }

// The bytes that end the dump of a main function without nested functions.
std::string functionTail(const std::vector<Constant>& constants, const std::vector<Instruction>& code)
{
    std::string tail = int4(static_cast<uint32_t>(constants.size()));
    for (const Constant& k : constants)
        tail += k.bytes;
    tail += int4(0) + int4(static_cast<uint32_t>(code.size()));
    for (Instruction i : code)
        tail += int4(i);
    return tail;
}

const int K0 = kConstantBase;

struct DumpCase {
    const char* source;
    std::vector<Constant> constants;
    std::vector<Instruction> code;
};

class ConstantTableTest : public LibraryTest {
protected:
    // string.dump of the compiled source, or "" when it does not compile.
    std::string dumped(const std::string& source)
    {
        lua_settop(L, 0);
        if (luaL_loadbuffer(L, source.data(), source.size(), "=t") != 0) {
            ADD_FAILURE() << lua_tostring(L, -1);
            return "";
        }
        lua_pushliteral(L, "string");
        lua_rawget(L, LUA_GLOBALSINDEX);
        lua_pushliteral(L, "dump");
        lua_rawget(L, -2);
        lua_pushvalue(L, 1);
        if (lua_pcall(L, 1, 1, 0) != 0 || !lua_isstring(L, -1)) {
            ADD_FAILURE() << source << ": no dump";
            return "";
        }
        std::string bytes(lua_tostring(L, -1), lua_strlen(L, -1));
        lua_settop(L, 0);
        return bytes;
    }

    // The status of compiling `source`; the message goes to *message.
    int compile(const std::string& source, std::string* message)
    {
        lua_settop(L, 0);
        int status = luaL_loadbuffer(L, source.data(), source.size(), "=t");
        *message = status == 0 ? "" : lua_tostring(L, -1);
        return status;
    }
};

TEST_F(ConstantTableTest, NumeralsEnterAsTheyAreRead)
{
    const DumpCase cases[] = {
        // The numeral, then its negation; the load names the second.
        {"return -5", {5, -5},
         {makeABx(OP_LOADK, 0, 1), makeABC(OP_RETURN, 0, 2, 0), makeABC(OP_RETURN, 0, 1, 0)}},
        {"return -0x10", {16, -16},
         {makeABx(OP_LOADK, 0, 1), makeABC(OP_RETURN, 0, 2, 0), makeABC(OP_RETURN, 0, 1, 0)}},
        // Negating twice comes back to the first entry.
        {"return - -5", {5, -5},
         {makeABx(OP_LOADK, 0, 0), makeABC(OP_RETURN, 0, 2, 0), makeABC(OP_RETURN, 0, 1, 0)}},
        // A negated 0 is the entry of 0, with its sign bit clear.
        {"local x = -0", {0}, {makeABx(OP_LOADK, 0, 0), makeABC(OP_RETURN, 0, 1, 0)}},
        // `not` of a constant folds to false; the numeral stays.
        {"local y = not 1", {1}, {makeABC(OP_LOADBOOL, 0, 0, 0), makeABC(OP_RETURN, 0, 1, 0)}},
        // Arithmetic on constants is not folded.
        {"local a = 1 + 2", {1, 2}, {makeABC(OP_ADD, 0, K0, K0 + 1), makeABC(OP_RETURN, 0, 1, 0)}},
        {"local a = 6 & -3", {6, 3, -3}, {makeABC(OP_BAND, 0, K0, K0 + 2), makeABC(OP_RETURN, 0, 1, 0)}},
        {"local a local b = a * -2", {2, -2},
         {makeABC(OP_LOADNIL, 0, 0, 0), makeABC(OP_MUL, 1, 0, K0 + 1), makeABC(OP_RETURN, 0, 1, 0)}},
        {"local t = {1, 2, -3}", {1, 2, 3, -3},
         {makeABC(OP_NEWTABLE, 0, 3, 0), makeABx(OP_LOADK, 1, 0), makeABx(OP_LOADK, 2, 1), makeABx(OP_LOADK, 3, 3),
          makeABx(OP_SETLIST, 0, 2), makeABC(OP_RETURN, 0, 1, 0)}},
        // A numeral read again reuses its entry, wherever it was first read.
        {"local a, b = -7, 7", {7, -7},
         {makeABx(OP_LOADK, 0, 1), makeABx(OP_LOADK, 1, 0), makeABC(OP_RETURN, 0, 1, 0)}},
        {"return 7 + 7", {7},
         {makeABC(OP_ADD, 0, K0, K0), makeABC(OP_RETURN, 0, 2, 0), makeABC(OP_RETURN, 0, 1, 0)}},
        {"for i = 1, 2 do end", {1, 2},
         {makeABx(OP_LOADK, 0, 0), makeABx(OP_LOADK, 1, 1), makeABx(OP_LOADK, 2, 0), makeABC(OP_SUB, 0, 0, 2),
          makeAsBx(OP_JMP, 0, 0), makeAsBx(OP_FORLOOP, 0, -1), makeABC(OP_RETURN, 0, 1, 0)}},
        // Numerals that a test always passes keep their place before what follows.
        {"local x = 5 and 's'", {5, "s"}, {makeABx(OP_LOADK, 0, 1), makeABC(OP_RETURN, 0, 1, 0)}},
        {"if 1 then x = 2 end", {1, "x", 2},
         {makeABx(OP_LOADK, 0, 2), makeABx(OP_SETGLOBAL, 0, 1), makeABC(OP_RETURN, 0, 1, 0)}},
        // Numbers that size a table or name a loop are no values: no entry.
        {"local t = { &4 &8 }", {}, {makeABC(OP_NEWTABLE, 0, 12, 3), makeABC(OP_RETURN, 0, 1, 0)}},
        {"for i = 2, 3, 4 do break 1 end", {2, 3, 4},
         {makeABx(OP_LOADK, 0, 0), makeABx(OP_LOADK, 1, 1), makeABx(OP_LOADK, 2, 2), makeABC(OP_SUB, 0, 0, 2),
          makeAsBx(OP_JMP, 0, 1), makeAsBx(OP_JMP, 0, 1), makeAsBx(OP_FORLOOP, 0, -2), makeABC(OP_RETURN, 0, 1, 0)}},
    };
    for (const DumpCase& c : cases) {
        std::string dump = dumped(c.source);
        std::string tail = functionTail(c.constants, c.code);
        ASSERT_GE(dump.size(), tail.size()) << c.source;
        EXPECT_EQ(dump.substr(dump.size() - tail.size()), tail) << c.source;
    }
}

// x = -1 x = -2 ...: the name, then each numeral and its negation.
std::string negatedAssignments(int count)
{
    std::string s;
    for (int i = 1; i <= count; ++i)
        s += "x=-" + std::to_string(i) + "\n";
    return s;
}

TEST_F(ConstantTableTest, OverflowComesAtTheSameNumeral)
{
    std::string message;
    ASSERT_EQ(compile(negatedAssignments(131071), &message), 0) << message;
    const FunctionProto* p = static_cast<const ScriptClosure*>(asClosure(L->top - 1))->proto;
    EXPECT_EQ(p->constantCount, kMaxArgBx);
    EXPECT_EQ(p->constants[kMaxArgBx - 1].n, -131071);
    EXPECT_EQ(compile(negatedAssignments(131072), &message), LUA_ERRRUN);
    EXPECT_EQ(message, "constant table overflow");
}

}  // namespace
