#include "game/machines/press.h"

#include "game/chocolates/chocolate.h"
#include "game/chocolates/chocolatelayer.h"
#include "game/machines/machineparts.h"
#include "game/machines/optionupgrades.h"
#include "game/shell/valuemanager.h"

namespace {

constexpr int kBucketLayer = 1;
constexpr int kBar = 0;
constexpr int kTruffle = 1;

const char* const kStillParts[] = {"static_door", "static_largeweight", "static_wheel"};

}  // namespace

std::shared_ptr<VPress> VPress::Create() {
    auto press = std::make_shared<VPress>();
    Adopt(press);
    return press;
}

VPress::VPress() : VBucketMachine(kStage, kBucketLayer) {}

VPress::~VPress() = default;

bool VPress::TryStartWork() {
    std::shared_ptr<VChocolate> chocolate = ReadyChocolate();
    if (!chocolate) return false;
    mShape = GetSelection();
    CopyBucket(*chocolate);
    int type = chocolate->GetChocolateType();
    mFillAnimation = TString::Format("DoAnim_%i", type);
    chocolate->MakeLayer(mShape, kStage, type);
    chocolate->SetVisible(false);
    chocolate->SetName("chocolate");
    StartWork();
    VValueManager::Get()->AddToValue("chocolates_made_this_level", 1, 0, false);
    return true;
}

void VPress::StartWork() {
    VMachine::StartWork();
    for (const char* part : kStillParts) ShowPart(*this, part, true);
    PlayPart(*this, "anim_fill", mFillAnimation);
    Pour();
}

bool VPress::ContinueWork() {
    int phase = GetPhase();
    if (phase < kPouring) return true;
    if (phase == kPouring) {
        SetPhase(kStamping);
        for (const char* part : kStillParts) ShowPart(*this, part, false);
        PlayPart(*this, "anim_door", "DoDoor");
        PlayPart(*this, "anim_largeweight", GetForwardAnimation());
        PlayPart(*this, "anim_wheel", GetForwardAnimation());
        SuspendUntilAsset("anim_largeweight");
        return false;
    }
    if (mShape == kBar || mShape == kTruffle) {
        VValueManager::Get()->AddToValue(mShape == kBar ? "num_bars" : "num_truffles", 1, 0, true);
    }
    // Art that never stamps still leaves the chocolate in sight.
    if (GetItem()) GetItem()->SetVisible(true);
    GoIdle();
    return !IsSuspended();
}

void VPress::Stamp() {
    FinishWork();
    if (GetItem()) GetItem()->SetVisible(true);
    ShowPart(*this, "anim_fill", false);
    PlayMachineSound("audio/sfx/stamp.ogg");
}

void VPress::Update(bool paused) {
    VMachine::Update(paused);
    if (GetPhase() != kStamping) return;
    std::shared_ptr<VObject> weight = GetChildObject("anim_largeweight");
    SetFrame(weight && weight->GetCurrentFrame() == kStampFrame ? kPressedFrame : kRestFrame);
}

void VPress::GoIdle() {
    mFillAnimation = "DoAnim_0";
    mShape = -1;
    SetFrame(kRestFrame);
    VBucketMachine::GoIdle();
}

void VPress::ApplyUpgrades() {
    ApplyOptionUpgrades(*this, {"kPress%i", nullptr, nullptr});
    BindScriptFunctions("anim_largeweight");
}
