#include "game/menus/options.h"

#include "core/app/message.h"
#include "core/windows/windowmanager.h"
#include "core/windows/windowspider.h"
#include "foundation/prefs.h"
#include "game/progression/tutorialmanager.h"
#include "game/shell/game.h"
#include "game/shell/gamesoundmanager.h"
#include "game/widgets/widgetclass.h"
#include "graphics/texture.h"
#include "widgets/button.h"
#include "widgets/image.h"
#include "widgets/slider.h"
#include "sound/soundmanager.h"

namespace {

const char kFullScreenBox[] = "options_fullscreen_checkbox";
const char kEffectsSlider[] = "options_sfxlevel_slider";
const char kMusicSlider[] = "options_musiclevel_slider";
const char kTutorialsBox[] = "options_tutorials_checkbox";
const char kEffectsLevelKey[] = "soundlevel";
const char kMusicLevelKey[] = "musiclevel";
const int kDefaultLevel = 750;
// A click on a volume rail moves the thumb this much towards the click.
const float kPageStep = 0.1f;

int GetUserInt(const char* key, int fallback) {
    TPrefs* prefs = GetGamePrefs();
    return prefs ? prefs->GetInt(GetCurrentUserNumber(), key, fallback) : fallback;
}

// Sets the full-screen box of each options screen it visits below a window.
class FullScreenBoxes : public TWindowSpider {
public:
    explicit FullScreenBoxes(bool on) : mOn(on) {}

    bool Visit(TWindow* window) override {
        if (dynamic_cast<TOptions*>(window)) {
            if (auto* box = FindChildAs<TButton>(window, kFullScreenBox)) box->SetToggleState(mOn);
        }
        return window->VisitChildren(*this, false);
    }

private:
    bool mOn;
};

}  // namespace

TWindow* TOptions::Create() {
    return new TOptions();
}

TOptions::TOptions() {
    mFunctions.Publish("SaveVolumes", this, &TOptions::SaveVolumes);
}

const char* TOptions::GetClassName() const {
    return "TOptions";
}

bool TOptions::IsA(TWindowClassId id) const {
    return IsClassIdIn(id, {ClassId(), TWindow::ClassId()});
}

void TOptions::PostInit(const TWindowStyle& style) {
    TWindow::PostInit(style);
    VGame* game = VGame::Get();
    SetToggle(kFullScreenBox, game && game->IsFullScreen());
    SetToggle("options_muteall_checkbox", GetUserInt("soundoff", 0) == 1);
    SetToggle(kTutorialsBox, VTutorialManager::Get()->AreTutorialsShown());
    for (auto [slider, key] : {std::pair{kEffectsSlider, kEffectsLevelKey}, std::pair{kMusicSlider, kMusicLevelKey}}) {
        if (auto* window = FindChildAs<TSlider>(this, slider)) {
            window->SetValue(static_cast<float>(GetUserInt(key, kDefaultLevel)) / 1000.0f, false);
        }
    }
}

bool TOptions::OnMessage(TMessage* message) {
    const TString& sender = message->GetName();
    if (message->GetType() == TMessage::kSliderValChanged) {
        if (sender == kEffectsSlider) {
            ApplyLevel(kEffectsSlider, "sound_fill", {VSoundManager::kEffectGroup, 0});
            return true;
        }
        if (sender == kMusicSlider) {
            ApplyLevel(kMusicSlider, "music_fill", {VSoundManager::kMusicGroup});
            return true;
        }
    }
    bool page = message->GetType() == TMessage::kSliderPageUp || message->GetType() == TMessage::kSliderPageDown;
    if (page && (sender == kEffectsSlider || sender == kMusicSlider)) {
        PageSlider(sender.c_str(), message->GetType() == TMessage::kSliderPageUp ? -kPageStep : kPageStep);
        return true;
    }
    if (message->GetType() == TMessage::kButtonPress && sender == kTutorialsBox) {
        std::shared_ptr<VTutorialManager> tutorials = VTutorialManager::Get();
        tutorials->SetTutorialsShown(!tutorials->AreTutorialsShown(), true);
    }
    return false;
}

void TOptions::SaveVolumes() {
    SaveLevel(kEffectsSlider, kEffectsLevelKey);
    SaveLevel(kMusicSlider, kMusicLevelKey);
}

void TOptions::ShowFullScreen(bool on) {
    TWindowManager* manager = TWindowManager::GetInstance();
    TWindow* root = manager ? manager->GetRootWindow() : nullptr;
    if (!root) return;
    FullScreenBoxes boxes(on);
    boxes.Visit(root);
}

void TOptions::SetToggle(const char* name, bool on) {
    if (auto* button = FindChildAs<TButton>(this, name)) button->SetToggleState(on);
}

void TOptions::ApplyLevel(const char* slider, const char* fill, std::initializer_list<int> groups) {
    auto* window = FindChildAs<TSlider>(this, slider);
    if (!window) return;
    float value = window->GetValue();
    if (TSoundManager* sound = GetSoundManager()) {
        for (int group : groups) sound->SetGroupVolume(group, value);
    }
    auto* bar = FindChildAs<TImage>(this, fill);
    if (!bar || !bar->GetTexture()) return;
    const std::shared_ptr<TTexture>& texture = bar->GetTexture();
    bar->SetSize(static_cast<int>(static_cast<float>(texture->GetWidth()) * value), texture->GetHeight());
}

// The change message the step sends runs the volume and the fill bar.
void TOptions::PageSlider(const char* slider, float step) {
    if (auto* window = FindChildAs<TSlider>(this, slider)) window->SetValue(window->GetValue() + step, false);
}

void TOptions::SaveLevel(const char* slider, const char* key) {
    auto* window = FindChildAs<TSlider>(this, slider);
    TPrefs* prefs = GetGamePrefs();
    if (!window || !prefs) return;
    prefs->SetInt(GetCurrentUserNumber(), key, static_cast<int>(window->GetValue() * 1000.0f), true);
}
