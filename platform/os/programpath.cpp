#include "platform/os/programpath.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace os {

std::string ExecutablePath() {
    char* path = realpath("/proc/self/exe", nullptr);
    if (!path) return std::string();
    std::string result(path);
    free(path);
    return result;
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string WorkingFolder() {
    std::string buffer(256, '\0');
    while (!getcwd(buffer.data(), buffer.size())) {
        if (errno != ERANGE) return std::string();
        buffer.resize(buffer.size() * 2);
    }
    return std::string(buffer.c_str());
}

bool ChangeWorkingFolder(const std::string& folder) {
    return !folder.empty() && chdir(folder.c_str()) == 0;
}

}  // namespace os
