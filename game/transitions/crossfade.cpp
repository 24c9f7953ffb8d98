#include "game/transitions/crossfade.h"

#include "runtime/platform.h"
#include "core/windows/windowmanager.h"
#include "game/utilities/draw2dscope.h"
#include "game/utilities/rendertotexture.h"
#include "graphics/texture.h"

bool RCrossFadeRefresh::DoTask() {
    mFade.RefreshSnapshot();
    return true;
}

RCrossFade::RCrossFade(int type, const TString& command, bool rising) : ROverlay(type, command), mRising(rising) {
    SetDuration(kDuration);
    TWindow* screen = GetTopScreen();
    if (screen) {
        mHasScreen = true;
        mScreenSerial = screen->GetSerial();
        mScreenRect = screen->GetGlobalRect();
        TakeSnapshot(screen);
    }
    mRefresh = new RCrossFadeRefresh(*this);
    if (TPlatform* platform = TPlatform::GetInstance()) {
        platform->AddRestoreTask(mRefresh);
        mRefreshQueued = true;
    }
    Show(screen, false);
}

RCrossFade::~RCrossFade() {
    if (!mRefreshQueued) {
        delete mRefresh;
    } else if (TPlatform* platform = TPlatform::GetInstance(); platform && platform->RemoveRestoreTask(mRefresh)) {
        delete mRefresh;
    }
}

TWindow* RCrossFade::GetScreenWindow() const {
    TWindowManager* manager = TWindowManager::GetInstance();
    if (!mHasScreen || !manager) return nullptr;
    for (TModalWindow* modal : manager->GetModalStack()) {
        if (modal->GetSerial() == mScreenSerial) return modal;
    }
    return nullptr;
}

void RCrossFade::Show(TWindow* screen, bool shown) {
    if (!screen) return;
    // Only the visible bit changes: the other state bits are the window's own.
    uint32_t state = screen->GetFlags() & ~static_cast<uint32_t>(TWindow::kVisible);
    screen->SetFlags(shown ? state | TWindow::kVisible : state);
}

void RCrossFade::TakeSnapshot(TWindow* screen) {
    mSnapshot = RenderWindowToTexture(screen, true, TColor4f(1, 1, 1, 1));
}

void RCrossFade::RefreshSnapshot() {
    TWindow* screen = GetScreenWindow();
    if (!screen) return;
    Show(screen, true);
    TakeSnapshot(screen);
    Show(screen, false);
}

void RCrossFade::Draw() {
    float p = AdvanceTime();
    float opacity = mRising ? p : 1.0f - p;
    if (mSnapshot) {
        TDraw2dScope scope;
        if (scope.IsOpen()) {
            int centreX = mScreenRect.left + (mScreenRect.right - mScreenRect.left) / 2;
            int centreY = mScreenRect.top + (mScreenRect.bottom - mScreenRect.top) / 2;
            mSnapshot->DrawAt(static_cast<float>(centreX), static_cast<float>(centreY), opacity, 1.0f, 0.0f, 0);
        }
    }
    CheckDone();
    if (IsDone() && mRising) Show(GetScreenWindow(), true);
}
