#include "game/menus/mainmenu.h"

#include "core/app/gamestate.h"
#include "core/windows/modalwindow.h"
#include "core/windows/platformlink.h"
#include "foundation/file.h"
#include "foundation/stringtable.h"
#include "game/progression/achievementmanager.h"
#include "game/shell/game.h"
#include "game/shell/gamesoundmanager.h"
#include "game/widgets/widgetclass.h"
#include "widgets/text.h"

namespace {

const char kThemeMusic[] = "audio/music/theme.ogg";
const char kScreenTimeKey[] = "MainMenuScreenTime";

void StopScreenTime() {
    if (TGameState* state = TGameState::Get()) state->SetStateInt(kScreenTimeKey, 0);
}

void Hide(TWindow* window) {
    if (window) window->SetFlags(window->GetFlags() & ~TWindow::kVisible);
}

}  // namespace

TWindow* TMainMenu::Create() {
    return new TMainMenu();
}

TMainMenu::TMainMenu() {
    mFunctions.Publish("SetWelcomeText", this, &TMainMenu::SetWelcomeText);
    mFunctions.Publish("MainDebug", this, &TMainMenu::MainDebug);
}

TMainMenu::~TMainMenu() {
    StopScreenTime();
}

const char* TMainMenu::GetClassName() const {
    return "TMainMenu";
}

bool TMainMenu::IsA(TWindowClassId id) const {
    return IsClassIdIn(id, {ClassId(), TWindow::ClassId()});
}

void TMainMenu::PostInit(const TWindowStyle& style) {
    TWindow::PostInit(style);
    if (VSoundManager* sound = VSoundManager::Get()) sound->PlayMusic(kThemeMusic, nullptr, true, true);
    // Flags 0 clears the whole state byte, the visible bit with it.
    if (TWindow* debug = FindChildWindow("mainmenu_debug_button", -1)) debug->SetFlags(0);
    SetWelcomeText();
    if (auto* modal = dynamic_cast<TModalWindow*>(GetParentModal())) modal->SetFocusWindow(this);
    if (!FileExists("xsell/xsell.lua")) Hide(FindChildWindow("moregames", -1));
}

void TMainMenu::OnModalPopped() {
    TWindow::OnModalPopped();
    StopScreenTime();
}

void TMainMenu::SetWelcomeText() {
    TString separator = "!";
    TString user;
    VGame* game = VGame::Get();
    if (game && game->GetNumUsers() > 0) {
        user = TString::Format("%s!", game->GetCurrentUserName().c_str());
        separator = ",";
    }
    TPlatformLink* platform = GetPlatformLink();
    const TStringTable* strings = platform ? platform->GetStringTable() : nullptr;
    TString welcome = strings ? strings->GetString("mainmenu_welcome", separator) : TString();
    SetTextOf("txt_welcome_shadow", welcome);
    SetTextOf("txt_welcome", welcome);
    SetTextOf("txt_user_shadow", user);
    SetTextOf("txt_user", user);
}

void TMainMenu::MainDebug() {
    VAchievementManager::Get()->AwardAll();
}

void TMainMenu::SetTextOf(const char* name, const TString& text) {
    if (auto* window = FindChildAs<TText>(this, name)) window->SetText(text);
}
