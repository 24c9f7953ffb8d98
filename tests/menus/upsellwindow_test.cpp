#include "game/menus/upsellwindow.h"

#include "tests/menus/menutesting.h"

namespace {

class UpsellWindowTest : public MenuTest {
protected:
    VUpsellWindow* MakePanel() { return Make<VUpsellWindow>("{ name = 'upsell', w = 400, h = 300 }"); }
};

TEST_F(UpsellWindowTest, LinksOpenByIndexAndOthersDoNothing) {
    AddFile("upsell.xml",
            "<gameinfo link=\"https://example.org/one\"/>\n<other link=\"x\"/>\n<gameinfo/>\n"
            "<gameinfo link=\"https://example.org/a b'c\"/>\n");
    VUpsellWindow* panel = MakePanel();
    EXPECT_TRUE(panel->IsA(RWindow::ClassId()));
    EXPECT_TRUE(panel->IsA(TImage::ClassId()));
    EXPECT_EQ(Run("SetupUpsell() LaunchGameLink(0) LaunchGameLink(1) LaunchGameLink(2) "
                  "LaunchGameLink(3) LaunchGameLink(-1)"),
              "");
    EXPECT_EQ(link->addresses, (std::vector<std::string>{"https://example.org/one", "", "https://example.org/a b'c"}));
}

TEST_F(UpsellWindowTest, ASecondSetupAppendsTheLinksAgain) {
    AddFile("upsell.xml", "<gameinfo link=\"https://example.org/one\"/>");
    VUpsellWindow* panel = MakePanel();
    EXPECT_EQ(Run("SetupUpsell() SetupUpsell()"), "");
    EXPECT_EQ(panel->GetLinks().size(), 2u);
}

TEST_F(UpsellWindowTest, AMissingOrBrokenFileGivesNoLinks) {
    VUpsellWindow* panel = MakePanel();
    EXPECT_EQ(Run("SetupUpsell() LaunchGameLink(0)"), "");
    EXPECT_TRUE(panel->GetLinks().empty());
    AddFile("upsell.xml", "<<<\"&&&");
    EXPECT_EQ(Run("SetupUpsell() LaunchGameLink(0)"), "");
    EXPECT_TRUE(panel->GetLinks().empty());
    EXPECT_TRUE(link->addresses.empty());
}

TEST_F(UpsellWindowTest, TheFunctionsGoWithThePanelUnlessANewerOneTookThem) {
    VUpsellWindow* older = MakePanel();
    VUpsellWindow* newer = MakePanel();
    AddFile("upsell.xml", "<gameinfo link=\"https://example.org/new\"/>");
    dialog->RemoveChild(older);
    delete older;
    EXPECT_EQ(Run("SetupUpsell() LaunchGameLink(0)"), "");
    EXPECT_EQ(newer->GetLinks().size(), 1u);
    EXPECT_EQ(link->addresses, (std::vector<std::string>{"https://example.org/new"}));
    dialog->RemoveChild(newer);
    delete newer;
    EXPECT_EQ(Eval("type(SetupUpsell)"), "nil");
    EXPECT_EQ(Eval("type(LaunchGameLink)"), "nil");
}

}  // namespace
