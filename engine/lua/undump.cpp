#include "lua/undump.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "lua/call.h"
#include "lua/chunkformat.h"
#include "lua/execcode.h"
#include "lua/function.h"
#include "lua/memory.h"
#include "lua/strings.h"

namespace script {

namespace {

// Strings are read in pieces of this size, so that a bad length asks for no
// more memory than the chunk really holds.
constexpr size_t kReadPiece = 1 << 16;

template <typename T>
T swappedBytes(T v)
{
    unsigned char bytes[sizeof(T)];
    std::memcpy(bytes, &v, sizeof(T));
    for (size_t i = 0; i < sizeof(T) / 2; ++i)
        std::swap(bytes[i], bytes[sizeof(T) - 1 - i]);
    std::memcpy(&v, bytes, sizeof(T));
    return v;
}

bool isJump(Instruction i) { return opcode(i) == OP_JMP; }

// Checks that every instruction of p only names registers, constants,
// upvalues, functions and jump targets that exist.
class CodeChecker {
public:
    explicit CodeChecker(const FunctionProto* p) : p_(p) {}

    bool valid() const
    {
        if (p_->codeSize < 1 || opcode(p_->code[p_->codeSize - 1]) != OP_RETURN)
            return false;
        for (int pc = 0; pc < p_->codeSize; ++pc)
            if (!instructionValid(pc))
                return false;
        return true;
    }

private:
    bool reg(int r) const { return r >= 0 && r < p_->maxStackSize; }
    bool constant(int k) const { return k >= 0 && k < p_->constantCount; }
    bool regOrConstant(int x) const { return isConstant(x) ? constant(x - kConstantBase) : reg(x); }
    bool hasInstruction(int pc) const { return pc >= 0 && pc < p_->codeSize; }
    bool followedByJump(int pc) const { return hasInstruction(pc + 1) && isJump(p_->code[pc + 1]); }
    bool jumpValid(int pc, int offset) const { return hasInstruction(pc + 1 + offset); }

    // After a call with open results comes an instruction that takes them.
    bool takesOpenResults(int pc) const
    {
        if (!hasInstruction(pc))
            return false;
        Instruction i = p_->code[pc];
        switch (opcode(i)) {
        case OP_CALL:
        case OP_TAILCALL:
        case OP_RETURN:
            return argB(i) == 0;
        case OP_SETLISTO:
            return true;
        default:
            return false;
        }
    }

    bool closureValid(int pc, int index) const
    {
        if (index >= p_->protoCount)
            return false;
        int count = p_->protos[index]->upvalueCount;
        for (int k = 1; k <= count; ++k) {
            if (!hasInstruction(pc + k))
                return false;
            OpCode op = opcode(p_->code[pc + k]);
            if (op != OP_MOVE && op != OP_GETUPVAL)
                return false;
        }
        return true;
    }

    bool instructionValid(int pc) const
    {
        Instruction i = p_->code[pc];
        int a = argA(i);
        int b = argB(i);
        int c = argC(i);
        switch (opcode(i)) {
        case OP_MOVE:
        case OP_UNM:
        case OP_NOT:
            return reg(a) && reg(b);
        case OP_LOADK:
            return reg(a) && constant(argBx(i));
        case OP_LOADBOOL:
            return reg(a) && (c == 0 || hasInstruction(pc + 2));
        case OP_LOADNIL:
            return reg(a) && reg(b) && a <= b;
        case OP_GETUPVAL:
        case OP_SETUPVAL:
            return reg(a) && b < p_->upvalueCount;
        case OP_GETGLOBAL:
        case OP_SETGLOBAL:
            return reg(a) && constant(argBx(i)) && isString(&p_->constants[argBx(i)]);
        case OP_GETTABLE:
            return reg(a) && reg(b) && regOrConstant(c);
        case OP_SETTABLE:
            return reg(a) && regOrConstant(b) && regOrConstant(c);
        case OP_NEWTABLE:
            return reg(a) && b <= kMaxEncodedArraySize && c <= 31;
        case OP_SELF:
            return reg(a + 1) && reg(b) && regOrConstant(c);
        case OP_ADD:
        case OP_SUB:
        case OP_MUL:
        case OP_DIV:
        case OP_BAND:
        case OP_BOR:
        case OP_SHL:
        case OP_SHR:
        case OP_POW:
            return reg(a) && regOrConstant(b) && regOrConstant(c);
        case OP_CONCAT:
            return reg(a) && reg(b) && reg(c) && b < c;
        case OP_JMP:
            return jumpValid(pc, argSBx(i));
        case OP_EQ:
        case OP_LT:
        case OP_LE:
            return regOrConstant(b) && regOrConstant(c) && followedByJump(pc);
        case OP_TEST:
            return reg(a) && reg(b) && followedByJump(pc);
        case OP_CALL:
            if (!reg(a) || (b > 0 && !reg(a + b - 1)))
                return false;
            return c == 0 ? takesOpenResults(pc + 1) : (c == 1 || reg(a + c - 2));
        case OP_TAILCALL:
            return reg(a) && (b == 0 || reg(a + b - 1)) && hasInstruction(pc + 1) &&
                   opcode(p_->code[pc + 1]) == OP_RETURN;
        case OP_RETURN:
            return reg(a) && (b < 2 || reg(a + b - 2));
        case OP_FORLOOP:
            return reg(a + 2) && jumpValid(pc, argSBx(i));
        case OP_TFORLOOP:
            return reg(a + c + 5) && followedByJump(pc);  // room for the call of the generator
        case OP_TFORPREP:
            return reg(a + 1) && jumpValid(pc, argSBx(i));
        case OP_SETLIST:
            return reg(a) && reg(a + argBx(i) % kFieldsPerFlush + 1);
        case OP_SETLISTO:
            return reg(a);
        case OP_CLOSE:
            return a <= p_->maxStackSize;
        case OP_CLOSURE:
            return reg(a) && closureValid(pc, argBx(i));
        default:
            return false;
        }
    }

    const FunctionProto* p_;
};

class ChunkReader {
public:
    ChunkReader(lua_State* L, ChunkInput& input, const char* chunkName) : L_(L), input_(input)
    {
        if (*chunkName == '@' || *chunkName == '=')
            name_ = chunkName + 1;
        else if (*chunkName == kBinarySignatureByte)
            name_ = "binary string";
        else
            name_ = chunkName;
        chunkName_ = chunkName;
    }

    void header()
    {
        // Byte by byte: a wrong byte is a bad signature even in a short chunk.
        for (size_t k = 0; k < sizeof kChunkSignature - 1; ++k)
            if (byte() != static_cast<uint8_t>(kChunkSignature[k]))
                fail("bad signature in " + name_);
        int version = byte();
        if (version != kChunkVersion) {
            bool tooNew = version > kChunkVersion;
            fail(name_ + (tooNew ? " too new" : " too old") + ": read version " + versionText(version) +
                 (tooNew ? "; expected at most " : "; expected at least ") + versionText(kChunkVersion));
        }
        swap_ = byte() != nativeByteOrder();
        static const char* const kSizeNames[] = {"int", "size_t", "Instruction", "OP", "A", "B", "C", "number"};
        for (size_t k = 0; k < sizeof kChunkSizes; ++k) {
            int size = byte();
            if (size != kChunkSizes[k])
                fail("virtual machine mismatch in " + name_ + ": size of " + kSizeNames[k] + " is " +
                     std::to_string(kChunkSizes[k]) + " but read " + std::to_string(size));
        }
        double test = number();
        // Only the integer part counts: the last bits may differ between writers.
        if (!(test > 0 && test < 1e10) || static_cast<long>(test) != static_cast<long>(kChunkTestNumber))
            fail("unknown number format in " + name_);
    }

    // The main function: a loaded chunk becomes a closure without upvalues.
    FunctionProto* main()
    {
        FunctionProto* p = function(nullptr);
        if (p->upvalueCount != 0)
            fail("bad code in " + name_);
        return p;
    }

    // Reads a function and leaves it on top of the stack (anchored there).
    FunctionProto* function(String* parentSource)
    {
        if (++depth_ > kMaxNativeCalls)
            fail("bad code in " + name_);
        FunctionProto* p = newProto(L_);
        if (!lua_checkstack(L_, 1))
            raiseMemoryError(L_);
        setObject(L_->top, p, kTagProto);
        ++L_->top;
        p->source = string();
        if (p->source == nullptr)
            p->source = parentSource ? parentSource : newString(L_, chunkName_);
        p->lineDefined = integer();
        p->upvalueCount = static_cast<uint8_t>(byte());
        p->paramCount = static_cast<uint8_t>(byte());
        p->isVararg = static_cast<uint8_t>(byte());
        p->maxStackSize = static_cast<uint8_t>(byte());
        if (p->maxStackSize > kConstantBase || p->isVararg > 1 || p->paramCount + p->isVararg > p->maxStackSize)
            fail("bad code in " + name_);
        readArray(p->lineInfo, p->lineInfoSize, 0, [this] { return integer(); });
        readArray(p->localVars, p->localVarCount, LocalVarInfo{nullptr, 0, 0}, [this] {
            LocalVarInfo v;
            v.name = requiredString();
            v.startPc = integer();
            v.endPc = integer();
            return v;
        });
        readArray<String*>(p->upvalueNames, p->upvalueNameCount, nullptr, [this] { return requiredString(); });
        if (p->upvalueNameCount != 0 && p->upvalueNameCount != p->upvalueCount)
            fail("bad nupvalues in " + name_ + ": read " + std::to_string(p->upvalueNameCount) + "; expected " +
                 std::to_string(p->upvalueCount));
        Value nil;
        setNil(&nil);
        readArray(p->constants, p->constantCount, nil, [this] { return constant(); });
        readArray<FunctionProto*>(p->protos, p->protoCount, nullptr, [this, p] {
            FunctionProto* child = function(p->source);
            --L_->top;  // reachable from p from now on
            return child;
        });
        readArray(p->code, p->codeSize, Instruction{0}, [this] { return instruction(); });
        if (p->lineInfoSize != 0 && p->lineInfoSize != p->codeSize)
            fail("bad code in " + name_);
        if (!CodeChecker(p).valid())
            fail("bad code in " + name_);
        buildExecCode(L_, p);
        --depth_;
        return p;
    }

private:
    static std::string versionText(int version)
    {
        return std::to_string(version >> 4) + "." + std::to_string(version & 15);
    }

    // A damaged chunk is a run-time error, not a syntax error, as the
    // reference loader reports it.
    [[noreturn]] void fail(const std::string& message)
    {
        lua_pushlstring(L_, message.data(), message.size());
        throwError(L_, LUA_ERRRUN);
    }

    void block(void* out, size_t size)
    {
        if (input_.read(out, size) != size)
            fail("unexpected end of file in " + name_);
    }

    int byte()
    {
        uint8_t b;
        block(&b, 1);
        return b;
    }

    template <typename T>
    T scalar()
    {
        T v;
        block(&v, sizeof v);
        return swap_ ? swappedBytes(v) : v;
    }

    int integer() { return scalar<int32_t>(); }
    lua_Number number() { return scalar<double>(); }
    Instruction instruction() { return scalar<uint32_t>(); }

    int count()
    {
        int n = integer();
        if (n < 0)
            fail("bad code in " + name_);
        return n;
    }

    // Reads a count, then that many items, growing the array as they arrive
    // so that the prototype is complete at every step.
    template <typename T, typename ReadItem>
    void readArray(T*& items, int& capacity, const T& empty, ReadItem readItem)
    {
        int n = count();
        for (int k = 0; k < n; ++k) {
            int old = capacity;
            growVector(L_, items, capacity, k, INT32_MAX, "bad code");
            for (int j = old; j < capacity; ++j)
                items[j] = empty;
            items[k] = readItem();
        }
        items = resizeArray(L_, items, static_cast<size_t>(capacity), static_cast<size_t>(n));
        capacity = n;
    }

    // An 8-bit (or, with wide, 16-bit) string: a count including the
    // terminator, then the text; null for a count of 0.
    String* string(bool wide = false)
    {
        uint32_t size = scalar<uint32_t>();
        if (size == 0)
            return nullptr;
        size_t unit = wide ? sizeof(lua_WChar) : 1;
        std::vector<char> bytes;
        for (size_t done = 0; done < size * unit;) {
            size_t piece = size * unit - done < kReadPiece ? size * unit - done : kReadPiece;
            bytes.resize(done + piece);
            block(bytes.data() + done, piece);
            done += piece;
        }
        if (!wide)
            return newString(L_, bytes.data(), size - 1);
        std::vector<lua_WChar> units(size);
        std::memcpy(units.data(), bytes.data(), bytes.size());
        if (swap_)
            for (lua_WChar& u : units)
                u = swappedBytes(u);
        return newWideString(L_, units.data(), size - 1);
    }

    String* requiredString()
    {
        String* s = string();
        if (s == nullptr)
            fail("bad code in " + name_);
        return s;
    }

    Value constant()
    {
        Value v;
        int type = byte();
        switch (type) {
        case kConstantNil:
            setNil(&v);
            break;
        case kConstantNumber:
            setNumber(&v, number());
            break;
        case kConstantString:
        case kConstantWideString: {
            String* s = string(type == kConstantWideString);
            if (s == nullptr)
                fail("bad code in " + name_);
            setString(&v, s);
            break;
        }
        default:
            fail("bad constant type (" + std::to_string(type) + ") in " + name_);
        }
        return v;
    }

    lua_State* L_;
    ChunkInput& input_;
    std::string name_;
    const char* chunkName_;
    bool swap_ = false;
    int depth_ = 0;
};

}  // namespace

FunctionProto* undumpChunk(lua_State* L, ChunkInput& input, const char* chunkName)
{
    ChunkReader reader(L, input, chunkName);
    reader.header();
    return reader.main();
}

}  // namespace script
