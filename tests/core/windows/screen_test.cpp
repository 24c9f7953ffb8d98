#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "windowmanagertesting.h"

namespace {

const TColor4f kClearColor(0.25f, 0.5f, 0.75f, 1.0f);

TEST(ScreenClass, TheRootScreenIsANamedCacheableFullSizeModalWindow) {
    TScreen screen;
    EXPECT_STREQ(screen.GetName().c_str(), "_screen_");
    EXPECT_STREQ(screen.GetClassName(), "TScreen");
    EXPECT_EQ(screen.GetFlags(), TWindow::kModal | TWindow::kFocusable | TWindow::kCacheable | TWindow::kVisible |
                                     TWindow::kFullSize);
    EXPECT_TRUE(screen.IsA(TScreen::ClassId()));
    EXPECT_TRUE(screen.IsA(TModalWindow::ClassId()));
    EXPECT_TRUE(screen.IsA(TWindow::ClassId()));
    EXPECT_FALSE(TModalWindow().IsA(TScreen::ClassId()));
    std::unique_ptr<TWindow> created(CreateWindowOfClass(TScreen::ClassId()));
    ASSERT_NE(created, nullptr);
    EXPECT_STREQ(created->GetClassName(), "TScreen");
}

class ScreenTest : public WindowManagerTest {
protected:
    // The fills of the frame drawn at the given time.
    std::vector<TRecordingRenderBackEnd::TCall> FillsOfFrameAt(uint32_t milliseconds) {
        recorder->ClearCalls();
        manager->Invalidate();
        TickAt(milliseconds);
        std::vector<TRecordingRenderBackEnd::TCall> fills;
        for (const auto& call : recorder->GetCalls()) {
            if (call.kind == TRecordingRenderBackEnd::kFillRect) fills.push_back(call);
        }
        return fills;
    }
};

TEST_F(ScreenTest, TheScreenClearsTheViewWhenItIsTheTopModal) {
    EXPECT_EQ(screen->GetRect(), TRect(0, 0, 800, 600));
    EXPECT_EQ(manager->GetRootWindow(), screen);
    screen->SetClearColor(kClearColor);
    auto fills = FillsOfFrameAt(1000);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].rect, TRect(0, 0, 800, 600));
    EXPECT_EQ(fills[0].color, kClearColor);

    screen->SetClearingOff(true);
    EXPECT_TRUE(FillsOfFrameAt(2000).empty());
}

TEST_F(ScreenTest, UnderAnotherModalTheScreenClearsOnlyWhenToldToClearAlways) {
    Push("dialog", TRect(100, 100, 200, 200));
    EXPECT_TRUE(FillsOfFrameAt(1000).empty());
    EXPECT_NE(std::find(journal.entries.begin(), journal.entries.end(), "_screen_:draw"), journal.entries.end());

    screen->SetClearAlways(true);
    EXPECT_EQ(FillsOfFrameAt(2000).size(), 1u);
    screen->SetClearingOff(true);
    EXPECT_TRUE(FillsOfFrameAt(3000).empty());
}

}  // namespace
