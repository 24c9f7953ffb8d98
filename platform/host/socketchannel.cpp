#include "platform/host/socketchannel.h"

#include <cerrno>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace host {

namespace {

// How long a post waits for a host that does not read.
constexpr int kWriteWaitMs = 100;

bool IsSocket(int fd) {
    struct stat info;
    return fd > 0 && fstat(fd, &info) == 0 && S_ISSOCK(info.st_mode);
}

bool WaitWritable(int fd) {
    pollfd entry{fd, POLLOUT, 0};
    return poll(&entry, 1, kWriteWaitMs) == 1 && (entry.revents & POLLOUT);
}

// MSG_NOSIGNAL: a host that went away must not end the game with SIGPIPE.
bool SendAll(int fd, const uint8_t* bytes, size_t count) {
    size_t sent = 0;
    while (sent < count) {
        ssize_t n = send(fd, bytes + sent, count - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            sent += static_cast<size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && WaitWritable(fd)) {
            continue;
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

SocketChannel::SocketChannel(Handle inbox) : mInbox(inbox) {}

SocketChannel::~SocketChannel() {
    if (mInbox > 0) close(mInbox);
}

bool SocketChannel::IsAlive(Handle window) const {
    if (!IsSocket(window)) return false;
    char byte;
    ssize_t n = recv(window, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
    if (n > 0) return true;
    if (n == 0) return false;  // the host closed its end
    return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
}

bool SocketChannel::Post(Handle window, uint32_t message, uint32_t wParam, uint32_t lParam) {
    if (!IsSocket(window)) return false;
    uint8_t bytes[kRecordSize];
    EncodeRecord(Record{message, wParam, lParam}, bytes);
    return SendAll(window, bytes, sizeof bytes);
}

bool SocketChannel::Poll(Record& record) {
    if (mReader.Next(record)) return true;
    if (mInbox <= 0) return false;
    uint8_t buffer[512];
    ssize_t n = recv(mInbox, buffer, sizeof buffer, MSG_DONTWAIT);
    if (n > 0) mReader.Feed(buffer, static_cast<size_t>(n));
    return mReader.Next(record);
}

}  // namespace host
