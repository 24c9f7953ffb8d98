#include "foundation/random.h"

#include <algorithm>

namespace {

const int kShift = 397;
const uint32_t kTwistMask = 0x9908B0DFu;
const uint32_t kUpperBit = 0x80000000u;
const uint32_t kLowerBits = 0x7FFFFFFFu;
const uint32_t kArraySeed = 19650218u;

uint32_t Spread(uint32_t previous) {
    return previous ^ (previous >> 30);
}

}  // namespace

TRandom::TRandom() {
    const uint32_t key[] = {0x123, 0x234, 0x345, 0x456};
    SeedByArray(key, 4);
}

void TRandom::Seed(uint32_t seed) {
    mState[0] = seed;
    for (int i = 1; i < kStateSize; ++i) {
        mState[i] = 1812433253u * Spread(mState[i - 1]) + static_cast<uint32_t>(i);
    }
    mIndex = kStateSize;
}

void TRandom::SeedByArray(const uint32_t* key, int count) {
    Seed(kArraySeed);
    int i = 1;
    // Steps to the next word, wrapping so that word 0 follows the last one.
    auto advance = [&] {
        if (++i >= kStateSize) {
            mState[0] = mState[kStateSize - 1];
            i = 1;
        }
    };
    int j = 0;
    for (int step = std::max(kStateSize, count); step > 0; --step) {
        uint32_t word = count > 0 && key ? key[j] : 0;
        mState[i] = (mState[i] ^ (Spread(mState[i - 1]) * 1664525u)) + word + static_cast<uint32_t>(j);
        advance();
        if (++j >= count) {
            j = 0;
        }
    }
    for (int step = kStateSize - 1; step > 0; --step) {
        mState[i] = (mState[i] ^ (Spread(mState[i - 1]) * 1566083941u)) - static_cast<uint32_t>(i);
        advance();
    }
    mState[0] = kUpperBit;
}

void TRandom::Regenerate() {
    for (int i = 0; i < kStateSize; ++i) {
        uint32_t y = (mState[i] & kUpperBit) | (mState[(i + 1) % kStateSize] & kLowerBits);
        mState[i] = mState[(i + kShift) % kStateSize] ^ (y >> 1) ^ ((y & 1) ? kTwistMask : 0);
    }
    mIndex = 0;
}

uint32_t TRandom::Next() {
    if (mIndex >= kStateSize) {
        Regenerate();
    }
    uint32_t y = mState[mIndex++];
    y ^= y >> 11;
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    y ^= y >> 18;
    return y;
}
