// A one-line text entry field: a text window that shows the edited string
// with a blinking cursor tag, optionally masked as a password, up to a
// maximum length and without the refused characters. Ctrl+V and Insert
// paste the clipboard; Tab moves to the next field of the same dialog.
// Every handled character is reported by kTextEditChanged. Scripts create it
// as "TextEdit".
#pragma once

#include <memory>
#include <vector>

#include "foundation/clock.h"
#include "foundation/tstring.h"
#include "widgets/text.h"

class TTextEdit : public TText {
public:
    // The kinds of OnEditEvent.
    enum EditEvent : int {
        kInsert = 0,
        kDeleteOrMove = 1,
        kEnter = 2,
        kTab = 3,
        kPaste = 4,
        kRefused = 5,  // a notification only
    };
    // The edit fields of one dialog, in the order they joined.
    using Ring = std::vector<TTextEdit*>;

    // The cursor shows for the part of each blink period past the hidden part.
    static constexpr int32_t kBlinkPeriod = 800;
    static constexpr int32_t kBlinkHidden = 400;
    // How often the animation refreshes the blink (ms).
    static constexpr int32_t kBlinkStep = 50;

    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    // Takes the keyboard focus on a click; the blink clock starts now.
    TTextEdit();

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    // Leaves the ring.
    ~TTextEdit() override;
    // Its own keys, then the text keys with the label taken as written: the
    // label is the first text.
    void Init(const TWindowStyle& style) override;
    void Draw() override;
    // Refreshes the shown text and the blink.
    bool Animate() override;
    bool OnChar(char character) override;
    bool OnKeyDown(int key, int modifiers) override;
    // Replaces the edited text and puts the cursor at its end.
    void SetText(const TString& text) override;
    // The edited text, without mark-up.
    TString GetText() const override { return mText; }

    // Decides whether an edit may happen; derived windows override it. By
    // default an insertion is allowed below the maximum length (else kRefused
    // is raised), moves, deletions and pastes are allowed, and Enter, Tab and
    // kRefused answer false.
    virtual bool OnEditEvent(int kind, char character);

    int GetCursor() const { return mCursor; }
    int GetMaxLength() const { return mMaxLength; }
    bool IsPassword() const { return mPassword; }
    // Null until the field first joined its dialog's ring.
    const std::shared_ptr<Ring>& GetRing() const { return mRing; }

private:
    // Shares the ring of the first field of the dialog that has one, or
    // starts one; a field outside a dialog rings alone.
    void JoinRing();
    // Rebuilds the shown text from the edited one.
    void Refresh();
    bool HasFocus() const;
    // The part of the text as shown: stars for a password, else with "<" and
    // "\" escaped so the mark-up shows them as typed.
    TString Shown(int start, int end) const;
    bool HandleCharacter(unsigned char character);
    void Backspace();
    void InsertCharacter(char character);
    // Handles the editing keys; false for keys that are none of them.
    bool HandleEditKey(int key, int modifiers);
    void FocusNext();
    void Paste();
    void ReportChange();

    int mMaxLength = 10;
    std::shared_ptr<Ring> mRing;
    TString mText;
    int mCursor = 0;
    bool mPassword = false;
    bool mCursorShown = false;
    TString mIgnore;
    TClock mBlinkClock;
};
