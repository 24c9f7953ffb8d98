// The pointer from the window through the pump, the display and the window
// manager into a dialog's widgets: the hover look of a button, which a
// resting pointer keeps, and a slider's thumb that follows a drag.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/app/platformevent.h"
#include "core/windows/windowmanager.h"
#include "foundation/virtualfiles.h"
#include "platform/os/timer.h"
#include "runtime/hovertracker.h"
#include "widgets/button.h"
#include "widgets/image.h"
#include "widgets/slider.h"
#include "facadetesting.h"
#include "tests/core/scripting/luarunning.h"
#include "tests/graphics/image/imagetesting.h"

namespace {

using window::EventKind;
using window::NativeEvent;

// Notes the windows that a resting pointer is offered for.
class RestingHook : public TWindowEventHook {
public:
    bool OnMouseLeave(TWindow* window, const TPoint&) override {
        offered.push_back(window);
        return false;
    }
    std::vector<TWindow*> offered;
};

class PointerTest : public FacadeFixture {
protected:
    void SetUp() override {
        FacadeFixture::SetUp();
        os::SetCurrentTimer(&mTimer);
        Build();
        mPlatform->SetDisplay(800, 600, false);
        for (const char* name : {"up.png", "down.png", "over.png"}) Image(name, 200, 60);
        Image("thumb.png", 20, 20);
        mManager = TWindowManager::GetInstance();
        mManager->SetEventHook(&mHook);
        // The button at 100..300 x 100..160; the 200-pixel slider at y 300,
        // its thumb at 0 to start with.
        ASSERT_EQ(RunLua(ScriptState(),
                         "PushModal('dialog') MakeDialog { "
                         "Button { name = 'ok', x = 100, y = 100, graphics = { 'up.png', 'down.png', 'over.png' } }, "
                         "Slider { name = 'vol', x = 100, y = 300, w = 200, h = 20, sliderimage = 'thumb.png' } }"),
                  "");
        mButton = CastToTButton(mManager->GetTopModal()->FindChildWindow("ok", -1));
        mSlider = dynamic_cast<TSlider*>(mManager->GetTopModal()->FindChildWindow("vol", -1));
        ASSERT_NE(mButton, nullptr);
        ASSERT_NE(mSlider, nullptr);
        Pump();
    }

    void TearDown() override {
        if (mManager) mManager->SetEventHook(nullptr);
        FacadeFixture::TearDown();
        for (const std::string& name : mFiles) RegisterMemoryFile(name.c_str(), nullptr, 0);
        os::SetCurrentTimer(nullptr);
    }

    void Image(const std::string& name, int width, int height) {
        mImages.push_back(EncodePng(RgbaPng(width, height, [](int, int) { return 0xFF336699u; })));
        mFiles.push_back(name);
        RegisterMemoryFile(name.c_str(), mImages.back().data(), mImages.back().size());
    }

    // The window's queued records through the pump to the window manager,
    // up to the idle tick.
    void Pump() {
        TPlatformEvent event;
        for (int i = 0; i < 100; ++i) {
            mPlatform->GetEvent(event);
            mManager->HandleEvent(event);
            if (event.type == TPlatformEvent::kIdle) return;
        }
        ADD_FAILURE() << "no idle tick";
    }

    void Send(EventKind kind, int x, int y) {
        NativeEvent event;
        event.kind = kind;
        event.button = window::Button::kLeft;
        event.x = x;
        event.y = y;
        mWindow->Queue(event);
        Pump();
    }
    void Move(int x, int y) { Send(EventKind::kMouseMove, x, y); }
    // The buttons of the window system come where the last move left the pointer.
    void Press() { Send(EventKind::kButtonDown, 0, 0); }
    void Release() { Send(EventKind::kButtonUp, 0, 0); }

    os::FakeTimer mTimer{0};
    RestingHook mHook;
    TWindowManager* mManager = nullptr;
    TButton* mButton = nullptr;
    TSlider* mSlider = nullptr;
    std::vector<std::string> mImages;
    std::vector<std::string> mFiles;
};

TEST_F(PointerTest, TheButtonUnderThePointerShowsItsHoverLookWhileThePointerRests) {
    Move(150, 120);
    ASSERT_NE(mManager->GetHoverWindow(), nullptr);
    EXPECT_EQ(mManager->GetHoverWindow()->GetParent(), mButton) << "the button's image is under the pointer";
    EXPECT_EQ(mButton->GetLook(), TButton::kRollover);
    EXPECT_EQ(mButton->GetLayer(), 2);

    // The pointer rests: the pump's hover reaches the event hook, and the
    // button keeps its look.
    mTimer.Advance(THoverTracker::kHoverTime);
    Pump();
    ASSERT_FALSE(mHook.offered.empty()) << "no hover came";
    EXPECT_EQ(mHook.offered.front(), mButton);
    EXPECT_EQ(mButton->GetLook(), TButton::kRollover);
    EXPECT_TRUE(mManager->HasCapture(mButton));

    Press();
    EXPECT_EQ(mButton->GetLayer(), 1);
    Release();
    EXPECT_EQ(mButton->GetLayer(), 2);
    Move(150, 200);
    EXPECT_EQ(mButton->GetLook(), TButton::kNormal);
    EXPECT_EQ(mButton->GetLayer(), 0);
    EXPECT_FALSE(mManager->HasCapture(mButton));
}

TEST_F(PointerTest, TheSlidersThumbFollowsADragOnAndOffTheRail) {
    Move(110, 310);
    Press();
    const struct {
        int x, y;
        float value;
        int thumbLeft;
    } steps[] = {
        {150, 310, 0.25f, 45}, {200, 330, 0.5f, 90}, {250, 280, 0.75f, 135}, {400, 310, 1.0f, 180},
        {50, 310, 0.0f, 0},    {120, 500, 0.1f, 18},
    };
    for (const auto& step : steps) {
        Move(step.x, step.y);
        EXPECT_FLOAT_EQ(mSlider->GetValue(), step.value) << step.x << "," << step.y;
        EXPECT_EQ(mSlider->GetThumb()->GetRect().left, step.thumbLeft) << step.x << "," << step.y;
    }
    Release();
    Move(250, 310);
    EXPECT_FLOAT_EQ(mSlider->GetValue(), 0.1f) << "released, the thumb stays";
}

}  // namespace
