// A temporary folder that test platforms run in: it holds the user, common,
// desktop and asset folders and is the working folder while the object
// lives; settings and virtual files start and end empty.
#pragma once

#include <filesystem>
#include <memory>

#include "runtime/platformdata.h"
#include "foundation/settings.h"
#include "foundation/virtualfiles.h"
#include "platform/display/recordingdevice.h"
#include "platform/window/scriptedwindow.h"
#include "tests/support/tempfolder.h"

class TestPlatformFolder {
public:
    TestPlatformFolder() : mOldFolder(std::filesystem::current_path()) {
        std::filesystem::current_path(temp.Path());
        for (const char* folder : {"assets", "user", "common", "desktop"}) {
            std::filesystem::create_directories(temp / folder);
        }
        ClearSettings();
        ClearVirtualFiles();
    }
    ~TestPlatformFolder() {
        ClearSettings();
        ClearVirtualFiles();
        SetDataFolders("", "", "");
        std::filesystem::current_path(mOldFolder);
    }
    TestPlatformFolder(const TestPlatformFolder&) = delete;
    TestPlatformFolder& operator=(const TestPlatformFolder&) = delete;

    // Platform data over the window and a display device, with this folder's
    // data folders and a sleep that returns at once.
    std::unique_ptr<TPlatformData> MakeData(
        std::unique_ptr<window::Window> window = std::make_unique<window::ScriptedWindow>(),
        std::unique_ptr<display::Device> device = std::make_unique<display::RecordingDevice>()) {
        TPlatformSetup setup;
        setup.userFolder = (temp / "user").c_str();
        setup.commonFolder = (temp / "common").c_str();
        setup.desktopFolder = (temp / "desktop").c_str();
        setup.gameName = "vandermoot";
        auto data = std::make_unique<TPlatformData>(setup, std::move(window));
        data->SetDisplayDevice(std::move(device));
        data->SetSleepFunction([](uint32_t) {});
        return data;
    }

    TempFolder temp;

private:
    std::filesystem::path mOldFolder;
};
