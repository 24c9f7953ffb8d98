// The interpreter's copy of a function's code. Instructions whose operands
// are known to be registers, or a register and a constant, name a handler of
// their own there, which takes its operands without testing their kind. The
// copy keeps every instruction at its place and with its fields, so a
// position in it is the same position in the code; the code itself is what
// is dumped, checked and inspected for messages.
#pragma once

#include "lua/object.h"

namespace script {

// Handlers past the instruction set's own codes: _RR takes registers B and
// C, _RK register B and constant C, _KR constant B and register C, _R
// register C, _S a string constant C.
enum ExecOp {
    // The copy runs OP_BOR, OP_SHL, OP_SHR and OP_POW by OP_BAND's handler,
    // which reads the opcode from the code, so their numbers are free: they
    // name an addition and the comparison after it (OPX_LT_RR or OPX_LE_RR),
    // run as one: a loop's step and its test.
    OPX_ADD_RR_LT = OP_BOR,
    OPX_ADD_RR_LE = OP_SHL,
    OPX_ADD_RK_LT = OP_SHR,
    OPX_ADD_RK_LE = OP_POW,
    OPX_ADD_RR = kNumOpCodes,
    OPX_ADD_RK,
    OPX_SUB_RR,
    OPX_SUB_RK,
    OPX_MUL_RR,
    OPX_MUL_RK,
    OPX_DIV_RR,
    OPX_DIV_RK,
    OPX_EQ_RR,
    OPX_EQ_RK,
    OPX_LT_RR,
    OPX_LT_RK,
    OPX_LE_RR,
    OPX_LE_RK,
    OPX_GETTABLE_R,
    OPX_GETTABLE_S,
    OPX_SETTABLE_RR,
    OPX_SETTABLE_RK,
    OPX_SETTABLE_KR,
    OPX_LOADBOOL_SETTABLE,  // a LOADBOOL whose register the next SETTABLE stores: runs both
    OPX_SELF_S,
    // A GETTABLE with a register key, then the handler named after it.
    OPX_GETTABLE_LT,        // OPX_LT_RR
    OPX_GETTABLE_TEST,      // OP_TEST
    OPX_GETTABLE_SETTABLE,  // OPX_SETTABLE_RR
    OPX_GETTABLE_ADD,       // OPX_ADD_RR
    kNumExecOps
};
static_assert(kNumExecOps <= 1 << kSizeOp, "every handler fits the opcode field");

// Makes p->exec from p->code (codeSize instructions).
void buildExecCode(lua_State* L, FunctionProto* p);

}  // namespace script
