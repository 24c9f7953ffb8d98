#include "platform/http/curltransport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "tests/support/testhttpserver.h"

namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;
using Reply = TestHttpServer::Reply;

const int kCouldNotConnect = 7;
const int kTimedOut = 28;
const int kTooManyRedirects = 47;

TEST(EncodeUrlBytes, EncodesWhatLibcurlRefusesAndKeepsTheRest) {
    struct Case {
        std::string in;
        std::string out;
    } cases[] = {
        {"http://h/p?a=b&c=%20~*", "http://h/p?a=b&c=%20~*"},
        {"a\tb", "a%09b"},
        {"\x01\x1f\x7f", "%01%1F%7F"},
        {"\xc3\xa9", "%C3%A9"},
        {"a b", "a%20b"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(http::EncodeUrlBytes(c.in), c.out) << c.in;
    }
}

class CurlTransportTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(mServer.Ok()); }

    http::Result Get(const std::string& path, http::Transport& transport) {
        http::Request request;
        request.url = mServer.Url(path);
        return transport.Perform(request, Collect(), mAbort);
    }
    http::Result Get(const std::string& path) { return Get(path, mTransport); }

    http::Sink Collect() {
        return [this](const char* data, size_t size) {
            mBody.append(data, size);
            ++mPieces;
            return true;
        };
    }

    TestHttpServer mServer;
    http::CurlTransport mTransport;
    std::atomic<bool> mAbort{false};
    std::string mBody;
    int mPieces = 0;
};

TEST_F(CurlTransportTest, GetSendsTheAgentAndStreamsTheBody) {
    const std::string big(200000, 'x');
    mServer.Script(Reply::Answer(200, big));
    const http::Result result = Get("/big?a=1");
    EXPECT_EQ(result.outcome, http::Outcome::kComplete);
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(mBody, big);
    EXPECT_GT(mPieces, 1);
    auto requests = mServer.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].requestLine, "GET /big?a=1 HTTP/1.1");
    EXPECT_EQ(requests[0].Header("User-Agent"), "davor");
}

TEST_F(CurlTransportTest, ErrorPageCompletesWithItsBody) {
    mServer.Script(Reply::Answer(404, "not here"));
    EXPECT_EQ(Get("/missing").outcome, http::Outcome::kComplete);
    EXPECT_EQ(mBody, "not here");
}

TEST_F(CurlTransportTest, PostSendsBodyAndHeaderLines) {
    http::Request request;
    request.method = "POST";
    request.url = mServer.Url("/form");
    request.body = "a=1&b=2";
    request.headers = {"Content-Type: application/x-www-form-urlencoded", "Pragma: no-cache"};
    EXPECT_EQ(mTransport.Perform(request, Collect(), mAbort).outcome, http::Outcome::kComplete);
    auto requests = mServer.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "POST");
    EXPECT_EQ(requests[0].body, "a=1&b=2");
    EXPECT_EQ(requests[0].Header("Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(requests[0].Header("Pragma"), "no-cache");
}

TEST_F(CurlTransportTest, FollowsTenRedirectsButNotEleven) {
    const Reply hop = Reply::Answer(302, "", "Location: /next\r\n");
    for (int i = 0; i < 10; ++i) mServer.Script(hop);
    mServer.Script(Reply::Answer(200, "arrived"));
    EXPECT_EQ(Get("/start").outcome, http::Outcome::kComplete);
    EXPECT_EQ(mBody, "arrived");
    EXPECT_EQ(mServer.Requests().back().target, "/next");

    for (int i = 0; i < 11; ++i) mServer.Script(hop);
    const http::Result result = Get("/start");
    EXPECT_EQ(result.outcome, http::Outcome::kTransferFailed);
    EXPECT_EQ(result.code, kTooManyRedirects);
}

TEST_F(CurlTransportTest, RefusesRedirectsToOtherProtocols) {
    mServer.Script(Reply::Answer(302, "", "Location: file:///etc/hostname\r\n"));
    EXPECT_NE(Get("/start").outcome, http::Outcome::kComplete);
    EXPECT_EQ(mBody, "");
}

TEST_F(CurlTransportTest, RefusedConnectionFailsWithItsErrorNumber) {
    http::Request request;
    {
        TestHttpServer closed;
        request.url = closed.Url("/");
    }
    const http::Result result = mTransport.Perform(request, Collect(), mAbort);
    EXPECT_EQ(result.outcome, http::Outcome::kConnectFailed);
    EXPECT_EQ(result.code, kCouldNotConnect);
}

TEST_F(CurlTransportTest, SinkRefusalStopsTheRequest) {
    mServer.Script(Reply::Answer(200, std::string(100000, 'y')));
    http::Request request;
    request.url = mServer.Url("/");
    auto refuse = [](const char*, size_t) { return false; };
    EXPECT_EQ(mTransport.Perform(request, refuse, mAbort).outcome, http::Outcome::kSinkRefused);
}

TEST_F(CurlTransportTest, AbortEndsAHeldRequestSoon) {
    mServer.Script(Reply::Held());
    std::thread aborter([this] {
        mServer.WaitForRequests(1);
        mAbort.store(true);
    });
    const auto start = steady_clock::now();
    const http::Result result = Get("/held");
    aborter.join();
    EXPECT_EQ(result.outcome, http::Outcome::kAborted);
    EXPECT_LT(steady_clock::now() - start, std::chrono::seconds(3));
}

TEST_F(CurlTransportTest, StalledReplyTimesOut) {
    http::CurlTransport quick({60, 1});
    mServer.Script(Reply::Held());
    const auto start = steady_clock::now();
    const http::Result result = Get("/stalled", quick);
    EXPECT_EQ(result.outcome, http::Outcome::kConnectFailed);
    EXPECT_EQ(result.code, kTimedOut);
    EXPECT_LT(steady_clock::now() - start, std::chrono::seconds(5));
}

}  // namespace
