// The level screen: the sprite window of a shop level. It holds the level's
// zone graph, stations and player, and answers the floor's questions about
// them while it is the current level screen.
#pragma once

#include <map>
#include <memory>

#include "game/sprites/spritewindow.h"

class VLuaStyle;
class VPlayer;
class VStation;
class ZoneController;
class ZonePoint;

class ShopWindow : public VSpriteWindow {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }
    // The level screen made last and not yet destroyed; null outside a level.
    static ShopWindow* GetCurrent();
    // The count of level plays since the program started.
    static int GetPlayNumber();

    ShopWindow();
    ~ShopWindow() override;
    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    // Becomes the current level screen.
    void PostInit(const TWindowStyle& style) override;
    // The zone graph's debug view over the sprites.
    void Draw() override;

    // Reads "zones/zones.xml" into the screen's graph, made on the first call.
    void LoadZones();
    // Each "station_" entry that is a table becomes a station of its
    // "stationType", registered under its lower-cased "name" and shown;
    // the middle of the floor is then kept free.
    void LoadStations(const std::shared_ptr<VLuaStyle>& stations);
    // Registers the station under the lower-cased name and shows it.
    void AddStation(const TString& name, const std::shared_ptr<VStation>& station);
    // The player from its description, on its start point.
    void LoadPlayer(const std::shared_ptr<VLuaStyle>& description);

    const std::shared_ptr<ZoneController>& GetZoneController() const { return mZones; }
    const std::shared_ptr<VPlayer>& GetPlayer() const { return mPlayer; }
    std::shared_ptr<VStation> FindStation(const TString& name) const;
    // The station named "station%0.2i".
    std::shared_ptr<VStation> FindStationByNumber(int number) const;
    // The station whose player points include the point.
    std::shared_ptr<VStation> FindStationAtPoint(const std::shared_ptr<ZonePoint>& point) const;
    // The station whose sprite tree holds the sprite.
    std::shared_ptr<VStation> FindStationHolding(const std::shared_ptr<VSprite>& sprite) const;
    // A visible "station16" sends the player along routes of the graph.
    bool IsStation16Active() const;

private:
    std::shared_ptr<ZoneController> mZones;
    std::shared_ptr<VPlayer> mPlayer;
    // By lower-cased name.
    std::map<TString, std::shared_ptr<VStation>> mStations;
};
