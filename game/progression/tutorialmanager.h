// The tutorials and the player's "show_tutorials" option. This stand-in
// keeps only the option, in the player's block of that name, and hands game
// events to a test's observer; progression's tutorial manager replaces it.
#pragma once

#include <functional>
#include <memory>

#include "foundation/tstring.h"
#include "game/shell/managersingleton.h"

class TLuaTable;
class VLevel;
class VLuaStyle;
class VSpriteManager;

class VTutorialManager : public VManagerSingleton<VTutorialManager> {
public:
    virtual ~VTutorialManager() = default;

    // The level screen's tutorials table and the level it plays: the
    // stand-in has no tutorials to load, prepare, start or clear.
    void LoadTutorials(TLuaTable* /*table*/, const std::shared_ptr<VLuaStyle>& /*parent*/) {}
    void SetSpriteManager(const std::shared_ptr<VSpriteManager>& /*sprites*/) {}
    void SetLevel(const std::shared_ptr<VLevel>& /*level*/) {}
    void PrepareTutorials() {}
    void StartTutorial(const TString& /*name*/) {}
    void Clear() {}
    // Reads the option from the current player's blocks; shown without them.
    void LoadProgress();
    bool AreTutorialsShown() const { return mShown; }
    // With save the player's block is written at once.
    void SetTutorialsShown(bool shown, bool save);
    // A game event that a waiting tutorial step may be looking for: its
    // type ("customer_arrival", ...) and the object's name. No tutorial runs
    // in the stand-in; only the observer hears it.
    void FireTrigger(const TString& type, const TString& object);
    using TriggerObserver = std::function<void(const TString& type, const TString& object)>;
    void SetTriggerObserver(TriggerObserver observer) { mTriggerObserver = std::move(observer); }
    // True while a tutorial holds the game; no tutorial runs in the stand-in,
    // so only the switch (for tests) turns it on.
    bool IsInputAllowed() const { return mInputAllowed; }
    void SetInputAllowed(bool allowed) { mInputAllowed = allowed; }

private:
    friend class VManagerSingleton<VTutorialManager>;
    VTutorialManager() = default;

    bool mShown = true;
    TriggerObserver mTriggerObserver;
    bool mInputAllowed = false;
};
