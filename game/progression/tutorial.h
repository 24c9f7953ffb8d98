// A tutorial: a scripted sequence of steps that teaches one part of the shop
// level, with the levels and game modes in which it may start and the
// player's progress in it (a byte of the per-user "tutorials" block). It runs
// its steps one after the other; the tutorial manager starts it and its
// window feeds it clicks and button presses.
#pragma once

#include <map>
#include <memory>
#include <set>

#include "foundation/rect.h"
#include "foundation/tstring.h"
#include "game/objects/object.h"

class TMessage;
class TWindow;
class VAlphaEffect;
class VBinaryBlock;
class VButton;
class VTutorialSpider;
class VTutorialStep;

class VTutorial : public VObject {
public:
    // Progress, saved as the highest reached.
    enum { kNeverStarted = 0, kStarted = 1, kCompleted = 3 };
    // The block holding every tutorial's state byte.
    static const char kProgressBlock[];

    // Takes no clicks itself: its buttons do.
    static std::shared_ptr<VTutorial> Create(const TString& name, int slot);
    VTutorial(const TString& name, int slot);
    ~VTutorial() override;

    // Back before the first step; the highlighter lets go of everything.
    void Reset() override;
    // Carries out an advance that waited for a fade, a duration or a delay.
    void Update(bool paused) override;
    // The object, then the tutorial's keys and its steps.
    void Load(const std::shared_ptr<VLuaStyle>& description) override;

    // The player's block, looked up once; empty without one.
    virtual std::shared_ptr<VBinaryBlock> GetProgressBlock();
    virtual void SaveState();
    virtual void LoadState();
    virtual int GetState() const { return mState; }
    // Only a higher state is kept (and saved when asked).
    virtual void RaiseState(int state, bool save);
    virtual int GetStepCount() const { return static_cast<int>(mSteps.size()); }
    virtual std::shared_ptr<VTutorialStep> GetCurrentStep() const;
    // All zero without a current step.
    virtual TRect GetCurrentStepRect() const;
    virtual bool CanStart() const;
    virtual bool IsLevelInRange(int level) const { return mMinLevel <= level && level <= mMaxLevel; }
    virtual bool HasMode(int mode) const { return mModes.count(mode) > 0; }
    virtual bool IsFinished() const { return mFinished; }
    // From the first step, or (false) straight to the end.
    virtual bool Start(bool fromBeginning);
    // Ends the current step and begins the next, or completes the tutorial;
    // waits while the step fades in or its time has not run.
    virtual void Advance();
    // The current step's trigger value for the object; -1 for none.
    virtual int GetObjectState(const TString& name);
    // Button presses: the dismiss button and the step's trigger buttons.
    virtual bool OnMessage(TMessage* message);
    // Whether a click at the screen point may pass to what lies below.
    virtual bool IsClickOnTrigger(TWindow* host, const TPoint& point);

    std::shared_ptr<VTutorialStep> GetStep(int number) const;
    int GetCurrentStepNumber() const { return mCurrentStep; }
    int GetSlot() const { return mSlot; }
    int GetMinLevel() const { return mMinLevel; }
    int GetMaxLevel() const { return mMaxLevel; }
    const TString& GetWindowName() const { return mWindow; }
    bool IsRepeatable() const { return mRepeatable; }
    bool IsTryOnce() const { return mTryOnce; }
    bool IsPause() const { return mPause; }
    const std::set<int>& GetModes() const { return mModes; }
    bool IsAborted() const { return mAborted; }
    bool IsAdvancePending() const { return mAdvancePending; }
    const std::shared_ptr<VButton>& GetSkipObject() const { return mSkip; }
    const std::shared_ptr<VTutorialSpider>& GetHighlighter() const { return mHighlighter; }

private:
    void LoadSteps(VLuaStyle& description);
    void LoadSkip(VLuaStyle& description);
    // The window under the point inside the test window, looking through
    // windows whose trigger value lets clicks pass.
    TWindow* FindClickTarget(TWindow* testWindow, const TPoint& point);
    bool IsTransitionRunning() const;
    // Whether the current step may end now; marks it done.
    bool MayLeaveCurrentStep();
    void FinishRun();

    int mSlot;
    int mMinLevel = 0;
    int mMaxLevel = 2147483647;
    TString mWindow;
    bool mRepeatable = false;
    bool mTryOnce = false;
    bool mPause = true;
    std::set<int> mModes;
    std::map<int, std::shared_ptr<VTutorialStep>> mSteps;
    int mCurrentStep = 0;
    int mState = kNeverStarted;
    bool mFinished = true;
    bool mAborted = true;
    bool mAdvancePending = false;
    std::shared_ptr<VButton> mSkip;
    std::shared_ptr<VAlphaEffect> mTransition;
    std::shared_ptr<VTutorialSpider> mHighlighter;
    std::shared_ptr<VBinaryBlock> mProgress;
};
