// The tutorial's highlighter: for each step it dims the level's sprites,
// keeps the step's objects bright with short tint fades, hangs the
// tutorial's listener on the objects the step waits for and opens input to
// the objects the player may use.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <vector>

#include "foundation/tstring.h"
#include "game/sprites/sprite.h"

class VSpriteManager;
class VTintEffect;
class VTutorial;
class VTutorialListener;

class VTutorialSpider : public VSpriteSpider, public std::enable_shared_from_this<VTutorialSpider> {
public:
    // Strength and length of the dimming and of each highlight's fade.
    static constexpr float kDimLevel = 0.5f;
    static constexpr int kFadeTime = 300;

    static std::shared_ptr<VTutorialSpider> Create(const std::weak_ptr<VTutorial>& tutorial);
    explicit VTutorialSpider(const std::weak_ptr<VTutorial>& tutorial);
    ~VTutorialSpider() override;

    // A fresh run: nothing known, a new listener.
    void Begin(int stepCount);
    // Lets go of the previous step's objects and takes up the step's.
    void BeginStep(int number);
    // Brightens, darkens or leaves one sprite; always goes on to the children.
    bool Visit(const std::shared_ptr<VSprite>& sprite) override;
    // Lets every effect wind down, or takes them off at once, and gives the
    // level its input and its clock back.
    void End(bool windDown);

    int GetCurrentStep() const { return mCurrentStep; }
    int GetStepCount() const { return mStepCount; }
    const std::shared_ptr<VTintEffect>& GetDimEffect() const { return mDim; }
    const std::shared_ptr<VTutorialListener>& GetListener() const { return mListener; }
    // The tint of a highlighted object in the current step; empty for none.
    std::shared_ptr<VTintEffect> GetObjectEffect(const TString& name) const;

private:
    using SpriteList = std::vector<std::weak_ptr<VSprite>>;
    using EffectMap = std::map<TString, std::shared_ptr<VTintEffect>>;

    static std::shared_ptr<VTintEffect> MakeTint(float startLevel);
    bool IsHighlightedIn(int step, const TString& name) const;
    std::shared_ptr<VTintEffect> PreviousEffect(const TString& name) const;
    void TakeUpObjects(VSpriteManager& level, int number);
    void ApplyDim(VSpriteManager& level, bool dim);
    void LetGo(VSpriteManager* level);
    void ForgetObjects();

    std::weak_ptr<VTutorial> mTutorial;
    std::shared_ptr<VTutorialListener> mListener;
    std::map<int, SpriteList> mObjects;
    std::map<int, SpriteList> mListened;
    std::map<int, std::set<TString>> mHighlightNames;
    // Every step's highlight names together, and the previous step's
    // effects: what each visit of a step asks first.
    std::set<TString> mAnyHighlight;
    const EffectMap* mPreviousEffects = nullptr;
    std::map<int, EffectMap> mEffects;
    std::shared_ptr<VTintEffect> mDim;
    int mCurrentStep = 0;
    int mStepCount = 0;
};
