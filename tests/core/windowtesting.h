// Shared fixtures of the window tree tests: a window manager stand-in, a
// modal window and a window that records what reaches it.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/message.h"
#include "core/modalwindowlink.h"
#include "core/platformevent.h"
#include "core/tasklist.h"
#include "core/window.h"
#include "core/windowmanagerlink.h"
#include "foundation/clock.h"
#include "graphics/recordingrenderbackend.h"
#include "graphics/renderer.h"

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
    TScript* script = nullptr;
    std::vector<TMessage*> posted;
    std::vector<TMessage*> queued;
    std::vector<TWindow*> deferred;
    std::vector<TWindow*> destroyed;
    std::vector<TWindow*> hooked;
    TPoint hookPoint;
    bool hookAnswer = false;
};

// Shared record of what reached the test windows, in order.
struct EventLog {
    std::vector<std::string> entries;
    std::string Joined() const {
        std::string text;
        for (const std::string& entry : entries) text += (text.empty() ? "" : " ") + entry;
        return text;
    }
};

// A window that records its handlers and answers as told.
class RecordingWindow : public TWindow {
public:
    RecordingWindow(const char* name, EventLog* log, TRect rect = TRect()) : mLog(log) {
        SetName(name);
        SetPosition(rect.left, rect.top);
        SetSize(rect.right - rect.left, rect.bottom - rect.top);
    }

    void SetKind(uint32_t bits) { SetKindFlags(bits); }

    bool OnMouseDown(const TPoint& p) override { return Note("down", p); }
    bool OnMouseButton(const TPoint& p, int button) override { return Note("button" + std::to_string(button), p); }
    bool OnMouseUp(const TPoint& p) override { return Note("up", p); }
    bool OnMouseMove(const TPoint& p) override { return Note("move", p); }
    bool OnKeyDown(int key, int modifiers) override {
        return Note("key" + std::to_string(key) + "/" + std::to_string(modifiers));
    }
    bool OnKeyUp(int key) override { return Note("keyup" + std::to_string(key)); }
    bool OnChar(char c) override { return Note(std::string("char:") + c); }
    bool OnText(const TString& text) override { return handlesText && Note(std::string("text:") + text.c_str()); }
    bool OnMessage(TMessage* message) override {
        Note(std::string("msg:") + message->GetName().c_str());
        return handles;
    }
    void OnFocus(TWindow* previous) override {
        Note(std::string("focus<") + (previous ? previous->GetName().c_str() : "null"));
    }
    void Draw() override { NoteDraw("draw"); }
    void PostDraw() override { NoteDraw("post"); }
    bool OnAttach() override { return attachAnswer; }
    bool Animate() override {
        ++animations;
        return keepAnimating;
    }

    bool handles = false;        // answer of the event and message handlers
    bool handlesText = false;
    bool attachAnswer = true;
    bool keepAnimating = true;
    int animations = 0;
    // The renderer's viewport and view rectangle when Draw ran.
    TRect drawnViewport;
    TRect drawnViewRect;

private:
    bool Note(const std::string& what, const TPoint& p) {
        return Note(what + "@" + std::to_string(p.x) + "," + std::to_string(p.y));
    }
    bool Note(const std::string& what) {
        if (mLog) mLog->entries.push_back(std::string(GetName().c_str()) + ":" + what);
        return handles;
    }
    void NoteDraw(const char* what) {
        drawnViewport = TRenderer::GetInstance()->GetViewport();
        drawnViewRect = TRenderer::GetInstance()->GetViewRect();
        if (mLog) mLog->entries.push_back(std::string(GetName().c_str()) + ":" + what);
    }

    EventLog* mLog;
};

// A modal window as far as the window tree needs one.
class TestModal : public RecordingWindow, public TModalWindowLink {
public:
    TestModal(const char* name, EventLog* log, TRect rect) : RecordingWindow(name, log, rect) {
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

    static TPlatformEvent Event(int32_t type, int x = 0, int y = 0, int32_t param = 0, int32_t extra = 0) {
        TPlatformEvent event;
        event.type = type;
        event.x = x;
        event.y = y;
        event.param = param;
        event.extra = extra;
        return event;
    }

    FakeWindowManager manager;
    EventLog log;
    TRecordingRenderBackEnd* recorder = nullptr;
};
