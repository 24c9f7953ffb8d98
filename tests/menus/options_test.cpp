#include "game/menus/options.h"

#include "core/app/message.h"
#include "game/progression/tutorialmanager.h"
#include "graphics/texture.h"
#include "widgets/button.h"
#include "widgets/image.h"
#include "widgets/slider.h"
#include "tests/menus/menutesting.h"

namespace {

class OptionsTest : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        StartSound();
        CreateGameWithUser();
    }
    void TearDown() override {
        ReleaseManagerSingleton<VTutorialManager>();
        MenuTest::TearDown();
    }

    // The screen with its boxes, its sliders and 200-pixel fill bars.
    TOptions* MakeOptions() {
        auto* options = Begin<TOptions>("{ name = 'options', w = 800, h = 600 }");
        for (const char* name :
             {"options_fullscreen_checkbox", "options_muteall_checkbox", "options_tutorials_checkbox"}) {
            Make<TButton>(std::string("{ name = '") + name + "', w = 20, h = 20 }", options);
        }
        for (const char* name : {"options_sfxlevel_slider", "options_musiclevel_slider"}) {
            Make<TSlider>(std::string("{ name = '") + name + "', w = 200, h = 20 }", options);
        }
        for (const char* name : {"sound_fill", "music_fill"}) {
            auto* fill = Make<TImage>(std::string("{ name = '") + name + "', x = 10, y = 40 }", options);
            fill->SetImage(TTexture::Create(200, 12, false), 1.0f);
        }
        Finish(options);
        Deliver();
        return options;
    }
    // Delivers the sliders' posted messages.
    static void Deliver() { TWindowManager::GetInstance()->DeliverMessages(); }
    template <typename Window>
    Window* Child(TOptions* options, const char* name) {
        return dynamic_cast<Window*>(options->FindChildWindow(name, -1));
    }
    bool Toggled(TOptions* options, const char* name) { return Child<TButton>(options, name)->GetToggleState(); }
};

TEST_F(OptionsTest, TheBoxesAndSlidersShowTheStoredOptions) {
    Prefs().SetInt(0, "soundoff", 1, true);
    Prefs().SetInt(0, "soundlevel", 250, true);
    VTutorialManager::Get()->SetTutorialsShown(false, false);
    TOptions* options = MakeOptions();
    EXPECT_EQ(Toggled(options, "options_fullscreen_checkbox"), VGame::Get()->IsFullScreen());
    EXPECT_TRUE(Toggled(options, "options_muteall_checkbox"));
    EXPECT_FALSE(Toggled(options, "options_tutorials_checkbox"));
    EXPECT_FLOAT_EQ(Child<TSlider>(options, "options_sfxlevel_slider")->GetValue(), 0.25f);
    EXPECT_FLOAT_EQ(Child<TSlider>(options, "options_musiclevel_slider")->GetValue(), 0.75f);
    // Each slider's change sized its bar, keeping the bar's corner.
    EXPECT_EQ(Child<TImage>(options, "sound_fill")->GetWidth(), 50);
    EXPECT_EQ(Child<TImage>(options, "music_fill")->GetWidth(), 150);
    EXPECT_EQ(Child<TImage>(options, "music_fill")->GetRect().left, 10);
    EXPECT_EQ(Child<TImage>(options, "music_fill")->GetHeight(), 12);
}

TEST_F(OptionsTest, MovingASliderSetsTheVolumeAtOnceAndTheLevelOnlyWhenSaved) {
    TOptions* options = MakeOptions();
    Child<TSlider>(options, "options_sfxlevel_slider")->SetValue(0.5f, false);
    Deliver();
    EXPECT_EQ(Child<TImage>(options, "sound_fill")->GetWidth(), 100);
    EXPECT_FLOAT_EQ(sound->GetGroupVolume(VSoundManager::kEffectGroup), 0.5f);
    EXPECT_FLOAT_EQ(sound->GetGroupVolume(0), 0.5f);
    EXPECT_EQ(Prefs().GetInt(0, "soundlevel", 750), 750);

    Child<TSlider>(options, "options_musiclevel_slider")->SetValue(0.2f, false);
    Deliver();
    EXPECT_EQ(Child<TImage>(options, "music_fill")->GetWidth(), 40);
    EXPECT_FLOAT_EQ(sound->GetGroupVolume(VSoundManager::kMusicGroup), 0.2f);
    EXPECT_FLOAT_EQ(sound->GetGroupVolume(0), 0.5f);

    EXPECT_EQ(Run("SaveVolumes()"), "");
    EXPECT_EQ(Prefs().GetInt(0, "soundlevel", 0), 500);
    EXPECT_EQ(Prefs().GetInt(0, "musiclevel", 0), 200);
}

TEST_F(OptionsTest, ARailClickStepsItsSliderATenthTowardsTheClick) {
    TOptions* options = MakeOptions();
    struct Case {
        const char* slider;
        int32_t type;
        float start;
        float value;
        const char* fill;
        int fillWidth;
    };
    const Case cases[] = {
        {"options_sfxlevel_slider", TMessage::kSliderPageUp, 0.5f, 0.4f, "sound_fill", 80},
        {"options_musiclevel_slider", TMessage::kSliderPageDown, 0.5f, 0.6f, "music_fill", 120},
        {"options_musiclevel_slider", TMessage::kSliderPageDown, 0.95f, 1.0f, "music_fill", 200},
        {"options_sfxlevel_slider", TMessage::kSliderPageUp, 0.05f, 0.0f, "sound_fill", 0},
    };
    for (const Case& c : cases) {
        auto* slider = Child<TSlider>(options, c.slider);
        slider->SetValue(c.start, true);
        TMessage page(c.type, c.slider, nullptr);
        EXPECT_TRUE(options->OnMessage(&page)) << c.slider << " " << c.start;
        Deliver();
        EXPECT_FLOAT_EQ(slider->GetValue(), c.value) << c.slider << " " << c.start;
        EXPECT_EQ(Child<TImage>(options, c.fill)->GetWidth(), c.fillWidth) << c.slider << " " << c.start;
    }
    EXPECT_FLOAT_EQ(sound->GetGroupVolume(VSoundManager::kEffectGroup), 0.0f);
    EXPECT_FLOAT_EQ(sound->GetGroupVolume(VSoundManager::kMusicGroup), 1.0f);

    TMessage other(TMessage::kSliderPageUp, "scroll_slider", nullptr);
    EXPECT_FALSE(options->OnMessage(&other));
}

TEST_F(OptionsTest, TheTutorialsBoxFlipsTheOptionAndPassesThePressOn) {
    TOptions* options = MakeOptions();
    ASSERT_TRUE(VTutorialManager::Get()->AreTutorialsShown());
    TMessage press(TMessage::kButtonPress, "options_tutorials_checkbox", nullptr);
    EXPECT_FALSE(options->OnMessage(&press));
    EXPECT_FALSE(VTutorialManager::Get()->AreTutorialsShown());
    EXPECT_FALSE(options->OnMessage(&press));
    EXPECT_TRUE(VTutorialManager::Get()->AreTutorialsShown());
    TMessage other(TMessage::kButtonPress, "options_muteall_checkbox", nullptr);
    EXPECT_FALSE(options->OnMessage(&other));
    EXPECT_TRUE(VTutorialManager::Get()->AreTutorialsShown());
}

TEST_F(OptionsTest, MissingOrMistypedChildrenAreSkipped) {
    auto* options = Begin<TOptions>("{ name = 'options', w = 800, h = 600 }");
    Make<TWindow>("{ name = 'options_sfxlevel_slider', w = 200, h = 20 }", options);
    Make<TImage>("{ name = 'music_fill' }", options);
    Make<TSlider>("{ name = 'options_musiclevel_slider', w = 200, h = 20 }", options);
    Finish(options);
    Deliver();
    EXPECT_EQ(options->FindChildWindow("music_fill", -1)->GetWidth(), 0);
    EXPECT_EQ(Run("SaveVolumes()"), "");
    EXPECT_EQ(Prefs().GetInt(0, "soundlevel", -1), -1);
    EXPECT_EQ(Prefs().GetInt(0, "musiclevel", -1), 750);
}

}  // namespace
