// The heads-up display of a level: the level clock with its sweep, the
// takings against the goal and mastery scores (the angry customers against
// their limit in endless mode) on a gauge and a dial, and the level's name.
// Its look comes from the level script; the HUD finds its named children
// when it feeds them, since a script may destroy one.
#pragma once

#include <cstdint>

#include "core/windows/window.h"

class BLayeredWindow;
class KDial;
class KSweepDial;
class RTimer;
class TText;

class VShopHud : public TWindow {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    // Endless mode shows the gauge's anger layer, hides the level name and
    // raises the clock by 10 pixels.
    void PostInit(const TWindowStyle& style) override;

    // The clock, dials and texts for the level just loaded.
    void Setup();
    // Runs the clock while the level is neither paused nor held by a
    // tutorial, and feeds the dials and texts.
    void Update();

    RTimer* GetGameTimer();
    KDial* GetPowerDial();
    KSweepDial* GetTimerSweep();
    BLayeredWindow* GetProgressGauge();
    TText* GetMasteryText();
    TText* GetGoalText();
    TText* GetAngerText();
    TText* GetLevelName();
    // The level's time limit in milliseconds; 0 in endless mode.
    int32_t GetLevelTime() const { return mLevelTime; }

private:
    void UpdateClock();
    void UpdateSweep(bool endless);
    void UpdateScores();
    void UpdateAnger();

    int32_t mLevelTime = 0;
};
