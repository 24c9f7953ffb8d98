// The developer's list of achievements: a check button per achievement in
// two columns of its "sprite_window" child, which awards or revokes it;
// "btn_notify" previews the earned ones, "btn_release" revokes all and
// "btn_acquire" awards all.
#pragma once

#include <map>
#include <memory>
#include <utility>

#include "foundation/tstring.h"
#include "game/sprites/spritewindow.h"

class VButton;

class VChooseAchievements : public VSpriteWindow {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    VChooseAchievements();

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    ~VChooseAchievements() override;
    // "checkstyle" styles the buttons.
    void PostInit(const TWindowStyle& style) override;
    bool OnMessage(TMessage* message) override;

private:
    using Key = std::pair<TString, TString>;  // category, name

    void AddButtons(VSpriteWindow& list, const TWindowStyle& style);
    void SetAllButtons(bool on);

    // By button name.
    std::map<TString, Key> mAchievementOf;
    std::map<TString, std::shared_ptr<VButton>> mButtons;
};
