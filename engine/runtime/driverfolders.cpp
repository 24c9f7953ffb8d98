#include "runtime/driverfolders.h"

#include <string>

#include "foundation/datafolders.h"
#include "foundation/debuglog.h"
#include "platform/os/programpath.h"

namespace {

// One of the data-folder queries: (buffer, size) -> 0 when written, the
// length needed when the buffer is too small, -1 on failure.
template <typename Query>
TString AskFolder(Query query) {
    std::string buffer(256, '\0');
    int result = query(buffer.data(), static_cast<int>(buffer.size()));
    if (result > 0) {
        buffer.assign(static_cast<size_t>(result) + 1, '\0');
        result = query(buffer.data(), static_cast<int>(buffer.size()));
    }
    return result == 0 ? TString(buffer.c_str()) : TString();
}

TString WithoutTrailingSlash(const TString& folder) {
    int length = folder.Length();
    return length > 1 && folder.CharAt(length - 1) == '/' ? folder.SubString(0, length - 1) : folder;
}

TString DataFolder(const TString& gameName, bool allUsers) {
    return WithoutTrailingSlash(AskFolder([&](char* buffer, int size) {
        return GetDataFolderPath(gameName.c_str(), buffer, size, allUsers);
    }));
}

}  // namespace

bool ReadProgramFolders(TProgramFolders& folders) {
    std::string path = os::ExecutablePath();
    if (path.empty()) {
        DebugLog("Error: the program's own path cannot be read");
        return false;
    }
    folders.executablePath = path.c_str();
    folders.executableFolder = os::FolderOf(path).c_str();
    folders.startupFolder = os::WorkingFolder().c_str();
    folders.assetFolder = folders.executableFolder + "assets/";
    folders.userFolder = folders.commonFolder = folders.desktopFolder = folders.executableFolder;
    if (!os::ChangeWorkingFolder(folders.executableFolder.c_str())) {
        DebugLog("Error: cannot enter the program's folder %s", folders.executableFolder.c_str());
    }
    return true;
}

void SetUpDataFolders(TProgramFolders& folders, const TString& gameName) {
    TString user = DataFolder(gameName, false);
    if (user.Length() > 0) folders.userFolder = user;
    TString common = DataFolder(gameName, true);
    folders.commonFolder = common.Length() > 0 ? common : folders.userFolder;
    TString desktop = AskFolder(GetDesktopPath);
    folders.desktopFolder = desktop.Length() > 0 ? desktop : folders.userFolder;
}

bool SwitchWorkingFolder(const TString& folder) {
    DebugLog("Switching current directory to: %s", folder.c_str());
    if (os::ChangeWorkingFolder(folder.c_str())) return true;
    DebugLog("Error: cannot switch to %s; the working folder stays %s", folder.c_str(), os::WorkingFolder().c_str());
    return false;
}
