#include "foundation/zxml.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "tests/foundation/zxmldata.h"

namespace {

TEST(Zxml, InflatesAWholeDocument) {
    const std::string text = "<Row><Data>a</Data><Data>" + std::string(5000, 'b') + "</Data></Row>";
    const std::string packed = MakeZxml(text);
    EXPECT_TRUE(IsZxml(packed.data(), packed.size()));
    std::string plain;
    ASSERT_TRUE(InflateZxml(packed.data(), packed.size(), plain));
    EXPECT_EQ(plain, text);
    ASSERT_TRUE(InflateZxml(MakeZxml("").data(), MakeZxml("").size(), plain));
    EXPECT_EQ(plain, "");
}

TEST(Zxml, BrokenBuffersAreRefused) {
    const std::string good = MakeZxml("some text to pack, some text to pack");
    const std::string stream = good.substr(12);
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"not compressed", "<Row>"},
        {"magic only", "ZXML"},
        {"short header", "ZXML" + ZxmlWord(4)},
        {"stream cut", good.substr(0, good.size() - 4)},
        {"stream length past the buffer", "ZXML" + ZxmlWord(uint32_t(stream.size() + 1)) + ZxmlWord(36) + stream},
        {"plain length past any expansion", "ZXML" + ZxmlWord(uint32_t(stream.size())) + ZxmlWord(0x7FFFFFFF) + stream},
        {"plain length too small", "ZXML" + ZxmlWord(uint32_t(stream.size())) + ZxmlWord(3) + stream},
        {"not a zlib stream", "ZXML" + ZxmlWord(8) + ZxmlWord(8) + std::string(8, 'x')},
    };
    for (const Case& c : cases) {
        std::string plain = "stale";
        EXPECT_FALSE(InflateZxml(c.bytes.data(), c.bytes.size(), plain)) << c.name;
        EXPECT_EQ(plain, "") << c.name;
    }
}

}  // namespace
