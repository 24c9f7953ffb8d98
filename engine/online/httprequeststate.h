// One HTTP request of TSimpleHttp, shared by its owner on the main thread and
// the worker thread that performs it. The worker writes the reply and then
// the status; the owner reads the status, then the reply, and only ever
// writes the released flag. Whichever lets go last frees the record.
#pragma once

#include <atomic>
#include <cstddef>
#include <string>

namespace http {
class Transport;
}

struct HttpRequestState {
    enum TStatus { kRunning = 0, kComplete = 1, kFailed = 2, kFileError = 3 };

    // Option bit of TSimpleHttp::Send.
    static constexpr int kOptionIgnoreHostName = 2;

    // A reply kept in memory may not grow past this.
    static constexpr size_t kMaxReplyBytes = 16 * 1024 * 1024;

    std::string address;
    std::string outputPath; // empty: keep the reply in memory
    std::string body;
    bool post = false;
    int options = 0;

    std::string reply;
    std::atomic<int> status{kRunning};
    std::atomic<bool> released{false};
    std::atomic<bool> finished{false}; // the worker has returned from Run

    // The worker's whole task: performs the request and sets the status,
    // unless the request was released first.
    void Run(http::Transport& transport);
};
