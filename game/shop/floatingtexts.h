// The level screen's floating texts: a payment, a combo bonus, a goal
// reached. Each rises into place while it fades in, stands, then drifts up a
// pixel per frame while it fades out, and is gone at the end of its life.
#pragma once

#include <cstdint>

#include "game/texts/activetext.h"

class VFloatingText : public RActiveText {
public:
    // The first part of every life, in which the text rises and fades in.
    static constexpr uint32_t kRiseTime = 500;
    // The fade-out reaches 0 at the end of the life, at this rate.
    static constexpr float kFadeTime = 500.0f;

    // The text in bold with an outline of the colour ("rrggbb").
    static TString Outlined(const TString& text, const char* outline);

    bool Update(uint32_t frameTime) override;

    uint32_t GetAge() const { return mAge; }
    int32_t GetX() const { return mX; }
    int32_t GetY() const { return mY; }
    float GetAlpha() const { return mAlpha; }
    const TColor4f& GetColour() const { return mColor; }

protected:
    struct Motion {
        int32_t rise;
        uint32_t fadeStart;
        uint32_t life;
    };
    VFloatingText(const TString& text, int32_t x, int32_t y, int32_t width, int32_t height, int32_t fontSize,
                  const TColor4f& colour, const Motion& motion);

private:
    int32_t mStartY;
    Motion mMotion;
    uint32_t mAge = 0;
};

// "$12" over the money collected.
class VPaymentText : public VFloatingText {
public:
    VPaymentText(int32_t amount, int32_t x, int32_t y);
};

// "Service combo x3" and the bonus it paid, over the player.
class VComboText : public VFloatingText {
public:
    VComboText(const TString& label, int32_t chain, int32_t bonus, int32_t x, int32_t y);
};

// The goal or the mastery score reached, across the middle of the screen.
class VGoalText : public VFloatingText {
public:
    enum { kGoal = 1, kMastery = 2 };
    VGoalText(const TString& label, int kind);
};
