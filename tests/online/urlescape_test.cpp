#include "online/urlescape.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(UrlEscape, WritesTheTwentyFourCharactersInPercentForm) {
    const struct {
        char c;
        const char* escaped;
    } table[] = {
        {' ', "%20"},  {'"', "%22"}, {'#', "%23"}, {'$', "%24"}, {'%', "%25"}, {'&', "%26"},
        {'+', "%2B"},  {',', "%2C"}, {'/', "%2F"}, {':', "%3A"}, {';', "%3B"}, {'<', "%3C"},
        {'=', "%3D"},  {'>', "%3E"}, {'?', "%3F"}, {'@', "%40"}, {'[', "%5B"}, {'\\', "%5C"},
        {']', "%5D"},  {'^', "%5E"}, {'`', "%60"}, {'{', "%7B"}, {'|', "%7C"}, {'}', "%7D"},
    };
    for (const auto& entry : table) {
        const char text[] = {'a', entry.c, 'b', '\0'};
        EXPECT_STREQ(UrlEscape(text).c_str(), (std::string("a") + entry.escaped + "b").c_str()) << entry.c;
    }
}

TEST(UrlEscape, EveryOtherByteGoesThroughUnchanged) {
    const std::string escaped = " \"#$%&+,/:;<=>?@[\\]^`{|}";
    std::string others;
    for (int c = 1; c < 256; ++c) {
        if (escaped.find(static_cast<char>(c)) == std::string::npos) others += static_cast<char>(c);
    }
    EXPECT_EQ(others.size(), 255u - 24u);
    EXPECT_EQ(std::string(UrlEscape(others.c_str()).c_str()), others);
}

TEST(UrlEscape, EachCharacterOnceAndNullGivesEmpty) {
    EXPECT_STREQ(UrlEscape("x y&z~*").c_str(), "x%20y%26z~*");
    EXPECT_STREQ(UrlEscape("%20").c_str(), "%2520");
    EXPECT_STREQ(UrlEscape("").c_str(), "");
    EXPECT_STREQ(UrlEscape(nullptr).c_str(), "");
}

}  // namespace
