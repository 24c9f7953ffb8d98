// The upgrade shop before a level: the level's scene at half size, three
// category toggles over the list of upgrade tabs, and buy buttons. "Close"
// ends every preview and lets the level screen follow what was bought.
#pragma once

#include <array>

#include "game/shell/screenfunctions.h"
#include "game/widgets/bouncewindow.h"

class RDisableButton;
class VUpgradeList;

class VPrelevelWindow : public RBounceWindow {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }
    // Where the scene stands inside the shop, and its scale.
    static constexpr int kSceneX = 342;
    static constexpr int kSceneY = 93;
    static constexpr float kSceneScale = 0.5f;

    // Publishes "Close".
    VPrelevelWindow();
    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    ~VPrelevelWindow() override;
    // The bounce, then the list, the toggles, the upgrades' tutorial, the
    // window's steps and the dialog's focus.
    void PostInit(const TWindowStyle& style) override;
    // The window, then the level's scene inside it.
    void Draw() override;
    // The scene runs on; the toggle that is on follows whether the list
    // holds tabs.
    bool Animate() override;
    // Toggles, "btn_buy", "slider_start" and "slider_end"; the running
    // tutorial hears each first. Never handled.
    bool OnMessage(TMessage* message) override;
    // The arrow keys scroll the list.
    bool OnKeyDown(int key, int modifiers) override;

    // The first toggle whose category has open upgrades is shown and on;
    // those without are disabled.
    void SetupTabs();
    void Close();

    VUpgradeList* GetList() const { return mList; }
    const TString& GetCategory() const { return mCategory; }

private:
    struct Toggle {
        const char* name;
        const char* category;
        RDisableButton* button;
    };

    void ShowCategory(const TString& category);
    void FollowListInToggle();

    VScreenFunctions mFunctions;
    VUpgradeList* mList = nullptr;
    TString mCategory;
    std::array<Toggle, 3> mToggles;
    bool mStarted = false;
    std::shared_ptr<const int> mLifeToken;
};
