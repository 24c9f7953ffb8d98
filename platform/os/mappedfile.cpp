#include "platform/os/mappedfile.h"

#include "platform/os/paths.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace os {

bool MappedFile::Open(const std::string& path) {
    Close();
    int fd = open(ToForwardSlashes(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info;
    bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (ok && info.st_size > 0) {
        void* view = mmap(nullptr, static_cast<size_t>(info.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
        if (view == MAP_FAILED) {
            ok = false;
        } else {
            mData = static_cast<const unsigned char*>(view);
            mSize = static_cast<size_t>(info.st_size);
        }
    }
    // The mapping stays valid after the descriptor is closed.
    close(fd);
    mOpen = ok;
    return ok;
}

void MappedFile::Close() {
    if (mData) munmap(const_cast<unsigned char*>(mData), mSize);
    mData = nullptr;
    mSize = 0;
    mOpen = false;
}

}  // namespace os
