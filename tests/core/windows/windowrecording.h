// Shared by the window tree and window manager tests: windows that record
// what reaches them in a journal, and event records made in one call.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/app/message.h"
#include "core/app/platformevent.h"
#include "core/windows/window.h"
#include "graphics/render/renderer.h"

// What reached the test windows, in order, as "name:what" entries.
struct Journal {
    std::vector<std::string> entries;

    void Note(const std::string& entry) { entries.push_back(entry); }
    std::string Joined() const { return JoinedEndingIn(""); }
    // Only the Draw calls, for tests of which windows a frame drew.
    std::string Draws() const { return JoinedEndingIn(":draw"); }

private:
    std::string JoinedEndingIn(const std::string& suffix) const {
        std::string text;
        for (const std::string& entry : entries) {
            if (entry.size() < suffix.size() || entry.substr(entry.size() - suffix.size()) != suffix) continue;
            text += (text.empty() ? "" : " ") + entry;
        }
        return text;
    }
};

inline TPlatformEvent Event(int32_t type, int x = 0, int y = 0, int32_t param = 0, int32_t extra = 0) {
    TPlatformEvent event;
    event.type = type;
    event.x = x;
    event.y = y;
    event.param = param;
    event.extra = extra;
    return event;
}

// A window of the base class that notes its handlers and answers as the
// test sets; the base's own handling of keys, characters, messages, focus and
// drawing runs first.
template <typename Base>
class Recording : public Base {
public:
    Recording(const char* name, Journal* journal, TRect rect = TRect()) : mJournal(journal) {
        this->SetName(name);
        this->SetPosition(rect.left, rect.top);
        this->SetSize(rect.right - rect.left, rect.bottom - rect.top);
    }

    void SetKind(uint32_t bits) { this->SetKindFlags(bits); }

    bool OnMouseDown(const TPoint& p) override {
        bool handled = Note("down", p);
        if (onDown) onDown();
        return handled;
    }
    bool OnMouseButton(const TPoint& p, int button) override { return Note("button" + std::to_string(button), p); }
    bool OnMouseUp(const TPoint& p) override { return Note("up", p); }
    bool OnMouseMove(const TPoint& p) override { return Note("move", p); }
    bool OnMouseLeave(const TPoint& p) override { return Note("leave", p); }
    bool OnMouseCancel() override {
        Note("cancel");
        if (onCancel) onCancel();
        return false;
    }
    bool OnKeyDown(int key, int modifiers) override {
        if (Base::OnKeyDown(key, modifiers)) return true;
        return Note("key" + std::to_string(key) + "/" + std::to_string(modifiers));
    }
    bool OnKeyUp(int key) override { return Note("keyup" + std::to_string(key)); }
    bool OnChar(char c) override {
        if (Base::OnChar(c)) return true;
        return Note(std::string("char:") + c);
    }
    bool OnText(const TString& text) override { return handlesText && Note(std::string("text:") + text.c_str()); }
    bool OnMessage(TMessage* message) override {
        if (Base::OnMessage(message)) return true;
        return Note("msg" + std::to_string(message->GetType()) + ":" + message->GetName().c_str());
    }
    void OnFocus(TWindow* previous) override {
        Note(std::string("focus<") + (previous ? previous->GetName().c_str() : "null"));
        Base::OnFocus(previous);
    }
    void OnModalPopped() override { Note("popped"); }
    bool OnAttach() override { return Base::OnAttach() && attachAnswer; }
    void Draw() override {
        Base::Draw();
        drawnViewport = TRenderer::GetInstance()->GetViewport();
        drawnViewRect = TRenderer::GetInstance()->GetViewRect();
        Note("draw");
    }
    void PostDraw() override {
        Base::PostDraw();
        Note("post");
    }
    bool Animate() override {
        ++animations;
        return keepAnimating;
    }

    bool handles = false;  // answer of the event and message handlers
    bool handlesText = false;
    bool attachAnswer = true;
    bool keepAnimating = true;
    int animations = 0;
    std::function<void()> onCancel;
    std::function<void()> onDown;
    // The renderer's viewport and view rectangle when Draw ran.
    TRect drawnViewport;
    TRect drawnViewRect;

private:
    bool Note(const std::string& what, const TPoint& p) {
        return Note(what + "@" + std::to_string(p.x) + "," + std::to_string(p.y));
    }
    bool Note(const std::string& what) {
        if (mJournal) mJournal->Note(std::string(this->GetName().c_str()) + ":" + what);
        return handles;
    }

    Journal* mJournal;
};

using RecordingWindow = Recording<TWindow>;
