#include "foundation/base64.h"

#include <array>
#include <string>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/=";
constexpr uint8_t kPadValue = 64;
constexpr uint8_t kInvalid = 0xFF;

constexpr std::array<uint8_t, 256> MakeReverseTable()
{
    std::array<uint8_t, 256> table{};
    table.fill(kInvalid);
    for (uint8_t value = 0; value <= kPadValue; ++value) {
        table[static_cast<unsigned char>(kAlphabet[value])] = value;
    }
    return table;
}

constexpr std::array<uint8_t, 256> kReverse = MakeReverseTable();

uint8_t Sextet(char c)
{
    return kReverse[static_cast<unsigned char>(c)];
}

// Decodes groups of four characters; n is a multiple of 4.
int DecodeGroups(const char* text, int n, uint8_t* output)
{
    int written = 0;
    for (int at = 0; at < n; at += 4) {
        const uint32_t bits = (uint32_t(Sextet(text[at])) << 18) | (uint32_t(Sextet(text[at + 1])) << 12) |
                              (uint32_t(Sextet(text[at + 2])) << 6) | uint32_t(Sextet(text[at + 3]));
        output[written] = uint8_t(bits >> 16);
        output[written + 1] = uint8_t(bits >> 8);
        output[written + 2] = uint8_t(bits);
        written += 3;
        if (text[at + 3] == '=') {
            --written;
            if (text[at + 2] == '=') {
                --written;
            }
        }
    }
    return written;
}

} // namespace

int Base64EncodedSize(int n)
{
    return (n + 2) / 3 * 4;
}

int Base64Encode(const uint8_t* input, int n, char* output)
{
    int written = 0;
    for (int at = 0; at < n; at += 3) {
        const int count = n - at < 3 ? n - at : 3;
        uint32_t bits = uint32_t(input[at]) << 16;
        if (count > 1) {
            bits |= uint32_t(input[at + 1]) << 8;
        }
        if (count > 2) {
            bits |= input[at + 2];
        }
        output[written] = kAlphabet[(bits >> 18) & 0x3F];
        output[written + 1] = kAlphabet[(bits >> 12) & 0x3F];
        output[written + 2] = count > 1 ? kAlphabet[(bits >> 6) & 0x3F] : '=';
        output[written + 3] = count > 2 ? kAlphabet[bits & 0x3F] : '=';
        written += 4;
    }
    return written;
}

int Base64DecodedSize(int n)
{
    return (n + 3) / 4 * 3;
}

int Base64Decode(const char* text, int n, uint8_t* output)
{
    if (n <= 0) {
        return 0;
    }
    if (n % 4 == 0) {
        return DecodeGroups(text, n, output);
    }
    std::string padded(text, n);
    padded.append(4 - n % 4, '=');
    return DecodeGroups(padded.data(), int(padded.size()), output);
}
