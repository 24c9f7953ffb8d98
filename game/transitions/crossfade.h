// A transition that fades a snapshot of the top screen in (rising, the screen
// is shown again at the end) or out (falling, the screen stays hidden). The
// screen is hidden while the snapshot stands in for it. A script may pop the
// screen during the fade, so the screen is found again on the modal stack by
// its serial number whenever it is needed.
#pragma once

#include <cstdint>
#include <memory>

#include "foundation/task.h"
#include "foundation/rect.h"
#include "game/transitions/overlay.h"

class RCrossFade;
class TTexture;

// On the platform's restore list: renders the snapshot again once the display
// has rebuilt its lost surfaces.
class RCrossFadeRefresh : public TTask {
public:
    explicit RCrossFadeRefresh(RCrossFade& fade) : mFade(fade) {}
    ~RCrossFadeRefresh() override = default;

    bool DoTask() override;

private:
    RCrossFade& mFade;
};

class RCrossFade : public ROverlay {
public:
    static constexpr uint32_t kDuration = 250;

    RCrossFade(int type, const TString& command, bool rising);
    ~RCrossFade() override;

    void Draw() override;
    // Shows the screen, renders it into a new snapshot and hides it again.
    void RefreshSnapshot();

    // The screen window while it is still on the modal stack, else null.
    TWindow* GetScreenWindow() const;
    const std::shared_ptr<TTexture>& GetSnapshot() const { return mSnapshot; }

private:
    static void Show(TWindow* screen, bool shown);
    void TakeSnapshot(TWindow* screen);

    bool mRising;
    bool mHasScreen = false;
    int32_t mScreenSerial = 0;
    TRect mScreenRect;  // in screen coordinates, as the snapshot was taken
    std::shared_ptr<TTexture> mSnapshot;
    // Owned by the platform's restore list once added, else by the fade.
    RCrossFadeRefresh* mRefresh = nullptr;
    bool mRefreshQueued = false;
};
