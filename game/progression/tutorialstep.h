// One step of a tutorial: a panel (a tiled background with text and an
// optional button) and the level objects the step highlights, opens for
// input and waits for. It ends on a click, on a trigger object, or after
// its time.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>

#include "foundation/tstring.h"
#include "game/objects/tiledobject.h"

class VAlphaEffect;
class VButton;
class VTextSprite;

class VTutorialStep : public VTiledObject {
public:
    using NameSet = std::set<TString>;

    static std::shared_ptr<VTutorialStep> Create(int number);
    explicit VTutorialStep(int number);
    ~VTutorialStep() override;

    // Stops both fades and hides the step until it begins.
    void Reset() override;
    // Hides the step once its fade-out has ended.
    void Update(bool paused) override;
    // The step's own keys first, then the panel.
    void Load(const std::shared_ptr<VLuaStyle>& description) override;

    // Shows the step, fading in with the effect, once; the level pauses when
    // both the step and its tutorial ask for it.
    void Begin(const std::shared_ptr<VAlphaEffect>& fadeIn, bool tutorialPause);
    // Fades out with the effect (none: at once) and lets the level run.
    void End(const std::shared_ptr<VAlphaEffect>& fadeOut);
    // The done time is kept from the first call.
    void SetDone();
    bool IsDurationOver() const;
    bool IsDelayOver() const;
    // -1 for a name that is no trigger object of the step.
    int GetTriggerValue(const TString& name) const;

    int GetNumber() const { return mNumber; }
    const NameSet& GetInteractiveNames() const { return mInteractive; }
    const NameSet& GetInputNames() const { return mInput; }
    const NameSet& GetHighlightNames() const { return mHighlight; }
    bool IsEmpty() const { return mEmpty; }
    bool IsDim() const { return mDim; }
    bool IsPause() const { return mPause; }
    bool IsSkip() const { return mSkip; }
    bool IsClickAny() const { return mClickAny; }
    int GetDuration() const { return mDuration; }
    int GetDelay() const { return mDelay; }
    bool HasBegun() const { return mBegun; }
    const std::shared_ptr<VTextSprite>& GetText() const { return mText; }
    const std::shared_ptr<VButton>& GetButton() const { return mButton; }

private:
    uint32_t Now() const;
    // Whether the time since the mark has reached the length; marks and
    // lengths that are not set count as over.
    bool IsOver(bool marked, uint32_t mark, int length) const;
    void LoadStepKeys(VLuaStyle& description);
    void LoadTriggers(VLuaStyle& description);
    // The text sprite, and the description's children placed on the panel
    // and deaf to the mouse.
    void ArrangePanel(VLuaStyle& description);
    void LoadButton(VLuaStyle& description);

    int mNumber;
    NameSet mInteractive;
    NameSet mInput;
    NameSet mHighlight;
    std::map<TString, int> mTriggers;
    bool mEmpty = false;
    bool mDim = true;
    bool mPause = true;
    bool mSkip = true;
    bool mClickAny = false;
    int mDuration = -1;
    int mDelay = -1;
    // Flags beside the times: a clock may well read 0.
    bool mBegun = false;
    uint32_t mStartTime = 0;
    bool mDone = false;
    uint32_t mDoneTime = 0;
    std::shared_ptr<VTextSprite> mText;
    std::shared_ptr<VButton> mButton;
    std::shared_ptr<VAlphaEffect> mFadeIn;
    std::shared_ptr<VAlphaEffect> mFadeOut;
};
