#include "game/shop/register.h"

#include <algorithm>

#include "core/windows/windowstyle.h"
#include "foundation/clock.h"
#include "foundation/debuglog.h"
#include "game/shell/game.h"
#include "game/shell/luastyle.h"
#include "game/shell/valuemanager.h"
#include "game/sprites/textsprite.h"
#include "game/widgets/widgetclass.h"
#include "graphics/render/drawstate.h"

namespace {

// A digit changes at most once in this many milliseconds.
constexpr int32_t kStepInterval = 30;

int32_t SpriteClockTime(const VSprite& sprite) {
    TClock* clock = sprite.GetClock();
    return clock ? clock->GetTime() : 0;
}

int64_t PowerOfTen(int exponent) {
    int64_t power = 1;
    for (int i = 0; i < exponent; ++i) power *= 10;
    return power;
}

int ClampDigitCount(int count) {
    if (count > VRegister::kMaxDigits) {
        DebugLog("VRegister: %d digits asked for, %d shown", count, VRegister::kMaxDigits);
        return VRegister::kMaxDigits;
    }
    return std::max(count, 1);
}

// The digit's width: its bounds, else the description's "w".
int DigitWidth(VDigit& digit, const VLuaStyle& description) {
    TRect bounds = digit.GetBounds(TDrawState(TVec2(0, 0), 1.0f, 1.0f, 0), -1);
    if (bounds.left > bounds.right) return description.GetInt("w", -1);
    return bounds.right - bounds.left;
}

}  // namespace

// VDigit

std::shared_ptr<VDigit> VDigit::Create(const TString& name) {
    auto digit = std::make_shared<VDigit>(name);
    Adopt(digit);
    return digit;
}

VDigit::VDigit(const TString& name) : VObject(name, "digit", 0) {}

VDigit::~VDigit() = default;

void VDigit::SetValue(int value) {
    mTarget = std::clamp(value, 0, 9);
}

void VDigit::Update(bool paused) {
    VObject::Update(paused);
    int32_t now = SpriteClockTime(*this);
    if (mLastStep != 0 && now - mLastStep <= kStepInterval) return;
    if (mCurrent == mTarget) return;
    mCurrent += mTarget < mCurrent ? -1 : 1;
    if (mText) mText->SetText(TString::Format("%i", mCurrent));
    mLastStep = now;
}

void VDigit::Load(const std::shared_ptr<VLuaStyle>& description) {
    VObject::Load(description);
    if (!mText && !GetTextSprites().empty()) mText = GetTextSprites().begin()->second;
    if (!mText) {
        mText = VTextSprite::Create();
        AddChild(mText);
    }
    mText->SetText("0");
}

// VRegister

TWindow* VRegister::Create() {
    return new VRegister();
}

VRegister::VRegister() = default;

VRegister::~VRegister() = default;

const char* VRegister::GetClassName() const {
    return "VRegister";
}

bool VRegister::IsA(TWindowClassId id) const {
    return IsClassIdIn(id,
                       {ClassId(), VSpriteWindow::ClassId(), RWindow::ClassId(), TImage::ClassId(), TWindow::ClassId()});
}

void VRegister::PostInit(const TWindowStyle& style) {
    mNumDigits = ClampDigitCount(style.GetInt("numDigits", 1));
    std::shared_ptr<VLuaStyle> description = VLuaStyle::Create(style.GetTable("digit"), nullptr);
    int width = 0;
    int right = GetWidth();
    for (int i = 0; i < mNumDigits; ++i) {
        std::shared_ptr<VDigit> digit = VDigit::Create(TString::Format("digit_%lli", static_cast<long long>(PowerOfTen(i))));
        digit->Load(description);
        digit->Reset();
        AddSprite(digit);
        if (i == 0) width = DigitWidth(*digit, *description);
        digit->SetPosition(TVec2(static_cast<float>(right - (i + 1) * width), 0));
        mDigits.push_back(digit);
    }
    mContext = style.GetString("context", TString());
    ShowAmount(mShownAmount);
    VSpriteWindow::PostInit(style);
}

bool VRegister::Animate() {
    int64_t amount = ChooseAmount();
    if (amount != mShownAmount) {
        mShownAmount = amount;
        ShowAmount(amount);
    }
    Update();
    return true;
}

int64_t VRegister::ChooseAmount() const {
    std::shared_ptr<VValueManager> values = VValueManager::Get();
    VGame* game = VGame::Get();
    if (game && game->GetCurrentGameMode() != 0) return values->GetUint("current_level_total", 0);
    if (mContext == "prelevel") return values->GetInt("current_worth", 0);
    if (mContext == "endlevel") {
        return static_cast<int64_t>(values->GetInt("current_worth", 0)) + values->GetInt("current_level_total", 0);
    }
    return 0;
}

void VRegister::ShowAmount(int64_t amount) {
    for (size_t i = 0; i < mDigits.size(); ++i) {
        int64_t power = PowerOfTen(static_cast<int>(i));
        mDigits[i]->SetVisible(i == 0 || amount >= power);
        mDigits[i]->SetValue(static_cast<int>((amount % (power * 10) - amount % power) / power));
    }
}
