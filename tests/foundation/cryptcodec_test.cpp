#include "foundation/cryptcodec.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

const uint8_t* Bytes(const char* text)
{
    return reinterpret_cast<const uint8_t*>(text);
}

std::vector<uint8_t> EncryptRaw(TCryptCodec& codec, const std::string& plain)
{
    const int needed = codec.Encrypt(Bytes(plain.data()), int(plain.size()), nullptr, 0, false);
    std::vector<uint8_t> out(needed);
    EXPECT_EQ(codec.Encrypt(Bytes(plain.data()), int(plain.size()), out.data(), needed, false), 0);
    return out;
}

std::string EncryptText(TCryptCodec& codec, const std::string& plain)
{
    const int needed = codec.Encrypt(Bytes(plain.data()), int(plain.size()), nullptr, 0, true);
    std::vector<uint8_t> out(needed, 0xEE);
    EXPECT_EQ(codec.Encrypt(Bytes(plain.data()), int(plain.size()), out.data(), needed, true), 0);
    EXPECT_EQ(out.back(), 0) << "base64 output is NUL-terminated";
    return std::string(reinterpret_cast<const char*>(out.data()));
}

TEST(CryptCodecTest, RoundTripsRawAndBase64)
{
    TCryptCodec codec("Qm9vbXNoYWth");
    const std::vector<std::string> plains = {"", "a", "seven!!", "eight!!!", std::string(100, 'z')};
    for (const std::string& plain : plains) {
        SCOPED_TRACE(plain.size());
        const std::vector<uint8_t> raw = EncryptRaw(codec, plain);
        EXPECT_EQ(raw.size(), plain.size() / 8 * 8 + 8);
        std::vector<uint8_t> back(plain.size() + 1);
        ASSERT_EQ(codec.Decrypt(raw.data(), int(raw.size()), back.data(), int(back.size()), false), 0);
        EXPECT_EQ(codec.GetLastLength(), int(plain.size()));
        EXPECT_EQ(std::string(back.begin(), back.begin() + plain.size()), plain);

        const std::string text = EncryptText(codec, plain);
        EXPECT_EQ(codec.GetLastLength(), int(text.size()) + 1);
        EXPECT_EQ(codec.DecryptString(text.c_str()).c_str(), plain);
    }
}

TEST(CryptCodecTest, SizingProtocol)
{
    TCryptCodec codec("Qm9vbXNoYWth");
    const char* plain = "hello";
    const int needed = codec.Encrypt(Bytes(plain), 5, nullptr, 0, true);
    EXPECT_EQ(needed, 12 + 1); // one block, 12 base64 characters and the NUL

    // Room for the text but not its NUL: nothing is copied.
    std::vector<uint8_t> tight(needed - 1, 0xEE);
    EXPECT_EQ(codec.Encrypt(Bytes(plain), 5, tight.data(), needed - 1, true), needed);
    EXPECT_EQ(tight, std::vector<uint8_t>(needed - 1, 0xEE));
    EXPECT_EQ(codec.GetLastLength(), 0);

    const std::string text = EncryptText(codec, plain);
    const int plainSize = codec.Decrypt(Bytes(text.c_str()), int(text.size()), nullptr, 0, true);
    EXPECT_EQ(plainSize, 5);
    uint8_t small[4] = {};
    EXPECT_EQ(codec.Decrypt(Bytes(text.c_str()), int(text.size()), small, 4, true), 5);
}

TEST(CryptCodecTest, KeysThatNormaliseAlikeEncryptAlike)
{
    TCryptCodec reference("abcdefghiAAA");
    const std::vector<uint8_t> expected = EncryptRaw(reference, "payload");
    for (const char* key : {"abcdefghi", "abcdefghiXYZ", "abcdefghiQQQQQQ", "abcdefghiAAAAAAAA"}) {
        TCryptCodec codec(key);
        EXPECT_EQ(EncryptRaw(codec, "payload"), expected) << key;
    }
    TCryptCodec shortKey("abcde");
    TCryptCodec padded("abcdeAAAAAAA");
    EXPECT_EQ(EncryptRaw(shortKey, "payload"), EncryptRaw(padded, "payload"));

    TCryptCodec other("abcdefghjAAA");
    EXPECT_NE(EncryptRaw(other, "payload"), expected);
}

TEST(CryptCodecTest, KeyTextDecodesToNineCipherKeyBytes)
{
    // "8OHSw7Sl" decodes to F0 E1 D2 C3 B4 A5; "lAAA" (after the last three
    // are forced to "AAA") decodes to 94 00 00.
    TCryptCodec codec("8OHSw7Sllod4");
    const uint8_t key[9] = {0xF0, 0xE1, 0xD2, 0xC3, 0xB4, 0xA5, 0x94, 0x00, 0x00};
    TBlowfish fish;
    ASSERT_TRUE(fish.SetKey(key, 9));
    EXPECT_EQ(EncryptRaw(codec, "12345678"), fish.EncryptBuffer(Bytes("12345678"), 8));
}

TEST(CryptCodecTest, DecryptStringStopsAtNulAndToleratesGarbage)
{
    TCryptCodec codec("Qm9vbXNoYWth");
    const std::string withNul("ab\0cd", 5);
    EXPECT_STREQ(codec.DecryptString(EncryptText(codec, withNul).c_str()).c_str(), "ab");
    EXPECT_STREQ(codec.DecryptString("").c_str(), "");
    // Not a ciphertext of this key: whatever comes out is bounded and never crashes.
    for (const char* garbage : {"!!!!", "QQ", "not base64 at all", "AAAAAAAAAAA="}) {
        EXPECT_LE(codec.DecryptString(garbage).Length(), int(std::strlen(garbage)));
    }
}

} // namespace
