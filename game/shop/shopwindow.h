// The level screen: the sprite window of a shop level. It holds the level's
// zone graph, stations, player and chocolate vendor, answers the floor's
// questions about them while it is the current level screen, and books the
// level's takings: payments, tips and combo bonuses, with their floating
// texts and the goal and mastery scores reached.
#pragma once

#include <map>
#include <memory>

#include "foundation/vector.h"
#include "game/sprites/spritewindow.h"

class RActiveTextLayer;
class RTimer;
class VCarriable;
class VChocolate;
class VChocolateVendor;
class VCustomer;
class VLuaStyle;
class VPlayer;
class VStation;
class ZoneController;
class ZonePoint;

class ShopWindow : public VSpriteWindow {
public:
    // Combo kinds: an order taken, an item served, money collected.
    enum { kMenuCombo = 1, kServiceCombo = 2, kPayoutCombo = 4 };
    // Goal stages of the level's takings.
    enum { kNothingReached = 0, kGoalReached = 1, kMasteryReached = 2 };

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
    // Becomes the current level screen and puts the sibling "text_window"
    // just in front of itself.
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
    // Offers the item to the customers at the plain stations "station01",
    // "station02" ... up to the first number without a station; true when
    // one took it.
    bool PassItemToStation(const std::shared_ptr<VCarriable>& item);

    // Books the amount with the sale modifier and the customer's tip (none
    // without a customer), shows it rising from the point, then counts a
    // payout combo.
    void AddPayment(float amount, const TVec2& point, const std::shared_ptr<VCustomer>& customer);
    // A step of a chain of the kind. A kind other than the last starts a
    // new chain and pays nothing; the same kind again pays its bonus scaled
    // by the steps so far.
    void Combo(int kind);

    bool IsEndlessMode() const { return mEndless; }
    void SetEndlessMode(bool endless) { mEndless = endless; }
    const std::shared_ptr<VChocolateVendor>& GetChocolateVendor() const { return mChocolateVendor; }
    void SetChocolateVendor(const std::shared_ptr<VChocolateVendor>& vendor) { mChocolateVendor = vendor; }
    // The HUD's "game_timer"; null when there is none.
    RTimer* GetLevelTimer();
    // The sibling "text_window" that floating texts go to; looked up each
    // time, since a script may destroy it. Null when there is none.
    RActiveTextLayer* GetTextLayer() const;
    int GetLastComboKind() const { return mLastComboKind; }
    int GetComboCount() const { return mComboCount; }
    int GetGoalStage() const { return mGoalStage; }

    // Which of two chocolates a machine should work on with the option at
    // the stage: the one that the first waiting customer at "station01",
    // "station02" ... wants, by its chocolate type and the option in the
    // stage's slot. Empty when no customer wants either.
    std::shared_ptr<VChocolate> PassItemToStation(const std::shared_ptr<VChocolate>& first,
                                                  const std::shared_ptr<VChocolate>& second, int selection,
                                                  int stage) const;

private:
    // Adds to the level's takings, and in endless mode to the worth of the
    // game; the new level total.
    float AddTakings(float amount);
    // Shows and sounds the mastery or the goal score once reached.
    void CheckGoal(float levelTotal);

    std::shared_ptr<ZoneController> mZones;
    std::shared_ptr<VPlayer> mPlayer;
    // By lower-cased name.
    std::map<TString, std::shared_ptr<VStation>> mStations;
    std::shared_ptr<VChocolateVendor> mChocolateVendor;
    bool mEndless = false;
    int mLastComboKind = 0;
    int mComboCount = 0;
    int mGoalStage = kNothingReached;
};
