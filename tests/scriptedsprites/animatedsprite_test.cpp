#include "scriptedsprites/animatedsprite.h"

#include <gtest/gtest.h>

#include <string>

#include "core/app/tasklist.h"
#include "core/scripting/luaobject.h"
#include "core/scripting/script.h"
#include "foundation/clock.h"
#include "scriptedsprites/animationhost.h"
#include "lua/lua.h"
#include "platform/os/timer.h"
#include "tests/graphics/texturetesting.h"

namespace {

class FakeAnimationHost : public TAnimationHost {
public:
    TTaskList& GetTaskList() override { return tasks; }
    uint32_t Rand() override { return random; }

    TTaskList tasks;
    uint32_t random = 7;
};

std::string SheetPng() {
    return EncodePng(RgbaPng(64, 32, [](int, int) { return 0xFFFFFFFFu; }));
}

// Three 16 x 32 frames, registration points at their feet.
std::string ThreeFrames(const std::string& script = "") {
    return "<sequence name=\"walk\"><img name=\"sheet.png\" w=\"64\" h=\"32\"/><framelist>"
           "<frame x=\"0\" w=\"16\" h=\"32\" regx=\"4\" regy=\"30\"/>"
           "<frame x=\"16\" w=\"16\" h=\"32\" regx=\"8\" regy=\"30\"/>"
           "<frame x=\"32\" w=\"16\" h=\"32\"/></framelist>" +
           (script.empty() ? std::string() : "<script luascript=\"" + script + "\"/>") + "</sequence>";
}

int gCollected = 0;

int CountCollection(lua_State*) {
    ++gCollected;
    return 0;
}

// A global whose collection (when the state closes) counts in gCollected.
void PlantCollectable(lua_State* L) {
    lua_pushstring(L, "collectable");
    lua_newuserdata(L, 1);
    lua_newtable(L);
    lua_pushstring(L, "__gc");
    lua_pushcfunction(L, CountCollection);
    lua_rawset(L, -3);
    lua_setmetatable(L, -2);
    lua_rawset(L, LUA_GLOBALSINDEX);
}

double NumberGlobal(TScript& script, const char* name) {
    lua_State* L = script.GetState();
    lua_pushstring(L, name);
    lua_rawget(L, LUA_GLOBALSINDEX);
    double value = lua_tonumber(L, -1);
    lua_pop(L, 1);
    return value;
}

class AnimatedSpriteTest : public TextureTest {
protected:
    void SetUp() override {
        TextureTest::SetUp();
        os::SetCurrentTimer(&timer);
        SetAnimationHost(&host);
        WriteAsset("anims/sheet.png", SheetPng());
        gCollected = 0;
    }
    void TearDown() override {
        host.tasks.Clear();
        SetAnimationHost(nullptr);
        os::SetCurrentTimer(nullptr);
        TextureTest::TearDown();
    }

    // A sprite showing the animation written under the name.
    std::shared_ptr<TAnimatedSprite> Animated(const std::string& name, const std::string& description) {
        WriteAsset(name, description);
        auto sprite = TAnimatedSprite::Create(0);
        std::shared_ptr<TAnimatedTexture> texture = TAnimatedTexture::Get(name.c_str());
        EXPECT_TRUE(texture);
        sprite->SetTexture(texture);
        return sprite;
    }

    // Moves the clock and runs an idle pass.
    void Tick(uint32_t milliseconds) {
        timer.Advance(milliseconds);
        host.tasks.RunAll(0);
    }

    os::FakeTimer timer{1000};
    FakeAnimationHost host;
};

TEST_F(AnimatedSpriteTest, DefaultScriptShowsEachFrameForSixtyMilliseconds) {
    auto sprite = Animated("anims/walk.xml", ThreeFrames());
    EXPECT_TRUE(sprite->IsFinished(-1));
    sprite->SetCurrentFrame(2);
    sprite->Play("DoAnim");
    EXPECT_EQ(sprite->GetCurrentFrame(), 0);
    EXPECT_TRUE(sprite->IsPlaying(0));
    EXPECT_FALSE(sprite->IsFinished(0));
    const int shown[] = {0, 1, 2};
    for (int frame : shown) {
        SCOPED_TRACE(frame);
        Tick(59);
        EXPECT_EQ(sprite->GetCurrentFrame(), frame);
        Tick(1);
    }
    EXPECT_FALSE(sprite->IsPlaying(-1));
    EXPECT_EQ(sprite->GetCurrentFrame(), 2);
    EXPECT_FALSE(sprite->IsFinished(-1));  // the script stays
    EXPECT_FALSE(log.Contains("rror"));
}

TEST_F(AnimatedSpriteTest, AnmAnimationPlaysItsScript) {
    std::string anm = "ANIM";
    auto integer = [&anm](int32_t value) {
        for (int i = 0; i < 4; ++i) anm += static_cast<char>(static_cast<uint32_t>(value) >> (8 * i));
    };
    auto text = [&](const std::string& s) {
        integer(static_cast<int32_t>(s.size()));
        anm += s;
    };
    integer(0);
    integer(2);
    text("run");
    text("");
    anm += "IMGN";
    for (int value : {0, 0, 64, 32}) integer(value);
    text("sheet.png");
    text("");
    anm += "FRMS";
    integer(2);
    for (int frame = 0; frame < 2; ++frame) {
        for (int value : {0, 0, 16 * frame, 0, 16, 32}) integer(value);
        integer(0x3F800000);  // alpha 1.0
        for (int i = 0; i < 6; ++i) integer(0);
        text("");
        integer(0);
    }
    anm += "SCRP";
    text("function Run() delay(25); loop(2, {2, 1}) end");
    auto sprite = Animated("anims/run.anm", anm);
    sprite->Play("Run");
    const int shown[] = {1, 0, 1, 0};
    for (int frame : shown) {
        SCOPED_TRACE(frame);
        EXPECT_EQ(sprite->GetCurrentFrame(), frame);
        Tick(24);
        EXPECT_EQ(sprite->GetCurrentFrame(), frame);
        Tick(1);
    }
    EXPECT_FALSE(sprite->IsPlaying(0));
}

TEST_F(AnimatedSpriteTest, FadeoutInsideFramesReachesZeroAndStops) {
    auto sprite = Animated("anims/fade.xml", ThreeFrames("function DoAnim() frames{1}; fadeout(4); "
                                                         "frames{1,2,3,1,2,3} end"));
    sprite->Play("DoAnim");
    EXPECT_FLOAT_EQ(sprite->GetDrawState().alpha, 1.0f);
    const float alphas[] = {0.75f, 0.5f, 0.25f, 0.0f, 0.0f, 0.0f};
    for (float alpha : alphas) {
        Tick(16);
        EXPECT_NEAR(sprite->GetDrawState().alpha, alpha, 1e-6);
    }
    TScript* script = sprite->GetScript();
    ASSERT_TRUE(script);
    EXPECT_EQ(NumberGlobal(*script, "alphacount"), 0);
    EXPECT_EQ(NumberGlobal(*script, "alphadelta"), 0);
}

TEST_F(AnimatedSpriteTest, PauseOnATreeStopsEveryDescendantAndResumesOneMillisecondLater) {
    std::string looping = "function DoAnim() while true do frames{1,2,3} end end";
    auto parent = Animated("anims/a.xml", ThreeFrames(looping));
    auto middle = TAnimatedSprite::Create(0);  // no animation of its own
    auto child = Animated("anims/b.xml", ThreeFrames(looping));
    parent->AddChild(middle);
    middle->AddChild(child);
    parent->Play("DoAnim");
    child->Play("DoAnim");
    Tick(16);
    ASSERT_EQ(child->GetCurrentFrame(), 1);

    parent->Pause(true, -1);
    EXPECT_TRUE(parent->IsPlaying(0));  // suspended, not ended
    Tick(500);
    EXPECT_EQ(parent->GetCurrentFrame(), 1);
    EXPECT_EQ(child->GetCurrentFrame(), 1);

    parent->Pause(false, -1);
    Tick(0);
    EXPECT_EQ(child->GetCurrentFrame(), 1);
    Tick(1);
    EXPECT_EQ(parent->GetCurrentFrame(), 2);
    EXPECT_EQ(child->GetCurrentFrame(), 2);

    // A depth of 1 does not reach the grandchild.
    parent->Pause(true, 1);
    Tick(16);
    EXPECT_EQ(parent->GetCurrentFrame(), 2);
    EXPECT_EQ(child->GetCurrentFrame(), 0);
    EXPECT_TRUE(middle->IsPlaying(-1));
    EXPECT_FALSE(middle->IsPlaying(0));
    EXPECT_FALSE(middle->IsFinished(-1));
    EXPECT_TRUE(middle->IsFinished(0));
}

TEST_F(AnimatedSpriteTest, TheSpritesClockTimesItsCoroutines) {
    TClock clock;
    clock.Start();
    auto sprite = Animated("anims/loop.xml", ThreeFrames("function DoAnim() while true do frames{1,2,3} end end"));
    sprite->Play("DoAnim");
    sprite->SetClock(&clock);
    clock.Pause();
    Tick(500);
    EXPECT_EQ(sprite->GetCurrentFrame(), 0);
    clock.Start();
    Tick(16);
    EXPECT_EQ(sprite->GetCurrentFrame(), 1);

    // A coroutine started later runs on the clock too.
    sprite->Play("DoAnim");
    EXPECT_EQ(sprite->GetCurrentFrame(), 0);
    clock.Pause();
    Tick(500);
    EXPECT_EQ(sprite->GetCurrentFrame(), 0);
    clock.Start();
    Tick(16);
    EXPECT_EQ(sprite->GetCurrentFrame(), 1);
}

TEST_F(AnimatedSpriteTest, PlayWithAnEmptyNameRunsNothing) {
    auto sprite = Animated("anims/walk.xml", ThreeFrames("function DoAnim() SetCurrentFrame(2) end"));
    sprite->SetCurrentFrame(1);
    sprite->Play("");
    Tick(100);
    EXPECT_EQ(sprite->GetCurrentFrame(), 1);
    EXPECT_FALSE(sprite->IsPlaying(0));
    EXPECT_FALSE(sprite->IsFinished(0));
    EXPECT_FALSE(log.Contains("rror"));
    // Without an animated texture there is nothing to play.
    auto plain = TAnimatedSprite::Create(0);
    plain->Play("DoAnim");
    EXPECT_TRUE(plain->IsFinished(0));
    EXPECT_EQ(plain->GetFrameCount(), 1);
}

TEST_F(AnimatedSpriteTest, DieInsideTheCoroutineFinishesTheSpriteAndFreesItAtTheNextCleanUp) {
    auto sprite = Animated("anims/die.xml", ThreeFrames("function DoAnim() frames{1}; die(); SetCurrentFrame(2); "
                                                        "while true do WaitLuaNextFrame(16) end end"));
    TScript* script = sprite->GetScript();
    ASSERT_TRUE(script);
    PlantCollectable(script->GetState());
    sprite->Play("DoAnim");
    Tick(16);
    EXPECT_TRUE(sprite->IsFinished(-1));
    EXPECT_FALSE(sprite->IsPlaying(-1));
    // The call after Die still reached the sprite, and the loop gave up.
    EXPECT_EQ(sprite->GetCurrentFrame(), 2);
    Tick(100);
    EXPECT_EQ(gCollected, 0);

    sprite->Play("DoAnim");  // a new script: the old one goes now
    EXPECT_EQ(gCollected, 1);
    EXPECT_TRUE(sprite->IsPlaying(0));
}

TEST_F(AnimatedSpriteTest, RemoveSpriteWithTheParentHoldingTheOnlyReference) {
    for (int resumes : {0, 1}) {
        SCOPED_TRACE(resumes);
        auto parent = TSprite::Create(0);
        std::string script = resumes ? "function DoAnim() frames{1}; RemoveSprite(); frames{2}; frames{3} end"
                                     : "function DoAnim() RemoveSprite(); frames{2} end";
        auto sprite = Animated("anims/gone.xml", ThreeFrames(script));
        parent->AddChild(sprite);
        std::weak_ptr<TAnimatedSprite> watch = sprite;
        TScript* own = sprite->GetScript();
        PlantCollectable(own->GetState());
        sprite.reset();
        watch.lock()->Play("DoAnim");
        Tick(16);
        Tick(16);
        EXPECT_TRUE(watch.expired());
        EXPECT_TRUE(parent->GetChildren().empty());
        EXPECT_EQ(gCollected, 1);
        gCollected = 0;
    }
}

// Called on the script from outside any coroutine: the script outlives the
// sprite until the call returns, and goes at a later clean-up.
TEST_F(AnimatedSpriteTest, RemoveSpriteFromADirectCallKeepsTheScriptUntilItReturns) {
    auto parent = TSprite::Create(0);
    auto sprite = Animated("anims/gone.xml", ThreeFrames());
    parent->AddChild(sprite);
    std::weak_ptr<TAnimatedSprite> watch = sprite;
    TScript* script = sprite->GetScript();
    PlantCollectable(script->GetState());
    sprite.reset();
    EXPECT_EQ(script->DoLuaString("RemoveSprite(); SetCurrentFrame(2); after = 1"), 0);
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(NumberGlobal(*script, "after"), 1);
    EXPECT_EQ(gCollected, 0);
    TAnimatedSprite::Create(0)->GetScript();  // a clean-up of another sprite
    EXPECT_EQ(gCollected, 1);
}

TEST_F(AnimatedSpriteTest, DestroyingASpriteTakesItsTasksOffTheList) {
    auto sprite = Animated("anims/walk.xml", ThreeFrames("function DoAnim() while true do frames{1,2} end end"));
    PlantCollectable(sprite->GetScript()->GetState());
    sprite->Play("DoAnim");
    sprite.reset();
    EXPECT_EQ(gCollected, 1);
    Tick(16);
    Tick(16);

    // A list cleared first (the platform's teardown) deleted them already.
    auto survivor = Animated("anims/walk.xml", ThreeFrames("function DoAnim() while true do frames{1,2} end end"));
    survivor->Play("DoAnim");
    host.tasks.Clear();
    EXPECT_TRUE(survivor->IsFinished(0));
    EXPECT_FALSE(survivor->IsPlaying(0));
}

TEST_F(AnimatedSpriteTest, ScriptErrorsAreLoggedAndTheSpriteStaysDrawable) {
    auto sprite = Animated("anims/bad.xml", ThreeFrames("function DoAnim() SetCurrentFrame(1); error('boom') end"));
    sprite->Play("DoAnim");
    EXPECT_TRUE(log.Contains("TAnimatedSprite::Play: lua_resume error:")) << log.Text();
    EXPECT_TRUE(log.Contains("boom"));
    sprite->Play("Missing");
    EXPECT_TRUE(log.Contains("TAnimatedSprite::Play: lua_resume error: no function Missing"));
    EXPECT_EQ(sprite->GetCurrentFrame(), 1);
    ASSERT_TRUE(Renderer().BeginDraw(false));
    ASSERT_TRUE(Renderer().Begin2d());
    recorder->ClearCalls();
    sprite->Draw(TDrawState(TVec2(100, 100), 1, 1, 0), -1);
    int draws = 0;
    for (const auto& call : recorder->GetCalls()) draws += call.kind == TRecordingRenderBackEnd::kDrawVertices;
    EXPECT_EQ(draws, 1);
}

TEST_F(AnimatedSpriteTest, WaitLuaNextFrameThatCannotYieldReturns) {
    auto sprite = Animated("anims/wait.xml",
                           ThreeFrames("function DoAnim() pcall(WaitLuaNextFrame, 30); SetCurrentFrame(2); "
                                       "WaitLuaNextFrame(40); SetCurrentFrame(0) end"));
    // On the script itself, outside any coroutine.
    TScript* script = sprite->GetScript();
    EXPECT_EQ(script->DoLuaString("WaitLuaNextFrame(5); done = 1"), 0);
    EXPECT_EQ(NumberGlobal(*script, "done"), 1);

    sprite->Play("DoAnim");
    EXPECT_EQ(sprite->GetCurrentFrame(), 2);
    Tick(39);
    EXPECT_EQ(sprite->GetCurrentFrame(), 2);
    Tick(1);
    EXPECT_EQ(sprite->GetCurrentFrame(), 0);
    EXPECT_FALSE(log.Contains("rror")) << log.Text();
}

TEST_F(AnimatedSpriteTest, RandomDrawsBelowTheUpperBound) {
    auto sprite = Animated("anims/walk.xml", ThreeFrames());
    TScript* script = sprite->GetScript();
    ASSERT_EQ(script->DoLuaString("a = Random(10, 13); b = Random(5, 5); c = Random(5, 2); d = random(-3, 100)"), 0);
    EXPECT_EQ(NumberGlobal(*script, "a"), 11);
    EXPECT_EQ(NumberGlobal(*script, "b"), 5);
    EXPECT_EQ(NumberGlobal(*script, "c"), 5);
    EXPECT_EQ(NumberGlobal(*script, "d"), 4);
}

TEST_F(AnimatedSpriteTest, LibraryAndSpriteFunctionsAreThere) {
    auto sprite = Animated("anims/walk.xml", ThreeFrames());
    TScript* script = sprite->GetScript();
    const char* functions[] = {"delay", "pause", "showFrame", "fadeout", "fadein", "setAlpha", "frames", "loop",
                               "run", "die", "halt", "isPlaying", "endReferences", "stop", "random",
                               "SetCurrentFrame", "WaitLuaNextFrame", "Die", "Pause", "IsPlaying", "Load",
                               "GetScript", "SetAlpha", "SetLayer", "RemoveSprite", "Random", "DoAnim"};
    for (const char* name : functions) {
        SCOPED_TRACE(name);
        lua_State* L = script->GetState();
        lua_pushstring(L, name);
        lua_rawget(L, LUA_GLOBALSINDEX);
        EXPECT_TRUE(lua_isfunction(L, -1));
        lua_pop(L, 1);
    }
    EXPECT_EQ(NumberGlobal(*script, "alpha"), 1);
    ASSERT_EQ(script->DoLuaString("setAlpha(0.5); SetLayer(3); n = GetScript()"), 0);
    EXPECT_FLOAT_EQ(sprite->GetDrawState().alpha, 0.5f);
    EXPECT_EQ(sprite->GetLayer(), 3);
}

TEST_F(AnimatedSpriteTest, RunLoadsAnotherAnimationAndPlaysItsFunction) {
    WriteAsset("anims/other.xml", ThreeFrames("function Jump() SetCurrentFrame(2); WaitLuaNextFrame(10) end"));
    auto sprite = Animated("anims/walk.xml", ThreeFrames("function DoAnim() run{'anims/other', anim = 'Jump'}; "
                                                         "SetCurrentFrame(1) end"));
    sprite->Play("DoAnim");
    EXPECT_EQ(sprite->GetCurrentFrame(), 2);
    EXPECT_EQ(sprite->GetAnimatedTexture(), TAnimatedTexture::Get("anims/other"));
    Tick(10);
    EXPECT_EQ(sprite->GetCurrentFrame(), 1);
}

TEST_F(AnimatedSpriteTest, StopEndsTheCoroutineAndLeavesNoTemporaryGlobal) {
    auto sprite = Animated("anims/walk.xml", ThreeFrames("function DoAnim() while true do frames{1,2,3} end end"));
    sprite->Play("DoAnim");
    sprite->Stop();
    EXPECT_FALSE(sprite->IsPlaying(0));
    EXPECT_FLOAT_EQ(sprite->GetSpeed(), 1.0f);
    Tick(100);
    EXPECT_EQ(sprite->GetCurrentFrame(), 0);
    lua_State* L = sprite->GetScript()->GetState();
    lua_pushstring(L, "_tempGlobalEnv");
    lua_rawget(L, LUA_GLOBALSINDEX);
    EXPECT_TRUE(lua_isnil(L, -1));
    lua_pop(L, 1);
}

TEST_F(AnimatedSpriteTest, FramesTexturesAndBounds) {
    auto sprite = Animated("anims/walk.xml", ThreeFrames());
    std::shared_ptr<TAnimatedTexture> texture = sprite->GetAnimatedTexture();
    ASSERT_TRUE(texture);
    EXPECT_EQ(sprite->GetFrameCount(), 3);
    sprite->SetCurrentFrame(1);
    EXPECT_EQ(texture->GetCurrentFrame(), 1);
    sprite->SetCurrentFrame(-2);
    EXPECT_EQ(sprite->GetCurrentFrame(), 1);
    sprite->SetCurrentFrame(5);  // kept, but the texture has no such frame
    EXPECT_EQ(sprite->GetCurrentFrame(), 5);
    EXPECT_EQ(texture->GetCurrentFrame(), 1);

    sprite->SetCurrentFrame(0);
    sprite->GetDrawState() = TDrawState(TVec2(100, 100), 1, 1, 0);
    EXPECT_EQ(sprite->GetBounds(TDrawState(TVec2(0, 0), 1, 1, 0), 0), TRect(96, 70, 112, 102));
    sprite->GetDrawState().flags = TDrawState::kMirrorHorizontal;
    EXPECT_EQ(sprite->GetBounds(TDrawState(TVec2(0, 0), 1, 1, 0), 0), TRect(88, 70, 104, 102));
    EXPECT_EQ(sprite->GetDrawState().flags, TDrawState::kMirrorHorizontal);
    texture->SetFrame(2);
    sprite->SetCurrentFrame(1);
    EXPECT_TRUE(sprite->HitTest(TPoint(93, 80), TDrawState(TVec2(0, 0), 1, 1, 0), -1, 0));
    EXPECT_EQ(texture->GetCurrentFrame(), 1);

    sprite->SetTexture(TTexture::GetWithOptions("anims/sheet.png", 0));
    EXPECT_FALSE(sprite->GetAnimatedTexture());
    EXPECT_TRUE(sprite->Load("anims/walk.xml", "", ""));
    EXPECT_EQ(sprite->GetAnimatedTexture(), texture);
    EXPECT_FALSE(sprite->Load("anims/none", "", ""));
    EXPECT_FALSE(sprite->GetAnimatedTexture());
}

}  // namespace
