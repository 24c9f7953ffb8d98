#include "game/objects/spritebutton.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/app/message.h"
#include "core/windows/modalwindow.h"
#include "game/sprites/spritemanager.h"
#include "game/sprites/spritewindow.h"
#include "game/sprites/textsprite.h"
#include "tests/core/windows/windowmanagertesting.h"
#include "tests/objects/objecttesting.h"

namespace {

using Notes = std::vector<std::string>;

std::string Note(const TMessage& message, const char* receiver) {
    return std::to_string(message.GetType()) + " " + message.GetName().c_str() + " to " + receiver;
}

// Takes the messages that no window takes.
class NotingListener : public TMessageListener {
public:
    explicit NotingListener(Notes& notes) : mNotes(notes) {}
    bool OnMessage(TMessage* message) override {
        mNotes.push_back(Note(*message, "nobody"));
        return true;
    }

private:
    Notes& mNotes;
};

// A sprite window that notes the messages sent to it.
class NotingWindow : public VSpriteWindow {
public:
    explicit NotingWindow(Notes& notes) : mNotes(notes) {}
    bool OnMessage(TMessage* message) override {
        mNotes.push_back(Note(*message, GetName().c_str()));
        return true;
    }

private:
    Notes& mNotes;
};

class SpriteButtonTest : public ObjectTest {
protected:
    void SetUp() override {
        ObjectTest::SetUp();
        for (const char* state : {"default", "over", "on", "on_over", "disabled"}) {
            WriteImage(std::string("art/") + state + ".png", 40, 20);
        }
        Define(R"(
            full = { id = 7, type = 1, scale = 2, sound = "click", label = "Go", assets = { anim = false,
                     face = { { file = "art/default.png" }, { state = "over", file = "art/over.png" },
                              { state = "on", file = "art/on.png" }, { state = "on_over", file = "art/on_over.png" },
                              { state = "disabled", file = "art/disabled.png" } } } }
            sparse = { type = 2, assets = { anim = false,
                       face = { { file = "art/default.png" }, { state = "over", file = "art/over.png" } } } }
            plain = { assets = { anim = false, face = { { file = "art/default.png" } } } }
        )");
        windows = std::make_unique<TWindowManager>(services);
        windows->AddMessageListener(new NotingListener(notes));
    }
    void TearDown() override {
        windows.reset();
        ObjectTest::TearDown();
    }

    std::shared_ptr<VButton> Button(const char* description) {
        auto button = VButton::Create(3, "play");
        button->Load(Describe(description));
        button->Reset();
        return button;
    }
    static void Send(VButton& button, int kind) {
        button.SendEvent(kind, TPoint(0, 0), TDrawState(TVec2(0, 0), 1.0f, 1.0f, 0), -1);
    }
    static void Click(VButton& button) {
        Send(button, VSprite::kEventPress);
        Send(button, VSprite::kEventRelease);
    }
    static std::string State(const VButton& button) { return button.GetCurrentState().c_str(); }

    FakeFrameServices services;
    std::unique_ptr<TWindowManager> windows;
    Notes notes;
};

TEST_F(SpriteButtonTest, NameTypeAndDescription) {
    auto fresh = VButton::Create(3, "play");
    EXPECT_EQ(fresh->GetName(), TString("play_3"));
    EXPECT_EQ(fresh->GetType(), TString("vbutton"));
    EXPECT_TRUE(fresh->IsClickable());
    EXPECT_FALSE(fresh->GetLabel());

    auto button = Button("full");
    EXPECT_EQ(button->GetId(), 7);
    EXPECT_EQ(button->GetText(), TString("7"));
    EXPECT_EQ(button->GetKind(), VButton::kToggle);
    EXPECT_EQ(button->GetButtonScale(), 2.0f);
    EXPECT_EQ(button->GetSound(), TString("click"));
    ASSERT_TRUE(button->GetLabel());
    EXPECT_EQ(button->GetLabel()->GetOwner(), button);
    EXPECT_EQ(button->GetLabel()->GetLayer(), 2);
    EXPECT_EQ(button->GetLabel()->GetText(), TString("Go"));
    // A toggle's label starts at the right edge of the 40 x 20 image, scaled by 2.
    TVec2 at = button->GetLabel()->GetPosition();
    EXPECT_EQ(at.x, 40);
    EXPECT_EQ(at.y, -20);

    button->Load(Describe("plain"));
    EXPECT_EQ(button->GetId(), 7);
    EXPECT_EQ(button->GetButtonScale(), 1.0f);
    button->SetLabel("Stop");
    EXPECT_EQ(button->GetLabel()->GetText(), TString("Stop"));
}

TEST_F(SpriteButtonTest, AToggleAlternatesOnAndDefaultWithTheOverStates) {
    auto button = Button("full");
    EXPECT_EQ(State(*button), "default");
    const struct {
        int event;
        const char* state;
    } steps[] = {
        {VSprite::kEventEnter, "over"},    {VSprite::kEventClick, "on_over"}, {VSprite::kEventLeave, "on"},
        {VSprite::kEventEnter, "on_over"}, {VSprite::kEventClick, "over"},    {VSprite::kEventLeave, "default"},
    };
    for (const auto& step : steps) {
        if (step.event == VSprite::kEventClick) {
            Click(*button);
        } else {
            Send(*button, step.event);
        }
        EXPECT_EQ(State(*button), step.state) << step.event;
    }
}

TEST_F(SpriteButtonTest, MissingStatesFallBack) {
    auto button = Button("sparse");
    Send(*button, VSprite::kEventEnter);
    Click(*button);
    EXPECT_TRUE(button->IsOn());
    EXPECT_EQ(State(*button), "over");  // "on_over" falls back to "over"
    Send(*button, VSprite::kEventLeave);
    EXPECT_EQ(State(*button), "default");  // and "on" to "default"
    button->SetDisabled(true);
    EXPECT_EQ(State(*button), "default");
}

TEST_F(SpriteButtonTest, ADisabledButtonIgnoresHoverAndClicks) {
    auto button = Button("full");
    button->SetDisabled(true);
    EXPECT_EQ(State(*button), "disabled");
    EXPECT_FALSE(button->IsClickable());
    Send(*button, VSprite::kEventEnter);
    EXPECT_EQ(State(*button), "disabled");
    button->OnClick();
    EXPECT_FALSE(button->IsOn());
    windows->DeliverMessages();
    EXPECT_TRUE(notes.empty());
    button->SetDisabled(false);
    EXPECT_TRUE(button->IsClickable());
    // The mouse is still over it.
    EXPECT_EQ(State(*button), "over");
}

TEST_F(SpriteButtonTest, AClickPostsThePressToTheWindowOfItsManager) {
    auto loose = Button("plain");
    Click(*loose);
    windows->DeliverMessages();
    EXPECT_EQ(notes, (Notes{"3 play_3 to nobody"}));
    EXPECT_FALSE(loose->IsOn());

    auto* root = new TModalWindow();
    windows->SetRootWindow(root);
    auto* window = new NotingWindow(notes);
    root->AddChild(window, false);
    window->SetName("board");
    auto button = Button("plain");
    window->AddSprite(button);
    notes.clear();
    Click(*button);
    windows->DeliverMessages();
    EXPECT_EQ(notes, (Notes{"3 play_3 to board"}));
}

}  // namespace
