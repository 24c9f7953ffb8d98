#include "game/machines/conveyor.h"

#include <cmath>

#include "core/scripting/luaobject.h"
#include "game/chocolates/chocolate.h"
#include "game/floor/customer.h"
#include "game/floor/player.h"
#include "game/machines/disposal.h"
#include "game/shell/luastyle.h"
#include "game/shell/valuemanager.h"
#include "game/shop/shopwindow.h"

namespace {

// A new entry counts as having passed this station.
const char kFirstStation[] = "station07";
const char kBin[] = "station15";
// Within this many radians of the entry ahead an entry slows down.
constexpr float kCloseGap = 0.08f;
constexpr float kCloseSlowdown = 0.0015f;
// Blockers are looked for among the stations numbered below this.
constexpr int kStationNumbers = 100;

TVec2 PointOf(const TLuaTable* table) {
    if (!table) return TVec2(0, 0);
    return TVec2(static_cast<float>(table->GetNumberAt(1)), static_cast<float>(table->GetNumberAt(2)));
}

TVec2 PointOf(const VLuaStyle& description, const char* key) {
    std::unique_ptr<TLuaTable> table = description.GetSubTable(key);
    return PointOf(table.get());
}

bool IsWaiting(const VCustomer& customer) {
    return customer.GetState() >= VCustomer::kArrived && customer.GetState() <= VCustomer::kWaiting;
}

float SlowedStep(float step) {
    return step > 0 ? std::max(0.0f, step - kCloseSlowdown) : std::min(0.0f, step + kCloseSlowdown);
}

}  // namespace

std::shared_ptr<VConveyor> VConveyor::Create(int number) {
    auto conveyor = std::make_shared<VConveyor>(number);
    Adopt(conveyor);
    return conveyor;
}

VConveyor::VConveyor(int number) : VStation(number, kConveyorStation) {}

VConveyor::~VConveyor() = default;

VConveyor::ArcPoint VConveyor::PolarOf(const TVec2& point) const {
    float dx = point.x - mCenter.x;
    float dy = mCenter.y - point.y;
    return {std::hypot(dx, dy), std::atan2(dy, dx)};
}

void VConveyor::Load(const std::shared_ptr<VLuaStyle>& description) {
    mBelt.clear();
    mStations.clear();
    mCenter = TVec2(0, 0);
    mStartAngle = mEndAngle = mStartRadius = mEndRadius = mVelocity = 0;
    if (description) {
        mCenter = PointOf(*description, "arcCenter");
        // The start ignores the signs: its angle lies between 0 and pi/2.
        TVec2 start = PointOf(*description, "arcStart");
        float dx = std::fabs(start.x - mCenter.x);
        float dy = std::fabs(mCenter.y - start.y);
        mStartRadius = std::hypot(dx, dy);
        mStartAngle = std::atan2(dy, dx);
        ArcPoint end = PolarOf(PointOf(*description, "arcEnd"));
        mEndRadius = end.radius;
        mEndAngle = end.angle;
        mVelocity = static_cast<float>(description->GetNumber("arcVelocity", 0));
        if (std::unique_ptr<TLuaTable> stations = description->GetSubTable("stations")) {
            for (int i = 1;; i += 2) {
                TString name = stations->GetStringAt(i);
                if (name.Length() == 0) break;
                std::unique_ptr<TLuaTable> point(stations->GetTableAt(i + 1));
                mStations[name] = PolarOf(PointOf(point.get()));
            }
        }
    }
    VStation::Load(description);
}

void VConveyor::ApplyUpgrades() {
    ShowIfOwned("kConveyor1", true);
}

void VConveyor::Update(bool paused) {
    MoveBelt();
    VStation::Update(paused);
}

void VConveyor::Interact(const std::shared_ptr<VPlayer>& player, const std::shared_ptr<ZonePoint>& point) {
    VStation::Interact(player, point);
    if (!player) return;
    for (int hand : {VPlayer::kRightHand, VPlayer::kLeftHand}) {
        auto chocolate = std::dynamic_pointer_cast<VChocolate>(player->GetHeldItem(hand, nullptr));
        if (chocolate && !chocolate->IsUnshaped()) {
            player->TakeItemFromHand(hand);
            AddToBelt(chocolate);
            return;
        }
    }
}

void VConveyor::AddToBelt(const std::shared_ptr<VChocolate>& item) {
    if (!item) return;
    mBelt.push_back({mStartAngle, kFirstStation, item});
    item->SetLayer(1);
    AddChild(item);
    DoAnim("DoAnim", false, false, 0);
    std::shared_ptr<VValueManager> values = VValueManager::Get();
    int count = static_cast<int>(mBelt.size());
    if (count > values->GetInt("conveyor_max_this_level", 0)) {
        values->SetValue("conveyor_max_this_level", static_cast<float>(count), false);
    }
}

std::pair<TString, TString> VConveyor::FindNeighbours(float angle) const {
    const std::pair<const TString, ArcPoint>* previous = nullptr;
    const std::pair<const TString, ArcPoint>* next = nullptr;
    for (const auto& station : mStations) {
        float at = station.second.angle;
        if (at > angle && (!next || at < next->second.angle)) next = &station;
        if (at < angle && (!previous || at > previous->second.angle)) previous = &station;
    }
    return {previous ? previous->first : TString(), next ? next->first : TString()};
}

VConveyor::ArcPoint VConveyor::StationAt(const TString& name) const {
    auto found = mStations.find(name);
    return found == mStations.end() ? ArcPoint() : found->second;
}

float VConveyor::RadiusAt(float angle, const TString& next, const TString& previous) const {
    bool beforeEnd = angle <= mEndAngle;
    ArcPoint from = StationAt(beforeEnd ? previous : next);
    ArcPoint to = StationAt(beforeEnd ? next : previous);
    // Missing stations stand in with the arc's ends.
    float r0 = from.radius != 0 ? from.radius : (beforeEnd ? mStartRadius : mEndRadius);
    float r1 = to.radius != 0 ? to.radius : (beforeEnd ? mEndRadius : mStartRadius);
    float a0 = from.angle != 0 ? from.angle : (beforeEnd ? mStartAngle : mEndAngle);
    float a1 = to.angle != 0 ? to.angle : (beforeEnd ? mEndAngle : mStartAngle);
    if (a1 == a0) return r0;
    return r0 + (r1 - r0) * (angle - a0) / (a1 - a0);
}

void VConveyor::MoveBelt() {
    float ahead = 0;
    for (auto entry = mBelt.begin(); entry != mBelt.end();) {
        auto [previous, next] = FindNeighbours(entry->angle);
        bool stays = previous == entry->lastStation || PassStation(*entry, previous);
        stays = stays && Advance(*entry, previous, next, ahead);
        entry = stays ? std::next(entry) : mBelt.erase(entry);
    }
}

bool VConveyor::PassStation(BeltEntry& entry, const TString& previous) {
    if (entry.item->IsExpired() || OfferGift(entry, previous)) {
        DropEntry(entry);
        return false;
    }
    entry.lastStation = previous;
    return true;
}

bool VConveyor::OfferGift(const BeltEntry& entry, const TString& stationName) const {
    ShopWindow* screen = ShopWindow::GetCurrent();
    std::shared_ptr<VStation> station = screen ? screen->FindStation(stationName) : nullptr;
    std::shared_ptr<VCustomer> customer = station ? station->GetCustomer() : nullptr;
    if (!customer) return false;
    int last = std::min(station->GetStationId(), kStationNumbers);
    for (int number = 1; number < last; ++number) {
        std::shared_ptr<VStation> other = screen->FindStationByNumber(number);
        const std::shared_ptr<VCustomer>& waiting = other ? other->GetCustomer() : nullptr;
        if (waiting && IsWaiting(*waiting) && waiting->GetPatience() < customer->GetPatience()) return false;
    }
    return customer->OfferComplimentary(entry.item);
}

bool VConveyor::Advance(BeltEntry& entry, const TString& previous, const TString& next, float& ahead) {
    float radius = RadiusAt(entry.angle, next, previous);
    float spin = mVelocity / radius;
    float step = spin * spin * static_cast<float>(GetFrameTime()) / (mEndAngle - mStartAngle);
    // A degenerate arc cannot carry the item: it goes past the end.
    if (entry.angle > mEndAngle || radius == 0 || !std::isfinite(step)) {
        DropEntry(entry);
        DumpToDisposal();
        return false;
    }
    if (std::fabs(entry.angle + step - ahead) < kCloseGap) step = SlowedStep(step);
    entry.angle += step;
    ahead = entry.angle;
    entry.item->SetPosition(TVec2(mCenter.x + radius * std::cos(entry.angle),
                                  mCenter.y - radius * std::sin(entry.angle)));
    return true;
}

void VConveyor::DropEntry(const BeltEntry& entry) { RemoveChild(std::shared_ptr<VSprite>(entry.item)); }

void VConveyor::DumpToDisposal() {
    ShopWindow* screen = ShopWindow::GetCurrent();
    std::shared_ptr<VStation> bin = screen ? screen->FindStation(kBin) : nullptr;
    if (auto disposal = std::dynamic_pointer_cast<VDisposal>(bin)) disposal->Activate();
}
