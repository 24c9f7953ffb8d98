#include "online/hiscoreserverlib.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/os/library.h"
#include "tests/online/hiscoresfixture.h"
#include "tests/online/stub/qmservletstub.h"

namespace {

const char kStub[] = "qmservlet_stub.dll";
const char kStubWithoutOptional[] = "qmservlet_stub_nooptional.dll";
const char kStubWithoutMedals[] = "qmservlet_stub_nomedals.dll";

const std::string kCreate = "CreateLocalServer()\n";
const std::string kFree = "FreeLocalServer()\n";

class HiscoreServerLibTest : public HiscoresFixture {
protected:
    void SetUp() override {
        HiscoresFixture::SetUp();
        // Held open so that the stand-in's record outlives each client.
        ASSERT_TRUE(mStub.Open(kStub)) << mStub.Error();
        Clear();
        SetSetting(kSettingQmGameHandle, "vm-handle");
        SetSetting("qmgamemodename1", "story");
        SetSetting("qmgamemodename2", "endless");
    }

    std::string Calls() {
        auto calls = reinterpret_cast<decltype(&HiscoreServerStub_Calls)>(mStub.Symbol("HiscoreServerStub_Calls"));
        return calls ? calls() : "no record";
    }
    void Clear() {
        auto clear =
            reinterpret_cast<decltype(&HiscoreServerStub_ClearCalls)>(mStub.Symbol("HiscoreServerStub_ClearCalls"));
        if (clear) clear();
    }

    os::Library mStub;
};

TEST_F(HiscoreServerLibTest, TheStandInIsBesideTheTests) {
    EXPECT_EQ(os::LibraryPath(kStub).substr(os::LibraryPath(kStub).rfind('/')), "/qmservlet_stub.so");
    THiscoreServerLib lib;
    EXPECT_FALSE(lib.Open(kNoLibrary, "game", kHiscoreKey));
    EXPECT_FALSE(lib.IsOpen());
    EXPECT_EQ(lib.GetStatus(), 2);
    EXPECT_EQ(lib.GetContents(), nullptr);
    EXPECT_EQ(mLog.Text(), ""); // absence is silent
}

TEST_F(HiscoreServerLibTest, AbsentLibraryLeavesRequestsToHttp) {
    Make(kNoLibrary);
    Exchange([this] { mClient->RequestCategoryInformation(); });
    EXPECT_EQ(mTransport->Requests().size(), 1u);
    EXPECT_EQ(Calls(), "");
}

TEST_F(HiscoreServerLibTest, ServerHearsOfTheModesUpToTheFirstGap) {
    SetSetting("qmgamemodename4", "late");
    Make(kStub);
    EXPECT_EQ(Calls(), kCreate + "SetServerInfo(vm-handle," + kHiscoreKey + ",[story|endless],2,null,0)\n");

    Clear();
    SetSetting("qmgamemedalname1", "gold");
    SetSetting("qmgamemedalname2", "silver");
    Make(kStub);
    EXPECT_EQ(Calls(), kFree + kCreate + "SetServerInfo(vm-handle," + kHiscoreKey +
                           ",[story|endless],2,[gold|silver],2)\n");
}

TEST_F(HiscoreServerLibTest, SetUpWithoutHandleOrModes) {
    SetSetting(kSettingQmGameHandle, "");
    Make(kStub);
    EXPECT_EQ(Calls(), kCreate + "LoadServerDefFile()\n");

    Clear();
    SetSetting(kSettingQmGameHandle, "vm-handle");
    SetSetting("qmgamemodename1", "");
    Make(kStub);
    EXPECT_EQ(Calls(), kFree + kCreate);
}

TEST_F(HiscoreServerLibTest, OptionalFunctionsMayBeMissing) {
    for (const char* handle : {"", "vm-handle"}) {
        SetSetting(kSettingQmGameHandle, handle);
        Make(kStubWithoutOptional);
        Exchange([this] { mClient->RequestCategoryInformation(); });
        EXPECT_TRUE(mTransport->Requests().empty()) << handle;
        EXPECT_EQ(mClient->GetCategoryCount(), 0) << handle;
    }
    EXPECT_EQ(mLog.Text(), "");
}

TEST_F(HiscoreServerLibTest, LibraryWithoutARequiredFunctionIsNotUsed) {
    Make(kStubWithoutMedals);
    EXPECT_TRUE(mLog.Contains("qmservlet_stub_nomedals.dll lacks a server function")) << mLog.Text();
    Exchange([this] { mClient->RequestCategoryInformation(); });
    EXPECT_EQ(mTransport->Requests().size(), 1u);
}

TEST_F(HiscoreServerLibTest, PollingGoesFromRunningToTheParsedReply) {
    Make(kStub);
    mClient->RequestCategoryInformation();
    char message[64] = "";
    EXPECT_EQ(mClient->PollReply(message, sizeof message, nullptr), TQmHiscores::kRequestRunning);
    EXPECT_EQ(mClient->PollReply(message, sizeof message, nullptr), TQmHiscores::kReplyAccepted);
    ASSERT_EQ(mClient->GetCategoryCount(), 2);
    ASSERT_TRUE(mClient->GetCategoryName(1, message, sizeof message));
    EXPECT_STREQ(message, "endless");
    EXPECT_TRUE(mTransport->Requests().empty());

    mClient.reset();
    const std::string calls = Calls();
    EXPECT_EQ(calls.substr(calls.size() - kFree.size()), kFree);
}

TEST_F(HiscoreServerLibTest, FailingServerGivesTheConnectText) {
    for (const char* game : {"fail", "noreply"}) {
        SetSetting(kSettingQmGameHandle, game);
        Make(kStub);
        mClient->RequestCategoryInformation();
        std::string message;
        EXPECT_EQ(Poll(&message), TQmHiscores::kRequestFailed) << game;
        EXPECT_EQ(message, kConnectText) << game;
    }
}

TEST_F(HiscoreServerLibTest, RequestsReachTheServerWithTheirArguments) {
    Make(kStub);
    Exchange([this] { mClient->RequestCategoryInformation(); });
    Exchange([this] { mClient->RequestScores(5); });
    ASSERT_TRUE(mClient->AddLocalScore(250, false, "lvl=3", "<medal/>"));
    Exchange([this] { mClient->SubmitScore("acct", "pw", false); });
    Exchange([this] { mClient->RequestScores(0); });
    Exchange([this] { mClient->SubmitMedals("<medal/>", nullptr, nullptr, false); });
    char data[64];
    const std::string calls = Calls();
    const std::string submitted = "SubmitScore(vm-handle,story,acct,pw,";
    const std::string guid = calls.substr(calls.find(submitted) + submitted.size(), 32);
    EXPECT_EQ(calls.substr(calls.find("RequestCategoryInformation")),
              std::string("RequestCategoryInformation(vm-handle)\n"
                          "RequestScores(vm-handle,story,null,null)\n") +
                  submitted + guid + ",1.2,lvl=3,250," + kHiscoreKey + ",<medal/>)\n" +
                  "RequestScores(vm-handle,story,table1,acct)\n" +
                  "SubmitMedals(vm-handle,story,null,null,<medal/>," + kHiscoreKey + ")\n");
    EXPECT_EQ(mTransport->Requests().size(), 0u);
    EXPECT_FALSE(mClient->GetUserEntry(0, nullptr, nullptr, data, sizeof data)); // marked submitted
}

TEST_F(HiscoreServerLibTest, LocalScoreTravelsToTheServerAndBack) {
    Make(kStub);
    Exchange([this] { mClient->RequestCategoryInformation(); });
    ASSERT_TRUE(mClient->AddLocalScore(250, false, "lvl=3", ""));
    mClient->SubmitScore("acct", "pw", false);
    bool ranked = false;
    ASSERT_EQ(Poll(nullptr, &ranked), TQmHiscores::kReplyAccepted);
    EXPECT_TRUE(ranked);

    mClient->RequestScores(0);
    ASSERT_EQ(Poll(), TQmHiscores::kReplyAccepted);
    ASSERT_EQ(mClient->GetScoreCount(false), 1);
    ExpectScoreEntry(false, 0, 1, 250, "acct", "lvl=3");
    int rank = 0, score = 0;
    char data[64];
    ASSERT_TRUE(mClient->GetUserEntry(1, &score, &rank, data, sizeof data));
    EXPECT_EQ(score, 250);
}

}  // namespace
