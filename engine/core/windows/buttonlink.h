// What the windows of core ask of a button: hot keys, Enter and Escape press
// it as a click would, and the window functions of scripts read and set its
// label, its toggle state and its script action. The button class
// implements this beside its window base.
#pragma once

#include <memory>

#include "foundation/tstring.h"

class TLuaFunction;

class TButtonLink {
public:
    // Presses the button; true when the press was taken (the button's modal
    // window is the top one).
    virtual bool Click() = 0;
    // The press itself, without the click's sound and looks: text links
    // press buttons this way. 0 when the press message was posted.
    virtual int Activate() = 0;
    // The text of the button's label window; empty without one.
    virtual TString GetLabel() const = 0;
    virtual void SetLabel(const TString& text) = 0;
    virtual bool GetToggleState() const = 0;
    virtual void SetToggleState(bool on) = 0;
    // The function runs when the button fires; it replaces an earlier action.
    virtual void SetLuaAction(std::unique_ptr<TLuaFunction> function) = 0;

protected:
    ~TButtonLink() = default;
};
