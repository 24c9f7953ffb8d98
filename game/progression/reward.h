// One achievement on the rewards screen: greyed while not earned, glowing
// under the pointer, which fades in a panel ("box") with the achievement's
// title and description. The object's name is the achievement's name.
#pragma once

#include <memory>

#include "game/objects/object.h"

class VAlphaEffect;
class VTextSprite;
class VTiledObject;

class VReward : public VObject {
public:
    static std::shared_ptr<VReward> Create();
    VReward();
    ~VReward() override;

    // Shown; greyed at 0.2 while the achievement is not earned, plain once it is.
    void Reset() override;
    void OnMouseEnter() override;
    void OnMouseLeave() override;
    // Hides the box once its fade-out has ended.
    void Update(bool paused) override;
    // "category", "box" (at "boxX", "boxY"), "headerStyle", "contentStyle".
    void Load(const std::shared_ptr<VLuaStyle>& description) override;

    const TString& GetCategory() const { return mCategory; }
    const std::shared_ptr<VTiledObject>& GetBox() const { return mBox; }

private:
    void MakeBox();
    void LoadTexts(VLuaStyle& description);

    TString mCategory;
    std::shared_ptr<VTiledObject> mBox;
    std::shared_ptr<VTextSprite> mHeader;
    std::shared_ptr<VTextSprite> mContent;
    std::shared_ptr<VAlphaEffect> mFade;
};
