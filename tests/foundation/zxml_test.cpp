#include "foundation/zxml.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

std::string U32(uint32_t value) {
    std::string bytes;
    for (int shift = 0; shift < 32; shift += 8) {
        bytes += static_cast<char>(value >> shift);
    }
    return bytes;
}

std::string Deflate(const std::string& text) {
    uLongf size = compressBound(text.size());
    std::vector<Bytef> out(size);
    compress(out.data(), &size, reinterpret_cast<const Bytef*>(text.data()), text.size());
    return std::string(reinterpret_cast<const char*>(out.data()), size);
}

std::string Zxml(const std::string& text) {
    std::string stream = Deflate(text);
    return "ZXML" + U32(static_cast<uint32_t>(stream.size())) + U32(static_cast<uint32_t>(text.size())) + stream;
}

TEST(Zxml, InflatesAWholeDocument) {
    const std::string text = "<Row><Data>a</Data><Data>" + std::string(5000, 'b') + "</Data></Row>";
    const std::string packed = Zxml(text);
    EXPECT_TRUE(IsZxml(packed.data(), packed.size()));
    std::string plain;
    ASSERT_TRUE(InflateZxml(packed.data(), packed.size(), plain));
    EXPECT_EQ(plain, text);
    ASSERT_TRUE(InflateZxml(Zxml("").data(), Zxml("").size(), plain));
    EXPECT_EQ(plain, "");
}

TEST(Zxml, BrokenBuffersAreRefused) {
    const std::string good = Zxml("some text to pack, some text to pack");
    const std::string stream = good.substr(12);
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"not compressed", "<Row>"},
        {"magic only", "ZXML"},
        {"short header", "ZXML" + U32(4)},
        {"stream cut", good.substr(0, good.size() - 4)},
        {"stream length past the buffer", "ZXML" + U32(uint32_t(stream.size() + 1)) + U32(36) + stream},
        {"plain length past any expansion", "ZXML" + U32(uint32_t(stream.size())) + U32(0x7FFFFFFF) + stream},
        {"plain length too small", "ZXML" + U32(uint32_t(stream.size())) + U32(3) + stream},
        {"not a zlib stream", "ZXML" + U32(8) + U32(8) + std::string(8, 'x')},
    };
    for (const Case& c : cases) {
        std::string plain = "stale";
        EXPECT_FALSE(InflateZxml(c.bytes.data(), c.bytes.size(), plain)) << c.name;
        EXPECT_EQ(plain, "") << c.name;
    }
}

}  // namespace
