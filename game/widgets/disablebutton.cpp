#include "game/widgets/disablebutton.h"

#include "core/scripting/luaobject.h"
#include "core/windows/windowmanager.h"
#include "core/windows/windowstyle.h"
#include "game/utilities/trimspaces.h"
#include "game/widgets/widgetclass.h"

TWindow* RDisableButton::Create() {
    return new RDisableButton();
}

const char* RDisableButton::GetClassName() const {
    return "RDisableButton";
}

bool RDisableButton::IsA(TWindowClassId id) const {
    return IsClassIdIn(id, {ClassId(), TButton::ClassId(), TLayeredWindow::ClassId(), TWindow::ClassId()});
}

void RDisableButton::PostInit(const TWindowStyle& style) {
    TButton::PostInit(style);
    if (std::unique_ptr<TLuaFunction> command{style.GetFunction("command")}) {
        SetAction(std::make_unique<RDisableButtonAction>(std::move(command)));
    }
    if (style.GetBool("disabled", false)) SetDisabled(true);
}

bool RDisableButton::OnMouseDown(const TPoint& point) {
    if (!mDisabled) return TButton::OnMouseDown(point);
    SetLayer(kDisabledLayer);
    return true;
}

bool RDisableButton::OnMouseUp(const TPoint& point) {
    if (!mDisabled) return TButton::OnMouseUp(point);
    SetLayer(kDisabledLayer);
    return true;
}

void RDisableButton::OnStateChange(int look, int previous) {
    if (mDisabled) {
        SetLayer(kDisabledLayer);
        return;
    }
    TButton::OnStateChange(look, previous);
}

void RDisableButton::SetDisabled(bool disabled) {
    mDisabled = disabled;
    if (disabled) {
        SetLayer(kDisabledLayer);
        return;
    }
    // The same look again: its layer without its sound.
    OnStateChange(GetLook(), GetLook());
}

RDisableButtonAction::RDisableButtonAction(std::unique_ptr<TLuaFunction> command) : mCommand(std::move(command)) {}

void RDisableButtonAction::Run(TButton& button) {
    auto* disableButton = dynamic_cast<RDisableButton*>(&button);
    if (!disableButton || disableButton->IsDisabled()) return;
    mCommand.Run(button);
}

TWindow* RTextEditDisable::Create() {
    return new RTextEditDisable();
}

const char* RTextEditDisable::GetClassName() const {
    return "RTextEditDisable";
}

bool RTextEditDisable::IsA(TWindowClassId id) const {
    return IsClassIdIn(id, {ClassId(), TTextEdit::ClassId(), TText::ClassId(), TWindow::ClassId()});
}

void RTextEditDisable::PostInit(const TWindowStyle& style) {
    TTextEdit::PostInit(style);
    mButtonName = style.GetString("disable", TString());
    UpdateButton(kDeleteOrMove, 8, true);
}

bool RTextEditDisable::OnEditEvent(int kind, char character) {
    bool accepted = TTextEdit::OnEditEvent(kind, character);
    UpdateButton(kind, character, accepted);
    return accepted;
}

void RTextEditDisable::UpdateButton(int kind, char character, bool accepted) {
    TWindowManager* manager = TWindowManager::GetInstance();
    TWindow* top = manager ? manager->GetTopModal() : nullptr;
    if (mButtonName.Length() == 0) return;
    auto* button = dynamic_cast<RDisableButton*>(top ? top->FindChildWindow(mButtonName, -1) : nullptr);
    if (!button) return;
    TString text = TrimSpaces(GetText());
    bool disabled = true;
    if ((text.Length() > 0 || accepted) && (text.Length() >= 2 || kind != kDeleteOrMove)) {
        disabled = text.Length() == 0 && character == ' ';
    }
    button->SetDisabled(disabled);
}
