#include "platform/os/singleinstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace os {

namespace {

constexpr char kLockSuffix[] = "_MUTEX";
constexpr char kSocketSuffix[] = "_WNDCLASS";
// A file name of the lock folder.
constexpr size_t kMaxFileName = 255;
// An abstract socket name: the path field less its leading NUL.
constexpr size_t kMaxSocketName = sizeof(sockaddr_un::sun_path) - 1;

// FNV-1a.
uint32_t Hash(const std::string& text) {
    uint32_t hash = 2166136261u;
    for (unsigned char c : text) hash = (hash ^ c) * 16777619u;
    return hash;
}

// text + suffix in at most limit bytes. A long text loses its beginning: its
// end holds the hash, which keeps different programs apart.
std::string FittedName(const std::string& text, const char* suffix, size_t limit) {
    size_t room = limit - strlen(suffix);
    std::string kept = text.size() > room ? text.substr(text.size() - room) : text;
    return kept + suffix;
}

std::string HashText(const std::string& text) {
    char hash[9];
    snprintf(hash, sizeof hash, "%08x", Hash(text));
    return hash;
}

std::string LockFolder() {
    const char* runtime = getenv("XDG_RUNTIME_DIR");
    return runtime && runtime[0] == '/' ? runtime : "/tmp";
}

// The abstract socket address of a name; its length goes to length.
sockaddr_un SocketAddress(const std::string& name, socklen_t& length) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    memcpy(address.sun_path + 1, name.data(), name.size());
    length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    return address;
}

int Listen(const std::string& name) {
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    socklen_t length;
    sockaddr_un address = SocketAddress(name, length);
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 || listen(fd, 4) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

// One byte to the first copy; a copy that does not listen hears nothing.
void Knock(const std::string& name) {
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    socklen_t length;
    sockaddr_un address = SocketAddress(name, length);
    const char byte = 1;
    // The first copy counts connections; the byte only completes the knock.
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), length) == 0) send(fd, &byte, 1, MSG_NOSIGNAL);
    close(fd);
}

}  // namespace

std::string SingleInstanceText(const std::string& canonicalPath) {
    std::string text;
    for (char c : canonicalPath) {
        if (c == '/' || c == ':') continue;
        text += (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
    }
    return text + HashText(canonicalPath);
}

SingleInstance::Result SingleInstance::Acquire(const std::string& text) {
    Release();
    const std::string folder = LockFolder();
    mLockPath = folder + "/" + FittedName(text, kLockSuffix, kMaxFileName);
    // Socket names are shared by the whole machine, lock folders are each
    // user's own: the folder's hash keeps other users' copies apart.
    const std::string socketName = FittedName(text + HashText(folder), kSocketSuffix, kMaxSocketName);
    // Never through a link someone else laid in a shared folder.
    int fd = open(mLockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return Result::kFailed;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        close(fd);
        if (!held) return Result::kFailed;
        Knock(socketName);
        return Result::kAnother;
    }
    mLock = fd;
    // Without a listener this copy still runs; it only cannot be knocked on.
    mListener = Listen(socketName);
    return Result::kFirst;
}

bool SingleInstance::PollKnock() {
    if (mListener < 0) return false;
    bool knocked = false;
    for (;;) {
        int peer = accept4(mListener, nullptr, nullptr, SOCK_CLOEXEC);
        if (peer < 0) break;
        close(peer);
        knocked = true;
    }
    return knocked;
}

void SingleInstance::Release() {
    if (mListener >= 0) close(mListener);
    mListener = -1;
    // The file stays: removing it could let a third start lock a new file
    // while a second still holds the old one.
    if (mLock >= 0) close(mLock);
    mLock = -1;
}

}  // namespace os
