// The button: its layers and looks, the mask's hit test, the mouse, toggles
// and radio groups, the press messages, Enter and Escape through the modal
// window, and script actions.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/app/message.h"
#include "widgets/button.h"
#include "widgets/image.h"
#include "tests/core/windows/notinglistener.h"
#include "widgettesting.h"

namespace {

class CountingAction : public TButton::Action {
public:
    explicit CountingAction(int& runs) : mRuns(runs) {}
    void Run(TButton&) override { ++mRuns; }

private:
    int& mRuns;
};

class ButtonTest : public WidgetTest {
protected:
    void SetUp() override {
        WidgetTest::SetUp();
        for (const char* name : {"up.png", "down.png", "over.png", "onover.png"}) Image(name, 40, 20, 0xFF336699u);
        // The left half is the darkest pixel still outside, the right the faintest inside.
        Image("mask.png", 4, 2, [](int x, int) { return x < 2 ? 0xFF131313u : 0xFF140000u; });
    }
    TButton* Find(const char* name) { return CastToTButton(manager->GetTopModal()->FindChildWindow(name, -1)); }
    // The images of the button's layers that are shown, as "0 2".
    static std::string Shown(TButton* button) {
        std::string shown;
        for (int i = 0; i < TButton::kLayerCount; ++i) {
            TWindow* image = button->FindChildWindow(TString::Format("image%d", i), 1);
            if (!image || !image->IsVisible()) continue;
            if (!shown.empty()) shown += ' ';
            shown += std::to_string(i);
        }
        return shown;
    }
    static std::string Button(const std::string& name, const std::string& keys) {
        return "{ typename = 'Button', name = '" + name +
               "', graphics = { 'up.png', 'down.png', 'over.png', 'onover.png' }, " + keys + " }";
    }
};

TEST_F(ButtonTest, EachGraphicIsALayerAndTheLabelBelongsToAll) {
    Dialog("{ typename = 'Button', name = 'ok', x = 100, y = 100, scale = 0.5, type = 1, "
           "graphics = { 'up.png', 'down.png', 'over.png', 'onover.png' }, "
           "{ typename = 'Text', name = 'label', w = 20, h = 10, label = 'OK' } }");
    TButton* button = Find("ok");
    ASSERT_NE(button, nullptr);
    EXPECT_STREQ(button->GetClassName(), "TButton");
    EXPECT_EQ(button->GetWidth(), 20);
    EXPECT_EQ(button->GetHeight(), 10);
    for (int i = 0; i < TButton::kLayerCount; ++i) {
        const auto& layer = button->GetLayerChildren(i);
        ASSERT_EQ(layer.size(), 2u) << "layer " << i;
        EXPECT_EQ(layer[0]->GetName(), TString::Format("image%d", i));
        EXPECT_EQ(layer[1]->GetName(), "label");
    }
    EXPECT_EQ(Shown(button), "0");
    EXPECT_TRUE(button->FindChildWindow("label", 1)->IsVisible());
    EXPECT_EQ(Eval("GetLabel('ok')"), "OK");
    ASSERT_EQ(Run("SetLabel('ok', 'Fine')"), "");
    EXPECT_EQ(button->GetLabel(), "Fine");
}

TEST_F(ButtonTest, APushButtonShowsThreeLooksAndSkipsMissingGraphics) {
    Dialog("{ typename = 'Button', name = 'push', graphics = { 'up.png', '', 'over.png', 'onover.png' } }");
    TButton* button = Find("push");
    EXPECT_EQ(button->FindChildWindow("image1", 1), nullptr);
    EXPECT_EQ(button->FindChildWindow("image3", 1), nullptr);
    EXPECT_EQ(button->GetLabel(), "");
    const int layers[] = {0, -1, 2};
    for (int look : {2, 1, 0}) {
        button->SetState(look);
        EXPECT_EQ(Shown(button), layers[look] < 0 ? "" : std::to_string(layers[look])) << "look " << look;
    }
}

TEST_F(ButtonTest, TheMaskDecidesWhereTheButtonIsHit) {
    Dialog("{ typename = 'Button', name = 'masked', x = 100, y = 100, mask = 'mask.png', "
           "graphics = { 'up.png', 'down.png', 'over.png' } }");
    TButton* button = Find("masked");
    ASSERT_TRUE(button->HasMask());
    struct Case {
        int x, y;
        bool hit;
    };
    // The 4 x 2 mask spreads over the 40 x 20 button.
    const Case cases[] = {{0, 0, false}, {19, 19, false}, {20, 0, true}, {39, 19, true}, {40, 0, false},
                          {-1, 5, false}, {25, 20, false}};
    for (const Case& c : cases) EXPECT_EQ(button->IsHit(TPoint(c.x, c.y)), c.hit) << c.x << "," << c.y;

    // Outside, the release falls through to the dialog.
    Click(105, 105);
    EXPECT_EQ(Messages(), "4:mouse:up");
    Click(135, 105);
    EXPECT_EQ(Messages(), "3:masked");

    // A window without size is never hit, mask or not.
    button->SetSize(0, 20);
    EXPECT_FALSE(button->IsHit(TPoint(0, 5)));
}

TEST_F(ButtonTest, AnUnreadableMaskLeavesRectangleHits) {
    Dialog("{ typename = 'Button', name = 'b', mask = 'nomask.png', graphics = { 'up.png' } }");
    EXPECT_FALSE(Find("b")->HasMask());
    EXPECT_TRUE(Find("b")->IsHit(TPoint(1, 1)));
    EXPECT_TRUE(log.Contains("nomask.png"));
}

TEST_F(ButtonTest, AClickPressesAndReleasingOutsidePressesNothing) {
    Dialog(Button("ok", "x = 100, y = 100"));
    TButton* button = Find("ok");
    Mouse(TPlatformEvent::kMouseMove, 110, 110);
    EXPECT_EQ(button->GetLook(), TButton::kRollover);
    EXPECT_TRUE(manager->HasCapture(button));
    Mouse(TPlatformEvent::kMouseDown, 110, 110);
    EXPECT_EQ(button->GetLook(), TButton::kPressed);
    EXPECT_EQ(Shown(button), "1");
    Mouse(TPlatformEvent::kMouseUp, 110, 110);
    EXPECT_EQ(Messages(), "3:ok");
    EXPECT_EQ(button->GetLook(), TButton::kRollover);

    Mouse(TPlatformEvent::kMouseDown, 110, 110);
    Mouse(TPlatformEvent::kMouseUp, 300, 300);
    EXPECT_EQ(Messages(), "4:mouse:up");
    EXPECT_EQ(button->GetLook(), TButton::kNormal);
    EXPECT_EQ(Shown(button), "0");
    EXPECT_FALSE(manager->HasCapture(button));
}

TEST_F(ButtonTest, TheHoverLookStaysWhileThePointerRestsAndGoesWhenTheMouseIsTakenAway) {
    struct Case {
        const char* name;
        std::function<void()> then;
        int look;
        bool captured;
    };
    const Case cases[] = {
        {"the pointer rests", [this] { Mouse(TPlatformEvent::kMouseHover, 110, 110); }, TButton::kRollover, true},
        {"the pointer leaves the game window", [this] { Mouse(TPlatformEvent::kMouseCancel, 110, 110); },
         TButton::kNormal, false},
        {"a dialog opens over it", [this] { manager->PushModal(new TModalWindow()); }, TButton::kNormal, false},
        // The release that follows presses nothing outside the button.
        {"pressed, the pointer leaves the game window",
         [this] {
             Mouse(TPlatformEvent::kMouseDown, 110, 110);
             Mouse(TPlatformEvent::kMouseCancel, 110, 110);
         },
         TButton::kPressed, true},
    };
    for (const Case& c : cases) {
        Dialog(Button("ok", "x = 100, y = 100"));
        TButton* button = Find("ok");
        Mouse(TPlatformEvent::kMouseMove, 110, 110);
        ASSERT_EQ(button->GetLook(), TButton::kRollover) << c.name;
        c.then();
        EXPECT_EQ(button->GetLook(), c.look) << c.name;
        EXPECT_EQ(Shown(button), std::to_string(c.look)) << c.name;
        EXPECT_EQ(manager->HasCapture(button), c.captured) << c.name;
        Run("DoPopModal('dialog')");
        Messages();
    }
}

TEST_F(ButtonTest, AToggleFlipsWithEachPressAndShowsItsState) {
    Dialog(Button("t", "x = 100, y = 100, type = 1"));
    TButton* toggle = Find("t");
    Click(110, 110);
    EXPECT_TRUE(toggle->GetToggleState());
    // On and hovered: the on rollover layer.
    EXPECT_EQ(Shown(toggle), "3");
    EXPECT_EQ(Eval("GetButtonToggleState('t')"), "true");
    Mouse(TPlatformEvent::kMouseDown, 110, 110);
    Mouse(TPlatformEvent::kMouseUp, 110, 110);
    EXPECT_FALSE(toggle->GetToggleState());
    Mouse(TPlatformEvent::kMouseMove, 300, 300);
    EXPECT_EQ(toggle->GetLook(), TButton::kNormal);
    EXPECT_EQ(Shown(toggle), "0");
    EXPECT_EQ(Messages(), "3:t 3:t");
}

TEST_F(ButtonTest, PressingARadioButtonTurnsOffTheOthersOfItsGroupOnly) {
    Dialog(Button("r1", "type = 2, beginGroup = true, on = true") + ", " + Button("r2", "type = 2, on = 1") + ", " +
           Button("r3", "type = 2, x = 100, y = 100") + ", " + Button("r4", "type = 2, beginGroup = 1, on = true") +
           ", " + Button("r5", "type = 2, x = 200, y = 100"));
    // Turning r2 on while made turned r1 off.
    EXPECT_FALSE(Find("r1")->GetToggleState());
    EXPECT_TRUE(Find("r2")->GetToggleState());
    EXPECT_TRUE(Find("r4")->GetToggleState());

    Find("r1")->SetToggleState(true);
    Click(110, 110);
    EXPECT_FALSE(Find("r1")->GetToggleState());
    EXPECT_FALSE(Find("r2")->GetToggleState());
    EXPECT_TRUE(Find("r3")->GetToggleState());
    EXPECT_TRUE(Find("r4")->GetToggleState());
    EXPECT_EQ(Shown(Find("r1")), "0");
    EXPECT_EQ(Shown(Find("r2")), "0");

    // The second group's start belongs to the second group.
    Find("r4")->SetToggleState(true);
    EXPECT_TRUE(Find("r3")->GetToggleState());
    Click(210, 110);
    EXPECT_FALSE(Find("r4")->GetToggleState());
    EXPECT_TRUE(Find("r5")->GetToggleState());
    EXPECT_TRUE(Find("r3")->GetToggleState());
}

TEST_F(ButtonTest, CloseAsksForTheDialogToCloseBeforeThePress) {
    std::vector<std::string> notes;
    manager->AddMessageListener(new NotingListener(notes, false));
    TModalWindow* dialog = Dialog(Button("done", "x = 100, y = 100, close = true"));
    std::string id = dialog->GetIdString().c_str();
    Click(110, 110);
    manager->DeliverMessages();
    // The press lost its target with the dialog, so the listener heard it too.
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0], "1:" + id);
    EXPECT_EQ(notes[1], "3:done");
    EXPECT_EQ(Eval("gReturnValue"), "done");
    EXPECT_EQ(manager->GetTopModal(), screen);
}

TEST_F(ButtonTest, EnterPressesTheDefaultButtonAndEscapeTheCancelButton) {
    Dialog(Button("first", "type = 2, beginGroup = true") + ", " + Button("ok", "x = 100, default = true") + ", " +
           Button("no", "x = 200, cancel = true"));
    EXPECT_EQ(Find("first")->GetFlags() & (TWindow::kDefaultButton | TButton::kGroupStart), TButton::kGroupStart);
    EXPECT_NE(Find("ok")->GetFlags() & TWindow::kDefaultButton, 0u);
    Type("\r");
    EXPECT_EQ(Messages(), "3:ok");
    EXPECT_FALSE(Find("first")->GetToggleState());
    Type("\x1b");
    EXPECT_EQ(Messages(), "3:no");
}

TEST_F(ButtonTest, SendToParentAddressesTheDialogBelow) {
    manager->PushModal(new TModalWindow());
    Dialog(Button("up", "x = 100, y = 100, sendToParent = true"));
    Click(110, 110);
    EXPECT_EQ(Messages(), "3:up");
    EXPECT_EQ(Eval("gReturnValue"), "nil");
}

TEST_F(ButtonTest, AnActionOutsideTheTopDialogKeepsThePressUnlessSentToTheParent) {
    Dialog(Button("low", "") + ", " + Button("lowparent", "sendToParent = true"));
    TButton* low = Find("low");
    TButton* lowParent = Find("lowparent");
    int runs = 0;
    low->SetAction(std::make_unique<CountingAction>(runs));
    lowParent->SetAction(std::make_unique<CountingAction>(runs));
    EXPECT_EQ(low->Activate(), 0);
    EXPECT_EQ(Messages(), "3:low");

    Dialog("");
    EXPECT_EQ(low->Activate(), 1);
    EXPECT_EQ(Messages(), "");
    EXPECT_FALSE(low->Click());
    EXPECT_EQ(lowParent->Activate(), 1);
    EXPECT_EQ(Messages(), "3:lowparent");
    EXPECT_EQ(runs, 4);
}

TEST_F(ButtonTest, AScriptCommandGetsTheButtonNameAsAValue) {
    Dialog(Button("a]]b", "x = 100, y = 100, command = function() pressed = GetButtonName() end") + ", " +
           Button("x]]; injected = 1; --", "x = 200, y = 100"));
    ASSERT_EQ(Run("SetCommand('x]]; injected = 1; --', function() pressed = GetButtonName() end)"), "");
    Click(110, 110);
    EXPECT_EQ(Eval("GetButtonName()"), "a]]b");
    EXPECT_EQ(Messages(), "8:LuaAction:a]]b 3:a]]b");
    ASSERT_EQ(Run("for i, command in ipairs(gCommandQueue) do command() end gCommandQueue = {}"), "");
    EXPECT_EQ(Eval("pressed"), "a]]b");

    Click(210, 110);
    EXPECT_EQ(Eval("GetButtonName()"), "x]]; injected = 1; --");
    EXPECT_EQ(Eval("injected"), "nil");
}

TEST_F(ButtonTest, BadCommandsAndMissingSoundsLeaveAPlainButton) {
    Dialog(Button("b", "x = 100, y = 100, command = 'print(1)', sound = 'sounds/none', rolloversound = 'sounds/gone'") +
           ", { typename = 'Button', name = 'odd', graphics = 'up.png' }");
    EXPECT_TRUE(log.Contains("the command of 'b' is no function"));
    EXPECT_TRUE(log.Contains("the graphics of 'odd' are no table"));
    EXPECT_EQ(Find("odd")->GetChildren().size(), 0u);
    Click(110, 110);
    EXPECT_EQ(Messages(), "3:b");
    EXPECT_EQ(Find("b")->GetLook(), TButton::kRollover);
}

}  // namespace
