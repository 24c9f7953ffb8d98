#include "platform/os/readonlyfile.h"

#include "platform/os/paths.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace os {

bool ReadOnlyFile::Open(const std::string& path) {
    Close();
    int fd = open(ToForwardSlashes(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return false;
    }
    mFd = fd;
    mSize = static_cast<size_t>(info.st_size);
    return true;
}

void ReadOnlyFile::Close() {
    if (mFd >= 0) close(mFd);
    mFd = -1;
    mSize = 0;
}

long ReadOnlyFile::ReadAt(uint64_t offset, void* buffer, size_t count) const {
    if (mFd < 0 || offset > static_cast<uint64_t>(LLONG_MAX) || count > static_cast<size_t>(LONG_MAX)) return -1;
    char* out = static_cast<char*>(buffer);
    size_t done = 0;
    while (done < count) {
        ssize_t got = pread(mFd, out + done, count - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return -1;
        if (got == 0) break;
        done += static_cast<size_t>(got);
    }
    return static_cast<long>(done);
}

}  // namespace os
