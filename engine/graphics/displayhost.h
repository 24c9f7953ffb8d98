// What the display classes ask of the platform: time, sleeping, message
// boxes, embedding, the view scale, the out-of-video-memory switch and the
// mouse position. TFakeDisplayHost stands in for the platform in tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/rect.h"

enum class TMessageBoxIcon { kNone, kWarning, kError };

class TDisplayHost {
public:
    virtual ~TDisplayHost() = default;

    // Platform milliseconds; wraps around after 2^32.
    virtual uint32_t Timer() const = 0;
    virtual void Sleep(uint32_t milliseconds) = 0;
    virtual void MessageBox(const char* text, const char* caption, TMessageBoxIcon icon) = 0;
    // Running inside a parent window given on the command line.
    virtual bool IsEmbedded() const = 0;
    // Display pixels to window pixels (the "viewportscale" setting); may be
    // anything the setting held, callers guard against values <= 0.
    virtual float GetViewScale() const = 0;
    // Switches the display to low-memory video.
    virtual void OutOfVideoMemory() = 0;
    // The mouse position in desktop coordinates.
    virtual TPoint GetCursorPosition() const = 0;
};

class TFakeDisplayHost : public TDisplayHost {
public:
    struct Box {
        std::string text, caption;
        TMessageBoxIcon icon;
    };

    uint32_t Timer() const override { return now; }
    // Sleeping moves the fake time on.
    void Sleep(uint32_t milliseconds) override {
        sleeps.push_back(milliseconds);
        now += milliseconds;
    }
    void MessageBox(const char* text, const char* caption, TMessageBoxIcon icon) override {
        boxes.push_back({text, caption, icon});
    }
    bool IsEmbedded() const override { return embedded; }
    float GetViewScale() const override { return viewScale; }
    void OutOfVideoMemory() override { ++outOfVideoMemoryCalls; }
    TPoint GetCursorPosition() const override { return cursor; }

    uint32_t now = 0;
    bool embedded = false;
    float viewScale = 1.0f;
    TPoint cursor;
    std::vector<uint32_t> sleeps;
    std::vector<Box> boxes;
    int outOfVideoMemoryCalls = 0;
};
