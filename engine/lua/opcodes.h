// The instruction set: 32-bit instructions with a 6-bit opcode and the
// operands A (8 bits), B and C (9 bits each), or A and Bx (18 bits; sBx is
// Bx biased by 131071). B and C values from 250 up name constants.
#pragma once

#include <cstdint>

namespace script {

typedef uint32_t Instruction;

constexpr int kSizeOp = 6;
constexpr int kSizeA = 8;
constexpr int kSizeB = 9;
constexpr int kSizeC = 9;
constexpr int kSizeBx = kSizeB + kSizeC;

// Field positions, low bits first: the opcode, then C, then B (C and B
// together form Bx), then A in the top bits.
constexpr int kPosOp = 0;
constexpr int kPosC = kPosOp + kSizeOp;
constexpr int kPosB = kPosC + kSizeC;
constexpr int kPosBx = kPosC;
constexpr int kPosA = kPosB + kSizeB;

constexpr int kMaxArgA = (1 << kSizeA) - 1;
constexpr int kMaxArgB = (1 << kSizeB) - 1;
constexpr int kMaxArgC = (1 << kSizeC) - 1;
constexpr int kMaxArgBx = (1 << kSizeBx) - 1;
constexpr int kMaxArgSBx = kMaxArgBx >> 1;

// B or C operands of this value and above index the constant table; it is
// also the most registers a function may use.
constexpr int kConstantBase = 250;

enum OpCode : uint8_t {
    OP_MOVE,      // A B      R(A) := R(B)
    OP_LOADK,     // A Bx     R(A) := K(Bx)
    OP_LOADBOOL,  // A B C    R(A) := (bool)B; if C then skip the next instruction
    OP_LOADNIL,   // A B      R(A) ... R(B) := nil
    OP_GETUPVAL,  // A B      R(A) := Upvalue[B]
    OP_GETGLOBAL, // A Bx     R(A) := Globals[K(Bx)]
    OP_GETTABLE,  // A B C    R(A) := R(B)[RK(C)]
    OP_SETGLOBAL, // A Bx     Globals[K(Bx)] := R(A)
    OP_SETUPVAL,  // A B      Upvalue[B] := R(A)
    OP_SETTABLE,  // A B C    R(A)[RK(B)] := RK(C)
    OP_NEWTABLE,  // A B C    R(A) := {} (array size B encoded, hash size log2(C) + 1)
    OP_SELF,      // A B C    R(A+1) := R(B); R(A) := R(B)[RK(C)]
    OP_ADD,       // A B C    R(A) := RK(B) + RK(C)
    OP_SUB,       // A B C    R(A) := RK(B) - RK(C)
    OP_MUL,       // A B C    R(A) := RK(B) * RK(C)
    OP_DIV,       // A B C    R(A) := RK(B) / RK(C)
    OP_BAND,      // A B C    R(A) := RK(B) & RK(C)
    OP_BOR,       // A B C    R(A) := RK(B) | RK(C)
    OP_SHL,       // A B C    R(A) := RK(B) << RK(C)
    OP_SHR,       // A B C    R(A) := RK(B) >> RK(C)
    OP_POW,       // A B C    R(A) := RK(B) ^ RK(C)  (exclusive or on numbers)
    OP_UNM,       // A B      R(A) := -R(B)
    OP_NOT,       // A B      R(A) := not R(B)
    OP_CONCAT,    // A B C    R(A) := R(B) .. ... .. R(C)
    OP_JMP,       // sBx      pc += sBx
    OP_EQ,        // A B C    if (RK(B) == RK(C)) ~= A then skip the next instruction
    OP_LT,        // A B C    if (RK(B) <  RK(C)) ~= A then skip the next instruction
    OP_LE,        // A B C    if (RK(B) <= RK(C)) ~= A then skip the next instruction
    OP_TEST,      // A B C    if R(B) is C-true then R(A) := R(B) else skip the next instruction
    OP_CALL,      // A B C    R(A) ... R(A+C-2) := R(A)(R(A+1) ... R(A+B-1))
    OP_TAILCALL,  // A B C    return R(A)(R(A+1) ... R(A+B-1))
    OP_RETURN,    // A B      return R(A) ... R(A+B-2)
    OP_FORLOOP,   // A sBx    R(A) += R(A+2); if R(A) <?= R(A+1) then pc += sBx
    OP_TFORLOOP,  // A C      R(A+2) ... R(A+2+C) := R(A)(R(A+1), R(A+2)); if R(A+2) is nil then skip the jump back
    OP_TFORPREP,  // A sBx    if R(A) is a table then R(A+1) := R(A), R(A) := next; pc += sBx
    OP_SETLIST,   // A Bx     R(A)[Bx - Bx % F + i] := R(A+i), 1 <= i <= Bx % F + 1
    OP_SETLISTO,  // A Bx     as SETLIST, up to the stack top
    OP_CLOSE,     // A        close the upvalues of R(A) and above
    OP_CLOSURE,   // A Bx     R(A) := closure(P[Bx], the upvalues named by the next instructions)
    kNumOpCodes
};

// List items stored per SETLIST (F above).
constexpr int kFieldsPerFlush = 32;

// NEWTABLE's array size B: a small float, 3 bits of mantissa m and the
// exponent e above them, for the size m * 2^e (rounded up when encoding).
inline int encodeArraySize(unsigned int size)
{
    int exponent = 0;
    while (size >= 8) {
        size = (size + 1) >> 1;
        ++exponent;
    }
    return (exponent << 3) | static_cast<int>(size);
}

// Largest B whose size fits in an int.
constexpr int kMaxEncodedArraySize = (28 << 3) | 7;

inline int decodeArraySize(int b) { return (b & 7) << (b >> 3); }  // b <= kMaxEncodedArraySize

inline OpCode opcode(Instruction i) { return static_cast<OpCode>((i >> kPosOp) & ((1u << kSizeOp) - 1)); }
inline int argA(Instruction i) { return static_cast<int>((i >> kPosA) & ((1u << kSizeA) - 1)); }
inline int argB(Instruction i) { return static_cast<int>((i >> kPosB) & ((1u << kSizeB) - 1)); }
inline int argC(Instruction i) { return static_cast<int>((i >> kPosC) & ((1u << kSizeC) - 1)); }
inline int argBx(Instruction i) { return static_cast<int>((i >> kPosBx) & ((1u << kSizeBx) - 1)); }
inline int argSBx(Instruction i) { return argBx(i) - kMaxArgSBx; }

inline Instruction makeABC(OpCode o, int a, int b, int c)
{
    return (static_cast<Instruction>(o) << kPosOp) | (static_cast<Instruction>(a) << kPosA) |
           (static_cast<Instruction>(b) << kPosB) | (static_cast<Instruction>(c) << kPosC);
}

inline Instruction makeABx(OpCode o, int a, int bx)
{
    return (static_cast<Instruction>(o) << kPosOp) | (static_cast<Instruction>(a) << kPosA) |
           (static_cast<Instruction>(bx) << kPosBx);
}

inline Instruction makeAsBx(OpCode o, int a, int sbx) { return makeABx(o, a, sbx + kMaxArgSBx); }

inline bool isConstant(int operand) { return operand >= kConstantBase; }

// Printable opcode names, indexed by OpCode.
extern const char* const kOpCodeNames[kNumOpCodes];

}  // namespace script
