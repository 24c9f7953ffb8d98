#include "game/progression/plotmanager.h"

#include <algorithm>

#include "core/scripting/luaobject.h"
#include "core/windows/modalwindow.h"
#include "core/windows/windowmanager.h"
#include "foundation/debuglog.h"
#include "game/level/level.h"
#include "game/level/levelmanager.h"
#include "game/objects/objectdescription.h"
#include "game/progression/plotitem.h"
#include "game/progression/plotwindow.h"
#include "game/progression/questitem.h"
#include "game/shell/block.h"
#include "game/shell/game.h"
#include "game/shell/luastyle.h"

namespace {

const char kStoryPrefix[] = "story_";
const char kPlotScript[] = "scripts/plotwindow.lua";
const char kPlotModal[] = "plot_modal";
const char kQuestType[] = "quest";
const char kQuestPrefix[] = "quest_";
// One byte per item index, like the "plot_" records; open by default.
constexpr int kQuestBlockSize = 60;
constexpr char kOpenState = 1;

// The first six bytes are "story_", case and all.
bool IsStoryKey(const TString& key) {
    return key.Length() >= 6 && std::equal(kStoryPrefix, kStoryPrefix + 6, key.c_str());
}

}  // namespace

VPlotManager::VPlotManager() {
    mFunctions.Publish("GetPlotMessage", this, &VPlotManager::GetPlotMessage);
}

VPlotManager::~VPlotManager() = default;

void VPlotManager::Clear() {
    mItems.clear();
    mQueued.clear();
    // Read again at its next use: the player may have changed.
    mQuestBlock.reset();
}

void VPlotManager::LoadPlotItems(const std::shared_ptr<TLuaTable>& plot) {
    Clear();
    if (!plot) return;
    std::map<TString, std::shared_ptr<VLuaStyle>> stories;
    ForEachTableEntry(*plot, [&](const TString& key, const TLuaObjectWrapper& value) {
        if (!IsStoryKey(key)) return;
        if (std::shared_ptr<VLuaStyle> description = OwnStyleOf(value)) stories[key] = description;
    });
    int index = 0;
    for (const auto& [key, description] : stories) {
        bool quest = description->GetString("type", TString()) == kQuestType;
        std::shared_ptr<VPlotItem> item = quest ? VQuestItem::Create(key, index) : VPlotItem::Create(key, index);
        ++index;
        item->Load(description);
        mItems[key] = item;
    }
}

TString VPlotManager::GetLocation() const {
    // The level being loaded is the level manager's; the one set here is
    // the previous level until the queue is set.
    std::shared_ptr<VLevel> level = VLevelManager::Get()->GetCurrentLevelObject();
    if (!level) level = mLevel;
    return level ? level->GetLocation() : TString();
}

void VPlotManager::UpdateItemsForLevel() {
    TString location = GetLocation();
    if (location.Length() == 0) return;
    mQuestBlock.reset();
    for (const auto& [name, item] : mItems) {
        item->LoadState(location);
        if (auto quest = std::dynamic_pointer_cast<VQuestItem>(item)) quest->RevealReward();
    }
}

std::shared_ptr<VBinaryBlock> VPlotManager::GetQuestBlock(const TString& location) {
    TString name = TString(kQuestPrefix) + location;
    if (!mQuestBlock || mQuestBlock->GetName() != name) {
        mQuestBlock = VBinaryBlock::Create(name, kQuestBlockSize, kOpenState, false);
        mQuestBlock->Load();
    }
    if (GetCurrentUserNumber() >= 0) return mQuestBlock;
    if (!mQuestBlockMissingLogged) DebugLog("VPlotManager: no player keeps \"%s\"", name.c_str());
    mQuestBlockMissingLogged = true;
    return nullptr;
}

void VPlotManager::SetLevel(const std::shared_ptr<VLevel>& level) {
    mLevel = level;
    mQueued.clear();
    if (!level) return;
    for (const TString& name : level->GetPlots()) QueueItem(name);
}

void VPlotManager::QueueItem(const TString& name) {
    if (!IsStepQueued(name)) mQueued.push_back(name);
    if (std::shared_ptr<VPlotItem> item = FindItem(name)) item->Reset();
}

bool VPlotManager::IsStepQueued(const TString& name) const {
    return std::find(mQueued.begin(), mQueued.end(), name) != mQueued.end();
}

// An episode once told is not shown again: without one still to tell no
// window opens, so a replayed level starts without a pause.
bool VPlotManager::HasUntoldItem() const {
    return std::any_of(mQueued.begin(), mQueued.end(), [this](const TString& name) {
        std::shared_ptr<VPlotItem> item = FindItem(name);
        return item && !item->IsDone();
    });
}

void VPlotManager::ShowPlotWindow() {
    TWindowManager* windows = TWindowManager::GetInstance();
    if (!HasUntoldItem() || !windows) return;
    auto* modal = new TModalWindow();
    // Named before the script runs, so it can be popped whatever the script does.
    modal->SetName(kPlotModal);
    windows->PushModal(modal);
    TString id = modal->GetIdString();
    windows->RunWindowScript(modal, kPlotScript);
    TWindow* found = modal->FindChildWindow("plot_window", -1);
    if (found && found->IsA(VPlotWindow::ClassId())) {
        static_cast<VPlotWindow*>(found)->Start(GetShared());
        return;
    }
    DebugLog("VPlotManager: %s made no \"plot_window\"", kPlotScript);
    windows->PopModal(id);
}

bool VPlotManager::Respond(const TString& item, const TString& response) {
    std::shared_ptr<VPlotItem> found = FindItem(item);
    return found && found->Respond(response);
}

bool VPlotManager::CheckItem(const TString& item) {
    std::shared_ptr<VPlotItem> found = FindItem(item);
    return found && found->Check();
}

std::shared_ptr<VPlotItem> VPlotManager::FindItem(const TString& name) const {
    auto found = mItems.find(name);
    return found == mItems.end() ? nullptr : found->second;
}

TString VPlotManager::GetPlotMessage() {
    TString message;
    for (const TString& name : mQueued) {
        if (std::shared_ptr<VPlotItem> item = FindItem(name)) message += item->GetMessage();
    }
    return message;
}

void VPlotManager::EvaluateQueuedItems() {
    TString location = GetLocation();
    for (const TString& name : mQueued) {
        std::shared_ptr<VPlotItem> item = FindItem(name);
        if (!item) continue;
        item->Evaluate();
        auto quest = std::dynamic_pointer_cast<VQuestItem>(item);
        if (quest && location.Length() > 0) quest->SaveGoal(location);
    }
}
