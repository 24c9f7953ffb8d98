#include "game/shop/floatingtexts.h"

#include <algorithm>

namespace {

const char kFont[] = "fonts/edwardian_medium.mvec";
// Centred in its box.
const int32_t kCentred = 1;
const TColor4f kWhite(1.0f, 1.0f, 1.0f, 1.0f);
const TColor4f kGoalColour(0.25390625f, 0.69921875f, 0.1953125f, 1.0f);
const TColor4f kMasteryColour(0.8125f, 0.72265625f, 0.109375f, 1.0f);

}  // namespace

TString VFloatingText::Outlined(const TString& text, const char* outline) {
    return TString::Format("<outline color='%s' size='2'><b>%s</b></outline>", outline, text.c_str());
}

VFloatingText::VFloatingText(const TString& text, int32_t x, int32_t y, int32_t width, int32_t height,
                             int32_t fontSize, const TColor4f& colour, const Motion& motion)
    : RActiveText(text, x, y, width, height, kCentred, kFont, fontSize, colour.r, colour.g, colour.b, colour.a),
      mStartY(y),
      mMotion(motion) {
    mAlpha = 0.0f;
}

bool VFloatingText::Update(uint32_t frameTime) {
    // Held at the end of the life, so a long frame cannot wrap the age.
    mAge = frameTime >= mMotion.life - mAge ? mMotion.life : mAge + frameTime;
    if (mAge >= mMotion.life) return false;
    const int32_t top = mStartY - mMotion.rise;
    if (mAge < kRiseTime) {
        mY = mStartY - static_cast<int32_t>(static_cast<int64_t>(mMotion.rise) * mAge / kRiseTime);
        mAlpha = static_cast<float>(mAge) / kRiseTime;
    } else if (mAge < mMotion.fadeStart) {
        mY = top;
        mAlpha = 1.0f;
    } else {
        mY = std::min(mY, top) - 1;
        mAlpha = std::clamp(static_cast<float>(mMotion.life - mAge) / kFadeTime, 0.0f, 1.0f);
    }
    return true;
}

VPaymentText::VPaymentText(int32_t amount, int32_t x, int32_t y)
    : VFloatingText(Outlined(TString::Format("$%.2i", amount), "000000"), x, y, 150, 30, 25, kWhite,
                    {75, 1000, 1500}) {}

VComboText::VComboText(const TString& label, int32_t chain, int32_t bonus, int32_t x, int32_t y)
    : VFloatingText(Outlined(TString::Format("%s x%i\n+$%i", label.c_str(), chain, bonus), "000000"), x, y, 150,
                    36, 18, kWhite, {75, 1500, 2000}) {}

VGoalText::VGoalText(const TString& label, int kind)
    : VFloatingText(Outlined(label, "ffffff"), 400, 250, 800, 50, 46,
                    kind == kMastery ? kMasteryColour : kGoalColour, {100, 1700, 2000}) {}
