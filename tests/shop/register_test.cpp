// The money register: its row of digits, the amount each context shows,
// and the digits rolling one step at a time.
#include "game/shop/register.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/sprites/spritemanager.h"
#include "game/sprites/textsprite.h"
#include "tests/shop/shoptesting.h"

namespace {

class RegisterTest : public ShopTest {
protected:
    // Digits 20 pixels wide in a window 200 wide.
    VRegister* MakeRegister(int digits, const char* context = "prelevel") {
        return Make<VRegister>("{ x = 0, y = 0, w = 200, h = 40, numDigits = " + std::to_string(digits) +
                               ", context = '" + context + "', digit = { w = 20 } }");
    }

    // Sprite updates 16 ms apart, the amount left as shown, until every
    // digit rests; the updates it took.
    int Settle(VRegister* window) {
        for (int frame = 1; frame <= 200; ++frame) {
            mTimer.Advance(16);
            window->Update();
            bool resting = true;
            for (const auto& digit : window->GetDigits()) resting = resting && digit->GetCurrent() == digit->GetTarget();
            if (resting) return frame;
        }
        return -1;
    }
    void Frame(VRegister* window) {
        mTimer.Advance(16);
        window->Animate();
    }

    // What each digit shows from the units up, "-" for a hidden one.
    static std::string Shown(const VRegister& window) {
        std::string shown;
        for (const auto& digit : window.GetDigits()) {
            shown += digit->IsVisible() ? digit->GetText()->GetText().c_str() : "-";
        }
        return shown;
    }
};

TEST_F(RegisterTest, DigitsAreNamedByTheirPowerAndEndAtTheRightEdge) {
    VRegister* window = MakeRegister(3);
    EXPECT_STREQ(window->GetClassName(), "VRegister");
    for (TWindowClassId id : {VRegister::ClassId(), VSpriteWindow::ClassId(), RWindow::ClassId(), TImage::ClassId(),
                              TWindow::ClassId()}) {
        EXPECT_TRUE(window->IsA(id));
    }
    EXPECT_EQ(VRegister::GetFactory(), VRegister::ClassId());
    const std::vector<const char*> names = {"digit_1", "digit_10", "digit_100"};
    ASSERT_EQ(window->GetDigits().size(), names.size());
    for (size_t i = 0; i < names.size(); ++i) {
        std::shared_ptr<VSprite> digit = window->FindSprite(names[i]);
        ASSERT_EQ(digit, window->GetDigits()[i]) << names[i];
        EXPECT_EQ(window->GetDigits()[i]->GetType(), TString("digit"));
        EXPECT_EQ(digit->GetPosition(), TVec2(180.0f - 20.0f * static_cast<float>(i), 0)) << names[i];
    }
    EXPECT_EQ(window->GetContext(), TString("prelevel"));
}

TEST_F(RegisterTest, DigitCountsBeyondTenAreCappedAndBelowOneCountAsOne) {
    struct Case {
        int asked;
        size_t made;
    };
    for (Case c : {Case{12, 10u}, Case{10, 10u}, Case{0, 1u}, Case{-3, 1u}}) {
        VRegister* window = MakeRegister(c.asked);
        EXPECT_EQ(window->GetDigits().size(), c.made) << c.asked;
    }
    EXPECT_TRUE(mLog.Contains("VRegister: 12 digits"));
    // The tenth digit holds the 10^9 place without overflow.
    VRegister* wide = MakeRegister(12);
    wide->ShowAmount(2147483647);
    Settle(wide);
    EXPECT_EQ(Shown(*wide), "7463847412");
}

TEST_F(RegisterTest, AmountsShowWithoutLeadingZerosAndCutAboveTheDigits) {
    struct Case {
        int64_t amount;
        const char* shown;
    };
    for (Case c : {Case{0, "0-----"}, Case{1205, "5021--"}, Case{1000000, "000000"}, Case{-1, "0-----"},
                   Case{999999, "999999"}}) {
        VRegister* window = MakeRegister(6);
        window->ShowAmount(c.amount);
        Settle(window);
        EXPECT_EQ(Shown(*window), c.shown) << c.amount;
    }
}

TEST_F(RegisterTest, EachContextShowsItsAmount) {
    CreateGameWithUser();
    SetValue("current_worth", 300);
    SetValue("current_level_total", 120);
    struct Case {
        const char* context;
        int mode;
        int64_t amount;
    };
    for (Case c : {Case{"endlevel", 0, 420}, Case{"prelevel", 0, 300}, Case{"hud", 0, 0}, Case{"", 0, 0},
                   Case{"prelevel", 2, 120}, Case{"endlevel", 1, 120}}) {
        VGame::Get()->SetCurrentGameMode(c.mode);
        VRegister* window = MakeRegister(6, c.context);
        Frame(window);
        EXPECT_EQ(window->GetShownAmount(), c.amount) << c.context << " mode " << c.mode;
    }
}

TEST_F(RegisterTest, ARegisterFollowsTheAmountAsItChanges) {
    SetValue("current_worth", 1999);
    VRegister* window = MakeRegister(4);
    Frame(window);
    Settle(window);
    EXPECT_EQ(Shown(*window), "9991");

    SetValue("current_worth", 2000);
    // Each change of a digit's text with its time on the clock.
    std::vector<std::vector<int32_t>> changes(4);
    std::vector<std::string> last;
    for (const auto& digit : window->GetDigits()) last.emplace_back(digit->GetText()->GetText().c_str());
    for (int frame = 0; frame < 40; ++frame) {
        Frame(window);
        for (size_t i = 0; i < 4; ++i) {
            std::string now = window->GetDigits()[i]->GetText()->GetText().c_str();
            if (now != last[i]) changes[i].push_back(dialog->GetClock()->GetTime());
            last[i] = now;
        }
    }
    EXPECT_EQ(Shown(*window), "0002");
    for (size_t i = 0; i < 3; ++i) {
        ASSERT_EQ(changes[i].size(), 9u) << "digit " << i;
        for (size_t step = 1; step < changes[i].size(); ++step) {
            EXPECT_GE(changes[i][step] - changes[i][step - 1], 31) << "digit " << i;
        }
    }
    // The thousands roll up once while the others roll down.
    EXPECT_EQ(changes[3].size(), 1u);
}

TEST_F(RegisterTest, ADigitShowsItsDescriptionsFirstTextOrAPlainOne) {
    VRegister* plain = MakeRegister(1);
    std::shared_ptr<VDigit> digit = plain->GetDigits()[0];
    ASSERT_NE(digit->GetText(), nullptr);
    EXPECT_EQ(digit->GetText()->GetOwner(), digit);
    EXPECT_EQ(digit->GetText()->GetText(), TString("0"));

    VRegister* styled = Make<VRegister>(
        "{ w = 100, h = 40, digit = { w = 30, text = { face = { label = '#7', w = 30, h = 40 } } } }");
    digit = styled->GetDigits()[0];
    EXPECT_EQ(digit->GetText(), digit->GetTextSprite("face"));
    EXPECT_EQ(digit->GetText()->GetText(), TString("0"));
    EXPECT_EQ(digit->GetPosition(), TVec2(70, 0));

    for (int value : {-4, 12}) {
        digit->SetValue(value);
        EXPECT_EQ(digit->GetTarget(), value < 0 ? 0 : 9);
    }
}

}  // namespace
