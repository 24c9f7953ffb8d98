#include "game/progression/tutorialmanager.h"

#include "core/app/gamestate.h"
#include "core/scripting/luaobject.h"
#include "core/windows/modalwindow.h"
#include "core/windows/windowmanager.h"
#include "foundation/debuglog.h"
#include "game/level/level.h"
#include "game/objects/objectdescription.h"
#include "game/progression/tutorial.h"
#include "game/progression/tutorialwindow.h"
#include "game/shell/blockstore.h"
#include "game/shell/game.h"
#include "game/shell/luastyle.h"
#include "game/shop/shopwindow.h"
#include "game/sprites/spritemanager.h"

namespace {

const char kShowTutorialsBlock[] = "show_tutorials";

std::shared_ptr<RIntBlock> ShowTutorialsBlock() {
    VGame* game = VGame::Get();
    VBlockStore* blocks = game ? game->GetBlocks() : nullptr;
    return blocks ? blocks->GetIntBlock(kShowTutorialsBlock) : nullptr;
}

void SetStat(const TString& key, int value) {
    if (TGameState* state = TGameState::Get()) state->SetStateInt(key, value);
}

TString TutorialTimeKey() {
    return TString::Format("TutorialTime_%i", ShopWindow::GetPlayNumber());
}

}  // namespace

VTutorialManager::VTutorialManager() = default;

VTutorialManager::~VTutorialManager() = default;

// Loading

void VTutorialManager::LoadTutorials(TLuaTable* tutorials, const std::shared_ptr<VLuaStyle>& parent) {
    EndTutorial(mActive);
    mTutorials.clear();
    if (!tutorials) {
        DebugLog("VTutorialManager::LoadTutorials: no tutorials table");
    } else {
        // By name first, so the slots do not depend on the table's own order.
        std::map<TString, std::unique_ptr<TLuaTable>> described;
        ForEachTableEntry(*tutorials, [&described](const TString& key, const TLuaObjectWrapper& value) {
            if (!value.IsTable()) return;
            value.Push();
            described[LowerCase(key)] = std::make_unique<TLuaTable>(value.GetState());
        });
        int slot = 0;
        for (auto& [name, table] : described) {
            auto tutorial = VTutorial::Create(name, slot++);
            tutorial->Load(VLuaStyle::Create(table.release(), parent));
            tutorial->Reset();
            mTutorials[name] = tutorial;
        }
    }
    LoadProgress();
}

std::shared_ptr<VTutorial> VTutorialManager::FindTutorial(const TString& name) {
    auto found = mTutorials.find(name);
    return found == mTutorials.end() ? nullptr : found->second;
}

void VTutorialManager::LoadProgress() {
    for (const auto& [name, tutorial] : mTutorials) tutorial->LoadState();
    if (std::shared_ptr<RIntBlock> block = ShowTutorialsBlock()) {
        block->Load();
        mShown = block->GetValue() == 1;
    }
}

void VTutorialManager::SetTutorialsShown(bool shown, bool save) {
    mShown = shown;
    if (!save) return;
    if (std::shared_ptr<RIntBlock> block = ShowTutorialsBlock()) {
        block->SetValue(shown ? 1 : 0);
        block->Save();
    }
}

void VTutorialManager::PrepareTutorials() {
    // Ended, not only forgotten: its time stops and the level takes input.
    EndTutorial(mActive);
    for (const auto& [name, tutorial] : mTutorials) tutorial->Reset();
}

void VTutorialManager::Clear() {
    EndTutorial(mActive);
    mTutorials.clear();
    mLevel.reset();
    mSpriteManager.reset();
}

// Starting

int VTutorialManager::GetLevelNumber() const {
    return mLevel ? mLevel->GetNumber() : 0;
}

void VTutorialManager::StartTutorial(const TString& name) {
    TryStart(FindTutorial(name));
}

void VTutorialManager::FireTrigger(const TString& type, const TString& object) {
    if (mTriggerObserver) mTriggerObserver(type, object);
    if (mActive) return;
    for (const auto& [name, tutorial] : mTutorials) {
        TString trigger = tutorial->GetProperty("trigger_type", TString());
        TString wanted = tutorial->GetProperty("trigger_object", TString());
        if (trigger == type && (wanted.Length() == 0 || wanted == object)) TryStart(tutorial);
        if (mActive) return;
    }
}

void VTutorialManager::TryStart(const std::shared_ptr<VTutorial>& tutorial) {
    if (mActive || !tutorial) return;
    VGame* game = VGame::Get();
    if (!tutorial->HasMode(game ? game->GetCurrentGameMode() : 0)) return;
    if (!tutorial->IsLevelInRange(GetLevelNumber()) || !tutorial->CanStart()) return;
    if (!mShown) {
        // Seen, though not shown.
        tutorial->RaiseState(VTutorial::kStarted, true);
        SetStat("TutorialEnd", 1);
        return;
    }
    // Shown first: its steps begin on the window's clock.
    ShowTutorial(tutorial);
    tutorial->Start(true);
}

void VTutorialManager::ShowTutorial(const std::shared_ptr<VTutorial>& tutorial) {
    mActive = tutorial;
    TWindowManager* windows = TWindowManager::GetInstance();
    TModalWindow* top = windows ? windows->GetTopModal() : nullptr;
    if (!top) {
        EndTutorial(tutorial);
        return;
    }
    auto* window = new VTutorialWindow();
    top->AddChild(window, true);
    window->SetTutorial(tutorial);
    window->StartAnimation();
    if (mSpriteManager) mSpriteManager->SetInputRestricted(true);
    SetStat(TutorialTimeKey(), 1);
}

void VTutorialManager::EndTutorial(const std::shared_ptr<VTutorial>& tutorial) {
    if (!tutorial || tutorial != mActive) return;
    mActive.reset();
    if (mSpriteManager) mSpriteManager->SetInputRestricted(false);
    SetStat(TutorialTimeKey(), 0);
    SetStat("TutorialEnd", mShown ? 0 : 1);
}

// Running

bool VTutorialManager::IsInputAllowed() const {
    return mInputAllowed || (mActive && !mActive->IsFinished());
}

bool VTutorialManager::OfferMessage(TMessage* message) {
    std::shared_ptr<VTutorial> active = mActive;
    return active && active->OnMessage(message);
}
