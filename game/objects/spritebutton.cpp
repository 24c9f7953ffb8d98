#include "game/objects/spritebutton.h"

#include "core/app/message.h"
#include "core/windows/windowmanager.h"
#include "game/shell/gamesoundmanager.h"
#include "game/shell/luastyle.h"
#include "game/sprites/spritemanager.h"
#include "game/sprites/spritewindow.h"
#include "game/sprites/textsprite.h"

namespace {

constexpr int kLabelLayer = 2;
constexpr int kLabelFlags = 5;
// A toggle's label starts at the button's right edge.
constexpr int kSideLabelWidth = 800;
constexpr int kSideLabelFlags = 4;

}  // namespace

std::shared_ptr<VButton> VButton::Create(int id, const TString& text) {
    auto button = std::make_shared<VButton>(id, text);
    Adopt(button);
    return button;
}

VButton::VButton(int id, const TString& text)
    : VObject(TString::Format("%s_%i", text.c_str(), id), "vbutton", 0), mId(id), mText(text) {
    SetClickable(true);
}

VButton::VButton(const TString& type, int layer) : VObject(TString(), type, layer), mId(0) {
    SetClickable(true);
}

VButton::~VButton() = default;

void VButton::ShowState(bool mouseOver) {
    if (mDisabled) {
        SetAssetState("disabled", "default");
    } else if (!mOn) {
        SetAssetState(mouseOver ? "over" : "default", "default");
    } else {
        SetAssetState(mouseOver ? "on_over" : "on", mouseOver ? "over" : "default");
    }
}

void VButton::OnMouseEnter() {
    VObject::OnMouseEnter();
    if (IsPressed() || mDisabled) return;
    if (mOn) {
        SetAssetState("on_over", "on");
    } else {
        SetAssetState("over", "over");
    }
}

void VButton::OnMouseLeave() {
    VObject::OnMouseLeave();
    if (IsPressed() || mDisabled) return;
    if (mOn) {
        SetAssetState("on", "default");
    } else {
        SetAssetState("default", "default");
    }
}

void VButton::OnClick() {
    if (mDisabled) return;
    if (IsToggle()) SetOn(!mOn);
    if (mSound.Length() > 0) {
        if (VSoundManager* sounds = VSoundManager::Get()) sounds->PlaySFX(mSound);
    }
    PostPress();
}

void VButton::PostPress() {
    TWindowManager* windows = TWindowManager::GetInstance();
    if (!windows) return;
    std::shared_ptr<VSpriteManager> manager = GetManager();
    TWindow* window = manager ? manager->GetWindow() : nullptr;
    windows->PostMessage(new TMessage(TMessage::kButtonPress, GetName(), window));
}

void VButton::Load(const std::shared_ptr<VLuaStyle>& description) {
    if (!description || !description->IsValid()) return;
    mId = description->GetInt("id", mId);
    mText = description->GetString("id", mText);
    mKind = description->GetInt("type", mKind);
    mScale = static_cast<float>(description->GetNumber("scale", 1.0));
    SetScale(mScale, mScale);
    mSound = description->GetString("sound", mSound);
    if (!mLabel) {
        mLabel = VTextSprite::Create();
        mLabel->SetLayer(kLabelLayer);
        AddChild(mLabel);
    }
    mLabel->Load(*description->GetLuaTable());
    mLabel->SetFlags(kLabelFlags);
    VObject::Load(description);
}

void VButton::SetAsset(const TString& asset, const TString& state, const TString& fallback) {
    VObject::SetAsset(asset, state, fallback);
    if (!mLabel) return;
    TRect bounds = GetBounds(TDrawState(TVec2(0, 0), 1.0f, 1.0f, 0), 0);
    int width = bounds.right - bounds.left;
    int height = bounds.bottom - bounds.top;
    float halfWidth = static_cast<float>(width) / 2;
    float halfHeight = static_cast<float>(height) / 2;
    if (mKind == kPlain) {
        mLabel->SetBoxSize(width, height);
        mLabel->SetPosition(TVec2(-halfWidth, -halfHeight));
    } else {
        mLabel->SetBoxSize(kSideLabelWidth, height);
        mLabel->SetFlags(kSideLabelFlags);
        mLabel->SetPosition(TVec2(halfWidth, -halfHeight));
    }
}

void VButton::SetLabel(const TString& text) {
    if (mLabel) mLabel->SetText(text);
}

void VButton::SetDisabled(bool disabled) {
    if (disabled == mDisabled) return;
    mDisabled = disabled;
    SetClickable(!disabled);
    ShowState(IsHovered());
}

void VButton::SetOn(bool on) {
    if (on == mOn) return;
    mOn = on;
    ShowState(IsHovered());
}
