// The window manager's frame pass drawn by the display handler on OpenGL.
#include <gtest/gtest.h>

#include <memory>

#include "core/app/frameservices.h"
#include "core/app/platformevent.h"
#include "core/app/tasklist.h"
#include "core/windows/screen.h"
#include "core/windows/windowmanager.h"
#include "glframeservices.h"
#include "tests/graphics/dxgltesting.h"
#include "windowrecording.h"

namespace {

class DisplayFrameTest : public DxGlTest {
protected:
    void SetUp() override {
        DxGlTest::SetUp();
        if (HasFatalFailure()) return;
        mServices = std::make_unique<GlFrameServices>(*mRenderer, *mHandler);
        mManager = std::make_unique<TWindowManager>(*mServices);
        mScreen = new TScreen();
        mManager->SetRootWindow(mScreen);
    }
    void TearDown() override {
        mManager.reset();
        mServices.reset();
        DxGlTest::TearDown();
    }

    // An idle tick late enough for a frame.
    void Tick() {
        mServices->now += TWindowManager::kFrameInterval;
        mManager->HandleEvent(Event(TPlatformEvent::kIdle));
    }

    std::unique_ptr<GlFrameServices> mServices;
    std::unique_ptr<TWindowManager> mManager;
    TScreen* mScreen = nullptr;
};

TEST_F(DisplayFrameTest, TheScreenClearsTheFrameToItsColour) {
    mScreen->SetClearColor(TColor4f(0, 1, 0, 1));
    mManager->Invalidate();
    Tick();
    EXPECT_FALSE(mManager->IsInvalid());
    EXPECT_EQ(Pixel(0, 0), 0xFF00FF00u);
    EXPECT_EQ(Pixel(400, 300), 0xFF00FF00u);
    EXPECT_EQ(Pixel(799, 599), 0xFF00FF00u);

    // After a loss the next frame draws again.
    mDevice->SimulateLoss();
    mScreen->SetClearColor(TColor4f(1, 0, 0, 1));
    mManager->Invalidate();
    Tick();
    EXPECT_FALSE(mHandler->IsBroken());
    EXPECT_EQ(Pixel(400, 300), 0xFFFF0000u);
}

}  // namespace
