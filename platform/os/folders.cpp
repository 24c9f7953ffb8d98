#include "platform/os/folders.h"

#include "platform/os/paths.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace os {

namespace {

std::string gCommonDataRoot;

std::string Environment(const char* name) {
    const char* value = getenv(name);
    return value ? std::string(value) : std::string();
}

std::string HomeFolder() { return Environment("HOME"); }

// The desktop entry of the user-dirs file: a line XDG_DESKTOP_DIR="$HOME/...".
std::string DesktopFromUserDirs() {
    std::string config = Environment("XDG_CONFIG_HOME");
    if (config.empty()) {
        if (HomeFolder().empty()) return std::string();
        config = HomeFolder() + "/.config";
    }
    FILE* file = fopen((config + "/user-dirs.dirs").c_str(), "r");
    if (!file) return std::string();
    std::string result;
    char line[1024];
    const char* key = "XDG_DESKTOP_DIR=\"";
    while (fgets(line, sizeof line, file)) {
        if (strncmp(line, key, strlen(key)) != 0) continue;
        std::string value = line + strlen(key);
        size_t quote = value.find('"');
        if (quote == std::string::npos) break;
        value.resize(quote);
        if (value.compare(0, 5, "$HOME") == 0) value = HomeFolder() + value.substr(5);
        result = value;
        break;
    }
    fclose(file);
    return result;
}

}  // namespace

std::string UserDataRoot() {
    std::string data = Environment("XDG_DATA_HOME");
    if (!data.empty() && data[0] == '/') return data;
    if (HomeFolder().empty()) return std::string();
    return HomeFolder() + "/.local/share";
}

std::string CommonDataRoot() {
    return gCommonDataRoot.empty() ? UserDataRoot() : gCommonDataRoot;
}

void SetCommonDataRoot(const std::string& folder) { gCommonDataRoot = ToForwardSlashes(folder); }

std::string DesktopFolder() {
    std::string desktop = Environment("XDG_DESKTOP_DIR");
    if (desktop.empty()) desktop = DesktopFromUserDirs();
    if (!desktop.empty() && PathAccessible(desktop, false)) return desktop;
    return HomeFolder();
}

}  // namespace os
