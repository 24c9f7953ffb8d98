#include "platform/http/recordingtransport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

namespace {

using std::chrono::seconds;

http::RecordingTransport::Reply Reply(http::Outcome outcome, int code, const std::string& body, size_t pieceSize) {
    http::RecordingTransport::Reply reply;
    reply.outcome = outcome;
    reply.code = code;
    reply.body = body;
    reply.pieceSize = pieceSize;
    return reply;
}

class RecordingTransportTest : public testing::Test {
protected:
    http::Result Perform(const std::string& url) {
        http::Request request;
        request.url = url;
        return mTransport.Perform(request, [this](const char* data, size_t size) {
            mPieces.emplace_back(data, size);
            return true;
        }, mAbort);
    }

    http::RecordingTransport mTransport;
    std::atomic<bool> mAbort{false};
    std::vector<std::string> mPieces;
};

TEST_F(RecordingTransportTest, RecordsAndPlaysRepliesInOrder) {
    mTransport.Script(Reply(http::Outcome::kComplete, 0, "abcde", 2));
    mTransport.Script(Reply(http::Outcome::kConnectFailed, 7, "", 1));
    EXPECT_EQ(Perform("u1").outcome, http::Outcome::kComplete);
    EXPECT_EQ(mPieces, (std::vector<std::string>{"ab", "cd", "e"}));
    const http::Result failed = Perform("u2");
    EXPECT_EQ(failed.outcome, http::Outcome::kConnectFailed);
    EXPECT_EQ(failed.code, 7);
    EXPECT_EQ(Perform("u3").outcome, http::Outcome::kComplete);
    auto requests = mTransport.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].url, "u1");
    EXPECT_EQ(requests[2].url, "u3");
    EXPECT_EQ(mTransport.Finished(), 3u);
}

TEST_F(RecordingTransportTest, HeldRequestWaitsForReleaseOrAbort) {
    mTransport.Hold(true);
    http::Result released;
    std::thread first([&] { released = Perform("first"); });
    ASSERT_TRUE(mTransport.WaitForRequests(1, seconds(5)));
    EXPECT_EQ(mTransport.Finished(), 0u);
    mTransport.Hold(false);
    first.join();
    EXPECT_EQ(released.outcome, http::Outcome::kComplete);

    mTransport.Hold(true);
    http::Result aborted;
    std::thread second([&] { aborted = Perform("second"); });
    ASSERT_TRUE(mTransport.WaitForRequests(2, seconds(5)));
    mAbort.store(true);
    second.join();
    EXPECT_EQ(aborted.outcome, http::Outcome::kAborted);
}

TEST_F(RecordingTransportTest, SinkRefusalIsReported) {
    mTransport.Script(Reply(http::Outcome::kComplete, 0, "body", 2));
    http::Request request;
    auto refuse = [](const char*, size_t) { return false; };
    EXPECT_EQ(mTransport.Perform(request, refuse, mAbort).outcome, http::Outcome::kSinkRefused);
}

}  // namespace
