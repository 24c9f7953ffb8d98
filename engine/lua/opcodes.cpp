#include "lua/opcodes.h"

namespace script {

const char* const kOpCodeNames[kNumOpCodes] = {
    "MOVE",    "LOADK",  "LOADBOOL", "LOADNIL", "GETUPVAL", "GETGLOBAL", "GETTABLE", "SETGLOBAL", "SETUPVAL", "SETTABLE",
    "NEWTABLE", "SELF",  "ADD",      "SUB",     "MUL",      "DIV",       "BAND",     "BOR",       "SHL",      "SHR",
    "POW",     "UNM",    "NOT",      "CONCAT",  "JMP",      "EQ",        "LT",       "LE",        "TEST",     "CALL",
    "TAILCALL", "RETURN", "FORLOOP", "TFORLOOP", "TFORPREP", "SETLIST",  "SETLISTO", "CLOSE",     "CLOSURE"};

}  // namespace script
