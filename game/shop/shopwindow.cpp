#include "game/shop/shopwindow.h"

#include <cmath>

#include "core/app/gamestate.h"
#include "core/scripting/luaobject.h"
#include "game/chocolates/chocolate.h"
#include "game/chocolates/chocolatelayer.h"
#include "game/chocolates/chocolatevendor.h"
#include "game/floor/customer.h"
#include "game/floor/player.h"
#include "game/floor/zonecontroller.h"
#include "game/level/levelmanager.h"
#include "game/machines/station.h"
#include "game/objects/objectdescription.h"
#include "game/shell/gamesoundmanager.h"
#include "game/shell/luastyle.h"
#include "game/shell/valuemanager.h"
#include "game/shop/floatingtexts.h"
#include "game/texts/timer.h"
#include "game/widgets/widgetclass.h"
#include "game/utilities/localised.h"
#include "lua/numbercast.h"

namespace {

const char kZonesFile[] = "zones/zones.xml";
const char kPlayerName[] = "player_character";
const int kPlayerLayer = 0;

const char kTextLayerName[] = "text_window";
const char kTimerName[] = "game_timer";
const char kLevelTotal[] = "current_level_total";

ShopWindow* gCurrent = nullptr;
int gPlayNumber = 0;

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

ShopWindow::ShopWindow() = default;

ShopWindow::~ShopWindow() {
    // A newer screen made meanwhile stays current.
    if (gCurrent == this) gCurrent = nullptr;
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
    // Floating texts show over the floor.
    if (RActiveTextLayer* layer = GetTextLayer()) layer->MoveNextTo(this);
}

void ShopWindow::Draw() {
    VSpriteWindow::Draw();
    if (mZones) mZones->DrawDebug();
}

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
            if (key.SubString(0, 8) != "station_" || !value.IsTable()) return;
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
        if (station->GetKind() != kPlainStation || !customer || customer->GetState() != VCustomer::kWaiting) continue;
        auto wanted = std::dynamic_pointer_cast<VChocolate>(customer->GetCurrentItem());
        if (!wanted) continue;
        for (const std::shared_ptr<VChocolate>& item : {first, second}) {
            if (IsWantedWith(*wanted, item, selection, stage)) return item;
        }
    }
    return nullptr;
}

RTimer* ShopWindow::GetLevelTimer() {
    return dynamic_cast<RTimer*>(FindChildWindow(kTimerName, -1));
}

RActiveTextLayer* ShopWindow::GetTextLayer() const {
    TWindow* parent = GetParent();
    return parent ? dynamic_cast<RActiveTextLayer*>(parent->FindChildWindow(kTextLayerName, 1)) : nullptr;
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
    if (values->GetInt(names.record, 0) < count + 1) values->SetValue(names.record, static_cast<float>(count + 1), false);
    if (TGameState* state = TGameState::Get()) {
        int earned = StateValueToInt(state->GetState(names.statistic).c_str());
        // Held within the int range, however large the bonus.
        state->SetStateInt(names.statistic, script::truncateNumber<int>(static_cast<double>(earned) + WholeNumber(bonus)));
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
        layer->AddText(new VGoalText(Localised(reached == kMasteryReached ? "reached_master" : "reached_goal"), reached));
    }
}
