// Shared pieces of the game state tests: platform services that record what
// is asked of them, a sound manager on a manual device, and a fixture that
// leaves no game state, handler, portal state or timer behind.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/app/gamestate.h"
#include "core/app/gamestateservices.h"
#include "core/app/msnzylomhandler.h"
#include "platform/audio/manualdevice.h"
#include "platform/host/recordingchannel.h"
#include "platform/os/timer.h"
#include "sound/soundmanager.h"

class FakeServices : public TGameStateServices {
public:
    TSoundManager* GetSoundManager() override { return sound; }
    void PublishGameStateFunctions() override { ++published; }
    bool IsHostedMode() const override { return hosted; }
    host::Channel* GetHostChannel() override { return channel; }
    host::Handle GetHostWindow() const override { return window; }
    bool HasMouseCapture() const override { return captured; }
    void ReleaseMouseCapture() override { calls.push_back("ReleaseMouseCapture"); }
    void ShowSystemCursor(bool show) override { calls.push_back(show ? "ShowSystemCursor(1)" : "ShowSystemCursor(0)"); }
    void SetArrowCursor() override { calls.push_back("SetArrowCursor"); }
    void RestoreCursor() override { calls.push_back("RestoreCursor"); }
    void UpdateSystemCursor() override { calls.push_back("UpdateSystemCursor"); }

    TSoundManager* sound = nullptr;
    host::Channel* channel = nullptr;
    host::Handle window = host::kNoWindow;
    bool hosted = false;
    bool captured = false;
    int published = 0;
    std::vector<std::string> calls;  // cursor and capture calls, in order
};

class GameStateTest : public ::testing::Test {
protected:
    void SetUp() override {
        os::SetCurrentTimer(&timer);
        SetGameStateServices(&services);
    }
    void TearDown() override {
        delete TGameState::Get();  // also deletes handlers added without one
        SetGameStateServices(nullptr);
        ResetPortalState();
        os::SetCurrentTimer(nullptr);
    }

    // A sound manager whose master volume starts at `master`.
    void UseSound(float master) {
        sound = std::make_unique<TSoundManager>(std::make_unique<audio::ManualDevice>());
        sound->SetMasterVolume(master);
        services.sound = sound.get();
    }
    float MasterVolume() { return sound->GetGroupVolume(-1); }

    TGameState& State() { return *TGameState::Get(); }

    os::FakeTimer timer{100000};
    FakeServices services;
    std::unique_ptr<TSoundManager> sound;
};
