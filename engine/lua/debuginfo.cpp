#include "lua/debuginfo.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <functional>

#include "lua/call.h"
#include "lua/conversion.h"
#include "lua/function.h"
#include "lua/table.h"
#include "lua/vm.h"

namespace script {

namespace {

bool isScriptFrame(const CallFrame* frame) { return !(frame->flags & kFrameNative); }

const FunctionProto* protoOf(const CallFrame* frame)
{
    return static_cast<const ScriptClosure*>(asClosure(frame->func))->proto;
}

// Index of the instruction a script frame is running (or calling from).
int currentPc(const CallFrame* frame)
{
    return static_cast<int>(frame->savedPc - protoOf(frame)->exec) - 1;
}

const char* constantName(const FunctionProto* p, int operand)
{
    if (isConstant(operand)) {
        const Value* k = &p->constants[operand - kConstantBase];
        if (isString(k))
            return asString(k)->chars();
    }
    return "?";
}

bool setsRegister(Instruction i, int reg)
{
    const int a = argA(i);
    switch (opcode(i)) {
    case OP_MOVE: case OP_LOADK: case OP_LOADBOOL: case OP_GETUPVAL: case OP_GETGLOBAL:
    case OP_GETTABLE: case OP_NEWTABLE: case OP_ADD: case OP_SUB: case OP_MUL: case OP_DIV:
    case OP_BAND: case OP_BOR: case OP_SHL: case OP_SHR: case OP_POW: case OP_UNM: case OP_NOT:
    case OP_CONCAT: case OP_TEST: case OP_CLOSURE: case OP_FORLOOP: case OP_TFORPREP:
        return reg == a;
    case OP_SELF:
        return reg == a || reg == a + 1;
    case OP_LOADNIL:
        return reg >= a && reg <= argB(i);
    case OP_CALL: case OP_TAILCALL:
        return reg >= a;
    case OP_TFORLOOP:
        return reg >= a + 2;
    default:
        return false;
    }
}

// The last instruction before `lastPc` that stored into `reg`, following
// forward jumps that stay before lastPc; -1 when none.
int lastStoreTo(const FunctionProto* p, int lastPc, int reg)
{
    int last = -1;
    for (int pc = 0; pc < lastPc; pc++) {
        const Instruction i = p->code[pc];
        if (setsRegister(i, reg))
            last = pc;
        if (opcode(i) == OP_JMP) {
            const int dest = pc + 1 + argSBx(i);
            if (pc < dest && dest <= lastPc)
                pc = dest - 1;
        } else if (opcode(i) == OP_CLOSURE) {
            pc += p->protos[argBx(i)]->upvalueCount;  // the upvalue pseudo-instructions
        }
    }
    return last;
}

// Kind ("local", "global", "field", "method") and name of the value in
// register `reg` of a script frame, found from the code; null when unknown.
// Values read from upvalues stay unnamed, as the reference messages have them.
const char* registerName(const CallFrame* frame, int reg, const char** name)
{
    const FunctionProto* p = protoOf(frame);
    const int pc = currentPc(frame);
    *name = localName(p, reg + 1, pc);
    if (*name)
        return "local";
    const int at = lastStoreTo(p, pc, reg);
    if (at < 0)
        return nullptr;
    const Instruction i = p->code[at];
    switch (opcode(i)) {
    case OP_GETGLOBAL:
        *name = asString(&p->constants[argBx(i)])->chars();
        return "global";
    case OP_MOVE:
        if (argB(i) < argA(i))
            return registerName(frame, argB(i), name);
        return nullptr;
    case OP_GETTABLE:
        *name = constantName(p, argC(i));
        return "field";
    case OP_SELF:
        *name = constantName(p, argC(i));
        return "method";
    default:
        return nullptr;
    }
}

// The kind and name of a value when it is a register of the running script
// function; null otherwise.
const char* valueName(lua_State* L, const Value* o, const char** name)
{
    const CallFrame* frame = L->frame;
    if (!isScriptFrame(frame))
        return nullptr;
    std::less<const Value*> before;
    if (before(o, frame->base) || !before(o, frame->top))
        return nullptr;
    return registerName(frame, static_cast<int>(o - frame->base), name);
}

const char* typeName(lua_State* L, const Value* o) { return lua_typename(L, o->tag); }

// Frame of a lua_Debug record; null for a lost tail call.
CallFrame* recordFrame(lua_State* L, const lua_Debug* ar)
{
    return ar->i_ci == 0 ? nullptr : L->frames + ar->i_ci;
}

void describeSource(lua_Debug* ar, const Closure* cl)
{
    if (cl == nullptr) {
        ar->source = "=(tail call)";
        ar->linedefined = -1;
        ar->what = "tail";
    } else if (cl->isNative) {
        ar->source = "=[C]";
        ar->linedefined = -1;
        ar->what = "C";
    } else {
        const FunctionProto* p = static_cast<const ScriptClosure*>(cl)->proto;
        ar->source = p->source ? p->source->chars() : "=?";
        ar->linedefined = p->lineDefined;
        ar->what = p->lineDefined == 0 ? "main" : "Lua";
    }
    chunkId(ar->short_src, ar->source, LUA_IDSIZE);
}

// The name a frame's function was called by, from the caller's CALL.
const char* calledName(lua_State* L, const CallFrame* frame, const char** name)
{
    if (frame == L->frames || (isScriptFrame(frame) && frame->tailCalls > 0))
        return nullptr;
    const CallFrame* caller = frame - 1;
    if (caller == L->frames || !isScriptFrame(caller))
        return nullptr;
    const Instruction i = protoOf(caller)->code[currentPc(caller)];
    if (opcode(i) != OP_CALL && opcode(i) != OP_TAILCALL)
        return nullptr;
    return registerName(caller, argA(i), name);
}

// The name of a global variable of L that holds `function`: how a function
// is named when its call site gives no name (a call from native code, through
// an upvalue, or after tail calls). Null when no global holds it.
const char* globalName(lua_State* L, const Value* function)
{
    if (!isTable(&L->globals))
        return nullptr;
    Table* globals = asTable(&L->globals);
    for (int i = tableNodeCount(globals) - 1; i >= 0; i--) {
        const TableNode* node = &globals->nodes[i];
        if (isString(&node->key) && rawEquals(&node->value, function))
            return asString(&node->key)->chars();
    }
    return nullptr;
}

}  // namespace

int currentLine(lua_State*, const CallFrame* frame)
{
    if (!isScriptFrame(frame))
        return -1;
    const FunctionProto* p = protoOf(frame);
    const int pc = currentPc(frame);
    if (p->lineInfo == nullptr || pc < 0 || pc >= p->lineInfoSize)
        return 0;
    return p->lineInfo[pc];
}

void chunkId(char* out, const char* source, size_t size)
{
    if (size == 0)
        return;
    if (*source == '=') {
        std::strncpy(out, source + 1, size - 1);
        out[size - 1] = '\0';
        return;
    }
    if (*source == '@') {
        const char* file = source + 1;
        const size_t room = size > 8 ? size - 8 : 0;  // keeps space for " `...' "
        const size_t length = std::strlen(file);
        if (length > room)
            std::snprintf(out, size, "...%s", file + (length - room));
        else
            std::snprintf(out, size, "%s", file);
        return;
    }
    const size_t room = size > 17 ? size - 17 : 0;  // keeps space for ` [string "..."] '
    size_t length = std::strcspn(source, "\n");
    const bool cut = source[length] != '\0' || length > room;
    if (length > room)
        length = room;
    std::snprintf(out, size, "[string \"%.*s%s\"]", static_cast<int>(length), source, cut ? "..." : "");
}

void runError(lua_State* L, const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    const char* message = lua_pushvfstring(L, fmt, args);
    va_end(args);
    if (isScriptFrame(L->frame)) {
        char where[LUA_IDSIZE];
        const FunctionProto* p = protoOf(L->frame);
        chunkId(where, p->source ? p->source->chars() : "=?", LUA_IDSIZE);
        lua_pushfstring(L, "%s:%d: %s", where, currentLine(L, L->frame), message);
        L->top[-2] = L->top[-1];
        L->top--;
    }
    raiseError(L);
}

void typeError(lua_State* L, const Value* o, const char* operation)
{
    const char* name = nullptr;
    const char* kind = valueName(L, o, &name);
    if (kind)
        runError(L, "attempt to %s %s `%s' (a %s value)", operation, kind, name, typeName(L, o));
    runError(L, "attempt to %s a %s value", operation, typeName(L, o));
}

void arithError(lua_State* L, const Value* a, const Value* b)
{
    lua_Number unused;
    if (valueToNumber(a, &unused))
        a = b;
    typeError(L, a, "perform arithmetic on");
}

void orderError(lua_State* L, const Value* a, const Value* b)
{
    const char* first = typeName(L, a);
    const char* second = typeName(L, b);
    // Light and full userdata share one name: compare the names, not the tags.
    if (std::strcmp(first, second) == 0)
        runError(L, "attempt to compare two %s values", first);
    runError(L, "attempt to compare %s with %s", first, second);
}

}  // namespace script

using namespace script;

int lua_getstack(lua_State* L, int level, lua_Debug* ar)
{
    CallFrame* frame = L->frame;
    for (; level > 0 && frame > L->frames; frame--) {
        level--;
        if (isScriptFrame(frame))
            level -= frame->tailCalls;
    }
    if (level > 0 || frame == L->frames)
        return 0;
    ar->i_ci = level < 0 ? 0 : static_cast<int>(frame - L->frames);
    return 1;
}

int lua_getinfo(lua_State* L, const char* what, lua_Debug* ar)
{
    CallFrame* frame = nullptr;
    const Closure* cl = nullptr;
    Value function;
    setNil(&function);
    if (*what == '>') {
        function = L->top[-1];
        L->top--;
        what++;
    } else {
        frame = recordFrame(L, ar);
        if (frame)
            function = *frame->func;
    }
    if (isFunction(&function))
        cl = asClosure(&function);
    int ok = 1;
    for (; *what; what++) {
        switch (*what) {
        case 'S':
            describeSource(ar, cl);
            break;
        case 'l':
            ar->currentline = frame ? currentLine(L, frame) : -1;
            break;
        case 'u':
            ar->nups = cl ? cl->upvalueCount : 0;
            break;
        case 'n':
            ar->namewhat = frame ? calledName(L, frame, &ar->name) : nullptr;
            if (ar->namewhat == nullptr) {
                ar->name = cl ? globalName(L, &function) : nullptr;
                ar->namewhat = ar->name ? "global" : "";
            }
            break;
        case 'f':
            checkStack(L, 1);
            *L->top++ = function;
            break;
        default:
            ok = 0;
        }
    }
    return ok;
}
