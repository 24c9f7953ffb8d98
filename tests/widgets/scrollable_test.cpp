// The scrolling window: children moved into the interior, positions along
// either axis, content that fits, ticks, and the scroll bar's messages.
#include <gtest/gtest.h>

#include <string>

#include "game/widgets/scrollable.h"
#include "widgets/slider.h"
#include "tests/widgets/widgetstesting.h"

namespace {

class ScrollableTest : public WidgetsTest {
protected:
    void TearDown() override {
        // The description goes before the script that holds it.
        style.reset();
        table.reset();
        WidgetsTest::TearDown();
    }
    // A 200 x 200 scrollable with the keys; add children before Finish.
    RScrollable* Begin(const std::string& keys) {
        EXPECT_EQ(Run("description = { x = 0, y = 0, w = 200, h = 200" + keys + " }"), "");
        table.reset(script->GetGlobalTable("description"));
        style = std::make_unique<TWindowStyle>(table.get());
        auto* scrollable = new RScrollable();
        dialog->AddChild(scrollable, false);
        scrollable->Init(*style);
        return scrollable;
    }
    void Finish(RScrollable* scrollable) { scrollable->PostInit(*style); }
    TSlider* AddSlider(TWindow* parent) {
        auto* slider = new TSlider();
        parent->AddChild(slider, false);
        slider->SetPosition(190, 0);
        slider->SetSize(10, 200);
        return slider;
    }
    // A scrollable whose content is one child of that size.
    RScrollable* WithContent(int width, int height, const std::string& keys = "") {
        RScrollable* scrollable = Begin(keys);
        Child(scrollable, "content", TRect(0, 0, width, height));
        Finish(scrollable);
        return scrollable;
    }
    static int Top(RScrollable* scrollable) { return scrollable->GetInterior()->GetRect().top; }
    static int Left(RScrollable* scrollable) { return scrollable->GetInterior()->GetRect().left; }

    std::unique_ptr<TLuaTable> table;
    std::unique_ptr<TWindowStyle> style;
};

TEST_F(ScrollableTest, PositionsAlongTheAxis) {
    const struct {
        int width;
        int height;
        const char* keys;
        float position;
        int offset;
        float kept;
    } cases[] = {
        {100, 300, "", 0.5f, -50, 0.5f},
        {100, 300, "", 1.0f, -100, 1.0f},
        {100, 300, "", 7.0f, -100, 1.0f},
        {100, 300, "", -1.0f, 0, 0.0f},
        {100, 300, "", NAN, 0, 0.0f},
        {100, 150, "", 0.5f, 0, 0.0f},
        {300, 100, ", vscroll = false", 0.5f, -50, 0.5f},
        {150, 100, ", vscroll = false", 0.5f, 0, 0.0f},
    };
    for (const auto& c : cases) {
        RScrollable* scrollable = WithContent(c.width, c.height, c.keys);
        scrollable->SetScrollPosition(c.position);
        bool vertical = std::string(c.keys).empty();
        EXPECT_EQ(vertical ? Top(scrollable) : Left(scrollable), c.offset) << c.height << " at " << c.position;
        EXPECT_EQ(vertical ? Left(scrollable) : Top(scrollable), 0);
        EXPECT_EQ(scrollable->GetScrollPosition(), c.kept) << c.height << " at " << c.position;
    }
}

TEST_F(ScrollableTest, TicksMoveByPixelsAndFittingContentStaysAtZero) {
    RScrollable* scrollable = WithContent(100, 300, ", tick = 25");
    scrollable->ScrollDown();
    EXPECT_EQ(Top(scrollable), -25);
    scrollable->ScrollDown();
    scrollable->ScrollDown();
    scrollable->ScrollDown();
    scrollable->ScrollDown();
    EXPECT_EQ(Top(scrollable), -100);
    scrollable->ScrollUp();
    EXPECT_EQ(Top(scrollable), -75);
    for (int height : {150, 200}) {
        RScrollable* fitting = WithContent(100, height);
        fitting->ScrollDown();
        EXPECT_EQ(Top(fitting), 0) << height;
        EXPECT_EQ(fitting->GetScrollPosition(), 0.0f) << height;
        fitting->ScrollUp();
        EXPECT_EQ(fitting->GetScrollPosition(), 0.0f) << height;
    }
}

TEST_F(ScrollableTest, ExceptedChildrenAndTheFirstSliderStay) {
    RScrollable* scrollable = Begin(", except = { 'title', 'footer' }");
    Child(scrollable, "title", TRect(0, 0, 100, 20));
    Child(scrollable, "a", TRect(0, 0, 100, 150));
    TSlider* bar = AddSlider(scrollable);
    TSlider* second = AddSlider(scrollable);
    Child(scrollable, "b", TRect(0, 150, 100, 400));
    Finish(scrollable);
    EXPECT_EQ(scrollable->GetScrollBar(), bar);
    EXPECT_EQ(bar->GetParent(), scrollable);
    EXPECT_EQ(scrollable->FindChildWindow("title", 1)->GetParent(), scrollable);
    EXPECT_EQ(second->GetParent(), scrollable->GetInterior());
    EXPECT_EQ(scrollable->FindChildWindow("a", -1)->GetParent(), scrollable->GetInterior());
    EXPECT_EQ(scrollable->GetInterior()->GetParent(), scrollable);
    EXPECT_EQ(scrollable->GetInterior()->GetHeight(), 400);
    scrollable->PassToInterior(Child(dialog, "late", TRect(0, 0, 5, 5)));
    EXPECT_EQ(scrollable->FindChildWindow("late", -1)->GetParent(), scrollable->GetInterior());

    scrollable->SetScrollPosition(0.25f);
    EXPECT_EQ(bar->GetValue(), 0.25f);
    bar->SetValue(1, false);
    manager->DeliverMessages();
    EXPECT_EQ(Top(scrollable), -200);
    EXPECT_EQ(scrollable->GetScrollPosition(), 1.0f);
}

TEST_F(ScrollableTest, WithoutASliderOnlyTicksScroll) {
    RScrollable* scrollable = WithContent(100, 300);
    EXPECT_EQ(scrollable->GetScrollBar(), nullptr);
    TMessage message(TMessage::kSliderValChanged, "bar", nullptr);
    EXPECT_FALSE(scrollable->OnMessage(&message));
}

}  // namespace
