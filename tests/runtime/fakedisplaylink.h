// A display for the platform tests: answers set by hand, calls counted.
#pragma once

#include <memory>

#include "graphics/display/displaylink.h"

class TFakeDisplayLink : public TDisplayLink {
public:
    bool IsDeviceReady() const override { return ready; }
    void Restore() override { ++restores; }
    void SetDisplay(int width, int height, bool fullScreenWish) override {
        displayWidth = width;
        displayHeight = height;
        fullScreen = fullScreenWish;
    }
    bool IsFullScreen() const override { return fullScreen; }
    bool SetFullScreen(bool on) override {
        ++fullScreenSwitches;
        if (switchWorks) fullScreen = on;
        return switchWorks;
    }
    bool IsFrameDone() const override { return frameDone; }
    void Deactivated() override { ++deactivations; }

    bool GetMousePosition(TPoint& position) const override {
        position = mouse;
        return hasMouse;
    }
    // As the display does, a move puts the pointer inside and a leave out.
    void MouseMoved() override {
        ++mouseMoves;
        hasMouse = true;
    }
    void MouseLeft() override {
        ++mouseLeaves;
        hasMouse = false;
    }
    void ShowMouseCursor(bool show) override {
        cursorShown = show;
        ++cursorShows;
    }
    void SetMouseImage(const std::shared_ptr<TTexture>& image, int hotX, int hotY, int flags) override {
        mouseImage = image;
        hotSpot = TPoint(hotX, hotY);
        mouseImageFlags = flags;
        ++mouseImages;
    }
    void UpdateSystemCursor() override { ++systemCursorUpdates; }

    bool ready = true;
    bool fullScreen = false;
    bool switchWorks = true;
    bool frameDone = true;
    bool hasMouse = true;
    TPoint mouse{100, 50};
    int displayWidth = 0;
    int displayHeight = 0;
    bool cursorShown = true;
    std::shared_ptr<TTexture> mouseImage;
    TPoint hotSpot;
    int mouseImageFlags = 0;

    int restores = 0;
    int fullScreenSwitches = 0;
    int deactivations = 0;
    int mouseMoves = 0;
    int mouseLeaves = 0;
    int cursorShows = 0;
    int mouseImages = 0;
    int systemCursorUpdates = 0;
};
