// The host channel over a Unix stream socket. The host process passes one
// end of a connected socket down; that descriptor is the host window's
// handle. Records go both ways in their wire form (recordreader.h).
#pragma once

#include "platform/host/channel.h"
#include "platform/host/recordreader.h"

namespace host {

class SocketChannel : public Channel {
public:
    // Reads the records the host sends on inbox, a connected stream socket,
    // which the channel owns from here on.
    explicit SocketChannel(Handle inbox);
    ~SocketChannel() override;
    SocketChannel(const SocketChannel&) = delete;
    SocketChannel& operator=(const SocketChannel&) = delete;

    // An open socket whose peer has not closed its end.
    bool IsAlive(Handle window) const override;
    // Waits a short while for room when the host reads slowly; false when
    // the window is not alive or stays full.
    bool Post(Handle window, uint32_t message, uint32_t wParam, uint32_t lParam) override;
    bool Poll(Record& record) override;

private:
    Handle mInbox;
    RecordReader mReader;
};

}  // namespace host
