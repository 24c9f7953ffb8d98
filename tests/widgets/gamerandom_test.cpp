// The game's own generator, seeded once from the platform's generator.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "core/platform/platform.h"
#include "core/platform/platformdata.h"
#include "foundation/random.h"
#include "foundation/settings.h"
#include "foundation/virtualfiles.h"
#include "game/widgets/gamerandom.h"
#include "platform/display/recordingdevice.h"
#include "platform/os/timer.h"
#include "platform/window/scriptedwindow.h"
#include "tests/support/luatesting.h"
#include "tests/support/tempfolder.h"

namespace {

// The generator is made once per process: this is the only test that asks
// for it.
TEST(GameRandomTest, TheGeneratorIsSeededFromThePlatformsNextValueOnce) {
    os::FakeTimer timer(5000);
    os::SetCurrentTimer(&timer);
    TempFolder temp;
    TestLog log;
    std::filesystem::path oldFolder = std::filesystem::current_path();
    std::filesystem::current_path(temp.Path());
    for (const char* folder : {"assets", "user", "common", "desktop"}) std::filesystem::create_directories(temp / folder);
    TPlatformSetup setup;
    setup.userFolder = (temp / "user").c_str();
    setup.commonFolder = (temp / "common").c_str();
    setup.desktopFolder = (temp / "desktop").c_str();
    setup.gameName = "vandermoot";
    auto data = std::make_unique<TPlatformData>(setup, std::make_unique<window::ScriptedWindow>());
    data->SetDisplayDevice(std::make_unique<display::RecordingDevice>());
    auto platform = std::make_unique<TPlatform>(std::move(data));

    TRandom platformCopy = platform->GetData().GetRandom();
    TRandom expected;
    expected.Seed(platformCopy.Next());
    TRandom& game = GetGameRandom();
    EXPECT_EQ(&GetGameRandom(), &game);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(game.Next(), expected.Next());
    // The platform's generator moved on by the one value.
    EXPECT_EQ(platform->Rand(), platformCopy.Next());

    platform.reset();
    ClearSettings();
    ClearVirtualFiles();
    SetDataFolders("", "", "");
    std::filesystem::current_path(oldFolder);
    os::SetCurrentTimer(nullptr);
}

}  // namespace
