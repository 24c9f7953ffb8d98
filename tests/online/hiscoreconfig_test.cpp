#include "online/hiscoreconfig.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/tempfolder.h"

namespace {

class HiscoreConfigTest : public testing::Test {
protected:
    THiscoreConfig Load(const std::string& text) {
        mFolder.Write("hiscore.xml", text);
        THiscoreConfig config;
        config.Load(("::" + (mFolder / "hiscore.xml")).c_str());
        return config;
    }
    TempFolder mFolder;
};

TEST_F(HiscoreConfigTest, LanguageAndMessageComeFromTheFile) {
    THiscoreConfig config = Load("<hiscore><language>de</language><defaulterror>Offline</defaulterror></hiscore>");
    EXPECT_STREQ(config.language.c_str(), "de");
    EXPECT_TRUE(config.languageFixed);
    EXPECT_STREQ(config.defaultError.c_str(), "Offline");
}

TEST_F(HiscoreConfigTest, MissingOrBadFilesKeepTheDefaults) {
    const char* texts[] = {"<other><language>de</language></other>", "<hiscore><language></language></hiscore>",
                           "\x01\xff<<<", ""};
    for (const char* text : texts) {
        THiscoreConfig config = Load(text);
        EXPECT_STREQ(config.language.c_str(), "en") << text;
        EXPECT_FALSE(config.languageFixed) << text;
        EXPECT_STREQ(config.defaultError.c_str(), "") << text;
    }
    THiscoreConfig missing;
    missing.Load("::/nonexistent/hiscore.xml");
    EXPECT_STREQ(missing.language.c_str(), "en");
}

}  // namespace
