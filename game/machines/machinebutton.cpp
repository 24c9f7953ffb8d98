#include "game/machines/machinebutton.h"

#include "game/machines/machine.h"
#include "game/shell/gamesoundmanager.h"
#include "game/sprites/alphaeffect.h"

namespace {

constexpr int kFadeTime = 300;
constexpr int kPartLayer = 1;
const TColor4f kDarkIconTint(0.5f, 0.5f, 1.0f, 1.0f);
const TColor4f kAvailableTint(0.0f, 1.0f, 1.0f, 1.0f);

// A fade of the part from where the previous fade left it.
std::shared_ptr<VAlphaEffect> Fade(const std::shared_ptr<VObject>& part, const std::shared_ptr<VAlphaEffect>& previous,
                                   bool fadeIn) {
    float start = previous ? previous->GetAlpha() : (fadeIn ? 0.0f : 1.0f);
    std::shared_ptr<VAlphaEffect> fade = VAlphaEffect::Create(fadeIn, 1.0f, kFadeTime, start, 0);
    if (fadeIn) part->SetVisible(true);
    part->AddEffect(fade);
    return fade;
}

}  // namespace

std::shared_ptr<VMachineButton> VMachineButton::Create(const std::shared_ptr<VMachine>& machine) {
    auto button = std::make_shared<VMachineButton>(machine);
    Adopt(button);
    return button;
}

VMachineButton::VMachineButton(const std::shared_ptr<VMachine>& machine)
    : VButton("machine button", kLayer), mMachine(machine) {}

VMachineButton::~VMachineButton() = default;

void VMachineButton::Reset() { ApplyUpgrades(); }

void VMachineButton::ApplyUpgrades() {
    RemoveParts();
    TString icon = GetProperty("icon", "");
    mIcon = AddChildObject("icon", icon, kPartLayer);
    if (mIcon && icon == "dark") mIcon->GetDrawState().color = kDarkIconTint;
    TString stripe = GetProperty("stripe", "");
    if (stripe.Length() == 0) return;
    mStripe = AddChildObject("stripe", stripe, kPartLayer);
    // The stripe shows until the button expands.
    if (mIcon) mIcon->SetVisible(false);
}

void VMachineButton::RemoveParts() {
    for (std::shared_ptr<VObject>* part : {&mIcon, &mStripe}) {
        if (*part) RemoveChild(std::shared_ptr<VSprite>(*part));
        part->reset();
    }
    mIconFade.reset();
    mStripeFade.reset();
}

void VMachineButton::SetAvailable(bool available) {
    RemoveAllChildren();
    RemoveParts();
    SetAsset("button", "default", "default");
    mAvailable = available;
    if (available) GetDrawState().color = kAvailableTint;
}

void VMachineButton::SetExpanded(bool expanded) {
    if (expanded == mExpanded) return;
    mExpanded = expanded;
    if (!mIcon || !mStripe) return;
    if (mIconFade) mIcon->RemoveEffect(mIconFade);
    if (mStripeFade) mStripe->RemoveEffect(mStripeFade);
    mIconFade = Fade(mIcon, mIconFade, expanded);
    mStripeFade = Fade(mStripe, mStripeFade, !expanded);
}

void VMachineButton::OnMouseEnter() {
    VButton::OnMouseEnter();
    if (std::shared_ptr<VMachine> machine = mMachine.lock()) {
        machine->SendEvent(kEventEnter, TPoint(), machine->GetDrawState(), 0);
    }
}

void VMachineButton::OnMouseLeave() {
    VButton::OnMouseLeave();
    if (std::shared_ptr<VMachine> machine = mMachine.lock()) {
        machine->SendEvent(kEventLeave, TPoint(), machine->GetDrawState(), 0);
    }
    SetExpanded(false);
}

void VMachineButton::OnHoverTime(uint32_t ms) {
    if (ms > kExpandDelay) SetExpanded(true);
}

void VMachineButton::OnClick() {
    if (VSoundManager* sounds = VSoundManager::Get()) sounds->PlaySFX("audio/sfx/buttonclick.ogg");
    if (std::shared_ptr<VMachine> machine = mMachine.lock()) machine->Select(GetId());
}

void VMachineButton::Update(bool paused) {
    EndFade(mIconFade, mIcon, !mExpanded);
    EndFade(mStripeFade, mStripe, mExpanded);
    VButton::Update(paused);
}

void VMachineButton::EndFade(std::shared_ptr<VAlphaEffect>& fade, const std::shared_ptr<VObject>& part,
                             bool fadedOut) {
    if (!fade || fade->IsActive()) return;
    // A part that faded in stays in view.
    if (fadedOut && part) part->SetVisible(false);
    fade.reset();
}
