#include "lua/execcode.h"

#include "lua/memory.h"

namespace script {

namespace {

// The handler of an instruction whose two operands B and C may each be a
// register or a constant, from its registers-only and constant-C handlers.
int pairHandler(Instruction i, int bothRegisters, int constantC)
{
    if (isConstant(argB(i)))
        return opcode(i);
    return isConstant(argC(i)) ? constantC : bothRegisters;
}

// Whether instruction `next` stores the boolean that `i` loads (t[k] = true):
// the pair then runs in one handler. The second keeps its own place and
// handler, for jumps to it.
bool storesLoadedBoolean(Instruction i, Instruction next)
{
    return opcode(i) == OP_LOADBOOL && argC(i) == 0 && opcode(next) == OP_SETTABLE && argC(next) == argA(i);
}

// Whether operand C of i is a string constant of p (a field or method name).
bool stringConstantC(const FunctionProto* p, Instruction i)
{
    return isConstant(argC(i)) && isString(&p->constants[argC(i) - kConstantBase]);
}

// The handler of instruction i of p on its own: one chosen for its operands,
// else its opcode's.
int ownHandler(const FunctionProto* p, Instruction i)
{
    switch (opcode(i)) {
    case OP_ADD: return pairHandler(i, OPX_ADD_RR, OPX_ADD_RK);
    case OP_SUB: return pairHandler(i, OPX_SUB_RR, OPX_SUB_RK);
    case OP_MUL: return pairHandler(i, OPX_MUL_RR, OPX_MUL_RK);
    case OP_DIV: return pairHandler(i, OPX_DIV_RR, OPX_DIV_RK);
    case OP_EQ: return pairHandler(i, OPX_EQ_RR, OPX_EQ_RK);
    case OP_LT: return pairHandler(i, OPX_LT_RR, OPX_LT_RK);
    case OP_LE: return pairHandler(i, OPX_LE_RR, OPX_LE_RK);
    case OP_GETTABLE:
        if (!isConstant(argC(i)))
            return OPX_GETTABLE_R;
        return stringConstantC(p, i) ? int{OPX_GETTABLE_S} : int{OP_GETTABLE};
    case OP_SELF: return stringConstantC(p, i) ? int{OPX_SELF_S} : int{OP_SELF};
    case OP_BOR:
    case OP_SHL:
    case OP_SHR:
    case OP_POW: return OP_BAND;
    case OP_SETTABLE:
        if (isConstant(argB(i)))  // a field name
            return isConstant(argC(i)) ? int{OP_SETTABLE} : int{OPX_SETTABLE_KR};
        return pairHandler(i, OPX_SETTABLE_RR, OPX_SETTABLE_RK);
    default: return opcode(i);
    }
}

// The handler that runs a register-key GETTABLE and the instruction after
// it, by that instruction's handler; -1 when there is none.
int getTableThen(int next)
{
    switch (next) {
    case OPX_LT_RR: return OPX_GETTABLE_LT;
    case OP_TEST: return OPX_GETTABLE_TEST;
    case OPX_SETTABLE_RR: return OPX_GETTABLE_SETTABLE;
    case OPX_ADD_RR: return OPX_GETTABLE_ADD;
    default: return -1;
    }
}

// The handler that runs an addition and the comparison after it, by their
// own handlers; -1 when there is none.
int addThenCompare(int own, int next)
{
    if (own == OPX_ADD_RR && next == OPX_LT_RR)
        return OPX_ADD_RR_LT;
    if (own == OPX_ADD_RR && next == OPX_LE_RR)
        return OPX_ADD_RR_LE;
    if (own == OPX_ADD_RK && next == OPX_LT_RR)
        return OPX_ADD_RK_LT;
    if (own == OPX_ADD_RK && next == OPX_LE_RR)
        return OPX_ADD_RK_LE;
    return -1;
}

// The handler of the instruction at n, given its own and the own handler of
// the instruction after it (-1 past the last one).
int handlerAt(const FunctionProto* p, size_t n, int own, int next)
{
    if (next >= 0 && storesLoadedBoolean(p->code[n], p->code[n + 1]))
        return OPX_LOADBOOL_SETTABLE;
    const int fused = own == OPX_GETTABLE_R ? getTableThen(next) : addThenCompare(own, next);
    return fused >= 0 ? fused : own;
}

}  // namespace

void buildExecCode(lua_State* L, FunctionProto* p)
{
    const size_t count = static_cast<size_t>(p->codeSize);
    p->exec = newArray<Instruction>(L, count);
    constexpr Instruction kOpMask = ((1u << kSizeOp) - 1) << kPosOp;
    // Backwards: a pair's handler depends on the one after it. The one after
    // keeps its own handler (not the pair's), since jumps may land on it.
    int next = -1;
    for (size_t n = count; n-- > 0;) {
        const int own = ownHandler(p, p->code[n]);
        const int handler = handlerAt(p, n, own, next);
        p->exec[n] = (p->code[n] & ~kOpMask) | (static_cast<Instruction>(handler) << kPosOp);
        next = own;
    }
}

}  // namespace script
