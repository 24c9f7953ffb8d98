#include "game/progression/pushpin.h"

#include "core/scripting/luaobject.h"
#include "foundation/debuglog.h"
#include "game/level/levelmanager.h"
#include "game/objects/objectdescription.h"
#include "game/objects/spritebutton.h"
#include "game/objects/tiledobject.h"
#include "game/progression/gloweffect.h"
#include "game/shell/game.h"
#include "game/shell/luastyle.h"
#include "game/shell/valuemanager.h"
#include "game/sprites/alphaeffect.h"
#include "game/sprites/hoverglow.h"
#include "game/sprites/spritemanager.h"
#include "game/sprites/spritemove.h"
#include "game/sprites/textsprite.h"
#include "game/utilities/localised.h"

namespace {

const char kGlobePrefix[] = "globe_";
// Where a globe sits against the position its description gives.
const TVec2 kGlobeOffset(-67, -125);
constexpr float kHoverStrength = 0.15f;
constexpr uint32_t kMoveTime = 200;
constexpr uint32_t kOpenDelay = 450;
// A globe appears every step; the reveal runs two steps past the last
// globe so the glow that trails two behind reaches it.
constexpr int kRevealStep = 25;
constexpr int kRevealSpan = 11;
constexpr int kGlobeFadeTime = 300;
constexpr int kBoxShowTime = 200;
constexpr int kBoxHideTime = 500;
constexpr int kBoxHideDelay = 500;

bool InEndlessMode() {
    VGame* game = VGame::Get();
    return game && game->GetCurrentGameMode() != 0;
}

void SetText(VObject& object, const char* name, const TString& text) {
    if (std::shared_ptr<VTextSprite> sprite = object.GetTextSprite(name)) sprite->SetText(text);
}

}  // namespace

void VPushPin::VPinListener::OnMouseEnter(const std::shared_ptr<VSprite>& sprite) {
    if (std::shared_ptr<VPushPin> pin = mPin.lock()) pin->ShowLevelInfo(pin->LevelOf(sprite), true);
}

void VPushPin::VPinListener::OnMouseLeave(const std::shared_ptr<VSprite>& sprite) {
    if (std::shared_ptr<VPushPin> pin = mPin.lock()) pin->ShowLevelInfo(pin->LevelOf(sprite), false);
}

bool VPushPin::VPinSpider::Visit(const std::shared_ptr<VSprite>& sprite) {
    auto* pin = dynamic_cast<VPushPin*>(sprite.get());
    if (pin && pin != mPin) pin->SetOpen(false);
    return true;
}

std::shared_ptr<VPushPin> VPushPin::Create() {
    auto pin = std::make_shared<VPushPin>();
    Adopt(pin);
    return pin;
}

VPushPin::VPushPin() : VObject(TString(), TString("pushpin"), 0) {
    SetClickable(true);
}

VPushPin::~VPushPin() = default;

std::shared_ptr<VButton> VPushPin::GetGlobe(int level) const {
    auto found = mGlobes.find(level);
    return found == mGlobes.end() ? nullptr : found->second;
}

void VPushPin::Load(const std::shared_ptr<VLuaStyle>& description) {
    RemoveGlobes();
    if (description && description->IsValid()) {
        mBaseLevel = description->GetInt("baseLevel", 0);
        mMove = TVec2(static_cast<float>(description->GetNumber("movex", 0)),
                      static_cast<float>(description->GetNumber("movey", 0)));
        LoadGlobes(*description);
        if (std::shared_ptr<VLuaStyle> box = OwnSubStyle(*description, "box")) {
            if (!mBox) {
                mBox = VTiledObject::Create(TString(), TString(), 0);
                AddChild(mBox);
            }
            mBox->Load(box);
        }
    }
    VObject::Load(description);
    mHomePositions.clear();
    for (const auto& [name, child] : GetChildObjects()) mHomePositions[name] = child->GetPosition();
}

void VPushPin::RemoveGlobes() {
    for (const auto& [level, globe] : mGlobes) RemoveChild(std::shared_ptr<VSprite>(globe));
    mGlobes.clear();
    mCurrentGlobe.reset();
}

void VPushPin::LoadGlobes(VLuaStyle& description) {
    std::unique_ptr<TLuaTable> globes = GetOwnSubTable(description, "globes");
    if (!globes) return;
    int skipped = 0;
    ForEachTableEntry(*globes, [&](const TString& key, const TLuaObjectWrapper& value) {
        if (!value.IsTable() || LowerCase(key).Find(kGlobePrefix) != 0) {
            ++skipped;
            return;
        }
        std::shared_ptr<VButton> globe = VButton::Create(0, TString());
        globe->Load(OwnStyleOf(value));
        int level = globe->GetId() + mBaseLevel;
        globe->SetName(TString::Format("level_btn_%.2i", level));
        globe->SetPosition(globe->GetPosition() + kGlobeOffset);
        globe->SetLabel(TString::Format("%i", level));
        if (std::shared_ptr<VButton> old = GetGlobe(level)) RemoveChild(std::shared_ptr<VSprite>(old));
        mGlobes[level] = globe;
        AddChild(globe);
    });
    if (skipped > 0) DebugLog("VPushPin: %d entries of \"globes\" are no globe tables, skipped", skipped);
}

void VPushPin::Reset() {
    VObject::Reset();
    SetAsset("base", "enabled", "default");
    SetGlobesVisible(false);
    mCurrentGlobe.reset();
    mPinState = kClosed;

    std::shared_ptr<VLevelManager> levels = VLevelManager::Get();
    int next = levels->GetHighestComplete() + 1;
    int current = levels->GetCurrentLevel();
    // The pin of a location just reached waits for the map's path to show it.
    bool hidden = mBaseLevel == current && VValueManager::Get()->GetInt("do_map_transition", 0) == 1;
    SetVisible(static_cast<unsigned>(next) >= static_cast<unsigned>(mBaseLevel) && !hidden);
    if (mBox) {
        mBox->Reset();
        mBox->SetVisible(false);
    }
    if (!mListener) mListener = std::make_shared<VPinListener>(GetSharedAs<VPushPin>());
    for (const auto& [level, globe] : mGlobes) ResetGlobe(level, globe, next);
    if (!mHoverGlow && !mOpen) {
        mHoverGlow = VHoverGlow::Create(false, kHoverStrength, true, true);
        AddEffect(mHoverGlow);
    }
}

void VPushPin::ResetGlobe(int level, const std::shared_ptr<VButton>& globe, int next) {
    int status = VLevelManager::Get()->GetLevelStatus(level);
    globe->SetDisabled(status == VLevelManager::kNotCompleted && level != next);
    globe->DetachEffects();
    if (status != VLevelManager::kNotCompleted) {
        MakeHoverable(globe);
        globe->SetAsset(status == VLevelManager::kMastered ? "mastered" : "cleared", "default", "default");
    } else if (level == next) {
        globe->SetAsset("current", "default", "default");
        MakeHoverable(globe);
        mCurrentGlobe = globe;
    } else {
        globe->SetAsset("none", "default", "default");
        globe->RemoveListener(mListener);
    }
}

void VPushPin::MakeHoverable(const std::shared_ptr<VButton>& globe) {
    globe->AddListener(mListener);
    globe->AddEffect(VHoverGlow::Create(true, kHoverStrength, true, true));
}

void VPushPin::SetOpen(bool open) {
    if (open == mOpen) return;
    MoveArt(open);
    if (open) {
        if (mHoverGlow) RemoveEffect(mHoverGlow);
        mHoverGlow.reset();
    } else {
        mHoverGlow = VHoverGlow::Create(false, kHoverStrength, true, true);
        AddEffect(mHoverGlow);
    }
    mOpen = open;
    std::shared_ptr<VSpriteManager> manager = GetManager();
    if (open && manager) manager->VisitSprites(std::make_shared<VPinSpider>(this), false);
}

// The art slides out after a pause when the pin opens, and straight home
// when it closes.
void VPushPin::MoveArt(bool open) {
    for (const auto& [name, child] : GetChildObjects()) {
        auto home = mHomePositions.find(name);
        TVec2 target = open ? child->GetPosition() + mMove
                            : (home != mHomePositions.end() ? home->second : child->GetPosition());
        child->AddEffect(VSpriteMove::Create(target.x, target.y, kMoveTime, 0.0f, open ? kOpenDelay : 0));
    }
}

void VPushPin::OnClick() {
    VObject::OnClick();
    if (InEndlessMode()) {
        if (std::shared_ptr<VButton> first = GetGlobe(mBaseLevel)) {
            first->SendEvent(kEventClick, TPoint(0, 0), first->GetDrawState(), -1);
        }
        return;
    }
    if (mPinState == kClosed) SetOpen(!mOpen);
}

bool VPushPin::IsAnimationStopped() {
    return !IsPlaying(0) || IsFinished(0);
}

void VPushPin::Update(bool paused) {
    switch (mPinState) {
    case kClosed:
        if (mOpen) {
            DoAnim("DoAnim", false, false, 0);
            mPinState = kOpening;
        }
        break;
    case kOpening:
        if (!IsAnimationStopped()) break;
        if (mOpen) {
            SetGlobesClickable(false);
            mRevealIndex = mBaseLevel;
            mRevealTimer = 0;
            mPinState = kRevealing;
        } else {
            SetGlobesVisible(false);
            DoAnim("ReverseAnim", false, false, 0);
            mPinState = kClosing;
        }
        break;
    case kRevealing:
        mRevealTimer += static_cast<int>(GetFrameTime());
        if (mRevealTimer >= kRevealStep) RevealStep();
        if (mRevealIndex > mBaseLevel + kRevealSpan) {
            SetGlobesClickable(true);
            if (mCurrentGlobe) mCurrentGlobe->AddEffect(VGlowEffect::Create(1.0f, 600, -1.0f, 0));
            mPinState = kOpen;
        }
        break;
    case kOpen:
        if (mOpen) break;
        SetGlobesVisible(false);
        if (mCurrentGlobe) mCurrentGlobe->DetachEffects();
        DoAnim("ReverseAnim", false, false, 0);
        mPinState = kClosing;
        break;
    case kClosing:
        if (!IsAnimationStopped()) break;
        if (mOpen) {
            DoAnim("DoAnim", false, false, 0);
            mPinState = kOpening;
        } else {
            mPinState = kClosed;
        }
        break;
    }
    VObject::Update(paused);
}

// The next globe fades in; the one two steps behind pulses once unless it
// is locked or the level to play, which keeps its own glow.
void VPushPin::RevealStep() {
    if (std::shared_ptr<VButton> globe = GetGlobe(mRevealIndex)) {
        globe->SetVisible(true);
        globe->AddEffect(VAlphaEffect::Create(true, 1.0f, kGlobeFadeTime, -1.0f, 0));
    }
    std::shared_ptr<VButton> behind = GetGlobe(mRevealIndex - 2);
    if (behind && behind != mCurrentGlobe &&
        (!behind->GetCurrentAsset() || behind->GetCurrentAsset()->GetName() != "none")) {
        behind->AddEffect(VGlowEffect::Create(1.0f, 800, 1.0f, 1.0f));
    }
    mRevealTimer -= kRevealStep;
    ++mRevealIndex;
}

void VPushPin::SetGlobesVisible(bool visible) {
    for (const auto& [level, globe] : mGlobes) globe->SetVisible(visible);
}

void VPushPin::SetGlobesClickable(bool clickable) {
    for (const auto& [level, globe] : mGlobes) globe->SetMouseEnabled(clickable);
    if (std::shared_ptr<VSpriteManager> manager = GetManager()) manager->MarkDirty();
}

int VPushPin::LevelOf(const std::shared_ptr<VSprite>& sprite) const {
    for (const auto& [level, globe] : mGlobes) {
        if (globe == sprite) return level;
    }
    return 0;
}

void VPushPin::ShowLevelInfo(int level, bool show) {
    if (!mBox) return;
    if (show) {
        std::shared_ptr<VLevelManager> levels = VLevelManager::Get();
        SetText(*mBox, "level", TString::Format("%s  %i", Localised("map_level").c_str(), level));
        SetText(*mBox, "best", TString::Format("$%i", levels->GetBestScore(level)));
        SetText(*mBox, "goal", TString::Format("$%i", levels->GetGoalScore(level)));
        SetText(*mBox, "mastery", TString::Format("$%i", levels->GetMasteryScore(level)));
        mBox->SetVisible(true);
    }
    FadeBox(show);
}

// From where a running fade stands; leaving a fully shown box waits a
// moment first, so moving between globes does not flicker.
void VPushPin::FadeBox(bool show) {
    float start = 1.0f;
    if (mBoxFade) {
        start = mBoxFade->GetAlpha();
        mBoxFade->Finish();
        mBox->RemoveEffect(mBoxFade);
    }
    int delay = !show && start >= 1.0f ? kBoxHideDelay : 0;
    mBoxFade = VAlphaEffect::Create(show, 1.0f, show ? kBoxShowTime : kBoxHideTime, start, delay);
    mBox->AddEffect(mBoxFade);
}
