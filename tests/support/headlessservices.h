// The services of a window manager and its window script where no frames
// are drawn (benches, the pump's tests): the platform's timer, no
// clipboard, strings or movies.
#pragma once

#include <memory>

#include "core/app/frameservices.h"
#include "core/app/tasklist.h"
#include "core/windows/scriptservices.h"
#include "platform/flash/player.h"
#include "platform/os/timer.h"

// Frames are never drawn: the road is measured, not the drawing.
class NoFrameServices : public TFrameServices {
public:
    uint32_t Timer() const override { return os::TimeMilliseconds(); }
    void PostQuit(int) override {}
    bool IsFrameDone() const override { return true; }
    bool IsActiveWindow() const override { return true; }
    bool IsHosted() const override { return false; }
    bool IsRelativeMouse() const override { return false; }
    TTaskList& GetTaskList() override { return tasks; }
    bool CanDraw() const override { return false; }
    bool BeginDraw() override { return false; }
    void EndDraw(bool) override {}
    bool BeginRenderTarget(TTexture*) override { return false; }
    void EndRenderTarget() override {}

    TTaskList tasks;
};

class NoScriptServices : public TScriptServices {
public:
    uint32_t Timer() const override { return os::TimeMilliseconds(); }
    bool PutClipboardText(const TString&) override { return false; }
    const TStringTable* GetStringTable() const override { return nullptr; }
    std::unique_ptr<flash::Player> CreateMoviePlayer() override { return nullptr; }
};
