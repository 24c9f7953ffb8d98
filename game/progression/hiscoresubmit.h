// The dialog that submits the current player's eligible score, under an
// account with its password or under the player's name alone, and polls the
// submission every 20 ms. Its script ("scripts/hiscoresubmit.lua") lays it
// out. Publishes "SubmitToServer" and "InitUserScore".
#pragma once

#include "core/windows/modalwindow.h"
#include "foundation/tstring.h"
#include "game/shell/screenfunctions.h"

class THiscore;

class THiscoreSubmit : public TModalWindow {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    // The owner hears when the submission has finished; null for none.
    explicit THiscoreSubmit(THiscore* owner = nullptr);

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    // The owner forgets the dialog.
    ~THiscoreSubmit() override;
    // A change of the name or the account shows "submittoserver" while
    // either holds text.
    bool OnMessage(TMessage* message) override;
    // The poll of the submission.
    bool Animate() override;

    // Starts the submission: under the account when one is given, else
    // anonymously under the name, remembering no login.
    void SubmitToServer(TString name, TString account, TString password, bool remember);
    // "eligiblescore" shows the score the dialog submits.
    void InitUserScore();

    // From the owner as it goes: the dialog then only closes itself.
    void ForgetOwner() { mOwner = nullptr; }
    bool IsSubmitting() const { return mState == kSubmitting; }

private:
    enum { kSubmitting = 0, kEditing = 1 };

    void ShowError(const TString& message);
    void Show(const char* name, bool shown);
    TString TextOf(const char* name);

    THiscore* mOwner;
    int mState = kEditing;
    TString mName;
    TString mAccount;
    TString mPassword;
    bool mRemember = false;
    VScreenFunctions mFunctions;
};
