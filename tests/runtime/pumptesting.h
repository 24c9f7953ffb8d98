// A platform data on a scripted window, a fake display and a sound manager
// on the manual audio device, with the platform timer under the test's hand.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/app/frameservices.h"
#include "core/app/platformevent.h"
#include "core/app/tasklist.h"
#include "runtime/platformdata.h"
#include "core/windows/windowmanager.h"
#include "fakedisplaylink.h"
#include "platform/os/timer.h"
#include "platform/audio/manualdevice.h"
#include "platform/window/scriptedwindow.h"
#include "sound/soundmanager.h"
#include "tests/support/headlessservices.h"

namespace pumptest {

using window::EventKind;
using window::NativeEvent;

// The waits the pump asked for; the fake time does not move by them.
inline std::vector<uint32_t>& Sleeps() {
    static std::vector<uint32_t> sleeps;
    return sleeps;
}

inline void RecordSleep(uint32_t milliseconds) {
    Sleeps().push_back(milliseconds);
}

inline NativeEvent Native(EventKind kind) {
    NativeEvent event;
    event.kind = kind;
    return event;
}

inline NativeEvent Key(EventKind kind, int32_t key, uint32_t modifiers = 0, bool extended = false) {
    NativeEvent event = Native(kind);
    event.key = key;
    event.modifiers = modifiers;
    event.extended = extended;
    return event;
}

inline NativeEvent Text(const std::string& utf8) {
    NativeEvent event = Native(EventKind::kText);
    utf8.copy(event.text, sizeof(event.text) - 1);
    return event;
}

inline NativeEvent ButtonEvent(EventKind kind, window::Button button, uint32_t modifiers = 0) {
    NativeEvent event = Native(kind);
    event.button = button;
    event.modifiers = modifiers;
    return event;
}

inline NativeEvent Wheel(int32_t x, int32_t y, uint32_t modifiers = 0) {
    NativeEvent event = Native(EventKind::kWheel);
    event.wheelX = x;
    event.wheelY = y;
    event.modifiers = modifiers;
    return event;
}

inline NativeEvent Move(int32_t x, int32_t y) {
    NativeEvent event = Native(EventKind::kMouseMove);
    event.x = x;
    event.y = y;
    return event;
}

inline NativeEvent FocusGained(bool pointerInside) {
    NativeEvent event = Native(EventKind::kFocusGained);
    event.pointerInside = pointerInside;
    return event;
}

// type, param and extra of an event, for comparing sequences.
struct Seen {
    int32_t type;
    int32_t param = 0;
    int32_t extra = 0;
    bool operator==(const Seen& other) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Seen& seen) {
    return out << "{" << seen.type << ", " << seen.param << ", " << seen.extra << "}";
}

class PumpTest : public ::testing::Test {
protected:
    void SetUp() override {
        os::SetCurrentTimer(&mTimer);
        Sleeps().clear();
        SetSoundManager(&mSound);
    }

    void TearDown() override {
        mData.reset();
        SetSoundManager(nullptr);
        os::SetCurrentTimer(nullptr);
    }

    void Make(const TPlatformSetup& setup = {}) {
        auto window = std::make_unique<window::ScriptedWindow>();
        mWindow = window.get();
        mData = std::make_unique<TPlatformData>(setup, std::move(window));
        mData->SetSleepFunction(RecordSleep);
        mData->SetDisplayLink(&mDisplay);
    }

    TPlatformEvent Next() {
        TPlatformEvent event;
        mData->GetEvent(event);
        return event;
    }

    // The events up to the first idle tick, which is left out.
    std::vector<Seen> UntilIdle() {
        std::vector<Seen> seen;
        for (int i = 0; i < 100; ++i) {
            TPlatformEvent event = Next();
            if (event.type == TPlatformEvent::kIdle) break;
            seen.push_back({event.type, event.param, event.extra});
        }
        return seen;
    }

    // Platform time: the data was built at fake time 0.
    void At(uint32_t milliseconds) { mTimer.Set(milliseconds); }

    os::FakeTimer mTimer{0};
    TFakeDisplayLink mDisplay;
    TSoundManager mSound{std::make_unique<audio::ManualDevice>()};
    window::ScriptedWindow* mWindow = nullptr;
    std::unique_ptr<TPlatformData> mData;
};

}  // namespace pumptest
