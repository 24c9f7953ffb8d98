#include "lua/vm.h"

#include <cmath>
#include <cstring>

#include "lua/call.h"
#include "lua/collector.h"
#include "lua/conversion.h"
#include "lua/debuginfo.h"
#include "lua/execcode.h"
#include "lua/function.h"
#include "lua/memory.h"
#include "lua/metamethods.h"
#include "lua/strings.h"
#include "lua/table.h"

namespace script {

namespace {

// Tables an __index or __newindex chain may pass on to before it is taken
// for a loop; reads pass one table more than writes.
constexpr int kMaxHandlerChain = 100;

// Wide joins of this many units or more are refused.
constexpr size_t kMaxWideUnits = 4294967294u;

// A raw read that takes the array part and string keys straight through.
inline const Value* rawGet(Table* t, const Value* key)
{
    if (isNumber(key)) {
        if (const Value* slot = tableArraySlot(t, key->n))
            return slot;
    } else if (isString(key)) {
        return tableGetString(t, asString(key));
    }
    return tableGet(t, key);
}

// Calls handler(a, b) for one result, left at L->top - 1.
void callHandler(lua_State* L, const Value* handler, const Value* a, const Value* b)
{
    const Value h = *handler;
    const Value x = *a;
    const Value y = *b;
    checkStack(L, 3);
    StackPtr func = L->top;
    func[0] = h;
    func[1] = x;
    func[2] = y;
    L->top = func + 3;
    callValue(L, func, 1);
}

// Calls handler(a, b) and stores its result in the stack slot at `offset`.
void callHandlerInto(lua_State* L, const Value* handler, const Value* a, const Value* b, ptrdiff_t offset)
{
    callHandler(L, handler, a, b);
    L->top--;
    *slotAt(L, offset) = *L->top;
}

// The handler of `event` for a or else b, when it is a function: calls it
// into the slot at `offset`. False when there is none.
bool binaryHandler(lua_State* L, const Value* a, const Value* b, ptrdiff_t offset, Event event)
{
    const Value* handler = eventHandler(L, a, event);
    if (handler == nullptr)
        handler = eventHandler(L, b, event);
    if (handler == nullptr || !isFunction(handler))
        return false;
    callHandlerInto(L, handler, a, b, offset);
    return true;
}

// Result of an order handler: -1 when a and b have no common handler.
int orderHandler(lua_State* L, const Value* a, const Value* b, Event event)
{
    const Value* first = eventHandler(L, a, event);
    if (first == nullptr)
        return -1;
    const Value* second = eventHandler(L, b, event);
    if (second == nullptr || !rawEquals(first, second))
        return -1;
    callHandler(L, first, a, b);
    L->top--;
    return isFalse(L->top) ? 0 : 1;
}

// The low 32 bits of n truncated toward zero; NaN and infinities give 0.
// Integers beyond 64 bits have the same low bits as their value modulo 2^32.
uint32_t lowBits(lua_Number n)
{
    if (!std::isfinite(n))
        return 0;
    lua_Number rest = std::fmod(std::trunc(n), 4294967296.0);
    if (rest < 0)
        rest += 4294967296.0;
    return static_cast<uint32_t>(rest);
}

lua_Number bitResult(OpCode op, lua_Number a, lua_Number b)
{
    const uint32_t x = lowBits(a);
    const uint32_t y = lowBits(b);
    switch (op) {
    case OP_BAND: return x & y;
    case OP_BOR: return x | y;
    case OP_SHL: return static_cast<uint32_t>(x << (y & 31));
    case OP_SHR: return x >> (y & 31);
    default: return x ^ y;  // OP_POW on two numbers
    }
}

bool lessText(const String* a, const String* b)
{
    const size_t shorter = a->length < b->length ? a->length : b->length;
    const int order = std::memcmp(a->chars(), b->chars(), shorter);
    return order < 0 || (order == 0 && a->length < b->length);
}

bool lessEqualText(const String* a, const String* b) { return !lessText(b, a); }

// Whether the value joins a run of the given kind: a string of that kind,
// or a number, which joins as its text.
bool canJoin(const Value* v, bool wide)
{
    return isNumber(v) || (wide ? isWideString(v) : isString(v));
}

// canJoin, converting a number in place: what a __concat handler is shown.
bool joinable(lua_State* L, StackPtr v, bool wide)
{
    if (isNumber(v))
        return wide ? numberToWideStringInPlace(L, v) : numberToStringInPlace(L, v);
    return wide ? isWideString(v) : isString(v);
}

// A run is wide when, looking back from its last operand, a wide string
// comes before any 8-bit string.
bool wideRun(const Value* last, int count)
{
    for (int i = 0; i < count; i++, last--) {
        if (isWideString(last))
            return true;
        if (isString(last))
            return false;
    }
    return false;
}

// The length in units of an operand of a join.
size_t operandLength(const Value* v)
{
    if (!isNumber(v))
        return asString(v)->length;
    char digits[kNumberTextSize];
    return static_cast<size_t>(numberToText(v->n, digits));
}

// Copies an operand's units to `out`; returns their count. A number is
// written as its text, never made a string of its own.
size_t copyOperand(const Value* v, char* out, bool wide)
{
    if (!isNumber(v)) {
        const String* s = asString(v);
        std::memcpy(out, s->chars(), s->length * (wide ? sizeof(lua_WChar) : 1));
        return s->length;
    }
    char digits[kNumberTextSize];
    const size_t length = static_cast<size_t>(numberToText(v->n, digits));
    if (!wide) {
        std::memcpy(out, digits, length);
        return length;
    }
    for (size_t i = 0; i < length; i++) {
        const lua_WChar unit = static_cast<unsigned char>(digits[i]);
        std::memcpy(out + i * sizeof unit, &unit, sizeof unit);
    }
    return length;
}

// Copies the `count` operands ending below `top` to `out`, one after another.
void copyOperands(const Value* top, int count, char* out, bool wide)
{
    const size_t unit = wide ? sizeof(lua_WChar) : 1;
    size_t at = 0;
    for (int i = count; i > 0; i--)
        at += copyOperand(top - i, out + at * unit, wide);
}

// Joins the `count` operands ending below `top` into top[-count]. A short
// text is joined on the C++ stack and interned from there, which allocates
// nothing when it is already pooled; a long one straight into its new string.
void joinStrings(lua_State* L, StackPtr top, int count, bool wide)
{
    const size_t unit = wide ? sizeof(lua_WChar) : 1;
    const size_t limit = wide ? kMaxWideUnits : static_cast<size_t>(-1) / 2;
    size_t total = 0;
    for (int i = 1; i <= count; i++) {
        const size_t length = operandLength(top - i);
        if (length >= limit - total)
            runError(L, "string size overflow");
        total += length;
    }
    String* joined;
    alignas(lua_WChar) char shortText[256];
    if (total * unit <= sizeof shortText) {
        copyOperands(top, count, shortText, wide);
        joined = wide ? newWideString(L, reinterpret_cast<const lua_WChar*>(shortText), total)
                      : newString(L, shortText, total);
    } else {
        joined = newStringToFill(L, total, wide ? LUA_TWSTRING : LUA_TSTRING);
        copyOperands(top, count, joined->chars(), wide);
        joined = internFilled(L, joined);
    }
    setString(top - count, joined);
}

void unaryMinus(lua_State* L, StackPtr ra, const Value* b)
{
    lua_Number n;
    if (valueToNumber(b, &n)) {
        setNumber(ra, -n);
        return;
    }
    if (!binaryHandler(L, b, b, slotOffset(L, ra), Event::Unm))
        arithError(L, b, b);
}

// The power operator on values that are not two numbers: numbers converted
// from text go to the global function "__pow", others to the handlers.
void power(lua_State* L, StackPtr ra, const Value* b, const Value* c)
{
    Value x;
    Value y;
    const Value* nb = toNumber(b, &x);
    const Value* nc = nb ? toNumber(c, &y) : nullptr;
    if (nc == nullptr) {
        if (!binaryHandler(L, b, c, slotOffset(L, ra), Event::Pow))
            arithError(L, b, c);
        return;
    }
    String* name = L->shared->eventNames[static_cast<int>(Event::Pow)];
    const Value* f = tableGetString(asTable(&L->globals), name);
    if (!isFunction(f))
        runError(L, "`__pow' (`^' operator) is not a function");
    callHandlerInto(L, f, nb, nc, slotOffset(L, ra));
}

void arith(lua_State* L, StackPtr ra, const Value* b, const Value* c, Event event)
{
    lua_Number x;
    lua_Number y;
    if (valueToNumber(b, &x) && valueToNumber(c, &y)) {
        switch (event) {
        case Event::Add: setNumber(ra, x + y); return;
        case Event::Sub: setNumber(ra, x - y); return;
        case Event::Mul: setNumber(ra, x * y); return;
        default: setNumber(ra, x / y); return;
        }
    }
    if (!binaryHandler(L, b, c, slotOffset(L, ra), event))
        arithError(L, b, c);
}

// Converts a numeric string in place (the limit and step of a `for`).
bool numberInPlace(StackPtr v)
{
    lua_Number n;
    if (!valueToNumber(v, &n))
        return false;
    setNumber(v, n);
    return true;
}

// The bitwise instructions take numbers only.
[[noreturn]] void bitError(lua_State* L, const Value* b, const Value* c)
{
    typeError(L, isNumber(b) ? c : b, "perform arithmetic on");
}

[[noreturn]] void forError(lua_State* L, const char* what)
{
    runError(L, "`for' %s must be a number", what);
}

// The index, limit and step of a `for` that are not all numbers: a numeric
// string limit or step is converted in place, anything else is an error.
void forNumbers(lua_State* L, StackPtr ra)
{
    if (!isNumber(ra))
        forError(L, "initial value");
    if (!isNumber(ra + 1) && !(isString(ra + 1) && numberInPlace(ra + 1)))
        forError(L, "limit");
    if (!isNumber(ra + 2) && !(isString(ra + 2) && numberInPlace(ra + 2)))
        forError(L, "step");
}

}  // namespace

bool rawEquals(const Value* a, const Value* b)
{
    if (a->tag != b->tag)
        return false;
    switch (a->tag) {
    case LUA_TNIL: return true;
    case LUA_TNUMBER: return a->n == b->n;
    case LUA_TBOOLEAN: return a->b == b->b;
    case LUA_TLIGHTUSERDATA: return a->p == b->p;
    default: return a->gc == b->gc;
    }
}

bool equalValues(lua_State* L, const Value* a, const Value* b)
{
    if (a->tag != b->tag)
        return false;
    Table* first;
    Table* second;
    switch (a->tag) {
    case LUA_TTABLE:
        first = asTable(a)->metatable;
        second = asTable(b)->metatable;
        break;
    case LUA_TUSERDATA:
        first = asUserdata(a)->metatable;
        second = asUserdata(b)->metatable;
        break;
    default:
        return rawEquals(a, b);
    }
    if (a->gc == b->gc)
        return true;
    const Value* handler = metatableEvent(L, first, Event::Eq);
    if (handler == nullptr)
        return false;
    if (first != second) {
        const Value* other = metatableEvent(L, second, Event::Eq);
        if (other == nullptr || !rawEquals(handler, other))
            return false;
    }
    callHandler(L, handler, a, b);
    L->top--;
    return !isFalse(L->top);
}

bool lessThan(lua_State* L, const Value* a, const Value* b)
{
    if (a->tag == b->tag) {
        if (isNumber(a))
            return a->n < b->n;
        if (isString(a))
            return lessText(asString(a), asString(b));
        const int result = orderHandler(L, a, b, Event::Lt);
        if (result >= 0)
            return result;
    }
    orderError(L, a, b);
}

bool lessEqual(lua_State* L, const Value* a, const Value* b)
{
    if (a->tag == b->tag) {
        if (isNumber(a))
            return a->n <= b->n;
        if (isString(a))
            return lessEqualText(asString(a), asString(b));
        int result = orderHandler(L, a, b, Event::Le);
        if (result >= 0)
            return result;
        result = orderHandler(L, b, a, Event::Lt);
        if (result >= 0)
            return !result;
    }
    orderError(L, a, b);
}

const Value* toNumber(const Value* v, Value* buffer)
{
    if (isNumber(v))
        return v;
    lua_Number n;
    if ((isString(v) || isWideString(v)) && valueToNumber(v, &n)) {
        setNumber(buffer, n);
        return buffer;
    }
    return nullptr;
}

// Each step of the chain reads a table raw or takes a handler: `handler`,
// when given, is the first one. The chain is followed through pointers, not
// copies: nothing is written until the value is found or a handler called.
void getTableThrough(lua_State* L, const Value* t, const Value* key, const Value* handler, StackPtr result)
{
    const Value* current = t;
    Value typeTable;  // the type-wide table that a value other than a table reads
    for (int passed = 0;; passed++) {
        if (handler == nullptr) {
            if (isTable(current)) {
                Table* h = asTable(current);
                const Value* v = rawGet(h, key);
                if (!isNil(v) || (handler = metatableEvent(L, h->metatable, Event::Index)) == nullptr) {
                    *result = *v;
                    return;
                }
            } else if (isUserdata(current)) {
                handler = metatableEvent(L, asUserdata(current)->metatable, Event::Index);
                if (handler == nullptr)
                    typeError(L, current, "index");
            } else {
                // Other values read the key from their type's table.
                Table* table = L->shared->typeMetatables[current->tag];
                if (table == nullptr)
                    typeError(L, current, "index");
                setTable(&typeTable, table);
                current = &typeTable;
                continue;
            }
        }
        if (isFunction(handler)) {
            callHandlerInto(L, handler, current, key, slotOffset(L, result));
            return;
        }
        if (passed > kMaxHandlerChain)
            runError(L, "loop in gettable");
        current = handler;
        handler = nullptr;
    }
}

void getTable(lua_State* L, const Value* t, const Value* key, StackPtr result)
{
    getTableThrough(L, t, key, nullptr, result);
}

void setTable(lua_State* L, const Value* t, const Value* key, const Value* value)
{
    const Value* current = t;
    for (int passed = 0;; passed++) {
        const Value* handler;
        if (isTable(current)) {
            Table* h = asTable(current);
            const Value* old = rawGet(h, key);
            if (!isNil(old)) {
                *const_cast<Value*>(old) = *value;
                return;
            }
            if ((handler = metatableEvent(L, h->metatable, Event::NewIndex)) == nullptr) {
                *tableSet(L, h, key) = *value;
                return;
            }
        } else {
            handler = eventHandler(L, current, Event::NewIndex);
            if (handler == nullptr)
                typeError(L, current, "index");
        }
        if (isFunction(handler)) {
            // Copied first: growing the stack may move what they point to.
            const Value h = *handler;
            const Value c = *current;
            const Value k = *key;
            const Value v = *value;
            checkStack(L, 4);
            StackPtr func = L->top;
            func[0] = h;
            func[1] = c;
            func[2] = k;
            func[3] = v;
            L->top = func + 4;
            callValue(L, func, 0);
            return;
        }
        if (passed == kMaxHandlerChain)
            runError(L, "loop in settable");
        current = handler;
    }
}

void concat(lua_State* L, int total, int last)
{
    do {
        StackPtr top = L->base + last + 1;
        const bool wide = wideRun(top - 1, total);
        int count = 2;
        if (!canJoin(top - 2, wide) || !canJoin(top - 1, wide)) {
            // A number before the operand that fails reaches the handler as
            // text.
            joinable(L, top - 2, wide);
            if (!binaryHandler(L, top - 2, top - 1, slotOffset(L, top - 2), Event::Concat)) {
                top = L->base + last + 1;
                typeError(L, joinable(L, top - 2, wide) ? top - 1 : top - 2, "concatenate");
            }
        } else {
            while (count < total && canJoin(top - count - 1, wide))
                count++;
            joinStrings(L, top, count, wide);
        }
        total -= count - 1;
        last -= count - 1;
    } while (total > 1);
}

// The interpreter loop. Locals cache the frame's base, pc and constants;
// anything that may call out or move the stack saves pc first and reloads
// base after (PROTECT).
void execute(lua_State* L)
{
    ScriptClosure* cl;
    const Value* k;
    StackPtr base;
    const Instruction* pc;

#define RB() (base + argB(i))
#define RC() (base + argC(i))
#define KB() (k + (argB(i) - kConstantBase))
#define KC() (k + (argC(i) - kConstantBase))
#define RKB() (isConstant(argB(i)) ? KB() : RB())
#define RKC() (isConstant(argC(i)) ? KC() : RC())
// An instruction's own handler finds operands B and C by their kind, the
// handlers that the function's load chose for them take them straight; all
// go on to one body.
#define OPERANDS(name, body)                              \
        CASE(OP_##name):                                  \
            vb = RKB();                                   \
            vc = RKC();                                   \
            goto body;                                    \
        CASE(OPX_##name##_RR):                            \
            vb = RB();                                    \
            vc = RC();                                    \
            goto body;                                    \
        CASE(OPX_##name##_RK):                            \
            vb = RB();                                    \
            vc = KC();                                    \
            goto body;
#define SAVE_PC() (L->frame->savedPc = pc)
// Reads object[key] into ra, then `next`: a table's own field found by
// `lookup` (of table h), else through __index.
#define INDEX(object, key, lookup, next)                                                        \
    do {                                                                                        \
        if (isTable(object)) {                                                                  \
            Table* h = asTable(object);                                                         \
            const Value* v = lookup;                                                            \
            const Value* handler;                                                               \
            if (!isNil(v) || (handler = metatableEvent(L, h->metatable, Event::Index)) == nullptr) { \
                *ra = *v;                                                                       \
                next;                                                                           \
            }                                                                                   \
            PROTECT(getTableThrough(L, object, key, handler, ra));                              \
        } else {                                                                                \
            PROTECT(getTable(L, object, key, ra));                                              \
        }                                                                                       \
        next;                                                                                   \
    } while (0)
#define PROTECT(x)              \
    do {                        \
        SAVE_PC();              \
        x;                      \
        base = L->base;         \
    } while (0)
#define JUMP_NEXT() (pc += argSBx(*pc) + 1)
// Goes on to the next instruction, whose handler is known.
#define CONTINUE_WITH(op)        \
    do {                         \
        i = *pc++;               \
        ra = base + argA(i);     \
        goto CASE(op);           \
    } while (0)

#define CASE(op) case_##op
#define NEXT()                          \
    do {                                \
        i = *pc++;                      \
        ra = base + argA(i);            \
        goto* handlers[opcode(i)];      \
    } while (0)

    // Each handler ends in its own jump to the next instruction's handler
    // (rather than all sharing one switch), which the processor predicts far
    // better. Indexed by OpCode, then ExecOp.
    static const void* const handlers[1 << kSizeOp] = {
        &&CASE(OP_MOVE), &&CASE(OP_LOADK), &&CASE(OP_LOADBOOL), &&CASE(OP_LOADNIL),
        &&CASE(OP_GETUPVAL), &&CASE(OP_GETGLOBAL), &&CASE(OP_GETTABLE), &&CASE(OP_SETGLOBAL),
        &&CASE(OP_SETUPVAL), &&CASE(OP_SETTABLE), &&CASE(OP_NEWTABLE), &&CASE(OP_SELF),
        &&CASE(OP_ADD), &&CASE(OP_SUB), &&CASE(OP_MUL), &&CASE(OP_DIV),
        &&CASE(OP_BAND), &&CASE(OPX_ADD_RR_LT), &&CASE(OPX_ADD_RR_LE), &&CASE(OPX_ADD_RK_LT),
        &&CASE(OPX_ADD_RK_LE), &&CASE(OP_UNM), &&CASE(OP_NOT), &&CASE(OP_CONCAT),
        &&CASE(OP_JMP), &&CASE(OP_EQ), &&CASE(OP_LT), &&CASE(OP_LE),
        &&CASE(OP_TEST), &&CASE(OP_CALL), &&CASE(OP_TAILCALL), &&CASE(OP_RETURN),
        &&CASE(OP_FORLOOP), &&CASE(OP_TFORLOOP), &&CASE(OP_TFORPREP), &&CASE(OP_SETLIST),
        &&CASE(OP_SETLISTO), &&CASE(OP_CLOSE), &&CASE(OP_CLOSURE),
        &&CASE(OPX_ADD_RR), &&CASE(OPX_ADD_RK), &&CASE(OPX_SUB_RR), &&CASE(OPX_SUB_RK),
        &&CASE(OPX_MUL_RR), &&CASE(OPX_MUL_RK), &&CASE(OPX_DIV_RR), &&CASE(OPX_DIV_RK),
        &&CASE(OPX_EQ_RR), &&CASE(OPX_EQ_RK), &&CASE(OPX_LT_RR), &&CASE(OPX_LT_RK),
        &&CASE(OPX_LE_RR), &&CASE(OPX_LE_RK), &&CASE(OPX_GETTABLE_R), &&CASE(OPX_GETTABLE_S),
        &&CASE(OPX_SETTABLE_RR), &&CASE(OPX_SETTABLE_RK), &&CASE(OPX_SETTABLE_KR),
        &&CASE(OPX_LOADBOOL_SETTABLE), &&CASE(OPX_SELF_S), &&CASE(OPX_GETTABLE_LT), &&CASE(OPX_GETTABLE_TEST),
        &&CASE(OPX_GETTABLE_SETTABLE), &&CASE(OPX_GETTABLE_ADD),
    };
    static_assert(kNumOpCodes == 39 && kNumExecOps == 64, "one handler per code, in OpCode and ExecOp order");
    Instruction i;
    StackPtr ra;
    const Value* vb;
    const Value* vc;

enter:
    cl = static_cast<ScriptClosure*>(asClosure(L->frame->func));
    k = cl->proto->constants;
    base = L->base;
    pc = L->frame->savedPc;
    NEXT();

    {
        CASE(OP_MOVE):
            *ra = *RB();
            NEXT();
        CASE(OP_LOADK):
            *ra = k[argBx(i)];
            NEXT();
        CASE(OP_LOADBOOL):
            setBoolean(ra, argB(i));
            if (argC(i))
                pc++;
            NEXT();
        CASE(OPX_LOADBOOL_SETTABLE):
            setBoolean(ra, argB(i));
            i = *pc++;
            ra = base + argA(i);
            vb = RKB();
            vc = RC();
            goto settable;
        CASE(OP_LOADNIL):
            for (StackPtr rb = RB(); rb >= ra; rb--)
                setNil(rb);
            NEXT();
        CASE(OP_GETUPVAL):
            *ra = *cl->upvalues[argB(i)]->v;
            NEXT();
        CASE(OP_GETGLOBAL): {
            const Value* key = k + argBx(i);
            const Value* v = tableGetString(cl->env, asString(key));
            if (!isNil(v)) {
                *ra = *v;
            } else {
                Value env;
                setTable(&env, cl->env);
                PROTECT(getTable(L, &env, key, ra));
            }
            NEXT();
        }
        CASE(OP_GETTABLE):
            vc = RKC();
            goto gettable;
        CASE(OPX_GETTABLE_R):
            vc = RC();
        gettable: {
            const Value* rb = RB();
            INDEX(rb, vc, rawGet(h, vc), NEXT());
        }
        // A read with a register key and the instruction after it, run as one.
#define GETTABLE_THEN(fused, second)                                 \
        CASE(fused): {                                               \
            const Value* rb = RB();                                  \
            const Value* key = RC();                                 \
            INDEX(rb, key, rawGet(h, key), CONTINUE_WITH(second));   \
        }
        GETTABLE_THEN(OPX_GETTABLE_LT, OPX_LT_RR)
        GETTABLE_THEN(OPX_GETTABLE_TEST, OP_TEST)
        GETTABLE_THEN(OPX_GETTABLE_SETTABLE, OPX_SETTABLE_RR)
        GETTABLE_THEN(OPX_GETTABLE_ADD, OPX_ADD_RR)
#undef GETTABLE_THEN
        CASE(OPX_GETTABLE_S): {
            const Value* rb = RB();
            const Value* key = KC();
            INDEX(rb, key, tableGetString(h, asString(key)), NEXT());
        }
        CASE(OP_SETGLOBAL): {
            const Value* key = k + argBx(i);
            const Value* old = tableGetString(cl->env, asString(key));
            if (!isNil(old)) {
                *const_cast<Value*>(old) = *ra;
            } else {
                Value env;
                setTable(&env, cl->env);
                PROTECT(setTable(L, &env, key, ra));
            }
            NEXT();
        }
        CASE(OP_SETUPVAL):
            *cl->upvalues[argB(i)]->v = *ra;
            NEXT();
        OPERANDS(SETTABLE, settable)
        CASE(OPX_SETTABLE_KR):
            vb = KB();
            vc = RC();
        settable: {
            const Value* key = vb;
            const Value* value = vc;
            if (isTable(ra)) {
                Table* h = asTable(ra);
                Value* slot = const_cast<Value*>(rawGet(h, key));
                if (!isNil(slot)) {
                    *slot = *value;
                    NEXT();
                }
                if (h->metatable == nullptr) {
                    if (slot != &kNilValue) {
                        // An empty array item or a key whose value was
                        // cleared: tableSet would return this slot.
                        h->absentEvents = 0;
                        *slot = *value;
                    } else {
                        SAVE_PC();  // a nil or NaN key raises an error
                        *tableInsert(L, h, key) = *value;
                    }
                    NEXT();
                }
            }
            PROTECT(setTable(L, ra, key, value));
            NEXT();
        }
        CASE(OP_NEWTABLE): {
            const int b = argB(i) <= kMaxEncodedArraySize ? argB(i) : kMaxEncodedArraySize;
            const int c = argC(i);
            setTable(ra, newTable(L, decodeArraySize(b), c == 0 ? -1 : c));
            PROTECT(checkCollect(L));
            NEXT();
        }
        // The object goes to ra + 1, its method to ra. The method is read
        // from the object's own register, which names it in messages.
        CASE(OP_SELF): {
            ra[1] = *RB();
            const Value* key = RKC();
            INDEX(RB(), key, rawGet(h, key), NEXT());
        }
        CASE(OPX_SELF_S): {
            ra[1] = *RB();
            const Value* key = KC();
            INDEX(RB(), key, tableGetString(h, asString(key)), NEXT());
        }
#define ARITH_CASE(name, event, expr)                        \
        OPERANDS(name, name##_body)                          \
        name##_body: {                                       \
            const Value* b = vb;                             \
            const Value* c = vc;                             \
            if (isNumber(b) && isNumber(c)) [[likely]] {    \
                const lua_Number x = b->n;                   \
                const lua_Number y = c->n;                   \
                setNumber(ra, expr);                         \
            } else {                                         \
                PROTECT(arith(L, ra, b, c, event));          \
            }                                                \
            NEXT();                                          \
        }
        ARITH_CASE(ADD, Event::Add, x + y)
        ARITH_CASE(SUB, Event::Sub, x - y)
        ARITH_CASE(MUL, Event::Mul, x * y)
        ARITH_CASE(DIV, Event::Div, x / y)
#undef ARITH_CASE
        // On numbers, the sum and then the comparison; else the addition on
        // its own, and the comparison by its own handler.
#define ADD_THEN(fused, operandC, second)                            \
        CASE(fused):                                                 \
            vb = RB();                                               \
            vc = operandC;                                           \
            if (isNumber(vb) && isNumber(vc)) [[likely]] {          \
                setNumber(ra, vb->n + vc->n);                        \
                CONTINUE_WITH(second);                               \
            }                                                        \
            goto ADD_body;
        ADD_THEN(OPX_ADD_RR_LT, RC(), OPX_LT_RR)
        ADD_THEN(OPX_ADD_RR_LE, RC(), OPX_LE_RR)
        ADD_THEN(OPX_ADD_RK_LT, KC(), OPX_LT_RR)
        ADD_THEN(OPX_ADD_RK_LE, KC(), OPX_LE_RR)
#undef ADD_THEN
        // The bit operations and the power, told apart by the code's opcode.
        CASE(OP_BAND): {
            const OpCode op = opcode(cl->proto->code[pc - 1 - cl->proto->exec]);
            const Value* b = RKB();
            const Value* c = RKC();
            if (isNumber(b) && isNumber(c)) [[likely]]
                setNumber(ra, bitResult(op, b->n, c->n));
            else if (op == OP_POW)
                PROTECT(power(L, ra, b, c));
            else
                PROTECT(bitError(L, b, c));
            NEXT();
        }
        CASE(OP_UNM): {
            const Value* b = RB();
            if (isNumber(b))
                setNumber(ra, -b->n);
            else
                PROTECT(unaryMinus(L, ra, b));
            NEXT();
        }
        CASE(OP_NOT):
            setBoolean(ra, isFalse(RB()));
            NEXT();
        CASE(OP_CONCAT): {
            const int b = argB(i);
            const int c = argC(i);
            PROTECT(concat(L, c - b + 1, c); checkCollect(L));
            base[argA(i)] = base[b];
            NEXT();
        }
        CASE(OP_JMP):
            pc += argSBx(i);
            NEXT();
        OPERANDS(EQ, eq)
        eq: {
            const Value* b = vb;
            const Value* c = vc;
            bool result;
            if (b->tag != c->tag)
                result = false;
            else if (isNumber(b))
                result = b->n == c->n;
            else if (isTable(b) || isUserdata(b))
                PROTECT(result = equalValues(L, b, c));  // may call __eq
            else
                result = rawEquals(b, c);
            if (result != (argA(i) != 0))
                pc++;
            else
                JUMP_NEXT();
            NEXT();
        }
        OPERANDS(LT, lt)
        lt: {
            const Value* b = vb;
            const Value* c = vc;
            bool result;
            if (isNumber(b) && isNumber(c)) [[likely]]
                result = b->n < c->n;
            else
                PROTECT(result = lessThan(L, b, c));
            if (result != (argA(i) != 0))
                pc++;
            else
                JUMP_NEXT();
            NEXT();
        }
        OPERANDS(LE, le)
        le: {
            const Value* b = vb;
            const Value* c = vc;
            bool result;
            if (isNumber(b) && isNumber(c)) [[likely]]
                result = b->n <= c->n;
            else
                PROTECT(result = lessEqual(L, b, c));
            if (result != (argA(i) != 0))
                pc++;
            else
                JUMP_NEXT();
            NEXT();
        }
        CASE(OP_TEST): {
            const Value* rb = RB();
            if (isFalse(rb) == (argC(i) != 0)) {
                pc++;
            } else {
                *ra = *rb;
                JUMP_NEXT();
            }
            NEXT();
        }
        CASE(OP_CALL): {
            const int b = argB(i);
            const int wanted = argC(i) - 1;
            if (b != 0)
                L->top = ra + b;
            SAVE_PC();
            if (isFunction(ra) && !asClosure(ra)->isNative) {
                enterScript(L, ra, static_cast<ScriptClosure*>(asClosure(ra))->proto, wanted);
                goto enter;
            }
            switch (startCall(L, ra, wanted)) {
            case CallStart::Script:
                goto enter;
            case CallStart::Native:
                base = L->base;
                if (wanted >= 0)
                    L->top = L->frame->top;
                break;
            case CallStart::Yielded:
                return;
            }
            NEXT();
        }
        CASE(OP_TAILCALL): {
            const int b = argB(i);
            if (b != 0)
                L->top = ra + b;
            SAVE_PC();
            // A callable value's __call handler is called in its place, so
            // it is a tail call as well.
            if (!isFunction(ra))
                PROTECT(ra = resolveCallable(L, ra));
            if (!asClosure(ra)->isNative) {
                // The callee takes the place of this frame.
                if (L->openUpvalues && L->openUpvalues->v >= base)
                    closeUpvalues(L, base);
                const CallFrame* frame = L->frame;
                StackPtr func = frame->func;
                const int count = static_cast<int>(L->top - ra);
                for (int n = 0; n < count; n++)
                    func[n] = ra[n];
                L->top = func + count;
                const int fresh = frame->flags & kFrameFresh;
                const int wanted = frame->wantedResults;
                const int tailCalls = frame->tailCalls + 1;
                L->frame--;
                enterScript(L, func, static_cast<ScriptClosure*>(asClosure(func))->proto, wanted);
                L->frame->flags |= fresh;
                L->frame->tailCalls = tailCalls;
                goto enter;
            }
            // Native functions run as plain calls; the RETURN that follows
            // passes their results on.
            if (startCall(L, ra, LUA_MULTRET) == CallStart::Yielded)
                return;
            base = L->base;
            NEXT();
        }
        CASE(OP_RETURN): {
            const int b = argB(i);
            if (b != 0)
                L->top = ra + b - 1;
            if (L->openUpvalues && L->openUpvalues->v >= base)
                closeUpvalues(L, base);
            const bool fresh = (L->frame->flags & kFrameFresh) != 0;
            const bool fixed = finishCall(L, ra);
            if (fresh)
                return;
            if (fixed)
                L->top = L->frame->top;
            goto enter;
        }
        CASE(OP_FORLOOP): {
            if (!isNumber(ra) || !isNumber(ra + 1) || !isNumber(ra + 2)) [[unlikely]]
                PROTECT(forNumbers(L, ra));
            const lua_Number step = ra[2].n;
            const lua_Number index = ra->n + step;
            const lua_Number limit = ra[1].n;
            if ((step > 0 && index <= limit) || (!(step > 0) && index >= limit)) {
                pc += argSBx(i);
                ra->n = index;
            }
            NEXT();
        }
        CASE(OP_TFORLOOP): {
            const int results = argC(i) + 1;
            StackPtr call = ra + results + 2;
            call[0] = ra[0];
            call[1] = ra[1];
            call[2] = ra[2];
            L->top = call + 3;
            PROTECT(callValue(L, call, results));
            L->top = L->frame->top;
            ra = base + argA(i) + 2;
            for (int n = 0; n < results; n++)
                ra[n] = ra[results + n];
            if (isNil(ra))
                pc++;
            else
                JUMP_NEXT();
            NEXT();
        }
        CASE(OP_TFORPREP):
            if (isTable(ra)) {
                ra[1] = ra[0];
                PROTECT(*ra = *tableGetString(asTable(&L->globals), newString(L, "next")));
                ra = base + argA(i);
            }
            pc += argSBx(i);
            NEXT();
        CASE(OP_SETLIST): CASE(OP_SETLISTO): {
            const int bx = argBx(i);
            int count;
            if (opcode(i) == OP_SETLIST) {
                count = bx % kFieldsPerFlush + 1;
            } else {
                count = static_cast<int>(L->top - ra) - 1;
                L->top = L->frame->top;
            }
            const int first = bx - bx % kFieldsPerFlush;
            if (!isTable(ra))
                NEXT();
            Table* h = asTable(ra);
            SAVE_PC();
            for (; count > 0; count--)
                *tableSetInt(L, h, first + count) = ra[count];
            NEXT();
        }
        CASE(OP_CLOSE):
            closeUpvalues(L, ra);
            NEXT();
        CASE(OP_CLOSURE): {
            FunctionProto* p = cl->proto->protos[argBx(i)];
            const int count = p->upvalueCount;
            SAVE_PC();
            ScriptClosure* closure = newScriptClosure(L, count, cl->env);
            closure->proto = p;
            for (int n = 0; n < count; n++, pc++) {
                if (opcode(*pc) == OP_GETUPVAL)
                    closure->upvalues[n] = cl->upvalues[argB(*pc)];
                else
                    closure->upvalues[n] = findUpvalue(L, base + argB(*pc));
            }
            setClosure(ra, closure);
            PROTECT(checkCollect(L));
            NEXT();
        }
    }
#undef CASE
#undef NEXT
#undef RB
#undef RKB
#undef RKC
#undef RC
#undef KB
#undef KC
#undef OPERANDS
#undef INDEX
#undef PROTECT
#undef SAVE_PC
#undef JUMP_NEXT
#undef CONTINUE_WITH
}

}  // namespace script
