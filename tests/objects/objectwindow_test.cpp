#include "game/objects/objectwindow.h"

#include <gtest/gtest.h>

#include <string>

#include "game/shell/gameassetmanager.h"
#include "game/sprites/sprite.h"
#include "game/sprites/spritemanager.h"
#include "game/sprites/spritemove.h"
#include "tests/widgets/widgetstesting.h"

namespace {

class ObjectWindowTest : public WidgetsTest {
protected:
    void TearDown() override {
        ReleaseManagerSingleton<VAssetManager>();
        WidgetsTest::TearDown();
    }
    VObjectWindow* MakeWindow(const std::string& objects) {
        return Make<VObjectWindow>("{ x = 0, y = 0, w = 200, h = 100, objects = " + objects + " }");
    }
    // The moves step in the update and place their sprites in the draw.
    void Frame(VObjectWindow* window, uint32_t milliseconds) {
        timer.Advance(milliseconds);
        window->Update();
        DrawWindow(window);
    }
    // Idle passes of 16 ms each, as the game's loop gives them; the frames
    // the window manager begins. The test's frame services begin no frame
    // on the renderer, so the window is drawn in one here.
    int FramesOver(VObjectWindow* window, int passes) {
        int frames = 0;
        for (int pass = 0; pass < passes; ++pass) {
            int before = services.beginDraws;
            timer.Advance(16);
            services.now += 16;
            manager->HandleEvent(Event(TPlatformEvent::kIdle));
            if (services.beginDraws == before) continue;
            ++frames;
            DrawWindow(window);
        }
        return frames;
    }
    static std::string Names(const VSpriteWindow& window) {
        std::string names;
        for (const auto& sprite : window.GetSpriteManager()->GetSprites()) names += sprite->GetName().c_str();
        return names;
    }
    static TVec2 PositionOf(VSpriteWindow& window, const char* name) {
        std::shared_ptr<VSprite> sprite = window.FindSprite(name);
        return sprite ? sprite->GetPosition() : TVec2(-1, -1);
    }
};

TEST_F(ObjectWindowTest, ClassNameAndTypeTest) {
    VObjectWindow* window = MakeWindow("{}");
    EXPECT_STREQ(window->GetClassName(), "VObjectWindow");
    for (TWindowClassId id : {VObjectWindow::ClassId(), VSpriteWindow::ClassId(), RWindow::ClassId(),
                              TImage::ClassId(), TWindow::ClassId()}) {
        EXPECT_TRUE(window->IsA(id));
    }
    EXPECT_TRUE(window->GetSpriteManager()->GetSprites().empty());
}

TEST_F(ObjectWindowTest, ObjectsAreBuiltInListOrderSkippingWhatIsNoTable) {
    VObjectWindow* window = MakeWindow("{ { name = 'a' }, 'junk', { name = 'b', effects = 7 }, 3, { name = 'c' } }");
    EXPECT_EQ(Names(*window), "abc");
    DrawWindow(window);
    // Equal layers and heights keep the list order: later ones draw on top.
    EXPECT_EQ(Names(*window), "abc");
    EXPECT_EQ(window->FindSprite("a")->GetManager(), window->GetSpriteManager());
}

TEST_F(ObjectWindowTest, OnlyMovesOfAnyCaseMoveAndTheDefaultTimeIs300) {
    VObjectWindow* window = MakeWindow(
        "{ { name = 'mover', x = 0, y = 10, effects = { { type = 'Move', x = 100, y = 10 } } },"
        "  { name = 'fader', x = 0, y = 20, effects = { { type = 'fade', x = 100, y = 20 }, 'junk' } },"
        "  { name = 'late', x = 0, y = 30, effects = { { type = 'MOVE', x = 100, y = 30, time = 100,"
        "                                                delay = 200 } } } }");
    // The moves count from their first step; at time 0 that would be none.
    Frame(window, 10);
    Frame(window, 150);
    EXPECT_NEAR(PositionOf(*window, "mover").x, 50, 1);
    EXPECT_NEAR(PositionOf(*window, "late").x, 0, 1);
    Frame(window, 100);
    EXPECT_NEAR(PositionOf(*window, "late").x, 50, 1);
    Frame(window, 60);
    EXPECT_NEAR(PositionOf(*window, "mover").x, 100, 1);
    EXPECT_NEAR(PositionOf(*window, "late").x, 100, 1);
    EXPECT_EQ(PositionOf(*window, "fader").x, 0);
}

TEST_F(ObjectWindowTest, NegativeAndNonNumericTimesCountAsZero) {
    VObjectWindow* window = MakeWindow(
        "{ { name = 'negative', effects = { { type = 'move', x = 40, y = 0, time = -5, delay = -1 } } },"
        "  { name = 'nan', effects = { { type = 'move', x = 40, y = 0, time = 0/0, delay = 0/0 } } } }");
    Frame(window, 10);
    Frame(window, 16);
    EXPECT_EQ(PositionOf(*window, "negative").x, 40);
    EXPECT_EQ(PositionOf(*window, "nan").x, 40);
}

TEST_F(ObjectWindowTest, TheScreenIsRedrawnWhileObjectsMoveAndRestsOnceTheyArrive) {
    VObjectWindow* window = MakeWindow(
        "{ { name = 'mover', x = 0, y = 10, effects = { { type = 'move', x = 100, y = 10, time = 100 } } },"
        "  { name = 'still', x = 50, y = 50 } }");
    EXPECT_EQ(FramesOver(window, 5), 5);
    EXPECT_LT(PositionOf(*window, "mover").x, 100);
    FramesOver(window, 5);
    EXPECT_EQ(PositionOf(*window, "mover").x, 100);
    EXPECT_EQ(FramesOver(window, 20), 0);

    // A new move wakes the window again.
    window->FindSprite("still")->AddEffect(VSpriteMove::Create(80, 50, 50, 0, 0));
    EXPECT_GE(FramesOver(window, 3), 3);
    FramesOver(window, 5);
    EXPECT_EQ(PositionOf(*window, "still").x, 80);
    EXPECT_EQ(FramesOver(window, 20), 0);
}

}  // namespace
