#include "platform/os/randombytes.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace os {

bool RandomBytes(void* buffer, size_t count) {
    int fd = ::open("/dev/urandom", O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    auto* out = static_cast<unsigned char*>(buffer);
    size_t done = 0;
    while (done < count) {
        ssize_t got = ::read(fd, out + done, count - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        done += static_cast<size_t>(got);
    }
    ::close(fd);
    return done == count;
}

}  // namespace os
