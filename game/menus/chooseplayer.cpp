#include "game/menus/chooseplayer.h"

#include <algorithm>

#include "core/scripting/script.h"
#include "core/windows/windowmanagerlink.h"
#include "foundation/debuglog.h"
#include "game/shell/game.h"
#include "game/utilities/luacommand.h"
#include "game/widgets/widgetclass.h"
#include "widgets/button.h"
#include "widgets/text.h"

TWindow* TChoosePlayer::Create() {
    return new TChoosePlayer();
}

TChoosePlayer::TChoosePlayer() {
    mFunctions.Publish("SetPlayerChoices", this, &TChoosePlayer::SetPlayerChoices);
    mFunctions.Publish("GetSelectedUserIndex", this, &TChoosePlayer::GetSelectedUserIndex);
    mFunctions.Publish("GetSelectedUserName", this, &TChoosePlayer::GetSelectedUserName);
    mFunctions.Publish("SetNameField", this, &TChoosePlayer::SetNameField);
}

const char* TChoosePlayer::GetClassName() const {
    return "TChoosePlayer";
}

bool TChoosePlayer::IsA(TWindowClassId id) const {
    return IsClassIdIn(id, {ClassId(), TWindow::ClassId()});
}

void TChoosePlayer::PostInit(const TWindowStyle& style) {
    TWindow::PostInit(style);
    SetPlayerChoices();
}

void TChoosePlayer::SetPlayerChoices() {
    VGame* game = VGame::Get();
    TWindowManagerLink* manager = GetWindowManagerLink();
    TScript* script = manager ? manager->GetScript() : nullptr;
    if (!game || !script) {
        DebugLog("Error: SetPlayerChoices needs the game and the window script");
        return;
    }
    int count = game->GetNumUsers();
    std::vector<TString> names;
    for (int i = 0; i < std::min(count, kMaxChoices); ++i) names.push_back(game->GetUserName(i));
    TString statement = MakePlayerChoicesStatement(game->GetCurrentUser(), count, names);
    script->DoLuaString(statement.c_str(), statement.Length());
}

int TChoosePlayer::GetSelectedUserIndex() {
    for (int i = 0; i < kMaxChoices; ++i) {
        TString name = TString::Format("chooseplayer_button_%d", i);
        auto* button = dynamic_cast<TButton*>(FindChildWindow(name, -1));
        if (button && button->GetToggleState()) return i;
    }
    return 0;
}

TString TChoosePlayer::GetSelectedUserName() {
    VGame* game = VGame::Get();
    return game ? game->GetUserName(GetSelectedUserIndex()) : TString();
}

void TChoosePlayer::SetNameField(TString panel, TString text) {
    TWindow* window = FindChildWindow(panel, -1);
    auto* field = window ? dynamic_cast<TText*>(window->FindChildWindow("namefield", -1)) : nullptr;
    if (field) field->SetText(text);
}

TString MakePlayerChoicesStatement(int current, int count, const std::vector<TString>& names) {
    TString table = "{";
    for (const TString& name : names) {
        table += QuoteLuaString(name);
        table += ",";
    }
    table += "}";
    return TString::Format("UpdatePlayerChoices( %d, %d, %s )", current, count, table.c_str());
}
