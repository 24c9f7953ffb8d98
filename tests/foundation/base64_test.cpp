#include "foundation/base64.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Encode(const std::string& plain)
{
    std::string out(Base64EncodedSize(int(plain.size())), '?');
    const int n = Base64Encode(reinterpret_cast<const uint8_t*>(plain.data()), int(plain.size()), out.data());
    EXPECT_EQ(n, int(out.size()));
    return out;
}

std::string Decode(const std::string& text)
{
    std::vector<uint8_t> out(Base64DecodedSize(int(text.size())));
    const int n = Base64Decode(text.data(), int(text.size()), out.data());
    EXPECT_LE(n, int(out.size()));
    return std::string(out.begin(), out.begin() + n);
}

TEST(Base64Test, EncodeTable)
{
    const struct
    {
        const char* plain;
        const char* encoded;
    } cases[] = {
        {"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"}, {"\xFB\xFF\xBF", "+/+/"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Encode(c.plain), c.encoded) << c.plain;
        EXPECT_EQ(Decode(c.encoded), c.plain) << c.encoded;
    }
}

TEST(Base64Test, UnpaddedInputIsPaddedBeforeDecoding)
{
    EXPECT_EQ(Decode("Zg"), "f");
    EXPECT_EQ(Decode("Zm8"), "fo");
    EXPECT_EQ(Decode("Zm9vYg"), "foob");
    EXPECT_EQ(Base64DecodedSize(2), 3);
    EXPECT_EQ(Base64DecodedSize(5), 6);
}

TEST(Base64Test, EveryByteValueRoundTrips)
{
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += char(b);
    }
    EXPECT_EQ(Decode(Encode(all)), all);
}

TEST(Base64Test, CharactersOutsideTheAlphabetAreNotReported)
{
    // Each group still yields its three bytes; no error, no overrun.
    std::vector<uint8_t> out(Base64DecodedSize(8));
    EXPECT_EQ(Base64Decode("Zm9v*!*!", 8, out.data()), 6);
    EXPECT_EQ(std::string(out.begin(), out.begin() + 3), "foo");
}

} // namespace
