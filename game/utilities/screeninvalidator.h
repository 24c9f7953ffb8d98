// A task that keeps the screen redrawn while it runs: every 16 ms on its own
// clock it invalidates the whole screen. Transition overlays and fading tint
// windows keep one so that each frame moves them on.
#pragma once

#include <functional>
#include <memory>

#include "foundation/task.h"
#include "foundation/clock.h"

class RScreenInvalidator : public TAnimTask {
public:
    // A new invalidator, already started; the task list it joins owns it.
    static RScreenInvalidator* Create();

    RScreenInvalidator();
    // Ties the task to an owner that may go without reaching the task list
    // (a window deleted after leaving its modal): once the owner's token
    // has expired, the next run ends the task and its list deletes it.
    void BindTo(std::weak_ptr<const void> ownerToken);
    // Runs that find the condition false leave the screen as it is.
    void InvalidateOnlyWhen(std::function<bool()> condition);
    ~RScreenInvalidator() override = default;
    RScreenInvalidator(const RScreenInvalidator&) = delete;
    RScreenInvalidator& operator=(const RScreenInvalidator&) = delete;

    // Invalidates the screen (when the condition holds) and keeps running
    // while its owner lives.
    bool Animate() override;

    static constexpr int32_t kPeriod = 16;

private:
    TClock mOwnClock;
    bool mBound = false;
    std::weak_ptr<const void> mOwnerToken;
    std::function<bool()> mCondition;
};
