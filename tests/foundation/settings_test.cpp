#include "foundation/settings.h"

#include "foundation/cryptcodec.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

std::vector<std::pair<std::string, std::string>> gHeard;

void RecordChange(const TString& key, const TString& value)
{
    gHeard.emplace_back(key.c_str(), value.c_str());
}

class SettingsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ClearSettings();
        SetSettingChangeHandler(nullptr);
        gHeard.clear();
        ASSERT_FALSE(mFolder.Path().empty());
    }
    void TearDown() override
    {
        ClearSettings();
        SetSettingChangeHandler(nullptr);
    }

    TString WriteFile(const std::string& content)
    {
        mFolder.Write("settings.xml", content);
        return ("::" + (mFolder / "settings.xml")).c_str();
    }

    static std::string Get(const char* key) { return GetSetting(key, "<default>").c_str(); }

    TempFolder mFolder;
};

TEST_F(SettingsTest, DefaultsAndPrecedence)
{
    EXPECT_EQ(Get("absent"), "<default>");
    EXPECT_EQ(Get("absent"), "<default>") << "a lookup must not insert the key";
    SetSetting("empty", "");
    EXPECT_EQ(Get("empty"), "") << "an empty stored value beats the default";
    SetSetting("k", "1");
    SetSetting("k", "2");
    EXPECT_EQ(Get("k"), "2");
    SetSetting("K", "upper");
    EXPECT_EQ(Get("k"), "2") << "keys are case-sensitive";
    EXPECT_EQ(Get("K"), "upper");
}

TEST_F(SettingsTest, BooleansReadAsAtoi)
{
    const struct
    {
        const char* value;
        bool expected;
    } cases[] = {{"1", true}, {"2", true}, {"-1", true}, {" 7x", true}, {"0", false},
                 {"", false}, {"true", false}, {"yes", false}, {"abc", false}};
    for (const auto& c : cases) {
        SetSetting("flag", c.value);
        EXPECT_EQ(GetSettingBool("flag"), c.expected) << '"' << c.value << '"';
    }
    EXPECT_FALSE(GetSettingBool("never-set"));
}

TEST_F(SettingsTest, LegacyLineWrapSwitchesOnWhateverTheValue)
{
    SetSetting("legacylinewrap", "0");
    EXPECT_TRUE(GetLegacyLineWrap());
}

TEST_F(SettingsTest, ChangeHandlerHearsChangesOnceInstalled)
{
    SetSetting("before", "x");
    SetSettingChangeHandler(RecordChange);
    SetSetting("vsync", "1");
    SetSetting("memorymax", "5");
    EXPECT_EQ(gHeard, (std::vector<std::pair<std::string, std::string>>{{"vsync", "1"}, {"memorymax", "5"}}));
}

TEST_F(SettingsTest, FileEntriesOverrideEarlierValues)
{
    SetSetting("memorymax", "100000000");
    LoadSettingsFile(WriteFile("<?xml version=\"1.0\"?>\n"
                               "<settings>\n"
                               "  <vsync>1</vsync>\n"
                               "  <verbosedebug enabled=\"yes\">0</verbosedebug>\n"
                               "  <memorymax> 5000 </memorymax>\n"
                               "  <vsync>2</vsync>\n"
                               "</settings>\n"
                               "<other><ignored>1</ignored></other>\n"));
    EXPECT_EQ(Get("memorymax"), "5000");
    EXPECT_EQ(Get("vsync"), "2") << "a later element replaces an earlier one";
    EXPECT_EQ(Get("verbosedebug"), "0");
    EXPECT_EQ(Get("enabled"), "<default>") << "attributes are ignored";
    EXPECT_EQ(Get("ignored"), "<default>");
}

TEST_F(SettingsTest, MissingFileOrElementIsSilent)
{
    LoadSettingsFile(("::" + (mFolder / "absent.xml")).c_str());
    LoadSettingsFile(WriteFile("<Settings><vsync>1</vsync></Settings>"));
    EXPECT_EQ(Get("vsync"), "<default>");
}

class CheatModeTest : public SettingsTest
{
protected:
    static TString Encrypt(const char* key, const char* text)
    {
        TCryptCodec codec(key);
        const auto* bytes = reinterpret_cast<const uint8_t*>(text);
        const int length = int(std::strlen(text));
        std::vector<uint8_t> out(codec.Encrypt(bytes, length, nullptr, 0, true));
        EXPECT_EQ(codec.Encrypt(bytes, length, out.data(), int(out.size()), true), 0);
        return reinterpret_cast<const char*>(out.data());
    }

    static constexpr const char* kKey = "Qm9vbXNoYWth";
};

TEST_F(CheatModeTest, RightCodeForThisMachineTurnsItOn)
{
    SetSetting("computerid", "@B@C@D@E@F@G@H@I");
    SetSetting("cheatcode", Encrypt(kKey, "@B@C@D@E@F@G@H@I"));
    EXPECT_EQ(Get("cheatmode"), "<default>") << "no key yet";
    SetSettingChangeHandler(RecordChange);
    SetSetting("encryptionkey", kKey);
    EXPECT_EQ(Get("cheatmode"), "1");
    // Stored directly: the handler hears only the key.
    EXPECT_EQ(gHeard, (std::vector<std::pair<std::string, std::string>>{{"encryptionkey", kKey}}));
}

TEST_F(CheatModeTest, WrongCodeTurnsItOff)
{
    SetSetting("computerid", "@B@C@D@E@F@G@H@I");
    SetSetting("encryptionkey", kKey);
    const struct
    {
        const char* what;
        TString code;
    } cases[] = {
        {"another machine", Encrypt(kKey, "AB@C@D@E@F@G@HAI")},
        {"another key", Encrypt("c29tZXRoaW5n", "@B@C@D@E@F@G@H@I")},
        {"garbage", "not a code"},
    };
    for (const auto& c : cases) {
        SetSetting("cheatcode", c.code);
        EXPECT_EQ(Get("cheatmode"), "0") << c.what;
    }
}

TEST_F(CheatModeTest, EmptyDecryptionNeverMatchesAMissingId)
{
    SetSetting("encryptionkey", kKey);
    SetSetting("cheatcode", Encrypt(kKey, ""));
    EXPECT_EQ(Get("cheatmode"), "0");
}

TEST_F(CheatModeTest, KeyWithoutCodeStoresNothing)
{
    SetSetting("encryptionkey", kKey);
    EXPECT_EQ(Get("cheatmode"), "<default>");
}

} // namespace
