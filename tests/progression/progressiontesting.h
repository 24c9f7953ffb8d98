// The story tests' base fixture: a game whose first player is loaded, a
// dialog on the display as the top modal window, and idle passes of the
// window manager on the fake clock, each with a frame.
#pragma once

#include <string>

#include "core/app/platformevent.h"
#include "core/windows/modalwindow.h"
#include "core/windows/windowmanager.h"
#include "game/shell/gameassetmanager.h"
#include "graphics/render/renderer.h"
#include "tests/shell/shelltesting.h"

class ProgressionTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        if (IsSkipped()) return;
        mPlatform->SetDisplay(800, 600, false);
        dialog = new TModalWindow();
        dialog->SetSize(800, 600);
        windows()->PushModal(dialog);
    }
    void TearDown() override {
        ReleaseManagerSingleton<VAssetManager>();
        ShellTest::TearDown();
    }

    // A game whose first player's progress is loaded.
    void StartPlayer() {
        CreateGameWithUser();
        VGame::Get()->LoadUserProgress();
    }

    static TWindowManager* windows() { return TWindowManager::GetInstance(); }

    static std::string Row(const std::string& label, const std::string& text) {
        return "<Row><Cell><Data>" + label + "</Data></Cell><Cell><Data>" + text + "</Data></Cell></Row>";
    }

    // Idle passes of 16 ms for the time given, each with a frame of the
    // dialog (effects take hold as they draw).
    void RunFor(uint32_t milliseconds) {
        for (uint32_t passed = 0; passed < milliseconds; passed += 16) {
            mTimer.Advance(16);
            TPlatformEvent idle;
            idle.type = TPlatformEvent::kIdle;
            windows()->HandleEvent(idle);
            ASSERT_TRUE(TRenderer::GetInstance()->BeginDraw(false));
            TWindow::DrawWindowTree(windows()->GetTopModal(), TWindow::kDrawAll);
            TRenderer::GetInstance()->EndDraw(false);
        }
        windows()->FlushDeletes();
    }

    TModalWindow* dialog = nullptr;
};
