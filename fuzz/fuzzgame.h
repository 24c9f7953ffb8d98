// What the game's fuzz targets share: a data folder of the process's own
// (in memory where the system has one), removed with everything in it at
// exit, and a game whose one player is current.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include "foundation/settings.h"
#include "foundation/virtualfiles.h"
#include "game/shell/game.h"

class TFuzzFolder {
public:
    explicit TFuzzFolder(const char* name) {
        std::string pattern = (std::filesystem::is_directory("/dev/shm") ? "/dev/shm/" : "/tmp/");
        pattern += name;
        pattern += ".XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        mFolder = pattern;
    }
    ~TFuzzFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(mFolder, ignored);
    }
    TFuzzFolder(const TFuzzFolder&) = delete;
    TFuzzFolder& operator=(const TFuzzFolder&) = delete;
    const std::string& Path() const { return mFolder; }

private:
    std::string mFolder;
};

// Made once per process, in a folder named after the target.
inline void PrepareFuzzGame(const char* name) {
    static const TFuzzFolder folder(name);
    SetDataFolders(folder.Path().c_str(), folder.Path().c_str(), folder.Path().c_str());
    SetSetting("encryptionkey", "fuzzing key");
    VGame::Create()->CreateNewUser("fuzz");
}

// A fuzz target's own checks end the run at once.
inline void FuzzCheck(bool condition) {
    if (!condition) std::abort();
}
