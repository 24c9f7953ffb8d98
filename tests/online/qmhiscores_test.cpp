#include "online/qmhiscores.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "online/hiscoredata.h"
#include "platform/http/curltransport.h"
#include "tests/online/hiscoresfixture.h"
#include "tests/support/testhttpserver.h"

namespace {

const char kTables[] =
    "<hiscore><tables><table table=\"t1\" name=\"All Time\"/><other/><table table=\"t2\" name=\"Week\"/>"
    "</tables></hiscore>";
const char kMedalLines[] = "<medal name=\"gold\" per=\"type\"/>\r\n<medal name=\"tin\" per=\"type\"/>\r\n";

std::vector<std::string> Names(const Params& params) {
    std::vector<std::string> names;
    for (const auto& pair : params) names.push_back(pair.first);
    return names;
}

// Where each piece starts in the text, in the order given; npos once one is missing.
bool InOrder(const std::string& text, const std::vector<std::string>& pieces) {
    size_t at = 0;
    for (const std::string& piece : pieces) {
        at = text.find(piece, at);
        if (at == std::string::npos) return false;
        at += piece.size();
    }
    return true;
}

class QmHiscoresTest : public HiscoresFixture {
protected:
    void ReceiveCategories() { Exchange([this] { mClient->RequestCategoryInformation(); }, kTables); }
    // Submits ann's local score under the account with a password.
    Params SubmitWithAccount(bool remember = false, const std::string& reply = "<hiscore><score rank=\"3\"/></hiscore>") {
        EXPECT_TRUE(mClient->AddLocalScore(250, false, "lvl=3", ""));
        return Exchange([this, remember] { EXPECT_TRUE(mClient->SubmitScore("acct", "pw", remember)); }, reply);
    }
};

TEST_F(QmHiscoresTest, TableAndScoreRequestsCarryTheirParametersInOrder) {
    Make();
    Params categories = Exchange([this] { mClient->RequestCategoryInformation(); }, kTables);
    EXPECT_EQ(categories, (Params{{"lang", "en"}, {"ver", "1.0"}, {"action", "tables"}, {"game", "vandermoot"}}));
    ASSERT_EQ(mClient->GetCategoryCount(), 2);

    const Params scoresHead = {{"lang", "en"}, {"ver", "1.0"}, {"action", "get"}, {"game", "vandermoot"},
                               {"type", "story"}};
    struct Case {
        int index;
        const char* table; // null: left out
    } cases[] = {{0, "t1"}, {1, "t2"}, {2, nullptr}, {-1, nullptr}, {1 << 30, nullptr}};
    for (const Case& c : cases) {
        Params expected = scoresHead;
        if (c.table) expected.emplace_back("table", c.table);
        expected.emplace_back("numScores", "500");
        EXPECT_EQ(Exchange([&] { mClient->RequestScores(c.index); }), expected) << c.index;
    }

    SubmitWithAccount();
    Params withAccount = Exchange([this] { mClient->RequestScores(0); });
    ASSERT_FALSE(withAccount.empty());
    EXPECT_EQ(withAccount.back(), (std::pair<std::string, std::string>("username", "acct")));
    EXPECT_EQ(mTransport->Requests().back().url.rfind(std::string(kDefaultHiscoreAddress) + "?lang=en&", 0), 0u);
}

TEST_F(QmHiscoresTest, ScoreSubmissionSendsTheEncryptedDocument) {
    Make();
    ASSERT_TRUE(mClient->AddLocalScore(250, false, "lvl=3", kMedalLines));
    Params params = Exchange([this] { EXPECT_TRUE(mClient->SubmitScore("acct", "pw", false)); });
    EXPECT_EQ(Names(params), (std::vector<std::string>{"lang", "ver", "game", "action", "score"}));
    EXPECT_EQ(ParamOf(params, "action"), "submit");

    const std::string document = Decrypt(ParamOf(params, "score"));
    EXPECT_EQ(document.rfind("<?xml version=\"1.0\"?>\n<score", 0), 0u) << document;
    EXPECT_TRUE(InOrder(document, {"guid=\"", "name=\"acct\"", "password=\"pw\"", "type=\"story\"",
                                   "game=\"vandermoot\"", "score=\"250\"", "data=\"lvl=3\"", "ver=\"1.2\"", ">",
                                   kMedalLines, "</score>"}))
        << document;
    EXPECT_EQ(document.size() - document.rfind("</score>"), std::strlen("</score>")) << document;
    EXPECT_EQ(document.find("</score>"), document.rfind("</score>")) << document;
}

TEST_F(QmHiscoresTest, EmptyPasswordSubmitsAnonymouslyAndForgetsTheAccount) {
    Make();
    SubmitWithAccount();
    mClient->SetSessionValue(TQmHiscores::kGameMode, "endless");
    ASSERT_TRUE(mClient->AddLocalScore(90, false, "", ""));
    Params params = Exchange([this] { EXPECT_TRUE(mClient->SubmitScore("ann", "", false)); });
    const std::string document = Decrypt(ParamOf(params, "score"));
    EXPECT_NE(document.find("name=\"ann\""), std::string::npos) << document;
    EXPECT_EQ(document.find("password"), std::string::npos) << document;
    // Neither data nor medals were given: no "data" attribute, nothing spliced in.
    EXPECT_EQ(document.find("data="), std::string::npos) << document;
    EXPECT_TRUE(InOrder(document, {"type=\"endless\"", ">\n</score>"})) << document;

    EXPECT_EQ(ParamOf(Exchange([this] { mClient->RequestScores(0); }), "username"), "");
    EXPECT_EQ(Names(Exchange([this] { mClient->RequestScores(0); })).back(), "numScores");
}

TEST_F(QmHiscoresTest, NothingToSubmitSendsNothing) {
    Make();
    EXPECT_FALSE(mClient->SubmitScore("acct", "pw", false)); // no local row
    mClient->SetSessionValue(TQmHiscores::kPlayerName, "bob");
    ASSERT_TRUE(mClient->AddLocalScore(10, false, "", ""));
    mClient->SetSessionValue(TQmHiscores::kPlayerName, "ann");
    EXPECT_FALSE(mClient->SubmitScore("acct", "pw", false)); // another player's row
    EXPECT_TRUE(mTransport->Requests().empty());

    SubmitWithAccount();
    EXPECT_FALSE(mClient->SubmitScore("acct", "pw", false)); // already submitted
    EXPECT_EQ(mTransport->Requests().size(), 1u);
}

// Without a score of ann's to submit, her medals not yet submitted go in
// its place, once: the accepted reply marks them submitted.
TEST_F(QmHiscoresTest, WithoutAScoreThePlayersUnsubmittedMedalsAreSent) {
    const std::vector<THiscoreMedal> unsent = {{"gold", "", "story", "g", false},
                                               {"tin", "bronze", "endless", "", false},
                                               {"silver", "", "story", "", true}};
    const std::vector<THiscoreMedal> allSent = {{"gold", "", "story", "g", true}};
    const std::string unsentLines = "<medal name=\"gold\" per=\"story\"/>\r\n"
                                    "<medal name=\"tin\" per=\"endless\" type=\"bronze\"/>\r\n";
    struct Case {
        const char* name;
        std::vector<THiscoreMedal> annMedals;
        bool submittedRow;   // ann has a row, already submitted
        std::string lines;   // empty: nothing is sent
    } cases[] = {
        {"no row, medals to send", unsent, false, unsentLines},
        {"submitted row, medals to send", unsent, true, unsentLines},
        {"all medals sent", allSent, false, ""},
        {"no medals", {}, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(mRoot / "user/hiscore.dat");
        {
            THiscoreData saved(kHiscoreKey);
            saved.Medals()["bob"] = unsent;
            if (!c.annMedals.empty()) saved.Medals()["ann"] = c.annMedals;
            if (c.submittedRow) {
                ASSERT_TRUE(saved.AddLocalScore("story", "ann", 250, false, "", ""));
                saved.Tables()["story"].rows[0].submitted = true;
            }
            ASSERT_TRUE(saved.Save());
        }
        Make();
        const size_t before = mTransport->Requests().size();
        bool sent = false;
        Params params = Exchange([&] { sent = mClient->SubmitScore("acct", "pw", false); },
                                 "<hiscore><medals/></hiscore>");
        if (c.lines.empty()) {
            EXPECT_FALSE(sent);
            EXPECT_EQ(mTransport->Requests().size(), before);
            continue;
        }
        EXPECT_TRUE(sent);
        ASSERT_EQ(mTransport->Requests().size(), before + 1);
        EXPECT_EQ(ParamOf(params, "action"), "medals");
        const std::string document = Decrypt(ParamOf(params, "medals"));
        EXPECT_TRUE(InOrder(document, {"<medals", "name=\"acct\"", "password=\"pw\"", ">", c.lines, "</medals>"}))
            << document;

        EXPECT_FALSE(mClient->SubmitScore("acct", "pw", false));
        EXPECT_FALSE(Make().SubmitScore("acct", "pw", false));
        EXPECT_EQ(mTransport->Requests().size(), before + 1);
    }
}

TEST_F(QmHiscoresTest, MedalSubmissionSendsTheLinesInsideTheElement) {
    Make();
    Params params = Exchange([this] { EXPECT_TRUE(mClient->SubmitMedals(kMedalLines, "acct", "pw", false)); },
                             "<hiscore><medals/></hiscore>");
    EXPECT_EQ(params, (Params{{"lang", "en"}, {"ver", "1.0"}, {"game", "vandermoot"}, {"action", "medals"},
                              {"medals", ParamOf(params, "medals")}}));
    const std::string document = Decrypt(ParamOf(params, "medals"));
    EXPECT_EQ(document.rfind("<?xml version=\"1.0\"?>\n<medals", 0), 0u) << document;
    EXPECT_TRUE(InOrder(document, {"name=\"acct\"", "password=\"pw\"", "game=\"vandermoot\"", ">", kMedalLines,
                                   "</medals>"}))
        << document;
}

TEST_F(QmHiscoresTest, RememberKeepsOrForgetsTheLogin) {
    Make();
    TString account, password;
    SubmitWithAccount(true);
    ASSERT_TRUE(mClient->GetSavedLogin(&account, &password));
    EXPECT_STREQ(account.c_str(), "acct");
    EXPECT_STREQ(password.c_str(), "pw");
    EXPECT_TRUE(Make().GetSavedLogin(nullptr, nullptr)); // saved with the data

    Exchange([this] { mClient->SubmitMedals(kMedalLines, "acct", "pw", false); });
    EXPECT_FALSE(mClient->GetSavedLogin(&account, &password));
    EXPECT_FALSE(Make().GetSavedLogin(nullptr, nullptr));
}

TEST_F(QmHiscoresTest, RefusedLoginIsForgotten) {
    Make();
    std::string message;
    mTransport->Script({http::Outcome::kComplete, 0,
                        "<hiscore><message>hiscore.error.invalidUsernameOrPassword</message></hiscore>"});
    mClient->SubmitMedals(kMedalLines, "acct", "bad", true);
    EXPECT_EQ(Poll(&message), TQmHiscores::kRequestFailed);
    EXPECT_EQ(message, "hiscore.error.invalidUsernameOrPassword");
    EXPECT_FALSE(mClient->GetSavedLogin(nullptr, nullptr));
    EXPECT_FALSE(Make().GetSavedLogin(nullptr, nullptr));
}

TEST_F(QmHiscoresTest, FailedRequestsGiveTheirText) {
    struct Case {
        const char* name;
        bool categoriesFirst;
        http::Outcome outcome;
        const char* reply;
        const char* expected;
    } cases[] = {
        {"no connection", true, http::Outcome::kConnectFailed, "", kConnectText},
        {"broken transfer", true, http::Outcome::kTransferFailed, "", kConnectText},
        {"not a hiscore reply", true, http::Outcome::kComplete, "<html>busy</html>", kConnectText},
        {"message", true, http::Outcome::kComplete, "<hiscore><message>Try later</message></hiscore>", "Try later"},
        {"message wins", true, http::Outcome::kComplete,
         "<hiscore><protocolError>bad</protocolError><message>Closed</message></hiscore>", "Closed"},
        {"protocol error", true, http::Outcome::kComplete, "<hiscore><protocolError>bad</protocolError></hiscore>",
         kConnectText},
        {"no scores element", true, http::Outcome::kComplete, "<hiscore/>", kConnectText},
        {"mode not valid", true, http::Outcome::kComplete,
         "<hiscore><protocolError>Missing required parameter: type</protocolError></hiscore>",
         "Score request failed because game mode is not valid"},
        {"no categories yet", false, http::Outcome::kComplete, "<hiscore><message>Closed</message></hiscore>",
         "Score request failed because no category information has been received yet"},
    };
    for (const Case& c : cases) {
        Make();
        if (c.categoriesFirst) ReceiveCategories();
        mTransport->Script({c.outcome, 7, c.reply});
        mClient->RequestScores(0);
        std::string message;
        EXPECT_EQ(Poll(&message), TQmHiscores::kRequestFailed) << c.name;
        EXPECT_EQ(message, c.expected) << c.name;
    }
    EXPECT_TRUE(mLog.Contains("HiScore XML parsing error!\n"));
    EXPECT_TRUE(mLog.Contains("HiScore User Message: Closed\n"));
    EXPECT_TRUE(mLog.Contains("HiScore Protocol Error: bad\n"));
    EXPECT_TRUE(mLog.Contains("HiScores parsed incorrectly\n"));
    EXPECT_EQ(mLog.Count("HiScore Protocol Error: bad"), 1u); // the message case logs only the message
}

TEST_F(QmHiscoresTest, PollingOutcomes) {
    Make();
    EXPECT_EQ(mClient->PollReply(nullptr, 0, nullptr), TQmHiscores::kRequestFailed); // no request yet

    mTransport->Script({http::Outcome::kComplete, 0, kTables});
    mTransport->Hold(true);
    mClient->RequestCategoryInformation();
    char buffer[16] = "untouched";
    EXPECT_EQ(mClient->PollReply(buffer, sizeof buffer, nullptr), TQmHiscores::kRequestRunning);
    EXPECT_STREQ(buffer, "untouched");
    mTransport->Hold(false);
    std::string message;
    EXPECT_EQ(Poll(&message), TQmHiscores::kReplyAccepted);
    EXPECT_EQ(mClient->GetCategoryCount(), 2);

    mTransport->Script({http::Outcome::kComplete, 0, "<hiscore><tables/></hiscore>"});
    mClient->RequestCategoryInformation();
    EXPECT_EQ(Poll(), TQmHiscores::kReplyAccepted);
    EXPECT_EQ(mClient->GetCategoryCount(), 0);
    mTransport->Script({http::Outcome::kComplete, 0, "<hiscore/>"});
    mClient->RequestCategoryInformation();
    EXPECT_EQ(Poll(&message), TQmHiscores::kRequestFailed);
    EXPECT_TRUE(mLog.Contains("HiScore Tables parsed incorrectly\n"));
}

TEST_F(QmHiscoresTest, AcceptedSubmissionMarksTheRows) {
    struct Case {
        const char* reply;
        bool ranked;
        bool rowsMarked;
    } cases[] = {{"<hiscore><score rank=\"3\"/></hiscore>", true, true},
                 {"<hiscore/>", false, true},
                 {"<hiscore><medals/></hiscore>", false, false}};
    for (const Case& c : cases) {
        std::filesystem::remove(mRoot / "user/hiscore.dat");
        Make();
        ASSERT_TRUE(mClient->AddLocalScore(250, false, "lvl=3", ""));
        ASSERT_TRUE(mClient->AddLocalScore(150, false, "lvl=1", ""));
        mTransport->Script({http::Outcome::kComplete, 0, c.reply});
        ASSERT_TRUE(mClient->SubmitScore("acct", "pw", false));
        bool ranked = !c.ranked;
        EXPECT_EQ(Poll(nullptr, &ranked), TQmHiscores::kReplyAccepted) << c.reply;
        EXPECT_EQ(ranked, c.ranked) << c.reply;
        int score = 0;
        char data[8];
        EXPECT_EQ(mClient->GetUserEntry(0, &score, nullptr, data, sizeof data), !c.rowsMarked) << c.reply;
        Make(); // the flags were saved
        bool submitted = !c.rowsMarked;
        ASSERT_TRUE(mClient->GetScoreEntry(true, 1, nullptr, data, sizeof data, &submitted, &score, data, sizeof data));
        EXPECT_EQ(submitted, c.rowsMarked) << c.reply;
    }
}

TEST_F(QmHiscoresTest, ScoresReplyReadsBackThroughTheAccessors) {
    Make();
    ReceiveCategories();
    mTransport->Script({http::Outcome::kComplete, 0,
                        "<hiscore><scores><score name=\"Zed\" data=\"d1\" score=\"900\" rank=\"1\"/><note/>"
                        "<score name=\"acct\" data=\"mine\" score=\"12abc\" rank=\"x\" account=\"true\"/>"
                        "<score/></scores></hiscore>"});
    mClient->RequestScores(0);
    ASSERT_EQ(Poll(), TQmHiscores::kReplyAccepted);
    ASSERT_EQ(mClient->GetScoreCount(false), 3);
    EXPECT_EQ(mClient->GetScoreCount(true), 0);

    int rank = -1, score = -1;
    bool flag = false;
    char name[4], data[64];
    ASSERT_TRUE(mClient->GetScoreEntry(false, 0, &rank, name, sizeof name, &flag, &score, data, sizeof data));
    EXPECT_STREQ(name, "Zed");
    EXPECT_STREQ(data, "d1");
    EXPECT_EQ(rank, 1);
    EXPECT_EQ(score, 900);
    ASSERT_TRUE(mClient->GetScoreEntry(false, 2, &rank, name, sizeof name, &flag, &score, data, sizeof data));
    EXPECT_STREQ(name, "");
    EXPECT_EQ(score, 0);
    ASSERT_TRUE(mClient->GetScoreEntry(false, 1, &rank, name, sizeof name, &flag, &score, data, sizeof data));
    EXPECT_STREQ(name, "acc"); // cut to the buffer

    ASSERT_TRUE(mClient->GetUserEntry(1, &score, &rank, data, sizeof data));
    EXPECT_EQ(score, 12);
    EXPECT_EQ(rank, 0);
    EXPECT_STREQ(data, "mine");

    mTransport->Script({http::Outcome::kComplete, 0, "<hiscore><scores/></hiscore>"});
    mClient->RequestScores(0);
    ASSERT_EQ(Poll(), TQmHiscores::kReplyAccepted);
    EXPECT_FALSE(mClient->GetUserEntry(1, &score, &rank, data, sizeof data));
}

TEST_F(QmHiscoresTest, BuffersWithoutRoomAndIndicesOutsideAreRefused) {
    Make();
    ReceiveCategories();
    ASSERT_TRUE(mClient->AddLocalScore(250, false, "lvl=3", ""));
    char area[12];
    std::memset(area, '#', sizeof area);
    char* buffer = area + 4;
    for (int size : {0, -1, -100}) {
        mTransport->Script({http::Outcome::kConnectFailed, 7, ""});
        mClient->RequestCategoryInformation();
        mClient->PollReply(buffer, size, nullptr);
        while (mClient->PollReply(buffer, size, nullptr) == TQmHiscores::kRequestRunning) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        EXPECT_FALSE(mClient->GetCategoryName(0, buffer, size)) << size;
        EXPECT_FALSE(mClient->GetScoreEntry(true, 0, nullptr, buffer, size, nullptr, nullptr, area, 4)) << size;
        EXPECT_FALSE(mClient->GetScoreEntry(true, 0, nullptr, area, 4, nullptr, nullptr, buffer, size)) << size;
        EXPECT_FALSE(mClient->GetUserEntry(0, nullptr, nullptr, buffer, size)) << size;
    }
    EXPECT_EQ(std::string(area, sizeof area), std::string(sizeof area, '#'));

    char text[64];
    EXPECT_FALSE(mClient->GetCategoryName(-1, text, sizeof text));
    EXPECT_FALSE(mClient->GetCategoryName(2, text, sizeof text));
    EXPECT_FALSE(mClient->GetScoreEntry(true, -1, nullptr, text, 4, nullptr, nullptr, text, 4));
    EXPECT_FALSE(mClient->GetScoreEntry(true, 1, nullptr, text, 4, nullptr, nullptr, text, 4));
    EXPECT_FALSE(mClient->GetScoreEntry(false, 0, nullptr, text, 4, nullptr, nullptr, text, 4));
    ASSERT_TRUE(mClient->GetCategoryName(1, text, 3));
    EXPECT_STREQ(text, "We");

    char message[8];
    mTransport->Script({http::Outcome::kConnectFailed, 7, ""});
    mClient->RequestCategoryInformation();
    while (mClient->PollReply(message, sizeof message, nullptr) == TQmHiscores::kRequestRunning) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_STREQ(message, "Unable ");
}

TEST_F(QmHiscoresTest, LocalScoresAndTheEligibleEntry) {
    Make();
    int score = 0, rank = 0;
    char data[64];
    EXPECT_FALSE(mClient->GetUserEntry(0, &score, &rank, data, sizeof data));
    ASSERT_TRUE(mClient->AddLocalScore(300, true, "first", ""));
    ASSERT_TRUE(mClient->AddLocalScore(200, true, "lower", ""));
    EXPECT_EQ(mClient->GetScoreCount(true), 1);
    ASSERT_TRUE(mClient->GetUserEntry(0, &score, &rank, data, sizeof data));
    EXPECT_EQ(score, 300);
    EXPECT_EQ(rank, 1);
    EXPECT_STREQ(data, "first");
    mClient->SetSessionValue(TQmHiscores::kGameMode, "endless");
    EXPECT_EQ(mClient->GetScoreCount(true), 0);
    EXPECT_FALSE(mClient->GetUserEntry(0, &score, &rank, data, sizeof data));
    mClient->SetSessionValue(7, "ignored");
}

TEST_F(QmHiscoresTest, ConfigurationFilesSetLanguageTextAndAddress) {
    mRoot.Write("work/hiscore.xml", "<hiscore><language>de</language><defaulterror>Offline</defaulterror></hiscore>");
    mRoot.Write("work/hiscoreserver.txt", "http://hiscores.example/go/hiscore \r\nsecond line\r\n");
    Make();
    mClient->SetSessionValue(TQmHiscores::kLanguage, "fr");
    mTransport->Script({http::Outcome::kConnectFailed, 7, ""});
    mClient->RequestCategoryInformation();
    std::string message;
    EXPECT_EQ(Poll(&message), TQmHiscores::kRequestFailed);
    EXPECT_EQ(message, "Offline");
    ASSERT_EQ(mTransport->Requests().size(), 1u);
    EXPECT_EQ(mTransport->Requests()[0].url,
              "http://hiscores.example/go/hiscore?lang=de&ver=1.0&action=tables&game=vandermoot");

    std::filesystem::remove(mRoot / "work/hiscore.xml");
    mRoot.Write("work/hiscoreserver.txt", "\r\n");
    Make();
    mClient->SetSessionValue(TQmHiscores::kLanguage, "fr");
    EXPECT_EQ(Exchange([this] { mClient->RequestCategoryInformation(); }).front().second, "fr");
    EXPECT_EQ(mTransport->Requests().back().url.rfind(kDefaultHiscoreAddress, 0), 0u);
}

TEST_F(QmHiscoresTest, GameIdComesFromTheHandleFirst) {
    SetSetting(kSettingQmGameHandle, "vm-handle");
    Make();
    EXPECT_EQ(ParamOf(Exchange([this] { mClient->RequestCategoryInformation(); }), "game"), "vm-handle");
    EXPECT_FALSE(mLog.Contains("No encryption key"));
}

TEST_F(QmHiscoresTest, MissingKeyIsLoggedAndRequestsStillRun) {
    SetSetting(kSettingEncryptionKey, "");
    Make();
    EXPECT_TRUE(mLog.Contains("ERROR: No encryption key set before TQmHiscores construction!"));
    EXPECT_EQ(Exchange([this] { mClient->RequestCategoryInformation(); }).size(), 4u);
}

}  // namespace

namespace {

using ServerReply = TestHttpServer::Reply;

class QmHiscoresLoopbackTest : public HiscoresFixture {
protected:
    void SetUp() override {
        HiscoresFixture::SetUp();
        ASSERT_TRUE(mServer.Ok());
        mRoot.Write("work/hiscoreserver.txt", mServer.Url("/go/hiscore") + "\n");
        mClient = std::make_unique<TQmHiscores>(std::make_shared<http::CurlTransport>(), kNoLibrary);
        mClient->SetSessionValue(TQmHiscores::kPlayerName, "ann");
        mClient->SetSessionValue(TQmHiscores::kGameMode, "story");
    }
    TestHttpServer mServer;
};

TEST_F(QmHiscoresLoopbackTest, LocalScoreIsSubmittedAndTheScoresReadBack) {
    ASSERT_TRUE(mClient->AddLocalScore(250, false, "lvl=3", ""));
    mServer.Script(ServerReply::Answer(200, "<hiscore><score rank=\"1\"/></hiscore>"));
    ASSERT_TRUE(mClient->SubmitScore("acct", "pw", false));
    bool ranked = false;
    ASSERT_EQ(Poll(nullptr, &ranked), TQmHiscores::kReplyAccepted);
    EXPECT_TRUE(ranked);

    mServer.Script(ServerReply::Answer(
        200, "<hiscore><scores><score name=\"acct\" data=\"lvl=3\" score=\"250\" rank=\"1\" account=\"true\"/>"
             "</scores></hiscore>"));
    mClient->RequestScores(0);
    ASSERT_EQ(Poll(), TQmHiscores::kReplyAccepted);

    const std::vector<TestHttpServer::Recorded> requests = mServer.Requests();
    ASSERT_EQ(requests.size(), 2u);
    const Params submission = QueryOf(requests[0].target);
    EXPECT_EQ(requests[0].target.rfind("/go/hiscore?lang=en&ver=1.0&game=vandermoot&action=submit&score=", 0), 0u);
    EXPECT_NE(Decrypt(ParamOf(submission, "score")).find("score=\"250\""), std::string::npos);
    EXPECT_EQ(requests[1].target,
              "/go/hiscore?lang=en&ver=1.0&action=get&game=vandermoot&type=story&numScores=500&username=acct");
    ExpectScoreEntry(false, 0, 1, 250, "acct", "lvl=3");
}

}  // namespace
