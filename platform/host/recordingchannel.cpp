#include "platform/host/recordingchannel.h"

namespace host {

void RecordingChannel::SetAlive(Handle window, bool alive) {
    if (alive) {
        mAlive.insert(window);
    } else {
        mAlive.erase(window);
    }
}

bool RecordingChannel::Post(Handle window, uint32_t message, uint32_t wParam, uint32_t lParam) {
    if (!IsAlive(window)) return false;
    mPosts.push_back(Posted{window, Record{message, wParam, lParam}});
    return true;
}

bool RecordingChannel::Poll(Record& record) {
    if (mIncoming.empty()) return false;
    record = mIncoming.front();
    mIncoming.pop_front();
    return true;
}

}  // namespace host
