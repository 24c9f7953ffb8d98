#include "foundation/blowfish.h"

#include "foundation/blowfishtables.h"
#include "foundation/debuglog.h"

#include <algorithm>
#include <utility>

namespace {

constexpr int kBlockSize = 8;
constexpr int kRounds = 16;

// Runs one block cipher direction over whole blocks, words big-endian.
template <typename BlockFunction>
void TransformBlocks(std::vector<uint8_t>& buffer, BlockFunction cipherBlock)
{
    for (size_t at = 0; at + kBlockSize <= buffer.size(); at += kBlockSize) {
        uint32_t left = ReadU32BE(&buffer[at]);
        uint32_t right = ReadU32BE(&buffer[at + 4]);
        cipherBlock(left, right);
        WriteU32BE(&buffer[at], left);
        WriteU32BE(&buffer[at + 4], right);
    }
}

} // namespace

TBlowfish::TBlowfish()
{
    LoadInitialTables();
}

void TBlowfish::LoadInitialTables()
{
    std::copy(std::begin(kBlowfishInitialP), std::end(kBlowfishInitialP), mP.begin());
    for (int box = 0; box < 4; ++box) {
        std::copy(std::begin(kBlowfishInitialS[box]), std::end(kBlowfishInitialS[box]), mS[box].begin());
    }
}

bool TBlowfish::SetKey(const uint8_t* key, int length)
{
    LoadInitialTables();
    if (key == nullptr || length <= 0) {
        DebugLog("ERROR: TBlowfish::SetKey: empty key refused");
        return false;
    }
    int next = 0;
    for (uint32_t& word : mP) {
        uint32_t keyWord = 0;
        for (int i = 0; i < 4; ++i) {
            keyWord = (keyWord << 8) | key[next];
            next = (next + 1) % length;
        }
        word ^= keyWord;
    }
    // Each table entry pair is replaced by the encryption of the previous pair.
    uint32_t left = 0;
    uint32_t right = 0;
    for (size_t i = 0; i < mP.size(); i += 2) {
        EncryptBlock(left, right);
        mP[i] = left;
        mP[i + 1] = right;
    }
    for (auto& box : mS) {
        for (size_t i = 0; i < box.size(); i += 2) {
            EncryptBlock(left, right);
            box[i] = left;
            box[i + 1] = right;
        }
    }
    return true;
}

uint32_t TBlowfish::Round(uint32_t x) const
{
    return ((mS[0][x >> 24] + mS[1][(x >> 16) & 0xFF]) ^ mS[2][(x >> 8) & 0xFF]) + mS[3][x & 0xFF];
}

void TBlowfish::EncryptBlock(uint32_t& left, uint32_t& right) const
{
    for (int i = 0; i < kRounds; ++i) {
        left ^= mP[i];
        right ^= Round(left);
        std::swap(left, right);
    }
    std::swap(left, right);
    right ^= mP[kRounds];
    left ^= mP[kRounds + 1];
}

void TBlowfish::DecryptBlock(uint32_t& left, uint32_t& right) const
{
    for (int i = kRounds + 1; i > 1; --i) {
        left ^= mP[i];
        right ^= Round(left);
        std::swap(left, right);
    }
    std::swap(left, right);
    right ^= mP[1];
    left ^= mP[0];
}

std::vector<uint8_t> TBlowfish::EncryptBuffer(const uint8_t* bytes, int length) const
{
    const int size = std::max(length, 0);
    const int padding = kBlockSize - size % kBlockSize;
    std::vector<uint8_t> buffer(size + padding, uint8_t(padding));
    std::copy_n(bytes, size, buffer.begin());
    TransformBlocks(buffer, [this](uint32_t& l, uint32_t& r) { EncryptBlock(l, r); });
    return buffer;
}

std::vector<uint8_t> TBlowfish::DecryptBuffer(const uint8_t* bytes, int length) const
{
    if (length <= 0) {
        return {};
    }
    const int blocks = (length + kBlockSize - 1) / kBlockSize;
    std::vector<uint8_t> buffer(blocks * kBlockSize, 0);
    std::copy_n(bytes, length, buffer.begin());
    TransformBlocks(buffer, [this](uint32_t& l, uint32_t& r) { DecryptBlock(l, r); });
    // The count is signed: 0x80 and above, or more than the data, is no padding at all.
    const int padding = int8_t(buffer[length - 1]);
    const int kept = length - padding;
    if (kept < 0 || kept > length) {
        return {};
    }
    buffer.resize(kept);
    return buffer;
}
