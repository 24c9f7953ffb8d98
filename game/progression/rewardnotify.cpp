#include "game/progression/rewardnotify.h"

#include <algorithm>
#include <cmath>

#include "core/windows/modalwindowlink.h"
#include "core/windows/windowmanager.h"
#include "core/windows/windowstyle.h"
#include "foundation/clock.h"
#include "game/objects/tiledobject.h"
#include "game/progression/achievement.h"
#include "game/progression/achievementmanager.h"
#include "game/shell/luastyle.h"
#include "game/sprites/textsprite.h"
#include "game/utilities/localised.h"
#include "game/widgets/widgetclass.h"

namespace {

constexpr size_t kMostItems = 6;
constexpr int kLeastItemHeight = 55;
constexpr int kDurationBeforeDescription = 500;

// The height of the text as laid out; 0 without a layout (no font).
int TextHeight(VTextSprite& text) {
    if (!text.GetLayout()) return 0;
    TRect bounds = text.GetTextBounds();
    return bounds.bottom - bounds.top;
}

int AreaWidth(const VTiledObject& object) {
    TRect area;
    object.GetArea(&area);
    return area.right - area.left;
}

std::shared_ptr<VTiledObject> MakeTiled(TLuaTable* table) {
    auto object = VTiledObject::Create(TString(), TString(), 0);
    object->Load(VLuaStyle::Create(table, nullptr));
    return object;
}

// Whole milliseconds of a description number; NaN and negatives are 0.
int WholeMilliseconds(double value) {
    if (!(value > 0)) return 0;
    return value >= 2147483647.0 ? 2147483647 : static_cast<int>(value);
}

}  // namespace

TWindow* VRewardNotify::Create() {
    return new VRewardNotify();
}

VRewardNotify::VRewardNotify() {
    mDuration = kDurationBeforeDescription;
}

VRewardNotify::~VRewardNotify() {
    if (auto achievements = VAchievementManager::GetIfCreated()) achievements->DropNotification(this);
}

const char* VRewardNotify::GetClassName() const {
    return "VRewardNotify";
}

bool VRewardNotify::IsA(TWindowClassId id) const {
    return IsClassIdIn(id, {ClassId(), VSpriteWindow::ClassId(), RWindow::ClassId(), TImage::ClassId(),
                            TWindow::ClassId()});
}

bool VRewardNotify::OnAttach() {
    TModalWindowLink* modal = GetParentModal();
    if (modal) {
        mClock = modal->GetClock();
        mPhaseStart = mClock ? mClock->GetTime() : 0;
    }
    return VSpriteWindow::OnAttach();
}

void VRewardNotify::PostInit(const TWindowStyle& style) {
    mTransition = static_cast<float>(style.GetNumber("transition", 300));
    mDuration = WholeMilliseconds(style.GetNumber("duration", 5000));
    mSpacing = static_cast<float>(style.GetNumber("spacing", 0));
    if (std::isnan(mSpacing)) mSpacing = 0;
    mBackground = MakeTiled(style.GetTable("background"));
    mBackground->Reset();
    AddSprite(mBackground);
    mItemTemplate = MakeTiled(style.GetTable("item"));
    VSpriteWindow::PostInit(style);
}

void VRewardNotify::ShowRewards(const std::vector<std::shared_ptr<VAchievement>>& achievements) {
    if (!mBackground) return;
    int top = mItemTemplate ? static_cast<int>(mItemTemplate->GetPosition().y) : 0;
    int y = top;
    size_t shown = 0;
    for (const std::shared_ptr<VAchievement>& achievement : achievements) {
        if (!achievement) continue;
        if (shown++ == kMostItems) break;
        int height = AddItem(*achievement, y);
        y += height + static_cast<int>(mSpacing);
    }
    TRect area;
    mBackground->GetArea(&area);
    mBackground->SetArea(area.right - area.left, y - top);
    SetSize(GetWidth(), y - top);
}

int VRewardNotify::AddItem(const VAchievement& achievement, int y) {
    auto item = VTiledObject::Create(TString(), TString(), 0);
    mItemTemplate->CopyTo(item);
    item->SetPosition(TVec2(item->GetPosition().x, static_cast<float>(y)));
    int width = AreaWidth(*mItemTemplate);
    int height = 0;
    if (std::shared_ptr<VTextSprite> header = item->GetTextSprite("header")) {
        header->SetText(Localised(achievement.GetTitle()));
        height += TextHeight(*header);
    }
    if (std::shared_ptr<VTextSprite> description = item->GetTextSprite("description")) {
        description->SetText(Localised(achievement.GetDescription()));
        int descriptionHeight = TextHeight(*description);
        description->SetBoxSize(width, descriptionHeight);
        height += descriptionHeight;
    }
    height = std::max(height, kLeastItemHeight);
    item->SetArea(width, height);
    if (std::shared_ptr<VObject> icon = item->GetChildObject("icon")) {
        icon->SetAsset("icon", achievement.GetMedal(), "default");
        icon->SetPosition(TVec2(icon->GetPosition().x, height / 2.0f));
    }
    item->Reset();
    mBackground->AddChild(item);
    return height;
}

void VRewardNotify::SetHold(int duration, const std::shared_ptr<bool>& flag) {
    mDuration = duration;
    mHoldFlag = flag;
}

void VRewardNotify::StartPhase(int phase) {
    mPhase = phase;
    mPhaseStart = mClock ? mClock->GetTime() : 0;
}

bool VRewardNotify::SlideTo(float x, float elapsed) {
    TVec2 position = mBackground->GetPosition();
    float width = static_cast<float>(AreaWidth(*mBackground));
    // No transition time moves at once.
    float step = mTransition > 0 ? elapsed * width / mTransition : std::abs(x - position.x);
    float next = position.x > x ? std::max(x, position.x - step) : std::min(x, position.x + step);
    mBackground->SetPosition(TVec2(next, position.y));
    return next == x;
}

bool VRewardNotify::Animate() {
    if (!mBackground) return VSpriteWindow::Animate();
    float elapsed = mClock ? static_cast<float>(mClock->GetTime() - mPhaseStart) : 0;
    if (mPhase == kSlideIn) {
        if (!mClock || SlideTo(0, elapsed)) StartPhase(kHold);
    } else if (mPhase == kHold) {
        bool held = mHoldFlag && !*mHoldFlag;
        if (!held && elapsed > static_cast<float>(mDuration)) {
            mHoldFlag.reset();
            StartPhase(kSlideOut);
        }
    } else if (SlideTo(static_cast<float>(GetWidth()), elapsed)) {
        RemoveSelf();
        return false;
    }
    return VSpriteWindow::Animate();
}

void VRewardNotify::RemoveSelf() {
    if (auto achievements = VAchievementManager::GetIfCreated()) achievements->DropNotification(this);
    if (TWindow* parent = GetParent()) parent->RemoveChild(this);
    if (TWindowManager* windows = TWindowManager::GetInstance()) windows->DestroyWindowDeferred(this);
}
