#include "game/sprites/spritemove.h"

#include <algorithm>

#include "game/sprites/sprite.h"

std::shared_ptr<VSpriteMove> VSpriteMove::Create(float x, float y, uint32_t duration, float acceleration,
                                                 uint32_t delay) {
    return Make<VSpriteMove>(x, y, duration, acceleration, delay);
}

VSpriteMove::VSpriteMove(float x, float y, uint32_t duration, float acceleration, uint32_t delay)
    : VSpriteEffect(false), mTarget(x, y), mDuration(duration), mDelay(delay), mAcceleration(acceleration) {}

void VSpriteMove::OnAdded(const std::shared_ptr<VSprite>& sprite) {
    VSpriteEffect::OnAdded(sprite);
    if (sprite) mStarts[sprite.get()] = sprite->GetPosition();
}

float VSpriteMove::GetTimePart() const {
    // Signed: during the delay the move has not begun.
    int64_t moving = static_cast<int64_t>(mElapsedTotal) - static_cast<int64_t>(mDelay);
    // A move without a duration arrives as soon as the delay has passed.
    if (mDuration == 0) return moving >= 0 ? 1.0f : 0.0f;
    if (moving <= 0) return 0.0f;
    return std::min(1.0f, static_cast<float>(moving) / static_cast<float>(mDuration));
}

bool VSpriteMove::Update(bool paused) {
    mElapsedTotal += GetElapsed();
    float t = GetTimePart();
    float half = mAcceleration / 2;
    mProgress = std::min(1.0f, t * (1 - half) + half * t * t);
    return VSpriteEffect::Update(paused);
}

void VSpriteMove::BeginRender(const std::shared_ptr<VSprite>& sprite, const TDrawState&, int) {
    auto start = sprite ? mStarts.find(sprite.get()) : mStarts.end();
    if (start != mStarts.end()) sprite->SetPosition(start->second + (mTarget - start->second) * mProgress);
    mActive = mProgress < 1;
    mDone = !mActive;
}
