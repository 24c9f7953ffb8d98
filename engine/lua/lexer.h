// The lexer: turns a source chunk (8-bit, or 16-bit little-endian after an
// FF FE mark) into tokens. Names and string literals are interned.
#pragma once

#include <string>
#include <vector>

#include "lua/chunkinput.h"
#include "lua/object.h"

namespace script {

// Token codes above the single-character ones; the order gives the texts of
// kTokenTexts.
enum TokenCode : int {
    kFirstReserved = 257,
    kTokenAnd = kFirstReserved,
    kTokenBreak,
    kTokenContinue,
    kTokenDo,
    kTokenElse,
    kTokenElseif,
    kTokenEnd,
    kTokenFalse,
    kTokenFor,
    kTokenFunction,
    kTokenIf,
    kTokenIn,
    kTokenLocal,
    kTokenNil,
    kTokenNot,
    kTokenOr,
    kTokenRepeat,
    kTokenReturn,
    kTokenThen,
    kTokenTrue,
    kTokenUntil,
    kTokenWhile,
    kTokenName,
    kTokenConcat,
    kTokenDots,
    kTokenEq,
    kTokenGe,
    kTokenLe,
    kTokenNe,
    kTokenNumber,
    kTokenString,
    kTokenWideString,
    kTokenShl,
    kTokenShr,
    kTokenEos
};

struct Token {
    int code = kTokenEos;
    lua_Number number = 0;
    String* string = nullptr;  // names, strings and wide strings
    std::string text;          // numbers and strings as read, for messages
};

class Lexer {
public:
    // Reads the first character; a first line starting with "#" is skipped.
    // The first token is read by the first next().
    Lexer(lua_State* L, ChunkInput& input, String* source);

    void next();
    // Code of the token after the current one (read ahead once).
    int lookahead();

    const Token& token() const { return current_; }
    int line() const { return line_; }
    int lastLine() const { return lastLine_; }
    lua_State* state() const { return L_; }
    String* source() const { return source_; }

    // "chunk:line: message near `token'" for the current token.
    [[noreturn]] void syntaxError(const char* message);
    [[noreturn]] void syntaxError(const std::string& message) { syntaxError(message.c_str()); }

    // The text that names a token code in messages.
    static std::string tokenName(int code);

private:
    [[noreturn]] void errorNear(const char* message, const std::string& nearText);
    // A lexical error naming the text of the token being read (or <eof>).
    [[noreturn]] void lexError(const char* message, int code);

    void advance();
    void saveAndAdvance();
    void save(int c) { buffer_.push_back(static_cast<char>(c)); }
    void newLine();

    int scan(Token& t);
    // One of "x", "x=" or, when doubled is non-zero, "xx".
    int scanOperator(int single, int withEquals, int doubled);
    void readNumber(Token& t);
    void readHexNumber(Token& t);
    void readLongString(Token* t);
    // The characters of a quoted literal up to and including its closing
    // delimiter, escapes resolved.
    void readQuoted(int delimiter, bool wide);
    void readString(Token& t);
    void readWideString(Token& t);
    int readDecimalEscape();
    // After a backslash: the character or unit to store, -1 at the end of the text.
    int readEscape(int maxHexDigits);

    lua_State* L_;
    ChunkInput& input_;
    String* source_;
    bool wide_ = false;  // 16-bit units
    int ch_;  // the character being looked at, or ChunkInput::kEnd
    int line_ = 1;
    int lastLine_ = 1;
    Token current_;
    Token ahead_;
    bool hasAhead_ = false;
    std::string buffer_;
    std::vector<lua_WChar> units_;
};

}  // namespace script
