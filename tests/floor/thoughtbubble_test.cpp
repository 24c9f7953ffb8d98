#include "game/floor/thoughtbubble.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "game/shell/valuemanager.h"
#include "game/sprites/tinteffect.h"
#include "tests/objects/objecttesting.h"

namespace {

class ThoughtBubbleTest : public ObjectTest {
protected:
    void SetUp() override {
        ObjectTest::SetUp();
        // A one-frame cloud with the item points, and a look per mood.
        WriteAsset("anims/cloud.xml",
                   "<sequence name=\"cloud\"><img name=\"sheet.png\" w=\"32\" h=\"16\"/><framelist>"
                   "<frame x=\"0\" w=\"16\" h=\"16\"><anchor name=\"menu\" x=\"3\" y=\"4\"/>"
                   "<anchor name=\"chocolate\" x=\"6\" y=\"2\"/></frame></framelist></sequence>");
        Define(R"(
            local function cloud(state) return { state = state, file = "anims/cloud.xml" } end
            bubble = { assets = { bubble_single = { cloud("default"), cloud("happy"), cloud("content"),
                                                    cloud("neutral"), cloud("annoyed"), cloud("angry") } } }
        )");
        SetValue("transition_time", 200);
        SetValue("thought_offset", 5);
        SetValue("thought_tint", 0.4f);
        bubble = VThoughtBubble::Create();
        bubble->Load(Describe("bubble"));
        bubble->SetManager(manager);
        bubble->Update(false);
    }
    void TearDown() override {
        bubble.reset();
        ReleaseManagerSingleton<VValueManager>();
        ObjectTest::TearDown();
    }

    static void SetValue(const char* name, float value) { VValueManager::Get()->SetValue(name, value, false); }

    std::shared_ptr<VObject> Item(const char* name) {
        auto item = VObject::Create(name, "item", 0);
        item->SetTexture(White());
        return item;
    }
    void ShowItems(int count, bool available = true) {
        for (int i = 0; i < count; ++i) bubble->Show(Item("item"), "chocolate", available);
    }

    // Frames of 16 ms (the last one shorter) until the time has passed.
    void Run(uint32_t milliseconds) {
        while (milliseconds > 0) {
            uint32_t step = std::min<uint32_t>(16, milliseconds);
            Frame(bubble, step);
            milliseconds -= step;
        }
    }

    TVec2 CloudAt(int index) { return bubble->GetCloud(index)->GetPosition(); }

    std::shared_ptr<VThoughtBubble> bubble;
};

TEST_F(ThoughtBubbleTest, CloudsFadeInOneAfterTheOther) {
    ShowItems(3);
    Run(16);  // the effects' first step starts their time
    Run(100);
    DrawScene(bubble);
    // Over 200, 300 and 400 ms.
    EXPECT_NEAR(bubble->GetCloud(0)->GetAlpha(), 100.0f / 200, 1e-4);
    EXPECT_NEAR(bubble->GetCloud(1)->GetAlpha(), 100.0f / 300, 1e-4);
    EXPECT_NEAR(bubble->GetCloud(2)->GetAlpha(), 100.0f / 400, 1e-4);
}

TEST_F(ThoughtBubbleTest, CloudsStackBehindTheFirstAndHoldTheirItemAtTheSlot) {
    auto menu = Item("menu");
    bubble->Show(menu, "menu", true);
    ShowItems(2);
    EXPECT_EQ(bubble->GetItemCount(), 3);
    EXPECT_EQ(bubble->GetShownCount(), 3);
    const float expected[] = {0, -5, -10};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_FLOAT_EQ(CloudAt(i).x, expected[i]);
        EXPECT_FLOAT_EQ(CloudAt(i).y, expected[i]);
        EXPECT_EQ(bubble->GetCloud(i)->GetLayer(), -i);
        EXPECT_EQ(bubble->GetCloud(i)->GetOwner(), bubble);
    }
    EXPECT_EQ(menu->GetOwner(), bubble->GetCloud(0));
    EXPECT_FLOAT_EQ(menu->GetPosition().x, 3);
    EXPECT_FLOAT_EQ(menu->GetPosition().y, 4);
    EXPECT_FLOAT_EQ(bubble->GetCloud(1)->GetChildList().front()->GetPosition().x, 6);
}

TEST_F(ThoughtBubbleTest, ServedCloudFadesOutAndTheOthersSlideForwardAtMostTheStep) {
    ShowItems(3);
    Run(16);
    EXPECT_TRUE(bubble->Advance());
    TVec2 before = CloudAt(2);
    Frame(bubble, 16);
    // 5 x 16 / 200 per axis and frame.
    EXPECT_NEAR(CloudAt(2).x - before.x, 0.4f, 1e-5);
    EXPECT_NEAR(CloudAt(2).y - before.y, 0.4f, 1e-5);
    Run(400);
    EXPECT_EQ(bubble->GetCloud(0), nullptr);
    EXPECT_EQ(bubble->GetShownCount(), 2);
    EXPECT_EQ(bubble->GetChildList().size(), 2u);
    EXPECT_FLOAT_EQ(CloudAt(1).x, 0);
    EXPECT_FLOAT_EQ(CloudAt(1).y, 0);
    EXPECT_FLOAT_EQ(CloudAt(2).x, -5);
    EXPECT_FLOAT_EQ(CloudAt(2).y, -5);
}

TEST_F(ThoughtBubbleTest, WaitingCloudsTintTowardsBlackOrRedAndTheCurrentOneClears) {
    bubble->Show(Item("a"), "chocolate", true);
    bubble->Show(Item("b"), "chocolate", true);
    bubble->Show(Item("c"), "chocolate", false);
    EXPECT_EQ(bubble->GetTint(0), nullptr);
    EXPECT_FALSE(bubble->IsUnavailable(1));
    EXPECT_TRUE(bubble->IsUnavailable(2));
    EXPECT_EQ(bubble->GetCloud(1)->GetDrawState().color, TColor4f(1, 1, 1, 1));
    EXPECT_EQ(bubble->GetCloud(2)->GetDrawState().color, TColor4f(1.0f, 0.75f, 0.75f, 1.0f));

    // The level of the tint shows in the drawn colour: towards black for an
    // available item, towards red for an unavailable one.
    Run(16);
    Run(400);
    ASSERT_NE(bubble->GetTint(2), nullptr);
    EXPECT_NEAR(bubble->GetTint(1)->GetLevel(), 0.4f, 1e-5);
    EXPECT_NEAR(bubble->GetTint(2)->GetLevel(), 0.4f * std::sqrt(2.0f), 1e-5);
    std::vector<TColor4f> drawn;
    auto tint1 = bubble->GetTint(1);
    tint1->BeginImage(bubble->GetCloud(1), Identity(), 0);
    drawn.push_back(bubble->GetCloud(1)->GetDrawState().color);
    tint1->EndImage(bubble->GetCloud(1), Identity(), 0);
    auto tint2 = bubble->GetTint(2);
    tint2->BeginImage(bubble->GetCloud(2), Identity(), 0);
    drawn.push_back(bubble->GetCloud(2)->GetDrawState().color);
    tint2->EndImage(bubble->GetCloud(2), Identity(), 0);
    EXPECT_NEAR(drawn[0].r, 0.6f, 1e-5);
    EXPECT_NEAR(drawn[0].g, 0.6f, 1e-5);
    EXPECT_NEAR(drawn[1].r, 1.0f, 1e-5);
    EXPECT_LT(drawn[1].g, 0.75f * 0.5f);
    // The red stays after the tint.
    EXPECT_EQ(bubble->GetCloud(2)->GetDrawState().color, TColor4f(1.0f, 0.75f, 0.75f, 1.0f));

    bubble->Advance();
    Frame(bubble, 16);
    EXPECT_EQ(bubble->GetTint(1), nullptr);
    EXPECT_TRUE(tint1->IsDone());
    EXPECT_NEAR(tint2->GetLevel(), 0.4f, 0.4f * std::sqrt(2.0f) - 0.4f);
    Run(400);
    EXPECT_NEAR(tint2->GetLevel(), 0.4f, 1e-5);
}

TEST_F(ThoughtBubbleTest, MoodsShowAsCloudStates) {
    ShowItems(2);
    struct Case {
        int mood;
        const char* state;
    };
    for (const Case& c : {Case{1, "happy"}, Case{7, "happy"}, Case{0, "happy"}, Case{2, "content"}, Case{3, "neutral"},
                          Case{4, "annoyed"}, Case{5, "angry"}}) {
        SCOPED_TRACE(c.mood);
        bubble->SetMood(c.mood);
        EXPECT_STREQ(bubble->GetCloud(0)->GetCurrentState().c_str(), c.state);
        EXPECT_STREQ(bubble->GetCloud(1)->GetCurrentState().c_str(), c.state);
    }
}

TEST_F(ThoughtBubbleTest, AdvanceAnswersWhetherItemsWait) {
    EXPECT_FALSE(bubble->Advance());
    bubble->Clear();
    ShowItems(2);
    EXPECT_TRUE(bubble->Advance());
    EXPECT_FALSE(bubble->Advance());
    bubble->Clear();
    EXPECT_EQ(bubble->GetItemCount(), 0);
    EXPECT_EQ(bubble->GetShownCount(), 0);
    EXPECT_EQ(bubble->GetServedCount(), 0);
    EXPECT_TRUE(bubble->GetChildList().empty());
    EXPECT_FALSE(bubble->Advance());
}

// A negative offset once slid its clouds away for ever; they now reach the
// places that the offset gives.
TEST_F(ThoughtBubbleTest, ANegativeOffsetStillConverges) {
    SetValue("thought_offset", -5);
    ShowItems(3);
    EXPECT_FLOAT_EQ(CloudAt(2).x, 10);
    bubble->Advance();
    Run(600);
    EXPECT_FLOAT_EQ(CloudAt(1).x, 0);
    EXPECT_FLOAT_EQ(CloudAt(2).x, 5);
    EXPECT_FLOAT_EQ(CloudAt(2).y, 5);
}

// A transition time of 0 once divided by zero in the slide.
TEST_F(ThoughtBubbleTest, NoTransitionTimePutsCloudsOnTheirPlaces) {
    SetValue("transition_time", 0);
    ShowItems(3);
    bubble->Advance();
    Frame(bubble, 16);
    EXPECT_FLOAT_EQ(CloudAt(1).x, 0);
    EXPECT_FLOAT_EQ(CloudAt(1).y, 0);
    EXPECT_FLOAT_EQ(CloudAt(2).x, -5);
    EXPECT_FLOAT_EQ(CloudAt(2).y, -5);
}

TEST_F(ThoughtBubbleTest, WithoutCloudArtItemsAreCountedButNotShown) {
    auto bare = VThoughtBubble::Create();
    auto item = Item("x");
    bare->Show(item, "menu", true);
    EXPECT_EQ(bare->GetItemCount(), 1);
    EXPECT_EQ(bare->GetCloud(0), nullptr);
    EXPECT_EQ(item->GetOwner(), nullptr);
    EXPECT_FALSE(bare->Advance());
    bare->Update(false);
}

}  // namespace
