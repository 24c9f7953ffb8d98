// A platform facade for the movie and cross-sell tests: it keeps the flags it
// is given and notes every call in order.
#pragma once

#include <string>
#include <vector>

#include "core/windows/platformlink.h"
#include "foundation/stringtable.h"

class FakePlatform : public TPlatformLink {
public:
    FakePlatform() { SetPlatformLink(this); }
    ~FakePlatform() override { SetPlatformLink(nullptr); }

    bool IsSystemCursorShown() const override { return cursorShown; }
    void ShowSystemCursor(bool show) override {
        cursorShown = show;
        calls.push_back(show ? "cursor:on" : "cursor:off");
    }
    void SetMouseBlocked(bool on) override {
        blocked = on;
        calls.push_back(on ? "block:on" : "block:off");
    }
    void FlipToGdiSurface() override { calls.push_back("flip"); }
    void ResetMouseImage() override { calls.push_back("mouse-image"); }
    void FocusGameWindow() override { calls.push_back("focus"); }
    bool OpenBrowser(const TString& address) override {
        addresses.push_back(address.c_str());
        return true;
    }
    const TStringTable* GetStringTable() const override { return table; }
    TString GetClipboardText() const override { return clipboard; }

    bool cursorShown = true;
    bool blocked = false;
    const TStringTable* table = nullptr;
    TString clipboard;
    std::vector<std::string> calls;
    std::vector<std::string> addresses;
};
