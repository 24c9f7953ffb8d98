#include "game/machines/station.h"

#include "core/app/gamestate.h"
#include "core/scripting/luaobject.h"
#include "game/floor/customer.h"
#include "game/floor/player.h"
#include "game/floor/zonecontroller.h"
#include "game/shell/luastyle.h"
#include "game/shop/shopwindow.h"
#include "game/sprites/hoverglow.h"

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

}  // namespace

std::shared_ptr<VStation> VStation::Create(int number, int kind) {
    auto station = std::make_shared<VStation>(number, kind);
    Adopt(station);
    switch (kind) {
        case kPlainStation:
        case kDisplayShelf:
        case kConveyor:
            station->AddEffect(VHoverGlow::Create(false, kGlowStrength, true, true));
            break;
        case kDisposal:
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

void VStation::ApplyUpgrades() {
    VSuspendable::Reset();
    RelinkMachines();
    SetMouseEnabled(mEnabledMachines > 0 || mCustomer);
}

void VStation::RelinkMachines() {
    // No machine kind exists yet: none is enabled.
    mEnabledMachines = 0;
}

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
    if (description) {
        mStationId = description->GetInt("stationID", 0);
        mKind = description->GetInt("stationType", 0);
        LoadPlayerPoints(*description);
        LoadCustomerPlace(*description);
    }
    VSuspendable::Load(description);
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
            mFacings[point->GetName()] = static_cast<int>(pairs->GetNumberAt(index + 1, kFaceFront));
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

void VStation::Interact(const std::shared_ptr<VPlayer>& player, const std::shared_ptr<ZonePoint>& point) {
    if (!player) return;
    // Taking the order, handing over what it wants, collecting its money.
    if (!IsSuspended() && mCustomer) mCustomer->Interact(player);
    if (!player->IsQueueEmpty()) return;
    player->Face(point ? GetFacing(point->GetName()) : kFaceFront);
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
