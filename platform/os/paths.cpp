#include "platform/os/paths.h"

#include "platform/os/directory.h"
#include "platform/os/programpath.h"

#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace os {

namespace {

std::vector<std::string> SplitComponents(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : path) {
        if (c == '/') {
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) parts.push_back(part);
    return parts;
}

std::string Join(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

// The entry of folder whose name equals name ignoring ASCII case, or "".
std::string FindEntryIgnoringCase(const std::string& folder, const std::string& name) {
    DirectoryIterator it;
    if (!it.Open(folder.empty() ? "." : folder)) return std::string();
    std::string entry;
    bool isFolder = false;
    while (it.Next(entry, &isFolder)) {
        if (strcasecmp(entry.c_str(), name.c_str()) == 0) return entry;
    }
    return std::string();
}

}  // namespace

std::string ToForwardSlashes(const std::string& path) {
    std::string result = path;
    for (char& c : result) {
        if (c == '\\') c = '/';
    }
    return result;
}

std::string AbsolutePath(const std::string& path) {
    std::string full = ToForwardSlashes(path);
    if (full.empty() || full[0] != '/') {
        std::string cwd = WorkingFolder();
        if (cwd.empty()) return std::string();
        full = Join(cwd, full);
    }
    std::vector<std::string> kept;
    for (const std::string& part : SplitComponents(full)) {
        if (part == ".") continue;
        if (part == "..") {
            if (!kept.empty()) kept.pop_back();
            continue;
        }
        kept.push_back(part);
    }
    std::string result;
    for (const std::string& part : kept) result += "/" + part;
    return result.empty() ? std::string("/") : result;
}

std::string MatchPathCase(const std::string& root, const std::string& relative) {
    std::string rel = ToForwardSlashes(relative);
    std::string result = root;
    if (!rel.empty() && rel[0] == '/' && (result.empty() || result.back() != '/')) result += '/';
    bool matching = true;
    for (const std::string& part : SplitComponents(rel)) {
        std::string candidate = Join(result, part);
        if (matching && access(candidate.c_str(), F_OK) != 0) {
            std::string found = FindEntryIgnoringCase(result, part);
            if (found.empty()) {
                matching = false;
            } else {
                candidate = Join(result, found);
            }
        }
        result = candidate;
    }
    return result;
}

bool PathAccessible(const std::string& path, bool needWrite) {
    return access(path.c_str(), needWrite ? (R_OK | W_OK) : R_OK) == 0;
}

bool MakeFolder(const std::string& path) {
    if (mkdir(path.c_str(), 0777) == 0) return true;
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool MakeFolderTree(const std::string& path) {
    std::string folder = ToForwardSlashes(path);
    for (size_t slash = folder.find('/', 1); slash != std::string::npos;
         slash = folder.find('/', slash + 1)) {
        MakeFolder(folder.substr(0, slash));
    }
    return MakeFolder(folder);
}

}  // namespace os
