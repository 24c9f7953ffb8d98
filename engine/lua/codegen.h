// The code generator: one FunctionState per function being compiled holds its
// prototype, registers, blocks and pending jumps, and turns expression
// descriptions (Expr) into instructions.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "lua/lexer.h"

namespace script {

// Changing one field of an instruction.
inline void setField(Instruction& i, int pos, int size, int value)
{
    Instruction mask = ((1u << size) - 1) << pos;
    i = (i & ~mask) | ((static_cast<Instruction>(value) << pos) & mask);
}
inline void setOpcode(Instruction& i, OpCode op) { setField(i, kPosOp, kSizeOp, op); }
inline void setArgA(Instruction& i, int v) { setField(i, kPosA, kSizeA, v); }
inline void setArgB(Instruction& i, int v) { setField(i, kPosB, kSizeB, v); }
inline void setArgC(Instruction& i, int v) { setField(i, kPosC, kSizeC, v); }
inline void setArgSBx(Instruction& i, int v) { setField(i, kPosBx, kSizeBx, v + kMaxArgSBx); }

// The end of a jump list.
constexpr int kNoJump = -1;
// TEST's A before it is known whether the tested value is needed.
constexpr int kNoRegister = kMaxArgA;

// Limits of a function.
constexpr int kMaxLocals = 200;
constexpr int kMaxUpvalues = 32;
constexpr int kMaxParams = 100;

enum class ExprKind : uint8_t {
    Void,        // no value (an empty list)
    Nil,
    True,
    False,
    Constant,    // info: constant index
    Local,       // info: register
    Upvalue,     // info: upvalue index
    Global,      // info: constant index of the name
    Indexed,     // info: table register, aux: key as RK operand
    Jump,        // info: pc of the conditional jump
    Relocatable, // info: pc of the instruction whose A will receive the value
    Fixed,       // info: register holding the value
    Call         // info: pc of the CALL
};

struct Expr {
    ExprKind kind = ExprKind::Void;
    int info = 0;
    int aux = 0;
    int trueList = kNoJump;   // jumps taken when the value is true
    int falseList = kNoJump;  // jumps taken when the value is false

    Expr() = default;
    Expr(ExprKind k, int i) : kind(k), info(i) {}
    bool hasJumps() const { return trueList != falseList; }
};

enum class BinaryOp : uint8_t {
    Add, Sub, Mul, Div, BitAnd, BitOr, ShiftLeft, ShiftRight, Pow,  // order of OP_ADD..OP_POW
    Concat,
    Ne, Eq, Lt, Le, Gt, Ge,
    And, Or,
    None
};

enum class UnaryOp : uint8_t { Minus, Not, None };

// A block of statements; loops keep their pending break and continue jumps.
struct BlockScope {
    BlockScope* outer = nullptr;
    int activeAtStart = 0;   // active locals when the block began
    bool isLoop = false;
    bool hasCapturedLocal = false;  // some local of the block is an upvalue of an inner function
    int breakList = kNoJump;
    int continueList = kNoJump;
};

struct UpvalueSource {
    ExprKind kind;  // Local or Upvalue of the enclosing function
    int index;
};

class FunctionState {
public:
    // Creates the prototype and anchors it on the stack.
    FunctionState(Lexer& lexer, FunctionState* outer);
    // Emits the final RETURN and trims the arrays; the prototype stays on the
    // stack until the caller has made it reachable otherwise.
    void finish();
    // Upvalue i of the function: a local or an upvalue of the enclosing one.
    const UpvalueSource& upvalueSource(int i) const { return upvalues_[i]; }

    FunctionProto* proto() const { return proto_; }
    FunctionState* outer() const { return outer_; }
    Lexer& lexer() const { return lexer_; }

    // Blocks and locals.
    void enterBlock(BlockScope& block, bool isLoop);
    void leaveBlock();
    BlockScope* block() const { return block_; }
    // Declares the n-th local of a statement; it becomes visible on activateLocals.
    void declareLocal(String* name, int n);
    void activateLocals(int count);
    // Debug information shows the newest local only from the next instruction on.
    void startLastLocalHere();
    int activeLocals() const { return activeCount_; }
    // Resolves a name to a local, an upvalue or a global.
    void resolveName(String* name, Expr& e);

    // Registers.
    int freeRegister() const { return freeReg_; }
    void setFreeRegister(int reg) { freeReg_ = reg; }
    void checkStack(int n);
    void reserveRegisters(int n);

    // Constants.
    int stringConstant(String* s);
    int numberConstant(lua_Number n);

    // Instructions.
    int pc() const { return pc_; }
    int emitABC(OpCode op, int a, int b, int c);
    int emitABx(OpCode op, int a, int bx);
    Instruction& instruction(int pc) { return proto_->code[pc]; }
    Instruction& instructionOf(const Expr& e) { return proto_->code[e.info]; }
    void setLineOfLast(int line);
    int jump();
    int label();
    void patchList(int list, int target);
    void patchToHere(int list);
    void appendJump(int& list, int other);
    // The jumps waiting for the next instruction, no longer waiting.
    int takePendingJumps();
    // Removes the code from `start` on, to be emitted again elsewhere by
    // emitMoved; jumps inside it are relative and stay valid.
    std::vector<Instruction> takeCode(int start);
    void emitMoved(const std::vector<Instruction>& code, int line);
    void emitReturn(int first, int count);
    void loadNil(int from, int count);
    void closeUpvaluesFrom(int level) { emitABC(OP_CLOSE, level, 0, 0); }
    int addProto(FunctionProto* p);
    // Raises "too many <what> (limit=<limit>)" when value > limit.
    void checkLimit(int value, int limit, const char* what);

    // Expressions.
    void dischargeVariables(Expr& e);
    void toNextRegister(Expr& e);
    int toAnyRegister(Expr& e);
    void toValue(Expr& e);
    int toRegisterOrConstant(Expr& e);
    void toRegister(Expr& e, int reg);
    void store(const Expr& var, Expr& value);
    void methodSelf(Expr& e, Expr& key);
    void indexed(Expr& table, Expr& key);
    void goIfTrue(Expr& e);
    void goIfFalse(Expr& e);
    void setCallResults(Expr& e, int results);
    void freeExpr(const Expr& e);
    void prefix(UnaryOp op, Expr& e);
    void infix(BinaryOp op, Expr& e);
    void postfix(BinaryOp op, Expr& left, Expr& right);

private:
    int emit(Instruction i, int line);
    int addConstant(const Value& v, uint64_t key, int kind);
    void removeLocals(int level);
    int nilConstant();
    void freeRegisterOf(int reg);
    void dischargeToRegister(Expr& e, int reg);
    void dischargeToAnyRegister(Expr& e);
    int conditionalJump(OpCode op, int a, int b, int c);
    int jumpOnCondition(Expr& e, bool cond);
    void invertJump(const Expr& e);
    void codeNot(Expr& e);
    void codeComparison(BinaryOp op, Expr& left, int o1, int o2);
    int jumpTarget(int pc);
    void setJumpTarget(int pc, int target);
    Instruction& jumpControl(int pc);
    bool listNeedsValue(int list, int cond);
    void patchListTo(int list, int valueTarget, int reg, int defaultTarget, int valueCond);
    void dischargePending();
    int searchLocal(String* name);
    void markCaptured(int reg);
    int findUpvalue(String* name, const Expr& source);
    static void resolveIn(FunctionState* fs, String* name, Expr& e, bool base);

    Lexer& lexer_;
    lua_State* L_;
    FunctionState* outer_;
    FunctionProto* proto_;
    BlockScope* block_ = nullptr;
    int pc_ = 0;
    int lastTarget_ = -1;        // pc of the last jump target
    int pendingJumps_ = kNoJump; // jumps to the next instruction to be emitted
    int freeReg_ = 0;
    int activeCount_ = 0;
    int localVarCount_ = 0;      // entries used in proto->localVars
    int constantCount_ = 0;
    int protoCount_ = 0;
    int upvalueCount_ = 0;
    int nilIndex_ = -1;
    int activeLocals_[kMaxLocals];            // indices into proto->localVars
    UpvalueSource upvalues_[kMaxUpvalues];
    std::unordered_map<uint64_t, int> constantIndex_[3];  // numbers, strings, wide strings
};

}  // namespace script
