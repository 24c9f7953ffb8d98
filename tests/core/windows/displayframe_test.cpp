// The window manager's frame pass drawn by the display handler on OpenGL.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/app/frameservices.h"
#include "core/app/platformevent.h"
#include "core/app/tasklist.h"
#include "core/windows/screen.h"
#include "core/windows/windowmanager.h"
#include "graphics/texture.h"
#include "glframeservices.h"
#include "tests/graphics/dxgltesting.h"
#include "windowrecording.h"

namespace {

// Asks for a frame capture while it draws, inside the viewport the frame pass
// pushed for it, and notes whether the renderer kept the texture.
class CapturingWindow : public TWindow {
public:
    explicit CapturingWindow(std::shared_ptr<TTexture> capture) : mCapture(std::move(capture)) {}
    void Draw() override {
        TRenderer* renderer = TRenderer::GetInstance();
        renderer->SetCaptureTexture(mCapture);
        kept = renderer->GetCaptureTexture() == mCapture;
    }

    bool kept = false;

private:
    std::shared_ptr<TTexture> mCapture;
};

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

TEST_F(DisplayFrameTest, AWindowTakesAFrameCaptureOfTheRootWindowsSizeWhileItDraws) {
    struct Case {
        int width, height;
        bool taken;
    };
    // The window's viewport is 200x100; only the root window's size counts.
    const std::vector<Case> cases = {{800, 600, true}, {200, 100, false}, {1024, 768, false}};
    mScreen->SetClearColor(TColor4f(0, 0, 1, 1));
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        std::shared_ptr<TTexture> capture = TTexture::Create(c.width, c.height, false);
        ASSERT_NE(capture, nullptr);
        auto* window = new CapturingWindow(capture);
        window->SetPosition(100, 100);
        window->SetSize(200, 100);
        window->SetFlags(TWindow::kVisible);
        mScreen->AddChild(window, false);
        mManager->Invalidate();
        Tick();
        EXPECT_EQ(window->kept, c.taken);
        EXPECT_EQ(mRenderer->GetCaptureTexture(), nullptr);  // a kept capture is filled at the frame's end
        if (c.taken) {
            EXPECT_EQ(TexturePixel(capture, 799, 599), 0xFF0000FFu);
        }
        delete window;
    }
}

}  // namespace
