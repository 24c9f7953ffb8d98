#include "online/simplehttp.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "online/httprequeststate.h"
#include "online/httpworkerregistry.h"
#include "platform/http/curltransport.h"
#include "platform/http/recordingtransport.h"
#include "tests/support/luatesting.h"
#include "tests/support/tempfolder.h"
#include "tests/support/testhttpserver.h"

namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;
using Reply = TestHttpServer::Reply;

// Far below any wait for the network, with room for a loaded machine.
const milliseconds kPromptly(200);

// Polls as a frame loop would until the request leaves the running state.
int WaitForStatus(const TSimpleHttp& client, std::chrono::seconds limit = std::chrono::seconds(10)) {
    const auto end = steady_clock::now() + limit;
    while (client.GetStatus() == HttpRequestState::kRunning && steady_clock::now() < end) {
        std::this_thread::sleep_for(milliseconds(1));
    }
    return client.GetStatus();
}

template <typename Action>
milliseconds TimeOf(Action action) {
    const auto start = steady_clock::now();
    action();
    return std::chrono::duration_cast<milliseconds>(steady_clock::now() - start);
}

class SimpleHttpTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(mServer.Ok()); }
    void TearDown() override { THttpWorkerRegistry::Get().Shutdown(); }

    // Sends a request and waits for its end; the server's record of it.
    TestHttpServer::Recorded Exchange(bool post, const char* name, const char* value) {
        mClient.BeginRequest(mServer.Url("/go/hiscore").c_str(), nullptr, post);
        mClient.AddParam(name, value);
        mClient.Send(0);
        EXPECT_EQ(WaitForStatus(mClient), HttpRequestState::kComplete);
        auto requests = mServer.Requests();
        return requests.empty() ? TestHttpServer::Recorded{} : requests.back();
    }

    TestLog mLog;
    TestHttpServer mServer;
    TSimpleHttp mClient;
};

TEST_F(SimpleHttpTest, GetPutsParametersInTheQueryAndPostInTheBody) {
    mClient.BeginRequest(mServer.Url("/go/hiscore").c_str(), nullptr, false);
    mClient.AddParam("a", "1");
    mClient.AddParamInt("b", -2);
    mClient.Send(0);
    ASSERT_EQ(WaitForStatus(mClient), HttpRequestState::kComplete);

    mClient.BeginRequest(mServer.Url("/go/hiscore").c_str(), nullptr, true);
    mClient.AddParam("a", "1");
    mClient.AddParamInt("b", -2);
    mClient.Send(0);
    ASSERT_EQ(WaitForStatus(mClient), HttpRequestState::kComplete);

    auto requests = mServer.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].requestLine, "GET /go/hiscore?a=1&b=-2 HTTP/1.1");
    EXPECT_EQ(requests[0].body, "");
    EXPECT_FALSE(requests[0].HasHeader("Pragma"));
    EXPECT_EQ(requests[0].Header("User-Agent"), "davor");
    EXPECT_EQ(requests[1].requestLine, "POST /go/hiscore HTTP/1.1");
    EXPECT_EQ(requests[1].body, "a=1&b=-2");
    EXPECT_EQ(requests[1].Header("Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(requests[1].Header("Pragma"), "no-cache");
    EXPECT_EQ(requests[1].Header("User-Agent"), "davor");
}

TEST_F(SimpleHttpTest, ValuesArriveEscaped) {
    EXPECT_EQ(Exchange(false, "v", "x y&z~*").target, "/go/hiscore?v=x%20y%26z~*");
    EXPECT_EQ(Exchange(true, "v", "x y&z~*").body, "v=x%20y%26z~*");
    // The escaper leaves these bytes; they are encoded on the way out.
    EXPECT_EQ(Exchange(false, "v", "a\tb\xc3\xa9").target, "/go/hiscore?v=a%09b%C3%A9");
}

TEST_F(SimpleHttpTest, RepliesComplete) {
    struct Case {
        int status;
        std::string body;
    } cases[] = {{200, ""}, {404, "no such page"}, {200, std::string(40 * 1024, 'k') + "end"}};
    for (const Case& c : cases) {
        mServer.Script(Reply::Answer(c.status, c.body));
        mClient.BeginRequest(mServer.Url("/").c_str(), nullptr, false);
        mClient.Send(0);
        ASSERT_EQ(WaitForStatus(mClient), HttpRequestState::kComplete) << c.status;
        ASSERT_NE(mClient.GetData(), nullptr);
        EXPECT_EQ(std::string(mClient.GetData()), c.body);
    }
}

TEST_F(SimpleHttpTest, WithoutARequestTheStatusIsFailed) {
    EXPECT_EQ(mClient.GetStatus(), HttpRequestState::kFailed);
    EXPECT_EQ(mClient.GetData(), nullptr);
    mClient.BeginRequest(mServer.Url("/").c_str(), nullptr, false);
    EXPECT_EQ(mClient.GetStatus(), HttpRequestState::kFailed);
}

TEST_F(SimpleHttpTest, RefusedConnectionFailsWithItsLogLine) {
    std::string url;
    {
        TestHttpServer closed;
        url = closed.Url("/");
    }
    mClient.BeginRequest(url.c_str(), nullptr, false);
    mClient.Send(0);
    EXPECT_EQ(WaitForStatus(mClient), HttpRequestState::kFailed);
    EXPECT_EQ(mClient.GetData(), nullptr);
    EXPECT_TRUE(mLog.Contains("Error creating connection (InternetOpenUrl) 7")) << mLog.Text();

    mClient.BeginRequest(url.c_str(), nullptr, true);
    mClient.Send(0);
    EXPECT_EQ(WaitForStatus(mClient), HttpRequestState::kFailed);
    EXPECT_TRUE(mLog.Contains("Error creating connection (POST) 7")) << mLog.Text();
}

TEST_F(SimpleHttpTest, ReplyGoesToTheOutputFile) {
    TempFolder folder;
    mServer.Script(Reply::Answer(200, "saved reply"));
    mClient.BeginRequest(mServer.Url("/").c_str(), (folder / "reply.txt").c_str(), false);
    mClient.Send(0);
    ASSERT_EQ(WaitForStatus(mClient), HttpRequestState::kComplete);
    EXPECT_EQ(folder.Read("reply.txt"), "saved reply");

    mClient.BeginRequest(mServer.Url("/").c_str(), (folder / "missing/reply.txt").c_str(), false);
    mClient.Send(0);
    EXPECT_EQ(WaitForStatus(mClient), HttpRequestState::kFileError);
    EXPECT_EQ(mClient.GetData(), nullptr);
}

TEST_F(SimpleHttpTest, AbandoningAHeldRequestDoesNotWait) {
    mServer.Script(Reply::Held());
    mServer.Script(Reply::Answer(200, "second"));
    mClient.BeginRequest(mServer.Url("/held").c_str(), nullptr, false);
    mClient.Send(0);
    ASSERT_TRUE(mServer.WaitForRequests(1));
    EXPECT_EQ(mClient.GetStatus(), HttpRequestState::kRunning);

    EXPECT_LT(TimeOf([&] {
        mClient.BeginRequest(mServer.Url("/next").c_str(), nullptr, false);
        mClient.Send(0);
    }), kPromptly);
    ASSERT_EQ(WaitForStatus(mClient), HttpRequestState::kComplete);
    EXPECT_STREQ(mClient.GetData(), "second");
}

TEST_F(SimpleHttpTest, DestroyingTheClientWithAHeldRequestDoesNotWait) {
    mServer.Script(Reply::Held());
    auto client = std::make_unique<TSimpleHttp>();
    client->BeginRequest(mServer.Url("/held").c_str(), nullptr, false);
    client->Send(0);
    ASSERT_TRUE(mServer.WaitForRequests(1));
    EXPECT_LT(TimeOf([&] { client.reset(); }), kPromptly);
    // The released worker ends by itself, before the server lets go.
    const auto end = steady_clock::now() + std::chrono::seconds(5);
    while (THttpWorkerRegistry::Get().GetWorkerCount() > 0 && steady_clock::now() < end) {
        std::this_thread::sleep_for(milliseconds(5));
    }
    EXPECT_EQ(THttpWorkerRegistry::Get().GetWorkerCount(), 0u);
}

TEST_F(SimpleHttpTest, ShutdownEndsEveryWorker) {
    mServer.Script(Reply::Held());
    mServer.Script(Reply::Held());
    TSimpleHttp other;
    mClient.BeginRequest(mServer.Url("/a").c_str(), nullptr, false);
    mClient.Send(0);
    other.BeginRequest(mServer.Url("/b").c_str(), nullptr, false);
    other.Send(0);
    ASSERT_TRUE(mServer.WaitForRequests(2));
    EXPECT_EQ(THttpWorkerRegistry::Get().GetWorkerCount(), 2u);
    EXPECT_LT(TimeOf([] { THttpWorkerRegistry::Get().Shutdown(); }), std::chrono::seconds(3));
    EXPECT_EQ(THttpWorkerRegistry::Get().GetWorkerCount(), 0u);
}

TEST_F(SimpleHttpTest, StalledRequestIsGivenUp) {
    TSimpleHttp client(std::make_shared<http::CurlTransport>(http::CurlTransport::Timeouts{60, 1}));
    mServer.Script(Reply::Held());
    client.BeginRequest(mServer.Url("/stalled").c_str(), nullptr, false);
    client.Send(0);
    EXPECT_EQ(WaitForStatus(client), HttpRequestState::kFailed);
    EXPECT_TRUE(mLog.Contains("Error creating connection (InternetOpenUrl) 28")) << mLog.Text();
}

// Requests handed to a recording transport, for what the wire does not show.
class SimpleHttpFormTest : public testing::Test {
protected:
    void TearDown() override { THttpWorkerRegistry::Get().Shutdown(); }

    http::Request SendOne(const char* address, bool post, int options) {
        mClient.BeginRequest(address, nullptr, post);
        mClient.AddParam("a", "1");
        mClient.Send(options);
        WaitForStatus(mClient);
        auto requests = mTransport->Requests();
        return requests.empty() ? http::Request{} : requests.back();
    }

    TestLog mLog;
    std::shared_ptr<http::RecordingTransport> mTransport = std::make_shared<http::RecordingTransport>();
    TSimpleHttp mClient{mTransport};
};

TEST_F(SimpleHttpFormTest, HeadersFollowTheRequestForm) {
    const std::vector<std::string> none;
    const std::vector<std::string> pragma{"Pragma: no-cache"};
    const std::vector<std::string> form{"Pragma: no-cache", "Content-Type: application/x-www-form-urlencoded"};
    struct Case {
        const char* address;
        bool post;
        const char* method;
        const std::vector<std::string>& headers;
        const char* body;
    } cases[] = {
        {"http://127.0.0.1/x", false, "GET", none, ""},
        {"https://127.0.0.1/x", false, "GET", pragma, ""},
        {"http://127.0.0.1/x", true, "POST", form, "a=1"},
        {"https://127.0.0.1/x", true, "POST", form, "a=1"},
    };
    for (const Case& c : cases) {
        const http::Request request = SendOne(c.address, c.post, 0);
        EXPECT_EQ(request.method, c.method) << c.address;
        EXPECT_EQ(request.headers, c.headers) << c.address << " " << c.post;
        EXPECT_EQ(request.body, c.body) << c.address;
        EXPECT_TRUE(request.checkHostName);
    }
    EXPECT_FALSE(SendOne("https://127.0.0.1/x", false, HttpRequestState::kOptionIgnoreHostName).checkHostName);
}

TEST_F(SimpleHttpFormTest, ConnectionFailuresNameTheirPath) {
    const struct {
        const char* address;
        bool post;
        const char* line;
    } cases[] = {
        {"https://127.0.0.1/x", false, "Error creating connection (HTTPS) 35"},
        {"https://127.0.0.1/x", true, "Error creating connection (HTTPS) 35"},
        {"http://127.0.0.1/x", true, "Error creating connection (POST) 35"},
        {"http://127.0.0.1/x", false, "Error creating connection (InternetOpenUrl) 35"},
    };
    for (const auto& c : cases) {
        http::RecordingTransport::Reply failure;
        failure.outcome = http::Outcome::kConnectFailed;
        failure.code = 35;
        mTransport->Script(failure);
        const size_t before = mLog.Count(c.line);
        SendOne(c.address, c.post, 0);
        EXPECT_EQ(mClient.GetStatus(), HttpRequestState::kFailed);
        EXPECT_EQ(mLog.Count(c.line), before + 1) << c.line;
    }
}

TEST_F(SimpleHttpFormTest, ReplyIsCappedAtSixteenMegabytes) {
    http::RecordingTransport::Reply reply;
    reply.body.assign(HttpRequestState::kMaxReplyBytes, 'r');
    mTransport->Script(reply);
    SendOne("http://127.0.0.1/x", false, 0);
    ASSERT_EQ(mClient.GetStatus(), HttpRequestState::kComplete);
    EXPECT_EQ(std::string(mClient.GetData()).size(), HttpRequestState::kMaxReplyBytes);

    reply.body.push_back('!');
    mTransport->Script(reply);
    SendOne("http://127.0.0.1/x", false, 0);
    EXPECT_EQ(mClient.GetStatus(), HttpRequestState::kFailed);
    EXPECT_EQ(mClient.GetData(), nullptr);
    EXPECT_TRUE(mLog.Contains("reply larger than 16777216 bytes")) << mLog.Text();
}

TEST_F(SimpleHttpFormTest, BrokenReplyKeepsNoData) {
    http::RecordingTransport::Reply reply;
    reply.outcome = http::Outcome::kTransferFailed;
    reply.code = 56;
    reply.body = "partial";
    mTransport->Script(reply);
    SendOne("http://127.0.0.1/x", false, 0);
    EXPECT_EQ(mClient.GetStatus(), HttpRequestState::kFailed);
    EXPECT_EQ(mClient.GetData(), nullptr);
}

}  // namespace
