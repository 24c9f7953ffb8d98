#include "game/progression/tutorial.h"

#include <utility>
#include <vector>

#include "core/app/message.h"
#include "core/scripting/luaobject.h"
#include "core/windows/window.h"
#include "foundation/debuglog.h"
#include "game/objects/objectdescription.h"
#include "game/objects/spritebutton.h"
#include "game/progression/tutorialmanager.h"
#include "game/progression/tutorialspider.h"
#include "game/progression/tutorialstep.h"
#include "game/shell/block.h"
#include "game/shell/blockstore.h"
#include "game/shell/game.h"
#include "game/shell/luastyle.h"
#include "game/sprites/alphaeffect.h"
#include "lua/numbercast.h"

namespace {

const int kFadeTime = 500;
// Windows of this trigger value let clicks through to what lies beneath.
const int kClickThrough = 4;
const int kAdvanceOnUse = 1;
const int kNoTrigger = -1;
// More windows than a screen holds under one point: the search gives up.
const int kMostShrunkWindows = 64;

bool IsKnownState(int state) {
    return state == VTutorial::kNeverStarted || state == VTutorial::kStarted || state == VTutorial::kCompleted;
}

}  // namespace

const char VTutorial::kProgressBlock[] = "tutorials";

std::shared_ptr<VTutorial> VTutorial::Create(const TString& name, int slot) {
    auto tutorial = std::make_shared<VTutorial>(name, slot);
    Adopt(tutorial);
    return tutorial;
}

VTutorial::VTutorial(const TString& name, int slot) : VObject(name, "tutorial", 0), mSlot(slot) {
    SetClickable(false);
}

VTutorial::~VTutorial() = default;

// Progress

std::shared_ptr<VBinaryBlock> VTutorial::GetProgressBlock() {
    if (!mProgress) {
        VGame* game = VGame::Get();
        VBlockStore* blocks = game ? game->GetBlocks() : nullptr;
        if (blocks) mProgress = blocks->GetBinaryBlock(kProgressBlock);
    }
    return mProgress;
}

void VTutorial::SaveState() {
    std::shared_ptr<VBinaryBlock> block = GetProgressBlock();
    if (!block) return;
    if (!block->Holds(mSlot)) {
        DebugLog("VTutorial::SaveState: '%s' has slot %d of %d; its state is not saved", GetName().c_str(), mSlot,
                 block->GetSize());
        return;
    }
    block->WriteByte(mSlot, static_cast<uint8_t>(mState));
    block->Save();
}

void VTutorial::LoadState() {
    std::shared_ptr<VBinaryBlock> block = GetProgressBlock();
    if (!block) return;
    if (!block->Holds(mSlot)) {
        DebugLog("VTutorial::LoadState: '%s' has slot %d of %d; its state stays %d", GetName().c_str(), mSlot,
                 block->GetSize(), mState);
        return;
    }
    int stored = block->ReadByte(mSlot);
    mState = IsKnownState(stored) ? stored : kNeverStarted;
}

void VTutorial::RaiseState(int state, bool save) {
    if (state <= mState) return;
    mState = state;
    if (save) SaveState();
}

// Steps

std::shared_ptr<VTutorialStep> VTutorial::GetStep(int number) const {
    auto found = mSteps.find(number);
    return found == mSteps.end() ? nullptr : found->second;
}

std::shared_ptr<VTutorialStep> VTutorial::GetCurrentStep() const {
    return GetStep(mCurrentStep);
}

TRect VTutorial::GetCurrentStepRect() const {
    TRect rect(0, 0, 0, 0);
    if (std::shared_ptr<VTutorialStep> step = GetCurrentStep()) step->GetArea(&rect);
    return rect;
}

bool VTutorial::CanStart() const {
    return mState == kNeverStarted || (mState == kStarted && !mTryOnce) || mRepeatable;
}

// Running

bool VTutorial::Start(bool fromBeginning) {
    if (!fromBeginning) {
        mCurrentStep = GetStepCount();
        Advance();
        return true;
    }
    Reset();
    mFinished = false;
    mAborted = false;
    mHighlighter->Begin(GetStepCount());
    Advance();
    RaiseState(kStarted, true);
    return true;
}

bool VTutorial::IsTransitionRunning() const {
    return mTransition && mTransition->IsActive();
}

bool VTutorial::MayLeaveCurrentStep() {
    std::shared_ptr<VTutorialStep> step = GetCurrentStep();
    if (!step) return true;
    step->SetDone();
    return step->IsDurationOver() && step->IsDelayOver();
}

void VTutorial::FinishRun() {
    mHighlighter->End(true);
    mFinished = true;
}

void VTutorial::Advance() {
    if (IsTransitionRunning() || !MayLeaveCurrentStep()) {
        mAdvancePending = true;
        return;
    }
    mAdvancePending = false;
    if (!VTutorialManager::Get()->AreTutorialsShown()) {
        mCurrentStep = GetStepCount() + 1;
        RaiseState(kStarted, true);
        FinishRun();
        return;
    }
    std::shared_ptr<VTutorialStep> previous = GetCurrentStep();
    std::shared_ptr<VTutorialStep> next = GetStep(++mCurrentStep);
    if (next) {
        if (previous) previous->End(VAlphaEffect::Create(false, 1.0f, kFadeTime, -1.0f, 0));
        mTransition = VAlphaEffect::Create(true, 1.0f, kFadeTime, -1.0f, 0);
        next->Begin(mTransition, mPause);
        mHighlighter->BeginStep(mCurrentStep);
        return;
    }
    // The last step stays until the window fades the whole tutorial out.
    if (previous) previous->End(nullptr);
    FinishRun();
    RaiseState(kCompleted, true);
}

void VTutorial::Update(bool paused) {
    VObject::Update(paused);
    std::shared_ptr<VTutorialStep> step = GetCurrentStep();
    if (step && mAdvancePending && !IsTransitionRunning() && step->IsDurationOver() && step->IsDelayOver()) {
        mAdvancePending = false;
        Advance();
    }
}

void VTutorial::Reset() {
    VObject::Reset();
    mCurrentStep = 0;
    if (mTransition) mTransition->Finish();
    mTransition.reset();
    mAdvancePending = false;
    mFinished = true;
    mAborted = true;
    for (const auto& [number, step] : mSteps) step->Reset();
    if (mHighlighter) {
        mHighlighter->End(false);
    } else {
        mHighlighter = VTutorialSpider::Create(GetSharedAs<VTutorial>());
    }
}

// Input

int VTutorial::GetObjectState(const TString& name) {
    std::shared_ptr<VTutorialStep> step = GetCurrentStep();
    return step ? step->GetTriggerValue(name) : kNoTrigger;
}

bool VTutorial::OnMessage(TMessage* message) {
    if (!message || message->GetType() != TMessage::kButtonPress) return false;
    if (mSkip && message->GetName() == mSkip->GetName()) {
        VTutorialManager::Get()->SetTutorialsShown(false, true);
        Advance();
        return true;
    }
    if (GetObjectState(message->GetName()) != kAdvanceOnUse) return false;
    Advance();
    return true;
}

TWindow* VTutorial::FindClickTarget(TWindow* testWindow, const TPoint& point) {
    TPoint local = testWindow->GlobalToLocal(point);
    std::vector<std::pair<TWindow*, int>> shrunk;
    TWindow* found = testWindow->FindWindowAtPoint(local, -1);
    while (found && GetObjectState(found->GetName()) == kClickThrough &&
           static_cast<int>(shrunk.size()) < kMostShrunkWindows) {
        shrunk.emplace_back(found, found->GetWidth());
        found->SetSize(0, found->GetHeight());
        found = testWindow->FindWindowAtPoint(local, -1);
    }
    for (auto it = shrunk.rbegin(); it != shrunk.rend(); ++it) it->first->SetSize(it->second, it->first->GetHeight());
    return found;
}

bool VTutorial::IsClickOnTrigger(TWindow* host, const TPoint& point) {
    if (!host || mWindow.Length() == 0) return true;
    TWindow* testWindow = host->FindChildWindow(mWindow, -1);
    if (!testWindow) testWindow = host;
    TWindow* found = FindClickTarget(testWindow, point);
    if (!found || found == testWindow) return false;
    for (TWindow* window = found; window && window != testWindow; window = window->GetParent()) {
        if (GetObjectState(window->GetName()) != kNoTrigger) return true;
    }
    return false;
}

// Loading

void VTutorial::Load(const std::shared_ptr<VLuaStyle>& description) {
    for (const auto& [number, step] : mSteps) RemoveChild(std::shared_ptr<VSprite>(step));
    mSteps.clear();
    mModes.clear();
    if (mSkip) RemoveChild(std::shared_ptr<VSprite>(mSkip));
    mSkip.reset();
    VObject::Load(description);
    if (!description || !description->IsValid()) return;
    VStyleReach own(*description, 0);
    mMinLevel = description->GetInt("minlevel", mMinLevel);
    mMaxLevel = description->GetInt("maxlevel", mMaxLevel);
    mWindow = description->GetString("window", mWindow);
    mPause = description->GetBool("pause", mPause);
    mRepeatable = description->GetBool("repeatable", mRepeatable);
    mTryOnce = description->GetBool("tryonce", mTryOnce);
    if (std::shared_ptr<VLuaStyle> modes = description->GetSubStyle("modes"); modes->IsValid()) {
        for (int index = 1; index <= modes->GetCount(); ++index) {
            mModes.insert(script::truncateNumber<int>(modes->GetLuaTable()->GetNumberAt(index, 0)));
        }
    }
    LoadSteps(*description);
    LoadSkip(*description);
}

void VTutorial::LoadSteps(VLuaStyle& description) {
    std::shared_ptr<VLuaStyle> steps = description.GetSubStyle("steps");
    if (!steps->IsValid()) return;
    for (int index = 1; index <= steps->GetCount(); ++index) {
        std::shared_ptr<VLuaStyle> entry = steps->GetSubStyleAt(index);
        if (!entry->IsValid()) continue;
        // Numbered without gaps: a skipped entry does not cut the tutorial short.
        auto step = VTutorialStep::Create(GetStepCount() + 1);
        step->Load(entry);
        step->Reset();
        AddChild(step);
        mSteps[step->GetNumber()] = step;
    }
}

void VTutorial::LoadSkip(VLuaStyle& description) {
    std::shared_ptr<VLuaStyle> skip = description.GetSubStyle("skip");
    if (!skip->IsValid()) return;
    mSkip = VButton::Create(0, "skip");
    mSkip->Load(skip);
    mSkip->Reset();
    AddChild(mSkip);
}
