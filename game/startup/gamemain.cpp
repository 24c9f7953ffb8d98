#include "game/startup/gamemain.h"

#include "core/app/platformevent.h"
#include "runtime/platform.h"
#include "core/scripting/script.h"
#include "core/windows/windowmanager.h"
#include "foundation/assetmap.h"
#include "foundation/debuglog.h"
#include "foundation/settings.h"
#include "foundation/stringtable.h"
#include "game/composition/adapt.h"
#include "game/composition/spritelayer.h"
#include "game/level/levelmanager.h"
#include "game/level/upgrademanager.h"
#include "game/menus/chooseplayer.h"
#include "game/menus/credits.h"
#include "game/menus/helpwindow.h"
#include "game/menus/layeredwindow.h"
#include "game/menus/mainmenu.h"
#include "game/menus/options.h"
#include "game/menus/upsellwindow.h"
#include "game/objects/objectwindow.h"
#include "game/progression/achievementmanager.h"
#include "game/progression/chooseachievements.h"
#include "game/progression/hiscore.h"
#include "game/progression/plotmanager.h"
#include "game/progression/plotwindow.h"
#include "game/progression/rewardnotify.h"
#include "game/progression/rewardswindow.h"
#include "game/progression/questwindow.h"
#include "game/progression/prelevelwindow.h"
#include "game/progression/tutorialmanager.h"
#include "game/progression/upgradelist.h"
#include "game/progression/upgradetab.h"
#include "game/progression/worldmap.h"
#include "game/shell/game.h"
#include "game/shell/gamesoundmanager.h"
#include "game/shell/sessionmetrics.h"
#include "game/shell/valuemanager.h"
#include "game/shop/register.h"
#include "game/shop/shophud.h"
#include "game/shop/shopwindow.h"
#include "game/sprites/spritewindow.h"
#include "game/texts/activetext.h"
#include "game/texts/justified.h"
#include "game/texts/scorer.h"
#include "game/texts/shrinktext.h"
#include "game/texts/timer.h"
#include "game/transitions/tintwindow.h"
#include "game/transitions/transitionmanager.h"
#include "game/utilities/luacommand.h"
#include "game/widgets/alert.h"
#include "game/widgets/bar.h"
#include "game/widgets/bouncewindow.h"
#include "game/widgets/buttonedslider.h"
#include "game/widgets/cursor.h"
#include "game/widgets/dial.h"
#include "game/widgets/disablebutton.h"
#include "game/widgets/gamewindow.h"
#include "game/widgets/parentbutton.h"
#include "game/widgets/rgame.h"
#include "game/widgets/scrollable.h"
#include "game/widgets/split9image.h"
#include "game/widgets/split9text.h"
#include "game/widgets/sweepdial.h"
#include "graphics/render/renderer.h"
#include "graphics/texture.h"
#include "widgets/slider.h"

namespace {

const char kMainLoopScript[] = "scripts/mainloop.lua";
const char kQuitVerifyScript[] = "scripts/quitverify.lua";
const char kPauseCommand[] = "DoModal( 'scripts/pause.lua' );";
// Textures are found by their whole file name.
const char kCursorImage[] = "cursor/chocolate_cursor_2.png";
const int32_t kEscapeKey = 27;

const char* const kRendererOptions[] = {"new_subtractive", "new_render_blend", "texture_rectangle"};

const char* const kHeldAssets[] = {"ui/buttons/oval_lt_blue_up", "ui/buttons/oval_lt_blue_down",
                                   "ui/backgrounds/split9_dialog_small", nullptr};

struct TWindowClass {
    const char* name;
    TWindowClassId id;
};

// The window classes scripts create by name, in their fixed order; each
// subsystem adds its classes here as they come.
const TWindowClass kWindowClasses[] = {
    {"TMainMenu", TMainMenu::ClassId()},
    {"TOptions", TOptions::ClassId()},
    {"TSlider", TSlider::ClassId()},
    {"TChoosePlayer", TChoosePlayer::ClassId()},
    {"TCredits", TCredits::ClassId()},
    {"RGame", RGame::ClassId()},
    {"RScorer", RScorer::ClassId()},
    {"RTimer", RTimer::ClassId()},
    {"RDisableButton", RDisableButton::ClassId()},
    {"RSpriteLayer", RSpriteLayer::ClassId()},
    {"RAdapt", RAdapt::ClassId()},
    {"RWindow", RWindow::ClassId()},
    {"RParentButton", RParentButton::ClassId()},
    {"RScrollable", RScrollable::ClassId()},
    {"RBounceWindow", RBounceWindow::ClassId()},
    {"RButtonedSlider", RButtonedSlider::ClassId()},
    {"RJustified", RJustified::ClassId()},
    {"RAlert", RAlert::ClassId()},
    {"RTextEditDisable", RTextEditDisable::ClassId()},
    {"RActiveTextLayer", RActiveTextLayer::ClassId()},
    {"RShrinkText", RShrinkText::ClassId()},
    {"KSplit9Image", KSplit9Image::ClassId()},
    {"RSplit9Text", RSplit9Text::ClassId()},
    {"RSplit9Expander", RSplit9Expander::ClassId()},
    {"KBar", KBar::ClassId()},
    {"KSweepDial", KSweepDial::ClassId()},
    {"RCursor", RCursor::ClassId()},
    {"KDial", KDial::ClassId()},
    {"VSpriteWindow", VSpriteWindow::ClassId()},
    {"VTintWindow", VTintWindow::ClassId()},
    {"ShopWindow", ShopWindow::ClassId()},
    {"VObjectWindow", VObjectWindow::ClassId()},
    {"VHelpWindow", VHelpWindow::ClassId()},
    {"BLayeredWindow", BLayeredWindow::ClassId()},
    {"VUpsellWindow", VUpsellWindow::ClassId()},
    {"VChooseAchievements", VChooseAchievements::ClassId()},
    {"VRewardsWindow", VRewardsWindow::ClassId()},
    {"VRewardNotify", VRewardNotify::ClassId()},
    {"HiscoreWindow", THiscore::ClassId()},
    {"VQuestWindow", VQuestWindow::ClassId()},
    {"VRegister", VRegister::GetFactory()},
    {"VShopHud", VShopHud::ClassId()},
    {"VPlotWindow", VPlotWindow::ClassId()},
    {"VPrelevelWindow", VPrelevelWindow::ClassId()},
    {"VUpgradeList", VUpgradeList::ClassId()},
    {"VUpgradeTab", VUpgradeTab::ClassId()},
    {"VWorldMap", VWorldMap::ClassId()},
};

void PassRendererOptions() {
    TRenderer* renderer = TRenderer::GetInstance();
    if (!renderer) return;
    for (const char* option : kRendererOptions) renderer->OnSettingChanged(option, "1");
}

void SetTitle(TPlatform* platform) {
    const TStringTable* strings = platform->GetStringTable();
    if (strings) platform->SetWindowTitle(strings->GetString("app_title", "", "", "", "", ""));
}

void SetGameCursor(TPlatform* platform) {
    std::shared_ptr<TTexture> cursor = TTexture::Get(kCursorImage);
    if (!cursor) DebugLog("GameMain: no cursor image %s", kCursorImage);
    platform->SetCursor(cursor, 0, 0, 0);
}

void RegisterWindowClasses(TWindowManager* manager) {
    for (const TWindowClass& windowClass : kWindowClasses) manager->RegisterWindowType(windowClass.name, windowClass.id);
}

// False when the script is missing or fails (logged).
bool RunMainScript(TWindowManager* manager, const char* file) {
    TScript* script = manager ? manager->GetScript() : nullptr;
    if (script && script->RunScript(file)) return true;
    DebugLog("GameMain: %s did not run", file);
    return false;
}

// A window that cannot ask would never close: without its script the close
// request quits at once.
void OnCloseRequest(TPlatform* platform, VGame& game) {
    if (game.AreQuitting()) return;
    if (!RunMainScript(platform->GetWindowManager(), kQuitVerifyScript)) platform->PostQuit(0);
}

// The Escape that offers the pause types its character next, which the
// pause dialog's own Escape button would take at once.
bool gEscapeCharTaken = false;

bool OfferPause(VGame& game) {
    if (!game.AreInsideGame()) return false;
    game.InsideGame(false);
    QueueLuaCommand(kPauseCommand);
    return true;
}

// True when the event is the game's alone.
bool OnGameEvent(TPlatform* platform, VGame& game, const TPlatformEvent& event) {
    switch (event.type) {
        case TPlatformEvent::kCloseRequest:
            OnCloseRequest(platform, game);
            break;
        case TPlatformEvent::kActivation:
            if (event.param != 1) OfferPause(game);
            break;
        case TPlatformEvent::kKeyDown:
            gEscapeCharTaken = event.param == kEscapeKey && OfferPause(game);
            break;
        case TPlatformEvent::kChar:
        case TPlatformEvent::kWideChar:
            if (event.param != kEscapeKey || !gEscapeCharTaken) break;
            gEscapeCharTaken = false;
            return true;
        case TPlatformEvent::kFullScreenToggled:
            game.RecordFullScreen();
            TOptions::ShowFullScreen(game.IsFullScreen());
            break;
        default:
            break;
    }
    return false;
}

}  // namespace

TGameSession::TGameSession() = default;
TGameSession::~TGameSession() = default;

void GameMainSetUp(TPlatform* platform, TGameSession& session) {
    SetSetting(kSettingGameName, "vandermoot");
    SetSetting(kSettingVsync, "1");
    DeclareSessionMetrics();
    PassRendererOptions();
    VGame::Create()->ApplyUserOptions();
    SetTitle(platform);
    RTransitionManager::Create();
    VSoundManager::Create();
    SetGameCursor(platform);
    TWindowManager* manager = platform->GetWindowManager();
    if (manager) RegisterWindowClasses(manager);
    RunMainScript(manager, kMainLoopScript);
    session.heldAssets = std::make_unique<TAssetMap>();
    session.heldAssets->AddAssets(kHeldAssets);
}

void HandleGameEvent(TPlatform* platform, const TPlatformEvent& event) {
    VGame* game = VGame::Get();
    if (game && OnGameEvent(platform, *game, event)) return;
    RTransitionManager* transitions = RTransitionManager::Get();
    if (transitions && transitions->FilterEvent(&event)) return;
    if (TWindowManager* manager = platform->GetWindowManager()) manager->HandleEvent(event);
}

void GameMainLoop(TPlatform* platform) {
    TPlatformEvent event;
    platform->GetEvent(event);
    while (event.type != TPlatformEvent::kQuit) {
        HandleGameEvent(platform, event);
        platform->GetEvent(event);
    }
}

void GameMainTearDown(TGameSession& session) {
    VGame::Destroy();
    RTransitionManager::Destroy();
    VSoundManager::Release();
    ReleaseManagerSingleton<VAchievementManager>();
    ReleaseManagerSingleton<VLevelManager>();
    ReleaseManagerSingleton<VValueManager>();
    ReleaseManagerSingleton<VPlotManager>();
    ReleaseManagerSingleton<VUpgradeManager>();
    ReleaseManagerSingleton<VTutorialManager>();
    session.heldAssets.reset();
}

int GameMain(TPlatform* platform, const TString& /*commandLine*/) {
    TGameSession session;
    GameMainSetUp(platform, session);
    GameMainLoop(platform);
    GameMainTearDown(session);
    return 0;
}
