#include "game/texts/scorer.h"

#include <cmath>
#include <cstdlib>

#include "core/windows/platformlink.h"
#include "core/windows/windowstyle.h"
#include "game/texts/scorerformat.h"
#include "game/widgets/gamewindow.h"
#include "game/widgets/widgetclass.h"

namespace {

int32_t Saturate(double value) {
    if (!(value > INT32_MIN)) return INT32_MIN;
    if (value > INT32_MAX) return INT32_MAX;
    return static_cast<int32_t>(value);
}

}  // namespace

TWindow* RScorer::Create() {
    return new RScorer();
}

const char* RScorer::GetClassName() const {
    return "RScorer";
}

bool RScorer::IsA(TWindowClassId id) const {
    return IsClassIdIn(id, {ClassId(), TText::ClassId(), TWindow::ClassId()});
}

void RScorer::Init(const TWindowStyle& style) {
    TText::Init(style);
    mIncrementSteps = style.GetInt("incrementsteps", mIncrementSteps);
    mHide = style.GetBool("hide", mHide);
    ShowValue();
}

void RScorer::PostInit(const TWindowStyle& style) {
    TText::PostInit(style);
    if (mHide) SetFlags(0);
    StartAnimation(RWindow::kAnimationPeriod, true, true, false);
}

void RScorer::AddTerm(std::shared_ptr<RScoreTerm> term) {
    if (term) mTerms.push_back(std::move(term));
}

int32_t RScorer::GetTarget() const {
    double target = mBaseScore;
    for (const auto& term : mTerms) target += std::trunc(static_cast<double>(term->count) * term->factor);
    return Saturate(target);
}

bool RScorer::Animate() {
    const int32_t target = GetTarget();
    if (mShown == target) return true;
    // The step moves toward the target from either side and never past it.
    const int64_t step = std::llabs(static_cast<int64_t>(mStep));
    const int64_t shown = mShown;
    if (target > mShown) {
        mShown = static_cast<int32_t>(shown + step > target ? target : shown + step);
    } else {
        mShown = static_cast<int32_t>(shown - step < target ? target : shown - step);
    }
    ShowValue();
    return true;
}

void RScorer::ShowValue() {
    TPlatformLink* platform = GetPlatformLink();
    SetText(FormatScore(mShown, platform ? platform->GetStringTable() : nullptr));
}
