#include "game/progression/chooseachievements.h"

#include "core/app/message.h"
#include "core/windows/windowstyle.h"
#include "game/objects/spritebutton.h"
#include "game/progression/achievement.h"
#include "game/progression/achievementmanager.h"
#include "game/shell/luastyle.h"
#include "game/widgets/scrollable.h"
#include "game/widgets/widgetclass.h"

namespace {

const char kButtonPrefix[] = "btn_achieve_";
constexpr int kMargin = 20;
constexpr int kRowHeight = 25;
constexpr int kPreviewHold = 3000;

}  // namespace

TWindow* VChooseAchievements::Create() {
    return new VChooseAchievements();
}

VChooseAchievements::VChooseAchievements() = default;

VChooseAchievements::~VChooseAchievements() = default;

const char* VChooseAchievements::GetClassName() const {
    return "VChooseAchievements";
}

bool VChooseAchievements::IsA(TWindowClassId id) const {
    return IsClassIdIn(id, {ClassId(), VSpriteWindow::ClassId(), RWindow::ClassId(), TImage::ClassId(),
                            TWindow::ClassId()});
}

void VChooseAchievements::PostInit(const TWindowStyle& style) {
    VSpriteWindow::PostInit(style);
    TWindow* found = FindChildWindow("sprite_window", -1);
    if (!found || found == this || !found->IsA(VSpriteWindow::ClassId())) return;
    auto& list = static_cast<VSpriteWindow&>(*found);
    AddButtons(list, style);
    TWindow* scroller = FindChildWindow("scroller", -1);
    if (scroller && scroller->IsA(RScrollable::ClassId())) {
        if (TWindow* interior = static_cast<RScrollable*>(scroller)->GetInterior()) interior->FitToChildren();
    }
}

void VChooseAchievements::AddButtons(VSpriteWindow& list, const TWindowStyle& style) {
    std::shared_ptr<VLuaStyle> checkStyle = VLuaStyle::Create(style.GetTable("checkstyle"), nullptr);
    VAchievementManager::AchievementList achievements;
    VAchievementManager::Get()->ListAll(achievements);
    int columnWidth = (list.GetWidth() - 2 * kMargin) / 2;
    int i = 0;
    for (const std::shared_ptr<VAchievement>& achievement : achievements) {
        auto button = VButton::Create(i, TString());
        button->Load(checkStyle);
        button->SetName(TString(kButtonPrefix) + achievement->GetName());
        button->SetPosition(TVec2(static_cast<float>((i % 2) * columnWidth + kMargin),
                                  static_cast<float>((i / 2) * kRowHeight + kMargin)));
        button->SetOn(achievement->IsEarned());
        list.AddSprite(button);
        mAchievementOf[button->GetName()] = {achievement->GetCategory(), achievement->GetName()};
        mButtons[button->GetName()] = button;
        ++i;
    }
    int rows = (i + 1) / 2;
    list.SetSize(list.GetWidth(), rows * kRowHeight + 2 * kMargin);
}

void VChooseAchievements::SetAllButtons(bool on) {
    for (const auto& [name, button] : mButtons) button->SetOn(on);
}

bool VChooseAchievements::OnMessage(TMessage* message) {
    if (message->GetType() != TMessage::kButtonPress) return VSpriteWindow::OnMessage(message);
    std::shared_ptr<VAchievementManager> achievements = VAchievementManager::Get();
    const TString& name = message->GetName();
    if (name == "btn_notify") {
        VAchievementManager::AchievementList earned;
        achievements->ListEarned(earned);
        achievements->ShowNotification(earned, kPreviewHold);
    } else if (name == "btn_release") {
        achievements->RevokeAll();
        SetAllButtons(false);
    } else if (name == "btn_acquire") {
        achievements->AwardAll();
        SetAllButtons(true);
    } else if (auto found = mAchievementOf.find(name); found != mAchievementOf.end()) {
        const auto& [category, achievement] = found->second;
        if (mButtons[name]->IsOn()) {
            achievements->Award(achievement, category);
        } else {
            achievements->Revoke(achievement, category);
        }
    } else {
        return VSpriteWindow::OnMessage(message);
    }
    return true;
}
