#include "game/progression/reward.h"

#include "core/scripting/luaobject.h"
#include "game/objects/tiledobject.h"
#include "game/progression/achievement.h"
#include "game/progression/achievementmanager.h"
#include "game/shell/luastyle.h"
#include "game/sprites/alphaeffect.h"
#include "game/sprites/hoverglow.h"
#include "game/sprites/spritemanager.h"
#include "game/sprites/textsprite.h"
#include "game/utilities/localised.h"

namespace {

constexpr float kGreyedAlpha = 0.2f;
const TColor4f kGreyed(0.2f, 0.2f, 0.2f, 1.0f);
const TColor4f kPlain(1.0f, 1.0f, 1.0f, 1.0f);
constexpr int kFadeInTime = 300;
constexpr int kFadeOutTime = 100;

// A text sprite of the style, sized to the box.
std::shared_ptr<VTextSprite> MakeText(VLuaStyle& description, const char* style, const TRect& box) {
    auto text = VTextSprite::Create();
    if (std::unique_ptr<TLuaTable> table = description.GetSubTable(style)) text->Load(*table);
    text->SetBoxSize(box.right - box.left, box.bottom - box.top);
    return text;
}

}  // namespace

std::shared_ptr<VReward> VReward::Create() {
    auto reward = std::make_shared<VReward>();
    Adopt(reward);
    reward->AddEffect(VHoverGlow::Create(true, 0.15f, true, true));
    return reward;
}

VReward::VReward() : VObject(TString(), TString(), 0) {}

VReward::~VReward() = default;

void VReward::Load(const std::shared_ptr<VLuaStyle>& description) {
    VObject::Load(description);
    if (!description || !description->IsValid()) return;
    mCategory = description->GetString("category", TString());
    if (!mBox) MakeBox();
    mBox->Load(description->GetSubStyle("box"));
    mBox->Reset();
    mBox->SetVisible(false);
    mBox->SetPosition(TVec2(static_cast<float>(description->GetNumber("boxX", 0)),
                            static_cast<float>(description->GetNumber("boxY", 0))));
    LoadTexts(*description);
}

void VReward::MakeBox() {
    mBox = VTiledObject::Create(TString(), TString(), 0);
    if (std::shared_ptr<VSpriteManager> manager = GetManager()) {
        manager->AddSprite(mBox);
    } else {
        AddChild(mBox);
    }
}

// The title and the description under it; none without the achievement.
void VReward::LoadTexts(VLuaStyle& description) {
    for (std::shared_ptr<VTextSprite>* text : {&mHeader, &mContent}) {
        if (*text) mBox->RemoveChild(std::shared_ptr<VSprite>(*text));
        text->reset();
    }
    std::shared_ptr<VAchievement> achievement = VAchievementManager::Get()->GetAchievement(mCategory, GetName());
    if (!achievement) return;
    TRect box;
    mBox->GetArea(&box);
    mHeader = MakeText(description, "headerStyle", box);
    mHeader->SetText(Localised(achievement->GetTitle()));
    mBox->AddChild(mHeader);
    mContent = MakeText(description, "contentStyle", box);
    TRect header = mHeader->GetLayout() ? mHeader->GetTextBounds() : TRect();
    mContent->SetPosition(TVec2(0, static_cast<float>(header.bottom - header.top)));
    mContent->SetText(Localised(achievement->GetDescription()));
    mBox->AddChild(mContent);
}

void VReward::Reset() {
    VObject::Reset();
    SetVisible(true);
    bool earned = VAchievementManager::Get()->IsEarned(GetName(), mCategory);
    SetAlpha(earned ? 1.0f : kGreyedAlpha);
    GetDrawState().color = earned ? kPlain : kGreyed;
}

void VReward::OnMouseEnter() {
    VObject::OnMouseEnter();
    if (!mBox) return;
    // A hidden box comes in from nothing, a fading one from where it is.
    float from = mBox->IsVisible() ? mBox->GetAlpha() : 0.0f;
    mBox->SetVisible(true);
    if (mFade) mBox->RemoveEffect(mFade);
    mFade.reset();
    mBox->AddEffect(VAlphaEffect::Create(true, 1.0f, kFadeInTime, from, 0));
}

void VReward::OnMouseLeave() {
    VObject::OnMouseLeave();
    if (!mBox) return;
    float reached = mBox->GetAlpha();
    mBox->DetachEffects();
    mFade = VAlphaEffect::Create(false, 1.0f, kFadeOutTime, reached, 0);
    mBox->AddEffect(mFade);
}

void VReward::Update(bool paused) {
    if (mFade && !mFade->IsActive()) {
        mFade.reset();
        mBox->SetVisible(false);
    }
    VObject::Update(paused);
}
