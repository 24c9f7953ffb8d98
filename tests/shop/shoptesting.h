// A level screen as a level script makes it: in a dialog window beside its
// "text_window", current while it lives. Around it the game state keeps the
// statistics (a handler records the writes), the effects play on a sound
// device that only mixes when told, and level 1 has a goal of 100 and a
// mastery score of 200.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/app/gamestate.h"
#include "core/app/gamestateservices.h"
#include "core/windows/windowstyle.h"
#include "game/level/levelmanager.h"
#include "game/shell/gamesoundmanager.h"
#include "game/shop/shopwindow.h"
#include "game/texts/activetext.h"
#include "graphics/text/textlayout.h"
#include "platform/audio/manualdevice.h"
#include "sound/sound.h"
#include "sound/soundmanager.h"
#include "tests/core/app/gamestatefakes.h"
#include "tests/core/app/recordinghandler.h"
#include "tests/floor/floortesting.h"
#include "tests/support/oggwriter.h"

// The effects the level's payments and customers play.
inline const std::vector<std::string> kShopSounds = {"menu", "customer_leaves", "chomp",
                                                     "score_board", "goal", "master"};

// Adds the level screen to a fixture of the shop floor.
template <typename Base>
class ShopScreenTest : public Base {
protected:
    void SetUp() override {
        Base::SetUp();
        SetGameStateServices(&services);
        records = new RecordingHandler();
        TGameState::AddHandler(records);
        sound = std::make_unique<TSoundManager>(std::make_unique<audio::ManualDevice>());
        ASSERT_TRUE(sound->Start());
        SetSoundManager(sound.get());
        VSoundManager::Create();
        for (const std::string& name : kShopSounds) {
            this->WriteAsset("audio/sfx/" + name + ".ogg", MakeOgg(22050, 1, 2205));
        }
        this->WriteAsset("levels/goals.xml",
                         "<levelgoals><levelgoal level=\"1\" goal=\"100\" mastery=\"200\"/></levelgoals>");
        this->SetValue("current_level", 1);
        dialog = std::make_unique<TWindow>();
        layer = new RActiveTextLayer();
        layer->SetName("text_window");
        dialog->AddChild(layer, false);
        screen = new ShopWindow();
        dialog->AddChild(screen, false);
        TWindowStyle style(nullptr);
        screen->PostInit(style);
        screen->GetSpriteManager()->SetClock(&this->clock);
    }
    void TearDown() override {
        dialog.reset();
        VSoundManager::Release();
        SetSoundManager(nullptr);
        sound.reset();
        ReleaseManagerSingleton<VLevelManager>();
        ClearGameState();
        Base::TearDown();
    }

    // The effects started since the last call, by file name, in order.
    std::vector<std::string> Played() {
        std::vector<std::string> names;
        for (const std::shared_ptr<VSound>& played : VSoundManager::Get()->GetSounds()) {
            names.push_back(played->GetSound()->GetFileName().c_str());
        }
        VSoundManager::Get()->PurgeSounds();
        return names;
    }

    // The floating texts shown, in order.
    std::vector<std::string> Texts() const {
        std::vector<std::string> shown;
        for (size_t index = 0; index < layer->GetTextCount(); ++index) {
            shown.push_back(layer->GetText(index)->GetLayout()->GetText().c_str());
        }
        return shown;
    }

    static float Value(const char* name) { return VValueManager::Get()->GetReal(name, 0); }
    static std::string State(const char* key) { return TGameState::Get()->GetState(key).c_str(); }

    FakeServices services;
    RecordingHandler* records = nullptr;
    std::unique_ptr<TSoundManager> sound;
    std::unique_ptr<TWindow> dialog;
    RActiveTextLayer* layer = nullptr;
    ShopWindow* screen = nullptr;
};
