// The special folders of the current user.
#pragma once

#include <string>

namespace os {

// Root of per-user application data: $XDG_DATA_HOME, else ~/.local/share.
// Empty when neither is known.
std::string UserDataRoot();

// Root of data shared by all users of the machine: the folder given to
// SetCommonDataRoot, else the same as UserDataRoot.
std::string CommonDataRoot();
void SetCommonDataRoot(const std::string& folder);

// The desktop folder ($XDG_DESKTOP_DIR or the user-dirs entry), else the home
// folder. Empty when there is no home folder.
std::string DesktopFolder();

}  // namespace os
