// The tutorials of the shop level and the player's "show_tutorials" option.
// The manager loads the tutorials from the level screen's description,
// starts one on a named request or a game event, shows the running one in
// a tutorial window over the top modal window, tells the game whether a
// tutorial is running, and reports tutorial time to the game state.
#pragma once

#include <functional>
#include <map>
#include <memory>

#include "foundation/tstring.h"
#include "game/shell/managersingleton.h"

class TLuaTable;
class TMessage;
class VLevel;
class VLuaStyle;
class VSpriteManager;
class VTutorial;

class VTutorialManager : public VManagerSingleton<VTutorialManager> {
public:
    // By lower-cased name, in byte order.
    using TutorialMap = std::map<TString, std::shared_ptr<VTutorial>>;

    virtual ~VTutorialManager();

    // Replaces the tutorials by the table's entries that are tables, each
    // described with the parent style as fallback; their slots in the
    // player's block follow the names' order. Then LoadProgress.
    virtual void LoadTutorials(TLuaTable* tutorials, const std::shared_ptr<VLuaStyle>& parent);
    // Empty for a name without a tutorial.
    virtual std::shared_ptr<VTutorial> FindTutorial(const TString& name);

    // Each tutorial's state and the option, from the current player's blocks;
    // the option stays as it is without them.
    void LoadProgress();
    bool AreTutorialsShown() const { return mShown; }
    // With save the player's block is written at once.
    void SetTutorialsShown(bool shown, bool save);
    // The level screen's sprite manager, in which steps find their objects.
    void SetSpriteManager(const std::shared_ptr<VSpriteManager>& manager) { mSpriteManager = manager; }
    const std::shared_ptr<VSpriteManager>& GetSpriteManager() const { return mSpriteManager; }
    // Its number decides the tutorials' level ranges.
    void SetLevel(const std::shared_ptr<VLevel>& level) { mLevel = level; }
    // Every tutorial back before its first step; none is active.
    void PrepareTutorials();
    // No tutorials, level or sprite manager.
    void Clear();

    void StartTutorial(const TString& name);
    // A game event ("customer_arrival", ...) and the object's name: starts
    // the first tutorial, in name order, whose trigger matches. Nothing
    // starts while a tutorial is active.
    void FireTrigger(const TString& type, const TString& object);
    // Starts the tutorial when its mode, level range and progress allow it;
    // with the option off it only counts as seen.
    void TryStart(const std::shared_ptr<VTutorial>& tutorial);
    // Makes it the active tutorial and opens its window.
    void ShowTutorial(const std::shared_ptr<VTutorial>& tutorial);
    // Only for the active tutorial.
    void EndTutorial(const std::shared_ptr<VTutorial>& tutorial);
    // True while a tutorial runs (or the test switch is on).
    bool IsInputAllowed() const;
    void SetInputAllowed(bool allowed) { mInputAllowed = allowed; }
    // Hands a message to the active tutorial; false without one.
    bool OfferMessage(TMessage* message);

    const std::shared_ptr<VTutorial>& GetActiveTutorial() const { return mActive; }
    const TutorialMap& GetTutorials() const { return mTutorials; }
    // Tests hear the triggers fired.
    using TriggerObserver = std::function<void(const TString& type, const TString& object)>;
    void SetTriggerObserver(TriggerObserver observer) { mTriggerObserver = std::move(observer); }

private:
    friend class VManagerSingleton<VTutorialManager>;
    VTutorialManager();

    int GetLevelNumber() const;

    std::shared_ptr<VSpriteManager> mSpriteManager;
    TutorialMap mTutorials;
    bool mShown = true;
    std::shared_ptr<VLevel> mLevel;
    std::shared_ptr<VTutorial> mActive;
    bool mInputAllowed = false;
    TriggerObserver mTriggerObserver;
};
