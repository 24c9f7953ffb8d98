#include "online/hiscoredata.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "foundation/cryptcodec.h"
#include "foundation/settings.h"
#include "foundation/virtualfiles.h"
#include "online/hiscorefile.h"
#include "tests/support/fullmatch.h"
#include "tests/support/luatesting.h"
#include "tests/support/tempfolder.h"

namespace {

const char kKey[] = "SGlTY29yZXMx";
const char kChecksumLine[] = "HiScores: Checksum did not match! Ignoring saved score data.";

class HiscoreDataTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(mRoot.Path().empty());
        std::filesystem::create_directories(mRoot / "user");
        SetDataFolders((mRoot / "user").c_str(), (mRoot / "common").c_str(), "");
        SetSetting(kSettingVersion, "1.2");
    }
    void TearDown() override {
        ClearSettings();
        SetDataFolders("", "", "");
        ClearVirtualFiles();
    }

    std::string SavedFile() const { return mRoot.Read("user/hiscore.dat"); }
    void WriteSavedFile(const std::string& bytes) const { mRoot.Write("user/hiscore.dat", bytes); }
    std::string Seal(const std::string& text) {
        TCryptCodec codec(kKey);
        return SealHiscoreFile(codec, text);
    }

    // Scores of the mode's rows, best first, and their ranks.
    std::vector<int> Scores(const TString& mode) {
        std::vector<int> scores;
        for (const THiscoreRow& row : mData.Tables()[mode].rows) scores.push_back(row.score);
        return scores;
    }
    std::vector<int> Ranks(const TString& mode) {
        std::vector<int> ranks;
        for (const THiscoreRow& row : mData.Tables()[mode].rows) ranks.push_back(row.rank);
        return ranks;
    }
    void Add(const char* player, int score, bool replaceLower = false) {
        ASSERT_TRUE(mData.AddLocalScore("story", player, score, replaceLower, "data", ""));
    }

    TestLog mLog;
    TempFolder mRoot;
    THiscoreData mData{kKey};
};

TEST_F(HiscoreDataTest, RoundTripKeepsEverythingInOrder) {
    mData.Logins()["ann"] = {"ann", "ann@host", "secret \"x\" <&>"};
    ASSERT_TRUE(mData.AddLocalScore("story", "ann", 90, false, "lvl=3", "<medal name=\"gold\"/>"));
    Add("bob", 120);
    mData.Tables()["story"].rows[0].submitted = true;
    mData.Medals()["ann"] = {{"gold", "bronze", "story", "g", true}, {"silver", "per", "endless", "", false}};
    ASSERT_TRUE(mData.Save());

    const std::string text = mData.WriteToString();
    EXPECT_EQ(text.rfind("<?xml version=\"1.0\"?>\n", 0), 0u);
    const size_t user = text.find("<user");
    const size_t score = text.find("<score");
    const size_t medals = text.find("<medals");
    EXPECT_TRUE(user < score && score < medals) << text;
    const char* rowOrder[] = {"rank=", "score=", "submit=", "guid=", "name=", "gameData=", "serverData=", "version="};
    size_t at = text.find("<row");
    for (const char* attribute : rowOrder) {
        const size_t next = text.find(attribute, at);
        EXPECT_NE(next, std::string::npos) << attribute;
        at = next;
    }

    THiscoreData loaded(kKey);
    loaded.Load();
    const THiscoreLogin& login = loaded.Logins()["ann"];
    EXPECT_STREQ(login.account.c_str(), "ann@host");
    EXPECT_STREQ(login.password.c_str(), "secret \"x\" <&>");
    const std::vector<THiscoreRow>& rows = loaded.Tables()["story"].rows;
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_STREQ(rows[0].name.c_str(), "bob");
    EXPECT_TRUE(rows[0].submitted);
    EXPECT_EQ(rows[1].rank, 2);
    EXPECT_EQ(rows[1].score, 90);
    EXPECT_STREQ(rows[1].gameData.c_str(), "lvl=3");
    EXPECT_STREQ(rows[1].serverData.c_str(), "<medal name=\"gold\"/>");
    EXPECT_STREQ(rows[1].version.c_str(), "1.2");
    EXPECT_STREQ(rows[1].guid.c_str(), mData.Tables()["story"].rows[1].guid.c_str());
    EXPECT_TRUE(FullMatch(rows[1].guid.c_str(), "[0-9a-f]{32}"));
    const std::vector<THiscoreMedal>& medalList = loaded.Medals()["ann"];
    ASSERT_EQ(medalList.size(), 2u);
    EXPECT_STREQ(medalList[0].medalName.c_str(), "gold");
    EXPECT_STREQ(medalList[0].type.c_str(), "bronze");
    EXPECT_TRUE(medalList[0].submitted);
    EXPECT_STREQ(medalList[1].mode.c_str(), "endless");
    EXPECT_FALSE(medalList[1].submitted);
    EXPECT_EQ(loaded.WriteToString(), text);
    EXPECT_FALSE(mLog.Contains("HiScores"));
}

TEST_F(HiscoreDataTest, FileIsEncryptedTextThenItsChecksumBlock) {
    Add("ann", 10);
    const std::string file = SavedFile();
    ASSERT_GT(file.size(), 8u);
    ASSERT_EQ(file.size() % 8, 0u);
    const std::string sealed = file.substr(0, file.size() - 8);
    TCryptCodec codec(kKey);
    std::vector<uint8_t> plain(8);
    ASSERT_EQ(codec.Decrypt(reinterpret_cast<const uint8_t*>(file.data()) + sealed.size(), 8, plain.data(), 8, false), 0);
    ASSERT_EQ(codec.GetLastLength(), 4);
    const uint32_t stored = plain[0] | plain[1] << 8 | plain[2] << 16 | uint32_t(plain[3]) << 24;
    EXPECT_EQ(stored, HiscoreChecksum(reinterpret_cast<const uint8_t*>(sealed.data()), sealed.size()));
    EXPECT_EQ(HiscoreChecksum(reinterpret_cast<const uint8_t*>("\x01\x02\x03\x04\x10"), 5), 0x04030211u);
}

TEST_F(HiscoreDataTest, DamagedFilesAreIgnoredWithTheLogLine) {
    Add("ann", 10);
    const std::string good = SavedFile();
    std::string flipped = good;
    flipped[3] ^= 0x20;
    std::string shortened = good;
    shortened.erase(5, 1);
    const std::string notXml = Seal("just some text");
    const std::string cases[] = {flipped, shortened, notXml, Seal("")};
    for (const std::string& bytes : cases) {
        const size_t before = mLog.Count(kChecksumLine);
        WriteSavedFile(bytes);
        mData.Load();
        EXPECT_TRUE(mData.Tables().empty());
        EXPECT_EQ(mLog.Count(kChecksumLine), before + 1);
    }
}

// A damaged file's scores and logins are lost to this run only: the save
// after it sets its bytes aside as "hiscore.dat.bad" before the new file
// takes its place, and later saves leave that copy alone.
TEST_F(HiscoreDataTest, DamagedFileIsKeptBesideTheNewOne) {
    mData.Logins()["ann"] = {"ann", "acct", "pw"};
    Add("ann", 10);
    const std::string good = SavedFile();
    std::string flipped = good;
    flipped[3] ^= 0x20;
    flipped[20] ^= 0x01;
    const struct {
        const char* name;
        std::string bytes;
        bool damaged;
    } cases[] = {
        {"two flipped bytes", flipped, true},
        {"one byte cut", good.substr(0, good.size() - 1), true},
        {"five appended", good + "12345", true},
        {"sound file", good, false},
    };
    const std::filesystem::path copy = mRoot / "user/hiscore.dat.bad";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(copy);
        WriteSavedFile(c.bytes);
        THiscoreData data(kKey);
        data.Load();
        ASSERT_TRUE(data.AddLocalScore("story", "bob", 20, false, "", ""));
        if (!c.damaged) {
            EXPECT_FALSE(std::filesystem::exists(copy));
            continue;
        }
        EXPECT_EQ(mRoot.Read("user/hiscore.dat.bad"), c.bytes);
        THiscoreData reloaded(kKey);
        reloaded.Load();
        ASSERT_EQ(reloaded.Tables()["story"].rows.size(), 1u);
        EXPECT_STREQ(reloaded.Tables()["story"].rows[0].name.c_str(), "bob");
        ASSERT_TRUE(data.AddLocalScore("story", "cid", 30, false, "", ""));
        EXPECT_EQ(mRoot.Read("user/hiscore.dat.bad"), c.bytes);
    }
}

TEST_F(HiscoreDataTest, ShortOrMissingFilesAreSilent) {
    for (const std::string& bytes : {std::string("12345678"), std::string()}) {
        WriteSavedFile(bytes);
        mData.Load();
        EXPECT_TRUE(mData.Tables().empty());
    }
    std::filesystem::remove(mRoot / "user/hiscore.dat");
    mData.Load();
    EXPECT_TRUE(mData.Tables().empty());
    EXPECT_EQ(mLog.Text(), "");
}

TEST_F(HiscoreDataTest, OversizedFileIsIgnoredWithALine) {
    WriteSavedFile(std::string(4 * 1024 * 1024 + 8, 'z'));
    mData.Load();
    EXPECT_TRUE(mData.Tables().empty());
    EXPECT_TRUE(mLog.Contains("too large")) << mLog.Text();
    EXPECT_FALSE(mLog.Contains(kChecksumLine));
}

TEST_F(HiscoreDataTest, ReadingKeepsFiveHundredRowsAndReadsNumbersAsAtoi) {
    std::string text = "<?xml version=\"1.0\"?>\n<score name=\"story\">";
    text += "<row rank=\"7x\" score=\"-12abc\" submit=\"yes\" name=\"a\"/>";
    for (int i = 0; i < 600; ++i) text += "<row rank=\"1\" score=\"5\" name=\"r\"/>";
    text += "</score>";
    WriteSavedFile(Seal(text));
    mData.Load();
    const std::vector<THiscoreRow>& rows = mData.Tables()["story"].rows;
    ASSERT_EQ(rows.size(), 500u);
    EXPECT_EQ(rows[0].rank, 7);
    EXPECT_EQ(rows[0].score, -12);
    EXPECT_FALSE(rows[0].submitted);
}

TEST_F(HiscoreDataTest, AddLocalScoreRanksEqualScoresBehind) {
    Add("ann", 90);
    EXPECT_EQ(Scores("story"), (std::vector<int>{90}));
    EXPECT_EQ(Ranks("story"), (std::vector<int>{1}));
    Add("bob", 90);
    Add("cid", 80);
    Add("dan", 95);
    EXPECT_EQ(Scores("story"), (std::vector<int>{95, 90, 90, 80}));
    EXPECT_EQ(Ranks("story"), (std::vector<int>{1, 2, 2, 4}));
    EXPECT_STREQ(mData.Tables()["story"].rows[1].name.c_str(), "ann");
    EXPECT_STREQ(mData.Tables()["story"].rows[2].name.c_str(), "bob");
    EXPECT_STREQ(mData.Tables()["story"].rows[2].version.c_str(), "1.2");
}

TEST_F(HiscoreDataTest, TiedLeadersShareTheFirstRank) {
    Add("ann", 90);
    Add("bob", 90);
    Add("cid", 80);
    EXPECT_EQ(Ranks("story"), (std::vector<int>{1, 1, 3}));
}

TEST_F(HiscoreDataTest, ReplaceLowerKeepsTheBestScoreAndItsGuid) {
    Add("ann", 50);
    Add("bob", 70);
    const TString guid = mData.Tables()["story"].rows[1].guid;
    struct Case {
        int score;
        std::vector<int> expected;
    } cases[] = {{40, {70, 50}}, {50, {70, 50}}, {80, {80, 70}}};
    for (const Case& c : cases) {
        std::filesystem::remove(mRoot / "user/hiscore.dat");
        Add("ann", c.score, true);
        EXPECT_EQ(Scores("story"), c.expected) << c.score;
        EXPECT_FALSE(SavedFile().empty()) << "the file is written even when nothing changed";
    }
    EXPECT_STREQ(mData.Tables()["story"].rows[0].guid.c_str(), guid.c_str());
    EXPECT_EQ(mData.Tables()["story"].rows.size(), 2u);
}

TEST_F(HiscoreDataTest, FullTableDropsAScoreBelowEveryRow) {
    for (int i = 0; i < THiscoreData::kMaxRows; ++i) {
        mData.Tables()["story"].rows.push_back(THiscoreRow{});
        mData.Tables()["story"].rows.back().score = 1000 - i;
    }
    mData.Tables()["story"].mode = "story";
    Add("low", 1);
    EXPECT_EQ(mData.Tables()["story"].rows.size(), 500u);
    EXPECT_EQ(mData.Tables()["story"].rows.back().score, 501);
    EXPECT_FALSE(SavedFile().empty());

    Add("mid", 700);
    const std::vector<THiscoreRow>& rows = mData.Tables()["story"].rows;
    ASSERT_EQ(rows.size(), 500u);
    // Behind the row that already holds 700.
    EXPECT_EQ(rows[301].score, 700);
    EXPECT_STREQ(rows[301].name.c_str(), "mid");
    EXPECT_EQ(rows[301].rank, 301);
    EXPECT_EQ(rows.back().score, 502);
    EXPECT_EQ(rows.back().rank, 500);
}

TEST_F(HiscoreDataTest, SaveReplacesTheFileWhole) {
    Add("ann", 10);
    const std::string first = SavedFile();
    Add("bob", 20);
    EXPECT_NE(SavedFile(), first);
    for (const auto& entry : std::filesystem::directory_iterator(mRoot / "user")) {
        EXPECT_EQ(entry.path().filename(), "hiscore.dat");
    }
    SetDataFolders("", "", "");
    EXPECT_FALSE(mData.Save());
    EXPECT_TRUE(mLog.Contains("no folder")) << mLog.Text();
}

}  // namespace
