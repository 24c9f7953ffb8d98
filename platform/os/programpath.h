// Where the running program lies and which folder it works in.
#pragma once

#include <string>

namespace os {

// The canonical path of the running executable; empty when it cannot be read.
std::string ExecutablePath();
// The folder part of a path with its trailing "/" ("" when it has none).
std::string FolderOf(const std::string& path);

// The current working folder; empty when it cannot be read.
std::string WorkingFolder();
// Makes the folder the working folder; false when it cannot be entered.
bool ChangeWorkingFolder(const std::string& folder);

}  // namespace os
