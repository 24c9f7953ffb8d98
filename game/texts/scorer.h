// A score text: a number shown with the localised digit groups, counted
// toward its target a step at a time on the window's animation.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "widgets/text.h"

// One part of the target: the integer part of count times factor. Shared,
// so that its owner can change the count while the score shows it.
struct RScoreTerm {
    int32_t count = 0;
    float factor = 1;
};

class RScorer : public TText {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    // "incrementsteps" and "hide", then the shown value as the text.
    void Init(const TWindowStyle& style) override;
    // Hidden when asked, then the animation every 16 ms.
    void PostInit(const TWindowStyle& style) override;
    // Moves the shown value toward the target.
    bool Animate() override;

    void SetBaseScore(int32_t base) { mBaseScore = base; }
    void AddTerm(std::shared_ptr<RScoreTerm> term);
    // The amount the shown value moves by on each step.
    void SetStep(int32_t step) { mStep = step; }
    // The base plus each term, saturated to 32 bits.
    int32_t GetTarget() const;
    int32_t GetShownValue() const { return mShown; }
    int32_t GetIncrementSteps() const { return mIncrementSteps; }

private:
    void ShowValue();

    int32_t mBaseScore = 0;
    std::vector<std::shared_ptr<RScoreTerm>> mTerms;
    int32_t mShown = 0;
    int32_t mIncrementSteps = 75;
    int32_t mStep = 0;
    bool mHide = false;
};
