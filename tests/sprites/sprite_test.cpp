#include "game/sprites/sprite.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/scripting/script.h"
#include "game/sprites/spriteeffect.h"
#include "lua/lua.h"
#include "tests/sprites/spritetesting.h"

namespace {

class GameSpriteTest : public SpriteTest {
protected:
    std::shared_ptr<LoggingSprite> Logging(const std::string& name, int layer = 0) {
        auto sprite = LoggingSprite::Create(name, events, layer);
        sprite->SetManager(manager);
        return sprite;
    }
    std::shared_ptr<VSprite> Animated(const char* name) {
        auto sprite = VSprite::Create(name, 0);
        sprite->SetManager(manager);
        sprite->SetAnimation(TwoFrames());
        return sprite;
    }
    void Release(const std::shared_ptr<VSprite>& sprite) {
        sprite->SendEvent(VSprite::kEventRelease, TPoint(1, 2), Identity(), 0);
    }
    static double Global(TScript& script, const char* name) {
        lua_State* L = script.GetState();
        lua_pushstring(L, name);
        lua_rawget(L, LUA_GLOBALSINDEX);
        double value = lua_isboolean(L, -1) ? (lua_toboolean(L, -1) ? 1 : 0) : lua_tonumber(L, -1);
        lua_pop(L, 1);
        return value;
    }

    EventLog events;
};

TEST_F(GameSpriteTest, ReleaseClicksOnlyAClickableSpriteAndDispatchesTheClickInside) {
    struct Case {
        bool clickable;
        EventLog expected;
    };
    const Case cases[] = {
        {false, {"box release", "ear release"}},
        {true, {"box release", "box click", "ear click", "ear release"}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.clickable);
        events.clear();
        auto sprite = Logging("box");
        sprite->SetClickable(test.clickable);
        sprite->AddListener(std::make_shared<LoggingListener>("ear", events));
        sprite->Update(false);
        sprite->SendEvent(VSprite::kEventPress, TPoint(), Identity(), 0);
        EXPECT_TRUE(sprite->IsPressed());
        events.clear();
        Release(sprite);
        EXPECT_EQ(events, test.expected);
        EXPECT_FALSE(sprite->IsPressed());
    }
}

// Adds a listener, or removes one, from inside its own callback.
class ChangingListener : public LoggingListener {
public:
    ChangingListener(EventLog& log, std::shared_ptr<VSpriteListener> added) : LoggingListener("changer", log),
                                                                            mAdded(std::move(added)) {}
    void OnClick(const std::shared_ptr<VSprite>& sprite) override {
        LoggingListener::OnClick(sprite);
        if (mAdded) sprite->AddListener(mAdded);
        sprite->RemoveListener(std::static_pointer_cast<VSpriteListener>(mSelf.lock()));
    }
    std::weak_ptr<ChangingListener> mSelf;

private:
    std::shared_ptr<VSpriteListener> mAdded;
};

TEST_F(GameSpriteTest, ListenerChangesInsideACallbackWaitForTheNextUpdate) {
    auto sprite = Logging("box");
    sprite->SetClickable(true);
    auto late = std::make_shared<LoggingListener>("late", events);
    auto changer = std::make_shared<ChangingListener>(events, late);
    changer->mSelf = changer;
    sprite->AddListener(changer);
    sprite->Update(false);

    Release(sprite);
    // The removed changer still hears the release; the added one hears nothing yet.
    EXPECT_EQ(events, (EventLog{"box release", "box click", "changer click", "changer release"}));
    events.clear();
    sprite->Update(false);
    Release(sprite);
    EXPECT_EQ(events, (EventLog{"box release", "box click", "late click", "late release"}));
}

TEST_F(GameSpriteTest, FinishedListenerHearsNothingAndIsDropped) {
    auto sprite = Logging("box");
    auto listener = std::make_shared<LoggingListener>("ear", events);
    sprite->AddListener(listener);
    sprite->Update(false);
    listener->SetFinished(true);
    sprite->SendEvent(VSprite::kEventPress, TPoint(), Identity(), 0);
    EXPECT_EQ(events, EventLog{"box press"});
    sprite->Update(false);
    listener->SetFinished(false);
    sprite->SendEvent(VSprite::kEventPress, TPoint(), Identity(), 0);
    EXPECT_EQ(events, (EventLog{"box press", "box press"}));
}

// Drops whatever it holds when it hears a click.
class DroppingListener : public VSpriteListener {
public:
    void OnClick(const std::shared_ptr<VSprite>&) override {
        sprite.reset();
        sibling.reset();
    }
    std::shared_ptr<VSprite> sprite;
    std::shared_ptr<VSpriteListener> sibling;
};

TEST_F(GameSpriteTest, ListenerDroppingTheLastOwnerOfTheSpriteOrASiblingMidDispatch) {
    auto sprite = Logging("box");
    sprite->SetClickable(true);
    std::weak_ptr<VSprite> watch = sprite;
    auto dropper = std::make_shared<DroppingListener>();
    auto sibling = std::make_shared<LoggingListener>("sibling", events);
    sprite->AddListener(dropper);
    sprite->AddListener(sibling);
    sprite->Update(false);
    sprite->RemoveListener(sibling);  // the sprite's pending set now holds it too
    dropper->sibling = std::move(sibling);
    dropper->sprite = sprite;
    sprite.reset();

    Release(dropper->sprite);
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(events.front(), "box release");
}

// Takes itself out of its owner during its update.
class LeavingSprite : public VSprite {
public:
    static std::shared_ptr<LeavingSprite> Create() {
        auto sprite = std::make_shared<LeavingSprite>();
        Adopt(sprite);
        return sprite;
    }
    LeavingSprite() : VSprite("leaver", 0) {}
    void Update(bool paused) override {
        if (std::shared_ptr<VSprite> owner = GetOwner()) owner->RemoveChild(GetShared());
        VSprite::Update(paused);
        ++updates;
    }
    int updates = 0;
};

TEST_F(GameSpriteTest, ChildLeavingItsOwnerDuringTheUpdateWalk) {
    auto parent = Logging("parent");
    auto leaver = LeavingSprite::Create();
    auto next = Logging("next");
    parent->AddChild(leaver);
    parent->AddChild(next);
    std::weak_ptr<LeavingSprite> watch = leaver;
    leaver.reset();
    parent->Update(false);
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(parent->GetChildList().size(), 1u);
}

TEST_F(GameSpriteTest, CyclesAreRefused) {
    auto root = VSprite::Create("root", 0);
    auto middle = VSprite::Create("middle", 0);
    auto leaf = VSprite::Create("leaf", 0);
    root->AddChild(middle);
    middle->AddChild(leaf);
    for (const auto& candidate : {leaf, middle, root}) leaf->AddChild(candidate);
    middle->AddChild(middle);
    EXPECT_TRUE(leaf->GetChildList().empty());
    EXPECT_EQ(middle->GetChildList().size(), 1u);
    EXPECT_EQ(leaf->GetRoot(), root);
    EXPECT_TRUE(log.Contains("cannot hold itself"));
    root->Update(false);  // finishes
}

TEST_F(GameSpriteTest, SharedSelfNeverMakesASecondOwner) {
    auto created = VSprite::Create("a", 0);
    EXPECT_EQ(created->GetShared(), created);
    auto plain = std::make_shared<VSprite>("b", 0);
    EXPECT_EQ(plain->GetShared(), plain);
    EXPECT_EQ(plain.use_count(), 1);
    VSprite unowned("c", 0);
    EXPECT_EQ(unowned.GetShared(), nullptr);
    EXPECT_TRUE(log.Contains("has no shared owner"));
}

TEST_F(GameSpriteTest, TransformMapsPointsAsComputedByHand) {
    struct Case {
        const char* what;
        TVec2 position, scale, pivot;
        float angle;
        TVec2 point, expected;
    };
    const float kQuarter = static_cast<float>(M_PI / 2);
    const Case cases[] = {
        {"identity", {0, 0}, {1, 1}, {0, 0}, 0, {3, 4}, {3, 4}},
        {"moved and scaled", {10, 20}, {2, 3}, {0, 0}, 0, {1, 1}, {12, 23}},
        // (v + pivot) turned a quarter: (2, 2) -> (-2, 2); scaled by 2; moved.
        {"turned about a point", {10, 0}, {2, 2}, {1, 2}, kQuarter, {1, 0}, {6, 4}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        auto sprite = VSprite::Create("t", 0);
        sprite->SetRotation(test.pivot.x, test.pivot.y, test.angle);
        sprite->SetScale(test.scale.x, test.scale.y);
        sprite->SetPosition(test.position);
        TVec2 drawn = sprite->GetDrawState().matrix.TransformPoint(test.point);
        EXPECT_NEAR(drawn.x, test.expected.x, 1e-5);
        EXPECT_NEAR(drawn.y, test.expected.y, 1e-5);
    }
}

TEST_F(GameSpriteTest, WorldPositionCarriesTheOwnersTransforms) {
    auto root = VSprite::Create("root", 0);
    auto child = VSprite::Create("child", 0);
    root->AddChild(child);
    root->SetPosition(TVec2(100, 50));
    root->SetScale(2, 2);
    child->SetPosition(TVec2(3, 4));
    EXPECT_EQ(child->GetWorldPosition(), TVec2(106, 58));
}

TEST_F(GameSpriteTest, CopiesAreNumberedAndNamedTargetsKeepTheirName) {
    auto box = VSprite::Create("box", 5);
    box->SetSpriteLayer(7);
    box->SetClickable(true);
    box->SetPosition(TVec2(4, 9));
    box->SetAlpha(0.5f);
    auto first = VSprite::Create("", 0);
    auto second = VSprite::Create("", 0);
    auto named = VSprite::Create("crate", 0);
    box->CopyTo(first);
    box->CopyTo(second);
    box->CopyTo(named);
    box->CopyTo(nullptr);
    EXPECT_STREQ(first->GetName().c_str(), "box(copy 01)");
    EXPECT_STREQ(second->GetName().c_str(), "box(copy 02)");
    EXPECT_STREQ(named->GetName().c_str(), "crate");
    EXPECT_EQ(second->GetLayer(), 5);
    EXPECT_EQ(second->GetSpriteLayer(), 7);
    EXPECT_EQ(second->GetPosition(), TVec2(4, 9));
    EXPECT_FLOAT_EQ(second->GetAlpha(), 0.5f);
    EXPECT_FLOAT_EQ(second->GetDrawState().matrix.m[2][1], 9.0f);
}

TEST_F(GameSpriteTest, LayersOrderDrawingAndPicking) {
    struct Case {
        int childLayer;
        bool parentDrawsSelf;
        EventLog drawn;
        const char* picked;
    };
    const Case cases[] = {
        {-1, true, {"child image", "child image", "parent image", "parent image"}, "parent"},
        {0, true, {"parent image", "parent image", "child image", "child image"}, "child"},
        {-1, false, {"child image", "child image"}, "child"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.childLayer);
        events.clear();
        auto parent = Logging("parent");
        auto child = Logging("child", test.childLayer);
        parent->SetTexture(White());
        child->SetTexture(White());
        parent->SetPosition(TVec2(50, 50));
        parent->AddChild(child);
        parent->SetDrawSelf(test.parentDrawsSelf);
        ASSERT_TRUE(Renderer().BeginDraw(false));
        ASSERT_TRUE(Renderer().Begin2d());
        parent->Render(Identity(), -1);
        Renderer().End2d();
        Renderer().EndDraw(false);
        EXPECT_EQ(events, test.drawn);
        std::shared_ptr<VSprite> picked = parent->PickSprite(Identity(), TPoint(50, 50), -1, -1);
        ASSERT_TRUE(picked);
        EXPECT_STREQ(picked->GetName().c_str(), test.picked);
    }
}

TEST_F(GameSpriteTest, HitTestNeedsMouseOrLeafAndReachesChildren) {
    auto parent = VSprite::Create("parent", 0);
    auto child = VSprite::Create("child", 0);
    child->SetTexture(White());
    child->SetPosition(TVec2(100, 0));
    parent->AddChild(child);
    EXPECT_TRUE(parent->HitTest(TPoint(100, 0), Identity(), -1, -1));
    EXPECT_FALSE(parent->HitTest(TPoint(100, 0), Identity(), -1, 0));
    parent->SetMouseEnabled(false);
    EXPECT_FALSE(parent->HitTest(TPoint(100, 0), Identity(), -1, -1));
    parent->SetLeaf(true);
    EXPECT_TRUE(parent->HitTest(TPoint(100, 0), Identity(), -1, -1));
}

TEST_F(GameSpriteTest, AnchorFollowsTheOwnersPointMirroredByItsFlips) {
    auto owner = VSprite::Create("owner", 0);
    owner->SetAnimation(TwoFrames());
    auto child = VSprite::Create("child", 0);
    owner->AddChild(child);
    child->SetPosition(TVec2(7, 7));
    child->SetAnchor("nowhere");
    EXPECT_EQ(child->GetPosition(), TVec2(7, 7));
    child->SetAnchor("hand");
    EXPECT_EQ(child->GetPosition(), TVec2(5, 3));
    owner->SetFlip(true, false);
    owner->Update(false);
    EXPECT_EQ(child->GetPosition(), TVec2(-5, 3));
    owner->SetFlip(true, true);
    child->SetFlip(true, false);  // the child's own flip does not count
    owner->Update(false);
    EXPECT_EQ(child->GetPosition(), TVec2(-5, -3));
}

TEST_F(GameSpriteTest, FrameTimeCountsUpToGapsOfThreeSeconds) {
    auto sprite = VSprite::Create("s", 0);
    EXPECT_EQ(sprite->GetFrameTime(), 0u);  // no clock
    sprite->SetClock(&clock);
    Tick(10);
    sprite->Update(false);
    const struct {
        uint32_t gap;
        uint32_t counted;
    } cases[] = {{16, 16}, {2999, 2999}, {3000, 0}, {5000, 0}};
    for (const auto& test : cases) {
        SCOPED_TRACE(test.gap);
        Tick(test.gap);
        EXPECT_EQ(sprite->GetFrameTime(), test.counted);
        sprite->Update(false);
    }
}

TEST_F(GameSpriteTest, DoAnimPlaysDoAnimForAnEmptyNameAndDoesNotRestartTheRunningOne) {
    auto sprite = Animated("s");
    sprite->DoAnim("", false, false, 0);
    EXPECT_STREQ(sprite->GetPendingAnimation().c_str(), "DoAnim");
    EXPECT_TRUE(sprite->IsPlaying(-1));
    Tick(60);
    EXPECT_EQ(sprite->GetCurrentFrame(), 1);
    sprite->DoAnim("DoAnim", false, false, 0);
    EXPECT_EQ(sprite->GetCurrentFrame(), 1);  // a restart would show frame 0
    sprite->DoAnim("Wave", false, false, 0);
    EXPECT_EQ(sprite->GetCurrentFrame(), 1);  // Wave begins on its frame 2
    Tick(60);
    EXPECT_EQ(sprite->GetCurrentFrame(), 0);
}

TEST_F(GameSpriteTest, StartDelayCountsWholeFrameTimes) {
    auto sprite = Animated("s");
    Frame(sprite);
    sprite->DoAnim("", false, false, 250);
    EXPECT_FALSE(sprite->IsPlaying(-1));
    for (int frame = 1; frame <= 15; ++frame) Frame(sprite);
    EXPECT_FALSE(sprite->IsPlaying(-1));  // 240 ms
    Frame(sprite);
    EXPECT_TRUE(sprite->IsPlaying(-1));  // 256 ms
}

TEST_F(GameSpriteTest, EndOfAnAnimationIsReportedOnceOrRepeated) {
    for (bool repeat : {false, true}) {
        SCOPED_TRACE(repeat);
        events.clear();
        auto sprite = Logging("s");
        auto listener = std::make_shared<LoggingListener>("ear", events);
        sprite->AddListener(listener);
        sprite->SetAnimation(TwoFrames());
        sprite->DoAnim("", repeat, false, 0);
        for (int frame = 0; frame < 20; ++frame) Frame(sprite);  // 320 ms: two and a half runs
        if (repeat) {
            EXPECT_TRUE(events.empty());
            EXPECT_TRUE(sprite->IsPlaying(-1));
            EXPECT_STREQ(sprite->GetPendingAnimation().c_str(), "DoAnim");
        } else {
            EXPECT_EQ(events, EventLog{"s named DoAnim"});
            EXPECT_STREQ(sprite->GetPendingAnimation().c_str(), "");
        }
    }
}

TEST_F(GameSpriteTest, RecursiveDoAnimStartsEveryChildsDoAnim) {
    auto parent = Animated("parent");
    auto child = Animated("child");
    parent->AddChild(child);
    parent->DoAnim("Wave", false, true, 0);
    EXPECT_STREQ(parent->GetPendingAnimation().c_str(), "Wave");
    EXPECT_STREQ(child->GetPendingAnimation().c_str(), "DoAnim");
    EXPECT_TRUE(child->IsPlaying(0));
    parent->StopAnimation(true);
    EXPECT_FALSE(child->IsPlaying(0));
    EXPECT_STREQ(child->GetPendingAnimation().c_str(), "");
}

TEST_F(GameSpriteTest, SetDelayReachesTheScriptAndGetdelay) {
    auto sprite = Animated("s");
    sprite->SetDelay(25, false);
    TScript* script = sprite->GetScript();
    ASSERT_TRUE(script);
    script->DoLuaString("d = getdelay()");
    EXPECT_EQ(Global(*script, "d"), 25);
    sprite->DoAnim("", false, false, 0);
    Tick(25);
    EXPECT_EQ(sprite->GetCurrentFrame(), 1);  // frames change every 25 ms now
}

TEST_F(GameSpriteTest, PlaysoundAnswersFalseWithoutASoundManager) {
    auto sprite = Animated("s");
    TScript* script = sprite->GetScript();
    ASSERT_TRUE(script);
    script->DoLuaString("played = playsound('sounds/click')");
    EXPECT_EQ(Global(*script, "played"), 0);
    EXPECT_TRUE(log.Contains("No Sound Manager"));
}

class CountingEffect : public VSpriteEffect {
public:
    static std::shared_ptr<CountingEffect> Create(bool propagate = false) { return Make<CountingEffect>(propagate); }
    explicit CountingEffect(bool propagate) : VSpriteEffect(propagate) {}
    void OnRemoved(const std::shared_ptr<VSprite>& sprite) override {
        ++removals;
        VSpriteEffect::OnRemoved(sprite);
    }
    int removals = 0;
};

TEST_F(GameSpriteTest, EffectAddedTwiceNeedsTwoRemovals) {
    auto sprite = VSprite::Create("s", 0);
    auto effect = CountingEffect::Create();
    sprite->AddEffect(effect);
    sprite->AddEffect(effect);
    sprite->RemoveEffect(effect);
    EXPECT_TRUE(sprite->HasEffect(effect));
    sprite->RemoveEffect(effect);
    EXPECT_FALSE(sprite->HasEffect(effect));
    EXPECT_TRUE(effect->IsDone());
    sprite->RemoveEffect(effect);  // not attached any more: its count stays
    sprite->Update(false);
    EXPECT_EQ(effect->removals, 2);
    sprite->AddEffect(effect);
    EXPECT_TRUE(sprite->HasEffect(effect));
    EXPECT_FALSE(effect->IsDone());
}

TEST_F(GameSpriteTest, PropagatingEffectsReachLaterChildrenAndLeaveRemovedOnes) {
    auto parent = VSprite::Create("parent", 0);
    auto early = VSprite::Create("early", 0);
    parent->AddChild(early);
    auto effect = CountingEffect::Create(true);
    parent->AddEffect(effect);
    auto late = VSprite::Create("late", 0);
    parent->AddChild(late);
    EXPECT_TRUE(early->HasEffect(effect));
    EXPECT_TRUE(late->HasEffect(effect));
    parent->RemoveChild(late);
    EXPECT_FALSE(late->HasEffect(effect));
    EXPECT_FALSE(late->GetOwner());
}

TEST_F(GameSpriteTest, ManagerGetsRunningEffectsDirtyMarksAndItsClock) {
    auto sprite = VSprite::Create("s", 0);
    auto effect = CountingEffect::Create();
    sprite->AddEffect(effect);
    sprite->SetManager(manager);
    EXPECT_EQ(sprite->GetClock(), &clock);
    EXPECT_TRUE(manager->IsRunning(effect));
    auto child = VSprite::Create("c", 0);
    sprite->AddChild(child);
    EXPECT_TRUE(manager->IsDirty());
    EXPECT_EQ(child->GetManager(), manager);
    EXPECT_EQ(child->GetClock(), &clock);
}

TEST_F(GameSpriteTest, FindChildAndContainer) {
    auto root = VSprite::Create("root", 0);
    auto box = VSprite::Create("box", 0);
    auto lid = VSprite::Create("lid", 0);
    root->AddChild(box);
    box->AddChild(lid);
    EXPECT_EQ(root->FindChild("lid"), lid);
    EXPECT_EQ(root->FindChild("none"), nullptr);
    EXPECT_EQ(lid->GetContainer(), nullptr);
    box->SetContainer(true);
    EXPECT_EQ(box->GetContainer(), root);
    EXPECT_EQ(lid->GetContainer(), root);
}

TEST_F(GameSpriteTest, DepthOrderBySpriteLayerThenHeight) {
    auto high = VSprite::Create("high", 0);
    auto low = VSprite::Create("low", 0);
    high->SetPosition(TVec2(0, 10));
    low->SetPosition(TVec2(0, 90));
    EXPECT_TRUE(VSprite::IsDrawnBefore(*high, *low));
    EXPECT_FALSE(VSprite::IsDrawnBefore(*low, *high));
    high->SetSpriteLayer(1);
    EXPECT_TRUE(VSprite::IsDrawnBefore(*low, *high));
}

TEST_F(GameSpriteTest, PauseMarkHoldsTheTimeThePauseBegan) {
    auto sprite = VSprite::Create("s", 0);
    sprite->SetClock(&clock);
    Tick(40);
    sprite->Update(true);
    EXPECT_EQ(sprite->GetPauseMark(), 40u);
    Tick(40);
    sprite->Update(true);
    EXPECT_EQ(sprite->GetPauseMark(), 40u);
    sprite->Update(false);
    EXPECT_EQ(sprite->GetPauseMark(), 0u);
}

}  // namespace
