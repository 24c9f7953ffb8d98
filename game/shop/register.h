// The money register: a row of rolling digits showing an amount of money.
// In an endless game it shows the level's takings; otherwise its "context"
// picks the player's worth ("prelevel") or the worth with the level's
// takings ("endlevel"). Each digit rolls one step at a time towards its
// value, so a change visibly counts up or down.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "game/objects/object.h"
#include "game/sprites/spritewindow.h"

class VTextSprite;

// One digit of the register: an object whose text child shows the digit.
class VDigit : public VObject {
public:
    static std::shared_ptr<VDigit> Create(const TString& name);
    explicit VDigit(const TString& name);
    ~VDigit() override;

    // At most one step every 31 ms of the sprite's clock, never wrapping.
    void Update(bool paused) override;
    // The description's first text sprite shows the digit; without one a
    // plain text sprite is made. It starts at "0".
    void Load(const std::shared_ptr<VLuaStyle>& description) override;

    // The target, kept within 0..9.
    void SetValue(int value);
    int GetTarget() const { return mTarget; }
    // -1 before the first step.
    int GetCurrent() const { return mCurrent; }
    const std::shared_ptr<VTextSprite>& GetText() const { return mText; }

private:
    int mTarget = 0;
    int mCurrent = -1;
    std::shared_ptr<VTextSprite> mText;
    // Clock time of the last step; 0 before any.
    int32_t mLastStep = 0;
};

class VRegister : public VSpriteWindow {
public:
    // Beyond ten digits the powers of ten would outgrow the amounts.
    static constexpr int kMaxDigits = 10;

    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }
    static TWindowClassId GetFactory() { return ClassId(); }

    VRegister();
    ~VRegister() override;
    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    // "numDigits" digits described by "digit", right-aligned in the window,
    // and the "context".
    void PostInit(const TWindowStyle& style) override;
    // Follows the amount, then lets the digits roll.
    bool Animate() override;

    // Sets the digits to the amount: the units digit always shows, the
    // others only below the amount's leading digit.
    void ShowAmount(int64_t amount);
    // What the register should show now.
    int64_t ChooseAmount() const;

    const std::vector<std::shared_ptr<VDigit>>& GetDigits() const { return mDigits; }
    const TString& GetContext() const { return mContext; }
    int64_t GetShownAmount() const { return mShownAmount; }

private:
    int mNumDigits = 1;
    // Index i shows the digit of 10 to the power i.
    std::vector<std::shared_ptr<VDigit>> mDigits;
    TString mContext;
    int64_t mShownAmount = -1;
};
