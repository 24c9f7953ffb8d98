// A transport for tests: records every request, plays scripted replies in
// order and can hold requests until they are let go or aborted.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "platform/http/transport.h"

namespace http {

class RecordingTransport : public Transport {
public:
    struct Reply {
        Outcome outcome = Outcome::kComplete;
        int code = 0;
        std::string body;
        size_t pieceSize = 32768; // the body reaches the sink in pieces of this size
    };

    // Queues a reply; without one, a request completes with an empty body.
    void Script(const Reply& reply);
    // While holding, requests wait, once recorded, until Hold(false) or their abort.
    void Hold(bool hold);

    std::vector<Request> Requests() const;
    // Waits until count requests were recorded; false on time-out.
    bool WaitForRequests(size_t count, std::chrono::milliseconds timeout) const;
    // Requests that have returned from Perform.
    size_t Finished() const;

    Result Perform(const Request& request, const Sink& sink, const std::atomic<bool>& abort) override;

private:
    bool WaitWhileHeld(const std::atomic<bool>& abort);
    Reply NextReply();

    mutable std::mutex mMutex;
    mutable std::condition_variable mChanged;
    std::vector<Request> mRequests;
    std::deque<Reply> mReplies;
    bool mHold = false;
    size_t mFinished = 0;
};

}  // namespace http
