// Constants of the binary chunk format shared by the writer and the reader.
#pragma once

#include <cstdint>
#include <cstring>

namespace script {

constexpr char kChunkSignature[] = "\x1bLua";
constexpr int kChunkVersion = 0x50;
// Sizes in the header: int, size_t, Instruction, then the bits of the
// opcode and of A, B and C, then lua_Number.
constexpr uint8_t kChunkSizes[] = {4, 4, 4, 6, 8, 9, 9, 8};
constexpr double kChunkTestNumber = 31415926.535897933;

// Type bytes of constants.
constexpr int kConstantNil = 0;
constexpr int kConstantNumber = 3;
constexpr int kConstantString = 4;
constexpr int kConstantWideString = 9;

// The byte-order byte of this machine: 1 little-endian, 0 big-endian.
inline int nativeByteOrder()
{
    uint16_t one = 1;
    uint8_t first;
    std::memcpy(&first, &one, 1);
    return first;
}

}  // namespace script
