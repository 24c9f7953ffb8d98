#include "lua/pattern.h"

#include "lua/lauxlib.h"

#include <cctype>
#include <cstring>

namespace script {

namespace {

constexpr char kEscape = '%';

// True when classLetter is one of the class letters (a c d l p s u w x z;
// upper case for the complement) and c belongs to that class; any other
// letter stands for itself.
bool matchesClass(unsigned char c, unsigned char classLetter) {
    bool result;
    switch (std::tolower(classLetter)) {
    case 'a': result = std::isalpha(c); break;
    case 'c': result = std::iscntrl(c); break;
    case 'd': result = std::isdigit(c); break;
    case 'l': result = std::islower(c); break;
    case 'p': result = std::ispunct(c); break;
    case 's': result = std::isspace(c); break;
    case 'u': result = std::isupper(c); break;
    case 'w': result = std::isalnum(c); break;
    case 'x': result = std::isxdigit(c); break;
    case 'z': result = c == 0; break;
    default: return classLetter == c;
    }
    return std::isupper(classLetter) ? !result : result;
}

}  // namespace

PatternMatcher::PatternMatcher(lua_State* L, const char* subject, size_t subjectLength, const char* pattern,
                               size_t patternLength)
    : L_(L), subjectBegin_(subject), subjectEnd_(subject + subjectLength),
      patternEnd_(pattern + strnlen(pattern, patternLength)) {}

const char* PatternMatcher::matchAt(const char* s, const char* p) {
    level_ = 0;
    depth_ = 0;
    return match(s, p);
}

// The end of the single-character class that starts at p.
const char* PatternMatcher::classEnd(const char* p) {
    char c = *p++;
    if (c == kEscape) {
        if (p >= patternEnd_) luaL_error(L_, "malformed pattern (ends with `%%')");
        return p + 1;
    }
    if (c == '[') {
        if (p < patternEnd_ && *p == '^') ++p;
        // The first character of a set is taken literally, so "[]]" works.
        do {
            if (p >= patternEnd_) luaL_error(L_, "malformed pattern (missing `]')");
            char d = *p++;
            if (d == kEscape && p < patternEnd_) ++p;
        } while (p >= patternEnd_ || *p != ']');
        return p + 1;
    }
    return p;
}

bool PatternMatcher::matchBracketClass(unsigned char c, const char* p, const char* ec) const {
    bool inside = true;
    if (p[1] == '^') {
        inside = false;
        ++p;
    }
    while (++p < ec) {
        if (*p == kEscape) {
            ++p;
            if (matchesClass(c, static_cast<unsigned char>(*p))) return inside;
        } else if (p[1] == '-' && p + 2 < ec) {
            p += 2;
            if (static_cast<unsigned char>(p[-2]) <= c && c <= static_cast<unsigned char>(*p)) return inside;
        } else if (static_cast<unsigned char>(*p) == c) {
            return inside;
        }
    }
    return !inside;
}

bool PatternMatcher::singleMatch(unsigned char c, const char* p, const char* ep) const {
    switch (*p) {
    case '.': return true;
    case kEscape: return matchesClass(c, static_cast<unsigned char>(p[1]));
    case '[': return matchBracketClass(c, p, ep - 1);
    default: return static_cast<unsigned char>(*p) == c;
    }
}

const char* PatternMatcher::maxExpand(const char* s, const char* p, const char* ep) {
    ptrdiff_t count = 0;
    while (s + count < subjectEnd_ && singleMatch(static_cast<unsigned char>(s[count]), p, ep)) ++count;
    for (; count >= 0; --count) {
        if (const char* result = match(s + count, ep + 1)) return result;
    }
    return nullptr;
}

const char* PatternMatcher::minExpand(const char* s, const char* p, const char* ep) {
    for (;;) {
        if (const char* result = match(s, ep + 1)) return result;
        if (s < subjectEnd_ && singleMatch(static_cast<unsigned char>(*s), p, ep)) ++s;
        else return nullptr;
    }
}

const char* PatternMatcher::startCapture(const char* s, const char* p, long what) {
    if (level_ >= kMaxCaptures) luaL_error(L_, "too many captures");
    captures_[level_] = {s, what};
    ++level_;
    const char* result = match(s, p);
    if (result == nullptr) --level_;
    return result;
}

int PatternMatcher::captureToClose() {
    for (int i = level_ - 1; i >= 0; --i) {
        if (captures_[i].length == kUnfinished) return i;
    }
    return luaL_error(L_, "invalid pattern capture");
}

const char* PatternMatcher::endCapture(const char* s, const char* p) {
    int closing = captureToClose();
    captures_[closing].length = s - captures_[closing].start;
    const char* result = match(s, p);
    if (result == nullptr) captures_[closing].length = kUnfinished;
    return result;
}

const char* PatternMatcher::matchBalance(const char* s, const char* p) {
    if (p + 1 >= patternEnd_) luaL_error(L_, "unbalanced pattern");
    if (s >= subjectEnd_ || *s != p[0]) return nullptr;
    char open = p[0];
    char close = p[1];
    int depth = 1;
    while (++s < subjectEnd_) {
        if (*s == close) {
            if (--depth == 0) return s + 1;
        } else if (*s == open) {
            ++depth;
        }
    }
    return nullptr;
}

int PatternMatcher::captureIndex(char digit) {
    int index = digit - '1';
    if (index < 0 || index >= level_ || captures_[index].length == kUnfinished)
        return luaL_error(L_, "invalid capture index");
    return index;
}

const char* PatternMatcher::matchBackReference(const char* s, char digit) {
    int index = captureIndex(digit);
    size_t length = static_cast<size_t>(captures_[index].length);
    if (static_cast<size_t>(subjectEnd_ - s) >= length && std::memcmp(captures_[index].start, s, length) == 0)
        return s + length;
    return nullptr;
}

// %f[set]: matches the empty string between a character outside the set and
// one inside it; the subject's ends count as the zero character. Moves p
// past the set.
const char* PatternMatcher::matchFrontier(const char* s, const char*& p) {
    p += 2;
    if (p >= patternEnd_ || *p != '[') luaL_error(L_, "missing `[' after `%%f' in pattern");
    const char* ep = classEnd(p);
    unsigned char before = s == subjectBegin_ ? 0 : static_cast<unsigned char>(s[-1]);
    unsigned char current = s < subjectEnd_ ? static_cast<unsigned char>(*s) : 0;
    if (matchBracketClass(before, p, ep - 1) || !matchBracketClass(current, p, ep - 1)) return nullptr;
    p = ep;
    return s;
}

const char* PatternMatcher::match(const char* s, const char* p) {
    if (++depth_ > kMaxDepth) luaL_error(L_, "pattern too complex");
    struct DepthGuard {
        int& depth;
        ~DepthGuard() { --depth; }
    } guard{depth_};
    for (;;) {
        if (p >= patternEnd_) return s;
        switch (*p) {
        case '(':
            if (p + 1 < patternEnd_ && p[1] == ')') return startCapture(s, p + 2, kPosition);
            return startCapture(s, p + 1, kUnfinished);
        case ')':
            return endCapture(s, p + 1);
        case '$':
            if (p + 1 == patternEnd_) return s == subjectEnd_ ? s : nullptr;
            break;
        case kEscape:
            if (p + 1 < patternEnd_) {
                char next = p[1];
                if (next == 'b') {
                    s = matchBalance(s, p + 2);
                    if (s == nullptr) return nullptr;
                    p += 4;
                    continue;
                }
                if (next == 'f') {
                    if (matchFrontier(s, p) == nullptr) return nullptr;
                    continue;
                }
                if (std::isdigit(static_cast<unsigned char>(next))) {
                    s = matchBackReference(s, next);
                    if (s == nullptr) return nullptr;
                    p += 2;
                    continue;
                }
            }
            break;
        default:
            break;
        }
        // A single-character class, maybe followed by a repetition.
        const char* ep = classEnd(p);
        bool matched = s < subjectEnd_ && singleMatch(static_cast<unsigned char>(*s), p, ep);
        char repetition = ep < patternEnd_ ? *ep : '\0';
        switch (repetition) {
        case '?':
            if (matched) {
                if (const char* result = match(s + 1, ep + 1)) return result;
            }
            p = ep + 1;
            continue;
        case '*': return maxExpand(s, p, ep);
        case '+': return matched ? maxExpand(s + 1, p, ep) : nullptr;
        case '-': return minExpand(s, p, ep);
        default:
            if (!matched) return nullptr;
            ++s;
            p = ep;
            continue;
        }
    }
}

void PatternMatcher::pushCapture(int i, const char* s, const char* e) {
    if (i >= level_) {
        if (i != 0) luaL_error(L_, "invalid capture index");
        lua_pushlstring(L_, s, static_cast<size_t>(e - s));
        return;
    }
    long length = captures_[i].length;
    if (length == kUnfinished) luaL_error(L_, "unfinished capture");
    if (length == kPosition)
        lua_pushnumber(L_, static_cast<lua_Number>(captures_[i].start - subjectBegin_ + 1));
    else
        lua_pushlstring(L_, captures_[i].start, static_cast<size_t>(length));
}

int PatternMatcher::pushCaptures(const char* s, const char* e) {
    int count = (level_ == 0 && s != nullptr) ? 1 : level_;
    luaL_checkstack(L_, count, "too many captures");
    for (int i = 0; i < count; ++i) pushCapture(i, s, e);
    return count;
}

}  // namespace script
