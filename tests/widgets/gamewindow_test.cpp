// The game window base: its description keys, the colour quad drawn over
// the image, the effect message, and the frame clock on its animator.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/app/message.h"
#include "core/windows/windowanim.h"
#include "game/widgets/gamewindow.h"
#include "tests/core/windows/notinglistener.h"
#include "tests/widgets/widgetstesting.h"

namespace {

class GameWindowTest : public WidgetsTest {
protected:
    void SetUp() override {
        WidgetsTest::SetUp();
        manager->AddMessageListener(new NotingListener(messages, true));
    }
    // Delivers the posted messages; the notes of those that arrived.
    std::vector<std::string> Delivered() {
        manager->DeliverMessages();
        return messages;
    }
    // Runs the modal's due tasks after the time has moved on.
    void Step(TModalWindow* modal, uint32_t milliseconds) {
        timer.Advance(milliseconds);
        modal->RunTasks(0);
    }

    std::vector<std::string> messages;
};

TEST_F(GameWindowTest, ImageAlphaAndDisableComeFromTheDescription) {
    AddImage("face.png", 40, 30);
    EXPECT_EQ(Make<RWindow>("{ image = 'face.png', imagealpha = 0 }")->GetAlpha(), 0);
    EXPECT_EQ(Make<RWindow>("{ image = 'face.png', imagealpha = 0.25 }")->GetAlpha(), 0.25f);
    EXPECT_EQ(Make<RWindow>("{ image = 'face.png', imagealpha = -0.5 }")->GetAlpha(), 1);
    RWindow* shown = Make<RWindow>("{ image = 'face.png' }");
    EXPECT_TRUE(shown->IsVisible());
    EXPECT_EQ(shown->GetClientRect(), TRect(0, 0, 40, 30));
    EXPECT_FALSE(Make<RWindow>("{ image = 'face.png', disable = true }")->IsVisible());
}

TEST_F(GameWindowTest, AColourQuadCoversTheWindowOverItsImage) {
    std::shared_ptr<TTexture> face = AddImage("face.png", 40, 30);
    RWindow* window = Make<RWindow>("{ image = 'face.png', bgcolor = { 1, 0, 0, 0.5 } }");
    ASSERT_TRUE(window->HasBackground());
    const TRenderVertex* quad = window->GetBackgroundQuad();
    const float corners[4][2] = {{0, 0}, {40, 0}, {0, 30}, {40, 30}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(quad[i].x, corners[i][0]);
        EXPECT_EQ(quad[i].y, corners[i][1]);
        EXPECT_EQ(quad[i].z, 1.0f);
        EXPECT_EQ(quad[i].rhw, 0.5f);
        EXPECT_EQ(quad[i].diffuse, 0x7FFF0000u);
    }
    // A later size change leaves the quad where it was.
    window->SetSize(80, 60);
    EXPECT_EQ(window->GetBackgroundQuad()[3].x, 40);

    DrawWindow(window);
    auto draws = Calls(TRecordingRenderBackEnd::kDrawVertices);
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0].value, TRenderer::kTriangleFan);
    EXPECT_EQ(draws[1].value, TRenderer::kTriangleStrip);
    EXPECT_EQ(draws[1].vertices[3].diffuse, 0x7FFF0000u);
    auto textures = Calls(TRecordingRenderBackEnd::kSetTexture);
    ASSERT_EQ(textures.size(), 2u);
    EXPECT_EQ(textures[0].texture, face.get());
    EXPECT_EQ(textures[1].texture, nullptr);
}

TEST_F(GameWindowTest, AnUnsetOrAbsentColourGivesNoQuad) {
    for (const char* description : {"{ w = 10, h = 10 }", "{ w = 10, h = 10, bgcolor = { -1, -1, -1, -1 } }",
                                    "{ w = 10, h = 10, bgcolor = 'red' }"}) {
        RWindow* window = Make<RWindow>(description);
        EXPECT_FALSE(window->HasBackground()) << description;
        DrawWindow(window);
        EXPECT_TRUE(Calls(TRecordingRenderBackEnd::kDrawVertices).empty()) << description;
    }
}

TEST_F(GameWindowTest, AnEffectOtherThanNonePostsItsMessageWithTheText) {
    Make<RWindow>("{ w = 10, h = 10, effect = 1000, luastring = 'Ignored()' }");
    Make<RWindow>("{ w = 10, h = 10, luastring = 'Ignored()' }");
    EXPECT_TRUE(Delivered().empty());
    Make<RWindow>("{ w = 10, h = 10, effect = 1003, luastring = 'PopModal( \"x\" )' }");
    Make<RWindow>("{ w = 10, h = 10, effect = 1005 }");
    EXPECT_EQ(Delivered(), (std::vector<std::string>{"1003:PopModal( \"x\" )", "1005:"}));
}

TEST_F(GameWindowTest, TheFrameClockStartsAtZeroAndFollowsTheModalsClock) {
    RWindow* window = Make<RWindow>("{ w = 10, h = 10 }");
    ASSERT_NE(window->FindAnimator(), nullptr);
    Step(dialog, 16);
    EXPECT_EQ(window->GetFrameTime(), 0u);
    EXPECT_EQ(window->GetElapsedTime(), 0u);
    Step(dialog, 16);
    EXPECT_EQ(window->GetFrameTime(), 16u);
    Step(dialog, 20);
    EXPECT_EQ(window->GetFrameTime(), 20u);
    EXPECT_EQ(window->GetElapsedTime(), 36u);
}

TEST(GameWindowAloneTest, WithoutAModalWindowTheTimesStayZero) {
    TestLog log;
    RWindow window;
    TWindowStyle style(nullptr);
    window.Init(style);
    window.PostInit(style);
    EXPECT_EQ(window.FindAnimator(), nullptr);
    window.Animate();
    window.Animate();
    EXPECT_EQ(window.GetFrameTime(), 0u);
    EXPECT_EQ(window.GetElapsedTime(), 0u);
}

TEST_F(GameWindowTest, AWindowBuiltOutsideTheTreeRunsOnTheTopModalAndKeepsItsPlace) {
    // A screen being built: a holder that is in no modal window yet.
    auto holder = std::make_unique<RecordingWindow>("holder", &journal, TRect(0, 0, 100, 100));
    Child(holder.get(), "after", TRect());
    RWindow* window = Make<RWindow>("{ w = 10, h = 10 }", holder.get());
    Child(holder.get(), "before", TRect());
    journal.entries.clear();
    EXPECT_EQ(window->GetParent(), holder.get());
    std::vector<std::string> names;
    for (const TWindow* child : holder->GetChildren()) names.push_back(child->GetName().c_str());
    EXPECT_EQ(names, (std::vector<std::string>{"before", "", "after"}));

    Step(dialog, 16);
    Step(dialog, 16);
    EXPECT_EQ(window->GetElapsedTime(), 16u);

    // The modal whose clock it ran on goes first; the window stays.
    manager->PopTopModal();
    manager->FlushDeletes();
    EXPECT_EQ(window->FindAnimator(), nullptr);
    Step(manager->GetTopModal(), 16);
    window->Animate();
    EXPECT_EQ(window->GetElapsedTime(), 16u);
    EXPECT_EQ(window->GetFrameTime(), 16u);
}

}  // namespace
