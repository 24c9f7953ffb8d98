// A text that lowers its line height until the text fits inside its window.
#pragma once

#include <cstdint>

#include "widgets/text.h"

class RShrinkText : public TText {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    // The "font" table's second entry, when it has one, is the line height.
    void Init(const TWindowStyle& style) override;
    // Starts again from the configured line height, then shrinks until the
    // text fits; logs when even the smallest height does not fit.
    void SetText(const TString& text) override;

    int32_t GetLineHeight() const { return mLineHeight; }
    int32_t GetConfiguredLineHeight() const { return mConfiguredLineHeight; }

    // Line heights beyond these are capped: each step of the shrinking lays
    // the text out again.
    static constexpr int32_t kMinLineHeight = 1;
    static constexpr int32_t kMaxLineHeight = 1024;

private:
    void ReadLineHeight(const TWindowStyle& style);
    void ApplyLineHeight(int32_t height);
    bool Fits();

    int32_t mLineHeight = 0;
    int32_t mConfiguredLineHeight = 0;  // 0: none, no shrinking
};
