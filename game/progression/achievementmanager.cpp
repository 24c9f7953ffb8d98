#include "game/progression/achievementmanager.h"

#include "core/app/gamestate.h"
#include "core/windows/windowmanager.h"
#include "foundation/debuglog.h"
#include "foundation/xmlescape.h"
#include "foundation/xmlnode.h"
#include "game/objects/objectdescription.h"
#include "game/progression/achievement.h"
#include "game/progression/rewardnotify.h"
#include "game/shell/valuemanager.h"

namespace {

const char kAchievementsFile[] = "achievements.xml";
const char kNotificationScript[] = "scripts/rewardnotify.lua";
const char kEarnedStatistic[] = "SweetRewardsEarnedID";

// The notification the script made in the window, taken out of it.
VRewardNotify* TakeNotification(TWindow& window) {
    TWindow* found = window.FindChildWindow("reward_notify", -1);
    if (!found || !found->IsA(VRewardNotify::ClassId())) return nullptr;
    if (TWindow* parent = found->GetParent()) parent->RemoveChild(found);
    return static_cast<VRewardNotify*>(found);
}

bool Overlaps(const TRect& a, const TRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

VAchievementManager::VAchievementManager() {
    Load(kAchievementsFile);
    mFunctions.Publish("CheckAllAchievements", this, &VAchievementManager::CheckAllAchievements);
    mFunctions.Publish("ShowNewAchievements", this, &VAchievementManager::ShowNewAchievements);
    mFunctions.Publish("HideNotification", this, &VAchievementManager::HideNotification);
}

VAchievementManager::~VAchievementManager() = default;

void VAchievementManager::Load(const TString& fileName) {
    TXmlNode root;
    if (!root.LoadFile(fileName)) {
        DebugLog("VAchievementManager: cannot read '%s'; no achievements", fileName.c_str());
        root.Clear();
    }
    LoadFrom(root);
}

void VAchievementManager::LoadFrom(TXmlNode& root) {
    mAchievements.clear();
    mNewlyEarned.clear();
    int index = 0;
    TString tag;
    TXmlNode* child = nullptr;
    for (root.ResetChildIterator(); root.NextChild(tag, child);) {
        if (LowerCase(tag) == "achievements") LoadCategory(*child, TString(), index);
    }
}

// The achievements standing in the element; categories inside the top
// "achievements" element bring their own.
void VAchievementManager::LoadCategory(TXmlNode& parent, const TString& category, int& index) {
    TString tag;
    TXmlNode* child = nullptr;
    for (parent.ResetChildIterator(); parent.NextChild(tag, child);) {
        TString kind = LowerCase(tag);
        if (kind == "achievementcategory" && category.Length() == 0) {
            LoadCategory(*child, child->GetAttribute("name"), index);
        } else if (kind == "achievement") {
            auto achievement = VAchievement::Create(child->GetAttribute("name"), category, index++);
            achievement->Load(*child);
            mAchievements[category][achievement->GetName()] = achievement;
        }
    }
}

void VAchievementManager::ForEach(const std::function<void(const std::shared_ptr<VAchievement>&)>& visit) const {
    for (const auto& [category, achievements] : mAchievements) {
        for (const auto& [name, achievement] : achievements) visit(achievement);
    }
}

void VAchievementManager::LoadProgress() {
    ForEach([](const std::shared_ptr<VAchievement>& achievement) { achievement->LoadEarned(); });
}

std::shared_ptr<VAchievement> VAchievementManager::GetAchievement(const TString& category,
                                                                  const TString& name) const {
    auto inCategory = mAchievements.find(category);
    if (inCategory == mAchievements.end()) return nullptr;
    auto found = inCategory->second.find(LowerCase(name));
    return found == inCategory->second.end() ? nullptr : found->second;
}

bool VAchievementManager::IsEarned(const TString& name, const TString& category) const {
    std::shared_ptr<VAchievement> achievement = GetAchievement(category, name);
    return achievement && achievement->IsEarned();
}

void VAchievementManager::Award(const TString& name, const TString& category) {
    if (std::shared_ptr<VAchievement> achievement = GetAchievement(category, name)) achievement->SetEarned(true);
}

void VAchievementManager::Revoke(const TString& name, const TString& category) {
    std::shared_ptr<VAchievement> achievement = GetAchievement(category, name);
    if (!achievement) return;
    if (achievement->GetValueName().Length() > 0) {
        VValueManager::Get()->SetValue(achievement->GetValueName(), 0, true);
    }
    achievement->SetEarned(false);
}

bool VAchievementManager::Check(float value, const TString& name, const TString& category, bool award) {
    std::shared_ptr<VAchievement> achievement = GetAchievement(category, name);
    if (!achievement || achievement->IsEarned() || !achievement->Evaluate(value)) return false;
    if (award) achievement->SetEarned(true);
    return true;
}

void VAchievementManager::AwardNewAchievements(const TString& filter, bool show, int hold) {
    std::shared_ptr<VValueManager> values = VValueManager::Get();
    for (const auto& [category, achievements] : mAchievements) {
        if (filter.Length() > 0 && category != filter) continue;
        for (const auto& [name, achievement] : achievements) {
            float value = values->GetReal(achievement->GetValueName(), 0);
            if (Check(value, name, category, true)) mNewlyEarned.push_back(achievement);
        }
    }
    if (mNewlyEarned.empty()) return;
    RecordInStatistics();
    if (show) ShowNewAchievements(hold);
}

void VAchievementManager::RecordInStatistics() const {
    TGameState* statistics = TGameState::Get();
    if (!statistics) return;
    TString earned = statistics->GetState(kEarnedStatistic);
    if (earned == "-1") earned = TString();
    for (const std::shared_ptr<VAchievement>& achievement : mNewlyEarned) {
        if (earned.Length() > 0) earned += ",";
        earned += achievement->GetName();
    }
    statistics->SetState(kEarnedStatistic, earned);
}

void VAchievementManager::ShowNotification(const AchievementList& list, int hold) {
    TWindowManager* windows = TWindowManager::GetInstance();
    TModalWindow* top = windows ? windows->GetTopModal() : nullptr;
    if (list.empty() || !top) return;
    auto* holder = new TWindow();
    windows->RunWindowScript(holder, kNotificationScript);
    VRewardNotify* notification = TakeNotification(*holder);
    delete holder;
    if (!notification) {
        DebugLog("VAchievementManager: %s made no \"reward_notify\"", kNotificationScript);
        return;
    }
    notification->ShowRewards(list);
    PlaceBelowOpenNotifications(*notification);
    top->AddChild(notification, true);
    mOpenNotifications.push_back(notification);
    // Its animation needs the modal it now lives in.
    notification->StartAnimation();
    std::shared_ptr<bool> flag;
    if (hold == 0) {
        flag = std::make_shared<bool>(false);
        mHoldFlags.push_back(flag);
    }
    notification->SetHold(hold, flag);
}

void VAchievementManager::PlaceBelowOpenNotifications(VRewardNotify& notification) const {
    TRect rect = notification.GetRect();
    for (const VRewardNotify* open : mOpenNotifications) {
        if (!Overlaps(open->GetRect(), rect)) continue;
        rect.top += open->GetHeight();
        rect.bottom += open->GetHeight();
    }
    notification.SetPosition(rect.left, rect.top);
}

void VAchievementManager::DropNotification(VRewardNotify* notification) {
    mOpenNotifications.remove(notification);
}

void VAchievementManager::GetMedalsXml(TString& out) const {
    out = TString();
    ForEach([&out](const std::shared_ptr<VAchievement>& achievement) {
        if (!achievement->IsEarned() || achievement->GetMedal().Length() == 0) return;
        out += TString("<medal name=\"") + XmlEscape(achievement->GetMedal()) + "\" per=\"type\"/>\r\n";
    });
}

void VAchievementManager::AwardAll() {
    ForEach([](const std::shared_ptr<VAchievement>& achievement) { achievement->SetEarned(true); });
}

void VAchievementManager::RevokeAll() {
    ForEach([this](const std::shared_ptr<VAchievement>& achievement) {
        Revoke(achievement->GetName(), achievement->GetCategory());
    });
}

void VAchievementManager::ListAll(AchievementList& out) const {
    ForEach([&out](const std::shared_ptr<VAchievement>& achievement) { out.push_back(achievement); });
}

void VAchievementManager::ListEarned(AchievementList& out) const {
    ForEach([&out](const std::shared_ptr<VAchievement>& achievement) {
        if (achievement->IsEarned()) out.push_back(achievement);
    });
}

void VAchievementManager::CheckAllAchievements(TString filter, bool show, int hold) {
    AwardNewAchievements(filter, show, hold);
}

void VAchievementManager::ShowNewAchievements(int hold) {
    AchievementList shown;
    shown.swap(mNewlyEarned);
    ShowNotification(shown, hold);
}

void VAchievementManager::HideNotification() {
    for (const std::shared_ptr<bool>& flag : mHoldFlags) *flag = true;
    mHoldFlags.clear();
}
