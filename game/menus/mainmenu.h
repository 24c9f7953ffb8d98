// The main menu: the welcome and user lines, the theme music, the hidden
// debug button and the more-games button shown only with the cross-sell
// script. Publishes "SetWelcomeText" and "MainDebug".
#pragma once

#include "core/windows/window.h"
#include "game/utilities/findchild.h"
#include "game/shell/screenfunctions.h"

class TMainMenu : public TWindow {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    TMainMenu();
    // Stops the menu's screen-time statistic.
    ~TMainMenu() override;

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    void PostInit(const TWindowStyle& style) override;
    void OnModalPopped() override;

    // "!" and no user line without users, else "," and "<name>!".
    void SetWelcomeText();
    // Checks every achievement against the current values.
    void MainDebug();

private:
    void SetTextOf(const char* name, const TString& text);

    VScreenFunctions mFunctions;
};
