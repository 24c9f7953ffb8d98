#include "foundation/cryptcodec.h"

#include "foundation/base64.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int kKeyTextLength = 12;
constexpr int kKeyFixedFrom = 9;
constexpr int kKeyBytes = 9;

TString NormaliseKeyText(const TString& key)
{
    TString text = key;
    if (text.Length() != kKeyTextLength) {
        text = (text + "AAAAAAAAAAAA").SubString(0, kKeyTextLength);
    }
    if (!(text.SubString(kKeyFixedFrom) == TString("AAA"))) {
        text = text.SubString(0, kKeyFixedFrom) + "AAA";
    }
    return text;
}

// Copies a result when the caller gave room for it; otherwise reports its size.
int Deliver(const std::vector<uint8_t>& result, uint8_t* output, int capacity, int& lastLength)
{
    const int needed = int(result.size());
    if (output == nullptr || capacity < needed) {
        return needed;
    }
    std::copy(result.begin(), result.end(), output);
    lastLength = needed;
    return 0;
}

} // namespace

TCryptCodec::TCryptCodec(const TString& key)
{
    SetKey(key);
}

void TCryptCodec::SetKey(const TString& key)
{
    const TString text = NormaliseKeyText(key);
    // The decoder always stores three bytes per group, so all nine are set
    // even when the key text holds "=".
    uint8_t bytes[kKeyBytes] = {};
    Base64Decode(text.c_str(), kKeyTextLength, bytes);
    mFish.SetKey(bytes, kKeyBytes);
    mLastLength = 0;
}

int TCryptCodec::Encrypt(const uint8_t* input, int length, uint8_t* output, int capacity, bool base64)
{
    std::vector<uint8_t> result = mFish.EncryptBuffer(input, length);
    if (base64) {
        std::vector<uint8_t> text(Base64EncodedSize(int(result.size())) + 1, 0);
        Base64Encode(result.data(), int(result.size()), reinterpret_cast<char*>(text.data()));
        result = std::move(text);
    }
    return Deliver(result, output, capacity, mLastLength);
}

int TCryptCodec::Decrypt(const uint8_t* input, int length, uint8_t* output, int capacity, bool base64)
{
    std::vector<uint8_t> plain;
    if (base64) {
        std::vector<uint8_t> decoded(Base64DecodedSize(std::max(length, 0)));
        const int count = Base64Decode(reinterpret_cast<const char*>(input), length, decoded.data());
        plain = mFish.DecryptBuffer(decoded.data(), count);
    } else {
        plain = mFish.DecryptBuffer(input, length);
    }
    return Deliver(plain, output, capacity, mLastLength);
}

TString TCryptCodec::DecryptString(const TString& text)
{
    const uint8_t* input = reinterpret_cast<const uint8_t*>(text.c_str());
    const int needed = Decrypt(input, text.Length(), nullptr, 0, true);
    if (needed <= 0) {
        return TString();
    }
    std::vector<uint8_t> plain(needed);
    if (Decrypt(input, text.Length(), plain.data(), needed, true) != 0) {
        return TString();
    }
    return TString(reinterpret_cast<const char*>(plain.data()), needed);
}
