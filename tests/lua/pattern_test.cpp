// Pattern matching through string.find and string.gsub.
#include "libfixture.h"

namespace {

struct PatternCase {
    const char* call;      // an expression returning the values to compare
    const char* expected;  // results joined with "|"
};

class PatternTest : public LibraryTest, public ::testing::WithParamInterface<PatternCase> {};

TEST_P(PatternTest, GivesTheResultsOfTheReferenceMatcher) {
    const PatternCase& c = GetParam();
    EXPECT_EQ(run(std::string("return ") + c.call), c.expected) << c.call;
}

const PatternCase kFindCases[] = {
    // anchors
    {"string.find('hello', '^h')", "1|1"},
    {"string.find('hello', '^e')", "nil"},
    {"string.find('hello', 'o$')", "5|5"},
    {"string.find('a$b', 'a$b')", "1|3"},
    {"string.find('hello', '^l', 3)", "3|3"},
    {"string.find('', '^$')", "1|0"},
    // classes, complements and sets
    {"string.find('ab12', '%d+')", "3|4"},
    {"string.find('ab12', '%D+')", "1|2"},
    {"string.find('a\\0b', '%z')", "2|2"},
    {"string.find('x-y', '[%-]')", "2|2"},
    {"string.find('x]y', '[]]')", "2|2"},
    {"string.find('abc', '[^a-b]')", "3|3"},
    {"string.find('\\200x', '[\\128-\\255]')", "1|1"},
    // repetitions
    {"string.find('aaa', 'a-b')", "nil"},
    {"string.find('<a><b>', '<.->')", "1|3"},
    {"string.find('<a><b>', '<.*>')", "1|6"},
    {"string.find('colour', 'colou?r')", "1|6"},
    // captures
    {"string.find('key=val', '(%w+)=(%w+)')", "1|7|key|val"},
    {"string.find('abc', '()b()')", "2|2|2|3"},
    {"string.find('abcabc', '(abc)%1')", "1|6|abc"},
    {"string.find('((x))', '%b()')", "1|5"},
    {"string.find('THE (quick) fox', '%f[%a]%a+', 5)", "6|10"},
    // plain search ignores magic characters
    {"string.find('a.b', '.', 1, true)", "2|2"},
    {"string.find('abc', '', 10)", "4|3"},
};
INSTANTIATE_TEST_SUITE_P(Find, PatternTest, ::testing::ValuesIn(kFindCases));

const PatternCase kGsubCases[] = {
    // empty matches advance by one character and also match at the end
    {"string.gsub('abc', '', '-')", "-a-b-c-|4"},
    {"string.gsub('abc', 'x*', '-')", "-a-b-c-|4"},
    {"string.gsub('aXbXXc', 'X*', '.')", ".a..b..c.|6"},
    {"string.gsub('', '', 'e')", "e|1"},
    // anchors: a leading ^ matches once at the start only
    {"string.gsub('aaa', '^a', 'b')", "baa|1"},
    {"string.gsub('abc', '^', '>')", ">abc|1"},
    {"string.gsub('abc', '$', '<')", "abc<|1"},
    // captures in the replacement; % before any other character is that character
    {"string.gsub('hello world', '(%w+) (%w+)', '%2 %1')", "world hello|1"},
    {"string.gsub('abc', '()', '%1')", "1a2b3c4|4"},
    {"string.gsub('a', 'a', '%%')", "%|1"},
    {"string.byte((string.gsub('a', 'a', 'x%')), 2)", "0"},
    // function replacements: non-string results remove the match
    {"string.gsub('abc', '%w', function(c) if c == 'b' then return 'B' end end)", "B|3"},
    {"string.gsub('abc', '%w', function(c) return 1 end)", "111|3"},
    // the maximum count
    {"string.gsub('aaaa', 'a', 'b', 2)", "bbaa|2"},
    {"string.gsub('aaaa', 'a', 'b', 0)", "aaaa|0"},
};
INSTANTIATE_TEST_SUITE_P(Gsub, PatternTest, ::testing::ValuesIn(kGsubCases));

const PatternCase kErrorCases[] = {
    {"pcall(string.find, 'x', '%')", "false|malformed pattern (ends with `%')"},
    {"pcall(string.find, 'x', '[a')", "false|malformed pattern (missing `]')"},
    {"pcall(string.find, 'x', '[a%')", "false|malformed pattern (missing `]')"},
    {"pcall(string.find, 'a', '(a')", "false|unfinished capture"},
    {"pcall(string.find, 'a)', '%a)')", "false|invalid pattern capture"},
    {"string.find('a)', 'a)')", "1|2"},
    {"pcall(string.find, 'a', '%1')", "false|invalid capture index"},
    {"pcall(string.find, 'a', '(a%1)')", "false|invalid capture index"},
    {"pcall(string.find, 'a', '%b(')", "false|unbalanced pattern"},
    {"pcall(string.gsub, 'a', 'a', '%1')", "false|invalid capture index"},
    {"pcall(string.gsub, 'a', '(a)', '%2')", "false|invalid capture index"},
    {"pcall(string.find, 'a', string.rep('(', 33))", "false|too many captures"},
};
INSTANTIATE_TEST_SUITE_P(Errors, PatternTest, ::testing::ValuesIn(kErrorCases));

TEST_F(LibraryTest, GfindVisitsEveryMatchIncludingEmptyOnes) {
    EXPECT_EQ(run("local t = {} for a, b in string.gfind('k=v, x=y', '(%w)=(%w)') do "
                  "table.insert(t, a .. b) end return table.concat(t, ',')"),
              "kv,xy");
    EXPECT_EQ(run("local n = 0 for e in string.gfind('abc', 'x*') do n = n + 1 end return n"), "4");
}

TEST_F(LibraryTest, DeepPatternsRaiseAnErrorInsteadOfExhaustingTheStack) {
    std::string result = run("return pcall(string.find, string.rep('a', 100000), string.rep('a?', 50000))");
    EXPECT_EQ(result, "false|pattern too complex");
}

}  // namespace
