#include <gtest/gtest.h>

#include <memory>

#include "core/scripting/luaobject.h"
#include "core/scripting/script.h"
#include "lua/lua.h"
#include "core/windows/windowstyle.h"
#include "tests/support/luatesting.h"
#include "windowtesting.h"

namespace {

// Window descriptions in a real script state, read through the manager's script.
class WindowStyleTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        manager.script = &script;
    }

    void Run(const char* text) { ASSERT_EQ(script.DoLuaString(text), 0) << text; }

    // A style over the global "d" (kept alive by the fixture).
    TWindowStyle& Style(const char* description) {
        Run((std::string("d = ") + description).c_str());
        table.reset(script.GetGlobalTable("d"));
        style = std::make_unique<TWindowStyle>(table.get());
        return *style;
    }

    TestLog testLog;
    TScript script;
    std::unique_ptr<TLuaTable> table;
    std::unique_ptr<TWindowStyle> style;
};

TEST_F(WindowStyleTest, MissingKeysComeFromTheDefaultStyleAndItsParents) {
    Run("gCurrentDefaultStyle = { w = 50, x = 99, parent = { h = 20, w = 70 } }");
    TWindowStyle& s = Style("{ x = 10 }");
    EXPECT_EQ(s.GetInt("x", -1), 10);
    EXPECT_EQ(s.GetInt("w", -1), 50);
    EXPECT_EQ(s.GetInt("h", -1), 20);
    EXPECT_EQ(s.GetInt("y", -1), -1);
    EXPECT_EQ(lua_gettop(script.GetState()), 0);
}

TEST_F(WindowStyleTest, TheDescriptionsOwnParentIsNotFollowed) {
    Run("gCurrentDefaultStyle = nil");
    TWindowStyle& s = Style("{ parent = { w = 5 } }");
    EXPECT_EQ(s.GetInt("w", 7), 7);
}

TEST_F(WindowStyleTest, FalseCountsAsFound) {
    Run("gCurrentDefaultStyle = { fit = true, visible = true }");
    TWindowStyle& s = Style("{ fit = false }");
    EXPECT_FALSE(s.GetBool("fit", true));
    EXPECT_TRUE(s.GetBool("visible", false));
    EXPECT_TRUE(s.GetBool("absent", true));
}

TEST_F(WindowStyleTest, BooleansAcceptNumbersAndLogOtherTypes) {
    TWindowStyle& s = Style("{ zero = 0, two = 2, fit = 'yes', t = {} }");
    EXPECT_FALSE(s.GetBool("zero", true));
    EXPECT_TRUE(s.GetBool("two", false));
    EXPECT_FALSE(s.GetBool("fit", true));
    EXPECT_TRUE(testLog.Contains("PopBool used on lua string yes"));
    EXPECT_FALSE(s.GetBool("t", true));
    EXPECT_TRUE(testLog.Contains("PopBool used on a type that isn't a number, a boolean, or nil. (type: 5)"));
}

TEST_F(WindowStyleTest, TypedReaders) {
    TWindowStyle& s = Style(
        "{ n = '12.5', big = 1e20, word = 'abc', num = 7, name = 'ok', "
        "  color = { 1, 0.5, 0.25, 0.75 }, t = { 1 }, f = function() end }");
    EXPECT_DOUBLE_EQ(s.GetNumber("n", 0), 12.5);
    EXPECT_DOUBLE_EQ(s.GetNumber("word", 3), 0);  // no number: 0, not the default
    EXPECT_EQ(s.GetInt("n", 0), 12);
    EXPECT_EQ(s.GetInt("big", 0), 2147483647);
    EXPECT_STREQ(s.GetString("name", "x").c_str(), "ok");
    EXPECT_STREQ(s.GetString("num", "x").c_str(), "7");
    EXPECT_STREQ(s.GetString("absent", "dflt").c_str(), "dflt");
    EXPECT_EQ(s.GetColor("color", TColor4f()), TColor4f(1, 0.5f, 0.25f, 0.75f));
    EXPECT_EQ(s.GetColor("absent", TColor4f(0, 0, 1, 1)), TColor4f(0, 0, 1, 1));

    std::unique_ptr<TLuaTable> t(s.GetTable("t"));
    ASSERT_NE(t, nullptr);
    EXPECT_DOUBLE_EQ(t->GetNumberAt(1), 1);
    EXPECT_EQ(s.GetTable("absent"), nullptr);
    std::unique_ptr<TLuaFunction> f(s.GetFunction("f"));
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->Call(), 0);
    lua_settop(script.GetState(), 0);
    EXPECT_EQ(s.GetFunction("absent"), nullptr);
    EXPECT_EQ(lua_gettop(script.GetState()), 0);
}

TEST_F(WindowStyleTest, WithoutADescriptionGlobalsAreRead) {
    Run("w = 31 gCurrentDefaultStyle = { h = 41 }");
    TWindowStyle s(nullptr);
    EXPECT_EQ(s.GetInt("w", 0), 31);
    EXPECT_EQ(s.GetInt("h", 0), 41);

    // A description that is no table reads globals too.
    Run("d = 5");
    std::unique_ptr<TLuaTable> number(script.GetGlobalTable("d"));
    EXPECT_EQ(number, nullptr);
    lua_State* L = script.GetState();
    lua_pushnumber(L, 5);
    TLuaTable notATable(L);
    TWindowStyle t(&notATable);
    EXPECT_EQ(t.GetInt("w", 0), 31);
}

TEST_F(WindowStyleTest, ACyclicDefaultChainEndsAndIsLogged) {
    Run("gCurrentDefaultStyle = { w = 3 } gCurrentDefaultStyle.parent = gCurrentDefaultStyle");
    TWindowStyle& s = Style("{}");
    EXPECT_EQ(s.GetInt("w", 0), 3);
    EXPECT_EQ(s.GetInt("h", 9), 9);
    EXPECT_TRUE(testLog.Contains("default style chain is deeper than"));
    EXPECT_EQ(lua_gettop(script.GetState()), 0);
}

TEST_F(WindowStyleTest, WithoutAScriptEveryParameterTakesItsDefault) {
    TWindowStyle& s = Style("{ x = 10 }");
    manager.script = nullptr;
    EXPECT_EQ(s.GetInt("x", 4), 4);
    EXPECT_STREQ(s.GetString("x", "none").c_str(), "none");
    EXPECT_EQ(s.GetTable("x"), nullptr);
}

TEST_F(WindowStyleTest, AFitGivenAsAStringDoesNotFit) {
    TestModal modal("modal", nullptr, TRect(0, 0, 800, 600));
    auto* panel = new RecordingWindow("panel", nullptr);
    modal.AddChild(panel, false);
    panel->AddChild(new RecordingWindow("wide", nullptr, TRect(0, 0, 300, 40)), false);

    Style("{ w = 100, h = 20, fit = 'true' }");
    panel->Init(*style);
    panel->PostInit(*style);
    EXPECT_EQ(panel->GetRect(), TRect(0, 0, 100, 20));
    EXPECT_TRUE(testLog.Contains("PopBool used on lua string true"));

    Style("{ fit = true }");
    panel->PostInit(*style);
    EXPECT_EQ(panel->GetRect(), TRect(0, 0, 300, 40));
}

TEST_F(WindowStyleTest, InitTakesTheName) {
    TWindow window;
    window.Init(Style("{ name = 'okbutton' }"));
    EXPECT_STREQ(window.GetName().c_str(), "okbutton");
}

// One layout case: a description applied to a fresh child of an 800x600 modal.
struct LayoutCase {
    const char* description;
    TRect expected;
};

class WindowLayoutTest : public WindowStyleTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(WindowLayoutTest, ResolvesCodedCoordinates) {
    TestModal modal("modal", nullptr, TRect(0, 0, 800, 600));
    auto* window = new TWindow();
    modal.AddChild(window, false);
    window->ApplyLayout(Style(GetParam().description));
    EXPECT_EQ(window->GetRect(), GetParam().expected) << GetParam().description;
}

// clang-format off
const LayoutCase kLayoutCases[] = {
    {"{ x = 10, y = 20, w = 100, h = 50 }",                   TRect(10, 20, 110, 70)},
    // From the far edge.
    {"{ x = 160000 - 10, w = 100, h = 10 }",                  TRect(790, 0, 890, 10)},
    {"{ x = 160000 - 10, w = 100, h = 10, align = 2 }",       TRect(690, 0, 790, 10)},
    {"{ y = 160000, w = 10, h = 100, align = 8 }",            TRect(0, 500, 10, 600)},
    // Centred.
    {"{ x = 80000, w = 200, h = 10 }",                        TRect(300, 0, 500, 10)},
    {"{ x = 80010, y = 79990, w = 200, h = 100 }",            TRect(310, 240, 510, 340)},
    {"{ x = 400, y = 300, w = 200, h = 100, align = 5 }",     TRect(300, 250, 500, 350)},
    // Negative positions count from the far edge unless an align is given.
    {"{ x = -10, y = -20, w = 100, h = 10 }",                 TRect(790, 580, 890, 590)},
    {"{ x = -10, w = 100, h = 10, align = 0 }",               TRect(-10, 0, 90, 10)},
    // A negative size extends towards the near edge.
    {"{ x = 500, w = -100, h = 10 }",                         TRect(400, 0, 500, 10)},
    // Beyond -80000: from a near-edge margin of 160000 + size, as wide as the position.
    {"{ x = 300, w = -160000 + 10, h = 10 }",                 TRect(10, 0, 310, 10)},
    {"{ x = -100, w = -160000, h = 10 }",                     TRect(0, 0, 700, 10)},
    // Stretched to the far edge less a margin of 160000 - size.
    {"{ x = 10, y = 0, w = 160000 - 20, h = 160000 }",        TRect(10, 0, 780, 600)},
    // With a centred position: as wide as fits in the parent less the margin,
    // centred there and moved by the offset (twice the offset at the near edge).
    {"{ x = 80000, w = 159900, h = 10 }",                     TRect(0, 0, 700, 10)},
    {"{ x = 80010, w = 159900, h = 10 }",                     TRect(20, 0, 700, 10)},
    {"{ x = 79990, w = 159900, h = 10 }",                     TRect(0, 0, 680, 10)},
    // Coded positions need a size.
    {"{ x = 80000, y = 5 }",                                  TRect(0, 0, 0, 0)},
    {"{ y = -5, w = 10 }",                                    TRect(0, 0, 0, 0)},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Cases, WindowLayoutTest, ::testing::ValuesIn(kLayoutCases));

TEST_F(WindowStyleTest, LayoutKeepsAPlacementAlreadyMade) {
    TestModal modal("modal", nullptr, TRect(0, 0, 800, 600));
    auto* window = new TWindow();
    modal.AddChild(window, false);
    window->SetPosition(5, 0);
    window->SetSize(0, 30);
    window->ApplyLayout(Style("{ x = 100, y = 200, w = 40, h = 50 }"));
    EXPECT_EQ(window->GetRect(), TRect(5, 200, 45, 230));
}

TEST_F(WindowStyleTest, CodedLayoutWaitsForAParentWithAnExtent) {
    TestModal modal("modal", nullptr, TRect(0, 0, 0, 600));
    auto* window = new TWindow();
    modal.AddChild(window, false);
    window->ApplyLayout(Style("{ x = -10, w = 100, h = 10 }"));
    EXPECT_EQ(window->GetRect(), TRect());
    window->ApplyLayout(Style("{ x = 10, w = 100, h = 10 }"));
    EXPECT_EQ(window->GetRect(), TRect(10, 0, 110, 10));
}

TEST_F(WindowStyleTest, WithoutAParentOnlyTheAlignmentApplies) {
    TWindow window;
    window.ApplyLayout(Style("{ x = 300, w = 100, h = 10, align = 2 }"));
    EXPECT_EQ(window.GetRect(), TRect(200, 0, 300, 10));
}

}  // namespace
