#include "foundation/datafolders.h"

#include "foundation/settings.h"
#include "platform/os/folders.h"
#include "platform/os/paths.h"

#include <cstring>
#include <string>

namespace {

// The data root made absolute and created, with a trailing "/"; empty on failure.
std::string PrepareRoot(const std::string& root) {
    if (root.empty()) return std::string();
    std::string full = os::AbsolutePath(root);
    if (full.empty() || !os::MakeFolderTree(full)) return std::string();
    return full.back() == '/' ? full : full + "/";
}

// The folder name with a trailing "/"; nothing for an empty name, so that a
// publisher set to nothing puts the sub-folder right below the root.
std::string WithSeparator(const std::string& name) {
    return name.empty() ? name : os::ToForwardSlashes(name) + "/";
}

// Copies text into the buffer when it fits with its terminator.
int CopyOut(const std::string& text, char* buffer, int size) {
    const int needed = static_cast<int>(text.size());
    if (size < needed + 1) return needed;
    memcpy(buffer, text.c_str(), text.size() + 1);
    return 0;
}

}  // namespace

int GetDataFolderPath(const char* subFolder, char* buffer, int size, bool allUsers) {
    if (!buffer) return -1;
    std::string root = PrepareRoot(allUsers ? os::CommonDataRoot() : os::UserDataRoot());
    if (root.empty()) return -1;
    std::string folder = root + WithSeparator(GetSetting(kSettingPublisher, "Quenmarth").c_str()) +
                         WithSeparator(subFolder ? subFolder : "");
    if (size < static_cast<int>(folder.size()) + 1) return static_cast<int>(folder.size());
    if (!os::MakeFolderTree(folder)) return -1;
    return CopyOut(folder, buffer, size);
}

int GetDesktopPath(char* buffer, int size) {
    if (!buffer) return -1;
    std::string desktop = os::DesktopFolder();
    if (desktop.empty()) return -1;
    desktop = os::AbsolutePath(desktop);
    if (desktop.empty()) return -1;
    return CopyOut(desktop.back() == '/' ? desktop : desktop + "/", buffer, size);
}

TString GetFullPath(const TString& path) { return os::AbsolutePath(path.c_str()).c_str(); }
