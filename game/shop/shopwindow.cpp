#include "game/shop/shopwindow.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <iterator>

#include "core/app/gamestate.h"
#include "core/scripting/luaobject.h"
#include "core/windows/windowstyle.h"
#include "foundation/debuglog.h"
#include "game/chocolates/chocolate.h"
#include "game/chocolates/chocolatelayer.h"
#include "game/chocolates/chocolatevendor.h"
#include "game/floor/background.h"
#include "game/floor/customer.h"
#include "game/floor/customervendor.h"
#include "game/floor/player.h"
#include "game/floor/zonecontroller.h"
#include "game/level/customerdata.h"
#include "game/level/level.h"
#include "game/level/levelmanager.h"
#include "game/level/upgrademanager.h"
#include "game/machines/station.h"
#include "game/objects/objectdescription.h"
#include "game/progression/plotmanager.h"
#include "game/progression/questmanager.h"
#include "game/progression/questwindow.h"
#include "game/progression/tutorialmanager.h"
#include "game/shell/game.h"
#include "game/shell/gameassetmanager.h"
#include "game/shell/gamesoundmanager.h"
#include "game/shell/luastyle.h"
#include "game/shell/valuemanager.h"
#include "game/shop/levelend.h"
#include "game/shop/floatingtexts.h"
#include "game/shop/shophud.h"
#include "game/sprites/spritemanager.h"
#include "game/texts/activetext.h"
#include "game/texts/timer.h"
#include "game/utilities/findchild.h"
#include "game/utilities/gamerandom.h"
#include "game/utilities/localised.h"
#include "game/utilities/luacommand.h"
#include "game/widgets/widgetclass.h"
#include "lua/numbercast.h"

namespace {

const char kZonesFile[] = "zones/zones.xml";
const char kAssetList[] = "assets.xml";
const char kQuestsFile[] = "locations/quests.lua";
const char kArrivalSound[] = "audio/sfx/customer_arrives.ogg";
const char kPrelevelCommand[] = "DoModal ( 'scripts/prelevel.lua' );";
const char kPlayerName[] = "player_character";
const int kPlayerLayer = 0;
const int kCustomerStations = 6;
const float kArrivalPatience = 100.0f;
const int32_t kSetupHoldTime = 1000;
const uint32_t kFirstEndlessArrival = 3000;
const int64_t kEndWait = 2001;
const uint32_t kEndlessStepPeriod = 250;
const char kLevelTotal[] = "current_level_total";

// Location descriptions by their field in the screen's description.
const struct {
    const char* field;
    const char* name;
} kLocations[] = {
    {"location_grytviken", "grytviken"}, {"location_gaberoun", "gaberoun"}, {"location_iquitos", "iquitos"},
    {"location_krakatoa", "krakatoa"},   {"location_namche", "namche"},     {"location_kamchatka", "kamchatka"},
};

// Counters of a level, as the statistics reset and the metrics name them.
const char* const kLevelCounters[] = {
    "TotalCustomers", "TotalCustomersLost", "OrderCompleted", "MenuDeliveryChainPointsEarned",
    "ServiceChainPointsEarned", "CashPickupChainPointsEarned", "DisplayUsed", "TrashUsed",
};

ShopWindow* gCurrent = nullptr;
int gPlayNumber = 0;

void SetStat(const TString& key, const TString& value) {
    if (TGameState* state = TGameState::Get()) state->SetState(key, value);
}

void SetStatInt(const TString& key, int value) {
    if (TGameState* state = TGameState::Get()) state->SetStateInt(key, value);
}

TString PlayKey(const char* prefix) {
    return TString::Format("%s_%i", prefix, gPlayNumber);
}

// The location's sub-table as a description; null, logged, when it has none.
std::shared_ptr<VLuaStyle> LocationPart(const std::shared_ptr<VLuaStyle>& location, const char* field) {
    std::shared_ptr<VLuaStyle> part = location ? location->GetSubStyle(field) : nullptr;
    if (part && part->IsValid()) return part;
    if (location) DebugLog("ShopWindow: the location has no \"%s\" table", field);
    return nullptr;
}

// The named value of a combo kind's bonus, its label, the best chain of the
// level and the statistics key of the points it earned; kinds without a
// record of their own pay and show as the menu combo.
struct ComboNames {
    const char* bonus;
    const char* label;
    const char* record;
    const char* statistic;
};

const ComboNames& NamesOf(int kind) {
    static const ComboNames kMenu = {"menu_combobonus", "combo_menu", "menu_multiplier_this_level",
                                     "MenuDeliveryChainPointsEarned"};
    static const ComboNames kService = {"service_combobonus", "combo_service", "service_multiplier_this_level",
                                        "ServiceChainPointsEarned"};
    static const ComboNames kPayout = {"payout_combobonus", "combo_payment", "payment_multiplier_this_level",
                                       "CashPickupChainPointsEarned"};
    static const ComboNames kOther = {kMenu.bonus, kMenu.label, nullptr, nullptr};
    switch (kind) {
    case ShopWindow::kMenuCombo:
        return kMenu;
    case ShopWindow::kServiceCombo:
        return kService;
    case ShopWindow::kPayoutCombo:
        return kPayout;
    default:
        return kOther;
    }
}

void PlaySound(const char* name) {
    if (VSoundManager* sounds = VSoundManager::Get()) sounds->PlaySFX(name);
}

int WholeNumber(float value) { return script::truncateNumber<int>(value); }

// The customer wants a chocolate of the item's type with the option in the stage's slot.
bool IsWantedWith(const VChocolate& wanted, const std::shared_ptr<VChocolate>& item, int option, int stage) {
    if (!item || item->GetChocolateType() != wanted.GetChocolateType()) return false;
    std::shared_ptr<VChocolateLayer> layer = wanted.GetSlot(stage);
    return layer && layer->GetOption() == option;
}


}  // namespace

TWindow* ShopWindow::Create() {
    return new ShopWindow();
}

ShopWindow* ShopWindow::GetCurrent() {
    return gCurrent;
}

int ShopWindow::GetPlayNumber() {
    return gPlayNumber;
}

ShopWindow::ShopWindow() {
    mFunctions.Publish("DoDebug", this, &ShopWindow::LoadZones);
    mFunctions.Publish("LevelSetup", this, &ShopWindow::LevelSetup);
    mFunctions.Publish("ReadyForPrelevel", this, &ShopWindow::ReadyForPrelevel);
    mFunctions.Publish("GetEndlevelText", this, &ShopWindow::GetEndlevelText);
    mFunctions.Publish("DoMetrics", this, &ShopWindow::DoMetrics);
    mFunctions.Publish("DoCommand", &mConsole, &VShopConsole::DoCommand);
    mFunctions.Publish("DoCheatGame", &mConsole, &VShopConsole::DoCheatGame);
    VPlotManager::Get()->Clear();
}

ShopWindow::~ShopWindow() {
    // A newer screen made meanwhile stays current, with its level.
    if (gCurrent != this) return;
    gCurrent = nullptr;
    if (VGame* game = VGame::Get()) game->SetGameLoaded(false);
    VAssetManager::Get()->ReleaseAll();
    if (VSoundManager* sounds = VSoundManager::Get()) sounds->PurgeSounds();
    // Managers already released at shutdown are not made again.
    if (auto upgrades = VUpgradeManager::GetIfCreated()) upgrades->Clear();
    if (auto tutorials = VTutorialManager::GetIfCreated()) tutorials->Clear();
    if (auto plots = VPlotManager::GetIfCreated()) plots->Clear();
    if (auto quests = VQuestManager::GetIfCreated()) quests->Clear();
}

const char* ShopWindow::GetClassName() const {
    return "ShopWindow";
}

bool ShopWindow::IsA(TWindowClassId id) const {
    return IsClassIdIn(id, {ClassId(), VSpriteWindow::ClassId(), RWindow::ClassId(), TImage::ClassId(),
                            TWindow::ClassId()});
}

void ShopWindow::PostInit(const TWindowStyle& style) {
    VSpriteWindow::PostInit(style);
    gCurrent = this;
    if (VGame* game = VGame::Get()) game->SetGameLoaded(true);
    TLuaTable* description = style.GetDescription();
    for (const auto& location : kLocations) {
        TLuaTable* table = description ? description->GetTable(location.field) : nullptr;
        if (table) mLocations[location.name] = VLuaStyle::Create(table, nullptr);
    }
    mTutorials = VLuaStyle::Create(description ? description->GetTable("tutorials") : nullptr, nullptr);
    mPosse = VLuaStyle::Create(description ? description->GetTable("posse") : nullptr, nullptr);
    // Floating texts show over the floor.
    if (RActiveTextLayer* layer = GetTextLayer()) layer->MoveNextTo(this);
}

void ShopWindow::Draw() {
    VSpriteWindow::Draw();
    if (mZones) mZones->DrawDebug();
}

bool ShopWindow::OnMouseDown(const TPoint& point) {
    SetStat("++TotalClicks", "");
    return VSpriteWindow::OnMouseDown(point);
}

bool ShopWindow::OnMessage(TMessage* message) {
    std::shared_ptr<VTutorialManager> tutorials = VTutorialManager::Get();
    if (tutorials->IsInputAllowed() && tutorials->OfferMessage(message)) return true;
    return VSpriteWindow::OnMessage(message);
}

uint32_t ShopWindow::ClockTime() const {
    TClock* clock = GetSpriteManager()->GetClock();
    return clock ? static_cast<uint32_t>(clock->GetTime()) : 0;
}

bool ShopWindow::Animate() {
    // Before "LevelSetup" the screen only shows its sprites.
    if (!mLevel) {
        Update();
        return true;
    }
    if (mLevelEnded) return false;
    uint32_t now = ClockTime();
    UpdateStart(now);
    mLastTickTime = now;
    UpdateCustomers();
    if (VShopHud* hud = GetHud()) hud->Update();
    RTimer* timer = GetLevelTimer();
    // Read unsigned, as the clock it follows wraps.
    uint32_t elapsed = timer ? static_cast<uint32_t>(timer->GetElapsedTime()) : 0;
    if (mEndless) {
        UpdateEndless(elapsed);
    } else {
        UpdateStoryRequests();
        UpdateStoryEnd(elapsed);
    }
    if (!mEndTime || static_cast<int64_t>(elapsed) - *mEndTime < kEndWait) {
        Update();
        return true;
    }
    EndLevel();
    return false;
}

bool ShopWindow::OnKeyDown(int key, int modifiers) {
    if ((key == 'c' || key == 'C') && (modifiers & VSpriteManager::kCtrlFlag) != 0) return mConsole.Open();
    return VSpriteWindow::OnKeyDown(key, modifiers);
}

void ShopWindow::UpdateStart(uint32_t now) {
    if (mHoldTime > 0) {
        uint32_t passed = now - mLastTickTime;
        mHoldTime = passed >= static_cast<uint32_t>(mHoldTime) ? 0 : mHoldTime - static_cast<int32_t>(passed);
        return;
    }
    const std::shared_ptr<VSpriteManager>& sprites = GetSpriteManager();
    if (mStartPending && (mEndless || (!mPrelevelRequested && !mPlotPending))) {
        mStartPending = false;
        if (RTimer* timer = GetLevelTimer()) timer->Start();
        sprites->SetPaused(false);
        sprites->SetInputRestricted(false);
        if (mEndless) VTutorialManager::Get()->StartTutorial("tutorial_endless_2");
        VTutorialManager::Get()->FireTrigger("endless_start", "");
    } else if (!mStartPending && !mEndless && !VTutorialManager::Get()->IsInputAllowed()) {
        bool shown = VTutorialManager::Get()->AreTutorialsShown();
        sprites->SetInputRestricted(shown && GetLevelTimer() && mLevel->InLockdown(GetLevelProgress()));
    }
}

void ShopWindow::UpdateStoryRequests() {
    if (mPrelevelRequested) {
        mPrelevelRequested = false;
        if (mLevel->NeedPrelevel()) {
            QueueLuaCommand(kPrelevelCommand);
            mLevel->SetNeedPrelevel(false);
        } else {
            mPlotPending = true;
        }
    }
    if (mPlotPending) {
        mPlotPending = false;
        if (mLevel->NeedPlot()) VPlotManager::Get()->ShowPlotWindow();
    }
}

// Level set-up.

void ShopWindow::LevelSetup() {
    VGame* game = VGame::Get();
    mEndless = game && game->GetCurrentGameMode() != 0;
    if (VSoundManager* sounds = VSoundManager::Get()) sounds->PurgeSounds();
    ResetInput();
    std::shared_ptr<VAssetManager> assets = VAssetManager::Get();
    assets->RetireCurrentAssets();
    if (!mZonesLoaded) PrepareFirstSetup();
    // Retired above and dropped at the end, so what the list names again stays loaded.
    assets->LoadAssetList(kAssetList, false);

    RemoveAllSprites();
    mStations.clear();
    mPlayer.reset();
    mBackground.reset();
    mPendingCustomers.clear();
    mActiveCustomers.clear();
    mLastComboKind = 0;
    mComboCount = 0;
    mEndTime.reset();
    mLevelEnded = false;
    mGoalStage = 0;
    LoadManagedValues();
    std::shared_ptr<VValueManager> values = VValueManager::Get();
    if (mEndless) {
        int difficulty = game->GetCurrentDifficulty();
        float modifier = difficulty == 1   ? values->GetReal("endless_medium_modifier", 0.0f)
                         : difficulty == 2 ? values->GetReal("endless_hard_modifier", 0.0f)
                                           : 0.0f;
        values->SetValue("endless_diff_modifier", modifier, false);
    }

    int number = ChooseLevelNumber();
    VQuestManager::Get()->SetLevel(number);
    if (VQuestWindow* window = GetQuestWindow()) window->Refresh();
    LoadLevelDefinition(number);

    std::shared_ptr<VUpgradeManager> upgrades = VUpgradeManager::Get();
    upgrades->SetEndlessMode(mEndless);
    upgrades->SetupForLevel(mLevel, TString::Format("locations/%s/upgrades.xml", mLevel->GetLocation().c_str()), -1,
                            std::max(1, VLevelManager::Get()->GetCurrentLevel()), !mEndless, nullptr);
    // The set-up read the catalogue afresh, hiding what quests revealed.
    VQuestManager::Get()->ApplyReveals();
    std::shared_ptr<VTutorialManager> tutorials = VTutorialManager::Get();
    tutorials->PrepareTutorials();
    tutorials->SetLevel(mLevel);

    std::shared_ptr<VLuaStyle> location = GetLocation(mLevel->GetLocation());
    if (!location) DebugLog("ShopWindow: no description of the location \"%s\"", mLevel->GetLocation().c_str());
    LoadLocation(location);
    upgrades->ApplyUpgradeEffects(*GetSpriteManager());
    VPlotManager::Get()->SetLevel(mEndless ? nullptr : mLevel);
    if (mChocolateVendor) mChocolateVendor->UpdateAvailability();
    QueueLevelCustomers();

    if (VShopHud* hud = GetHud()) hud->Setup();
    if (RActiveTextLayer* layer = GetTextLayer()) layer->Clear();
    PlayLevelMusic(location);

    Update();
    mHoldTime = kSetupHoldTime;
    mLastTickTime = ClockTime();
    mStartPending = true;
    if (RTimer* timer = GetLevelTimer()) timer->SetRunning(false);
    const std::shared_ptr<VSpriteManager>& sprites = GetSpriteManager();
    sprites->SetInputRestricted(true);
    sprites->SetPaused(true);
    mDeliveryBusy = false;

    ResetLevelStatistics();
    StartAnimation();
    assets->DropRetiredAssets();
}

void ShopWindow::PrepareFirstSetup() {
    mZonesLoaded = true;
    LoadZones();
    std::shared_ptr<VTutorialManager> tutorials = VTutorialManager::Get();
    tutorials->LoadTutorials(mTutorials ? mTutorials->GetLuaTable() : nullptr, mTutorials);
    tutorials->SetSpriteManager(GetSpriteManager());
    mCustomerVendor = VCustomerVendor::Create();
    if (mPosse && mPosse->IsValid()) mCustomerVendor->LoadCommonTypes(mPosse);
    std::shared_ptr<VQuestManager> quests = VQuestManager::Get();
    if (mEndless) {
        quests->Clear();
    } else {
        quests->LoadQuests(kQuestsFile);
        quests->LoadQuestStates();
    }
}

int ShopWindow::ChooseLevelNumber() {
    std::shared_ptr<VLevelManager> levels = VLevelManager::Get();
    int number = levels->GetCurrentLevel();
    if (number == 0) {
        number = 1;
        levels->SetCurrentLevel(number);
    } else if (mEndless && number % 10 != 1) {
        // The first level of its block of ten.
        number = 10 * ((number - 1) / 10) + 1;
        levels->SetCurrentLevel(number);
    }
    return number;
}

void ShopWindow::LoadLevelDefinition(int number) {
    mLevel = ZqLevel::Create(number, TString::Format("levels/level%.2i.xml", number));
    std::shared_ptr<VLevelManager> levels = VLevelManager::Get();
    levels->SetCurrentLevelObject(mLevel);
    if (mEndless) return;
    std::shared_ptr<VValueManager> values = VValueManager::Get();
    values->SetValue("current_worth", static_cast<float>(levels->GetCurrentLocationScore()), false);
    if (mLevel->GetChocolateDecay() != 0) {
        values->SetValue("chocolate_decay_rate", 100.0f / static_cast<float>(mLevel->GetChocolateDecay()), false);
    }
    if (mLevel->GetCustomerDecay() > 0) values->SetValue("level_customer_decay", mLevel->GetCustomerDecay() + 1, false);
}

void ShopWindow::LoadLocation(const std::shared_ptr<VLuaStyle>& location) {
    if (!location) return;
    LoadChocolates(location);
    if (std::shared_ptr<VLuaStyle> stations = LocationPart(location, "stations")) {
        LoadStations(stations);
    }
    LoadCustomerArt(location);
    if (std::shared_ptr<VLuaStyle> player = LocationPart(location, "player")) LoadPlayer(player);
    LoadBackground(location);
    LoadPlot(location);
}

void ShopWindow::LoadChocolates(const std::shared_ptr<VLuaStyle>& location) {
    std::shared_ptr<VLuaStyle> chocolates = LocationPart(location, "chocolates");
    if (!chocolates) return;
    if (!mChocolateVendor) mChocolateVendor = VChocolateVendor::Create();
    mChocolateVendor->Load(chocolates->GetLuaTable());
}

void ShopWindow::LoadCustomerArt(const std::shared_ptr<VLuaStyle>& location) {
    if (!mCustomerVendor) return;
    if (std::shared_ptr<VLuaStyle> objects = LocationPart(location, "objects")) mCustomerVendor->SetUpAssets(objects);
    if (std::shared_ptr<VLuaStyle> customers = LocationPart(location, "customers")) {
        mCustomerVendor->LoadLevelTypes(customers);
    }
}

void ShopWindow::LoadBackground(const std::shared_ptr<VLuaStyle>& location) {
    std::shared_ptr<VLuaStyle> background = LocationPart(location, "background");
    if (!background) return;
    mBackground = VBackground::Create();
    AddSprite(mBackground);
    mBackground->Load(background);
    mBackground->Reset();
}

void ShopWindow::LoadPlot(const std::shared_ptr<VLuaStyle>& location) {
    std::shared_ptr<VLuaStyle> plot = LocationPart(location, "plot");
    if (!plot) return;
    std::shared_ptr<VPlotManager> plots = VPlotManager::Get();
    plots->Clear();
    plots->LoadPlotItems(std::shared_ptr<TLuaTable>(location->GetSubTable("plot")));
    plots->UpdateItemsForLevel();
}

void ShopWindow::QueueLevelCustomers() {
    if (mEndless) {
        RTimer* timer = GetLevelTimer();
        mLastEndlessStepTime = timer ? static_cast<uint32_t>(timer->GetElapsedTime()) : 0;
        mNextArrivalTime = kFirstEndlessArrival;
        return;
    }
    if (mChocolateVendor) mChocolateVendor->SetMaxLayers(mLevel->GetMaxLayers());
    if (!mCustomerVendor) return;
    for (const std::shared_ptr<VCustomerData>& definition : mLevel->GetCustomers()) {
        std::shared_ptr<VCustomer> customer = mCustomerVendor->CreateCustomer(definition->GetType());
        if (!customer) {
            DebugLog("ShopWindow: level %i names the customer type \"%s\", which has no template; skipped",
                     mLevel->GetNumber(), definition->GetType().c_str());
            continue;
        }
        customer->SetDefinition(definition);
        mPendingCustomers.push_back(customer);
    }
}

void ShopWindow::PlayLevelMusic(const std::shared_ptr<VLuaStyle>& location) {
    TString music = location ? location->GetString("music_01", "") : TString();
    VSoundManager* sounds = VSoundManager::Get();
    if (music.Length() == 0) {
        DebugLog("ShopWindow: the location names no \"music_01\"; the level plays without music");
    } else if (sounds) {
        sounds->PlayMusic(music, nullptr, true);
    }
}

void ShopWindow::ResetLevelStatistics() {
    int number = mLevel ? mLevel->GetNumber() : -1;
    SetStatInt("LevelNumber", number);
    SetStatInt("TutorialEnd", -1);
    for (const char* counter : kLevelCounters) SetStatInt(counter, 0);
    SetStatInt("TrashUsedItemID", -1);
    SetStatInt("TotalClicks", 0);
    SetStatInt("TotalValidClicks", 0);
    SetStatInt("SweetRewardsEarnedID", -1);
    SetStatInt("LatestLevelStory", number);
    ++gPlayNumber;
    SetStatInt(PlayKey("PlayTime"), 1);
}

// Arrivals and departures.

void ShopWindow::UpdateCustomers() {
    if (!GetSpriteManager()->IsPaused()) {
        RTimer* timer = GetLevelTimer();
        if (mEndless) {
            if (timer) ArriveEndless(static_cast<uint32_t>(timer->GetElapsedTime()));
        } else if (timer && timer->IsRunning() && timer->GetElapsedTime() < timer->GetStartTime()) {
            ArriveStory();
        }
    }
    UpdateDepartures();
}

std::shared_ptr<VStation> ShopWindow::ChooseStation(const TString& name) const {
    std::shared_ptr<VStation> candidate = name.Length() == 0 ? nullptr : FindStation(name);
    if (!candidate) {
        std::vector<std::shared_ptr<VStation>> free;
        for (int number = 1; number <= kCustomerStations; ++number) {
            std::shared_ptr<VStation> station = FindStationByNumber(number);
            if (station && station->GetKind() == VStation::kPlainStation && !station->GetCustomer()) {
                free.push_back(station);
            }
        }
        if (!free.empty()) candidate = free[PlatformRandom() % free.size()];
    }
    if (candidate && candidate->GetCustomer()) return nullptr;
    return candidate;
}

void ShopWindow::SendToStation(const std::shared_ptr<VCustomer>& customer, const std::shared_ptr<VStation>& station) {
    AddSprite(customer);
    mActiveCustomers.push_back(customer);
    customer->Arrive(station, kArrivalPatience);
}

void ShopWindow::ArriveEndless(uint32_t elapsed) {
    if (elapsed < mNextArrivalTime) return;
    std::shared_ptr<VStation> station = ChooseStation("");
    if (station && mCustomerVendor) {
        if (std::shared_ptr<VCustomer> customer = mCustomerVendor->CreateRandomCustomer()) {
            SendToStation(customer, station);
        }
    }
    mNextArrivalTime = NextArrivalTime(elapsed);
}

uint32_t ShopWindow::NextArrivalTime(uint32_t elapsed) const {
    std::shared_ptr<VValueManager> values = VValueManager::Get();
    float seconds = static_cast<float>(elapsed / 1000);
    double modifier = values->ScaleWithinLimits("customer_delay_modifier", seconds, true);
    int64_t delay = values->GetUint("customer_delay", 10000);
    int64_t variance = values->GetUint("customer_delay_variance", 500);
    // No variance is no random part; a spread wider than the delay stops at 0.
    if (variance > 0) delay += static_cast<int64_t>(PlatformRandom() % static_cast<uint64_t>(variance)) - variance / 2;
    delay = std::max<int64_t>(delay, 0);
    double next = static_cast<double>(elapsed) + static_cast<double>(delay) * (1.0 - modifier);
    return std::max(elapsed, script::truncateNumber<uint32_t>(next));
}

void ShopWindow::ArriveStory() {
    float progress = GetLevelProgress();
    for (auto it = mPendingCustomers.begin(); it != mPendingCustomers.end();) {
        std::shared_ptr<VCustomer> customer = *it;
        const std::shared_ptr<VCustomerData>& definition = customer->GetDefinition();
        std::shared_ptr<VStation> station = ChooseStation(definition ? definition->GetStation() : TString());
        if (!station || !definition || definition->GetStart() > progress) {
            ++it;
            continue;
        }
        SendToStation(customer, station);
        PlaySound(kArrivalSound);
        it = mPendingCustomers.erase(it);
        SetStat("++TotalCustomers", "");
    }
}

void ShopWindow::UpdateDepartures() {
    bool paused = GetSpriteManager()->IsPaused();
    for (auto it = mActiveCustomers.begin(); it != mActiveCustomers.end();) {
        std::shared_ptr<VCustomer> customer = *it;
        customer->Update(paused);
        if (!customer->IsFinished()) {
            ++it;
            continue;
        }
        if (std::shared_ptr<VStation> station = customer->GetStation()) station->DetachCustomer();
        RemoveSprite(customer);
        it = mActiveCustomers.erase(it);
    }
}

// The end of the level.

void ShopWindow::UpdateStoryEnd(uint32_t elapsed) {
    if (mEndTime || mDeliveryBusy || !mActiveCustomers.empty()) return;
    RTimer* timer = GetLevelTimer();
    bool timeUp = timer && static_cast<int64_t>(elapsed) >= timer->GetStartTime();
    if (timeUp || mPendingCustomers.empty()) mEndTime = elapsed;
}

void ShopWindow::UpdateEndless(uint32_t elapsed) {
    StepEndlessDifficulty(elapsed);
    std::shared_ptr<VValueManager> values = VValueManager::Get();
    if (!mEndTime &&
        values->GetInt("angry_this_level", 0) >= values->GetInt("angry_customer_limit", kDefaultAngryLimit)) {
        mEndTime = elapsed;
    }
}

// Each endless level of the block of ten lasts until the elapsed minutes
// reach its threshold; the tenth has none.
void ShopWindow::StepEndlessDifficulty(uint32_t elapsed) {
    if (elapsed - mLastEndlessStepTime < kEndlessStepPeriod) return;
    mLastEndlessStepTime = elapsed;
    std::shared_ptr<VLevelManager> levels = VLevelManager::Get();
    int level = levels->GetCurrentLevel();
    int step = level % VLevelManager::kLevelsPerLocation;
    if (step < 1) return;
    // Without a threshold the level stays.
    float threshold = VValueManager::Get()->GetReal(TString::Format("endless_threshold_%i", step), FLT_MAX);
    if (threshold > static_cast<float>(elapsed / 1000) / 60.0f) return;
    levels->SetCurrentLevel(level + 1);
    VUpgradeManager::Get()->SelectLocation(level + 1, TString(), -1, level + 1, nullptr);
    if (mChocolateVendor) {
        mChocolateVendor->SetEndlessLayers(static_cast<float>(elapsed / 60000));
        mChocolateVendor->UpdateAvailability();
    }
    VTutorialManager::Get()->StartTutorial("tutorial_endless_2");
}

void ShopWindow::EndLevel() {
    if (!mLevel || mLevelEnded) return;
    mLevelEnded = true;
    if (mEndless) {
        EndEndlessLevel(GetLevelTimer());
        return;
    }
    int status = EndStoryLevel(*mLevel);
    DoMetrics(status == VLevelManager::kNotCompleted ? 1 : 0, status == VLevelManager::kMastered);
    // Settled: a pass put the takings into the worth, a failure earned
    // nothing, so the end dialog's worth does not count them twice.
    VValueManager::Get()->SetValue("current_level_total", 0, false);
}

// End of level texts and statistics.

TString ShopWindow::GetEndlevelText(int n) const {
    if (mEndless) return Localised("endlevel_endless_blurb_1");
    TString quests = VQuestManager::Get()->GetStatusText();
    if (quests.Length() != 0) return quests;
    return Localised(n != 0 ? "endlevel_blurb_1" : "endlevel_blurb_2");
}

void ShopWindow::DoMetrics(int failed, bool mastered) const {
    const char kStatus[] = "LevelCompleteStory";
    SetStatInt(PlayKey("PlayTime"), 0);
    SetStat("begin-status", kStatus);
    SetStat("add-state", "LevelNumber");
    SetStat("add-timer", PlayKey("PlayTime"));
    SetStatInt("add-value", failed != 0 ? 1 : 0);
    SetStat("add-timer", PlayKey("DiaryTime"));
    SetStat("add-timer", PlayKey("TutorialTime"));
    SetStat("add-state", "TutorialEnd");
    SetStatInt("add-value", VValueManager::Get()->GetInt(kLevelTotal, 0));
    SetStatInt("add-value", mastered ? 1 : 0);
    for (const char* counter : kLevelCounters) SetStat("add-state", counter);
    for (const char* counter : {"TrashUsedItemID", "TotalClicks", "TotalValidClicks", "SweetRewardsEarnedID"}) {
        SetStat("add-state", counter);
    }
    SetStat("end-status", kStatus);
}

// Accessors.

bool ShopWindow::IsLevelClosing() {
    if (mEndTime || mLevelEnded) return true;
    RTimer* timer = GetLevelTimer();
    return mLevel && !mEndless && timer && timer->GetElapsedTime() >= timer->GetStartTime();
}

VShopHud* ShopWindow::GetHud() {
    return FindChildAs<VShopHud>(this, "shop_hud");
}

VQuestWindow* ShopWindow::GetQuestWindow() {
    return FindChildAs<VQuestWindow>(this, "quest_window");
}

RTimer* ShopWindow::GetLevelTimer() {
    VShopHud* hud = GetHud();
    return hud ? hud->GetGameTimer() : nullptr;
}

RActiveTextLayer* ShopWindow::GetTextLayer() const {
    TWindow* parent = GetParent();
    return parent ? FindChildAs<RActiveTextLayer>(parent, "text_window") : nullptr;
}

float ShopWindow::GetLevelProgress() {
    RTimer* timer = GetLevelTimer();
    if (!timer || timer->GetStartTime() <= 0) return 0.0f;
    float percent = static_cast<float>(timer->GetElapsedTime()) / static_cast<float>(timer->GetStartTime()) * 100.0f;
    return std::min(percent, 100.0f);
}

bool ShopWindow::LevelNeedsPrelevel() const {
    return mLevel && mLevel->NeedPrelevel();
}

void ShopWindow::DrawWithLayers() {
    std::vector<std::shared_ptr<VCustomer>> shown;
    for (const std::shared_ptr<VCustomer>& customer : mActiveCustomers) {
        if (!customer->IsVisible()) continue;
        customer->SetVisible(false);
        shown.push_back(customer);
    }
    Draw();
    for (const std::shared_ptr<VCustomer>& customer : shown) customer->SetVisible(true);
}

void ShopWindow::RefreshAfterUpgrades() {
    if (!mChocolateVendor) return;
    mPlotPending = true;
    mChocolateVendor->UpdateAvailability();
    VTutorialManager::Get()->SetSpriteManager(GetSpriteManager());
    for (const auto& [name, station] : mStations) station->ApplyUpgrades();
    if (mBackground) mBackground->Reset();
}

std::shared_ptr<VLuaStyle> ShopWindow::GetLocation(const TString& name) const {
    auto found = mLocations.find(name);
    return found == mLocations.end() ? nullptr : found->second;
}

// The floor.

void ShopWindow::LoadZones() {
    if (mZones) {
        mZones->Load(kZonesFile);
    } else {
        mZones = ZoneController::Create(kZonesFile);
    }
}

void ShopWindow::LoadStations(const std::shared_ptr<VLuaStyle>& stations) {
    TLuaTable* table = stations ? stations->GetLuaTable() : nullptr;
    if (table) {
        ForEachTableEntry(*table, [&](const TString& key, const TLuaObjectWrapper& value) {
            if (key.SubString(0, 8) != "station_") return;
            if (!value.IsTable()) {
                DebugLog("ShopWindow: the station entry \"%s\" is no table; skipped", key.c_str());
                return;
            }
            std::shared_ptr<VLuaStyle> entry = VLuaStyle::CreateFromObject(stations, value);
            std::shared_ptr<VStation> station = VStation::Create(0, entry->GetInt("stationType", 0));
            station->Load(entry);
            station->ApplyUpgrades();
            AddStation(entry->GetString("name", ""), station);
        });
    }
    if (mZones) mZones->SetPointBlocked("middle_center", "avatar", true);
}

void ShopWindow::AddStation(const TString& name, const std::shared_ptr<VStation>& station) {
    mStations[LowerCase(name)] = station;
    AddSprite(station);
}

void ShopWindow::LoadPlayer(const std::shared_ptr<VLuaStyle>& description) {
    if (mPlayer) RemoveSprite(mPlayer);
    mPlayer = VPlayer::Create(mZones, kPlayerName, kPlayerLayer);
    mPlayer->Load(description);
    mPlayer->Reset();
    AddSprite(mPlayer);
}

std::shared_ptr<VStation> ShopWindow::FindStation(const TString& name) const {
    auto found = mStations.find(LowerCase(name));
    return found == mStations.end() ? nullptr : found->second;
}

std::shared_ptr<VStation> ShopWindow::FindStationByNumber(int number) const {
    return FindStation(TString::Format("station%.2i", number));
}

std::shared_ptr<VStation> ShopWindow::FindStationAtPoint(const std::shared_ptr<ZonePoint>& point) const {
    if (!point) return nullptr;
    for (const auto& [name, station] : mStations) {
        if (station->HasPlayerPoint(point)) return station;
    }
    return nullptr;
}

std::shared_ptr<VStation> ShopWindow::FindStationHolding(const std::shared_ptr<VSprite>& sprite) const {
    for (std::shared_ptr<VSprite> member = sprite; member; member = member->GetOwner()) {
        for (const auto& [name, station] : mStations) {
            if (station == member) return station;
        }
    }
    return nullptr;
}

bool ShopWindow::IsStation16Active() const {
    std::shared_ptr<VStation> station = FindStation("station16");
    return station && station->IsVisible();
}

bool ShopWindow::PassItemToStation(const std::shared_ptr<VCarriable>& item) {
    for (int number = 1;; ++number) {
        std::shared_ptr<VStation> station = FindStationByNumber(number);
        if (!station) return false;
        if (station->GetKind() != VStation::kPlainStation) continue;
        const std::shared_ptr<VCustomer>& customer = station->GetCustomer();
        if (customer && customer->OfferItem(item)) return true;
    }
}

std::shared_ptr<VChocolate> ShopWindow::PassItemToStation(const std::shared_ptr<VChocolate>& first,
                                                          const std::shared_ptr<VChocolate>& second, int selection,
                                                          int stage) const {
    // The counters are numbered from 1 without gaps.
    for (int number = 1; std::shared_ptr<VStation> station = FindStationByNumber(number); ++number) {
        const std::shared_ptr<VCustomer>& customer = station->GetCustomer();
        if (station->GetKind() != VStation::kPlainStation || !customer || customer->GetState() != VCustomer::kWaiting) continue;
        auto wanted = std::dynamic_pointer_cast<VChocolate>(customer->GetCurrentItem());
        if (!wanted) continue;
        for (const std::shared_ptr<VChocolate>& item : {first, second}) {
            if (IsWantedWith(*wanted, item, selection, stage)) return item;
        }
    }
    return nullptr;
}

// Payment, tips and combos

void ShopWindow::AddPayment(float amount, const TVec2& point, const std::shared_ptr<VCustomer>& customer) {
    VValueManager* values = VValueManager::Get().get();
    float total = values->ScaleWithinLimits("salemodifier", amount, true);
    if (customer) {
        total += values->ScaleWithinLimits("tipmodifier", customer->GetPatience() / 100.0f * customer->GetTip(), true);
    }
    float levelTotal = AddTakings(total);
    if (RActiveTextLayer* layer = GetTextLayer()) {
        layer->AddText(new VPaymentText(WholeNumber(std::floor(total)), WholeNumber(point.x), WholeNumber(point.y)));
    }
    if (!mEndless) CheckGoal(levelTotal);
    Combo(kPayoutCombo);
}

void ShopWindow::Combo(int kind) {
    if (kind != mLastComboKind) {
        mLastComboKind = kind;
        mComboCount = 0;
        return;
    }
    int count = ++mComboCount;
    const ComboNames& names = NamesOf(kind);
    VValueManager* values = VValueManager::Get().get();
    float bonus = values->ScaleWithinLimits(names.bonus, static_cast<float>(count), true);
    float levelTotal = AddTakings(bonus);
    if (RActiveTextLayer* layer = GetTextLayer()) {
        TVec2 at = mPlayer ? mPlayer->GetPosition() + TVec2(0, -75) : TVec2(400, 300);
        layer->AddText(new VComboText(Localised(names.label), count + 1, WholeNumber(bonus), WholeNumber(at.x),
                                      WholeNumber(at.y)));
    }
    if (!mEndless) CheckGoal(levelTotal);
    if (!names.record) return;
    if (values->GetInt(names.record, 0) < count + 1) {
        values->SetValue(names.record, static_cast<float>(count + 1), false);
    }
    if (TGameState* state = TGameState::Get()) {
        double earned = StateValueToInt(state->GetState(names.statistic).c_str());
        // Held within the int range, however large the bonus.
        state->SetStateInt(names.statistic, script::truncateNumber<int>(earned + WholeNumber(bonus)));
    }
}

float ShopWindow::AddTakings(float amount) {
    VValueManager* values = VValueManager::Get().get();
    float levelTotal = values->AddToValue(kLevelTotal, amount, 0, false);
    if (mEndless) {
        values->AddToValue("current_worth", amount, 0, false);
        values->AddToValue("endless_level_counter", amount, 0, false);
    }
    return levelTotal;
}

void ShopWindow::CheckGoal(float levelTotal) {
    std::shared_ptr<VLevelManager> levels = VLevelManager::Get();
    int reached = kNothingReached;
    if (mGoalStage <= kGoalReached && static_cast<float>(levels->GetCurrentMastery()) <= levelTotal) {
        reached = kMasteryReached;
        PlaySound("audio/sfx/master.ogg");
        VValueManager::Get()->SetValue("mastery_this_level", 1.0f, false);
    } else if (mGoalStage == kNothingReached && static_cast<float>(levels->GetCurrentGoal()) <= levelTotal) {
        reached = kGoalReached;
        PlaySound("audio/sfx/goal.ogg");
    } else {
        return;
    }
    mGoalStage = reached;
    if (RActiveTextLayer* layer = GetTextLayer()) {
        const char* label = reached == kMasteryReached ? "reached_master" : "reached_goal";
        layer->AddText(new VGoalText(Localised(label), reached));
    }
}
