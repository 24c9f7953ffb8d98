#include "lua/execcode.h"

#include "lua/memory.h"

namespace script {

namespace {

// The handler of an instruction whose two operands B and C may each be a
// register or a constant, from its registers-only and constant-C handlers.
int pairHandler(Instruction i, int bothRegisters, int constantC)
{
    if (isConstant(argB(i)))
        return -1;
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

// The handler of instruction i of p, or -1 to keep its own.
int execHandler(const FunctionProto* p, Instruction i)
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
        return stringConstantC(p, i) ? OPX_GETTABLE_S : -1;
    case OP_SELF: return stringConstantC(p, i) ? OPX_SELF_S : -1;
    case OP_SETTABLE:
        if (isConstant(argB(i)))  // a field name
            return isConstant(argC(i)) ? -1 : OPX_SETTABLE_KR;
        return pairHandler(i, OPX_SETTABLE_RR, OPX_SETTABLE_RK);
    default: return -1;
    }
}

}  // namespace

void buildExecCode(lua_State* L, FunctionProto* p)
{
    const size_t count = static_cast<size_t>(p->codeSize);
    p->exec = newArray<Instruction>(L, count);
    constexpr Instruction kOpMask = ((1u << kSizeOp) - 1) << kPosOp;
    for (size_t n = 0; n < count; n++) {
        const Instruction i = p->code[n];
        const bool fused = n + 1 < count && storesLoadedBoolean(i, p->code[n + 1]);
        const int handler = fused ? OPX_LOADBOOL_SETTABLE : execHandler(p, i);
        p->exec[n] = handler < 0 ? i : (i & ~kOpMask) | (static_cast<Instruction>(handler) << kPosOp);
    }
}

}  // namespace script
