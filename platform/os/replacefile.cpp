#include "platform/os/replacefile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace os {

namespace {

bool Fail(const char* step, const std::string& path, std::string* error) {
    if (error) {
        *error = std::string(step) + " " + path + ": " + std::strerror(errno);
    }
    return false;
}

bool WriteAll(int fd, const unsigned char* data, size_t size) {
    while (size > 0) {
        ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

}  // namespace

bool ReplaceFile(const std::string& path, const void* data, size_t size, std::string* error) {
    std::string pattern = path + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = ::mkstemp(name.data());
    if (fd < 0) {
        return Fail("cannot create a temporary file for", path, error);
    }
    std::string temporary(name.data());
    ::fchmod(fd, 0644);
    bool written = WriteAll(fd, static_cast<const unsigned char*>(data), size) && ::fsync(fd) == 0;
    int writeErrno = errno;
    if (::close(fd) != 0 && written) {
        written = false;
        writeErrno = errno;
    }
    if (!written) {
        ::unlink(temporary.c_str());
        errno = writeErrno;
        return Fail("cannot write", temporary, error);
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        int renameErrno = errno;
        ::unlink(temporary.c_str());
        errno = renameErrno;
        return Fail("cannot rename the temporary file over", path, error);
    }
    return true;
}

}  // namespace os
