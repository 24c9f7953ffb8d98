// Pattern matching of the string library: character classes, sets, the
// repetitions * + - ?, anchors, captures (position captures included), back
// references, %b and %f. Malformed patterns raise script errors.
#pragma once

#include "lua/lua.h"

#include <cstddef>

namespace script {

class PatternMatcher {
public:
    static constexpr int kMaxCaptures = 32;

    // The pattern ends at its length or at its first zero byte.
    PatternMatcher(lua_State* L, const char* subject, size_t subjectLength, const char* pattern,
                   size_t patternLength);

    // Matches the pattern from its character p against the subject from s;
    // returns where the match ends, or null. Forgets earlier captures.
    const char* matchAt(const char* s, const char* p);

    const char* subjectEnd() const { return subjectEnd_; }

    // Pushes capture i of the last match [s, e); with no captures, index 0
    // is the whole match.
    void pushCapture(int i, const char* s, const char* e);
    // Pushes every capture (or the whole match when there are none and s is
    // given); returns how many values were pushed.
    int pushCaptures(const char* s, const char* e);
    // The capture index named by the digit after a "%" (for replacements).
    int captureIndex(char digit);

private:
    static constexpr long kUnfinished = -1;
    static constexpr long kPosition = -2;
    static constexpr int kMaxDepth = 4000;

    struct Capture {
        const char* start;
        long length;
    };

    const char* match(const char* s, const char* p);
    const char* classEnd(const char* p);
    bool singleMatch(unsigned char c, const char* p, const char* ep) const;
    bool matchBracketClass(unsigned char c, const char* p, const char* ec) const;
    const char* maxExpand(const char* s, const char* p, const char* ep);
    const char* minExpand(const char* s, const char* p, const char* ep);
    const char* startCapture(const char* s, const char* p, long what);
    const char* endCapture(const char* s, const char* p);
    const char* matchBalance(const char* s, const char* p);
    const char* matchBackReference(const char* s, char digit);
    const char* matchFrontier(const char* s, const char*& p);
    int captureToClose();

    lua_State* L_;
    const char* subjectBegin_;
    const char* subjectEnd_;
    const char* patternEnd_;
    int level_ = 0;
    int depth_ = 0;
    Capture captures_[kMaxCaptures];
};

}  // namespace script
