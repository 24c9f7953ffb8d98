#include "game/shop/shopwindow.h"

#include "core/scripting/luaobject.h"
#include "game/floor/player.h"
#include "game/floor/zonecontroller.h"
#include "game/machines/station.h"
#include "game/objects/objectdescription.h"
#include "game/shell/luastyle.h"
#include "game/widgets/widgetclass.h"

namespace {

const char kZonesFile[] = "zones/zones.xml";
const char kPlayerName[] = "player_character";
const int kPlayerLayer = 0;

ShopWindow* gCurrent = nullptr;
int gPlayNumber = 0;

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
