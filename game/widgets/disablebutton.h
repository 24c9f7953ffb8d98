// A button with a disabled look (layer 3) that runs its script command only
// while enabled, and an edit field that enables such a button by name once
// it holds text.
#pragma once

#include <memory>

#include "widgets/button.h"
#include "widgets/textedit.h"

class RDisableButton : public TButton {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    // "command" becomes an action that checks the flag; "disabled".
    void PostInit(const TWindowStyle& style) override;
    // While disabled, press and release do nothing but show layer 3.
    bool OnMouseDown(const TPoint& point) override;
    bool OnMouseUp(const TPoint& point) override;
    // While disabled the looks change underneath, but layer 3 shows.
    void OnStateChange(int look, int previous) override;

    // Shows layer 3, or back the layer of the present look.
    void SetDisabled(bool disabled);
    bool IsDisabled() const { return mDisabled; }

    static constexpr int kDisabledLayer = 3;

protected:
    // A push button too takes a fourth "graphics" image: its disabled look.
    int GetLookImageCount() const override { return kLayerCount; }

private:
    bool mDisabled = false;
};

// The button's script command, run only while the button is enabled.
class RDisableButtonAction : public TButton::Action {
public:
    explicit RDisableButtonAction(std::unique_ptr<TLuaFunction> command);
    void Run(TButton& button) override;

private:
    TButton::LuaAction mCommand;
};

class RTextEditDisable : public TTextEdit {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    // "disable": the name of the button; then its first update.
    void PostInit(const TWindowStyle& style) override;
    // The base's answer, then the button follows the text.
    bool OnEditEvent(int kind, char character) override;

    // Called before the edit takes effect, so the rule reads the text as it
    // was together with what the edit does: a field left empty, or holding
    // only a typed space, disables the button.
    void UpdateButton(int kind, char character, bool accepted);

private:
    TString mButtonName;
};
