#include "lua/lexer.h"

#include "lua/call.h"
#include "lua/conversion.h"
#include "lua/debuginfo.h"
#include "lua/strings.h"

namespace script {

namespace {

constexpr int kEnd = ChunkInput::kEnd;
constexpr size_t kCompileErrorSourceSize = 80;

const char* const kTokenTexts[] = {
    "and", "break", "continue", "do", "else", "elseif", "end", "false", "for", "function", "if",
    "in", "local", "nil", "not", "or", "repeat", "return", "then", "true", "until", "while",
    "*name", "..", "...", "==", ">=", "<=", "~=", "*number", "*string", "*wstring", "<<", ">>", "<eof>",
};
constexpr int kReservedCount = kTokenWhile - kFirstReserved + 1;

// Character classes of the C locale, ASCII only: any character above 127
// (a byte of an 8-bit source or a 16-bit unit) is in none of them.
bool isDigit(int c) { return c >= '0' && c <= '9'; }
bool isHexDigit(int c) { return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool isLetter(int c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isNameChar(int c) { return isLetter(c) || isDigit(c) || c == '_'; }
bool isSpace(int c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool isControl(int c) { return (c >= 0 && c < 32) || c == 127; }

int hexValue(int c)
{
    if (isDigit(c))
        return c - '0';
    return (c | 0x20) - 'a' + 10;
}

int reservedCode(const std::string& word)
{
    for (int i = 0; i < kReservedCount; ++i)
        if (word == kTokenTexts[i])
            return kFirstReserved + i;
    return 0;
}

}  // namespace

std::string Lexer::tokenName(int code)
{
    if (code < kFirstReserved)
        return std::string(1, static_cast<char>(code));
    return kTokenTexts[code - kFirstReserved];
}

Lexer::Lexer(lua_State* L, ChunkInput& input, String* source) : L_(L), input_(input), source_(source)
{
    if (input_.peek() == 0xFF) {
        input_.get();
        if (input_.peek() == 0xFE) {
            input_.get();
            wide_ = true;
            advance();
        } else {
            ch_ = 0xFF;  // a lone FF byte is an ordinary first character
        }
    } else {
        advance();
    }
    if (ch_ == '#') {
        while (ch_ != '\n' && ch_ != kEnd)
            advance();
    }
}

void Lexer::advance()
{
    int low = input_.get();
    if (!wide_ || low == kEnd) {
        ch_ = low;
        return;
    }
    int high = input_.get();
    // A lone last byte of a 16-bit source is taken as a unit of its own.
    ch_ = high == kEnd ? low : (low | (high << 8));
}

void Lexer::saveAndAdvance()
{
    save(ch_);
    advance();
}

void Lexer::newLine()
{
    advance();
    ++line_;
}

void Lexer::errorNear(const char* message, const std::string& nearText)
{
    // Compile errors show more of the source than run-time positions do.
    char chunk[kCompileErrorSourceSize];
    chunkId(chunk, source_->chars(), sizeof chunk);
    // The text stops at an embedded zero, as a C string would.
    lua_pushfstring(L_, "%s:%d: %s near `%s'", chunk, line_, message, nearText.c_str());
    throwError(L_, LUA_ERRSYNTAX);
}

void Lexer::lexError(const char* message, int code)
{
    errorNear(message, code == kTokenEos ? tokenName(kTokenEos) : buffer_);
}

void Lexer::syntaxError(const char* message)
{
    switch (current_.code) {
    case kTokenName:
        errorNear(message, current_.string->chars());
    case kTokenNumber:
    case kTokenString:
    case kTokenWideString:
        errorNear(message, current_.text);
    default:
        errorNear(message, tokenName(current_.code));
    }
}

void Lexer::next()
{
    lastLine_ = line_;
    if (hasAhead_) {
        hasAhead_ = false;
        current_ = std::move(ahead_);
        return;
    }
    current_.code = scan(current_);
}

int Lexer::lookahead()
{
    if (!hasAhead_) {
        ahead_.code = scan(ahead_);
        hasAhead_ = true;
    }
    return ahead_.code;
}

int Lexer::scan(Token& t)
{
    for (;;) {
        buffer_.clear();
        switch (ch_) {
        case '\n':
            newLine();
            continue;
        case '-':
            advance();
            if (ch_ != '-')
                return '-';
            advance();
            if (ch_ == '[') {
                advance();
                if (ch_ == '[') {
                    readLongString(nullptr);
                    continue;
                }
            }
            while (ch_ != '\n' && ch_ != kEnd)
                advance();
            continue;
        case '[':
            advance();
            if (ch_ != '[')
                return '[';
            readLongString(&t);
            return kTokenString;
        case '=':
            return scanOperator('=', kTokenEq, 0);
        case '<':
            return scanOperator('<', kTokenLe, kTokenShl);
        case '>':
            return scanOperator('>', kTokenGe, kTokenShr);
        case '~':
            return scanOperator('~', kTokenNe, 0);
        case '"':
        case '\'':
            readString(t);
            return kTokenString;
        case '.':
            saveAndAdvance();
            if (ch_ == '.') {
                advance();
                if (ch_ == '.') {
                    advance();
                    return kTokenDots;
                }
                return kTokenConcat;
            }
            if (!isDigit(ch_))
                return '.';
            readNumber(t);
            return kTokenNumber;
        case kEnd:
            return kTokenEos;
        default:
            break;
        }
        if (isSpace(ch_)) {
            advance();
            continue;
        }
        if (isDigit(ch_)) {
            readNumber(t);
            return kTokenNumber;
        }
        if (isLetter(ch_) || ch_ == '_') {
            do
                saveAndAdvance();
            while (isNameChar(ch_));
            if (ch_ == '"' && buffer_ == "L") {
                readWideString(t);
                return kTokenWideString;
            }
            if (int code = reservedCode(buffer_))
                return code;
            t.string = newString(L_, buffer_.data(), buffer_.size());
            return kTokenName;
        }
        int c = ch_;
        if (isControl(c)) {
            buffer_ = "char(" + std::to_string(c) + ")";
            errorNear("invalid control char", buffer_);
        }
        if (c > 254) {
            buffer_ = "char(" + std::to_string(c) + ")";
            errorNear("invalid wide char", buffer_);
        }
        advance();
        return c;
    }
}

int Lexer::scanOperator(int single, int withEquals, int doubled)
{
    advance();
    if (ch_ == '=') {
        advance();
        return withEquals;
    }
    if (doubled != 0 && ch_ == single) {
        advance();
        return doubled;
    }
    return single;
}

void Lexer::readNumber(Token& t)
{
    // The buffer holds "." when the numeral started with a decimal point.
    bool fraction = !buffer_.empty();
    bool exponent = false;
    if (!fraction && ch_ == '0') {
        saveAndAdvance();
        if (ch_ == 'x') {
            readHexNumber(t);
            return;
        }
    }
    while (isDigit(ch_))
        saveAndAdvance();
    // One more point is read even after a leading one: ".5." is malformed.
    if (ch_ == '.') {
        fraction = true;
        saveAndAdvance();
        if (ch_ == '.') {
            saveAndAdvance();
            lexError("ambiguous syntax (decimal point x string concatenation)", kTokenNumber);
        }
        while (isDigit(ch_))
            saveAndAdvance();
    }
    if (ch_ == 'e' || ch_ == 'E') {
        exponent = true;
        saveAndAdvance();
        if (ch_ == '+' || ch_ == '-')
            saveAndAdvance();
        while (isDigit(ch_))
            saveAndAdvance();
    }
    t.text = buffer_;
    if (!textToNumber(buffer_.c_str(), &t.number))
        lexError(fraction || exponent ? "malformed number" : "malformed integer", kTokenNumber);
}

void Lexer::readHexNumber(Token& t)
{
    saveAndAdvance();  // the "x"
    uint32_t value = 0;
    int digits = 0;
    for (; digits < 8 && isHexDigit(ch_); ++digits) {
        value = value * 16 + static_cast<uint32_t>(hexValue(ch_));
        saveAndAdvance();
    }
    if (digits == 0)
        lexError("malformed number", kTokenNumber);
    t.text = buffer_;
    t.number = value;
}

void Lexer::readLongString(Token* t)
{
    // Called on the second "["; nested pairs of brackets nest.
    int depth = 1;
    save('[');
    saveAndAdvance();
    if (ch_ == '\n')
        newLine();
    while (depth > 0) {
        switch (ch_) {
        case kEnd:
            lexError(t ? "unfinished long string" : "unfinished long comment", kTokenEos);
        case '[':
            saveAndAdvance();
            if (ch_ == '[') {
                ++depth;
                saveAndAdvance();
            }
            break;
        case ']':
            saveAndAdvance();
            if (ch_ == ']') {
                --depth;
                saveAndAdvance();
            }
            break;
        case '\n':
            save('\n');
            newLine();
            break;
        default:
            if (t)
                saveAndAdvance();
            else
                advance();  // a comment keeps nothing but its brackets
        }
    }
    if (t) {
        t->text = buffer_;
        t->string = newString(L_, buffer_.data() + 2, buffer_.size() - 4);
    }
}

int Lexer::readDecimalEscape()
{
    int value = 0;
    int digits = 0;
    do {
        value = value * 10 + (ch_ - '0');
        advance();
    } while (++digits < 3 && isDigit(ch_));
    if (value > 255)
        lexError("escape sequence too large", kTokenString);
    return value;
}

int Lexer::readEscape(int maxHexDigits)
{
    int c = ch_;
    switch (c) {
    case 'a': advance(); return '\a';
    case 'b': advance(); return '\b';
    case 'f': advance(); return '\f';
    case 'n': advance(); return '\n';
    case 'r': advance(); return '\r';
    case 't': advance(); return '\t';
    case 'v': advance(); return '\v';
    case '\n':
        newLine();
        return '\n';
    case kEnd:
        return -1;  // the string's loop reports it
    case 'x': {
        advance();
        if (!isHexDigit(ch_))
            return 'x';
        int value = 0;
        for (int i = 0; i < maxHexDigits && isHexDigit(ch_); ++i) {
            value = value * 16 + hexValue(ch_);
            advance();
        }
        return value;
    }
    default:
        if (isDigit(c))
            return readDecimalEscape();
        advance();
        return c;
    }
}

void Lexer::readQuoted(int delimiter, bool wide)
{
    // Wide strings keep their units in units_; the buffer keeps the low 8
    // bits of each character, the text of ordinary strings and of messages.
    auto store = [this, wide](int c) {
        if (wide)
            units_.push_back(static_cast<lua_WChar>(c));
        save(c);
    };
    while (ch_ != delimiter) {
        switch (ch_) {
        case kEnd:
            lexError("unfinished string", kTokenEos);
        case '\n':
            lexError("unfinished string", kTokenString);
        case '\\': {
            advance();
            int c = readEscape(wide ? 4 : 2);
            if (c >= 0)
                store(c);
            break;
        }
        default:
            store(ch_);
            advance();
        }
    }
    saveAndAdvance();
}

void Lexer::readString(Token& t)
{
    int delimiter = ch_;
    saveAndAdvance();
    readQuoted(delimiter, false);
    t.text = buffer_;
    t.string = newString(L_, buffer_.data() + 1, buffer_.size() - 2);
}

void Lexer::readWideString(Token& t)
{
    units_.clear();
    saveAndAdvance();  // the quote after the L in the buffer
    readQuoted('"', true);
    t.text = buffer_;
    t.string = newWideString(L_, units_.data(), units_.size());
}

}  // namespace script
