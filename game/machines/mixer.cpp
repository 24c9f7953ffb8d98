#include "game/machines/mixer.h"

#include "game/chocolates/chocolate.h"
#include "game/chocolates/chocolatelayer.h"
#include "game/chocolates/chocolatevendor.h"
#include "game/machines/machineparts.h"
#include "game/machines/optionupgrades.h"
#include "game/machines/wipeeffect.h"
#include "game/shop/shopwindow.h"
#include "sound/soundinstance.h"

namespace {

constexpr float kMixerDelay = 20.0f;
// The sprite layer of the chocolate in the mould.
constexpr int kProductLayer = 2;
// How long the chocolate takes to fill the mould.
constexpr uint32_t kFillTime = 800;

// The tube and the spray in the option's colours; the darkest option greyed.
void TintForOption(const VObject& mixer, const char* part, int option) {
    std::shared_ptr<VObject> child = mixer.GetChildObject(part);
    if (!child) return;
    child->SetAssetState(TString::Format("option_%i", option), "default");
    float shade = option == 0 ? 0.5f : 1.0f;
    child->GetDrawState().color = TColor4f(shade, shade, shade, 1.0f);
}

}  // namespace

std::shared_ptr<VMixer> VMixer::Create() {
    auto mixer = std::make_shared<VMixer>();
    Adopt(mixer);
    return mixer;
}

VMixer::VMixer() {
    SetAnimationDelay(kMixerDelay);
}

VMixer::~VMixer() = default;

void VMixer::Interact(const std::shared_ptr<VPlayer>& player) {
    if (GetItem() && IsProcessed()) VMachine::Interact(player);
    if (player && !IsBusy() && !IsSuspended()) TryStartWork();
}

bool VMixer::TryStartWork() {
    if (GetSelection() < 0 || GetItem()) return false;
    ShopWindow* shop = ShopWindow::GetCurrent();
    std::shared_ptr<VChocolateVendor> vendor = shop ? shop->GetChocolateVendor() : nullptr;
    if (!vendor) return false;
    std::shared_ptr<VChocolate> chocolate = vendor->MakeChocolateIcon(GetSelection(), true);
    if (!PutItem(chocolate, kProductLayer, true)) return false;
    std::shared_ptr<VChocolateLayer> lowest = LowestLayer(*chocolate);
    mProductSprite = lowest ? lowest->GetChildObject("icon") : nullptr;
    StartWork();
    return true;
}

void VMixer::StartWork() {
    int option = GetSelection();
    TintForOption(*this, "anim_tube", option);
    TintForOption(*this, "anim_spray", option);
    VMachine::StartWork();
    if (PlayPart(*this, "anim_arm", GetForwardAnimation())) PlayMachineSound("audio/sfx/robot_arm.ogg");
    SuspendUntilAsset("anim_arm");
    if (mProductSprite) mProductSprite->SetVisible(false);
}

bool VMixer::ContinueWork() {
    int phase = GetPhase();
    if (phase <= 0) return false;
    SetPhase(phase + 1);
    switch (phase) {
    case kArmDown:
        mSpraySound = PlayMachineSound("audio/sfx/spray.ogg");
        PlayPart(*this, "anim_tube", "DoAnim");
        SuspendUntilAsset("anim_tube");
        break;
    case kTube:
        PlayPart(*this, "anim_spray", "DoAnim", true);
        if (mProductSprite) {
            mProductSprite->SetVisible(true);
            mProductSprite->AddEffect(VWipeEffect::Create(VWipeEffect::kFromBottom, true, kFillTime));
        }
        Suspend(kFillTime);
        break;
    case kSpray:
        FinishWork();
        if (std::shared_ptr<VObject> spray = GetChildObject("anim_spray")) {
            spray->StopAnimation(false);
            spray->SetVisible(false);
        }
        PlayPart(*this, "anim_tube", "Reverse");
        SuspendUntilAsset("anim_tube");
        break;
    case kTubeBack:
        PlayMachineSound("audio/sfx/robot_arm_2.ogg");
        ShowPart(*this, "anim_tube", false);
        PlayPart(*this, "anim_arm", GetBackwardAnimation());
        SuspendUntilAsset("anim_arm");
        break;
    default:
        GoIdle();
        break;
    }
    return false;
}

void VMixer::GoIdle() {
    mProductSprite.reset();
    VMachine::GoIdle();
}

void VMixer::ApplyUpgrades() {
    ApplyOptionUpgrades(*this, {"kMixer%i", "kMixerQ%i", "tank%i"});
}
