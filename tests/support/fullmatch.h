// Whole-text matching against a POSIX extended regular expression, for tests
// that check the shape of generated text.
#pragma once

#include <regex.h>

#include <string>

// True when the pattern matches all of text; the first group's text goes to
// *group when one is asked for.
inline bool FullMatch(const std::string& text, const char* pattern, std::string* group = nullptr) {
    regex_t compiled;
    if (regcomp(&compiled, pattern, REG_EXTENDED) != 0) return false;
    regmatch_t match[2];
    const bool found = regexec(&compiled, text.c_str(), 2, match, 0) == 0 && match[0].rm_so == 0 &&
                       size_t(match[0].rm_eo) == text.size();
    if (found && group && match[1].rm_so >= 0) {
        *group = text.substr(size_t(match[1].rm_so), size_t(match[1].rm_eo - match[1].rm_so));
    }
    regfree(&compiled);
    return found;
}
