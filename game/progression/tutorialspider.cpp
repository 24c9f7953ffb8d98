#include "game/progression/tutorialspider.h"

#include "game/objects/spritebutton.h"
#include "game/objects/suspendabletutorial.h"
#include "game/progression/tutorial.h"
#include "game/progression/tutorialmanager.h"
#include "game/progression/tutorialstep.h"
#include "game/sprites/spritemanager.h"
#include "game/sprites/tinteffect.h"

std::shared_ptr<VTutorialSpider> VTutorialSpider::Create(const std::weak_ptr<VTutorial>& tutorial) {
    return std::make_shared<VTutorialSpider>(tutorial);
}

VTutorialSpider::VTutorialSpider(const std::weak_ptr<VTutorial>& tutorial) : mTutorial(tutorial) {}

VTutorialSpider::~VTutorialSpider() = default;

std::shared_ptr<VTintEffect> VTutorialSpider::MakeTint(float startLevel) {
    return VTintEffect::Create(kDimLevel, kFadeTime, 0, 0, 0, 0, startLevel);
}

void VTutorialSpider::ForgetObjects() {
    mObjects.clear();
    mListened.clear();
    mHighlightNames.clear();
    mAnyHighlight.clear();
}

void VTutorialSpider::Begin(int stepCount) {
    mCurrentStep = 0;
    ForgetObjects();
    mStepCount = stepCount;
    if (mListener) mListener->SetFinished(true);
    mListener = std::make_shared<VTutorialListener>(mTutorial);
    mEffects.clear();
}

std::shared_ptr<VTintEffect> VTutorialSpider::GetObjectEffect(const TString& name) const {
    auto step = mEffects.find(mCurrentStep);
    if (step == mEffects.end()) return nullptr;
    auto found = step->second.find(name);
    return found == step->second.end() ? nullptr : found->second;
}

void VTutorialSpider::BeginStep(int number) {
    std::shared_ptr<VSpriteManager> level = VTutorialManager::Get()->GetSpriteManager();
    if (!level) return;
    mCurrentStep = number;
    LetGo(level.get());
    TakeUpObjects(*level, number);
    std::shared_ptr<VTutorial> tutorial = mTutorial.lock();
    std::shared_ptr<VTutorialStep> step = tutorial ? tutorial->GetStep(number) : nullptr;
    ApplyDim(*level, step && step->IsDim());
    for (const auto& [stepNumber, names] : mHighlightNames) mAnyHighlight.insert(names.begin(), names.end());
    auto previous = mEffects.find(number - 1);
    mPreviousEffects = previous == mEffects.end() ? nullptr : &previous->second;
    level->VisitSprites(shared_from_this(), true);
    mPreviousEffects = nullptr;
    mEffects.erase(number - 1);
}

void VTutorialSpider::LetGo(VSpriteManager* level) {
    for (const auto& [number, sprites] : mListened) {
        for (const std::weak_ptr<VSprite>& weak : sprites) {
            if (std::shared_ptr<VSprite> sprite = weak.lock()) sprite->RemoveListener(mListener);
        }
    }
    mListened.clear();
    if (level) level->ClearAllowedInput();
}

void VTutorialSpider::TakeUpObjects(VSpriteManager& level, int number) {
    std::shared_ptr<VTutorial> tutorial = mTutorial.lock();
    std::shared_ptr<VTutorialStep> step = tutorial ? tutorial->GetStep(number) : nullptr;
    if (!step) return;
    std::set<TString>& highlight = mHighlightNames[number];
    highlight = step->GetHighlightNames();
    if (const std::shared_ptr<VButton>& skip = tutorial->GetSkipObject()) skip->SetVisible(step->IsSkip());
    for (const TString& name : step->GetInteractiveNames()) {
        std::shared_ptr<VSprite> sprite = level.FindSprite(name);
        if (!sprite) continue;
        mObjects[number].push_back(sprite);
        if (std::shared_ptr<VSprite> owner = sprite->GetOwner()) highlight.insert(owner->GetName());
        // Value 0 lets clicks pass without listening.
        if (step->GetTriggerValue(name) != 0) {
            sprite->AddListener(mListener);
            mListened[number].push_back(sprite);
        }
        if (step->GetInputNames().count(name)) level.AllowInput(sprite);
    }
}

void VTutorialSpider::ApplyDim(VSpriteManager& level, bool dim) {
    if (dim) {
        if (!mDim) {
            mDim = MakeTint(0);
            level.AddEffect(mDim);
        }
        return;
    }
    if (mDim) mDim->Deactivate();
    mDim.reset();
    for (auto& [number, effects] : mEffects) {
        for (auto& [name, effect] : effects) effect->Deactivate();
    }
    mEffects.clear();
}

bool VTutorialSpider::IsHighlightedIn(int step, const TString& name) const {
    auto found = mHighlightNames.find(step);
    return found != mHighlightNames.end() && found->second.count(name) > 0;
}

std::shared_ptr<VTintEffect> VTutorialSpider::PreviousEffect(const TString& name) const {
    if (!mPreviousEffects || mPreviousEffects->empty()) return nullptr;
    auto found = mPreviousEffects->find(name);
    return found == mPreviousEffects->end() ? nullptr : found->second;
}

bool VTutorialSpider::Visit(const std::shared_ptr<VSprite>& sprite) {
    const TString& name = sprite->GetName();
    std::shared_ptr<VTintEffect> previous = PreviousEffect(name);
    bool matched = mDim && mAnyHighlight.count(name) > 0;
    bool now = matched && IsHighlightedIn(mCurrentStep, name);
    // The first step has no step before it: its objects start bright.
    bool before = matched && (mCurrentStep == 1 || IsHighlightedIn(mCurrentStep - 1, name));
    if (!now && !before) {
        if (previous) mEffects[mCurrentStep][name] = previous;
        return true;
    }
    EffectMap& current = mEffects[mCurrentStep];
    sprite->RemoveEffect(mDim);
    if (now) {
        if (previous) {
            previous->Deactivate();
            current[name] = previous;
        } else if (!before) {
            // Brightens from the dim's level over the fade time.
            std::shared_ptr<VTintEffect> brighten = MakeTint(mDim->GetLevel());
            sprite->AddEffect(brighten);
            brighten->Deactivate();
        }
        return true;
    }
    // Highlighted before, not now: darkens again.
    float start = 0;
    if (previous) {
        start = previous->GetLevel();
        previous->Finish();
        sprite->RemoveEffect(previous);
    }
    std::shared_ptr<VTintEffect> darken = MakeTint(start);
    sprite->AddEffect(darken);
    current[name] = darken;
    return true;
}

void VTutorialSpider::End(bool windDown) {
    mCurrentStep = 0;
    for (auto& [number, effects] : mEffects) {
        for (auto& [name, effect] : effects) {
            effect->Deactivate();
            if (!windDown) effect->Finish();
        }
    }
    mEffects.clear();
    if (mDim) {
        mDim->Deactivate();
        if (!windDown) mDim->Finish();
    }
    mDim.reset();
    if (mListener) mListener->SetFinished(true);
    mListener.reset();
    std::shared_ptr<VSpriteManager> level = VTutorialManager::Get()->GetSpriteManager();
    if (level) {
        level->ClearAllowedInput();
        level->SetPaused(false);
    }
    ForgetObjects();
}
