// The help book: ten pages, one layer each, with a title in the enclosing
// dialog, a page counter and next and back buttons. Publishes "SetPage".
// Title, counter and buttons are looked up when used, so a script that
// destroys one leaves nothing dangling.
#pragma once

#include "core/windows/layeredwindow.h"
#include "game/shell/screenfunctions.h"

class VHelpWindow : public TLayeredWindow {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    static constexpr int kPages = 10;

    VHelpWindow();

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    // Presses of "btn_back" and "btn_next" turn the page; never consumed, so
    // the script sees them too.
    bool OnMessage(TMessage* message) override;

    // Limits the page to 0..9, shows it and updates title, counter and buttons.
    void SetPage(int page);

private:
    // The enclosing dialog's "txt_title", or null.
    TWindow* FindTitle() const;

    VScreenFunctions mFunctions;
};
