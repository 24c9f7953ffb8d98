// An option button of a machine. It shows its "button" art with an "icon"
// and, when the description gives one, a "stripe" that stands in for the
// icon until the pointer rests on the button; then the icon fades in over
// the stripe. A click selects the button's option on the machine.
#pragma once

#include <memory>

#include "game/objects/spritebutton.h"

class VAlphaEffect;
class VMachine;

class VMachineButton : public VButton {
public:
    static constexpr int kLayer = 10;
    // The pointer rests longer than this before the button expands.
    static constexpr uint32_t kExpandDelay = 500;

    static std::shared_ptr<VMachineButton> Create(const std::shared_ptr<VMachine>& machine);
    explicit VMachineButton(const std::shared_ptr<VMachine>& machine);
    ~VMachineButton() override;

    // Rebuilds the icon and the stripe.
    void Reset() override;
    // The button's hover looks; the machine hears the pointer too.
    void OnMouseEnter() override;
    void OnMouseLeave() override;
    void OnHoverTime(uint32_t ms) override;
    // Selects the option of the button's "id".
    void OnClick() override;
    // Lets a finished fade go; a faded-out part is hidden.
    void Update(bool paused) override;

    // The "icon" child in the state of the "icon" property (tinted for
    // "dark"), and the "stripe" child of the "stripe" property, which hides
    // the icon.
    void ApplyUpgrades();
    // Only the "button" art is left; an available option is tinted.
    void SetAvailable(bool available);
    // The icon fades in over the stripe, or back out.
    void SetExpanded(bool expanded);

    bool IsAvailable() const { return mAvailable; }
    bool IsExpanded() const { return mExpanded; }
    const std::shared_ptr<VObject>& GetIcon() const { return mIcon; }
    const std::shared_ptr<VObject>& GetStripe() const { return mStripe; }

private:
    // Lets the fade go once it ended; hides the part it faded out.
    void EndFade(std::shared_ptr<VAlphaEffect>& fade, const std::shared_ptr<VObject>& part, bool fadedOut);
    void RemoveParts();

    std::weak_ptr<VMachine> mMachine;
    std::shared_ptr<VObject> mIcon;
    std::shared_ptr<VObject> mStripe;
    std::shared_ptr<VAlphaEffect> mIconFade;
    std::shared_ptr<VAlphaEffect> mStripeFade;
    bool mAvailable = false;
    bool mExpanded = false;
};
