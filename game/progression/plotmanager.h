// The story of the current location: a plot item for each "story_" entry
// of the location's plot table, with the player's progress, and the items
// the level names, queued for the plot window. Publishes "GetPlotMessage".
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "foundation/tstring.h"
#include "game/shell/managersingleton.h"
#include "game/shell/screenfunctions.h"

class TLuaTable;
class VBinaryBlock;
class VLevel;
class VPlotItem;

class VPlotManager : public VManagerSingleton<VPlotManager> {
public:
    virtual ~VPlotManager();

    std::shared_ptr<VPlotManager> GetShared() { return shared_from_this(); }
    void Clear();
    // Items by key; their indexes (the slots of the player's records)
    // follow the byte order of the keys, so a grown table moves no saved
    // progress. A null table gives none.
    void LoadPlotItems(const std::shared_ptr<TLuaTable>& plot);
    // Reads every item's progress in the location of the level being loaded
    // (the quest record afresh, so a switch of player counts) and reveals
    // again the rewards of met quests.
    void UpdateItemsForLevel();
    // Queues the level's plot names (none without a level).
    void SetLevel(const std::shared_ptr<VLevel>& level);
    // Once; the item's value goes back to 0, its done flag stays.
    void QueueItem(const TString& name);
    bool IsStepQueued(const TString& name) const;
    // Runs "scripts/plotwindow.lua" in a new modal "plot_modal" when a
    // queued item is still to be told; the modal goes again when the script
    // makes no plot window.
    void ShowPlotWindow();
    // False without an item of that name.
    bool Respond(const TString& item, const TString& response);
    bool CheckItem(const TString& item);
    std::shared_ptr<VPlotItem> FindItem(const TString& name) const;
    // The messages of the queued items, in queue order.
    TString GetPlotMessage();
    // Tests the goals of the queued items and saves them. The plot records
    // are the plot window's to save: a queued episode told before holds a
    // value of 0 here, which would overwrite the player's answers.
    void EvaluateQueuedItems();
    // The current player's "quest_" record of the location, made on first
    // use; null (logged once) without a player to keep it.
    std::shared_ptr<VBinaryBlock> GetQuestBlock(const TString& location);

    const std::vector<TString>& GetQueuedNames() const { return mQueued; }
    const std::map<TString, std::shared_ptr<VPlotItem>>& GetItems() const { return mItems; }
    // The location whose records the items read and write.
    TString GetLocation() const;

private:
    friend class VManagerSingleton<VPlotManager>;
    VPlotManager();
    bool HasUntoldItem() const;

    std::map<TString, std::shared_ptr<VPlotItem>> mItems;
    std::vector<TString> mQueued;
    std::shared_ptr<VLevel> mLevel;
    std::shared_ptr<VBinaryBlock> mQuestBlock;
    bool mQuestBlockMissingLogged = false;
    VScreenFunctions mFunctions;
};
