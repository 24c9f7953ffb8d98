// A small HTTP server on 127.0.0.1 for tests: records each request's line,
// headers and body, answers with scripted replies, and can hold connections
// open without answering. One request per connection.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <string>
#include <strings.h>
#include <thread>
#include <utility>
#include <vector>

class TestHttpServer {
public:
    struct Reply {
        int status = 200;
        std::string body;
        std::string headers; // more header lines, each ended by "\r\n"
        bool hold = false; // never answer; the connection stays open until the server stops

        static Reply Answer(int status, const std::string& body, const std::string& headers = "") {
            Reply reply;
            reply.status = status;
            reply.body = body;
            reply.headers = headers;
            return reply;
        }
        static Reply Held() {
            Reply reply;
            reply.hold = true;
            return reply;
        }
    };

    struct Recorded {
        std::string requestLine; // "GET /path?query HTTP/1.1"
        std::string method;
        std::string target;
        std::vector<std::pair<std::string, std::string>> headers;
        std::string body;

        // The first header of that name (any letter case); empty when absent.
        std::string Header(const std::string& name) const {
            for (const auto& [key, value] : headers) {
                if (strcasecmp(key.c_str(), name.c_str()) == 0) return value;
            }
            return std::string();
        }
        bool HasHeader(const std::string& name) const {
            for (const auto& header : headers) {
                if (strcasecmp(header.first.c_str(), name.c_str()) == 0) return true;
            }
            return false;
        }
    };

    // Port 0 picks a free port.
    explicit TestHttpServer(uint16_t port = 0) {
        mListener = socket(AF_INET, SOCK_STREAM, 0);
        if (mListener < 0) return;
        int yes = 1;
        setsockopt(mListener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(port);
        socklen_t size = sizeof address;
        if (bind(mListener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            listen(mListener, 16) != 0 ||
            getsockname(mListener, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
            close(mListener);
            mListener = -1;
            return;
        }
        mPort = ntohs(address.sin_port);
        mAcceptor = std::thread([this] { AcceptLoop(); });
    }

    ~TestHttpServer() {
        {
            std::lock_guard<std::mutex> lock(mMutex);
            mStopping = true;
            mChanged.notify_all();
        }
        if (mAcceptor.joinable()) mAcceptor.join();
        for (std::thread& connection : mConnections) connection.join();
        if (mListener >= 0) close(mListener);
    }

    TestHttpServer(const TestHttpServer&) = delete;
    TestHttpServer& operator=(const TestHttpServer&) = delete;

    bool Ok() const { return mListener >= 0; }
    uint16_t Port() const { return mPort; }
    std::string Url(const std::string& path = "/") const {
        return "http://127.0.0.1:" + std::to_string(mPort) + path;
    }

    // Replies are used in order; without one a request gets 200 and an empty body.
    void Script(const Reply& reply) {
        std::lock_guard<std::mutex> lock(mMutex);
        mReplies.push_back(reply);
    }

    std::vector<Recorded> Requests() const {
        std::lock_guard<std::mutex> lock(mMutex);
        return mRequests;
    }

    bool WaitForRequests(size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(10)) const {
        std::unique_lock<std::mutex> lock(mMutex);
        return mChanged.wait_for(lock, timeout, [&] { return mRequests.size() >= count; });
    }

    bool WaitForAccepted(int count, std::chrono::milliseconds timeout = std::chrono::seconds(10)) const {
        std::unique_lock<std::mutex> lock(mMutex);
        return mChanged.wait_for(lock, timeout, [&] { return mAccepted.load() >= count; });
    }

private:
    static constexpr int kPollMs = 10;

    bool Stopping() {
        std::lock_guard<std::mutex> lock(mMutex);
        return mStopping;
    }

    void AcceptLoop() {
        while (!Stopping()) {
            pollfd ready{mListener, POLLIN, 0};
            if (poll(&ready, 1, kPollMs) <= 0) continue;
            int connection = accept(mListener, nullptr, nullptr);
            if (connection < 0) continue;
            std::lock_guard<std::mutex> lock(mMutex);
            ++mAccepted;
            mChanged.notify_all();
            mConnections.emplace_back([this, connection] {
                Serve(connection);
                close(connection);
            });
        }
    }

    // Reads until the predicate holds on what arrived; false when the peer
    // closed or the server stops first.
    template <typename Done>
    bool ReadUntil(int connection, std::string& data, Done done) {
        char buffer[65536];
        while (!done(data)) {
            if (Stopping()) return false;
            pollfd ready{connection, POLLIN, 0};
            if (poll(&ready, 1, kPollMs) <= 0) continue;
            ssize_t count = recv(connection, buffer, sizeof buffer, 0);
            if (count <= 0) return false;
            data.append(buffer, static_cast<size_t>(count));
        }
        return true;
    }

    static Recorded Parse(const std::string& head) {
        Recorded request;
        size_t lineEnd = head.find("\r\n");
        request.requestLine = head.substr(0, lineEnd);
        size_t space = request.requestLine.find(' ');
        request.method = request.requestLine.substr(0, space);
        size_t second = request.requestLine.find(' ', space + 1);
        request.target = request.requestLine.substr(space + 1, second - space - 1);
        for (size_t at = lineEnd + 2; at < head.size();) {
            size_t end = head.find("\r\n", at);
            if (end == std::string::npos) end = head.size();
            std::string line = head.substr(at, end - at);
            size_t colon = line.find(':');
            if (colon != std::string::npos) {
                size_t value = line.find_first_not_of(' ', colon + 1);
                request.headers.emplace_back(line.substr(0, colon),
                                             value == std::string::npos ? "" : line.substr(value));
            }
            at = end + 2;
        }
        return request;
    }

    void Serve(int connection) {
        std::string data;
        auto headEnd = [](const std::string& text) { return text.find("\r\n\r\n") != std::string::npos; };
        if (!ReadUntil(connection, data, headEnd)) return;
        size_t split = data.find("\r\n\r\n");
        Recorded request = Parse(data.substr(0, split));
        const size_t length = std::strtoul(request.Header("Content-Length").c_str(), nullptr, 10);
        std::string body = data.substr(split + 4);
        if (!ReadUntil(connection, body, [&](const std::string& text) { return text.size() >= length; })) return;
        request.body = body.substr(0, length);
        Reply reply;
        {
            std::lock_guard<std::mutex> lock(mMutex);
            if (!mReplies.empty()) {
                reply = mReplies.front();
                mReplies.pop_front();
            }
            mRequests.push_back(request);
            mChanged.notify_all();
        }
        if (!Wait(reply)) return;
        std::string answer = "HTTP/1.1 " + std::to_string(reply.status) + " Scripted\r\nContent-Length: " +
                             std::to_string(reply.body.size()) + "\r\nConnection: close\r\n" + reply.headers + "\r\n" +
                             reply.body;
        for (size_t sent = 0; sent < answer.size();) {
            ssize_t count = send(connection, answer.data() + sent, answer.size() - sent, MSG_NOSIGNAL);
            if (count <= 0) return;
            sent += static_cast<size_t>(count);
        }
    }

    // Keeps a held connection open until the server stops; false when the
    // connection should close without an answer.
    bool Wait(const Reply& reply) {
        std::unique_lock<std::mutex> lock(mMutex);
        if (reply.hold) mChanged.wait(lock, [&] { return mStopping; });
        return !mStopping;
    }

    int mListener = -1;
    uint16_t mPort = 0;
    std::thread mAcceptor;
    std::vector<std::thread> mConnections;
    mutable std::mutex mMutex;
    mutable std::condition_variable mChanged;
    std::deque<Reply> mReplies;
    std::vector<Recorded> mRequests;
    std::atomic<int> mAccepted{0};
    bool mStopping = false;
};
