// Shared fixtures of the window manager tests: platform services that tests
// set by hand, a button, and a manager with a root screen on a recording
// 800x600 renderer.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/windows/buttonlink.h"
#include "core/scripting/luaobject.h"
#include "core/app/frameservices.h"
#include "core/app/message.h"
#include "core/windows/modalwindow.h"
#include "core/app/platformevent.h"
#include "core/windows/screen.h"
#include "core/app/tasklist.h"
#include "core/windows/windowmanager.h"
#include "graphics/render/recordingrenderbackend.h"
#include "graphics/render/renderer.h"
#include "platform/os/timer.h"
#include "windowrecording.h"

class FakeFrameServices : public TFrameServices {
public:
    uint32_t Timer() const override { return now; }
    void PostQuit(int exitCode) override { quits.push_back(exitCode); }
    bool IsFrameDone() const override { return frameDone; }
    bool IsActiveWindow() const override { return active; }
    bool IsHosted() const override { return hosted; }
    bool IsRelativeMouse() const override { return relativeMouse; }
    TTaskList& GetTaskList() override { return tasks; }
    bool CanDraw() const override { return canDraw; }
    bool BeginDraw() override {
        ++beginDraws;
        Note("frame:begin");
        return beginDrawAnswer;
    }
    void EndDraw(bool present) override { presented.push_back(present); }
    bool BeginRenderTarget(TTexture* target) override {
        targets.push_back(target);
        Note("frame:target");
        return targetAnswer;
    }
    void EndRenderTarget() override {
        ++targetEnds;
        Note("frame:target-end");
    }

    uint32_t now = 0;
    bool frameDone = true;
    bool active = true;
    bool hosted = false;
    bool relativeMouse = false;
    bool canDraw = true;
    bool beginDrawAnswer = true;
    bool targetAnswer = true;
    int beginDraws = 0;
    int targetEnds = 0;
    std::vector<int> quits;
    std::vector<bool> presented;
    std::vector<TTexture*> targets;
    TTaskList tasks;
    // Notes the frame calls among the windows' entries when set.
    Journal* journal = nullptr;

private:
    void Note(const char* call) {
        if (journal) journal->Note(call);
    }
};

using RecordingModal = Recording<TModalWindow>;

// A button as far as modal windows press it.
class FakeButton : public TWindow, public TButtonLink {
public:
    FakeButton(const char* name, uint32_t kindBits = 0) {
        SetName(name);
        SetKindFlags(kindBits);
        SetFlags(kVisible);
    }
    bool Click() override {
        ++clicks;
        return takesClick;
    }
    int Activate() override {
        ++activations;
        return 0;
    }
    TString GetLabel() const override { return label; }
    void SetLabel(const TString& text) override { label = text; }
    bool GetToggleState() const override { return on; }
    void SetToggleState(bool state) override { on = state; }
    void SetLuaAction(std::unique_ptr<TLuaFunction> function) override { action = std::move(function); }

    int clicks = 0;
    int activations = 0;
    bool takesClick = true;
    TString label;
    bool on = false;
    std::unique_ptr<TLuaFunction> action;
};

class WindowManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        os::SetCurrentTimer(&timer);
        auto backEnd = std::make_unique<TRecordingRenderBackEnd>(TRect(0, 0, 800, 600));
        recorder = backEnd.get();
        TRenderer::GetInstance()->SetBackEnd(std::move(backEnd));
        manager = std::make_unique<TWindowManager>(services);
        screen = new Recording<TScreen>("_screen_", &journal, TRect());
        manager->SetRootWindow(screen);
        journal.entries.clear();
    }
    void TearDown() override {
        manager.reset();
        TRenderer::DestroyInstance();
        os::SetCurrentTimer(nullptr);
    }

    // A modal window pushed on the stack, with the given rectangle.
    RecordingModal* Push(const char* name, TRect rect = TRect()) {
        auto* modal = new RecordingModal(name, &journal, rect);
        manager->PushModal(modal);
        return modal;
    }
    // A window added to the parent (no attach).
    RecordingWindow* Child(TWindow* parent, const char* name, TRect rect) {
        auto* window = new RecordingWindow(name, &journal, rect);
        parent->AddChild(window, false);
        return window;
    }
    // Names of the stacked modal windows, top first.
    std::string Stack() const {
        std::string text;
        for (TModalWindow* modal : manager->GetModalStack()) {
            text += std::string(text.empty() ? "" : " ") + modal->GetName().c_str();
        }
        return text;
    }
    // An idle tick at the given time.
    void TickAt(uint32_t milliseconds) {
        services.now = milliseconds;
        manager->HandleEvent(Event(TPlatformEvent::kIdle));
    }

    os::FakeTimer timer{1000};
    FakeFrameServices services;
    TRecordingRenderBackEnd* recorder = nullptr;
    Journal journal;
    std::unique_ptr<TWindowManager> manager;
    Recording<TScreen>* screen = nullptr;
};
