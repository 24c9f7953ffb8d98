#include "online/hiscorereply.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/luatesting.h"

namespace {

TEST(HiscoreReply, CheckAcceptsOnlyQuietHiscoreReplies) {
    struct Case {
        const char* text;
        bool accepted;
        const char* errorText;
    } cases[] = {
        {nullptr, false, ""},
        {"", false, ""},
        {"<scores/>", false, ""},
        {"<hiscore/>", true, ""},
        {"<?xml version=\"1.0\"?>\n<hiscore><score rank=\"2\"/></hiscore>", true, ""},
        {"<hiscore><message>Closed today</message></hiscore>", false, "Closed today"},
        {"<hiscore><message/></hiscore>", false, ""},
        {"<hiscore><protocolError>x</protocolError><message>First</message></hiscore>", false, "First"},
        {"<hiscore><protocolError>x</protocolError></hiscore>", false, ""},
    };
    TestLog log;
    for (const Case& c : cases) {
        TString errorText = "stale";
        EXPECT_EQ(THiscoreReply(c.text).Check(errorText), c.accepted) << (c.text ? c.text : "null");
        EXPECT_STREQ(errorText.c_str(), c.errorText) << (c.text ? c.text : "null");
    }
    EXPECT_EQ(log.Count("HiScore XML parsing error!\n"), 3u);
    EXPECT_EQ(log.Count("HiScore User Message: "), 3u);
    EXPECT_EQ(log.Count("HiScore Protocol Error: x\n"), 1u);
}

TEST(HiscoreReply, CategoriesAreReplacedOnlyByATablesReply) {
    TestLog log;
    std::vector<THiscoreCategory> categories{{"old", "Old"}};
    EXPECT_FALSE(THiscoreReply("<hiscore><scores/></hiscore>").ReadCategories(categories));
    ASSERT_EQ(categories.size(), 1u);
    EXPECT_TRUE(log.Contains("HiScore Tables parsed incorrectly\n"));

    ASSERT_TRUE(THiscoreReply("<hiscore><tables><table table=\"a\" name=\"A\"/><x table=\"no\"/><table/></tables>"
                              "</hiscore>")
                    .ReadCategories(categories));
    ASSERT_EQ(categories.size(), 2u);
    EXPECT_STREQ(categories[0].table.c_str(), "a");
    EXPECT_STREQ(categories[0].name.c_str(), "A");
    EXPECT_STREQ(categories[1].table.c_str(), "");
    EXPECT_STREQ(categories[1].name.c_str(), "");
}

TEST(HiscoreReply, ScoreRowsReadEveryAttribute) {
    TestLog log;
    std::vector<THiscoreReplyRow> rows;
    THiscoreReplyRow own;
    EXPECT_FALSE(THiscoreReply("<hiscore/>").ReadScores(rows, own));
    EXPECT_TRUE(log.Contains("HiScores parsed incorrectly\n"));

    ASSERT_TRUE(THiscoreReply("<hiscore><scores><score name=\"n\" data=\"d\" serverData=\"s\" ver=\"v\" guid=\"g\" "
                              "anonymous=\"true\" score=\"-7x\" rank=\"3\"/><skip/><score anonymous=\"TRUE\" "
                              "account=\"true\" score=\"99999999999\"/></scores></hiscore>")
                    .ReadScores(rows, own));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_STREQ(rows[0].name.c_str(), "n");
    EXPECT_STREQ(rows[0].gameData.c_str(), "d");
    EXPECT_STREQ(rows[0].serverData.c_str(), "s");
    EXPECT_STREQ(rows[0].version.c_str(), "v");
    EXPECT_STREQ(rows[0].guid.c_str(), "g");
    EXPECT_TRUE(rows[0].anonymous);
    EXPECT_FALSE(rows[0].own);
    EXPECT_EQ(rows[0].score, -7);
    EXPECT_EQ(rows[0].rank, 3);
    EXPECT_FALSE(rows[1].anonymous); // only "true" counts
    EXPECT_TRUE(own.valid);
    EXPECT_TRUE(own.own);
    EXPECT_STREQ(own.name.c_str(), "");

    ASSERT_TRUE(THiscoreReply("<hiscore><scores/></hiscore>").ReadScores(rows, own));
    EXPECT_TRUE(rows.empty());
    EXPECT_FALSE(own.valid);
}

}  // namespace
