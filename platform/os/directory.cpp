#include "platform/os/directory.h"

#include "platform/os/paths.h"

#include <sys/stat.h>

namespace os {

bool DirectoryIterator::Open(const std::string& folder) {
    Close();
    mFolder = ToForwardSlashes(folder);
    while (mFolder.size() > 1 && mFolder.back() == '/') mFolder.pop_back();
    mDir = opendir(mFolder.empty() ? "." : mFolder.c_str());
    return mDir != nullptr;
}

bool DirectoryIterator::Next(std::string& name, bool* isFolder) {
    while (mDir) {
        dirent* entry = readdir(mDir);
        if (!entry) break;
        std::string entryName = entry->d_name;
        if (entryName == "." || entryName == "..") continue;
        bool folder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            // Some file systems leave the type out; symbolic links count as what they point to.
            struct stat info;
            std::string full = mFolder + "/" + entryName;
            folder = stat(full.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
        }
        if (folder && !isFolder) continue;
        if (isFolder) *isFolder = folder;
        name = entryName;
        return true;
    }
    Close();
    return false;
}

void DirectoryIterator::Close() {
    if (mDir) closedir(mDir);
    mDir = nullptr;
}

}  // namespace os
