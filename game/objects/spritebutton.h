// A game object that acts as a button inside a sprite window: asset states
// for hover, toggle and disabled, an optional two-state toggle, a text label
// as a child, and on a click its sound and a button-press message naming it
// to the window it lives in.
#pragma once

#include <memory>

#include "foundation/tstring.h"
#include "game/objects/object.h"

class VTextSprite;

class VButton : public VObject {
public:
    // Kinds: plain, or a toggle whose label sits beside it.
    enum { kPlain = 0, kToggle = 1, kToggleAlt = 2 };

    static std::shared_ptr<VButton> Create(int id, const TString& text);
    // Named "<text>_<id>".
    VButton(int id, const TString& text);
    ~VButton() override;

    void OnMouseEnter() override;
    void OnMouseLeave() override;
    void OnClick() override;
    // "id", "type" (the kind), "scale", "sound", then the label and the object.
    void Load(const std::shared_ptr<VLuaStyle>& description) override;
    // Fits the label to the new image.
    void SetAsset(const TString& asset, const TString& state, const TString& fallback) override;

    virtual void SetLabel(const TString& text);
    virtual void SetDisabled(bool disabled);
    virtual void SetOn(bool on);

    int GetId() const { return mId; }
    const TString& GetText() const { return mText; }
    int GetKind() const { return mKind; }
    float GetButtonScale() const { return mScale; }
    bool IsDisabled() const { return mDisabled; }
    bool IsOn() const { return mOn; }
    const TString& GetSound() const { return mSound; }
    const std::shared_ptr<VTextSprite>& GetLabel() const { return mLabel; }

protected:
    // An unnamed button of its own object type.
    VButton(const TString& type, int layer);

private:
    // The state for the flags and whether the mouse is over the button.
    void ShowState(bool mouseOver);
    bool IsToggle() const { return mKind == kToggle || mKind == kToggleAlt; }
    void PostPress();

    int mId;
    TString mText;
    std::shared_ptr<VTextSprite> mLabel;
    int mKind = kPlain;
    float mScale = 1.0f;
    bool mDisabled = false;
    bool mOn = false;
    TString mSound;
};
