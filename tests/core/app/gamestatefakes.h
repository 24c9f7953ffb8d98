// Shared pieces of the game state tests: platform services that record what
// is asked of them, a handler that holds the game, a sound manager on a
// manual device, and a fixture that leaves no game state, handler, portal
// state or timer behind.
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

// The host window of the tests that run hosted.
constexpr host::Handle kHost = 9;

class FakeServices : public TGameStateServices {
public:
    // Talks to a live host window kHost through `recording`.
    void ConnectHost(host::RecordingChannel& recording) {
        recording.SetAlive(kHost, true);
        channel = &recording;
        window = kHost;
    }

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

// Records writes; holds the game for as many questions as told (-1: always).
class HoldingHandler : public TGameStateHandler {
public:
    bool HandleSetState(const char* key, const char* value) override {
        writes.push_back(std::string(key) + "=" + value);
        return false;
    }
    bool IsHoldingGame() override {
        if (holdFor == 0) return false;
        if (holdFor > 0) --holdFor;
        return true;
    }

    std::vector<std::string> writes;
    int holdFor = 0;
};

// Leaves no game state, handler, services or portal state for the next test.
inline void ClearGameState() {
    delete TGameState::Get();  // also deletes handlers added without one
    SetGameStateServices(nullptr);
    ResetPortalState();
}

class GameStateTest : public ::testing::Test {
protected:
    void SetUp() override {
        os::SetCurrentTimer(&timer);
        SetGameStateServices(&services);
    }
    void TearDown() override {
        ClearGameState();
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
