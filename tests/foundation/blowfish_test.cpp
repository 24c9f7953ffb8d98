#include "foundation/blowfish.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<uint8_t> FromHex(const std::string& hex)
{
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(uint8_t(std::stoul(hex.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

struct BlockVector
{
    const char* key;
    const char* plain;
    const char* cipher;
};

// Published Blowfish vectors, including keys of 1, 3, 9 and 24 bytes so the
// cyclic key schedule is covered as well as full blocks.
const BlockVector kVectors[] = {
    {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
    {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
    {"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
    {"1111111111111111", "1111111111111111", "2466DD878B963C9D"},
    {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
    {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
    {"F0", "FEDCBA9876543210", "F9AD597C49DB005E"},
    {"F0E1D2", "FEDCBA9876543210", "E9C2B70A1BC65CF3"},
    {"F0E1D2C3B4A5968778", "FEDCBA9876543210", "15750E7A4F4EC577"},
    {"F0E1D2C3B4A5968778695A4B3C2D1E0F0011223344556677", "FEDCBA9876543210", "05044B62FA52D080"},
};

TEST(BlowfishTest, PublishedVectorsEncryptAndDecrypt)
{
    for (const BlockVector& v : kVectors) {
        SCOPED_TRACE(v.key);
        const std::vector<uint8_t> key = FromHex(v.key);
        const std::vector<uint8_t> plain = FromHex(v.plain);
        const std::vector<uint8_t> cipher = FromHex(v.cipher);
        TBlowfish fish;
        ASSERT_TRUE(fish.SetKey(key.data(), int(key.size())));

        uint32_t left = ReadU32BE(&plain[0]);
        uint32_t right = ReadU32BE(&plain[4]);
        fish.EncryptBlock(left, right);
        EXPECT_EQ(left, ReadU32BE(&cipher[0]));
        EXPECT_EQ(right, ReadU32BE(&cipher[4]));
        fish.DecryptBlock(left, right);
        EXPECT_EQ(left, ReadU32BE(&plain[0]));
        EXPECT_EQ(right, ReadU32BE(&plain[4]));
    }
}

TEST(BlowfishTest, RekeyingStartsFromTheInitialTables)
{
    const std::vector<uint8_t> other = FromHex("0123456789ABCDEF");
    const std::vector<uint8_t> zero = FromHex("0000000000000000");
    TBlowfish fish;
    ASSERT_TRUE(fish.SetKey(other.data(), 8));
    ASSERT_TRUE(fish.SetKey(zero.data(), 8));
    uint32_t left = 0;
    uint32_t right = 0;
    fish.EncryptBlock(left, right);
    EXPECT_EQ(left, 0x4EF99745u);
    EXPECT_EQ(right, 0x6198DD78u);
}

TEST(BlowfishTest, EmptyKeyIsRefused)
{
    const uint8_t key[1] = {0x42};
    TBlowfish fish;
    EXPECT_FALSE(fish.SetKey(key, 0));
    EXPECT_FALSE(fish.SetKey(nullptr, 4));
}

TEST(BlowfishTest, WordsAreBigEndian)
{
    uint8_t bytes[4] = {};
    WriteU32BE(bytes, 0x01020304u);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[3], 4);
    EXPECT_EQ(ReadU32BE(bytes), 0x01020304u);
}

class BlowfishBufferTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const uint8_t key[] = {'s', 'e', 'c', 'r', 'e', 't'};
        ASSERT_TRUE(mFish.SetKey(key, sizeof(key)));
    }

    // Decrypts a buffer and returns the raw plaintext blocks, padding included.
    std::vector<uint8_t> RawDecrypt(std::vector<uint8_t> buffer) const
    {
        for (size_t at = 0; at < buffer.size(); at += 8) {
            uint32_t left = ReadU32BE(&buffer[at]);
            uint32_t right = ReadU32BE(&buffer[at + 4]);
            mFish.DecryptBlock(left, right);
            WriteU32BE(&buffer[at], left);
            WriteU32BE(&buffer[at + 4], right);
        }
        return buffer;
    }

    // Encrypts one block whose last plaintext byte is the given padding count.
    std::vector<uint8_t> BlockEndingWith(uint8_t last) const
    {
        std::vector<uint8_t> block = {1, 2, 3, 4, 5, 6, 7, last};
        uint32_t left = ReadU32BE(&block[0]);
        uint32_t right = ReadU32BE(&block[4]);
        mFish.EncryptBlock(left, right);
        WriteU32BE(&block[0], left);
        WriteU32BE(&block[4], right);
        return block;
    }

    TBlowfish mFish;
};

TEST_F(BlowfishBufferTest, PaddingFillsToTheNextBlock)
{
    const struct
    {
        int length;
        int padded;
    } cases[] = {{0, 8}, {7, 8}, {8, 16}, {9, 16}};
    const std::vector<uint8_t> data(16, 0xAB);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        const std::vector<uint8_t> cipher = mFish.EncryptBuffer(data.data(), c.length);
        ASSERT_EQ(int(cipher.size()), c.padded);
        const std::vector<uint8_t> raw = RawDecrypt(cipher);
        const uint8_t pad = uint8_t(c.padded - c.length);
        for (int i = c.length; i < c.padded; ++i) {
            EXPECT_EQ(raw[i], pad);
        }
        const std::vector<uint8_t> plain = mFish.DecryptBuffer(cipher.data(), int(cipher.size()));
        EXPECT_EQ(plain, std::vector<uint8_t>(data.begin(), data.begin() + c.length));
    }
}

TEST_F(BlowfishBufferTest, ImpossiblePaddingGivesEmptyResult)
{
    for (uint8_t last : {uint8_t(0x80), uint8_t(0xFF), uint8_t(9), uint8_t(0x7F)}) {
        SCOPED_TRACE(int(last));
        const std::vector<uint8_t> block = BlockEndingWith(last);
        EXPECT_TRUE(mFish.DecryptBuffer(block.data(), 8).empty());
    }
}

TEST_F(BlowfishBufferTest, PaddingCountZeroKeepsEveryByte)
{
    const std::vector<uint8_t> block = BlockEndingWith(0);
    EXPECT_EQ(mFish.DecryptBuffer(block.data(), 8), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 0}));
}

TEST_F(BlowfishBufferTest, ShortAndEmptyInputsStayInBounds)
{
    EXPECT_TRUE(mFish.DecryptBuffer(nullptr, 0).empty());
    const std::vector<uint8_t> cipher = mFish.EncryptBuffer(reinterpret_cast<const uint8_t*>("abc"), 3);
    // A truncated ciphertext is zero-extended to a block; whatever it decrypts
    // to, the result never exceeds the given length.
    EXPECT_LE(mFish.DecryptBuffer(cipher.data(), 5).size(), 5u);
}

} // namespace
