#include "lua/parser.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "lua/codegen.h"
#include "lua/strings.h"

namespace script {

namespace {

// Nested statements and expressions the parser accepts.
constexpr int kMaxSyntaxLevels = 200;
// Instructions a `while` condition may compile to.
constexpr int kMaxWhileCondition = 100;
// `break N` and `continue N` name at most this many loops outwards.
constexpr int kMaxLoopNumber = 100;
// Largest table size a constructor's hint may ask for.
constexpr lua_Number kMaxSizeHint = 1 << 26;

struct Priority {
    int left;
    int right;
};

// Indexed by BinaryOp.
constexpr Priority kPriorities[] = {
    {6, 6}, {6, 6}, {7, 7}, {7, 7},          // + - * /
    {8, 8}, {8, 8}, {8, 8}, {8, 8},          // & | << >>
    {10, 9},                                 // ^ (exclusive or)
    {5, 4},                                  // .. (right associative)
    {3, 3}, {3, 3}, {3, 3}, {3, 3}, {3, 3}, {3, 3},  // ~= == < <= > >=
    {2, 2}, {1, 1},                          // and or
};
constexpr int kUnaryPriority = 8;

BinaryOp binaryOf(int token)
{
    switch (token) {
    case '+': return BinaryOp::Add;
    case '-': return BinaryOp::Sub;
    case '*': return BinaryOp::Mul;
    case '/': return BinaryOp::Div;
    case '&': return BinaryOp::BitAnd;
    case '|': return BinaryOp::BitOr;
    case kTokenShl: return BinaryOp::ShiftLeft;
    case kTokenShr: return BinaryOp::ShiftRight;
    case '^': return BinaryOp::Pow;
    case kTokenConcat: return BinaryOp::Concat;
    case kTokenNe: return BinaryOp::Ne;
    case kTokenEq: return BinaryOp::Eq;
    case '<': return BinaryOp::Lt;
    case kTokenLe: return BinaryOp::Le;
    case '>': return BinaryOp::Gt;
    case kTokenGe: return BinaryOp::Ge;
    case kTokenAnd: return BinaryOp::And;
    case kTokenOr: return BinaryOp::Or;
    default: return BinaryOp::None;
    }
}

UnaryOp unaryOf(int token)
{
    if (token == kTokenNot)
        return UnaryOp::Not;
    if (token == '-')
        return UnaryOp::Minus;
    return UnaryOp::None;
}

int floorLog2(unsigned int x)
{
    int log = -1;
    for (; x != 0; x >>= 1)
        ++log;
    return log;
}

bool isAssignable(const Expr& e)
{
    return e.kind == ExprKind::Local || e.kind == ExprKind::Upvalue || e.kind == ExprKind::Global ||
           e.kind == ExprKind::Indexed;
}

// Fields of a table constructor being compiled.
struct ConstructorState {
    Expr* table;
    Expr pending;     // the last list item, not yet stored
    int listItems = 0;
    int records = 0;
    int toStore = 0;  // list items waiting for a SETLIST
};

class Parser {
public:
    Parser(lua_State* L, ChunkInput& input, String* source) : lexer_(L, input, source) {}

    FunctionProto* parseMain()
    {
        FunctionState main(lexer_, nullptr);
        fs_ = &main;
        lexer_.next();
        statementList();
        if (token() != kTokenEos)
            lexer_.syntaxError("<eof> expected");
        main.finish();
        return main.proto();
    }

private:
    int token() const { return lexer_.token().code; }
    void next() { lexer_.next(); }

    bool testNext(int t)
    {
        if (token() != t)
            return false;
        next();
        return true;
    }

    [[noreturn]] void expected(int t) { lexer_.syntaxError("`" + Lexer::tokenName(t) + "' expected"); }

    void check(int t)
    {
        if (token() != t)
            expected(t);
        next();
    }

    void checkMatch(int what, int who, int line)
    {
        if (testNext(what))
            return;
        if (line == lexer_.line())
            expected(what);
        char message[96];
        std::snprintf(message, sizeof message, "`%s' expected (to close `%s' at line %d)",
                      Lexer::tokenName(what).c_str(), Lexer::tokenName(who).c_str(), line);
        lexer_.syntaxError(message);
    }

    String* checkName()
    {
        if (token() != kTokenName)
            lexer_.syntaxError("<name> expected");
        String* name = lexer_.token().string;
        next();
        return name;
    }

    void enterLevel()
    {
        if (++depth_ > kMaxSyntaxLevels)
            lexer_.syntaxError("too many syntax levels");
    }
    void leaveLevel() { --depth_; }

    bool blockFollows() const
    {
        int t = token();
        return t == kTokenElse || t == kTokenElseif || t == kTokenEnd || t == kTokenUntil || t == kTokenEos;
    }

    String* internName(const char* text) { return newString(lexer_.state(), text); }

    // --- statements ---

    void statementList()
    {
        enterLevel();
        bool last = false;
        while (!last && !blockFollows()) {
            last = statement();
            testNext(';');
            fs_->setFreeRegister(fs_->activeLocals());
        }
        leaveLevel();
    }

    void block()
    {
        BlockScope scope;
        fs_->enterBlock(scope, false);
        statementList();
        fs_->leaveBlock();
    }

    // Returns true for the statements that must end their block.
    bool statement()
    {
        int line = lexer_.line();
        switch (token()) {
        case kTokenIf:
            ifStatement(line);
            return false;
        case kTokenWhile:
            whileStatement(line);
            return false;
        case kTokenDo:
            next();
            block();
            checkMatch(kTokenEnd, kTokenDo, line);
            return false;
        case kTokenFor:
            forStatement(line);
            return false;
        case kTokenRepeat:
            repeatStatement(line);
            return false;
        case kTokenFunction:
            functionStatement(line);
            return false;
        case kTokenLocal:
            next();
            if (testNext(kTokenFunction))
                localFunction();
            else
                localStatement();
            return false;
        case kTokenReturn:
            returnStatement();
            return true;
        case kTokenBreak:
            loopExit(false);
            return true;
        case kTokenContinue:
            loopExit(true);
            return true;
        default:
            expressionStatement();
            return false;
        }
    }

    // Parses a condition; returns the jumps taken when it is false.
    int condition()
    {
        Expr e;
        expression(e);
        if (e.kind == ExprKind::Nil)
            e.kind = ExprKind::False;
        fs_->goIfTrue(e);
        return e.falseList;
    }

    int testThenBlock()
    {
        next();  // if or elseif
        int falseList = condition();
        check(kTokenThen);
        block();
        return falseList;
    }

    void ifStatement(int line)
    {
        int exits = kNoJump;
        int falseList = testThenBlock();
        while (token() == kTokenElseif) {
            fs_->appendJump(exits, fs_->jump());
            fs_->patchToHere(falseList);
            falseList = testThenBlock();
        }
        if (token() == kTokenElse) {
            fs_->appendJump(exits, fs_->jump());
            fs_->patchToHere(falseList);
            next();
            block();
        } else {
            fs_->appendJump(exits, falseList);
        }
        fs_->patchToHere(exits);
        checkMatch(kTokenEnd, kTokenIf, line);
    }

    // The condition is compiled, then moved behind the body: the loop enters
    // with a jump to it, and it jumps back to the body while it holds.
    void whileStatement(int line)
    {
        next();
        int entry = fs_->jump();
        int conditionStart = fs_->label();
        Expr e;
        expression(e);
        if (e.kind == ExprKind::Constant)
            e.kind = ExprKind::True;
        int conditionLine = lexer_.line();
        fs_->goIfFalse(e);
        fs_->appendJump(e.falseList, fs_->takePendingJumps());
        if (fs_->pc() - conditionStart > kMaxWhileCondition)
            lexer_.syntaxError("`while' condition too complex");
        std::vector<Instruction> conditionCode = fs_->takeCode(conditionStart);
        BlockScope loop;
        fs_->enterBlock(loop, true);
        check(kTokenDo);
        int bodyStart = fs_->label();
        block();
        fs_->patchToHere(entry);
        fs_->patchToHere(loop.continueList);  // continue tests the condition again
        int shift = fs_->pc() - conditionStart;
        moveJumpList(e.trueList, shift);
        moveJumpList(e.falseList, shift);
        fs_->emitMoved(conditionCode, conditionLine);
        checkMatch(kTokenEnd, kTokenWhile, line);
        fs_->leaveBlock();
        fs_->patchList(e.trueList, bodyStart);
        fs_->patchToHere(e.falseList);
    }

    static void moveJumpList(int& list, int shift)
    {
        if (list != kNoJump)
            list += shift;
    }

    void repeatStatement(int line)
    {
        next();
        int start = fs_->label();
        BlockScope loop;
        fs_->enterBlock(loop, true);
        block();  // its own scope: the condition does not see the body's locals
        fs_->patchToHere(loop.continueList);
        checkMatch(kTokenUntil, kTokenRepeat, line);
        fs_->patchList(condition(), start);
        fs_->leaveBlock();
    }

    void forStatement(int line)
    {
        BlockScope scope;  // the scope of the loop's variables
        fs_->enterBlock(scope, false);
        next();
        String* name = checkName();
        switch (token()) {
        case '=':
            numericFor(name, line);
            break;
        case ',':
        case kTokenIn:
            genericFor(name);
            break;
        default:
            lexer_.syntaxError("`=' or `in' expected");
        }
        checkMatch(kTokenEnd, kTokenFor, line);
        fs_->leaveBlock();
    }

    void expressionToNextRegister()
    {
        Expr e;
        expression(e);
        fs_->toNextRegister(e);
    }

    void numericFor(String* name, int line)
    {
        int base = fs_->freeRegister();
        fs_->declareLocal(name, 0);
        fs_->declareLocal(internName("(for limit)"), 1);
        fs_->declareLocal(internName("(for step)"), 2);
        check('=');
        expressionToNextRegister();
        check(',');
        expressionToNextRegister();
        if (testNext(',')) {
            expressionToNextRegister();
        } else {
            fs_->emitABx(OP_LOADK, fs_->freeRegister(), fs_->numberConstant(1));
            fs_->reserveRegisters(1);
        }
        // The first FORLOOP adds the step back before its test.
        fs_->emitABC(OP_SUB, base, base, base + 2);
        fs_->jump();
        forBody(base, line, 3, true);
    }

    void genericFor(String* indexName)
    {
        int base = fs_->freeRegister();
        int count = 0;
        fs_->declareLocal(internName("(for generator)"), count++);
        fs_->declareLocal(internName("(for state)"), count++);
        fs_->declareLocal(indexName, count++);
        while (testNext(','))
            fs_->declareLocal(checkName(), count++);
        check(kTokenIn);
        int line = lexer_.line();
        Expr e;
        adjustAssign(count, expressionList(e), e);
        fs_->checkStack(3);  // room to call the generator
        fs_->emitABx(OP_TFORPREP, base, kNoJump + kMaxArgSBx);
        forBody(base, line, count, false);
    }

    void forBody(int base, int line, int count, bool numeric)
    {
        fs_->activateLocals(count);
        check(kTokenDo);
        BlockScope loop;
        fs_->enterBlock(loop, true);
        int bodyStart = fs_->label();
        block();
        fs_->patchToHere(bodyStart - 1);  // the first jump goes to the loop instruction
        fs_->patchToHere(loop.continueList);
        int loopPc = numeric ? fs_->emitABx(OP_FORLOOP, base, kNoJump + kMaxArgSBx)
                             : fs_->emitABC(OP_TFORLOOP, base, 0, count - 3);
        fs_->setLineOfLast(line);
        fs_->patchList(numeric ? loopPc : fs_->jump(), bodyStart);
        fs_->leaveBlock();
    }

    // `break [N]` and `continue [N]`.
    void loopExit(bool isContinue)
    {
        next();
        int number = 1;
        if (token() == kTokenNumber) {
            lua_Number n = lexer_.token().number;
            if (n != std::floor(n))
                lexer_.syntaxError("loop block number must be integer");
            if (n < 1 || n > kMaxLoopNumber)
                lexer_.syntaxError("loop block number out of range");
            number = static_cast<int>(n);
            next();
        }
        // Leaving more than one loop always closes upvalues: a closure made
        // later in an outer loop's body may capture a local of a block left here.
        bool close = number > 1;
        BlockScope* b = fs_->block();
        for (;;) {
            if (b == nullptr)
                lexer_.syntaxError(isContinue ? "no loop to continue" : "no loop to break");
            if (b->isLoop && --number == 0)
                break;
            close = close || b->hasCapturedLocal;
            b = b->outer;
        }
        if (close)
            fs_->closeUpvaluesFrom(b->activeAtStart);
        fs_->appendJump(isContinue ? b->continueList : b->breakList, fs_->jump());
    }

    void functionStatement(int line)
    {
        next();
        Expr target;
        singleVariable(target);
        bool method = false;
        while (token() == '.')
            field(target);
        if (token() == ':') {
            method = true;
            field(target);
        }
        Expr f;
        functionBody(f, method, line);
        fs_->store(target, f);
        fs_->setLineOfLast(line);  // the definition happens on its first line
    }

    void localFunction()
    {
        fs_->declareLocal(checkName(), 0);
        Expr var(ExprKind::Local, fs_->freeRegister());
        fs_->reserveRegisters(1);
        fs_->activateLocals(1);
        Expr f;
        functionBody(f, false, lexer_.line());
        fs_->store(var, f);
        fs_->startLastLocalHere();  // the name is in scope for the body, but holds the function only now
    }

    void localStatement()
    {
        int count = 0;
        do
            fs_->declareLocal(checkName(), count++);
        while (testNext(','));
        Expr e;
        int values = 0;
        if (testNext('='))
            values = expressionList(e);
        adjustAssign(count, values, e);
        fs_->activateLocals(count);
    }

    // Makes `values` expressions (the last one in e) fill `count` registers.
    void adjustAssign(int count, int values, Expr& e)
    {
        int extra = count - values;
        if (e.kind == ExprKind::Call) {
            extra = extra + 1 > 0 ? extra + 1 : 0;  // the call gives the missing values
            if (extra > 0)
                fs_->reserveRegisters(extra - 1);
            fs_->setCallResults(e, extra);
            return;
        }
        if (e.kind != ExprKind::Void)
            fs_->toNextRegister(e);
        if (extra > 0) {
            int reg = fs_->freeRegister();
            fs_->reserveRegisters(extra);
            fs_->loadNil(reg, extra);
        }
    }

    void returnStatement()
    {
        next();
        int first = 0;
        int count = 0;
        if (!blockFollows() && token() != ';') {
            Expr e;
            count = expressionList(e);
            if (e.kind == ExprKind::Call) {
                fs_->setCallResults(e, LUA_MULTRET);
                if (count == 1)
                    setOpcode(fs_->instructionOf(e), OP_TAILCALL);
                first = fs_->activeLocals();
                count = LUA_MULTRET;
            } else if (count == 1) {
                first = fs_->toAnyRegister(e);
            } else {
                fs_->toNextRegister(e);
                first = fs_->activeLocals();
            }
        }
        fs_->emitReturn(first, count);
    }

    // A local named in a later target of an assignment, used as table or key
    // by an earlier one, is copied first so the earlier store sees its old value.
    void resolveConflict(std::vector<Expr>& targets, const Expr& local)
    {
        int copy = fs_->freeRegister();
        bool conflict = false;
        for (Expr& t : targets) {
            if (t.kind != ExprKind::Indexed)
                continue;
            if (t.info == local.info) {
                conflict = true;
                t.info = copy;
            }
            if (t.aux == local.info) {
                conflict = true;
                t.aux = copy;
            }
        }
        if (conflict) {
            fs_->emitABC(OP_MOVE, copy, local.info, 0);
            fs_->reserveRegisters(1);
        }
    }

    void expressionStatement()
    {
        Expr first;
        primaryExpression(first);
        if (first.kind == ExprKind::Call) {
            fs_->setCallResults(first, 0);
            return;
        }
        std::vector<Expr> targets;
        targets.push_back(first);
        if (!isAssignable(first))
            lexer_.syntaxError("syntax error");
        while (testNext(',')) {
            Expr target;
            primaryExpression(target);
            if (!isAssignable(target))
                lexer_.syntaxError("syntax error");
            if (target.kind == ExprKind::Local)
                resolveConflict(targets, target);
            targets.push_back(target);
        }
        check('=');
        Expr e;
        int values = expressionList(e);
        int count = static_cast<int>(targets.size());
        int i = count - 1;
        if (values == count) {
            fs_->setCallResults(e, 1);
            fs_->store(targets[i--], e);
        } else {
            adjustAssign(count, values, e);
            if (values > count)
                fs_->setFreeRegister(fs_->freeRegister() - (values - count));
        }
        for (; i >= 0; --i) {
            Expr value(ExprKind::Fixed, fs_->freeRegister() - 1);
            fs_->store(targets[i], value);
        }
    }

    // --- functions ---

    void parameterList()
    {
        FunctionProto* p = fs_->proto();
        int count = 0;
        bool vararg = false;
        if (token() != ')') {
            do {
                if (token() == kTokenDots) {
                    vararg = true;
                    next();
                } else if (token() == kTokenName) {
                    fs_->declareLocal(checkName(), count++);
                } else {
                    lexer_.syntaxError("<name> or `...' expected");
                }
            } while (!vararg && testNext(','));
        }
        fs_->activateLocals(count);
        fs_->checkLimit(fs_->activeLocals(), kMaxParams, "parameters");
        p->paramCount = static_cast<uint8_t>(fs_->activeLocals());
        p->isVararg = vararg;
        if (vararg) {
            fs_->declareLocal(internName("arg"), 0);
            fs_->activateLocals(1);
        }
        fs_->reserveRegisters(fs_->activeLocals());
    }

    void functionBody(Expr& e, bool method, int line)
    {
        FunctionState child(lexer_, fs_);
        child.proto()->lineDefined = line;
        fs_ = &child;
        check('(');
        if (method) {
            child.declareLocal(internName("self"), 0);
            child.activateLocals(1);
        }
        parameterList();
        check(')');
        statementList();
        checkMatch(kTokenEnd, kTokenFunction, line);
        child.finish();
        fs_ = child.outer();
        int index = fs_->addProto(child.proto());
        --lexer_.state()->top;  // the child is now reachable from this function
        e = Expr(ExprKind::Relocatable, fs_->emitABx(OP_CLOSURE, 0, index));
        for (int i = 0; i < child.proto()->upvalueCount; ++i) {
            const UpvalueSource& source = child.upvalueSource(i);
            fs_->emitABC(source.kind == ExprKind::Local ? OP_MOVE : OP_GETUPVAL, 0, source.index, 0);
        }
    }

    // --- expressions ---

    int expressionList(Expr& e)
    {
        int count = 1;
        expression(e);
        while (testNext(',')) {
            fs_->toNextRegister(e);
            expression(e);
            ++count;
        }
        return count;
    }

    void expression(Expr& e) { subExpression(e, 0); }

    // Reads operands and operators binding tighter than `limit`; returns the
    // first operator it did not take.
    BinaryOp subExpression(Expr& e, int limit)
    {
        enterLevel();
        UnaryOp unary = unaryOf(token());
        if (unary != UnaryOp::None) {
            next();
            subExpression(e, kUnaryPriority);
            fs_->prefix(unary, e);
        } else {
            simpleExpression(e);
        }
        BinaryOp op = binaryOf(token());
        while (op != BinaryOp::None && kPriorities[static_cast<int>(op)].left > limit) {
            next();
            fs_->infix(op, e);
            Expr right;
            BinaryOp nextOp = subExpression(right, kPriorities[static_cast<int>(op)].right);
            fs_->postfix(op, e, right);
            op = nextOp;
        }
        leaveLevel();
        return op;
    }

    void stringExpression(Expr& e, String* s) { e = Expr(ExprKind::Constant, fs_->stringConstant(s)); }

    void simpleExpression(Expr& e)
    {
        switch (token()) {
        case kTokenNumber:
            // Numerals enter the constant table as they are read, even
            // those that a fold or a test will make unused.
            e = Expr(ExprKind::Constant, fs_->numberConstant(lexer_.token().number));
            next();
            return;
        case kTokenString:
        case kTokenWideString:
            stringExpression(e, lexer_.token().string);
            next();
            return;
        case kTokenNil:
            e = Expr(ExprKind::Nil, 0);
            next();
            return;
        case kTokenTrue:
            e = Expr(ExprKind::True, 0);
            next();
            return;
        case kTokenFalse:
            e = Expr(ExprKind::False, 0);
            next();
            return;
        case '{':
            constructor(e);
            return;
        case kTokenFunction:
            next();
            functionBody(e, false, lexer_.line());
            return;
        default:
            primaryExpression(e);
            return;
        }
    }

    void singleVariable(Expr& e) { fs_->resolveName(checkName(), e); }

    void prefixExpression(Expr& e)
    {
        if (token() == kTokenName) {
            singleVariable(e);
            return;
        }
        if (token() != '(')
            lexer_.syntaxError("unexpected symbol");
        int line = lexer_.line();
        next();
        expression(e);
        checkMatch(')', '(', line);
        fs_->dischargeVariables(e);
    }

    void primaryExpression(Expr& e)
    {
        prefixExpression(e);
        for (;;) {
            switch (token()) {
            case '.':
                field(e);
                break;
            case '[': {
                fs_->toAnyRegister(e);
                Expr key;
                index(key);
                fs_->indexed(e, key);
                break;
            }
            case ':': {
                next();
                Expr key;
                stringExpression(key, checkName());
                fs_->methodSelf(e, key);
                functionArguments(e);
                break;
            }
            case '(':
            case kTokenString:
            case kTokenWideString:  // refused by functionArguments
            case '{':
                fs_->toNextRegister(e);
                functionArguments(e);
                break;
            default:
                return;
            }
        }
    }

    void field(Expr& e)
    {
        fs_->toAnyRegister(e);
        next();  // . or :
        Expr key;
        stringExpression(key, checkName());
        fs_->indexed(e, key);
    }

    void index(Expr& key)
    {
        next();  // [
        expression(key);
        fs_->toValue(key);
        check(']');
    }

    void functionArguments(Expr& f)
    {
        Expr args;
        int line = lexer_.line();
        switch (token()) {
        case '(':
            if (line != lexer_.lastLine())
                lexer_.syntaxError("ambiguous syntax (function call x new statement)");
            next();
            if (token() != ')') {
                expressionList(args);
                fs_->setCallResults(args, LUA_MULTRET);
            }
            checkMatch(')', '(', line);
            break;
        case '{':
            constructor(args);
            break;
        case kTokenString:
            stringExpression(args, lexer_.token().string);
            next();
            break;
        default:
            lexer_.syntaxError("function arguments expected");
        }
        int base = f.info;
        int argCount;
        if (args.kind == ExprKind::Call) {
            argCount = LUA_MULTRET;
        } else {
            if (args.kind != ExprKind::Void)
                fs_->toNextRegister(args);
            argCount = fs_->freeRegister() - (base + 1);
        }
        f = Expr(ExprKind::Call, fs_->emitABC(OP_CALL, base, argCount + 1, 2));
        fs_->setLineOfLast(line);
        fs_->setFreeRegister(base + 1);  // the call leaves one result unless told otherwise
    }

    // --- table constructors ---

    lua_Number sizeHint()
    {
        next();  // &
        if (token() != kTokenNumber)
            lexer_.syntaxError("size expected following & (line " + std::to_string(lexer_.line()) + ")");
        lua_Number n = lexer_.token().number;
        next();
        return n < kMaxSizeHint ? n : kMaxSizeHint;
    }

    void flushListItem(ConstructorState& cs)
    {
        if (cs.pending.kind == ExprKind::Void)
            return;
        fs_->toNextRegister(cs.pending);
        cs.pending.kind = ExprKind::Void;
        if (cs.toStore == kFieldsPerFlush) {
            fs_->emitABx(OP_SETLIST, cs.table->info, cs.listItems - 1);
            cs.toStore = 0;
            fs_->setFreeRegister(cs.table->info + 1);
        }
    }

    void lastListItems(ConstructorState& cs)
    {
        if (cs.toStore == 0)
            return;
        if (cs.pending.kind == ExprKind::Call) {
            fs_->setCallResults(cs.pending, LUA_MULTRET);
            fs_->emitABx(OP_SETLISTO, cs.table->info, cs.listItems - 1);
        } else {
            if (cs.pending.kind != ExprKind::Void)
                fs_->toNextRegister(cs.pending);
            fs_->emitABx(OP_SETLIST, cs.table->info, cs.listItems - 1);
        }
        fs_->setFreeRegister(cs.table->info + 1);
    }

    void recordField(ConstructorState& cs)
    {
        int reg = fs_->freeRegister();
        Expr key;
        if (token() == kTokenName) {
            fs_->checkLimit(cs.records, kMaxArgBx, "items in a constructor");
            stringExpression(key, checkName());
        } else {
            index(key);
        }
        ++cs.records;
        check('=');
        int k = fs_->toRegisterOrConstant(key);
        Expr value;
        expression(value);
        fs_->emitABC(OP_SETTABLE, cs.table->info, k, fs_->toRegisterOrConstant(value));
        fs_->setFreeRegister(reg);
    }

    void listField(ConstructorState& cs)
    {
        expression(cs.pending);
        fs_->checkLimit(cs.listItems, kMaxArgBx, "items in a constructor");
        ++cs.listItems;
        ++cs.toStore;
    }

    void constructor(Expr& t)
    {
        int line = lexer_.line();
        int pc = fs_->emitABC(OP_NEWTABLE, 0, 0, 0);
        t = Expr(ExprKind::Relocatable, pc);
        fs_->toNextRegister(t);
        ConstructorState cs;
        cs.table = &t;
        check('{');
        lua_Number recordHint = 0;
        lua_Number listHint = 0;
        if (token() == '&') {
            recordHint = sizeHint();
            if (token() == '&')
                listHint = sizeHint();
        }
        do {
            testNext(';');
            if (token() == '}')
                break;
            flushListItem(cs);
            if (token() == kTokenName && lexer_.lookahead() == '=')
                recordField(cs);
            else if (token() == '[')
                recordField(cs);
            else
                listField(cs);
        } while (testNext(',') || testNext(';'));
        checkMatch('}', '{', line);
        lastListItems(cs);
        int listSize = cs.listItems > listHint ? cs.listItems : static_cast<int>(listHint);
        int records = cs.records > recordHint ? cs.records : static_cast<int>(recordHint);
        Instruction& newTable = fs_->instruction(pc);
        setArgB(newTable, encodeArraySize(static_cast<unsigned int>(listSize)));
        setArgC(newTable, floorLog2(static_cast<unsigned int>(records)) + 1);
    }

    Lexer lexer_;
    FunctionState* fs_ = nullptr;
    int depth_ = 0;
};

}  // namespace

FunctionProto* compileChunk(lua_State* L, ChunkInput& input, const char* chunkName)
{
    Parser parser(L, input, newString(L, chunkName));
    return parser.parseMain();
}

}  // namespace script
