// A recording device, a fake host and a log in a temporary folder, for the
// screen object and the device context.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "foundation/debuglog.h"
#include "foundation/settings.h"
#include "graphics/display/displayhost.h"
#include "platform/display/recordingdevice.h"
#include "tests/support/tempfolder.h"

class DisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        SetLogFolder(mLogFolder.Path().c_str());
    }
    void TearDown() override {
        SetLogFolder(nullptr);
        ClearSettings();
    }

    std::string Log() const { return mLogFolder.Read("logfile.txt"); }
    bool Logged(const std::string& text) const { return Log().find(text) != std::string::npos; }

    TempFolder mLogFolder;
    display::RecordingDevice mDevice;
    TFakeDisplayHost mHost;
    // Any non-null window: the recording device never touches it.
    SDL_Window* const mWindow = reinterpret_cast<SDL_Window*>(&mHost);
};
