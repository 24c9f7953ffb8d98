#include "game/sprites/spritemanager.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "game/shell/gameassetmanager.h"
#include "game/sprites/spriteeffect.h"
#include "tests/sprites/spritetesting.h"

namespace {

// Writes each mouse event with the point it came with. The recording back
// end draws no pixels to test alpha against, so hits go by the bounds.
class MouseSprite : public VSprite {
public:
    static std::shared_ptr<MouseSprite> Create(const std::string& name, EventLog& log, int layer = 0) {
        auto sprite = std::make_shared<MouseSprite>(name, log, layer);
        Adopt(sprite);
        return sprite;
    }
    MouseSprite(const std::string& name, EventLog& log, int layer) : VSprite(name.c_str(), layer), mLog(log) {}

    bool HitTest(const TPoint& point, const TDrawState& state, int, int depth) override {
        return VSprite::HitTest(point, state, -1, depth);
    }
    std::shared_ptr<VSprite> PickSprite(const TDrawState& state, const TPoint& point, int, int depth) override {
        return VSprite::PickSprite(state, point, -1, depth);
    }
    void OnMouseEnter() override { Write("enter"); }
    void OnMouseLeave() override { Write("leave"); }
    void OnSpriteEvent1(const TPoint& point) override { Write("move", point); }
    void OnDrag(const TPoint& point) override { Write("drag", point); }
    void OnPress() override { Write("press"); }
    void OnRelease() override { Write("release"); }
    void OnImageBracket() override { Write("image"); }
    void OnHoverTime(uint32_t ms) override { hoverTime = ms; }

    uint32_t hoverTime = 0;

private:
    void Write(const std::string& what) { mLog.push_back(std::string(GetName().c_str()) + " " + what); }
    void Write(const std::string& what, const TPoint& point) {
        Write(what + " " + std::to_string(point.x) + "," + std::to_string(point.y));
    }
    EventLog& mLog;
};

// Runs a step when the manager updates; may remove sprites from it.
class StepSprite : public VSprite {
public:
    static std::shared_ptr<StepSprite> Create(const char* name) {
        auto sprite = std::make_shared<StepSprite>(name);
        Adopt(sprite);
        return sprite;
    }
    explicit StepSprite(const char* name) : VSprite(name, 0) {}

    void Update(bool paused) override {
        ++updates;
        if (step) step();
        VSprite::Update(paused);
    }

    std::function<void()> step;
    int updates = 0;
};

class PlainEffect : public VSpriteEffect {
public:
    static std::shared_ptr<PlainEffect> Create() { return Make<PlainEffect>(false); }
    explicit PlainEffect(bool propagate) : VSpriteEffect(propagate) {}
};

class SpriteManagerTest : public SpriteTest {
protected:
    void TearDown() override {
        ReleaseManagerSingleton<VAssetManager>();
        SpriteTest::TearDown();
    }

    // A white 16 x 16 sprite centred at the point, listed in the manager.
    std::shared_ptr<MouseSprite> Square(const std::string& name, float x, float y, int layer = 0) {
        auto sprite = MouseSprite::Create(name, events, 0);
        sprite->SetSpriteLayer(layer);
        sprite->SetTexture(White());
        sprite->SetPosition(TVec2(x, y));
        manager->AddSprite(sprite);
        return sprite;
    }
    // A frame of the manager on the recording renderer.
    void DrawFrame() {
        ASSERT_TRUE(Renderer().BeginDraw(false));
        manager->Draw();
        Renderer().EndDraw(false);
    }

    EventLog events;
};

TEST_F(SpriteManagerTest, HoverChangesOnlyInTheUpdateAsLeaveEnterMove) {
    Square("a", 20, 20);
    Square("b", 60, 20);
    manager->OnMouseMove(TPoint(20, 20));
    EXPECT_TRUE(events.empty());
    manager->Update();
    EXPECT_EQ(events, (EventLog{"a enter", "a move 0,0"}));
    events.clear();

    EXPECT_FALSE(manager->OnMouseMove(TPoint(62, 23)) && events.size() > 0);
    EXPECT_TRUE(events.empty());
    manager->Update();
    EXPECT_EQ(events, (EventLog{"a leave", "b enter", "b move 2,3"}));
    events.clear();

    // The same sprite again only moves; an empty spot leaves.
    manager->OnMouseMove(TPoint(61, 20));
    manager->Update();
    manager->OnMouseMove(TPoint(200, 200));
    manager->Update();
    EXPECT_EQ(events, (EventLog{"b move 1,0", "b leave"}));
    EXPECT_FALSE(manager->GetHovered());
}

TEST_F(SpriteManagerTest, APressedSpriteOnlyDragsAndKeepsTheHover) {
    auto a = Square("a", 20, 20);
    Square("b", 60, 20);
    manager->OnMouseMove(TPoint(20, 20));
    manager->Update();
    ASSERT_TRUE(manager->OnMouseDown(TPoint(20, 20)));
    events.clear();

    EXPECT_TRUE(manager->OnMouseMove(TPoint(60, 21)));
    EXPECT_FALSE(a->IsHovered());  // the inside flag: outside now
    manager->Update();
    EXPECT_EQ(events, (EventLog{"a drag 40,1"}));
    EXPECT_EQ(manager->GetHovered(), a);
    EXPECT_TRUE(manager->OnMouseMove(TPoint(21, 20)));
    EXPECT_TRUE(a->IsHovered());

    events.clear();
    EXPECT_TRUE(manager->OnMouseUp(TPoint(21, 20)));
    EXPECT_EQ(events, (EventLog{"a release"}));
    EXPECT_FALSE(manager->GetPressed());
    EXPECT_FALSE(manager->OnMouseUp(TPoint(21, 20)));
}

// A press takes what lies under the pointer at that instant, also when the
// move came with it and no update has run since.
TEST_F(SpriteManagerTest, APressFindsTheSpriteUnderThePointerAtOnce) {
    auto a = Square("a", 20, 20);
    TVec2 at = a->GetPosition();
    TPoint point(static_cast<int>(at.x), static_cast<int>(at.y));
    manager->OnMouseMove(point);
    EXPECT_TRUE(manager->OnMouseDown(point));
    EXPECT_EQ(manager->GetHovered(), a);
    manager->OnMouseUp(point);
    EXPECT_FALSE(manager->OnMouseDown(TPoint(500, 500)));
}

TEST_F(SpriteManagerTest, RestrictedInputTakesOnlyAllowedSprites) {
    auto a = Square("a", 20, 20);
    auto b = Square("b", 60, 20);
    struct Case {
        bool restricted;
        bool allowB;
        bool hoversA;
        bool hoversB;
    };
    const Case cases[] = {
        {false, false, true, true},
        {true, false, false, false},
        {true, true, false, true},
        {false, true, false, true},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(std::to_string(test.restricted) + std::to_string(test.allowB));
        manager->ClearAllowedInput();
        manager->SetInputRestricted(test.restricted);
        if (test.allowB) manager->AllowInput(b);
        for (const auto& [sprite, expected] : {std::pair{a, test.hoversA}, std::pair{b, test.hoversB}}) {
            TVec2 at = sprite->GetPosition();
            TPoint point(static_cast<int>(at.x), static_cast<int>(at.y));
            manager->OnMouseMove(point);
            manager->Update();
            EXPECT_EQ(manager->GetHovered() == sprite, expected);
            EXPECT_EQ(manager->OnMouseDown(point), expected);
            manager->OnMouseUp(point);
        }
    }
}

TEST_F(SpriteManagerTest, TheLowerSpriteOfALayerDrawsLaterAndIsHitFirst) {
    auto low = Square("low", 20, 28);
    auto high = Square("high", 20, 20);
    auto front = Square("front", 100, 0, 1);
    auto back = Square("back", 100, 5);
    DrawFrame();
    EXPECT_EQ(events, (EventLog{"back image", "back image", "high image", "high image", "low image", "low image",
                                "front image", "front image"}));
    manager->OnMouseMove(TPoint(20, 24));
    manager->Update();
    EXPECT_EQ(manager->GetHovered(), low);
}

TEST_F(SpriteManagerTest, ASpriteAddedTwiceIsListedTwiceAndRemovedOnce) {
    auto a = Square("a", 20, 20);
    manager->AddSprite(a);
    manager->AddSprite(nullptr);
    EXPECT_EQ(manager->GetSprites().size(), 2u);
    manager->RemoveSprite(a);
    EXPECT_TRUE(manager->GetSprites().empty());
    EXPECT_FALSE(a->GetManager());
    EXPECT_TRUE(manager->IsDirty());
}

TEST_F(SpriteManagerTest, CtrlTAndCtrlSToggleTheOverlay) {
    auto a = Square("a", 20, 20);
    manager->OnMouseMove(TPoint(7, 9));
    EXPECT_FALSE(manager->OnKeyDown('t', 0));
    EXPECT_EQ(manager->GetTraceText(), TString());
    EXPECT_FALSE(manager->OnKeyDown('t', VSpriteManager::kCtrlFlag));
    TString report = manager->GetTraceText();
    EXPECT_NE(report.Find("SystemRam"), -1) << report.c_str();
    EXPECT_FALSE(manager->OnKeyDown('S', VSpriteManager::kCtrlFlag));
    EXPECT_EQ(manager->GetTraceText(), TString("x: 7\ny: 9\n"));
    recorder->ClearCalls();
    DrawFrame();
    bool filled = false;
    for (const auto& call : recorder->GetCalls()) filled = filled || call.kind == TRecordingRenderBackEnd::kFillRect;
    EXPECT_TRUE(filled);
    manager->OnKeyDown('s', VSpriteManager::kCtrlFlag);
    EXPECT_EQ(manager->GetTraceText(), report);
    manager->ResetInput();
    EXPECT_EQ(manager->GetTraceText(), TString());
}

TEST_F(SpriteManagerTest, SpritesRemovingThemselvesOrOthersWhileUpdating) {
    auto first = StepSprite::Create("first");
    auto second = StepSprite::Create("second");
    auto third = StepSprite::Create("third");
    for (const auto& sprite : {first, second, third}) manager->AddSprite(sprite);
    StepSprite* removesItself = first.get();
    first->step = [&] { manager->RemoveSprite(removesItself->GetShared()); };
    second->step = [&] { manager->RemoveSprite(third); };
    std::weak_ptr<StepSprite> gone = first;
    first.reset();
    manager->Update();
    EXPECT_TRUE(gone.expired());
    EXPECT_EQ(second->updates, 1);
    // The walk is a copy: the sprite removed during it was still updated.
    EXPECT_EQ(third->updates, 1);
    ASSERT_EQ(manager->GetSprites().size(), 1u);
    manager->Update();
    EXPECT_EQ(third->updates, 1);
}

// Takes another sprite out of the manager while it is drawn.
class DrawStepSprite : public MouseSprite {
public:
    static std::shared_ptr<DrawStepSprite> Create(EventLog& log) {
        auto sprite = std::make_shared<DrawStepSprite>("remover", log, 0);
        Adopt(sprite);
        return sprite;
    }
    using MouseSprite::MouseSprite;
    void OnImageBracket() override {
        MouseSprite::OnImageBracket();
        if (std::shared_ptr<VSprite> other = victim.lock()) GetManager()->RemoveSprite(other);
    }
    std::weak_ptr<VSprite> victim;
};

TEST_F(SpriteManagerTest, ASpriteRemovingAnotherWhileDrawn) {
    auto remover = DrawStepSprite::Create(events);
    remover->SetTexture(White());
    manager->AddSprite(remover);
    auto victim = Square("victim", 20, 40);
    remover->victim = victim;
    victim.reset();
    DrawFrame();
    // The walk is a copy: the removed sprite is drawn once more this frame.
    EXPECT_EQ(events, (EventLog{"remover image", "remover image", "victim image", "victim image"}));
    ASSERT_EQ(manager->GetSprites().size(), 1u);
    events.clear();
    DrawFrame();
    EXPECT_EQ(events, (EventLog{"remover image", "remover image"}));
}

TEST_F(SpriteManagerTest, HoverTimeGrowsWithTheClock) {
    auto a = Square("a", 20, 20);
    // At clock time 0 an update counts as none yet.
    timer.Advance(5);
    manager->OnMouseMove(TPoint(20, 20));
    manager->Update();
    timer.Advance(40);
    manager->Update();
    timer.Advance(10);
    manager->Update();
    EXPECT_EQ(a->hoverTime, 50u);
    EXPECT_EQ(manager->GetElapsed(), 0u);
    timer.Advance(5);
    EXPECT_EQ(manager->GetElapsed(), 5u);
}

TEST_F(SpriteManagerTest, ManagerEffectsReachEverySpriteOnce) {
    auto a = Square("a", 20, 20);
    std::shared_ptr<VSpriteEffect> effect = PlainEffect::Create();
    manager->AddEffect(effect);
    manager->AddEffect(effect);
    auto b = Square("b", 60, 20);
    EXPECT_TRUE(a->HasEffect(effect));
    EXPECT_TRUE(b->HasEffect(effect));
    a->RemoveEffect(effect);
    EXPECT_FALSE(a->HasEffect(effect));
    effect->Deactivate();
    manager->UpdateEffects();
    auto c = Square("c", 90, 20);
    EXPECT_FALSE(c->HasEffect(effect));
}

TEST_F(SpriteManagerTest, ClockChangesReachTheSpritesAndFindSearchesChildren) {
    auto a = Square("a", 20, 20);
    auto child = VSprite::Create("child", 0);
    a->AddChild(child);
    TClock other;
    manager->SetClock(&other);
    EXPECT_EQ(child->GetClock(), &other);
    manager->SetClock(nullptr);
    EXPECT_EQ(child->GetClock(), &other);
    EXPECT_EQ(manager->FindSprite("child"), child);
    EXPECT_FALSE(manager->FindSprite("none"));
    manager->RemoveAllSprites();
    EXPECT_FALSE(a->GetManager());
    EXPECT_FALSE(manager->FindSprite("a"));
}

// Each change from a scene at rest, and whether the next update finds the
// sprites to need drawing; a frame then satisfies them.
TEST_F(SpriteManagerTest, TheSpritesNeedDrawingOnlyAfterAChange) {
    struct Case {
        const char* what;
        std::function<void(MouseSprite& a, MouseSprite& b)> change;
        bool needsDrawing;
    };
    const Case cases[] = {
        {"nothing", [](MouseSprite&, MouseSprite&) {}, false},
        {"the pointer over no sprite", [&](MouseSprite&, MouseSprite&) { manager->OnMouseMove(TPoint(200, 200)); },
         false},
        {"a key that is no overlay key", [&](MouseSprite&, MouseSprite&) { manager->OnKeyDown('x', 2); }, false},
        {"the pointer onto a sprite", [&](MouseSprite&, MouseSprite&) { manager->OnMouseMove(TPoint(20, 20)); },
         true},
        {"an effect on a child", [](MouseSprite& a, MouseSprite&) { a.GetChildList()[0]->AddEffect(PlainEffect::Create()); },
         true},
        {"an animation waiting to start", [&](MouseSprite& a, MouseSprite&) {
             a.SetAnimation(TwoFrames());
             a.DoAnim("", false, false, 250);
         }, true},
        {"a sprite added", [&](MouseSprite&, MouseSprite&) { Square("c", 90, 20); }, true},
        {"a sprite removed", [&](MouseSprite&, MouseSprite& b) { manager->RemoveSprite(b.GetShared()); }, true},
        {"the overlay", [&](MouseSprite&, MouseSprite&) { manager->OnKeyDown('T', VSpriteManager::kCtrlFlag); }, true},
    };
    for (const Case& c : cases) {
        manager = VSpriteManager::Create();
        manager->SetClock(&clock);
        auto a = Square("a", 20, 20);
        auto b = Square("b", 60, 20);
        a->AddChild(VSprite::Create("child", 0));
        EXPECT_TRUE(manager->NeedsDrawing()) << "a new scene";
        manager->Update();
        DrawFrame();
        manager->Update();
        ASSERT_FALSE(manager->NeedsDrawing()) << c.what;

        c.change(*a, *b);
        timer.Advance(16);
        manager->Update();
        EXPECT_EQ(manager->NeedsDrawing(), c.needsDrawing) << c.what;
        DrawFrame();
        EXPECT_FALSE(manager->NeedsDrawing()) << c.what;
    }
}

TEST_F(SpriteManagerTest, WhatComesToRestIsDrawnOnceMore) {
    auto a = Square("a", 20, 20);
    std::shared_ptr<VSpriteEffect> effect = PlainEffect::Create();
    a->AddEffect(effect);
    for (int frame = 0; frame < 3; ++frame) {
        manager->Update();
        EXPECT_TRUE(manager->NeedsDrawing()) << frame;
        DrawFrame();
    }
    // The update that drops the finished effect may have changed the look.
    effect->Finish();
    manager->Update();
    EXPECT_FALSE(a->HasEffect(effect));
    EXPECT_TRUE(manager->NeedsDrawing());
    DrawFrame();
    manager->Update();
    EXPECT_FALSE(manager->NeedsDrawing());

    // A hovered sprite may change with its hover time; leaving it is drawn.
    manager->OnMouseMove(TPoint(20, 20));
    for (int frame = 0; frame < 3; ++frame) {
        manager->Update();
        EXPECT_TRUE(manager->NeedsDrawing()) << frame;
        DrawFrame();
    }
    manager->OnMouseMove(TPoint(200, 200));
    manager->Update();
    EXPECT_TRUE(manager->NeedsDrawing());
    DrawFrame();
    manager->Update();
    EXPECT_FALSE(manager->NeedsDrawing());
}

}  // namespace
