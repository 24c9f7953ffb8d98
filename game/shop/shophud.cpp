#include "game/shop/shophud.h"

#include <limits>

#include "game/level/level.h"
#include "game/level/levelmanager.h"
#include "game/menus/layeredwindow.h"
#include "game/progression/tutorialmanager.h"
#include "game/shell/game.h"
#include "game/shell/valuemanager.h"
#include "game/shop/shopwindow.h"
#include "game/sprites/spritemanager.h"
#include "game/texts/timer.h"
#include "game/utilities/findchild.h"
#include "game/utilities/localised.h"
#include "game/widgets/dial.h"
#include "game/widgets/sweepdial.h"
#include "game/widgets/widgetclass.h"
#include "lua/numbercast.h"
#include "widgets/text.h"

namespace {

// The gauge's layers: short of the goal, past it, and the anger of endless mode.
enum { kBelowGoalLayer = 0, kPastGoalLayer = 1, kAngerLayer = 2 };
const int kEndlessTimerRaise = 10;

bool IsEndless() {
    ShopWindow* screen = ShopWindow::GetCurrent();
    return screen && screen->IsEndlessMode();
}

// A share that cannot be taken of nothing reads full.
float Share(float part, float whole) {
    return whole > 0 ? part / whole : 1.0f;
}

int32_t LevelTimeOf(const VLevel& level) {
    int64_t time = static_cast<int64_t>(level.GetMinutes()) * 60000 + static_cast<int64_t>(level.GetSeconds()) * 1000;
    if (time < 0) return 0;
    return time > std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max()
                                                      : static_cast<int32_t>(time);
}

void SetTextOf(TText* text, const TString& value) {
    if (text) text->SetText(value);
}

}  // namespace

TWindow* VShopHud::Create() {
    return new VShopHud();
}

const char* VShopHud::GetClassName() const {
    return "VShopHud";
}

bool VShopHud::IsA(TWindowClassId id) const {
    return IsClassIdIn(id, {ClassId(), TWindow::ClassId()});
}

RTimer* VShopHud::GetGameTimer() {
    return FindChildAs<RTimer>(this, "game_timer");
}

KDial* VShopHud::GetPowerDial() {
    return FindChildAs<KDial>(this, "dialPower");
}

KSweepDial* VShopHud::GetTimerSweep() {
    return FindChildAs<KSweepDial>(this, "timer_sweep");
}

BLayeredWindow* VShopHud::GetProgressGauge() {
    return FindChildAs<BLayeredWindow>(this, "progress_gauge");
}

TText* VShopHud::GetMasteryText() {
    return FindChildAs<TText>(this, "mastery_score");
}

TText* VShopHud::GetGoalText() {
    return FindChildAs<TText>(this, "goal_score");
}

TText* VShopHud::GetAngerText() {
    return FindChildAs<TText>(this, "anger_score");
}

TText* VShopHud::GetLevelName() {
    return FindChildAs<TText>(this, "level_name");
}

void VShopHud::PostInit(const TWindowStyle& style) {
    TWindow::PostInit(style);
    VGame* game = VGame::Get();
    if (!game || game->GetCurrentGameMode() == 0) return;
    if (BLayeredWindow* gauge = GetProgressGauge()) gauge->SetLayer(kAngerLayer);
    if (TText* name = GetLevelName()) name->SetFlags(0);
    if (RTimer* timer = GetGameTimer()) {
        timer->SetPosition(timer->GetRect().left, timer->GetRect().top - kEndlessTimerRaise);
    }
}

void VShopHud::Setup() {
    bool endless = IsEndless();
    std::shared_ptr<VLevelManager> levels = VLevelManager::Get();
    std::shared_ptr<VValueManager> values = VValueManager::Get();
    if (RTimer* timer = GetGameTimer()) {
        timer->Reset();
        timer->SetIncrementing(endless);
        mLevelTime = 0;
        const std::shared_ptr<VLevel>& level = levels->GetCurrentLevelObject();
        if (!endless && level) {
            mLevelTime = LevelTimeOf(*level);
            timer->SetStartTime(mLevelTime);
        }
        timer->UpdateText();
    }
    if (KSweepDial* sweep = GetTimerSweep()) sweep->SetValue(1.0f);
    if (KDial* dial = GetPowerDial()) dial->SetValue(0.0f);
    if (!endless) {
        SetTextOf(GetGoalText(), TString::Format("$%i", levels->GetCurrentGoal()));
        SetTextOf(GetMasteryText(), TString::Format("$%i", levels->GetCurrentMastery()));
        if (TWindow* extension = FindChildWindow("extension", -1)) extension->SetFlags(0);
    } else {
        SetTextOf(GetAngerText(), TString::Format("0/%i", values->GetInt("angry_customer_limit", 0)));
    }
    SetTextOf(GetLevelName(), TString::Format("%s  %i", Localised("level_abbreviation").c_str(),
                                              values->GetInt("current_level", 0)));
}

void VShopHud::Update() {
    bool endless = IsEndless();
    UpdateClock();
    UpdateSweep(endless);
    if (endless) {
        UpdateAnger();
    } else {
        UpdateScores();
    }
}

void VShopHud::UpdateClock() {
    RTimer* timer = GetGameTimer();
    if (!timer) return;
    ShopWindow* screen = ShopWindow::GetCurrent();
    bool paused = !screen || screen->GetSpriteManager()->IsPaused();
    bool held = VTutorialManager::Get()->IsInputAllowed();
    if (!paused && !held) {
        if (!timer->IsRunning()) timer->Start();
    } else if (timer->IsRunning()) {
        timer->SetRunning(false);
    }
}

void VShopHud::UpdateSweep(bool endless) {
    KSweepDial* sweep = GetTimerSweep();
    RTimer* timer = GetGameTimer();
    if (!sweep || !timer) return;
    float value = 1.0f;
    if (!endless) {
        // The elapsed time is read unsigned, as the clock it follows wraps.
        float elapsed = static_cast<float>(static_cast<uint32_t>(timer->GetElapsedTime()));
        value = mLevelTime > 0 ? 1.0f - elapsed / static_cast<float>(mLevelTime) : 0.0f;
    }
    if (value != sweep->GetValue()) sweep->SetValue(value);
}

void VShopHud::UpdateScores() {
    std::shared_ptr<VLevelManager> levels = VLevelManager::Get();
    float goal = static_cast<float>(levels->GetCurrentGoal());
    float mastery = static_cast<float>(levels->GetCurrentMastery());
    float total = VValueManager::Get()->GetReal("current_level_total", 0.0f);
    if (BLayeredWindow* gauge = GetProgressGauge()) gauge->SetLayer(total >= goal ? kPastGoalLayer : kBelowGoalLayer);
    if (KDial* dial = GetPowerDial()) dial->SetValue(total < goal ? Share(total, goal) : Share(total - goal, mastery - goal));
}

void VShopHud::UpdateAnger() {
    std::shared_ptr<VValueManager> values = VValueManager::Get();
    float angry = values->GetReal("angry_this_level", 0.0f);
    float limit = values->GetReal("angry_customer_limit", 0.0f);
    if (KDial* dial = GetPowerDial()) dial->SetValue(Share(angry, limit));
    SetTextOf(GetAngerText(), TString::Format("%i/%i", script::truncateNumber<int>(angry),
                                              script::truncateNumber<int>(limit)));
}
