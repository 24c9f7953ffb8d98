// Animated sprites on a whole platform (scripted window, recording display,
// fake timer): their coroutines run from the platform's own task list as the
// game loop pumps it, and the frame they reach is the one drawn.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/app/platformevent.h"
#include "runtime/platform.h"
#include "core/windows/windowmanager.h"
#include "foundation/clock.h"
#include "scriptedsprites/animatedsprite.h"
#include "graphics/animatedtexture.h"
#include "graphics/render/drawstate.h"
#include "graphics/render/renderer.h"
#include "platform/display/recordingdevice.h"
#include "platform/os/timer.h"
#include "platform/window/scriptedwindow.h"
#include "tests/runtime/platformfolder.h"
#include "tests/graphics/image/imagetesting.h"
#include "tests/support/luatesting.h"

namespace {

// Keeps the texture coordinates of what was drawn last.
class FanDevice : public display::RecordingDevice {
public:
    display::Result Draw(display::Primitive type, display::VertexKind kind, const display::Vertex* vertices,
                         int count) override {
        lastDrawn.assign(vertices, vertices + count);
        return RecordingDevice::Draw(type, kind, vertices, count);
    }

    std::vector<display::Vertex> lastDrawn;
};

// A 64 x 32 sheet of four 16 x 32 cells; the animations use the first three.
constexpr int kCellWidth = 16;
constexpr int kSheetWidth = 64;

std::string SheetPng() {
    return EncodePng(RgbaPng(kSheetWidth, 32, [](int, int) { return 0xFFFFFFFFu; }));
}

// Three frames and no script: the default DoAnim plays them.
std::string XmlWalk() {
    return "<sequence name=\"walk\"><img name=\"sheet.png\" w=\"64\" h=\"32\"/><framelist>"
           "<frame x=\"0\" w=\"16\" h=\"32\" regx=\"8\" regy=\"32\"/>"
           "<frame x=\"16\" w=\"16\" h=\"32\"/>"
           "<frame x=\"32\" w=\"16\" h=\"32\"/></framelist></sequence>";
}

// The same three frames as a version-2 chunked file, which ends after its
// frames: no script chunk.
std::string AnmWalk() {
    std::string anm;
    auto integer = [&anm](uint32_t value) {
        for (int i = 0; i < 4; ++i) anm += static_cast<char>(value >> (8 * i));
    };
    auto real = [&integer](float value) {
        uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        integer(bits);
    };
    auto text = [&](const std::string& s) {
        integer(static_cast<uint32_t>(s.size()));
        anm += s;
    };
    anm += "ANIM";
    integer(0);
    integer(2);
    text("walk");
    text("");
    anm += "IMGN";
    for (uint32_t value : {0u, 0u, 64u, 32u}) integer(value);
    text("sheet.png");
    text("");
    anm += "FRMS";
    integer(3);
    for (uint32_t frame = 0; frame < 3; ++frame) {
        for (uint32_t value : {8u, 32u, kCellWidth * frame, 0u, 16u, 32u}) integer(value);
        real(1.0f);  // alpha
        for (float value : {-10000000.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f}) real(value);  // no transform
        text("");
        integer(0);
    }
    return anm;
}

class AnimationPlatformTest : public testing::Test {
protected:
    void SetUp() override {
        os::SetCurrentTimer(&mTimer);
        // The platform registers the asset files it finds when it starts.
        mFolder.temp.Write("assets/anims/sheet.png", SheetPng());
        mFolder.temp.Write("assets/anims/walk.xml", XmlWalk());
        mFolder.temp.Write("assets/anims/stride.anm", AnmWalk());
        auto device = std::make_unique<FanDevice>();
        mDevice = device.get();
        mPlatform = std::make_unique<TPlatform>(
            mFolder.MakeData(std::make_unique<window::ScriptedWindow>(), std::move(device)));
        mPlatform->SetDisplay(800, 600, false);
    }

    void TearDown() override {
        mPlatform.reset();
        os::SetCurrentTimer(nullptr);
    }

    std::shared_ptr<TAnimatedSprite> Sprite(const char* animation) {
        auto sprite = TAnimatedSprite::Create(0);
        std::shared_ptr<TAnimatedTexture> texture = TAnimatedTexture::Get(animation);
        EXPECT_TRUE(texture) << animation;
        sprite->SetTexture(texture);
        return sprite;
    }

    // Moves the platform's time on, then runs the game loop's pump up to its
    // next idle tick, each event going to the window manager as the game
    // loop hands it on (the idle tick's frame pass included).
    void Pump(uint32_t milliseconds) {
        mTimer.Advance(milliseconds);
        for (int i = 0; i < 100; ++i) {
            TPlatformEvent event;
            mPlatform->GetEvent(event);
            mPlatform->GetWindowManager()->HandleEvent(event);
            if (event.type == TPlatformEvent::kIdle) return;
        }
        ADD_FAILURE() << "the pump gave no idle tick";
    }

    // Draws the sprite on the platform's display; the cell of the sheet the
    // drawn quad took its pixels from, or -1 when nothing was drawn.
    int DrawnCell(TAnimatedSprite& sprite) {
        mDevice->lastDrawn.clear();
        EXPECT_TRUE(mPlatform->BeginDraw());
        {
            TBegin2dScope scope;
            sprite.Draw(TDrawState(TVec2(100, 100), 1, 1, 0), -1);
        }
        mPlatform->EndDraw(false);
        if (mDevice->lastDrawn.empty()) return -1;
        float left = mDevice->lastDrawn[0].u;
        for (const display::Vertex& vertex : mDevice->lastDrawn) left = std::fmin(left, vertex.u);
        return static_cast<int>(std::lround(left * kSheetWidth / kCellWidth));
    }

    os::FakeTimer mTimer{5000};
    TestPlatformFolder mFolder;
    TestLog mLog;
    FanDevice* mDevice = nullptr;
    std::unique_ptr<TPlatform> mPlatform;
};

TEST_F(AnimationPlatformTest, DefaultAnimationShowsEachFrameForSixtyMillisecondsUnderThePlatformsTasks) {
    for (const char* animation : {"anims/walk.xml", "anims/stride.anm"}) {
        SCOPED_TRACE(animation);
        auto sprite = Sprite(animation);
        ASSERT_TRUE(sprite->GetAnimatedTexture());
        EXPECT_EQ(sprite->GetFrameCount(), 3);
        sprite->SetCurrentFrame(2);
        sprite->Play("DoAnim");
        EXPECT_TRUE(sprite->IsPlaying(0));
        for (int frame : {0, 1, 2}) {
            SCOPED_TRACE(frame);
            EXPECT_EQ(sprite->GetCurrentFrame(), frame);
            EXPECT_EQ(DrawnCell(*sprite), frame);
            Pump(59);
            EXPECT_EQ(sprite->GetCurrentFrame(), frame);
            EXPECT_EQ(DrawnCell(*sprite), frame);
            Pump(1);
        }
        // DoAnim returned after its last frame, which stays shown.
        EXPECT_FALSE(sprite->IsPlaying(0));
        EXPECT_FALSE(sprite->IsFinished(0));
        Pump(500);
        EXPECT_EQ(sprite->GetCurrentFrame(), 2);
        EXPECT_EQ(DrawnCell(*sprite), 2);
    }
    EXPECT_FALSE(mLog.Contains("rror")) << mLog.Text();
}

// A sprite moved under a clock of its own mid-frame (as under a modal
// window's) keeps the time it still had to wait, whatever the clock reads,
// and stands still while that clock is paused.
TEST_F(AnimationPlatformTest, ASpriteMovedUnderAClockKeepsItsTimingOnThePlatformsTasks) {
    Pump(1000);
    TClock clock;
    clock.SetTime(-40000);
    clock.Start();
    auto sprite = Sprite("anims/walk.xml");
    sprite->Play("DoAnim");
    Pump(20);
    sprite->SetClock(&clock);
    Pump(39);
    EXPECT_EQ(sprite->GetCurrentFrame(), 0);
    Pump(1);
    EXPECT_EQ(sprite->GetCurrentFrame(), 1);

    clock.Pause();
    Pump(500);
    EXPECT_EQ(sprite->GetCurrentFrame(), 1);
    clock.Start();
    Pump(59);
    EXPECT_EQ(sprite->GetCurrentFrame(), 1);
    Pump(1);
    EXPECT_EQ(sprite->GetCurrentFrame(), 2);
}

// Game objects may hold sprites past the platform: its teardown deletes the
// sprites' tasks with its list, and the sprites go later without reaching them.
TEST_F(AnimationPlatformTest, ASpriteOutlivingThePlatformLosesItsTasksWithTheList) {
    auto sprite = Sprite("anims/stride.anm");
    sprite->Play("DoAnim");
    Pump(60);
    ASSERT_EQ(sprite->GetCurrentFrame(), 1);
    ASSERT_TRUE(sprite->IsPlaying(0));
    mPlatform.reset();
    EXPECT_FALSE(sprite->IsPlaying(0));
    EXPECT_TRUE(sprite->IsFinished(0));
    EXPECT_EQ(sprite->GetCurrentFrame(), 1);
    sprite.reset();
}

}  // namespace
