#include "game/progression/tutorialstep.h"

#include "core/scripting/luaobject.h"
#include "foundation/clock.h"
#include "game/objects/objectdescription.h"
#include "game/objects/spritebutton.h"
#include "game/progression/tutorialmanager.h"
#include "game/shell/luastyle.h"
#include "game/sprites/alphaeffect.h"
#include "game/sprites/spritemanager.h"
#include "game/sprites/textsprite.h"
#include "lua/numbercast.h"

namespace {

// Every non-empty string of the named array goes into each of the sets.
void ReadNames(VLuaStyle& description, const char* key, std::initializer_list<VTutorialStep::NameSet*> sets) {
    std::shared_ptr<VLuaStyle> names = description.GetSubStyle(key);
    int count = names ? names->GetCount() : 0;
    for (int index = 1; index <= count; ++index) {
        TString name = names->GetStringAt(index, TString());
        if (name.Length() == 0) continue;
        for (VTutorialStep::NameSet* set : sets) set->insert(name);
    }
}

// Stops the effect and takes it off the sprite.
void Drop(VSprite& sprite, std::shared_ptr<VAlphaEffect>& effect) {
    if (!effect) return;
    effect->Finish();
    sprite.RemoveEffect(effect);
    effect.reset();
}

void Deactivate(const std::shared_ptr<VAlphaEffect>& effect) {
    if (effect) effect->Deactivate();
}

void PauseLevel(bool paused) {
    if (std::shared_ptr<VSpriteManager> level = VTutorialManager::Get()->GetSpriteManager()) level->SetPaused(paused);
}

}  // namespace

std::shared_ptr<VTutorialStep> VTutorialStep::Create(int number) {
    auto step = std::make_shared<VTutorialStep>(number);
    Adopt(step);
    return step;
}

VTutorialStep::VTutorialStep(int number) : VTiledObject(TString(), "tutorial_step", 0), mNumber(number) {}

VTutorialStep::~VTutorialStep() = default;

uint32_t VTutorialStep::Now() const {
    TClock* clock = GetClock();
    return clock ? static_cast<uint32_t>(clock->GetTime()) : 0;
}

void VTutorialStep::Reset() {
    VTiledObject::Reset();
    mBegun = false;
    // A step shown again waits its delay anew.
    mDone = false;
    Drop(*this, mFadeIn);
    Drop(*this, mFadeOut);
    SetVisible(false);
}

void VTutorialStep::Update(bool paused) {
    if (mFadeOut && !mFadeOut->IsActive()) {
        SetVisible(false);
        mBegun = false;
        Drop(*this, mFadeOut);
    }
    VTiledObject::Update(paused);
}

void VTutorialStep::Load(const std::shared_ptr<VLuaStyle>& description) {
    mInteractive.clear();
    mInput.clear();
    mHighlight.clear();
    mTriggers.clear();
    if (description && description->IsValid()) LoadStepKeys(*description);
    VTiledObject::Load(description);
    TRect area;
    GetArea(&area);
    mEmpty = area.right - area.left < 1 || area.bottom - area.top < 1;
    if (description && description->IsValid()) {
        ArrangePanel(*description);
        LoadButton(*description);
    }
}

void VTutorialStep::LoadStepKeys(VLuaStyle& description) {
    // The tutorial's own keys are not the step's.
    VStyleReach own(description, 0);
    mDuration = description.GetInt("duration", mDuration);
    mDelay = description.GetInt("delay", mDelay);
    mPause = description.GetBool("pause", mPause);
    mDim = description.GetBool("dim", mDim);
    mSkip = description.GetBool("skip", mSkip);
    ReadNames(description, "highlight_objects", {&mHighlight});
    ReadNames(description, "action_objects", {&mInteractive, &mHighlight, &mInput});
    LoadTriggers(description);
    mClickAny = description.GetBool("clickAny", mClickAny);
    // Nothing else could end such a step.
    if (mDuration < 0 && mInteractive.empty()) mClickAny = true;
}

void VTutorialStep::LoadTriggers(VLuaStyle& description) {
    std::shared_ptr<VLuaStyle> triggers = description.GetSubStyle("trigger_objects");
    int count = triggers ? triggers->GetCount() : 0;
    for (int index = 1; index <= count; ++index) {
        std::shared_ptr<VLuaStyle> trigger = triggers->GetSubStyleAt(index);
        if (!trigger->IsValid()) continue;
        TString name = trigger->GetStringAt(1, TString());
        if (name.Length() == 0) continue;
        mTriggers[name] = script::truncateNumber<int>(trigger->GetLuaTable()->GetNumberAt(2, 0));
        mInteractive.insert(name);
        mHighlight.insert(name);
        VStyleReach own(*trigger, 0);
        if (trigger->GetBool("action", true)) mInput.insert(name);
    }
}

void VTutorialStep::ArrangePanel(VLuaStyle& description) {
    if (!mEmpty) {
        if (!mText) {
            mText = VTextSprite::Create();
            AddChild(mText);
        }
        mText->Load(*description.GetLuaTable());
        // The text fills the panel from its corner.
        mText->SetName(GetName() + "_text");
        mText->SetPosition(TVec2(0, 0));
        mText->GetDrawState().pivot = TVec2(0, 0);
    }
    const TVec2 own = GetDrawState().pivot;
    for (const auto& [name, child] : GetChildObjects()) {
        child->SetMouseEnabled(false);
        child->GetDrawState().pivot = child->GetDrawState().pivot - own;
    }
}

void VTutorialStep::LoadButton(VLuaStyle& description) {
    if (mButton) RemoveChild(std::shared_ptr<VSprite>(mButton));
    mButton.reset();
    std::shared_ptr<VLuaStyle> button = description.GetSubStyle("button");
    if (!button || !button->IsValid()) return;
    mButton = VButton::Create(0, "button");
    mButton->Load(button);
    mButton->Reset();
    // Made after the panel, so it keeps its mouse.
    mButton->SetMouseEnabled(true);
    AddChild(mButton);
}

void VTutorialStep::Begin(const std::shared_ptr<VAlphaEffect>& fadeIn, bool tutorialPause) {
    if (mBegun) return;
    mBegun = true;
    mStartTime = Now();
    if (mEmpty) {
        // Nothing to fade: the tutorial need not wait for it.
        Deactivate(fadeIn);
    } else {
        mFadeIn = fadeIn;
        if (mFadeIn) AddEffect(mFadeIn);
        SetVisible(true);
    }
    PauseLevel(mPause && tutorialPause);
}

void VTutorialStep::End(const std::shared_ptr<VAlphaEffect>& fadeOut) {
    if (mEmpty) {
        Deactivate(fadeOut);
    } else {
        Drop(*this, mFadeIn);
        mFadeOut = fadeOut;
        if (mFadeOut) AddEffect(mFadeOut);
    }
    PauseLevel(false);
}

void VTutorialStep::SetDone() {
    if (mDone) return;
    mDone = true;
    mDoneTime = Now();
}

bool VTutorialStep::IsOver(bool marked, uint32_t mark, int length) const {
    if (!marked || length < 0) return true;
    return Now() - mark >= static_cast<uint32_t>(length);
}

bool VTutorialStep::IsDurationOver() const {
    return IsOver(mBegun, mStartTime, mDuration);
}

bool VTutorialStep::IsDelayOver() const {
    return IsOver(mDone, mDoneTime, mDelay);
}

int VTutorialStep::GetTriggerValue(const TString& name) const {
    auto found = mTriggers.find(name);
    return found == mTriggers.end() ? -1 : found->second;
}
