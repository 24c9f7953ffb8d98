// The execute loop at script level: closures and upvalues, calls, varargs,
// loops, metamethods, coercions and the dialect's operators.
#include "tests/lua/libfixture.h"

#include <cstring>

namespace {

#define TEN(n) #n "0," #n "1," #n "2," #n "3," #n "4," #n "5," #n "6," #n "7," #n "8," #n "9,"
#define LIST_OF_70 "1,2,3,4,5,6,7,8,9," TEN(1) TEN(2) TEN(3) TEN(4) TEN(5) TEN(6) "70"

struct Case {
    const char* code;
    const char* expected;
};

class VmTest : public LibraryTest {
protected:
    void expectAll(const Case* cases, size_t count)
    {
        for (size_t i = 0; i < count; ++i)
            EXPECT_EQ(run(cases[i].code), cases[i].expected) << cases[i].code;
    }
};

TEST_F(VmTest, ClosuresAndUpvalues)
{
    const Case cases[] = {
        // A fresh local per iteration: each closure sees its own value.
        {"local t = {} for i = 1, 3 do local j = i t[i] = function() return j end end "
         "return t[1](), t[2](), t[3]()", "1|2|3"},
        {"local t = {} local i = 1 while i <= 3 do local j = i * 10 t[i] = function() return j end i = i + 1 end "
         "return t[1](), t[3]()", "10|30"},
        // Two closures share one upvalue, open and then closed.
        {"local function pair() local n = 0 "
         "return function() n = n + 1 end, function() return n end end "
         "local inc, get = pair() inc() inc() return get()", "2"},
        {"local n = 5 local function add(d) n = n + d end add(2) return n", "7"},
        {"local function counter() local c = 0 return function() c = c + 1 return c end end "
         "local a, b = counter(), counter() a() a() return a(), b()", "3|1"},
        // A protected call that fails still closes the upvalues of its frames.
        {"local f pcall(function() local x = 5 f = function() return x end error('e') end) "
         "local y = {} return f()", "5"},
        // Nested closures reach an outer function's local through upvalues.
        {"local x = 1 local function f() return function() x = x + 1 return x end end return f()(), x", "2|2"},
    };
    expectAll(cases, std::size(cases));
}

TEST_F(VmTest, CallsReturnsAndVarargs)
{
    const Case cases[] = {
        {"local function f() return 1, 2, 3 end return f()", "1|2|3"},
        {"local function f() return 1, 2, 3 end local a, b = f() return a, b", "1|2"},
        {"local function f() return 1 end local a, b, c = f() return a, b, c", "1|nil|nil"},
        {"local function f() return 1, 2 end return f(), f()", "1|1|2"},
        {"local function f() return 1, 2, 3 end local t = {f()} return t[1], t[3]", "1|3"},
        {"local function f() return 7, 8 end local t = {0, f()} return t[2], t[3]", "7|8"},
        // Constructors longer than one SETLIST batch, fixed and open-ended.
        {"local t = {" LIST_OF_70 "} return t[1], t[32], t[33], t[70], t[71]", "1|32|33|70|nil"},
        {"local function f() return 'a', 'b' end local t = {" LIST_OF_70 ", f()} return t[70], t[71], t[72]",
         "70|a|b"},
        {"local function f(...) return arg.n, arg[1], arg[3] end return f(10, nil, 30)", "3|10|30"},
        {"local function f(a, b, ...) return a, b, arg.n end return f(1)", "1|nil|0"},
        {"local function f(a, ...) return arg.n, arg[1] end return f(1, 2)", "1|2"},
        {"local function f(a, b) return a, b end return f(1, 2, 3)", "1|2"},
        {"local function id(...) return unpack(arg) end return id(4, 5, 6)", "4|5|6"},
        // Method calls pass the object as self.
        {"local o = {v = 3} function o:get(k) return self.v * k end return o:get(2)", "6"},
        // Native results flow back through calls with any result count.
        {"local function f() return string.find('abc', 'b') end local a, b = f() return a, b", "2|2"},
    };
    expectAll(cases, std::size(cases));
}

TEST_F(VmTest, TailCallsKeepTheStackFlat)
{
    // Far deeper than the frame limit: only tail calls can get through.
    EXPECT_EQ(run("local function loop(n) if n == 0 then return 'done' end return loop(n - 1) end "
                  "return loop(200000)"),
              "done");
    EXPECT_EQ(run("local even, odd "
                  "function even(n) if n == 0 then return true end return odd(n - 1) end "
                  "function odd(n) if n == 0 then return false end return even(n - 1) end "
                  "return even(100001)"),
              "false");
    // A tail call to a native function returns its results.
    EXPECT_EQ(run("local function f(s) return string.upper(s) end return f('ab')"), "AB");
    // Deep plain recursion overflows, again and again: the frames added to
    // report the overflow are given back.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const std::string deep = run("local function f(n) return 1 + f(n) end return f(1)");
        EXPECT_NE(deep.find("stack overflow"), std::string::npos) << deep;
    }
    const std::string wide = run("local function f(a, b, c, d, e, g, h) return 1 + f(a, b, c, d, e, g, h) end return f()");
    EXPECT_NE(wide.find("stack overflow"), std::string::npos) << wide;
}

TEST_F(VmTest, Loops)
{
    const Case cases[] = {
        {"local s = 0 for i = 1, 10 do s = s + i end return s", "55"},
        {"local s = '' for i = 3, 1, -1 do s = s .. i end return s", "321"},
        {"local s = 0 for i = 1, 2, 0.5 do s = s + i end return s", "4.5"},
        {"local n = 0 for i = 1, 0 do n = n + 1 end return n", "0"},
        {"local s = 0 for i = 1, '3' do s = s + i end return s", "6"},
        {"local s = 0 for k, v in {5, 6, 7} do s = s + k * v end return s", "38"},
        {"local n = 0 for k, v in pairs({a = 1, b = 2}) do n = n + v end return n", "3"},
        {"local t = {} for i, v in ipairs({'x', 'y'}) do t[i] = v end return t[1] .. t[2]", "xy"},
        {"local i = 0 repeat i = i + 1 until i >= 4 return i", "4"},
    };
    expectAll(cases, std::size(cases));
    EXPECT_EQ(run("for i = nil, 2 do end"), "error: test:1: attempt to perform arithmetic on a nil value");
    EXPECT_EQ(run("for i = 1, {} do end"), "error: test:1: `for' limit must be a number");
    // The loop's preparation subtracts the step, so a bad step fails there.
    EXPECT_EQ(run("for i = 1, 2, 'x' do end"), "error: test:1: attempt to perform arithmetic on a string value");
    EXPECT_EQ(run("local s = 0 for i = 1, 3, '1' do s = s + i end return s"), "6");
}

TEST_F(VmTest, Metamethods)
{
    const Case cases[] = {
        {"local t = setmetatable({}, {__index = function(t, k) return k .. '!' end}) return t.a, rawget(t, 'a')",
         "a!|nil"},
        {"local base = {x = 1} local mid = setmetatable({}, {__index = base}) "
         "local top = setmetatable({}, {__index = mid}) return top.x", "1"},
        {"local t = setmetatable({}, {__newindex = function(t, k, v) rawset(t, k, v * 2) end}) "
         "t.a = 4 t.a = 5 return t.a", "5"},
        {"local store = {} local t = setmetatable({}, {__newindex = store}) t.a = 1 return rawget(t, 'a'), store.a",
         "nil|1"},
        {"local t = setmetatable({}, {__call = function(self, a, b) return a + b end}) return t(2, 3)", "5"},
        {"local mt = {__add = function(a, b) return 'add' end, __sub = function(a, b) return 'sub' end, "
         "__mul = function() return 'mul' end, __div = function() return 'div' end, "
         "__unm = function() return 'unm' end} local t = setmetatable({}, mt) "
         "return t + 1, 2 - t, t * t, t / 1, -t", "add|sub|mul|div|unm"},
        {"local t = setmetatable({}, {__concat = function(a, b) return 'cat' end}) return t .. 'x', 1 .. t", "cat|cat"},
        // A number before the operand that fails reaches __concat as text;
        // one after it stays a number.
        {"local t = setmetatable({}, {__concat = function(a, b) return type(a) .. '+' .. type(b) end}) "
         "return 1 .. t, t .. 2, 'a' .. 1 .. t", "string+table|table+number|astring+table"},
        // __eq only between two tables with the same handler.
        {"local eq = function() return true end local a = setmetatable({}, {__eq = eq}) "
         "local b = setmetatable({}, {__eq = eq}) local c = setmetatable({}, {__eq = function() return true end}) "
         "return a == b, a == c, a == 1, a ~= b", "true|false|false|false"},
        {"local mt = {__lt = function(a, b) return a.v < b.v end} "
         "local a, b = setmetatable({v = 1}, mt), setmetatable({v = 2}, mt) return a < b, a > b, a <= b, b <= a",
         "true|false|true|false"},
        {"local mt = {__le = function(a, b) return 'yes' end} local a, b = setmetatable({}, mt), setmetatable({}, mt) "
         "return a <= b, a >= b", "true|true"},
        // __le falls back to not __lt with the operands swapped.
        {"local mt = {__lt = function(a, b) return a.v < b.v end} "
         "local a, b = setmetatable({v = 1}, mt), setmetatable({v = 1}, mt) return a <= b, a < b", "true|false"},
        // A handler stored again under a key that was set to nil is seen
        // after a lookup found none.
        {"local mt = {__index = 0} mt.__index = nil local t = setmetatable({}, mt) local before = t.x "
         "mt.__index = function() return 'late' end return before, t.x", "nil|late"},
    };
    expectAll(cases, std::size(cases));
    // A handler that indexes its own table recurses through native calls until they overflow.
    const std::string overflow = run("local t = setmetatable({}, {__index = function(t, k) return t[k] end}) return t.x");
    EXPECT_NE(overflow.find("C stack overflow"), std::string::npos) << overflow;
    EXPECT_EQ(run("local t = {} setmetatable(t, {__index = t}) return t.x"), "error: test:1: loop in gettable");
    EXPECT_EQ(run("local t = {} setmetatable(t, {__newindex = t}) t.x = 1"), "error: test:1: loop in settable");
}

// Equality without handlers: values of two kinds are never equal (no
// coercion); within a kind, by value or by identity.
TEST_F(VmTest, EqualityOfEachKind)
{
    const Case cases[] = {
        {"local a, b = nil, nil return a == b, a == false, false == nil, 0 == false", "true|false|false|false"},
        {"local t, f = true, false return t == true, f == false, t == f, t ~= f", "true|true|false|true"},
        {"local n, s = 1, '1' return n == s, s == '1', n == 1.0, 0 == -0", "false|true|true|true"},
        {"local f = function() end local g = function() end return f == f, f == g, print == print",
         "true|false|true"},
        {"local t, u = {}, {} return t == t, t == u, t ~= u", "true|false|true"},
        {"local nan = 0 / 0 return nan == nan, nan ~= nan", "false|true"},
    };
    expectAll(cases, std::size(cases));
}

// Operators whose operands are registers, a register and a constant, or a
// constant and a register: the load gives the first kinds handlers of their
// own, which must answer, fail and name operands as the instruction's own.
TEST_F(VmTest, OperatorsAgreeWhateverTheKindsOfTheirOperands)
{
    const Case cases[] = {
        {"local a, b = 7, 2 return a + b, a + 2, 7 + b, a - b, a - 2, 7 - b", "9|9|9|5|5|5"},
        {"local a, b = 7, 2 return a * b, a * 2, 7 * b, a / b, a / 2, 7 / b", "14|14|14|3.5|3.5|3.5"},
        {"local a, b = '7', '2' return a + b, a * 2, 7 - b", "9|14|5"},
        {"local a, b = 1, 2 return a == b, a == 1, 1 == b, a < b, a < 1, 1 < b, a <= b, a <= 0, 2 <= b",
         "false|true|false|true|false|true|true|false|true"},
        {"local a, b = 'x', 'y' return a == b, a == 'x', a < b, a < 'a', a <= 'x'", "false|true|true|false|true"},
        {"local t, k = {10, 20, x = 'f'}, 2 return t[k], t[1], t.x, t['x']", "20|10|f|f"},
        {"local t, k, v = {}, 'x', 5 t[k] = v t[1] = v t.y = v t[2] = 'c' t.z = 'd' "
         "return t.x, t[1], t.y, t[2], t.z", "5|5|5|c|d"},
        {"local mt = {__add = function() return 'add' end, __lt = function() return true end} "
         "local t = setmetatable({}, mt) return t + t, t + 1, 1 + t, t < t", "add|add|add|true"},
        {"local a, b = 1, {}\nreturn a + b", "error: test:2: attempt to perform arithmetic on local `b' (a table value)"},
        {"local a = {}\nreturn a / 1", "error: test:2: attempt to perform arithmetic on local `a' (a table value)"},
        {"local a, b = 1, 'x'\nreturn a < b", "error: test:2: attempt to compare number with string"},
        {"local a = {}\nreturn a <= 1", "error: test:2: attempt to compare table with number"},
        {"local t = {}\nlocal k = 'q'\nreturn t[k][1]", "error: test:3: attempt to index field `?' (a nil value)"},
        {"local t\nt[1] = 2", "error: test:2: attempt to index local `t' (a nil value)"},
        {"local t, k = {}, 0 / 0\nt[k] = 1", "error: test:2: table index is NaN"},
        // Method calls, by name and by a computed key.
        {"local o = {n = 2, get = function(self) return self.n end} local m = 'get' return o:get(), o[m](o)", "2|2"},
        {"local obj\nobj:method()", "error: test:2: attempt to index local `obj' (a nil value)"},
        {"x = 5\nx:method()", "error: test:2: attempt to index global `x' (a number value)"},
        {"local t = {}\nt.a:m()", "error: test:2: attempt to index field `a' (a nil value)"},
        // A boolean loaded for the store that follows it.
        {"local t, k = {}, 'a' t[k] = true t.b = false t[1] = true return t.a, t.b, t[1]", "true|false|true"},
        {"local t\nt.x = true", "error: test:2: attempt to index local `t' (a nil value)"},
        {"local t = setmetatable({}, {__newindex = function(t, k, v) rawset(t, k, not v) end}) t.x = true "
         "return t.x", "false"},
    };
    expectAll(cases, std::size(cases));
}

// A table read with a register key runs in one handler with a comparison,
// test, store or sum after it; reads through __index, errors in either half
// and jumps that land on the second instruction behave as two instructions.
TEST_F(VmTest, ATableReadAndTheInstructionAfterItRunAsOne)
{
    const Case cases[] = {
        {"local t, i, lim = {4, 9}, 1, 5 local a = t[i] < lim i = 2 return a, t[i] < lim", "true|false"},
        {"local t, i = {false, 1}, 1 local n = 0 if not t[i] then n = n + 1 end i = 2 "
         "if not t[i] then n = n + 10 end return n", "1"},
        {"local src, dst, i, o = {7}, {}, 1, 3 dst[o] = src[i] return dst[3]", "7"},
        {"local t, i, s = {2, 3}, 2, 10 s = s + t[i] return s", "13"},
        {"local t = setmetatable({}, {__index = function(t, k) return k * 2 end}) local i, lim, s = 3, 7, 1 "
         "local d = {} d[i] = t[i] return t[i] < lim, not t[i], d[3], s + t[i]", "true|false|6|7"},
        // The sum is also where the `if` jumps when it is not taken.
        {"local function f(i) local s, t, y = 0, {5}, 2 if i < 5 then s = t[i] end s = s + y return s end "
         "return f(1), f(9)", "7|2"},
        {"local t, i, lim = nil, 1, 2\nreturn t[i] < lim", "error: test:2: attempt to index local `t' (a nil value)"},
        {"local t, i, lim = {1}, 1, {}\nreturn t[i] < lim", "error: test:2: attempt to compare number with table"},
        {"local t, i, s = {{}}, 1, 0\ns = s + t[i]", "error: test:2: attempt to perform arithmetic on field `?' (a table value)"},
    };
    expectAll(cases, std::size(cases));
}

// A loop's step (a sum of registers or of a register and a constant) runs in
// one handler with the comparison after it; sums through __add or of
// strings, errors in either half and loops entered at their test behave as
// two instructions.
TEST_F(VmTest, ASumAndTheComparisonAfterItRunAsOne)
{
    const Case cases[] = {
        {"local n, i, step, lim = 0, 0, 3, 10 while i < lim do n = n + 1 i = i + step end return n, i", "4|12"},
        {"local n, i, lim = 0, 1, 8 while i <= lim do n = n + 1 i = i + 1 end return n, i", "8|9"},
        {"local i, j, lim = 2, 3, 5 return i + 1 < lim, i + 3 <= lim, i + j <= lim, i + j < lim", "true|true|true|false"},
        {"local i, lim = '2', 5 i = i + 3 local a = i < lim i = '4' i = i + 1 return a, i <= lim, i", "false|true|5"},
        {"local mt = {__add = function(a, b) return 7 end} local o, lim = setmetatable({}, mt), 9 "
         "local r = o + 1 return r < lim, r", "true|7"},
        {"local i, lim = 1, 3 local n = 0 repeat i = i + 1 n = n + 1 until not (i < lim) return n", "2"},
        {"local i, lim = {}, 3\ni = i + 1 return i < lim", "error: test:2: attempt to perform arithmetic on local `i' (a table value)"},
        {"local i, lim = 1, {}\ni = i + 1 return i < lim", "error: test:2: attempt to compare number with table"},
        {"local i, lim = 1, 'x'\ni = i + 1 return i <= lim", "error: test:2: attempt to compare number with string"},
    };
    expectAll(cases, std::size(cases));
}

TEST_F(VmTest, CoercionsAndTypeWideMetatables)
{
    const Case cases[] = {
        {"return '10' + 5, 10 .. 20, 1.5 .. '', '3' * '4', -'2'", "15|1020|1.5|12|-2"},
        {"return 1e15 .. '', 0.1 .. ''", "1e+15|0.1"},
        {"return -0.5 .. 'x' .. 1e100 .. 7 .. '' .. 3, 1 .. 2 .. 3", "-0.5x1e+10073|123"},
        // Long joins are the same strings as equal texts made otherwise.
        {"local a = string.rep('ab', 200) local b = string.rep('ab', 90) .. 'a' .. string.rep('ba', 109) .. 'b' "
         "local t = {[a] = 1} return a == b, t[b], string.len(b .. 12345 .. b)", "true|1|805"},
        {"return 'a' < 'b', 'ab' < 'a', 'a\\0b' > 'a', 2 <= 2", "true|false|true|true"},
        // Strings index the string table installed as their type-wide metatable.
        {"local s = 'abc' return s:upper(), ('x'):rep(3)", "ABC|xxx"},
    };
    expectAll(cases, std::size(cases));
    EXPECT_EQ(run("local n = 5 return n.x"), "error: test:1: attempt to index local `n' (a number value)");
    EXPECT_EQ(run("local s = 'abc' s.x = 1"), "error: test:1: attempt to index local `s' (a string value)");
}

TEST_F(VmTest, BitwiseOperatorsAndPower)
{
    const Case cases[] = {
        {"return 0xF0 & 0x3C", "48"},
        {"return 1 << 31", "2147483648"},
        {"return 0xFFFFFFFF >> 28", "15"},
        {"return 5 ^ 3", "6"},
        {"return -1 & 0xFF", "255"},
        {"return 0xF0 | 0x0F, 1 << 33, 2 >> 33", "255|2|1"},
        {"return 7.9 & 3, -7.9 & 0xFF", "3|249"},
        // Beyond 64 bits the value counts modulo 2^64, so only the low 32 bits remain.
        {"return 9223372036854775808 & 1, 18446744073709551616 | 0, "
         "(18446744073709551616 + 4294967296 * 3 + 20480) & 0xFFFF, -4294967297 & 0xFF", "0|0|20480|255"},
        {"return (1/0) & 1, (0/0) | 0, (0/0) ^ 1", "0|0|1"},
        {"return 0x80000000 | 0, -1 >> 0", "2147483648|4294967295"},
        {"return 2 * 3 & 1", "2"},
    };
    expectAll(cases, std::size(cases));
    EXPECT_EQ(run("return '1' & 1"), "error: test:1: attempt to perform arithmetic on a string value");
    EXPECT_EQ(run("local t = {} return 1 | t"), "error: test:1: attempt to perform arithmetic on local `t' (a table value)");
    // Power on operands that are not both numbers: the global __pow, then handlers.
    EXPECT_EQ(run("return '5' ^ 3"), "error: test:1: `__pow' (`^' operator) is not a function");
    EXPECT_EQ(run("function __pow(a, b) return a * 100 + b end return '5' ^ '3'"), "503");
    EXPECT_EQ(run("local t = setmetatable({}, {__pow = function() return 'pow' end}) return t ^ 2"), "pow");
    EXPECT_EQ(run("return {} ^ 2"), "error: test:1: attempt to perform arithmetic on a table value");
}

TEST_F(VmTest, WideStrings)
{
    const Case cases[] = {
        {"local w = L\"ab\" .. 1 return type(w), tostring(w)", "wstring|ab1"},
        {"return tostring(1 .. L\"x\" .. 2.5)", "1x2.5"},
        {"return L\"a\" == L\"a\", L\"a\" == 'a', L\"a\" ~= L\"b\"", "true|false|true"},
        {"return L\"0x1.8p1\" + 0", "3"},
    };
    expectAll(cases, std::size(cases));
    EXPECT_EQ(run("return L\"ab\" .. \"c\""), "error: test:1: attempt to concatenate a wstring value");
    EXPECT_EQ(run("local s = 'c' return L\"ab\" .. s"), "error: test:1: attempt to concatenate a wstring value");
    EXPECT_EQ(run("return L\"a\" < L\"b\""), "error: test:1: attempt to compare two wstring values");
}

}  // namespace
