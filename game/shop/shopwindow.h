// The level screen: the sprite window in which a level is played. It loads
// the level ("LevelSetup"), holds its zone graph, stations, player, vendors
// and customers, lets customers arrive and leave every tick, runs the
// level clock through its HUD, answers the floor's questions while it is
// the current level screen, and books the level's takings: payments, tips
// and combo bonuses, with their floating texts and the goal and mastery
// scores reached.
#pragma once

#include <cstdint>
#include <list>
#include <map>
#include <memory>

#include "foundation/vector.h"
#include "game/shell/screenfunctions.h"
#include "game/sprites/spritewindow.h"

class RActiveTextLayer;
class RTimer;
class VCarriable;
class VChocolate;
class VChocolateVendor;
class VCustomer;
class VCustomerVendor;
class VLuaStyle;
class VPlayer;
class VShopHud;
class VStation;
class ZoneController;
class ZonePoint;
class ZqLevel;

class ShopWindow : public VSpriteWindow {
public:
    using CustomerList = std::list<std::shared_ptr<VCustomer>>;
    // Combo kinds: an order taken, an item served, money collected.
    enum { kMenuCombo = 1, kServiceCombo = 2, kPayoutCombo = 4 };
    // Goal stages of the level's takings.
    enum { kNothingReached = 0, kGoalReached = 1, kMasteryReached = 2 };

    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }
    // The level screen made last and not yet destroyed; null outside a level.
    static ShopWindow* GetCurrent();
    // Levels begun since the program started.
    static int GetPlayNumber();

    // Publishes the screen's script functions.
    ShopWindow();
    // Releases the level's assets, sounds and managers.
    ~ShopWindow() override;
    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    // Becomes the current level screen; keeps the location tables and the
    // "tutorials" and "posse" descriptions, and moves the sibling
    // "text_window" next to the screen.
    void PostInit(const TWindowStyle& style) override;
    // The zone graph's debug view over the sprites.
    void Draw() override;
    // The level's tick: the start of the clock, arrivals and departures, the
    // HUD, then the sprites.
    bool Animate() override;
    // Every click counts, whatever it hits.
    bool OnMouseDown(const TPoint& point) override;

    // Loads the current level into the screen and waits for its start.
    void LevelSetup();
    // The level script asks for the pre-level shop.
    void ReadyForPrelevel() { mPrelevelRequested = true; }
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

    // One arrival and departure pass.
    void UpdateCustomers();
    // The named station when it exists, else a free counter drawn at
    // random; empty when that one holds a customer or none is free.
    std::shared_ptr<VStation> ChooseStation(const TString& name) const;
    // The customer joins the floor and arrives at the station with full patience.
    void SendToStation(const std::shared_ptr<VCustomer>& customer, const std::shared_ptr<VStation>& station);
    // The level time of the next endless customer after one at elapsed.
    uint32_t NextArrivalTime(uint32_t elapsed) const;

    // The end-of-level text: the endless blurb, the quests' results, or
    // the blurb of a pass (n not 0) or a failure.
    TString GetEndlevelText(int n) const;
    // The level's records for the game state's statistics.
    void DoMetrics(int failed, bool mastered) const;

    bool IsEndlessMode() const { return mEndless; }
    void SetEndlessMode(bool endless) { mEndless = endless; }
    void SetDeliveryBusy(bool busy) { mDeliveryBusy = busy; }
    bool IsDeliveryBusy() const { return mDeliveryBusy; }
    // An end is set, or the story level's time is up.
    bool IsLevelClosing();
    // The HUD's game timer; null without one.
    RTimer* GetLevelTimer();
    VShopHud* GetHud();
    // The sibling "text_window" that floating texts go to; looked up each
    // time, since a script may destroy it. Null when there is none.
    RActiveTextLayer* GetTextLayer() const;
    // Elapsed level time in percent of its duration, at most 100; 0
    // without a timer or a duration.
    float GetLevelProgress();
    const std::shared_ptr<ZqLevel>& GetLevel() const { return mLevel; }
    // A level is loaded that asks for the pre-level shop.
    bool LevelNeedsPrelevel() const;
    // The screen as the pre-level window shows it behind itself: without
    // its customers.
    void DrawWithLayers();
    // After the pre-level shop: the orderable chocolates, the tutorials'
    // sprites and the stations follow the upgrades bought.
    void RefreshAfterUpgrades();

    const std::shared_ptr<ZoneController>& GetZoneController() const { return mZones; }
    const std::shared_ptr<VPlayer>& GetPlayer() const { return mPlayer; }
    const std::shared_ptr<VChocolateVendor>& GetChocolateVendor() const { return mChocolateVendor; }
    void SetChocolateVendor(const std::shared_ptr<VChocolateVendor>& vendor) { mChocolateVendor = vendor; }
    const std::shared_ptr<VCustomerVendor>& GetCustomerVendor() const { return mCustomerVendor; }
    const CustomerList& GetPendingCustomers() const { return mPendingCustomers; }
    const CustomerList& GetActiveCustomers() const { return mActiveCustomers; }
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
    bool IsStartPending() const { return mStartPending; }
    bool IsPlotPending() const { return mPlotPending; }
    bool IsPrelevelRequested() const { return mPrelevelRequested; }
    int32_t GetHoldTime() const { return mHoldTime; }
    uint32_t GetNextArrivalTime() const { return mNextArrivalTime; }
    uint32_t GetLastEndlessStepTime() const { return mLastEndlessStepTime; }
    // The location's description by its name; null when the screen has none.
    std::shared_ptr<VLuaStyle> GetLocation(const TString& name) const;

private:
    // Level set-up, in its order.
    void PrepareFirstSetup();
    int ChooseLevelNumber();
    void LoadLevelDefinition(int number);
    void LoadLocation(const std::shared_ptr<VLuaStyle>& location);
    void LoadChocolates(const std::shared_ptr<VLuaStyle>& location);
    void LoadCustomerArt(const std::shared_ptr<VLuaStyle>& location);
    void LoadPlot(const std::shared_ptr<VLuaStyle>& location);
    void QueueLevelCustomers();
    void PlayLevelMusic(const std::shared_ptr<VLuaStyle>& location);
    void ResetLevelStatistics();

    // The tick's parts.
    void UpdateStart(uint32_t now);
    void UpdateStoryRequests();
    void ArriveEndless(uint32_t elapsed);
    void ArriveStory();
    void UpdateDepartures();
    uint32_t ClockTime() const;

    // Adds to the level's takings, and in endless mode to the worth of the
    // game; the new level total.
    float AddTakings(float amount);
    // Shows and sounds the mastery or the goal score once reached.
    void CheckGoal(float levelTotal);

    VScreenFunctions mFunctions;
    // By location name.
    std::map<TString, std::shared_ptr<VLuaStyle>> mLocations;
    std::shared_ptr<VLuaStyle> mTutorials;
    std::shared_ptr<VLuaStyle> mPosse;
    std::shared_ptr<ZqLevel> mLevel;
    std::shared_ptr<ZoneController> mZones;
    std::shared_ptr<VPlayer> mPlayer;
    // By lower-cased name.
    std::map<TString, std::shared_ptr<VStation>> mStations;
    CustomerList mPendingCustomers;
    CustomerList mActiveCustomers;
    std::shared_ptr<VCustomerVendor> mCustomerVendor;
    std::shared_ptr<VChocolateVendor> mChocolateVendor;

    bool mStartPending = false;
    bool mZonesLoaded = false;
    bool mEndless = false;
    bool mPrelevelRequested = false;
    bool mPlotPending = false;
    bool mDeliveryBusy = false;
    int mGoalStage = kNothingReached;
    int mLastComboKind = 0;
    int mComboCount = 0;
    // Level time of the end; 0 while the level runs.
    uint32_t mEndTime = 0;
    uint32_t mLastEndlessStepTime = 0;
    uint32_t mNextArrivalTime = 0;
    // While above 0 the tick only counts it down.
    int32_t mHoldTime = 0;
    uint32_t mLastTickTime = 0;
};
