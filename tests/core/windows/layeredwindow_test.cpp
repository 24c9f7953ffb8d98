#include <gtest/gtest.h>

#include <string>

#include "core/windows/layeredwindow.h"
#include "tests/support/luatesting.h"
#include "windowtesting.h"

namespace {

class TwoLayers : public TLayeredWindow {
public:
    TwoLayers() : TLayeredWindow(2) {}
};

std::string Shown(const TWindow& parent) {
    std::string text;
    for (TWindow* child : parent.GetChildren()) {
        if (child->IsVisible()) text += child->GetName().c_str();
    }
    return text;
}

TWindow* Named(const char* name) {
    auto* window = new TWindow();
    window->SetName(name);
    return window;
}

TEST_F(WindowTest, LayersShowTheirOwnChildren) {
    TwoLayers layered;
    layered.AddChild(Named("a"), false);
    layered.SetLayer(1);
    EXPECT_EQ(Shown(layered), "");  // layer 1 is empty
    layered.AddChild(Named("b"), false);
    EXPECT_EQ(Shown(layered), "b");  // added children keep their own flags
    layered.SetLayer(0);
    EXPECT_EQ(Shown(layered), "a");
    layered.SetLayer(1);
    EXPECT_EQ(Shown(layered), "b");
    EXPECT_EQ(layered.GetLayer(), 1);
}

TEST_F(WindowTest, LayerMinusOneShowsLayerZeroAndItsChildrenJoinEveryLayer) {
    TwoLayers layered;
    layered.AddChild(Named("a"), false);
    layered.SetLayer(TLayeredWindow::kAllLayers);
    TWindow* both = Named("c");
    layered.AddChild(both, false);
    EXPECT_EQ(layered.GetLayerChildren(0).size(), 2u);
    ASSERT_EQ(layered.GetLayerChildren(1).size(), 1u);
    EXPECT_EQ(layered.GetLayerChildren(1)[0], both);

    layered.SetLayer(1);
    EXPECT_EQ(Shown(layered), "c");
    layered.SetLayer(TLayeredWindow::kAllLayers);
    EXPECT_EQ(Shown(layered), "ca");
}

TEST_F(WindowTest, RemovedChildrenLeaveEveryLayer) {
    TwoLayers layered;
    layered.SetLayer(TLayeredWindow::kAllLayers);
    TWindow* child = Named("a");
    layered.AddChild(child, false);
    layered.AddChild(child, false);  // not listed twice
    EXPECT_EQ(layered.GetLayerChildren(0).size(), 1u);
    layered.RemoveChild(child);
    EXPECT_TRUE(layered.GetLayerChildren(0).empty());
    EXPECT_TRUE(layered.GetLayerChildren(1).empty());
    delete child;
}

TEST_F(WindowTest, ARefusedChildJoinsNoLayer) {
    TwoLayers layered;
    RecordingWindow refusing("r", nullptr);
    refusing.attachAnswer = false;
    EXPECT_FALSE(layered.AddChild(&refusing, true));
    EXPECT_TRUE(layered.GetLayerChildren(0).empty());
}

TEST_F(WindowTest, AMissingLayerIsRefusedAndLogged) {
    TestLog testLog;
    TwoLayers layered;
    layered.AddChild(Named("a"), false);
    layered.SetLayer(5);
    EXPECT_EQ(layered.GetLayer(), 0);
    EXPECT_EQ(Shown(layered), "a");
    EXPECT_TRUE(testLog.Contains("has no layer 5"));
    EXPECT_TRUE(layered.GetLayerChildren(7).empty());

    TLayeredWindow none(0);
    none.AddChild(Named("b"), false);
    none.SetLayer(TLayeredWindow::kAllLayers);
    EXPECT_EQ(none.GetLayer(), 0);
}

}  // namespace
