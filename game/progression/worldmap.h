// The story's level selection: one pin per location ("pins"), dotted paths
// between locations ("paths") marked one dot ("dot") at a time, and the
// script functions "ResetMap", "ShowCurrentLocation", "PlayTransition" and
// "DoCheatMap". A pressed globe makes its level current and queues the
// script's "CloseWorldMap();".
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "foundation/tstring.h"
#include "foundation/vector.h"
#include "game/shell/screenfunctions.h"
#include "game/sprites/spritewindow.h"

class VObject;
class VPushPin;

class VWorldMap : public VSpriteWindow {
public:
    struct PathPoint {
        TVec2 position;
        TString state;
    };

    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    VWorldMap();

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    // Also stores the map's screen time as 0.
    ~VWorldMap() override;
    void PostInit(const TWindowStyle& style) override;
    // Takes every button press; a globe's starts its level.
    bool OnMessage(TMessage* message) override;
    // Marks the next dot of the path being played.
    bool Animate() override;

    void ResetMap();
    void ShowCurrentLocation();
    // Input stays locked until the whole path is marked.
    void PlayTransition(const TString& name);
    TString DoCheatMap(int cheat, int argument);
    // The first pin, in the pins' order, whose location holds the next level
    // or lies ahead; none past the last.
    std::shared_ptr<VPushPin> FindCurrentPin() const;

    // By lower-cased key.
    const std::map<TString, std::shared_ptr<VPushPin>>& GetPins() const { return mPins; }
    const std::map<TString, std::vector<PathPoint>>& GetPaths() const { return mPaths; }
    const std::shared_ptr<VObject>& GetDotTemplate() const { return mDot; }
    const TString& GetCurrentPath() const { return mCurrentPath; }
    int GetDotIndex() const { return mDotIndex; }

private:
    void LoadPins(const TWindowStyle& style);
    void LoadPaths(const TWindowStyle& style);
    void LoadDot(const TWindowStyle& style);
    void MoveOptionsButton();
    void MarkDot(const PathPoint& point);
    void EndTransition();

    std::map<TString, std::shared_ptr<VPushPin>> mPins;
    std::map<TString, std::vector<PathPoint>> mPaths;
    std::shared_ptr<VObject> mDot;
    TString mCurrentPath;
    int mDotIndex = 0;
    int mDotTimer = 0;
    VScreenFunctions mFunctions;
};
