#include "game/sprites/spritewindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "game/shell/gameassetmanager.h"
#include "game/sprites/sprite.h"
#include "game/sprites/spritemanager.h"
#include "game/utilities/screeninvalidator.h"
#include "tests/widgets/widgetstesting.h"

namespace {

// Counts the manager's updates that reach it.
class CountingSprite : public VSprite {
public:
    static std::shared_ptr<CountingSprite> Create() {
        auto sprite = std::make_shared<CountingSprite>();
        Adopt(sprite);
        return sprite;
    }
    CountingSprite() : VSprite("counting", 0) {}
    void Update(bool paused) override {
        ++updates;
        VSprite::Update(paused);
    }
    int updates = 0;
};

class SpriteWindowTest : public WidgetsTest {
protected:
    void TearDown() override {
        ReleaseManagerSingleton<VAssetManager>();
        WidgetsTest::TearDown();
    }
    VSpriteWindow* MakeWindow(const char* description = "{ x = 0, y = 0, w = 200, h = 100 }") {
        return Make<VSpriteWindow>(description);
    }
    // An idle pass after the time has moved on.
    void Idle(uint32_t milliseconds) {
        timer.Advance(milliseconds);
        services.now += milliseconds;
        manager->HandleEvent(Event(TPlatformEvent::kIdle));
    }
};

TEST_F(SpriteWindowTest, ClassNameTypeTestAndSetUp) {
    VSpriteWindow* window = MakeWindow();
    EXPECT_STREQ(window->GetClassName(), "VSpriteWindow");
    for (TWindowClassId id : {VSpriteWindow::ClassId(), RWindow::ClassId(), TImage::ClassId(), TWindow::ClassId()}) {
        EXPECT_TRUE(window->IsA(id));
    }
    EXPECT_FALSE(window->IsA(TModalWindow::ClassId()));
    EXPECT_EQ(window->GetFlags() & TWindow::kFullSize, 0u);
    // The description's name, here none, replaced the constructor's.
    EXPECT_EQ(VSpriteWindow().GetSpriteManager()->GetName(), TString("sprite_window"));
    EXPECT_EQ(window->GetSpriteManager()->GetName(), TString());
    EXPECT_EQ(window->GetSpriteManager()->GetClock(), dialog->GetClock());
    EXPECT_EQ(manager->GetFocus(), window);
}

TEST_F(SpriteWindowTest, ARenamedWindowIsFoundByItsManager) {
    VSpriteWindow* window = MakeWindow("{ name = 'shop', x = 0, y = 0, w = 200, h = 100 }");
    EXPECT_EQ(window->GetSpriteManager()->GetName(), TString("shop"));
    EXPECT_EQ(window->GetSpriteManager()->GetWindow(), window);
    window->SetName("counter");
    EXPECT_EQ(window->GetSpriteManager()->GetWindow(), window);
    // A window of that name that is no sprite window is not taken.
    Make<RWindow>("{ name = 'plain' }");
    window->GetSpriteManager()->SetName("plain");
    EXPECT_EQ(window->GetSpriteManager()->GetWindow(), nullptr);
}

TEST_F(SpriteWindowTest, KeysReachTheManagerAndGoOn) {
    VSpriteWindow* window = MakeWindow();
    EXPECT_FALSE(window->OnKeyDown('T', 2));
    EXPECT_EQ(window->GetSpriteManager()->GetTraceFlags(), VSpriteManager::kTraceMemory);
    window->ResetInput();
    EXPECT_EQ(window->GetSpriteManager()->GetTraceFlags(), 0);
}

TEST_F(SpriteWindowTest, StartingTwiceLeavesOneInvalidator) {
    VSpriteWindow* window = MakeWindow();
    RScreenInvalidator* first = window->GetInvalidator();
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(window->StartAnimation());
    RScreenInvalidator* second = window->GetInvalidator();
    ASSERT_NE(second, nullptr);
    // The first one left the list (and was deleted); the second is on it.
    EXPECT_TRUE(first == second || !dialog->RemoveTask(first));
    ASSERT_TRUE(dialog->RemoveTask(second));
    delete second;
}

TEST_F(SpriteWindowTest, TheAnimatorUpdatesTheSpritesUntilADialogCoversIt) {
    VSpriteWindow* window = MakeWindow();
    auto sprite = CountingSprite::Create();
    window->AddSprite(sprite);
    EXPECT_EQ(sprite->GetClock(), dialog->GetClock());
    Idle(20);
    int before = sprite->updates;
    EXPECT_GE(before, 1);
    Idle(48);
    EXPECT_GT(sprite->updates, before);
    before = sprite->updates;
    Push("on top", TRect(0, 0, 100, 100));
    Idle(100);
    EXPECT_EQ(sprite->updates, before);
}

TEST_F(SpriteWindowTest, DestructionDetachesEverySprite) {
    VSpriteWindow* window = MakeWindow();
    auto a = VSprite::Create("a", 0);
    auto b = VSprite::Create("b", 0);
    window->AddSprite(a);
    window->AddSprite(b);
    EXPECT_EQ(window->FindSprite("b"), b);
    std::weak_ptr<VSpriteManager> spriteManager = window->GetSpriteManager();
    dialog->RemoveChild(window);
    delete window;
    EXPECT_FALSE(a->GetManager());
    EXPECT_FALSE(b->GetManager());
    EXPECT_TRUE(spriteManager.expired());
}

TEST_F(SpriteWindowTest, OutsideAnyModalThereIsNoClockAndNoAnimation) {
    auto window = std::make_unique<VSpriteWindow>();
    EXPECT_TRUE(window->OnAttach());
    EXPECT_EQ(window->GetSpriteManager()->GetClock(), nullptr);
    EXPECT_FALSE(window->StartAnimation());
    EXPECT_EQ(window->GetInvalidator(), nullptr);
    EXPECT_EQ(window->GetElapsed(), 0u);
    window->Update();
}

TEST_F(SpriteWindowTest, SpritesDrawFromTheWindowsCornerOnTheScreen) {
    RWindow* frame = Make<RWindow>("{ x = 40, y = 20, w = 400, h = 300 }");
    VSpriteWindow* window = Make<VSpriteWindow>("{ x = 60, y = 30, w = 200, h = 100 }", frame);
    std::shared_ptr<VSprite> sprite = VSprite::Create("dot", 0);
    sprite->SetAnimation(AddImage("dot.png", 8, 8));
    sprite->SetPosition(TVec2(10, 5));
    window->AddSprite(sprite);
    DrawWindow(window);
    std::vector<TRecordingRenderBackEnd::TCall> draws = Calls(TRecordingRenderBackEnd::kDrawVertices);
    ASSERT_EQ(draws.size(), 1u);
    float left = draws[0].vertices[0].x;
    float top = draws[0].vertices[0].y;
    for (const TRenderVertex& vertex : draws[0].vertices) {
        left = std::min(left, vertex.x);
        top = std::min(top, vertex.y);
    }
    // Centred on its position: 4 pixels to its left and above.
    EXPECT_FLOAT_EQ(left, 40 + 60 + 10 - 4);
    EXPECT_FLOAT_EQ(top, 20 + 30 + 5 - 4);
    // Points stay the window's own.
    EXPECT_EQ(window->GetSpriteManager()->GetDrawState().matrix.m[2][0], 0.0f);
}

}  // namespace
