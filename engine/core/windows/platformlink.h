// The calls the movie, cross-sell and edit windows make into the platform
// facade: the system cursor, the mouse blocker, the display's movie steps,
// the focus, web pages, the string table and the clipboard. The facade
// installs itself as the process-wide link; while none is installed these
// steps are skipped.
#pragma once

#include "foundation/tstring.h"

class TStringTable;

class TPlatformLink {
public:
    virtual ~TPlatformLink() = default;

    virtual bool IsSystemCursorShown() const = 0;
    virtual void ShowSystemCursor(bool show) = 0;
    // While set, the pump turns mouse messages over the game window into
    // "nothing" events, so a movie that takes no input keeps the game from them.
    virtual void SetMouseBlocked(bool blocked) = 0;
    // The display shows what lies over it (a movie) rather than its frames.
    virtual void FlipToGdiSurface() = 0;
    // The display redraws the software mouse image from scratch.
    virtual void ResetMouseImage() = 0;
    // The keyboard focus goes back to the game window.
    virtual void FocusGameWindow() = 0;
    virtual bool OpenBrowser(const TString& address) = 0;
    // Null while no table is loaded.
    virtual const TStringTable* GetStringTable() const = 0;
    // Empty when the clipboard holds no text.
    virtual TString GetClipboardText() const = 0;
};

TPlatformLink* GetPlatformLink();
// Null uninstalls the link.
void SetPlatformLink(TPlatformLink* link);
