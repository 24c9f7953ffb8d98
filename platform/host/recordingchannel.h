// The test channel: windows are alive when the test says so, posts are
// recorded, and the records a test sends wait for Poll.
#pragma once

#include <deque>
#include <set>
#include <vector>

#include "platform/host/channel.h"

namespace host {

class RecordingChannel : public Channel {
public:
    struct Posted {
        Handle window;
        Record record;
    };

    void SetAlive(Handle window, bool alive);
    // A record for the game to poll.
    void Send(const Record& record) { mIncoming.push_back(record); }

    const std::vector<Posted>& Posts() const { return mPosts; }
    void ClearPosts() { mPosts.clear(); }

    bool IsAlive(Handle window) const override { return mAlive.count(window) != 0; }
    // Records the post when the window is alive.
    bool Post(Handle window, uint32_t message, uint32_t wParam, uint32_t lParam) override;
    bool Poll(Record& record) override;

private:
    std::set<Handle> mAlive;
    std::vector<Posted> mPosts;
    std::deque<Record> mIncoming;
};

}  // namespace host
