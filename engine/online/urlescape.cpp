#include "online/urlescape.h"

#include <cstring>

namespace {

const char kEscaped[] = " \"#$%&+,/:;<=>?@[\\]^`{|}";

bool NeedsEscape(char c) {
    return c != '\0' && std::strchr(kEscaped, c) != nullptr;
}

}  // namespace

TString UrlEscape(const char* text) {
    static const char kHex[] = "0123456789ABCDEF";
    TString out;
    if (!text) {
        return out;
    }
    for (const char* at = text; *at; ++at) {
        if (NeedsEscape(*at)) {
            const unsigned char c = static_cast<unsigned char>(*at);
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        } else {
            out += *at;
        }
    }
    return out;
}
