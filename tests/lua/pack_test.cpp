// string.pack, string.unpack and string.lualex.
#include "libfixture.h"

namespace {

struct PackCase {
    const char* code;
    const char* expected;
};

class PackTest : public LibraryTest, public ::testing::WithParamInterface<PackCase> {};

TEST_P(PackTest, GivesTheExpectedValues) {
    const PackCase& c = GetParam();
    EXPECT_EQ(run(c.code), c.expected) << c.code;
}

// Round trips: unpack returns the position after the data, then the values.
const PackCase kRoundTrips[] = {
    {"return string.unpack(string.pack('<hB', -2, true), '<hB')", "4|-2|true"},
    {"return string.unpack(string.pack('b c', 200, -100), 'b c')", "3|200|-100"},
    {"return string.unpack(string.pack('hH', -1, 65535), 'hH')", "5|-1|65535"},
    {"return string.unpack(string.pack('iIlL', -5, 4294967295, 7, 8), 'iIlL')", "17|-5|4294967295|7|8"},
    {"return string.unpack(string.pack('f d n', 0.5, 1/3, -2), 'f d n')", "21|0.5|0.33333333333333|-2"},
    {"return string.unpack(string.pack('z p P a', 'ab', 'cd', 'ef', 'gh'), 'z p P a')",
     "17|ab|cd|ef|gh"},
    {"return string.unpack(string.pack('A', 'hello'), 'A5')", "6|hello"},
    {"return string.unpack(string.pack('b3', 1, 2, 3), 'b3')", "4|1|2|3"},
    {"return string.unpack(string.pack('b0,b', 1, 2), 'b0 , b')", "3|1|2"},
    {"return string.unpack(string.pack('>H', 258), '>H')", "3|258"},
    {"local p, a, b = string.unpack(string.pack('wz wp', L\"\\x263A\", L\"ab\"), 'wz wp') "
     "return p, a == L\"\\x263A\", b == L\"ab\"",
     "10|true|true"},
    {"local p, w = string.unpack(string.pack('wz', 12), 'wz') return p, w == L\"12\"", "7|true"},
    {"local s = string.pack('b', 1, 2) return string.len(s)", "1"},
};
INSTANTIATE_TEST_SUITE_P(RoundTrips, PackTest, ::testing::ValuesIn(kRoundTrips));

// Exact bytes: byte order, wide units, fields.
const PackCase kBytes[] = {
    {"return string.byte(string.pack('>h', 1), 1, 1), string.byte(string.pack('>h', 1), 2)", "0|1"},
    {"return string.byte(string.pack('<h', 1), 1), string.byte(string.pack('=h', 1), 2)", "1|0"},
    {"local s = string.pack('>wA', L\"\\x0102\") return string.byte(s, 1), string.byte(s, 2)", "1|2"},
    {"local s = string.pack('@4:255 b @ b', 7, 9) return string.len(s), string.byte(s, 1), "
     "string.byte(s, 2), string.byte(s, 4), string.byte(s, 5)",
     "5|7|255|255|9"},
    {"return string.len(string.pack('@3 b'))", "error: test:1: bad argument #2 to `pack' (number expected, got no value)"},
    {"return string.len(string.pack('@3 b', 1))", "3"},
    {"return pcall(string.pack, '@1 h @', 1)", "false|`@' field of 1 bytes holds 2"},
    // Results past string.rep's limit fail; fields fail before any is filled.
    {"return pcall(string.pack, '@999999999@')", "false|resulting string too large"},
    {"return pcall(string.pack, '@99999999@@99999999@@99999999@')", "false|resulting string too large"},
    {"return pcall(string.pack, 'A@99999999@@99999999@@99999999', string.rep('x', 10))",
     "false|resulting string too large"},
};
INSTANTIATE_TEST_SUITE_P(Bytes, PackTest, ::testing::ValuesIn(kBytes));

// Unpack never reads past the data; it stops at the first value that does
// not fit and returns what it read.
const PackCase kTruncated[] = {
    {"return string.unpack('\\1', 'h')", "1"},
    {"return string.unpack('\\1\\2', 'b h')", "2|1"},
    {"return string.unpack('ab', 'z')", "1"},
    {"return string.unpack('a\\0b', 'z z')", "3|a"},
    {"return string.unpack('\\5ab', 'p')", "1"},
    {"return string.unpack('\\255\\255\\255\\127', 'a')", "1"},
    {"return string.unpack('abc', 'A4')", "1"},
    {"return string.unpack('abc', 'wA2')", "1"},
    {"return string.unpack('a\\0', 'wz')", "1"},
    {"return string.unpack('abc', 'b', 4)", "4"},
    {"return string.unpack('abc', 'b', 10)", "10"},
    {"return string.unpack('abc', 'b', 0)", "0"},
    {"return string.unpack('abc', 'b', -1)", "-1"},
    {"return string.unpack('abc', 'b', 3)", "4|99"},
    {"return string.unpack('abc', 'b', 2.5)", "3|98"},
    {"return string.unpack('abc', 'b', 9.5)", "9"},
    {"return string.unpack('abc', 'b', 0.5)", "0"},
};
INSTANTIATE_TEST_SUITE_P(Truncated, PackTest, ::testing::ValuesIn(kTruncated));

const PackCase kErrors[] = {
    {"return pcall(function() string.pack('q', 1) end)", "false|test:1: bad argument #1 to `pack' (bad code `q')"},
    {"return pcall(function() string.unpack('abc', 'q') end)",
     "false|test:1: bad argument #2 to `unpack' (bad code `q')"},
    {"return pcall(function() string.unpack('abc', '@2') end)",
     "false|test:1: bad argument #2 to `unpack' (bad code `@')"},
    {"return pcall(function() string.pack('B', 1) end)",
     "false|test:1: bad argument #2 to `pack' (expected a boolean)"},
    {"return pcall(function() string.pack('p', string.rep('x', 256)) end)",
     "false|test:1: bad argument #2 to `pack' (string too long)"},
    {"return pcall(function() string.pack('h', 'x') end)",
     "false|test:1: bad argument #2 to `pack' (number expected, got string)"},
    // the wide variants take wide strings (or numbers), the others 8-bit ones
    {"return pcall(function() string.pack('wz', 'abc') end)",
     "false|test:1: bad argument #2 to `pack' (wstring expected, got string)"},
    {"return pcall(function() string.pack('z', L\"abc\") end)",
     "false|test:1: bad argument #2 to `pack' (string expected, got wstring)"},
};
INSTANTIATE_TEST_SUITE_P(Errors, PackTest, ::testing::ValuesIn(kErrors));

const PackCase kLualex[] = {
    {"return string.lualex('a\\\\nb') == 'a\\nb'", "true"},
    {"return string.lualex('\\\\65\\\\066\\\\x41\\\\xg')", "ABAxg"},
    {"return string.byte(string.lualex('\\\\300'))", "44"},
    {"return string.lualex('\\\\q\\\\\\\\')", "q\\"},
    {"local s = string.lualex('\\\\x263A', 1) return string.len(s), string.byte(s, 1), string.byte(s, 2)",
     "2|58|38"},
    {"local s = string.lualex('\\\\x263A') return string.len(s), string.byte(s, 1), string.sub(s, 2)",
     "3|38|3A"},
};
INSTANTIATE_TEST_SUITE_P(Lualex, PackTest, ::testing::ValuesIn(kLualex));

}  // namespace
