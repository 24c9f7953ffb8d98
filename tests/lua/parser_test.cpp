// The compiler: exact compile-error texts, the shapes of the code it makes
// for the dialect's operators and constructors, and script-level behaviour of
// the statements it compiles (loops with continue and numbered break,
// assignments, closures in loops).
#include "tests/lua/chunktesting.h"
#include "tests/lua/libfixture.h"

#include "lua/object.h"
#include "lua/state.h"

#include <cmath>
#include <vector>

using namespace script;
using chunktesting::StateTest;

namespace {

struct ErrorCase {
    const char* source;
    const char* message;
};

class CompileErrorTest : public StateTest {};

TEST_F(CompileErrorTest, MessagesNameChunkLineAndToken)
{
    const ErrorCase cases[] = {
        {"x =", "t:1: unexpected symbol near `<eof>'"},
        {"x = = 1", "t:1: unexpected symbol near `='"},
        {"x = }", "t:1: unexpected symbol near `}'"},
        {"return return", "t:1: unexpected symbol near `return'"},
        {"return ...", "t:1: unexpected symbol near `...'"},
        {"f(", "t:1: unexpected symbol near `<eof>'"},
        {"function f() return 1", "t:1: `end' expected near `<eof>'"},
        {"function f()\nreturn 1", "t:2: `end' expected (to close `function' at line 1) near `<eof>'"},
        {"if x then", "t:1: `end' expected near `<eof>'"},
        {"while x do\n\n", "t:3: `end' expected (to close `while' at line 1) near `<eof>'"},
        {"repeat x = 1", "t:1: `until' expected near `<eof>'"},
        {"f(1,\n2", "t:2: `)' expected (to close `(' at line 1) near `<eof>'"},
        {"x = {1 2}", "t:1: `}' expected near `2'"},
        {"local 1 = 2", "t:1: <name> expected near `1'"},
        {"for", "t:1: <name> expected near `<eof>'"},
        {"for i do end", "t:1: `=' or `in' expected near `do'"},
        {"function f(1) end", "t:1: <name> or `...' expected near `1'"},
        {"x = 3 y", "t:1: `=' expected near `<eof>'"},
        {"(a) = 1", "t:1: syntax error near `='"},
        {"a.b:c = 1", "t:1: function arguments expected near `='"},
        {"f\n(1)", "t:2: ambiguous syntax (function call x new statement) near `('"},
        {"x = 1 end", "t:1: <eof> expected near `end'"},
        {"break", "t:1: no loop to break near `<eof>'"},
        {"local a = 1\nlocal b = 2\nlocal c = = 3", "t:3: unexpected symbol near `='"},
        // Lexical errors name the text read so far.
        {"x = 'unfinished", "t:1: unfinished string near `<eof>'"},
        {"x = 'abc\nd'", "t:1: unfinished string near `'abc'"},
        {"x = [[ unfinished", "t:1: unfinished long string near `<eof>'"},
        {"--[[ open\n comment", "t:2: unfinished long comment near `<eof>'"},
        {"x = 1e", "t:1: malformed number near `1e'"},
        {"x = 1e+", "t:1: malformed number near `1e+'"},
        {"x = 3..2", "t:1: ambiguous syntax (decimal point x string concatenation) near `3..'"},
        {"x = .5.", "t:1: malformed number near `.5.'"},
        {"x = 1.2.3", "t:1: unexpected symbol near `.3'"},
        {"local continue = 1", "t:1: <name> expected near `continue'"},
        {"x = \"ab\\300\"", "t:1: escape sequence too large near `\"ab'"},
        {"x = \x01", "t:1: invalid control char near `char(1)'"},
        {"x = \x7f", "t:1: invalid control char near `char(127)'"},
        {"x = 1 \xff", "t:1: invalid wide char near `char(255)'"},
        {"x = 'a' 'b'", "t:1: unexpected symbol near `'b''"},
        // The dialect's statements and tokens.
        {"while true do break 101 end", "t:1: loop block number out of range near `101'"},
        {"while true do break 0 end", "t:1: loop block number out of range near `0'"},
        {"while true do break 1.5 end", "t:1: loop block number must be integer near `1.5'"},
        {"while true do continue 0x65 end", "t:1: loop block number out of range near `0x65'"},
        {"while true do break 2 end", "t:1: no loop to break near `end'"},
        {"continue", "t:1: no loop to continue near `<eof>'"},
        {"do continue end", "t:1: no loop to continue near `end'"},
        {"for i = 1, 2 do do continue 2 end end", "t:1: no loop to continue near `end'"},
        {"while x do break x = 1 end", "t:1: `end' expected near `x'"},
        {"x = { & }", "t:1: size expected following & (line 1) near `}'"},
        {"x = 1\nx = { &2 &\n}", "t:3: size expected following & (line 3) near `}'"},
        {"x = { &-1 }", "t:1: size expected following & (line 1) near `-'"},
        {"x = { &'a' }", "t:1: size expected following & (line 1) near `'a''"},
        {"0x123456789", "t:1: unexpected symbol near `0x12345678'"},
        {"x = 0x123456789", "t:1: unexpected symbol near `9'"},
        {"x = 0xg", "t:1: malformed number near `0x'"},
        {"x = 0x", "t:1: malformed number near `0x'"},
        {"f L\"x\"", "t:1: function arguments expected near `L\"x\"'"},
        {"x = L\"abc", "t:1: unfinished string near `<eof>'"},
        {"x = L\"a\nb\"", "t:1: unfinished string near `L\"a'"},
        {"x = L\"\\400\"", "t:1: escape sequence too large near `L\"'"},
        {"x = {L\"k\" = 1}", "t:1: `}' expected near `='"},
        {"x = 1 << << 2", "t:1: unexpected symbol near `<<'"},
    };
    for (const ErrorCase& c : cases)
        EXPECT_EQ(loadError(c.source), c.message) << c.source;
}

TEST_F(CompileErrorTest, ChunkNamesInMessages)
{
    EXPECT_EQ(loadError("x = = 1", "x = = 1"), "[string \"x = = 1\"]:1: unexpected symbol near `='");
    EXPECT_EQ(loadError("x = = 1", "@file.lua"), "file.lua:1: unexpected symbol near `='");
    EXPECT_EQ(loadError("x = = 1", "=exact name"), "exact name:1: unexpected symbol near `='");
    EXPECT_EQ(loadError("\nx = = 1", "\nx = = 1"), "[string \"...\"]:2: unexpected symbol near `='");
}

std::string repeated(const std::string& part, int count, const std::string& separator)
{
    std::string s;
    for (int i = 0; i < count; ++i)
        s += (i ? separator : "") + part + std::to_string(i);
    return s;
}

TEST_F(CompileErrorTest, Limits)
{
    EXPECT_EQ(loadError("local " + repeated("a", 200, ", ")), "ok");
    EXPECT_EQ(loadError("local " + repeated("a", 201, ", ") + " = 1"),
              "t:1: too many local variables (limit=200) near `='");
    std::string outer = "local " + repeated("u", 33, ", ") + " ";
    EXPECT_EQ(loadError(outer + "return function() return " + repeated("u", 32, " + ") + " end"), "ok");
    EXPECT_EQ(loadError(outer + "return function() return " + repeated("u", 33, " + ") + " end"),
              "t:1: too many upvalues (limit=32) near `end'");
    EXPECT_EQ(loadError("x = " + std::string(150, '(') + "1" + std::string(150, ')')), "ok");
    EXPECT_EQ(loadError("x = " + std::string(300, '(') + "1" + std::string(300, ')')),
              "t:1: too many syntax levels near `('");
    EXPECT_EQ(loadError("f(" + repeated("1", 240, ", ") + ")"), "ok");
    EXPECT_EQ(loadError("f(" + repeated("1", 260, ", ") + ")"),
              "t:1: function or expression too complex near `1249'");
    EXPECT_EQ(loadError("function f(" + repeated("p", 101, ", ") + ") end"),
              "t:1: too many parameters (limit=100) near `)'");
    // Each assignment is a LOADK and a SETGLOBAL; the jump over them is too
    // long, found when it is fixed at the next instruction (the final return).
    std::string body;
    for (int i = 0; i < 65536; ++i)
        body += "y = 1 ";
    EXPECT_EQ(loadError("if x then " + body.substr(6 * 100) + "end"), "ok");
    EXPECT_EQ(loadError("if x then " + body + "end"), "t:1: control structure too long near `<eof>'");
    // Each operand of the chain is a GETGLOBAL, a TEST and a JMP.
    EXPECT_EQ(loadError("while " + repeated("a", 33, " and ") + " do end"), "ok");
    EXPECT_EQ(loadError("while " + repeated("a", 34, " and ") + " do end"),
              "t:1: `while' condition too complex near `do'");
}

// The instructions of the function on top of the stack.
class CodeShapeTest : public StateTest {
protected:
    const FunctionProto* compiled(const std::string& source)
    {
        lua_settop(L, 0);
        int status = chunktesting::load(L, source);
        EXPECT_EQ(status, 0) << (status ? lua_tostring(L, -1) : "");
        if (status != 0)
            return nullptr;
        return static_cast<const ScriptClosure*>(asClosure(L->top - 1))->proto;
    }

    static std::vector<OpCode> opcodes(const FunctionProto* p)
    {
        std::vector<OpCode> ops;
        for (int pc = 0; p && pc < p->codeSize; ++pc)
            ops.push_back(opcode(p->code[pc]));
        return ops;
    }

    static const Instruction* find(const FunctionProto* p, OpCode op)
    {
        for (int pc = 0; p && pc < p->codeSize; ++pc)
            if (opcode(p->code[pc]) == op)
                return &p->code[pc];
        return nullptr;
    }
};

TEST_F(CodeShapeTest, WhileTestsItsConditionAfterTheBody)
{
    const FunctionProto* p = compiled("local x while x do x = 1 end");
    std::vector<OpCode> expected = {OP_LOADNIL, OP_JMP, OP_LOADK, OP_TEST, OP_JMP, OP_RETURN};
    ASSERT_EQ(opcodes(p), expected);
    EXPECT_EQ(argSBx(p->code[1]), 1);   // into the test
    EXPECT_EQ(argSBx(p->code[4]), -3);  // back into the body while x holds
}

TEST_F(CodeShapeTest, BinaryOperatorsMapToTheirOpcodes)
{
    struct OpCase {
        const char* op;
        OpCode code;
    };
    const OpCase cases[] = {{"+", OP_ADD}, {"-", OP_SUB}, {"*", OP_MUL}, {"/", OP_DIV}, {"&", OP_BAND},
                            {"|", OP_BOR}, {"<<", OP_SHL}, {">>", OP_SHR}, {"^", OP_POW}};
    for (const OpCase& c : cases) {
        const FunctionProto* p = compiled(std::string("local a, b = 1, 2 local x = a ") + c.op + " b");
        const Instruction* i = find(p, c.code);
        ASSERT_NE(i, nullptr) << c.op;
        EXPECT_EQ(argB(*i), 0) << c.op;
        EXPECT_EQ(argC(*i), 1) << c.op;
    }
}

TEST_F(CodeShapeTest, BitwiseOperatorsAreNotFolded)
{
    const FunctionProto* p = compiled("local x = 6 & 3");
    const Instruction* i = find(p, OP_BAND);
    ASSERT_NE(i, nullptr);
    EXPECT_TRUE(isConstant(argB(*i)) && isConstant(argC(*i)));
    EXPECT_NE(find(compiled("local x = 2 ^ 3"), OP_POW), nullptr);
}

TEST_F(CodeShapeTest, UnaryMinusFoldsOnlyNumbers)
{
    const FunctionProto* p = compiled("local x = -2");
    EXPECT_EQ(find(p, OP_UNM), nullptr);
    // The numeral keeps its entry; the folded value follows it.
    ASSERT_EQ(p->constantCount, 2);
    EXPECT_EQ(p->constants[0].n, 2);
    EXPECT_EQ(p->constants[1].n, -2);
    EXPECT_NE(find(compiled("local x = -'2'"), OP_UNM), nullptr);
    EXPECT_NE(find(compiled("local a local x = -a"), OP_UNM), nullptr);
}

TEST_F(CodeShapeTest, BitwiseBindsTighterThanMultiplication)
{
    // a * b & c is a * (b & c): the BAND comes first.
    std::vector<OpCode> ops = opcodes(compiled("local a, b, c local x = a * b & c"));
    auto band = std::find(ops.begin(), ops.end(), OP_BAND);
    auto mul = std::find(ops.begin(), ops.end(), OP_MUL);
    EXPECT_LT(band, mul);
    // -a & b is (-a) & b.
    ops = opcodes(compiled("local a, b local x = -a & b"));
    EXPECT_LT(std::find(ops.begin(), ops.end(), OP_UNM), std::find(ops.begin(), ops.end(), OP_BAND));
    // -a ^ b is -(a ^ b).
    ops = opcodes(compiled("local a, b local x = -a ^ b"));
    EXPECT_LT(std::find(ops.begin(), ops.end(), OP_POW), std::find(ops.begin(), ops.end(), OP_UNM));
}

TEST_F(CodeShapeTest, WideStringConstantsAreShared)
{
    const FunctionProto* p = compiled("local a, b, c = L\"x\", L\"x\", \"x\"");
    ASSERT_EQ(p->constantCount, 2);
    EXPECT_EQ(p->constants[0].tag, LUA_TWSTRING);
    EXPECT_EQ(asString(&p->constants[0])->length, 1u);
    EXPECT_EQ(asString(&p->constants[0])->units()[0], 'x');
    EXPECT_EQ(p->constants[1].tag, LUA_TSTRING);
}

TEST_F(CodeShapeTest, ConstructorSizes)
{
    struct SizeCase {
        const char* source;
        int arraySize;  // decoded B
        int logSize;    // C
    };
    const SizeCase cases[] = {
        {"local t = {}", 0, 0},
        {"local t = {1, 2, 3}", 3, 0},
        {"local t = {x = 1, y = 2, 3}", 1, 2},
        {"local t = { &10 }", 0, 4},
        {"local t = { &4 &16 1, 2 }", 16, 3},
        {"local t = { &0 &2 1, 2, 3 }", 3, 0},
        {"local t = { &1.9 }", 0, 1},
        {"local t = { &1e300 &1e300 }", 1 << 26, 27},
        {"local t = { &0x10 x = 1 }", 0, 5},
    };
    for (const SizeCase& c : cases) {
        const Instruction* i = find(compiled(c.source), OP_NEWTABLE);
        ASSERT_NE(i, nullptr) << c.source;
        EXPECT_EQ(decodeArraySize(argB(*i)), c.arraySize) << c.source;
        EXPECT_EQ(argC(*i), c.logSize) << c.source;
    }
}

TEST_F(CodeShapeTest, ListItemsAreStoredInFlushesOf32)
{
    std::string items = repeated("", 40, ", ");
    const FunctionProto* p = compiled("local t = {" + items + "}");
    std::vector<int> flushes;
    for (int pc = 0; pc < p->codeSize; ++pc)
        if (opcode(p->code[pc]) == OP_SETLIST)
            flushes.push_back(argBx(p->code[pc]));
    EXPECT_EQ(flushes, (std::vector<int>{31, 39}));
    EXPECT_NE(find(compiled("local t = {1, f()}"), OP_SETLISTO), nullptr);
}

// x = x + 1000 ... x = x + 1299, then fields k0 ... k299 of a table: more
// constants than an operand can name.
std::string manyConstants()
{
    std::string s = "local x, t = 0, {} ";
    for (int i = 0; i < 300; ++i)
        s += "x = x + " + std::to_string(1000 + i) + " t.k" + std::to_string(i) + " = " + std::to_string(i) + " ";
    return s;
}

TEST_F(CodeShapeTest, ConstantsBeyondTheOperandRangeAreLoadedIntoRegisters)
{
    const FunctionProto* p = compiled(manyConstants());
    ASSERT_GT(p->constantCount, kMaxArgC - kConstantBase + 1);
    int loads = 0;
    for (int pc = 0; pc < p->codeSize; ++pc) {
        Instruction i = p->code[pc];
        if (opcode(i) == OP_LOADK)
            ++loads;
        if (opcode(i) == OP_ADD || opcode(i) == OP_SETTABLE) {
            EXPECT_LE(argB(i), kMaxArgB);
            EXPECT_TRUE(!isConstant(argC(i)) || argC(i) - kConstantBase < p->constantCount) << pc;
        }
    }
    EXPECT_GT(loads, 100);
}

TEST_F(CodeShapeTest, LocalFunctionIsShownOnceItIsStored)
{
    const FunctionProto* p = compiled("local function f() end");
    ASSERT_EQ(p->localVarCount, 1);
    EXPECT_EQ(p->localVars[0].startPc, 1);  // after the CLOSURE
}

TEST_F(CodeShapeTest, FunctionsRecordParametersAndVarargs)
{
    const FunctionProto* p = compiled("local function f(a, b, ...) end function o:m(x) end");
    ASSERT_EQ(p->protoCount, 2);
    EXPECT_EQ(p->protos[0]->paramCount, 2);
    EXPECT_EQ(p->protos[0]->isVararg, 1);
    EXPECT_EQ(p->protos[1]->paramCount, 2);  // self and x
    EXPECT_EQ(p->protos[1]->isVararg, 0);
    EXPECT_EQ(p->isVararg, 0);
}

// Script-level behaviour of what the compiler makes.
class CompiledBehaviourTest : public LibraryTest {};

struct RunCase {
    const char* code;
    const char* expected;
};

TEST_F(CompiledBehaviourTest, ContinueInEveryLoopKind)
{
    const RunCase cases[] = {
        {"local s = '' for i = 1, 3 do if i == 2 then continue end s = s .. i end return s", "13"},
        {"local i, s = 0, '' while i < 5 do i = i + 1 if i == 2 or i == 4 then continue end s = s .. i end return s",
         "135"},
        {"local i, s = 0, '' repeat i = i + 1 if i == 2 then continue end s = s .. i until i >= 4 return s",
         "134"},
        {"local s = '' for _, v in ipairs({1, 2, 3, 4}) do if v == 3 then continue end s = s .. v end return s",
         "124"},
        {"local n = 0 for k, v in {10, 20, 30} do if k == 2 then continue end n = n + v end return n", "40"},
        // continue in repeat goes to the until test, which ends the loop here.
        {"local n = 0 repeat n = n + 1 if n < 10 then continue end until true return n", "1"},
        {"local s = '' for i = 1, 3 do for j = 1, 3 do if j == 2 then continue 2 end s = s .. i .. j end end "
         "return s", "112131"},
        {"local s = '' for i = 3, 1, -1 do local x = i * 2 if x == 4 then continue end s = s .. x end return s",
         "62"},
    };
    for (const RunCase& c : cases)
        EXPECT_EQ(run(c.code), c.expected) << c.code;
}

TEST_F(CompiledBehaviourTest, ManyConstants)
{
    // 300 * 1000 + (0 + ... + 299), and the last field.
    EXPECT_EQ(run(manyConstants() + "return x, t.k299"), "344850|299");
}

TEST_F(CompiledBehaviourTest, WhileConditions)
{
    const RunCase cases[] = {
        {"local n = 0 while n < 3 and true do n = n + 1 end return n", "3"},
        {"local n = 0 while not (n >= 4) do n = n + 1 end return n", "4"},
        {"local n = 0 while 'a' == 'b' or n < 2 do n = n + 1 end return n", "2"},
        {"local n = 0 while nil do n = 1 end while false do n = 2 end return n", "0"},
        {"local n = 0 while 1 do n = n + 1 if n == 5 then break end end return n", "5"},
        {"local t = {3, 2, 1} local i = 1 while t[i] do i = i + 1 end return i", "4"},
        {"local n, s = 0, 0 while (function() n = n + 1 return n <= 3 end)() do s = s + n end return s", "6"},
    };
    for (const RunCase& c : cases)
        EXPECT_EQ(run(c.code), c.expected) << c.code;
}

TEST_F(CompiledBehaviourTest, NumberedBreak)
{
    const RunCase cases[] = {
        {"local n = 0 while true do while true do n = n + 1 break 2 end n = 100 end return n", "1"},
        {"local n = 0 for i = 1, 3 do for j = 1, 3 do for k = 1, 3 do n = n + 1 if k == 2 then break 3 end end "
         "end end return n", "2"},
        {"local n = 0 for i = 1, 3 do repeat n = n + 1 break 1 until false end return n", "3"},
        {"local s = '' for i = 1, 2 do while true do s = s .. i break end end return s", "12"},
    };
    for (const RunCase& c : cases)
        EXPECT_EQ(run(c.code), c.expected) << c.code;
}

TEST_F(CompiledBehaviourTest, LeavingALoopClosesCapturedLocals)
{
    const RunCase cases[] = {
        // Each closure keeps its own iteration's value although continue
        // skips the end of the body.
        {"local t = {} for i = 1, 3 do local j = i t[i] = function() return j end "
         "if i < 3 then continue end end return t[1](), t[2](), t[3]()", "1|2|3"},
        {"local t, i = {}, 0 while i < 3 do i = i + 1 local j = i * 10 t[i] = function() return j end "
         "if true then continue end end return t[1](), t[2](), t[3]()", "10|20|30"},
        {"local t, i = {}, 0 repeat i = i + 1 local j = i t[i] = function() return j end "
         "do continue end until i == 2 return t[1](), t[2]()", "1|2"},
        // A closure made in a later iteration of an inner loop captures the
        // outer body's local; break 2 must close it before its slot is reused.
        {"local f local i = 0 while true do i = i + 1 local x = i * 10 "
         "while true do if f then break 2 end f = function() return x end end end "
         "local y = 99 return f()", "10"},
        {"local t = {} for i = 1, 2 do local x = i for j = 1, 2 do "
         "if j == 2 then continue 2 end t[i] = function() return x end end end "
         "local a, b, c = 7, 8, 9 return t[1](), t[2]()", "1|2"},
    };
    for (const RunCase& c : cases)
        EXPECT_EQ(run(c.code), c.expected) << c.code;
}

TEST_F(CompiledBehaviourTest, StatementsAndExpressions)
{
    const RunCase cases[] = {
        // The until condition does not see the body's locals.
        {"x = 'outer' local n = 0 repeat local x = 'inner' n = n + 1 until x == 'outer' return n", "1"},
        // In a multiple assignment the table and key are evaluated first.
        {"local a = {} local i = 1 i, a[i] = i + 1, 20 return i, a[1], a[2]", "2|20|nil"},
        {"local a, b, c = (function() return 1, 2, 3 end)() return a, b, c", "1|2|3"},
        {"local a, b = 1 return a, b", "1|nil"},
        {"local a, b = 1, 2, print return a, b", "1|2"},
        {"local function f(...) return arg.n, arg[2] end return f(1, 2, 3)", "3|2"},
        {"local t = {n = 1} function t:add(d) self.n = self.n + d return self end return t:add(2):add(3).n", "6"},
        {"local function id(x) return x end return id'str', id{1}[1], id[[long]]", "str|1|long"},
        {"return nil or 1 and 2, false and 1 or 3, not nil, not 0", "2|3|true|false"},
        {"return nil and 2, false and nil, 0 and 'zero', nil or false, false or nil", "nil|false|zero|false|nil"},
        {"local x = 5 return x > 3 and 'big' or 'small', x > 9 and 'big' or 'small'", "big|small"},
        {"local a, b = 1, 2 return a < b, a <= b, a > b, a >= b, a == b, a ~= b",
         "true|true|false|false|false|true"},
        {"local x = 5 local y = x > 3 and 'big' or 'small' return y", "big"},
        {"return 1 .. 2 .. 3, 'a' .. 'b' == 'ab'", "123|true"},
        {"return 2 ^ 3, 5 ^ 3, 3 * 5 & 6, -1 & 0xFF, 0xFFFFFFFF, 1 << 31", "1|6|12|255|4294967295|2147483648"},
        {"return 0xF0 & 0x3C, 0xF0 | 0x0F, 0xFFFFFFFF >> 28, 2 + 3 << 1", "48|255|15|8"},
        {"local function f() return 4, 5 end local t = {1, 2, 3, n = 'x', [10] = 'ten', f(), "
         "g = function() return 'g' end} return t[3], t[4], t[5], t.n, t[10], t.g()", "3|4|nil|x|ten|g"},
        {"local t = {(function() return 1, 2, 3 end)()} return t[1], t[2], t[3]", "1|2|3"},
        {"local t = {(function() return 1, 2, 3 end)(), 4} return t[1], t[2], t[3]", "1|4|nil"},
        {"local s = 0 for i = 10, 1, -3 do s = s + i end return s", "22"},
        {"local s = 0 for i = 0.5, 2 do s = s + i end return s", "2"},
        {"local t = {} for i = 1, 40 do t[i] = i end local u = {"
         "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,27,28,29,30,31,32,33,34} "
             "return u[32], u[33], u[34], table.getn(u)", "32|33|34|34"},
        {"local a = 1 do local a = 2 end return a", "1"},
        {"if nil then return 1 elseif false then return 2 elseif 0 then return 3 else return 4 end", "3"},
        {"local function fib(n) if n < 2 then return n end return fib(n - 1) + fib(n - 2) end return fib(15)",
         "610"},
        {"local t = { &8 &8 } t.x = 1 return t.x", "1"},
        {"return L\"a\\x263Ab\" == L\"a\\x263Ab\", type(L\"x\")", "true|wstring"},
        {"local x = 0 while x < 3 do x = x + 1 end return x", "3"},
        {"local x = 0 while x do x = x + 1 if x > 4 then break end end return x", "5"},
        {"local a = {} a.b = {} a.b.c = 5 return a.b.c, a['b'].c", "5|5"},
        {"local function f() return end return f()", ""},
        {"local t = {} t[1], t[2] = 'a', 'b' return t[1] .. t[2]", "ab"},
        {"local x = not (1 == 2) return x", "true"},
        {"local a, b = -0, 0 return 1 / a > 0, 1 / b > 0, 1 / -0 > 0", "true|true|true"},
        {"local a, b = nil, 2 local c = a and a.x or b return c", "2"},
    };
    for (const RunCase& c : cases)
        EXPECT_EQ(run(c.code), c.expected) << c.code;
}

}  // namespace
