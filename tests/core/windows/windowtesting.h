// Shared fixtures of the window tree tests: a window manager stand-in, a
// modal window and a renderer that records.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/app/message.h"
#include "core/windows/modalwindowlink.h"
#include "core/app/tasklist.h"
#include "core/windows/window.h"
#include "core/windows/windowmanagerlink.h"
#include "foundation/clock.h"
#include "graphics/render/recordingrenderbackend.h"
#include "graphics/render/renderer.h"
#include "windowrecording.h"

// What the window manager would do, reduced to records.
class FakeWindowManager : public TWindowManagerLink {
public:
    FakeWindowManager() { SetWindowManagerLink(this); }
    ~FakeWindowManager() override {
        SetWindowManagerLink(nullptr);
        for (TWindow* window : deferred) delete window;
        for (TMessage* message : posted) delete message;
        for (TMessage* message : queued) delete message;
    }

    void Invalidate() override { ++invalidations; }
    void SetFocus(TWindow* window) override {
        TWindow* previous = focus;
        focus = window;
        if (window) window->OnFocus(previous);
    }
    TWindow* GetRootWindow() const override { return root; }
    TWindow* GetTopModal() const override { return top; }
    void PostMessage(TMessage* message) override { posted.push_back(message); }
    void QueueScriptMessage(TMessage* message) override { queued.push_back(message); }
    TScript* GetScript() const override { return script; }
    void DestroyWindowDeferred(TWindow* window) override { deferred.push_back(window); }
    void OnWindowDestroyed(TWindow* window) override { destroyed.push_back(window); }
    bool OfferToEventHook(TWindow* window, const TPoint& point) override {
        hooked.push_back(window);
        hookPoint = point;
        return hookAnswer;
    }

    int invalidations = 0;
    TWindow* focus = nullptr;
    TWindow* root = nullptr;
    TWindow* top = nullptr;
    TScript* script = nullptr;
    std::vector<TMessage*> posted;
    std::vector<TMessage*> queued;
    std::vector<TWindow*> deferred;
    std::vector<TWindow*> destroyed;
    std::vector<TWindow*> hooked;
    TPoint hookPoint;
    bool hookAnswer = false;
};

// A modal window as far as the window tree needs one.
class TestModal : public RecordingWindow, public TModalWindowLink {
public:
    TestModal(const char* name, Journal* journal, TRect rect) : RecordingWindow(name, journal, rect) {
        SetKind(kModal | kFocusable);
    }

    void NoteCoveringChild(TWindow* window, bool covers) override {
        covering.push_back({window, covers});
    }
    TWindow* GetFocusWindow() const override { return focusWindow; }
    void AddTask(TTask* task) override { tasks.Add(task); }
    TClock* GetClock() override { return &clock; }

    struct CoverNote {
        TWindow* window;
        bool covers;
    };
    std::vector<CoverNote> covering;
    TWindow* focusWindow = nullptr;
    TClock clock;
    TTaskList tasks;  // declared last: deleted first, while the windows still live
};

// A fresh manager stand-in and a renderer that records into an 800x600 screen.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto backEnd = std::make_unique<TRecordingRenderBackEnd>(TRect(0, 0, 800, 600));
        recorder = backEnd.get();
        TRenderer::GetInstance()->SetBackEnd(std::move(backEnd));
    }
    void TearDown() override { TRenderer::DestroyInstance(); }

    FakeWindowManager manager;
    Journal log;
    TRecordingRenderBackEnd* recorder = nullptr;
};
