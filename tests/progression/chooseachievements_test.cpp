#include "game/progression/chooseachievements.h"

#include <gtest/gtest.h>

#include <string>

#include "core/app/message.h"
#include "game/objects/spritebutton.h"
#include "game/sprites/spritemanager.h"
#include "tests/progression/achievementtesting.h"

namespace {

class ChooseAchievementsTest : public AchievementFixture {
protected:
    void SetUp() override {
        AchievementFixture::SetUp();
        windows()->RegisterWindowType("VChooseAchievements", VChooseAchievements::ClassId());
        windows()->RegisterWindowType("VSpriteWindow", VSpriteWindow::ClassId());
        AddFile("choose.lua",
                "MakeDialog { VChooseAchievements { name = 'choose', x = 0, y = 0, w = 500, h = 400, checkstyle = {},"
                " VSpriteWindow { name = 'sprite_window', x = 0, y = 0, w = 440, h = 100 } } }");
        Achievements()->Award("long", "endless");
        windows()->RunWindowScript(dialog, "choose.lua");
        choose = static_cast<VChooseAchievements*>(dialog->FindChildWindow("choose", -1));
        list = static_cast<VSpriteWindow*>(dialog->FindChildWindow("sprite_window", -1));
    }
    std::shared_ptr<VButton> Button(const char* name) {
        return std::dynamic_pointer_cast<VButton>(list->FindSprite(name));
    }
    void Press(const char* name) {
        TMessage message(TMessage::kButtonPress, name, list);
        EXPECT_TRUE(choose->OnMessage(&message));
    }

    VChooseAchievements* choose = nullptr;
    VSpriteWindow* list = nullptr;
};

TEST_F(ChooseAchievementsTest, ACheckButtonPerAchievementInTwoColumns) {
    ASSERT_NE(choose, nullptr);
    ASSERT_NE(list, nullptr);
    // Map order: "" before "adventure" before "endless".
    const struct {
        const char* button;
        float x, y;
        bool on;
    } expected[] = {
        {"btn_achieve_loose", 20, 20, false},
        {"btn_achieve_first_sale", 220, 20, false},
        {"btn_achieve_regulars", 20, 45, false},
        {"btn_achieve_long", 220, 45, true},
    };
    for (const auto& entry : expected) {
        SCOPED_TRACE(entry.button);
        std::shared_ptr<VButton> button = Button(entry.button);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->GetPosition(), TVec2(entry.x, entry.y));
        EXPECT_EQ(button->IsOn(), entry.on);
    }
    EXPECT_EQ(list->GetHeight(), 2 * 25 + 40);
}

TEST_F(ChooseAchievementsTest, ButtonsAwardAndRevoke) {
    Button("btn_achieve_first_sale")->SetOn(true);
    Press("btn_achieve_first_sale");
    EXPECT_TRUE(Achievements()->IsEarned("first_sale", "adventure"));
    Button("btn_achieve_long")->SetOn(false);
    Press("btn_achieve_long");
    EXPECT_FALSE(Achievements()->IsEarned("long", "endless"));

    Press("btn_acquire");
    EXPECT_TRUE(Achievements()->IsEarned("regulars", "adventure"));
    EXPECT_TRUE(Button("btn_achieve_loose")->IsOn());
    Press("btn_notify");
    EXPECT_EQ(Achievements()->GetOpenNotifications().size(), 1u);
    Press("btn_release");
    EXPECT_FALSE(Achievements()->IsEarned("regulars", "adventure"));
    EXPECT_FALSE(Button("btn_achieve_first_sale")->IsOn());

    TMessage other(TMessage::kButtonPress, "btn_other", list);
    EXPECT_FALSE(choose->OnMessage(&other));
}

}  // namespace
