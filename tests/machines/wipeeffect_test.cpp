// Wipes: the clip each direction and way gives as the wipe goes on, always
// inside the view rectangle that was in force and restored after the sprite;
// long frames, no duration, an empty view-rectangle stack; and the pixels a
// half-done wipe from below lets through, the sprite's child included.
#include "game/machines/wipeeffect.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/os/timer.h"
#include "tests/graphics/dxgltesting.h"
#include "tests/sprites/spritetesting.h"

namespace {

// 16 ms frames add up exactly to the halves of this.
constexpr uint32_t kDuration = 256;

class WipeEffectTest : public SpriteTest {
protected:
    // A 16 x 16 sprite over (92, 92)-(108, 108).
    std::shared_ptr<VSprite> Square() {
        std::shared_ptr<VSprite> sprite = VSprite::Create("s", 0);
        sprite->SetTexture(White());
        sprite->SetPosition(TVec2(100, 100));
        sprite->SetManager(manager);
        sprite->Update(false);
        return sprite;
    }

    // Attaches the wipe, lets the time pass in 16 ms frames (one longer
    // frame when asked), and draws once.
    void Wipe(const std::shared_ptr<VSprite>& sprite, const std::shared_ptr<VWipeEffect>& wipe, uint32_t time,
              bool oneFrame = false) {
        sprite->AddEffect(wipe);
        Frame(sprite, 16);
        for (uint32_t left = time; left > 0;) {
            uint32_t step = oneFrame ? left : std::min<uint32_t>(16, left);
            Frame(sprite, step);
            left -= step;
        }
        recorder->ClearCalls();
        ASSERT_TRUE(Renderer().BeginDraw(false));
        ASSERT_TRUE(Renderer().Begin2d());
        sprite->Render(Identity(), -1);
        Renderer().End2d();
        Renderer().EndDraw(false);
    }

    // The view rectangles the back end was given, in order.
    std::vector<TRect> ViewRects() {
        std::vector<TRect> rects;
        for (const TRecordingRenderBackEnd::TCall& call : recorder->GetCalls()) {
            if (call.kind == TRecordingRenderBackEnd::kSetViewRect) rects.push_back(call.rect);
        }
        return rects;
    }
};

TEST_F(WipeEffectTest, TheClipFollowsTheEdgeInsideTheSavedRectangle) {
    // The saved rectangle cuts the sprite at x = 104.
    const TRect saved(50, 50, 104, 600);
    struct Case {
        int direction;
        bool reveal;
        uint32_t time;
        TRect clip;
    } cases[] = {
        {0, true, 0, {50, 50, 104, 92}},      {0, true, 128, {50, 50, 104, 100}},
        {0, true, 256, {50, 50, 104, 108}},   {0, false, 0, {50, 92, 104, 600}},
        {0, false, 128, {50, 100, 104, 600}}, {0, false, 256, {50, 108, 104, 600}},
        {1, true, 0, {50, 108, 104, 600}},    {1, true, 128, {50, 100, 104, 600}},
        {1, true, 256, {50, 92, 104, 600}},   {1, false, 0, {50, 50, 104, 108}},
        {1, false, 128, {50, 50, 104, 100}},  {1, false, 256, {50, 50, 104, 92}},
        {2, true, 0, {50, 50, 92, 600}},      {2, true, 128, {50, 50, 100, 600}},
        {2, true, 256, {50, 50, 104, 600}},   {2, false, 0, {92, 50, 104, 600}},
        {2, false, 128, {100, 50, 104, 600}}, {2, false, 256, {108, 50, 104, 600}},
        {3, true, 0, {108, 50, 104, 600}},    {3, true, 128, {100, 50, 104, 600}},
        {3, true, 256, {92, 50, 104, 600}},   {3, false, 0, {50, 50, 104, 600}},
        {3, false, 128, {50, 50, 100, 600}},  {3, false, 256, {50, 50, 92, 600}},
    };
    Renderer().SetViewRect(TRect(0, 0, 800, 600));
    Renderer().PushViewRect(saved);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "direction " << c.direction << (c.reveal ? " reveal " : " hide ")
                                        << c.time << " ms");
        std::shared_ptr<VSprite> sprite = Square();
        auto wipe = VWipeEffect::Create(c.direction, c.reveal, kDuration);
        Wipe(sprite, wipe, c.time);
        EXPECT_EQ(ViewRects(), (std::vector<TRect>{c.clip, saved}));
        EXPECT_EQ(Renderer().GetViewRect(), saved);
        bool finished = c.time == kDuration;
        EXPECT_EQ(wipe->IsDone(), finished);
        EXPECT_EQ(sprite->IsVisible(), c.reveal || !finished);
    }
    Renderer().PopViewRect();
    EXPECT_EQ(Renderer().GetViewRect(), TRect(0, 0, 800, 600));
}

TEST_F(WipeEffectTest, ALongFrameOrNoDurationCompletesTheWipeAtOnce) {
    Renderer().SetViewRect(TRect(0, 0, 800, 600));
    struct Case {
        const char* name;
        uint32_t duration;
        uint32_t frame;
    } cases[] = {{"a frame four times the duration", kDuration, 4 * kDuration}, {"no duration", 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (bool reveal : {true, false}) {
            std::shared_ptr<VSprite> sprite = Square();
            auto wipe = VWipeEffect::Create(VWipeEffect::kFromBottom, reveal, c.duration);
            Wipe(sprite, wipe, c.frame, true);
            EXPECT_FLOAT_EQ(wipe->GetProgress(), 1.0f);
            TRect whole = reveal ? TRect(0, 92, 800, 600) : TRect(0, 0, 800, 92);
            EXPECT_EQ(ViewRects(), (std::vector<TRect>{whole, TRect(0, 0, 800, 600)}));
            EXPECT_TRUE(wipe->IsDone());
            EXPECT_EQ(sprite->IsVisible(), reveal);
            sprite->Update(false);
            EXPECT_FALSE(sprite->HasEffect(wipe));
        }
    }
}

TEST_F(WipeEffectTest, OnAnEmptyStackTheScreenIsSavedAndTheStackLeftEmpty) {
    ASSERT_FALSE(Renderer().HasViewRect());
    std::shared_ptr<VSprite> sprite = Square();
    Wipe(sprite, VWipeEffect::Create(VWipeEffect::kFromTop, true, kDuration), 128);
    EXPECT_EQ(ViewRects(), (std::vector<TRect>{TRect(0, 0, 800, 100), TRect(0, 0, 800, 600)}));
    EXPECT_FALSE(Renderer().HasViewRect());
    EXPECT_EQ(recorder->GetViewRect(), TRect(0, 0, 800, 600));
}

class WipeEffectPixelTest : public DxGlTest {
protected:
    void SetUp() override {
        DxGlTest::SetUp();
        if (HasFatalFailure()) return;
        os::SetCurrentTimer(&timer);
    }
    void TearDown() override {
        os::SetCurrentTimer(nullptr);
        DxGlTest::TearDown();
    }

    std::shared_ptr<TTexture> Filled(const TColor4f& color) {
        std::shared_ptr<TTexture> texture = TTexture::Create(16, 16, true);
        EXPECT_TRUE(mRenderer->FillRect(TRect(0, 0, 16, 16), color, texture));
        return texture;
    }

    os::FakeTimer timer{1000};
};

TEST_F(WipeEffectPixelTest, HalfARevealFromBelowShowsTheLowerHalfOfTheSpriteAndItsChild) {
    constexpr uint32_t kBlack = 0xFF000000, kRed = 0xFFFF0000, kGreen = 0xFF00FF00;
    // The red square over (92, 92)-(108, 108), its green child to the right.
    std::shared_ptr<VSprite> sprite = VSprite::Create("s", 0);
    sprite->SetTexture(Filled(TColor4f(1, 0, 0, 1)));
    sprite->SetPosition(TVec2(100, 100));
    std::shared_ptr<VSprite> child = VSprite::Create("c", 1);
    child->SetTexture(Filled(TColor4f(0, 1, 0, 1)));
    child->SetPosition(TVec2(16, 0));
    sprite->AddChild(child);
    auto wipe = VWipeEffect::Create(VWipeEffect::kFromBottom, true, kDuration);

    auto draw = [&] {
        ASSERT_TRUE(mRenderer->BeginDraw(true));
        mRenderer->FillRect(TRect(0, 0, 800, 600), TColor4f(0, 0, 0, 1));
        ASSERT_TRUE(mRenderer->Begin2d());
        sprite->Render(TDrawState(TVec2(0, 0), 1, 1, 0), -1);
        mRenderer->End2d();
        mRenderer->EndDraw(true);
    };
    sprite->AddEffect(wipe);
    // The effect's first step starts its time.
    timer.Advance(16);
    wipe->Update(false);
    draw();
    for (auto [x, y] : {std::pair{95, 95}, {95, 104}, {115, 95}, {115, 104}}) {
        EXPECT_EQ(Pixel(x, y), kBlack) << "nothing yet at " << x << ", " << y;
    }

    timer.Advance(kDuration / 2);
    wipe->Update(false);
    draw();
    EXPECT_EQ(Pixel(95, 99), kBlack);
    EXPECT_EQ(Pixel(95, 100), kRed);
    EXPECT_EQ(Pixel(95, 107), kRed);
    EXPECT_EQ(Pixel(115, 99), kBlack);
    EXPECT_EQ(Pixel(115, 100), kGreen);
    EXPECT_EQ(mRenderer->GetViewRect(), TRect(0, 0, 800, 600));
}

}  // namespace
