// Runs a test in its own temporary working folder, with the data folders
// "user:", "common:" and "desktop:" below it, an empty virtual-file table and
// no settings.
#pragma once

#include "foundation/settings.h"
#include "foundation/virtualfiles.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <filesystem>

class VirtualFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        mOldFolder = std::filesystem::current_path();
        std::filesystem::current_path(mTemp.Path());
        std::filesystem::create_directories(mTemp / "user");
        std::filesystem::create_directories(mTemp / "common");
        std::filesystem::create_directories(mTemp / "desktop");
        SetDataFolders(UserFolder().c_str(), CommonFolder().c_str(), (mTemp / "desktop").c_str());
        ClearVirtualFiles();
        ClearSettings();
    }
    void TearDown() override {
        ClearSettings();
        ClearVirtualFiles();
        SetDataFolders("", "", "");
        std::filesystem::current_path(mOldFolder);
    }

    std::string UserFolder() const { return mTemp / "user"; }
    std::string CommonFolder() const { return mTemp / "common"; }

    TempFolder mTemp;

private:
    std::filesystem::path mOldFolder;
};
