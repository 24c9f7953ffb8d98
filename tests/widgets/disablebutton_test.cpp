// The disabled button's look and command, and the edit field that enables
// it by name as its text changes.
#include <gtest/gtest.h>

#include <string>

#include "game/widgets/disablebutton.h"
#include "tests/widgets/widgetstesting.h"

namespace {

class DisableButtonTest : public WidgetsTest {
protected:
    RDisableButton* Button(const std::string& keys) {
        return Make<RDisableButton>("{ name = 'ok', x = 0, y = 0, w = 50, h = 20" + keys + " }");
    }
    // The queued commands run; how often the button's command ran.
    std::string RunCommands() {
        EXPECT_EQ(Run("for i = 1, table.getn(gCommandQueue) do gCommandQueue[i]() end gCommandQueue = {}"), "");
        return Eval("ran");
    }
    static constexpr const char* kCommand = ", command = function() ran = ran + 1 end";
};

TEST_F(DisableButtonTest, DisabledShowsLayerThreeWhateverTheMouseDoes) {
    RDisableButton* button = Button(", disabled = true");
    EXPECT_TRUE(button->IsDisabled());
    EXPECT_EQ(button->GetLayer(), RDisableButton::kDisabledLayer);
    EXPECT_TRUE(button->OnMouseDown(TPoint(5, 5)));
    EXPECT_EQ(button->GetLook(), TButton::kNormal);
    EXPECT_EQ(button->GetLayer(), RDisableButton::kDisabledLayer);
    button->OnMouseMove(TPoint(5, 5));
    EXPECT_EQ(button->GetLook(), TButton::kRollover);
    EXPECT_EQ(button->GetLayer(), RDisableButton::kDisabledLayer);
    button->SetDisabled(false);
    EXPECT_EQ(button->GetLayer(), TButton::kRollover);
    button->OnMouseLeave(TPoint(100, 100));
    EXPECT_EQ(button->GetLayer(), TButton::kNormal);
    button->OnMouseDown(TPoint(5, 5));
    EXPECT_EQ(button->GetLayer(), TButton::kPressed);
}

TEST_F(DisableButtonTest, APushButtonTakesAFourthImageForItsDisabledLook) {
    for (const char* name : {"up.png", "down.png", "over.png", "off.png"}) AddImage(name, 50, 20);
    RDisableButton* button = Button(", graphics = { 'up.png', 'down.png', 'over.png', 'off.png' }, disabled = true");
    ASSERT_EQ(button->GetType(), TButton::kPush);
    TWindow* disabled = button->FindChildWindow("image3", 1);
    ASSERT_NE(disabled, nullptr);
    EXPECT_TRUE(disabled->IsVisible());
    EXPECT_FALSE(button->FindChildWindow("image0", 1)->IsVisible());
    button->SetDisabled(false);
    EXPECT_FALSE(disabled->IsVisible());
    EXPECT_TRUE(button->FindChildWindow("image0", 1)->IsVisible());

    // A plain push button keeps to three looks.
    auto* plain = Make<TButton>("{ graphics = { 'up.png', 'down.png', 'over.png', 'off.png' } }");
    EXPECT_EQ(plain->FindChildWindow("image3", 1), nullptr);
}

TEST_F(DisableButtonTest, TheCommandRunsOnlyWhileEnabled) {
    ASSERT_EQ(Run("ran = 0"), "");
    RDisableButton* button = Button(std::string(", disabled = true") + kCommand);
    button->Click();
    EXPECT_EQ(RunCommands(), "0");
    button->SetDisabled(false);
    button->Click();
    EXPECT_EQ(RunCommands(), "1");
    // On a button of another class the action does nothing.
    RDisableButtonAction action(nullptr);
    TButton plain;
    action.Run(plain);
    EXPECT_EQ(RunCommands(), "1");
}

TEST_F(DisableButtonTest, TheEditFieldEnablesTheButtonOnceItHoldsText) {
    RDisableButton* button = Button("");
    auto* edit = Make<RTextEditDisable>("{ x = 0, y = 30, w = 200, h = 20, disable = 'ok' }");
    EXPECT_TRUE(button->IsDisabled());
    const struct {
        char typed;
        bool disabled;
    } steps[] = {
        {' ', true},    // a space into an empty field
        {'a', false},   // " " trims to "", the letter enables
        {'\b', true},   // deleting from " a" leaves only the space
        {'b', false},   // " b"
        {'c', false},   // " bc"
        {'\b', false},  // deleting from two characters leaves one
    };
    // Each step: the key, and the button afterwards.
    for (const auto& step : steps) {
        edit->OnChar(step.typed);
        EXPECT_EQ(button->IsDisabled(), step.disabled) << "after '" << step.typed << "' with '" << edit->GetText().c_str()
                                                       << "'";
    }
}

TEST_F(DisableButtonTest, AFieldWithoutItsButtonDoesNothing) {
    auto* plain = Make<TButton>("{ name = 'ok', x = 0, y = 0, w = 50, h = 20 }");
    auto* edit = Make<RTextEditDisable>("{ x = 0, y = 30, w = 200, h = 20, disable = 'ok' }");
    edit->OnChar('a');
    auto* unnamed = Make<RTextEditDisable>("{ x = 0, y = 60, w = 200, h = 20 }");
    unnamed->OnChar('b');
    EXPECT_EQ(plain->GetLayer(), 0);
    EXPECT_STREQ(edit->GetText().c_str(), "a");
}

}  // namespace
