// The shared game utilities: queued script commands, float draws, trimming,
// rectangle drawing and events forwarded to the child under a point.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/app/platformevent.h"
#include "foundation/random.h"
#include "game/utilities/forwardevent.h"
#include "game/utilities/gamerandom.h"
#include "game/utilities/luacommand.h"
#include "game/utilities/rectdraw.h"
#include "game/utilities/trimspaces.h"
#include "tests/widgets/widgetstesting.h"

namespace {

using TCallKind = TRecordingRenderBackEnd::TCallKind;

TEST_F(WidgetsTest, QueuedCommandsLandInTheCommandQueueInOrder) {
    QueueLuaCommand("ran = (ran or '') .. 'a'");
    QueueLuaCommand("");
    QueueLuaCommand("ran = ran .. 'b'");
    QueueLuaCommand("ran = ran .. 'c' -- a comment ends the command");
    ASSERT_EQ(Eval("table.getn(gCommandQueue)"), "4");
    ASSERT_EQ(Run("for i = 1, table.getn(gCommandQueue) do gCommandQueue[i]() end"), "");
    EXPECT_EQ(Eval("ran"), "abc");
}

TEST_F(WidgetsTest, ACommandThatDoesNotCompileQueuesNothing) {
    QueueLuaCommand("this is not lua");
    EXPECT_EQ(Eval("table.getn(gCommandQueue)"), "0");
    EXPECT_TRUE(log.Contains("Lua Error:"));
}

TEST(GameUtilitiesTest, RandomFloatSpansTheRangeWithoutReachingItsEnd) {
    struct Case {
        uint32_t drawn;
        float a;
        float b;
        float expected;
    };
    const Case cases[] = {
        {0, 2, 5, 2.0f},
        {0xFFFFFFFFu, 2, 5, static_cast<float>(2 + 3 * 0.99999994f)},
        {0x80000000u, 0, 1, 0.5f},
        {0, 5, 2, 5.0f},
        {0xFFFFFFFFu, 0, 1, 0.99999994f},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RandomFloat(c.drawn, c.a, c.b), c.expected) << c.drawn << " in " << c.a << ".." << c.b;
    }
    EXPECT_EQ(RandomFloat(0xFFFFFFFFu, 2, 5), 5.0f);
    EXPECT_LT(RandomFloat(0xFFFFFFFFu, 0, 1), 1.0f);
}

TEST(GameUtilitiesTest, RandomFloatDrawsTheGeneratorsNextValue) {
    TRandom generator;
    generator.Seed(1234);
    TRandom copy = generator;
    for (int i = 0; i < 5; ++i) EXPECT_EQ(RandomFloat(generator, -3, 7), RandomFloat(copy.Next(), -3, 7));
}

TEST(GameUtilitiesTest, TrimSpacesCutsBlanksOnly) {
    const std::pair<const char*, const char*> cases[] = {
        {"  two words  ", "two words"}, {"    ", ""},          {"", ""},
        {"\tkept\t", "\tkept\t"},       {" \t x \t ", "\t x \t"}, {"plain", "plain"},
        {" a", "a"},                    {"a ", "a"},
    };
    for (const auto& [text, trimmed] : cases) {
        EXPECT_STREQ(TrimSpaces(text).c_str(), trimmed) << "'" << text << "'";
    }
}

TEST_F(WidgetsTest, RectanglesAreDrawnInOneCallOpeningTwoDOnlyWhenNeeded) {
    ASSERT_TRUE(TRenderer::GetInstance()->BeginDraw(false));
    recorder->ClearCalls();
    FillRectColor(TRect(10, 20, 30, 40), TColor4f(1, 0, 0, 1));
    std::vector<TCallKind> outside = recorder->GetCallKinds();
    ASSERT_TRUE(TRenderer::GetInstance()->Begin2d());
    recorder->ClearCalls();
    DrawRectOutline(TRect(10, 20, 30, 40), TColor4f(0, 0, 1, 0.5f));
    std::vector<TCallKind> inside = recorder->GetCallKinds();
    EXPECT_TRUE(TRenderer::GetInstance()->InBegin2d());
    TRenderer::GetInstance()->End2d();
    TRenderer::GetInstance()->EndDraw(false);

    EXPECT_EQ(outside, (std::vector<TCallKind>{TRecordingRenderBackEnd::kBegin2d, TRecordingRenderBackEnd::kSetTexture,
                                               TRecordingRenderBackEnd::kDrawVertices,
                                               TRecordingRenderBackEnd::kEnd2d}));
    EXPECT_EQ(inside, (std::vector<TCallKind>{TRecordingRenderBackEnd::kSetTexture,
                                              TRecordingRenderBackEnd::kDrawVertices}));
}

TEST_F(WidgetsTest, AFilledRectangleIsOneStripAndAnOutlineAClosedLineStrip) {
    ASSERT_TRUE(TRenderer::GetInstance()->BeginDraw(false));
    recorder->ClearCalls();
    FillRectColor(TRect(10, 20, 30, 40), TColor4f(1, 0, 0, 1));
    DrawRectOutline(TRect(10, 20, 30, 40), TColor4f(0, 0, 1, 0.5f));
    TRenderer::GetInstance()->EndDraw(false);
    auto draws = Calls(TRecordingRenderBackEnd::kDrawVertices);
    ASSERT_EQ(draws.size(), 2u);

    EXPECT_EQ(draws[0].value, TRenderer::kTriangleStrip);
    EXPECT_EQ(draws[0].vertexKind, TVertexSet::kLit2d);
    const float fill[4][2] = {{10, 20}, {30, 20}, {10, 40}, {30, 40}};
    ASSERT_EQ(draws[0].vertices.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(draws[0].vertices[i].x, fill[i][0]);
        EXPECT_EQ(draws[0].vertices[i].y, fill[i][1]);
        EXPECT_EQ(draws[0].vertices[i].diffuse, 0xFFFF0000u);
    }

    EXPECT_EQ(draws[1].value, TRenderer::kLineStrip);
    const float outline[5][2] = {{10, 20}, {30, 20}, {30, 40}, {10, 40}, {10, 20}};
    ASSERT_EQ(draws[1].vertices.size(), 5u);
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(draws[1].vertices[i].x, outline[i][0]);
        EXPECT_EQ(draws[1].vertices[i].y, outline[i][1]);
        EXPECT_EQ(draws[1].vertices[i].diffuse, 0x7F0000FFu);
    }
}

// Forwards the event it receives back to its parent, as a window lying
// over its siblings would.
class ForwardingWindow : public RecordingWindow {
public:
    using RecordingWindow::RecordingWindow;
    bool OnMouseMove(const TPoint& point) override {
        RecordingWindow::OnMouseMove(point);
        nestedAnswer = ForwardEventToChildAt(GetParent(), LocalToParent(point), TPlatformEvent::kMouseMove);
        return true;
    }
    bool nestedAnswer = true;
};

TEST_F(WidgetsTest, AnEventGoesToTheDeepestChildUnderThePointInItsCoordinates) {
    RecordingWindow* panel = Child(dialog, "panel", TRect(100, 100, 300, 300));
    RecordingWindow* inner = Child(panel, "inner", TRect(10, 10, 60, 60));
    inner->handles = true;
    journal.entries.clear();

    EXPECT_TRUE(ForwardEventToChildAt(dialog, TPoint(125, 130), TPlatformEvent::kMouseMove));
    EXPECT_EQ(journal.entries, (std::vector<std::string>{"inner:move@15,20"}));

    EXPECT_FALSE(ForwardEventToChildAt(dialog, TPoint(700, 500), TPlatformEvent::kMouseMove));
    EXPECT_FALSE(ForwardEventToChildAt(nullptr, TPoint(0, 0), TPlatformEvent::kMouseMove));
    EXPECT_FALSE(ForwardEventToChildAt(inner, TPoint(5, 5), TPlatformEvent::kMouseMove));
}

TEST_F(WidgetsTest, AForwardNestedInTheSameWindowsForwardSendsNothing) {
    auto* over = new ForwardingWindow("over", &journal, TRect(0, 0, 100, 100));
    dialog->AddChild(over, false);
    journal.entries.clear();

    EXPECT_TRUE(ForwardEventToChildAt(dialog, TPoint(10, 10), TPlatformEvent::kMouseMove));
    EXPECT_FALSE(over->nestedAnswer);
    EXPECT_EQ(journal.entries.size(), 1u);
    // Once routed, the window may forward again.
    EXPECT_TRUE(ForwardEventToChildAt(dialog, TPoint(10, 10), TPlatformEvent::kMouseMove));
}

}  // namespace
