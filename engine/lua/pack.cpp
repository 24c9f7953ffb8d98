#include "lua/pack.h"

#include "lua/lauxlib.h"
#include "lua/stringlib.h"

#include <cctype>
#include <cstdint>
#include <cstring>
#include <string>

namespace script {

namespace {

// One code of a pack format: an optional "w", the code letter, a count and,
// for "@", the fill byte after ":".
struct FormatItem {
    char code = 0;
    bool wide = false;
    long count = 1;
    long fill = 0;
};

class FormatReader {
public:
    FormatReader(const char* format, size_t length) : p_(format), end_(format + length) {}

    bool next(FormatItem& item) {
        while (p_ < end_ && (*p_ == ' ' || *p_ == ',')) ++p_;
        if (p_ >= end_) return false;
        item = FormatItem{};
        if (*p_ == 'w' && p_ + 1 < end_) {
            item.wide = true;
            ++p_;
        }
        item.code = *p_++;
        item.count = readNumber();
        if (item.count == 0) item.count = 1;
        if (item.code == '@' && p_ < end_ && *p_ == ':') {
            ++p_;
            item.fill = readNumber();
        }
        return true;
    }

private:
    // Decimal digits, 0 when there are none; capped so that it cannot overflow.
    long readNumber() {
        long value = 0;
        while (p_ < end_ && std::isdigit(static_cast<unsigned char>(*p_))) {
            if (value < 100000000) value = value * 10 + (*p_ - '0');
            ++p_;
        }
        return value;
    }

    const char* p_;
    const char* end_;
};

// Raises the argument error for an unknown code.
void badCode(lua_State* L, int formatArg, char code) {
    char message[] = "bad code `?'";
    message[10] = code;
    luaL_argerror(L, formatArg, message);
}

// ---------------------------------------------------------------------------
// Packing


class Packer {
public:
    explicit Packer(lua_State* L) : L_(L) {}

    void run(const char* format, size_t length) {
        if (fieldBytes(format, length) > kMaxBuiltString) luaL_error(L_, "resulting string too large");
        FormatReader reader(format, length);
        FormatItem item;
        while (reader.next(item)) packItem(item);
        if (fieldOpen_) closeField();
        lua_pushlstring(L_, out_.data(), out_.size());
    }

private:
    // The bytes that the format's "@" fields alone will take, so that
    // oversized fields fail before any of them is filled.
    static uint64_t fieldBytes(const char* format, size_t length) {
        FormatReader reader(format, length);
        FormatItem item;
        bool open = false;
        uint64_t total = 0;
        while (reader.next(item)) {
            if (item.code != '@') continue;
            if (!open) total += static_cast<uint64_t>(item.count);
            open = !open;
        }
        return total;
    }

    void packItem(const FormatItem& item) {
        switch (item.code) {
        case '<':
        case '=': bigEndian_ = false; return;
        case '>': bigEndian_ = true; return;
        case '@':
            if (fieldOpen_) closeField();
            else openField(item);
            return;
        case 'A': packString(item, 0); return;
        default: break;
        }
        for (long i = 0; i < item.count; ++i) packValue(item);
    }

    void packValue(const FormatItem& item) {
        switch (item.code) {
        case 'b':
        case 'c': writeInteger(nextInteger(), 1); break;
        case 'B': {
            int a = nextArg();
            if (lua_type(L_, a) != LUA_TBOOLEAN) luaL_argerror(L_, a, "expected a boolean");
            writeInteger(lua_toboolean(L_, a) ? 1 : 0, 1);
            break;
        }
        case 'h':
        case 'H': writeInteger(nextInteger(), 2); break;
        case 'i':
        case 'l':
        case 'I':
        case 'L': writeInteger(nextInteger(), 4); break;
        case 'f': {
            float value = static_cast<float>(luaL_checknumber(L_, nextArg()));
            uint32_t bits;
            std::memcpy(&bits, &value, sizeof bits);
            writeInteger(bits, 4);
            break;
        }
        case 'd':
        case 'n': {
            double value = luaL_checknumber(L_, nextArg());
            uint64_t bits;
            std::memcpy(&bits, &value, sizeof bits);
            writeInteger(bits, 8);
            break;
        }
        case 'z': packString(item, 0); break;
        case 'p': packString(item, 1); break;
        case 'P': packString(item, 2); break;
        case 'a': packString(item, 4); break;
        default: badCode(L_, 1, item.code);
        }
    }

    // A string with a length prefix of prefixBytes bytes ("z": none, but a
    // terminating zero; "A": neither).
    void packString(const FormatItem& item, int prefixBytes) {
        int a = nextArg();
        size_t count = 0;
        const lua_WChar* units = nullptr;
        const char* bytes = nullptr;
        if (item.wide) units = luaL_checkwstring(L_, a, &count);
        else bytes = checkNarrowString(L_, a, &count);
        if (prefixBytes > 0) {
            uint64_t limit = prefixBytes >= 4 ? 0xFFFFFFFFull : (1ull << (8 * prefixBytes)) - 1;
            if (count > limit) luaL_argerror(L_, a, "string too long");
            writeInteger(count, prefixBytes);
        }
        if (item.wide) {
            makeRoom(2 * count);
            for (size_t i = 0; i < count; ++i) writeInteger(units[i], 2);
        } else {
            makeRoom(count);
            out_.append(bytes, count);
        }
        if (item.code == 'z') writeInteger(0, item.wide ? 2 : 1);
    }

    void openField(const FormatItem& item) {
        fieldOpen_ = true;
        fieldStart_ = out_.size();
        fieldSize_ = static_cast<size_t>(item.count);
        fieldFill_ = static_cast<char>(item.fill & 0xFF);
    }

    void closeField() {
        fieldOpen_ = false;
        size_t used = out_.size() - fieldStart_;
        if (used > fieldSize_) luaL_error(L_, "`@' field of %d bytes holds %d", static_cast<int>(fieldSize_),
                                          static_cast<int>(used));
        makeRoom(fieldSize_ - used);
        out_.append(fieldSize_ - used, fieldFill_);
    }

    int nextArg() { return ++arg_; }

    uint64_t nextInteger() {
        return static_cast<uint64_t>(luaL_checklong(L_, nextArg()));
    }

    // Fails before the result would grow past kMaxBuiltString.
    void makeRoom(size_t extra) {
        if (extra > kMaxBuiltString - out_.size()) luaL_error(L_, "resulting string too large");
    }

    void writeInteger(uint64_t value, int bytes) {
        makeRoom(static_cast<size_t>(bytes));
        for (int i = 0; i < bytes; ++i) {
            int shift = bigEndian_ ? 8 * (bytes - 1 - i) : 8 * i;
            out_ += static_cast<char>((value >> shift) & 0xFF);
        }
    }

    lua_State* L_;
    std::string out_;
    int arg_ = 1;
    bool bigEndian_ = false;
    bool fieldOpen_ = false;
    size_t fieldStart_ = 0;
    size_t fieldSize_ = 0;
    char fieldFill_ = 0;
};

// ---------------------------------------------------------------------------
// Unpacking

class Unpacker {
public:
    Unpacker(lua_State* L, const char* data, size_t length, size_t offset)
        : L_(L), data_(data), length_(length), offset_(offset) {}

    // Pushes the values that fit; returns how many.
    int run(const char* format, size_t formatLength) {
        FormatReader reader(format, formatLength);
        FormatItem item;
        int pushed = 0;
        while (reader.next(item)) {
            switch (item.code) {
            case '<':
            case '=': bigEndian_ = false; continue;
            case '>': bigEndian_ = true; continue;
            case 'A':
                if (!unpackString(item, static_cast<uint64_t>(item.count))) return pushed;
                ++pushed;
                continue;
            default: break;
            }
            for (long i = 0; i < item.count; ++i) {
                if (!unpackValue(item)) return pushed;
                ++pushed;
            }
        }
        return pushed;
    }

    size_t offset() const { return offset_; }

private:
    bool unpackValue(const FormatItem& item) {
        uint64_t raw = 0;
        switch (item.code) {
        case 'b':
            if (!readInteger(1, raw)) return false;
            return push(static_cast<lua_Number>(raw));
        case 'c':
            if (!readInteger(1, raw)) return false;
            return push(static_cast<int8_t>(raw));
        case 'B':
            if (!readInteger(1, raw)) return false;
            luaL_checkstack(L_, 1, "too many results to unpack");
            lua_pushboolean(L_, raw != 0);
            return true;
        case 'h':
            if (!readInteger(2, raw)) return false;
            return push(static_cast<int16_t>(raw));
        case 'H':
            if (!readInteger(2, raw)) return false;
            return push(static_cast<lua_Number>(raw));
        case 'i':
        case 'l':
            if (!readInteger(4, raw)) return false;
            return push(static_cast<int32_t>(raw));
        case 'I':
        case 'L':
            if (!readInteger(4, raw)) return false;
            return push(static_cast<lua_Number>(raw));
        case 'f': {
            if (!readInteger(4, raw)) return false;
            uint32_t bits = static_cast<uint32_t>(raw);
            float value;
            std::memcpy(&value, &bits, sizeof value);
            return push(value);
        }
        case 'd':
        case 'n': {
            if (!readInteger(8, raw)) return false;
            double value;
            std::memcpy(&value, &raw, sizeof value);
            return push(value);
        }
        case 'z': return unpackTerminated(item.wide);
        case 'p':
        case 'P':
        case 'a': {
            int prefixBytes = item.code == 'p' ? 1 : item.code == 'P' ? 2 : 4;
            size_t start = offset_;
            if (!readInteger(prefixBytes, raw)) return false;
            if (unpackString(item, raw)) return true;
            offset_ = start;
            return false;
        }
        default: badCode(L_, 2, item.code); return false;
        }
    }

    bool push(lua_Number value) {
        luaL_checkstack(L_, 1, "too many results to unpack");
        lua_pushnumber(L_, value);
        return true;
    }

    size_t remaining() const { return length_ - offset_; }

    bool readInteger(int bytes, uint64_t& value) {
        if (remaining() < static_cast<size_t>(bytes)) return false;
        value = 0;
        for (int i = 0; i < bytes; ++i) {
            int shift = bigEndian_ ? 8 * (bytes - 1 - i) : 8 * i;
            value |= static_cast<uint64_t>(static_cast<unsigned char>(data_[offset_ + i])) << shift;
        }
        offset_ += static_cast<size_t>(bytes);
        return true;
    }

    lua_WChar unitAt(size_t at) const {
        unsigned first = static_cast<unsigned char>(data_[at]);
        unsigned second = static_cast<unsigned char>(data_[at + 1]);
        return static_cast<lua_WChar>(bigEndian_ ? (first << 8) | second : first | (second << 8));
    }

    // A string of count bytes (wide: units).
    bool unpackString(const FormatItem& item, uint64_t count) {
        uint64_t bytes = item.wide ? count * 2 : count;
        if (count > length_ || bytes > remaining()) return false;
        luaL_checkstack(L_, 1, "too many results to unpack");
        if (item.wide) pushUnits(offset_, static_cast<size_t>(count));
        else lua_pushlstring(L_, data_ + offset_, static_cast<size_t>(count));
        offset_ += static_cast<size_t>(bytes);
        return true;
    }

    bool unpackTerminated(bool wide) {
        size_t step = wide ? 2 : 1;
        for (size_t at = offset_; at + step <= length_; at += step) {
            bool zero = wide ? unitAt(at) == 0 : data_[at] == 0;
            if (!zero) continue;
            luaL_checkstack(L_, 1, "too many results to unpack");
            if (wide) pushUnits(offset_, (at - offset_) / 2);
            else lua_pushlstring(L_, data_ + offset_, at - offset_);
            offset_ = at + step;
            return true;
        }
        return false;
    }

    void pushUnits(size_t at, size_t count) {
        luaL_Buffer b;
        luaL_wbuffinit(L_, &b);
        for (size_t i = 0; i < count; ++i) luaL_addwchar(&b, unitAt(at + 2 * i));
        luaL_pushresult(&b);
    }

    lua_State* L_;
    const char* data_;
    size_t length_;
    size_t offset_;
    bool bigEndian_ = false;
};

// ---------------------------------------------------------------------------
// Escape expansion

int hexValue(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    if (std::isdigit(u)) return u - '0';
    if (std::isxdigit(u)) return std::tolower(u) - 'a' + 10;
    return -1;
}

char escapeLetter(char c) {
    switch (c) {
    case 'a': return '\a';
    case 'b': return '\b';
    case 'f': return '\f';
    case 'n': return '\n';
    case 'r': return '\r';
    case 't': return '\t';
    case 'v': return '\v';
    default: return 0;
    }
}

}  // namespace

int stringPack(lua_State* L) {
    size_t length = 0;
    const char* format = checkNarrowString(L, 1, &length);
    Packer(L).run(format, length);
    return 1;
}

int stringUnpack(lua_State* L) {
    size_t length = 0;
    size_t formatLength = 0;
    const char* data = checkNarrowString(L, 1, &length);
    const char* format = checkNarrowString(L, 2, &formatLength);
    long start = luaL_optlong(L, 3, 1);
    lua_settop(L, 3);
    if (start < 1 || static_cast<uint64_t>(start) > length + 1) {
        // Nothing can be read from outside the data.
        lua_pushnumber(L, static_cast<lua_Number>(start));
        return 1;
    }
    Unpacker unpacker(L, data, length, static_cast<size_t>(start) - 1);
    int values = unpacker.run(format, formatLength);
    lua_pushnumber(L, static_cast<lua_Number>(unpacker.offset() + 1));
    lua_insert(L, -(values + 1));
    return values + 1;
}

int stringLualex(lua_State* L) {
    size_t length = 0;
    const char* s = checkNarrowString(L, 1, &length);
    bool wide = lua_type(L, 2) == LUA_TNUMBER && lua_tonumber(L, 2) != 0;
    const char* end = s + length;
    std::string out;
    while (s < end) {
        char c = *s++;
        if (c != '\\' || s >= end) {
            out += c;
            continue;
        }
        c = *s++;
        if (char letter = escapeLetter(c)) {
            out += letter;
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            int value = c - '0';
            for (int i = 1; i < 3 && s < end && std::isdigit(static_cast<unsigned char>(*s)); ++i)
                value = value * 10 + (*s++ - '0');
            out += static_cast<char>(value & 0xFF);
        } else if (c == 'x' && s < end && hexValue(*s) >= 0) {
            int maxDigits = wide ? 4 : 2;
            int value = 0;
            for (int i = 0; i < maxDigits && s < end && hexValue(*s) >= 0; ++i) value = value * 16 + hexValue(*s++);
            out += static_cast<char>(value & 0xFF);
            if (wide) out += static_cast<char>((value >> 8) & 0xFF);
        } else {
            out += c;
        }
    }
    lua_pushlstring(L, out.data(), out.size());
    return 1;
}

}  // namespace script
