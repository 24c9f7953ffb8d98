// The hiscore screen: the local table of the current game mode, or an online
// table of the mode and a category, fetched through the game's hiscore
// client and polled every 20 ms. Its script lays it out; the screen fills
// the texts, shows and hides children by name and opens the submit dialog.
// Publishes "GetState", "ScoreAvailable", "UpdateText" and
// "LaunchPrivacyPolicy"; calls the script's "UpdateButtons" after each
// change.
#pragma once

#include "core/windows/window.h"
#include "foundation/tstring.h"
#include "game/shell/screenfunctions.h"

class TQmHiscores;
class THiscoreSubmit;

// The game's hiscore client; null without a game.
TQmHiscores* GetGameHiscores();
// The child of that name, when there is one, shown or hidden.
void ShowChild(TWindow* window, const char* name, bool shown);
// The text child of that name, when there is one, shows the text.
void SetChildText(TWindow* window, const char* name, const TString& text);
// Runs the statement on the window manager's script, when there is one.
void RunOnMainScript(const char* statement);
// The string table's text of the label; "" without a string table.
TString GetLocalString(const char* label, const TString& argument = TString());

class THiscore : public TWindow {
public:
    enum TState {
        kLocalTable = 0,
        kAwaitingCategories = 1,
        kAwaitingScores = 2,
        kOnlineTable = 4,
        kFailed = 5,
    };
    enum TSubmitResult { kNotSubmitted = 0, kQualified = 1, kNotQualified = 2 };
    static constexpr int kRows = 10;
    // The poll's period in milliseconds; the submit dialog polls as often.
    static constexpr int32_t kPollPeriod = 20;

    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    THiscore();
    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    // An open submit dialog forgets its owner.
    ~THiscore() override;
    // Starts the poll, moves "leftpanel" aside for local-only tables, fills
    // the texts and tightens the two view buttons' labels.
    void PostInit(const TWindowStyle& style) override;
    // The buttons of the screen; true for the presses it acts on.
    bool OnMessage(TMessage* message) override;
    // The poll of the running request, in the waiting states.
    bool Animate() override;
    // The screen's area.
    virtual bool GetScreenRect(TRect* rect) const;

    int GetState() const { return mState; }
    // Whether the current player has a score of the mode not yet submitted.
    bool ScoreAvailable() const;
    // Shows the children that belong to the state and fills their texts.
    void UpdateText();
    // Opens the game's privacy page from the assets in the browser.
    void LaunchPrivacyPolicy();

    int GetCategory() const { return mCategory; }
    int GetFirstRow() const { return mFirstRow; }
    int GetSubmitResult() const { return mSubmitResult; }
    const TString& GetErrorText() const { return mErrorText; }

    // From the submit dialog: its submission finished; the online table is
    // fetched again.
    void OnSubmitted(bool qualified);
    // From the submit dialog as it goes.
    void ForgetSubmitDialog(const THiscoreSubmit* dialog);

private:
    bool OnButton(const TString& name);
    void StepGameMode(int step);
    void StepCategory(int step);
    void RequestScores();
    void OpenSubmitDialog();
    void SetScriptVariables() const;
    void FillTable();
    void FillRow(int row, bool local);
    void FitName(int row);
    void ShowOnlineTexts();
    void Show(const char* name, bool shown) { ShowChild(this, name, shown); }
    void SetText(const char* name, const TString& text) { SetChildText(this, name, text); }

    int mState = kLocalTable;
    int mSubmitResult = kNotSubmitted;
    TString mErrorText;
    int mCategory = 0;
    int mFirstRow = 0;
    // The name texts' sizes from their descriptions, 0 for a missing one:
    // each name starts from its own size before it is shrunk to fit.
    int mNameSizes[kRows] = {};
    THiscoreSubmit* mSubmitDialog = nullptr;
    VScreenFunctions mFunctions;
};
