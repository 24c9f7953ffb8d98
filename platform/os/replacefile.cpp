#include "platform/os/replacefile.h"

#include "platform/os/directory.h"

#include <algorithm>
#include <cctype>
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

// Whether a folder entry is a temporary file of the target: its name, a dot
// and the six letters or digits that mkstemp puts in place of "XXXXXX".
bool IsTemporaryOf(const std::string& entry, const std::string& target) {
    const size_t suffix = 7;
    if (entry.size() != target.size() + suffix || entry.compare(0, target.size(), target) != 0 ||
        entry[target.size()] != '.') {
        return false;
    }
    return std::all_of(entry.end() - (suffix - 1), entry.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

// A save killed between creating and renaming its temporary file leaves it
// behind; the next save of the same target removes it.
void RemoveStaleTemporaries(const std::string& path) {
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
    const std::string target = slash == std::string::npos ? path : path.substr(slash + 1);
    DirectoryIterator it;
    if (!it.Open(folder)) {
        return;
    }
    std::string name;
    while (it.Next(name, nullptr)) {
        if (IsTemporaryOf(name, target)) {
            ::unlink((folder + "/" + name).c_str());
        }
    }
}

}  // namespace

bool ReplaceFile(const std::string& path, const void* data, size_t size, std::string* error) {
    RemoveStaleTemporaries(path);
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
