#include "platform/http/recordingtransport.h"

#include <algorithm>

namespace http {

namespace {

// How often a held request looks at its abort flag.
const std::chrono::milliseconds kAbortPoll(1);

}  // namespace

void RecordingTransport::Script(const Reply& reply) {
    std::lock_guard<std::mutex> lock(mMutex);
    mReplies.push_back(reply);
}

void RecordingTransport::Hold(bool hold) {
    std::lock_guard<std::mutex> lock(mMutex);
    mHold = hold;
    mChanged.notify_all();
}

std::vector<Request> RecordingTransport::Requests() const {
    std::lock_guard<std::mutex> lock(mMutex);
    return mRequests;
}

bool RecordingTransport::WaitForRequests(size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock<std::mutex> lock(mMutex);
    return mChanged.wait_for(lock, timeout, [&] { return mRequests.size() >= count; });
}

size_t RecordingTransport::Finished() const {
    std::lock_guard<std::mutex> lock(mMutex);
    return mFinished;
}

bool RecordingTransport::WaitWhileHeld(const std::atomic<bool>& abort) {
    std::unique_lock<std::mutex> lock(mMutex);
    while (mHold) {
        if (abort.load()) {
            return false;
        }
        mChanged.wait_for(lock, kAbortPoll);
    }
    return !abort.load();
}

RecordingTransport::Reply RecordingTransport::NextReply() {
    std::lock_guard<std::mutex> lock(mMutex);
    if (mReplies.empty()) {
        return Reply{};
    }
    Reply reply = mReplies.front();
    mReplies.pop_front();
    return reply;
}

Result RecordingTransport::Perform(const Request& request, const Sink& sink, const std::atomic<bool>& abort) {
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mRequests.push_back(request);
        mChanged.notify_all();
    }
    Result result{Outcome::kAborted, 0};
    if (WaitWhileHeld(abort)) {
        const Reply reply = NextReply();
        result = {reply.outcome, reply.code};
        const size_t step = std::max<size_t>(reply.pieceSize, 1);
        for (size_t at = 0; at < reply.body.size(); at += step) {
            if (!sink(reply.body.data() + at, std::min(step, reply.body.size() - at))) {
                result = {Outcome::kSinkRefused, 0};
                break;
            }
        }
    }
    std::lock_guard<std::mutex> lock(mMutex);
    ++mFinished;
    mChanged.notify_all();
    return result;
}

}  // namespace http
