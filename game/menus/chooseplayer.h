// The player selection screen: hands the user list to the dialog script and
// reports the radio button chosen. Publishes "SetPlayerChoices",
// "GetSelectedUserIndex", "GetSelectedUserName" and "SetNameField".
#pragma once

#include <vector>

#include "core/windows/window.h"
#include "game/shell/screenfunctions.h"

class TChoosePlayer : public TWindow {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    // Radio buttons, and so names handed over, at most.
    static constexpr int kMaxChoices = 10;

    TChoosePlayer();

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    void PostInit(const TWindowStyle& style) override;

    // Runs "UpdatePlayerChoices( current, count, {names} )" in the script.
    void SetPlayerChoices();
    // The first radio button on; 0 when none is.
    int GetSelectedUserIndex();
    TString GetSelectedUserName();
    // The "namefield" text inside the named panel.
    void SetNameField(TString panel, TString text);

private:
    VScreenFunctions mFunctions;
};

// The statement handing the list to the script; each name is a quoted
// string literal, so no name can end the table or run code of its own.
TString MakePlayerChoicesStatement(int current, int count, const std::vector<TString>& names);
