// The MT19937 Mersenne-Twister generator (period 2^19937 - 1), giving the
// same draws as the reference generator for the same seed or key.
#pragma once

#include <cstdint>

class TRandom {
public:
    // Seeded with a fixed key; callers re-seed right after.
    TRandom();

    void Seed(uint32_t seed);
    // Seeds from count key words; no key counts as the single word 0.
    void SeedByArray(const uint32_t* key, int count);
    uint32_t Next();

private:
    static constexpr int kStateSize = 624;

    void Regenerate();

    uint32_t mState[kStateSize];
    int mIndex = kStateSize + 1;  // never seeded
};
