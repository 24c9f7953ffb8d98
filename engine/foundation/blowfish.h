// Blowfish block cipher (16 rounds) in ECB mode with count padding.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "foundation/byteorder.h"

class TBlowfish
{
public:
    TBlowfish();

    // Keys the cipher from the initial tables; an empty key is refused and
    // leaves the cipher with the unkeyed tables.
    bool SetKey(const uint8_t* key, int length);

    void EncryptBlock(uint32_t& left, uint32_t& right) const;
    void DecryptBlock(uint32_t& left, uint32_t& right) const;

    // Pads with p bytes of value p (1 to 8) and encrypts block by block.
    std::vector<uint8_t> EncryptBuffer(const uint8_t* bytes, int length) const;
    // Decrypts and strips the padding; impossible padding gives an empty result.
    std::vector<uint8_t> DecryptBuffer(const uint8_t* bytes, int length) const;

private:
    void LoadInitialTables();
    uint32_t Round(uint32_t x) const;

    std::array<uint32_t, 18> mP;
    std::array<std::array<uint32_t, 256>, 4> mS;
};
