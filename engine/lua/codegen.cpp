#include "lua/codegen.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "lua/execcode.h"
#include "lua/function.h"
#include "lua/memory.h"

namespace script {

namespace {

constexpr int kMaxCode = 1 << 30;

bool isTestOp(OpCode op) { return op == OP_EQ || op == OP_LT || op == OP_LE || op == OP_TEST; }

// Makes room for index `at` in a proto array, clearing the new entries so
// that the prototype is always complete for the collector.
template <typename T>
void growProtoArray(lua_State* L, T*& block, int& capacity, int at, int limit, const char* message, const T& empty)
{
    int old = capacity;
    growVector(L, block, capacity, at, limit, message);
    for (int i = old; i < capacity; ++i)
        block[i] = empty;
}

template <typename T>
void trimProtoArray(lua_State* L, T*& block, int& capacity, int used)
{
    block = resizeArray(L, block, static_cast<size_t>(capacity), static_cast<size_t>(used));
    capacity = used;
}

}  // namespace

FunctionState::FunctionState(Lexer& lexer, FunctionState* outer)
    : lexer_(lexer), L_(lexer.state()), outer_(outer)
{
    proto_ = newProto(L_);
    proto_->source = lexer.source();
    proto_->maxStackSize = 2;  // registers 0 and 1 are always valid
    // Anchored on the stack while it is built.
    if (!lua_checkstack(L_, 1))
        raiseMemoryError(L_);
    setObject(L_->top, proto_, kTagProto);
    ++L_->top;
}

void FunctionState::finish()
{
    removeLocals(0);
    emitReturn(0, 0);
    trimProtoArray(L_, proto_->code, proto_->codeSize, pc_);
    trimProtoArray(L_, proto_->lineInfo, proto_->lineInfoSize, pc_);
    trimProtoArray(L_, proto_->constants, proto_->constantCount, constantCount_);
    trimProtoArray(L_, proto_->protos, proto_->protoCount, protoCount_);
    trimProtoArray(L_, proto_->localVars, proto_->localVarCount, localVarCount_);
    trimProtoArray(L_, proto_->upvalueNames, proto_->upvalueNameCount, upvalueCount_);
    proto_->upvalueCount = static_cast<uint8_t>(upvalueCount_);
    buildExecCode(L_, proto_);
}

void FunctionState::checkLimit(int value, int limit, const char* what)
{
    if (value > limit)
        lexer_.syntaxError("too many " + std::string(what) + " (limit=" + std::to_string(limit) + ")");
}

// --- blocks and locals ---

void FunctionState::enterBlock(BlockScope& block, bool isLoop)
{
    block.outer = block_;
    block.activeAtStart = activeCount_;
    block.isLoop = isLoop;
    block_ = &block;
}

void FunctionState::leaveBlock()
{
    BlockScope* block = block_;
    block_ = block->outer;
    removeLocals(block->activeAtStart);
    if (block->hasCapturedLocal)
        closeUpvaluesFrom(block->activeAtStart);
    freeReg_ = activeCount_;
    patchToHere(block->breakList);
}

void FunctionState::declareLocal(String* name, int n)
{
    checkLimit(activeCount_ + n + 1, kMaxLocals, "local variables");
    growProtoArray(L_, proto_->localVars, proto_->localVarCount, localVarCount_, kMaxCode, "too many local variables",
                   LocalVarInfo{nullptr, 0, 0});
    proto_->localVars[localVarCount_] = LocalVarInfo{name, 0, 0};
    activeLocals_[activeCount_ + n] = localVarCount_++;
}

void FunctionState::activateLocals(int count)
{
    activeCount_ += count;
    for (int i = activeCount_ - count; i < activeCount_; ++i)
        proto_->localVars[activeLocals_[i]].startPc = pc_;
}

void FunctionState::startLastLocalHere() { proto_->localVars[activeLocals_[activeCount_ - 1]].startPc = pc_; }

void FunctionState::removeLocals(int level)
{
    while (activeCount_ > level)
        proto_->localVars[activeLocals_[--activeCount_]].endPc = pc_;
}

int FunctionState::searchLocal(String* name)
{
    for (int i = activeCount_ - 1; i >= 0; --i)
        if (proto_->localVars[activeLocals_[i]].name == name)
            return i;
    return -1;
}

void FunctionState::markCaptured(int reg)
{
    BlockScope* b = block_;
    while (b && b->activeAtStart > reg)
        b = b->outer;
    if (b)
        b->hasCapturedLocal = true;
}

int FunctionState::findUpvalue(String* name, const Expr& source)
{
    for (int i = 0; i < upvalueCount_; ++i)
        if (upvalues_[i].kind == source.kind && upvalues_[i].index == source.info)
            return i;
    checkLimit(upvalueCount_ + 1, kMaxUpvalues, "upvalues");
    growProtoArray<String*>(L_, proto_->upvalueNames, proto_->upvalueNameCount, upvalueCount_, kMaxUpvalues,
                            "too many upvalues", nullptr);
    proto_->upvalueNames[upvalueCount_] = name;
    upvalues_[upvalueCount_] = UpvalueSource{source.kind, source.info};
    return upvalueCount_++;
}

void FunctionState::resolveIn(FunctionState* fs, String* name, Expr& e, bool base)
{
    if (fs == nullptr) {
        e = Expr(ExprKind::Global, kNoRegister);
        return;
    }
    int reg = fs->searchLocal(name);
    if (reg >= 0) {
        e = Expr(ExprKind::Local, reg);
        if (!base)
            fs->markCaptured(reg);
        return;
    }
    resolveIn(fs->outer_, name, e, false);
    if (e.kind == ExprKind::Global) {
        if (base)
            e.info = fs->stringConstant(name);
        return;
    }
    e.info = fs->findUpvalue(name, e);
    e.kind = ExprKind::Upvalue;
}

void FunctionState::resolveName(String* name, Expr& e) { resolveIn(this, name, e, true); }

// --- registers and constants ---

void FunctionState::checkStack(int n)
{
    int needed = freeReg_ + n;
    if (needed > proto_->maxStackSize) {
        if (needed >= kConstantBase)
            lexer_.syntaxError("function or expression too complex");
        proto_->maxStackSize = static_cast<uint8_t>(needed);
    }
}

void FunctionState::reserveRegisters(int n)
{
    checkStack(n);
    freeReg_ += n;
}

void FunctionState::freeRegisterOf(int reg)
{
    // Locals and constants (and the unknown register of a TEST) stay.
    if (reg >= activeCount_ && reg < kConstantBase)
        --freeReg_;
}

void FunctionState::freeExpr(const Expr& e)
{
    if (e.kind == ExprKind::Fixed)
        freeRegisterOf(e.info);
}

int FunctionState::addConstant(const Value& v, uint64_t key, int kind)
{
    auto found = constantIndex_[kind].find(key);
    if (found != constantIndex_[kind].end())
        return found->second;
    Value nil;
    setNil(&nil);
    growProtoArray(L_, proto_->constants, proto_->constantCount, constantCount_, kMaxArgBx,
                   "constant table overflow", nil);
    proto_->constants[constantCount_] = v;
    constantIndex_[kind].emplace(key, constantCount_);
    return constantCount_++;
}

int FunctionState::stringConstant(String* s)
{
    Value v;
    setString(&v, s);
    return addConstant(v, reinterpret_cast<uintptr_t>(s), s->tag == LUA_TWSTRING ? 2 : 1);
}

int FunctionState::numberConstant(lua_Number n)
{
    // A negated 0 is the constant 0 itself: the literal is entered before
    // its negation, and as table keys both are equal.
    if (n == 0)
        n = 0;
    Value v;
    setNumber(&v, n);
    uint64_t bits;
    std::memcpy(&bits, &n, sizeof bits);
    return addConstant(v, bits, 0);
}

int FunctionState::nilConstant()
{
    if (nilIndex_ < 0) {
        Value nil;
        setNil(&nil);
        nilIndex_ = addConstant(nil, 0, 1);  // key 0 is no string's address
    }
    return nilIndex_;
}

// --- instructions and jumps ---

int FunctionState::emit(Instruction i, int line)
{
    dischargePending();
    growProtoArray(L_, proto_->code, proto_->codeSize, pc_, kMaxCode, "code size overflow", Instruction{0});
    growProtoArray(L_, proto_->lineInfo, proto_->lineInfoSize, pc_, kMaxCode, "code size overflow", 0);
    proto_->code[pc_] = i;
    proto_->lineInfo[pc_] = line;
    return pc_++;
}

int FunctionState::emitABC(OpCode op, int a, int b, int c) { return emit(makeABC(op, a, b, c), lexer_.lastLine()); }

int FunctionState::emitABx(OpCode op, int a, int bx) { return emit(makeABx(op, a, bx), lexer_.lastLine()); }

void FunctionState::setLineOfLast(int line) { proto_->lineInfo[pc_ - 1] = line; }

int FunctionState::label()
{
    lastTarget_ = pc_;
    return pc_;
}

int FunctionState::jump()
{
    int pending = pendingJumps_;
    pendingJumps_ = kNoJump;
    int j = emit(makeAsBx(OP_JMP, 0, kNoJump), lexer_.lastLine());
    appendJump(j, pending);
    return j;
}

int FunctionState::jumpTarget(int pc)
{
    int offset = argSBx(proto_->code[pc]);
    return offset == kNoJump ? kNoJump : pc + 1 + offset;
}

void FunctionState::setJumpTarget(int pc, int target)
{
    int offset = target - (pc + 1);
    if (std::abs(offset) > kMaxArgSBx)
        lexer_.syntaxError("control structure too long");
    setArgSBx(proto_->code[pc], offset);
}

Instruction& FunctionState::jumpControl(int pc)
{
    if (pc >= 1 && isTestOp(opcode(proto_->code[pc - 1])))
        return proto_->code[pc - 1];
    return proto_->code[pc];
}

void FunctionState::appendJump(int& list, int other)
{
    if (other == kNoJump)
        return;
    if (list == kNoJump) {
        list = other;
        return;
    }
    int last = list;
    for (int next; (next = jumpTarget(last)) != kNoJump;)
        last = next;
    setJumpTarget(last, other);
}

bool FunctionState::listNeedsValue(int list, int cond)
{
    for (; list != kNoJump; list = jumpTarget(list)) {
        Instruction i = jumpControl(list);
        if (opcode(i) != OP_TEST || argC(i) != cond)
            return true;
    }
    return false;
}

// A TEST whose C is `valueCond` produces the tested value: it goes to
// valueTarget and copies into `reg` (kNoRegister: nowhere). Every other jump
// goes to defaultTarget.
void FunctionState::patchListTo(int list, int valueTarget, int reg, int defaultTarget, int valueCond)
{
    while (list != kNoJump) {
        int next = jumpTarget(list);
        Instruction& control = jumpControl(list);
        bool isTest = opcode(control) == OP_TEST;
        if (isTest && argC(control) == valueCond && reg != kNoRegister) {
            setArgA(control, reg);
            setJumpTarget(list, valueTarget);
        } else {
            if (isTest)
                setArgA(control, argB(control));  // the value is not needed
            setJumpTarget(list, isTest && argC(control) == valueCond ? valueTarget : defaultTarget);
        }
        list = next;
    }
}

void FunctionState::dischargePending()
{
    patchListTo(pendingJumps_, pc_, kNoRegister, pc_, 0);
    pendingJumps_ = kNoJump;
}

void FunctionState::patchList(int list, int target)
{
    if (target == pc_)
        patchToHere(list);
    else
        patchListTo(list, target, kNoRegister, target, 0);
}

void FunctionState::patchToHere(int list)
{
    label();
    appendJump(pendingJumps_, list);
}

int FunctionState::takePendingJumps()
{
    int list = pendingJumps_;
    pendingJumps_ = kNoJump;
    return list;
}

std::vector<Instruction> FunctionState::takeCode(int start)
{
    std::vector<Instruction> code(proto_->code + start, proto_->code + pc_);
    pc_ = start;
    return code;
}

void FunctionState::emitMoved(const std::vector<Instruction>& code, int line)
{
    for (Instruction i : code)
        emit(i, line);
}

void FunctionState::emitReturn(int first, int count) { emitABC(OP_RETURN, first, count + 1, 0); }

void FunctionState::loadNil(int from, int count)
{
    // Extends a LOADNIL just before when no jump lands between them.
    if (pc_ > 0 && pc_ > lastTarget_) {
        Instruction& previous = proto_->code[pc_ - 1];
        if (opcode(previous) == OP_LOADNIL) {
            int first = argA(previous);
            int last = argB(previous);
            if (first <= from && from <= last + 1) {
                if (from + count - 1 > last)
                    setArgB(previous, from + count - 1);
                return;
            }
        }
    }
    emitABC(OP_LOADNIL, from, from + count - 1, 0);
}

int FunctionState::addProto(FunctionProto* p)
{
    growProtoArray<FunctionProto*>(L_, proto_->protos, proto_->protoCount, protoCount_, kMaxArgBx,
                                   "constant table overflow", nullptr);
    proto_->protos[protoCount_] = p;
    return protoCount_++;
}

// --- expressions ---

void FunctionState::setCallResults(Expr& e, int results)
{
    if (e.kind != ExprKind::Call)
        return;
    Instruction& call = instructionOf(e);
    setArgC(call, results + 1);
    if (results == 1) {
        e.kind = ExprKind::Fixed;
        e.info = argA(call);
    }
}

void FunctionState::dischargeVariables(Expr& e)
{
    switch (e.kind) {
    case ExprKind::Local:
        e.kind = ExprKind::Fixed;
        break;
    case ExprKind::Upvalue:
        e.info = emitABC(OP_GETUPVAL, 0, e.info, 0);
        e.kind = ExprKind::Relocatable;
        break;
    case ExprKind::Global:
        e.info = emitABx(OP_GETGLOBAL, 0, e.info);
        e.kind = ExprKind::Relocatable;
        break;
    case ExprKind::Indexed:
        freeRegisterOf(e.aux);
        freeRegisterOf(e.info);
        e.info = emitABC(OP_GETTABLE, 0, e.info, e.aux);
        e.kind = ExprKind::Relocatable;
        break;
    case ExprKind::Call:
        setCallResults(e, 1);
        break;
    default:
        break;
    }
}

void FunctionState::dischargeToRegister(Expr& e, int reg)
{
    dischargeVariables(e);
    switch (e.kind) {
    case ExprKind::Nil:
        loadNil(reg, 1);
        break;
    case ExprKind::True:
    case ExprKind::False:
        emitABC(OP_LOADBOOL, reg, e.kind == ExprKind::True, 0);
        break;
    case ExprKind::Constant:
        emitABx(OP_LOADK, reg, e.info);
        break;
    case ExprKind::Relocatable:
        setArgA(instructionOf(e), reg);
        break;
    case ExprKind::Fixed:
        if (reg != e.info)
            emitABC(OP_MOVE, reg, e.info, 0);
        break;
    default:
        return;  // Void or Jump: nothing to put anywhere yet
    }
    e.info = reg;
    e.kind = ExprKind::Fixed;
}

void FunctionState::dischargeToAnyRegister(Expr& e)
{
    if (e.kind != ExprKind::Fixed) {
        reserveRegisters(1);
        dischargeToRegister(e, freeReg_ - 1);
    }
}

void FunctionState::toRegister(Expr& e, int reg)
{
    dischargeToRegister(e, reg);
    if (e.kind == ExprKind::Jump)
        appendJump(e.trueList, e.info);
    if (e.hasJumps()) {
        int loadFalse = kNoJump;
        int loadTrue = kNoJump;
        if (listNeedsValue(e.trueList, 1) || listNeedsValue(e.falseList, 0)) {
            int skip = e.kind == ExprKind::Jump ? kNoJump : jump();
            loadFalse = label();
            emitABC(OP_LOADBOOL, reg, 0, 1);
            loadTrue = label();
            emitABC(OP_LOADBOOL, reg, 1, 0);
            patchToHere(skip);
        }
        int end = label();
        patchListTo(e.falseList, end, reg, loadFalse, 0);
        patchListTo(e.trueList, end, reg, loadTrue, 1);
    }
    e.falseList = e.trueList = kNoJump;
    e.info = reg;
    e.kind = ExprKind::Fixed;
}

void FunctionState::toNextRegister(Expr& e)
{
    dischargeVariables(e);
    freeExpr(e);
    reserveRegisters(1);
    toRegister(e, freeReg_ - 1);
}

int FunctionState::toAnyRegister(Expr& e)
{
    dischargeVariables(e);
    if (e.kind == ExprKind::Fixed) {
        if (!e.hasJumps())
            return e.info;
        if (e.info >= activeCount_) {  // a temporary: its register can take the result
            toRegister(e, e.info);
            return e.info;
        }
    }
    toNextRegister(e);
    return e.info;
}

void FunctionState::toValue(Expr& e)
{
    if (e.hasJumps())
        toAnyRegister(e);
    else
        dischargeVariables(e);
}

int FunctionState::toRegisterOrConstant(Expr& e)
{
    toValue(e);
    switch (e.kind) {
    case ExprKind::Nil:
        if (constantCount_ + kConstantBase <= kMaxArgC) {
            e.info = nilConstant();
            e.kind = ExprKind::Constant;
        }
        break;
    default:
        break;
    }
    if (e.kind == ExprKind::Constant && e.info + kConstantBase <= kMaxArgC)
        return e.info + kConstantBase;
    return toAnyRegister(e);
}

void FunctionState::store(const Expr& var, Expr& value)
{
    switch (var.kind) {
    case ExprKind::Local:
        freeExpr(value);
        toRegister(value, var.info);
        return;
    case ExprKind::Upvalue:
        emitABC(OP_SETUPVAL, toAnyRegister(value), var.info, 0);
        break;
    case ExprKind::Global:
        emitABx(OP_SETGLOBAL, toAnyRegister(value), var.info);
        break;
    case ExprKind::Indexed:
        emitABC(OP_SETTABLE, var.info, var.aux, toRegisterOrConstant(value));
        break;
    default:
        break;
    }
    freeExpr(value);
}

void FunctionState::methodSelf(Expr& e, Expr& key)
{
    toAnyRegister(e);
    freeExpr(e);
    int func = freeReg_;
    reserveRegisters(2);
    emitABC(OP_SELF, func, e.info, toRegisterOrConstant(key));
    freeExpr(key);
    e.info = func;
    e.kind = ExprKind::Fixed;
}

void FunctionState::indexed(Expr& table, Expr& key)
{
    table.aux = toRegisterOrConstant(key);
    table.kind = ExprKind::Indexed;
}

int FunctionState::conditionalJump(OpCode op, int a, int b, int c)
{
    emitABC(op, a, b, c);
    return jump();
}

void FunctionState::invertJump(const Expr& e)
{
    Instruction& control = jumpControl(e.info);
    setArgA(control, !argA(control));
}

int FunctionState::jumpOnCondition(Expr& e, bool cond)
{
    if (e.kind == ExprKind::Relocatable) {
        Instruction i = instructionOf(e);
        if (opcode(i) == OP_NOT) {
            --pc_;  // test the operand of the NOT the other way round
            return conditionalJump(OP_TEST, kNoRegister, argB(i), !cond);
        }
    }
    dischargeToAnyRegister(e);
    freeExpr(e);
    return conditionalJump(OP_TEST, kNoRegister, e.info, cond);
}

void FunctionState::goIfTrue(Expr& e)
{
    dischargeVariables(e);
    int j;
    switch (e.kind) {
    case ExprKind::Constant:
    case ExprKind::True:
        j = kNoJump;  // always true
        break;
    case ExprKind::False:
        j = jump();  // always false (nil is tested, as its value may be needed)
        break;
    case ExprKind::Jump:
        invertJump(e);
        j = e.info;
        break;
    default:
        j = jumpOnCondition(e, false);
        break;
    }
    appendJump(e.falseList, j);
    patchToHere(e.trueList);
    e.trueList = kNoJump;
}

void FunctionState::goIfFalse(Expr& e)
{
    dischargeVariables(e);
    int j;
    switch (e.kind) {
    case ExprKind::Nil:
    case ExprKind::False:
        j = kNoJump;
        break;
    case ExprKind::True:
        j = jump();  // the LOADBOOL at the target gives the value
        break;
    case ExprKind::Jump:
        j = e.info;
        break;
    default:
        j = jumpOnCondition(e, true);
        break;
    }
    appendJump(e.trueList, j);
    patchToHere(e.falseList);
    e.falseList = kNoJump;
}

void FunctionState::codeNot(Expr& e)
{
    dischargeVariables(e);
    switch (e.kind) {
    case ExprKind::Nil:
    case ExprKind::False:
        e.kind = ExprKind::True;
        break;
    case ExprKind::Constant:
    case ExprKind::True:
        e.kind = ExprKind::False;
        break;
    case ExprKind::Jump:
        invertJump(e);
        break;
    case ExprKind::Relocatable:
    case ExprKind::Fixed:
        dischargeToAnyRegister(e);
        freeExpr(e);
        e.info = emitABC(OP_NOT, 0, e.info, 0);
        e.kind = ExprKind::Relocatable;
        break;
    default:
        break;
    }
    std::swap(e.trueList, e.falseList);
}

void FunctionState::prefix(UnaryOp op, Expr& e)
{
    if (op == UnaryOp::Not) {
        codeNot(e);
        return;
    }
    toValue(e);
    if (e.kind == ExprKind::Constant && isNumber(&proto_->constants[e.info])) {
        // The one folding of constants: the negation is a further constant,
        // and the numeral keeps its entry.
        e.info = numberConstant(-proto_->constants[e.info].n);
        return;
    }
    toAnyRegister(e);
    freeExpr(e);
    e.info = emitABC(OP_UNM, 0, e.info, 0);
    e.kind = ExprKind::Relocatable;
}

void FunctionState::infix(BinaryOp op, Expr& e)
{
    switch (op) {
    case BinaryOp::And:
        goIfTrue(e);
        break;
    case BinaryOp::Or:
        goIfFalse(e);
        break;
    case BinaryOp::Concat:
        toNextRegister(e);  // the operands of CONCAT are consecutive registers
        break;
    default:
        toRegisterOrConstant(e);
        break;
    }
}

void FunctionState::codeComparison(BinaryOp op, Expr& left, int o1, int o2)
{
    int cond = 1;
    OpCode code = OP_EQ;
    switch (op) {
    case BinaryOp::Ne:
        cond = 0;
        break;
    case BinaryOp::Lt:
        code = OP_LT;
        break;
    case BinaryOp::Le:
        code = OP_LE;
        break;
    case BinaryOp::Gt:
        code = OP_LT;
        std::swap(o1, o2);
        break;
    case BinaryOp::Ge:
        code = OP_LE;
        std::swap(o1, o2);
        break;
    default:
        break;
    }
    left.info = conditionalJump(code, cond, o1, o2);
    left.kind = ExprKind::Jump;
}

void FunctionState::postfix(BinaryOp op, Expr& left, Expr& right)
{
    switch (op) {
    case BinaryOp::And:
        dischargeVariables(right);
        appendJump(right.falseList, left.falseList);
        left = right;
        return;
    case BinaryOp::Or:
        dischargeVariables(right);
        appendJump(right.trueList, left.trueList);
        left = right;
        return;
    case BinaryOp::Concat:
        toValue(right);
        if (right.kind == ExprKind::Relocatable && opcode(instructionOf(right)) == OP_CONCAT) {
            // a .. (b .. c): one CONCAT over the whole run
            freeExpr(left);
            setArgB(instructionOf(right), left.info);
            left.kind = ExprKind::Relocatable;
            left.info = right.info;
        } else {
            toNextRegister(right);
            freeExpr(right);
            freeExpr(left);
            left.info = emitABC(OP_CONCAT, 0, left.info, right.info);
            left.kind = ExprKind::Relocatable;
        }
        return;
    default:
        break;
    }
    int o1 = toRegisterOrConstant(left);
    int o2 = toRegisterOrConstant(right);
    freeExpr(right);
    freeExpr(left);
    if (op <= BinaryOp::Pow) {
        left.info = emitABC(static_cast<OpCode>(OP_ADD + static_cast<int>(op)), 0, o1, o2);
        left.kind = ExprKind::Relocatable;
    } else {
        codeComparison(op, left, o1, o2);
    }
}

}  // namespace script
