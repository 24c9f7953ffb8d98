#include "online/simplehttp.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <cstdlib>
#include <string>
#include <thread>

#include "online/httprequeststate.h"
#include "online/httpworkerregistry.h"
#include "platform/http/curltransport.h"
#include "tests/support/luatesting.h"
#include "tests/support/tempfolder.h"
#include "tests/support/testhttpserver.h"

namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

int WaitForStatus(const TSimpleHttp& client) {
    const auto end = steady_clock::now() + std::chrono::seconds(10);
    while (client.GetStatus() == HttpRequestState::kRunning && steady_clock::now() < end) {
        std::this_thread::sleep_for(milliseconds(1));
    }
    return client.GetStatus();
}

bool OnPath(const char* program) {
    return std::system((std::string("command -v ") + program + " >/dev/null 2>&1").c_str()) == 0;
}

int ConnectLoopback(uint16_t port) {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    const int result = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    close(fd);
    return result;
}

uint16_t FreePort() {
    TestHttpServer probe;
    return probe.Port();
}

// "openssl s_server" answering HTTPS on 127.0.0.1 with a certificate for
// "localhost" that the test makes.
class TlsServer {
public:
    explicit TlsServer(const TempFolder& folder) : mPort(FreePort()), mCert(folder / "cert.pem") {
        const std::string key = folder / "key.pem";
        const std::string& cert = mCert;
        const std::string make = "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 1"
                                 " -subj /CN=localhost -keyout " + key + " -out " + cert + " >/dev/null 2>&1";
        if (std::system(make.c_str()) != 0) return;
        const std::string accept = "127.0.0.1:" + std::to_string(mPort);
        mPid = fork();
        if (mPid == 0) {
            freopen("/dev/null", "w", stdout);
            freopen("/dev/null", "w", stderr);
            execlp("openssl", "openssl", "s_server", "-accept", accept.c_str(), "-cert", cert.c_str(), "-key",
                   key.c_str(), "-www", static_cast<char*>(nullptr));
            _exit(127);
        }
        const auto end = steady_clock::now() + std::chrono::seconds(10);
        while (mPid > 0 && ConnectLoopback(mPort) != 0 && steady_clock::now() < end) {
            std::this_thread::sleep_for(milliseconds(20));
        }
        mReady = mPid > 0 && ConnectLoopback(mPort) == 0;
    }
    ~TlsServer() {
        if (mPid > 0) {
            kill(mPid, SIGTERM);
            waitpid(mPid, nullptr, 0);
        }
    }
    TlsServer(const TlsServer&) = delete;
    TlsServer& operator=(const TlsServer&) = delete;

    bool Ready() const { return mReady; }
    std::string Url() const { return "https://127.0.0.1:" + std::to_string(mPort) + "/"; }
    // The certificate, as a CA file that trusts the server.
    const std::string& CertificateFile() const { return mCert; }

private:
    uint16_t mPort;
    std::string mCert;
    pid_t mPid = -1;
    bool mReady = false;
};

class SimpleHttpsTest : public testing::Test {
protected:
    void TearDown() override { THttpWorkerRegistry::Get().Shutdown(); }

    TestLog mLog;
    TSimpleHttp mClient;
};

TEST_F(SimpleHttpsTest, AddressWithoutAPortGoesTo443) {
    TestHttpServer server(443);
    if (!server.Ok()) GTEST_SKIP() << "port 443 cannot be bound here";
    mClient.BeginRequest("https://127.0.0.1/go/hiscore", nullptr, false);
    mClient.Send(0);
    EXPECT_TRUE(server.WaitForAccepted(1));
}

// The server's certificate is made fresh for "localhost" and signed by
// itself; the address names 127.0.0.1. Only a client that trusts the
// certificate through a CA file gets through, and then only when the name
// may differ.
TEST_F(SimpleHttpsTest, TalksOnlyToATrustedServerAndMayIgnoreOnlyTheName) {
    if (!OnPath("openssl")) GTEST_SKIP() << "openssl is not installed";
    TempFolder folder;
    TlsServer server(folder);
    ASSERT_TRUE(server.Ready());

    struct Case {
        bool trusted;
        int options;
        int status;
    } cases[] = {
        {true, HttpRequestState::kOptionIgnoreHostName, HttpRequestState::kComplete},
        {true, 0, HttpRequestState::kFailed},
        {false, HttpRequestState::kOptionIgnoreHostName, HttpRequestState::kFailed},
        {false, 0, HttpRequestState::kFailed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "trusted " << c.trusted << ", options " << c.options);
        const std::string caFile = c.trusted ? server.CertificateFile() : std::string();
        TSimpleHttp client(std::make_shared<http::CurlTransport>(http::CurlTransport::Timeouts{}, caFile));
        const size_t failuresBefore = mLog.Count("Error creating connection (HTTPS) 60");
        client.BeginRequest(server.Url().c_str(), nullptr, false);
        client.Send(c.options);
        ASSERT_EQ(WaitForStatus(client), c.status) << mLog.Text();
        if (c.status == HttpRequestState::kComplete) {
            EXPECT_NE(std::string(client.GetData()).find("s_server"), std::string::npos);
        } else {
            EXPECT_EQ(mLog.Count("Error creating connection (HTTPS) 60"), failuresBefore + 1) << mLog.Text();
        }
    }
}

// The client the game makes trusts only the system's authorities.
TEST_F(SimpleHttpsTest, FreshSelfSignedServerIsRefusedByDefault) {
    if (!OnPath("openssl")) GTEST_SKIP() << "openssl is not installed";
    TempFolder folder;
    TlsServer server(folder);
    ASSERT_TRUE(server.Ready());

    mClient.BeginRequest(server.Url().c_str(), nullptr, true);
    mClient.AddParam("a", "1");
    mClient.Send(HttpRequestState::kOptionIgnoreHostName);
    EXPECT_EQ(WaitForStatus(mClient), HttpRequestState::kFailed);
    EXPECT_TRUE(mLog.Contains("Error creating connection (HTTPS) 60")) << mLog.Text();
}

}  // namespace
