#include "game/machines/station.h"

#include "core/app/gamestate.h"
#include "core/scripting/luaobject.h"
#include "game/floor/customer.h"
#include "game/floor/player.h"
#include "game/floor/zonecontroller.h"
#include "game/level/level.h"
#include "game/level/levelmanager.h"
#include "game/level/upgrademanager.h"
#include "game/machines/conveyor.h"
#include "game/machines/display.h"
#include "game/machines/disposal.h"
#include "game/machines/machine.h"
#include "game/objects/objectdescription.h"
#include "game/objects/suspendabletutorial.h"
#include "game/progression/tutorial.h"
#include "game/shell/luastyle.h"
#include "game/shop/shopwindow.h"
#include "game/sprites/hoverglow.h"
#include "lua/numbercast.h"

namespace {

const char kPlayerZone[] = "avatar";
const char kCustomerZone[] = "customers";
const float kGlowStrength = 0.18f;

std::shared_ptr<ZoneController> LevelZones() {
    ShopWindow* screen = ShopWindow::GetCurrent();
    return screen ? screen->GetZoneController() : nullptr;
}

std::shared_ptr<VPlayer> LevelPlayer() {
    ShopWindow* screen = ShopWindow::GetCurrent();
    return screen ? screen->GetPlayer() : nullptr;
}

const char kTabletop[] = "tabletop";
const char kAesthetic[] = "aesthetic";

bool IsStationUpgradeOwned(const char* name) {
    return VUpgradeManager::Get()->IsUpgradeOwned(name, kAesthetic);
}

// Endless play shows every upgrade; the pre-level shop may preview one on
// the level being loaded.
bool MayShowStationUpgrade(const char* name) {
    std::shared_ptr<VUpgradeManager> upgrades = VUpgradeManager::Get();
    ShopWindow* screen = ShopWindow::GetCurrent();
    if (upgrades->IsUpgradeOwned(name, kAesthetic) || (screen && screen->IsEndlessMode())) return true;
    if (!upgrades->IsUpgradeActive(name, kAesthetic) || !screen) return false;
    const std::shared_ptr<VLevel>& level = VLevelManager::Get()->GetCurrentLevelObject();
    return level && level->NeedPrelevel();
}

}  // namespace

std::shared_ptr<VStation> VStation::Create(int number, int kind) {
    std::shared_ptr<VStation> station;
    switch (kind) {
        case kConveyorStation: station = VConveyor::Create(number); break;
        case kDisplayStation: station = VDisplay::Create(number); break;
        case kDisposalStation: station = VDisposal::Create(number); break;
        default:
            station = std::make_shared<VStation>(number, kind);
            Adopt(station);
            break;
    }
    switch (kind) {
        case kPlainStation:
        case kDisplayStation:
        case kConveyorStation:
            station->AddEffect(VHoverGlow::Create(false, kGlowStrength, true, true));
            break;
        case kDisposalStation:
            station->AddEffect(VHoverGlow::Create(true, kGlowStrength, true, false));
            break;
        default:
            break;
    }
    return station;
}

VStation::VStation(int number, int kind)
    : VSuspendable(TString::Format("station%02i", number), 0), mStationId(number), mKind(kind) {
    SetClickable(true);
}

VStation::~VStation() = default;

void VStation::Reset() { ApplyUpgrades(); }

void VStation::ApplyUpgrades() {
    VSuspendable::Reset();
    const char* state = "default";
    if (IsStationUpgradeOwned("kStation2")) {
        state = "upgrade2";
    } else if (IsStationUpgradeOwned("kStation1")) {
        state = "upgrade1";
    }
    SetAsset(kTabletop, state, "default");
    RelinkMachines();
    SetMouseEnabled(mEnabledMachines > 0 || mCustomer);
}

bool VStation::ShowIfOwned(const char* upgrade, bool reset) {
    bool owned = VUpgradeManager::Get()->IsUpgradeOwned(upgrade, "station");
    if (owned) {
        SetAsset("base", "default", "default");
        if (reset) VSuspendable::Reset();
    }
    SetVisible(owned);
    return owned;
}

void VStation::RelinkMachines() {
    mSoleMachine.reset();
    mEnabledMachines = 0;
    for (const auto& [key, machine] : mMachines) {
        if (!machine->IsEnabled()) continue;
        ++mEnabledMachines;
        mSoleMachine = mEnabledMachines == 1 ? machine : nullptr;
    }
    std::shared_ptr<VStation> self = GetSharedAs<VStation>();
    for (const auto& [key, machine] : mMachines) machine->SetStation(self);
}

void VStation::OnMouseEnter() { TellSoleMachine(kEventEnter); }

void VStation::OnMouseLeave() { TellSoleMachine(kEventLeave); }

void VStation::TellSoleMachine(int event) {
    if (mSoleMachine) mSoleMachine->SendEvent(event, TPoint(), mSoleMachine->GetDrawState(), 0);
}

void VStation::Update(bool paused) { VObject::Update(paused); }

void VStation::OnClick() {
    std::shared_ptr<VPlayer> player = LevelPlayer();
    if (player && !mPlayerPoints.empty()) player->QueueGoTo(NearestPlayerPoint(player->GetPosition()));
    if (TGameState* state = TGameState::Get()) state->SetState("++TotalValidClicks", "");
}

std::shared_ptr<ZonePoint> VStation::NearestPlayerPoint(const TVec2& from) const {
    std::shared_ptr<ZonePoint> best;
    float bestDistance = 0;
    for (const std::shared_ptr<ZonePoint>& point : mPlayerPoints) {
        TVec2 at(static_cast<float>(point->GetX()), static_cast<float>(point->GetY()));
        float distance = (at - from).Length();
        // Ties keep the point listed first.
        if (!best || distance < bestDistance) {
            best = point;
            bestDistance = distance;
        }
    }
    return best;
}

void VStation::Load(const std::shared_ptr<VLuaStyle>& description) {
    DetachCustomer();
    mMachines.clear();
    RemoveAllChildren();
    if (description) {
        mStationId = description->GetInt("stationID", 0);
        mKind = description->GetInt("stationType", 0);
        LoadMachines(description);
        LoadPlayerPoints(*description);
        LoadCustomerPlace(*description);
    }
    VSuspendable::Load(description);
    PreloadTabletop();
}

void VStation::LoadMachines(const std::shared_ptr<VLuaStyle>& description) {
    std::unique_ptr<TLuaTable> machines = GetOwnSubTable(*description, "machines");
    if (!machines) return;
    ForEachTableEntry(*machines, [&](const TString& key, const TLuaObjectWrapper& value) {
        if (!value.IsTable()) return;
        std::shared_ptr<VLuaStyle> entry = VLuaStyle::CreateFromObject(description, value);
        int kind;
        {
            VStyleReach own(*entry, 0);
            kind = entry->GetInt("stationType", mKind);
        }
        std::shared_ptr<VMachine> machine = CreateMachine(kind);
        machine->Load(entry);
        machine->ApplyUpgrades();
        TString name = LowerCase(key);
        if (auto replaced = mMachines.find(name); replaced != mMachines.end()) {
            RemoveChild(std::shared_ptr<VSprite>(replaced->second));
        }
        mMachines[name] = machine;
        AddChild(machine);
    });
}

std::shared_ptr<VMachine> VStation::CreateMachine(int kind) const { return VMachine::Create(kind); }

void VStation::PreloadTabletop() {
    // Ahead of the tabletop that the upgrades will show.
    bool secondOwned = IsStationUpgradeOwned("kStation2");
    if (MayShowStationUpgrade("kStation2")) PreloadAssets(kTabletop, "upgrade2", false);
    if (!secondOwned && MayShowStationUpgrade("kStation1")) PreloadAssets(kTabletop, "upgrade2", false);
    if (!secondOwned && !IsStationUpgradeOwned("kStation1")) PreloadAssets(kTabletop, "default", false);
}

void VStation::LoadPlayerPoints(VLuaStyle& description) {
    mPlayerPoints.clear();
    mFacings.clear();
    std::shared_ptr<ZoneController> zones = LevelZones();
    if (!zones) return;
    if (std::unique_ptr<TLuaTable> pairs = description.GetSubTable("playerPoint")) {
        // Name and facing in turn; a missing facing is the front.
        for (int index = 1; index <= pairs->GetCount(); index += 2) {
            std::shared_ptr<ZonePoint> point = zones->FindPoint(kPlayerZone, pairs->GetStringAt(index));
            if (!point) continue;
            mPlayerPoints.push_back(point);
            mFacings[point->GetName()] = script::truncateNumber<int>(pairs->GetNumberAt(index + 1, kFaceFront));
        }
        return;
    }
    std::shared_ptr<ZonePoint> point = zones->FindPoint(kPlayerZone, description.GetString("playerPoint", ""));
    // The station's own name, which its description gives: the sprite is
    // only renamed by the object's load after this.
    if (!point) point = zones->FindPoint(kPlayerZone, description.GetString("name", GetName()));
    if (point) mPlayerPoints.push_back(point);
}

void VStation::LoadCustomerPlace(VLuaStyle& description) {
    if (mKind != kPlainStation) return;
    if (std::shared_ptr<ZoneController> zones = LevelZones()) {
        mCustomerPoint = zones->FindPoint(kCustomerZone, description.GetString("custPoint", ""));
        if (!mCustomerPoint) {
            mCustomerPoint = zones->FindPoint(kCustomerZone, TString::Format("customer%02i", mStationId));
        }
    }
    std::unique_ptr<TLuaTable> money = description.GetSubTable("money");
    mMoneyPosition = money ? TVec2(static_cast<float>(money->GetNumberAt(1)), static_cast<float>(money->GetNumberAt(2)))
                           : TVec2(0, 0);
}

bool VStation::AttachCustomer(const std::shared_ptr<VCustomer>& customer) {
    if (!customer || mCustomer || mKind != kPlainStation) return false;
    mCustomer = customer;
    SetMouseEnabled(true);
    return true;
}

std::shared_ptr<VCustomer> VStation::DetachCustomer() {
    std::shared_ptr<VCustomer> customer = std::move(mCustomer);
    if (customer) {
        // The menu and the money it showed on the counter.
        for (const std::shared_ptr<VObject>& shown : {customer->GetMenuSprite(), customer->GetMoneySprite()}) {
            if (shown) RemoveChild(std::shared_ptr<VSprite>(shown));
        }
        customer->SetStation(nullptr);
    }
    SetMouseEnabled(mEnabledMachines > 0);
    if (!IsMouseEnabled() && IsHovered()) SendEvent(kEventLeave, TPoint(), GetDrawState(), 0);
    return customer;
}

void VStation::QueueMachine(const TString& name) {
    mQueuedMachines.push_back(name);
    SendEvent(kEventClick, TPoint(), GetDrawState(), 0);
}

void VStation::Interact(const std::shared_ptr<VPlayer>& player, const std::shared_ptr<ZonePoint>& point) {
    if (!player) return;
    std::shared_ptr<VSprite> hold = GetShared();
    // Clicks made while a machine works are forgotten.
    std::vector<TString> queued;
    queued.swap(mQueuedMachines);
    if (!IsSuspended()) {
        if (mSoleMachine) {
            mSoleMachine->Interact(player);
        } else if (mMachines.size() > 1) {
            for (const TString& name : queued) {
                if (std::shared_ptr<VMachine> machine = GetMachine(name)) machine->Interact(player);
            }
        }
        // Taking the order, handing over what it wants, collecting its money.
        if (mCustomer) mCustomer->Interact(player);
        std::vector<std::shared_ptr<VSpriteListener>> listeners(GetListeners().begin(), GetListeners().end());
        for (const std::shared_ptr<VSpriteListener>& listener : listeners) {
            if (auto waiter = std::dynamic_pointer_cast<VTutorialListener>(listener)) NotifyWaiter(*waiter);
        }
    }
    if (!player->IsQueueEmpty()) return;
    player->Face(point ? GetFacing(point->GetName()) : kFaceFront);
}

void VStation::NotifyWaiter(const VTutorialListener& waiter) {
    std::shared_ptr<VTutorial> tutorial = waiter.GetTutorial();
    if (tutorial && tutorial->GetObjectState(GetName()) == VTutorialListener::kWaitingForPlayer) tutorial->Advance();
}

std::shared_ptr<VMachine> VStation::GetMachine(const TString& key) const {
    auto found = mMachines.find(LowerCase(key));
    return found == mMachines.end() ? nullptr : found->second;
}

bool VStation::HasPlayerPoint(const std::shared_ptr<ZonePoint>& point) const {
    for (const std::shared_ptr<ZonePoint>& own : mPlayerPoints) {
        if (own == point) return true;
    }
    return false;
}

int VStation::GetFacing(const TString& pointName) const {
    auto found = mFacings.find(pointName);
    return found == mFacings.end() ? 0 : found->second;
}
