// The cloud over a customer or the delivery station that shows what is
// wanted: one small cloud per item, stacked diagonally behind the current
// one, the later ones tinted. A served item's cloud fades out and goes; the
// rest slide forward. Every cloud shows the owner's mood as its state.
#pragma once

#include <memory>
#include <vector>

#include "game/objects/object.h"

class VAlphaEffect;
class VTintEffect;

class VThoughtBubble : public VObject {
public:
    static std::shared_ptr<VThoughtBubble> Create();
    VThoughtBubble();
    ~VThoughtBubble() override;

    // Fades served clouds out and slides the waiting ones to their places.
    void Update(bool paused) override;

    // Adds a cloud at the end holding the item at the cloud's point of the
    // slot's name; an unavailable item's cloud is reddened.
    void Show(const std::shared_ptr<VSprite>& item, const TString& slot, bool available);
    // The current item is served; whether items are still waiting.
    bool Advance();
    // 1 to 5; any other value shows "happy".
    void SetMood(int mood);
    void Clear();

    int GetServedCount() const { return mServedCount; }
    int GetShownCount() const { return mShownCount; }
    int GetItemCount() const { return static_cast<int>(mItems.size()); }
    // Empty once the item's cloud has faded out.
    std::shared_ptr<VObject> GetCloud(int index) const;
    std::shared_ptr<VTintEffect> GetTint(int index) const;
    bool IsUnavailable(int index) const;

    // The state name of a mood in the clouds.
    static const char* MoodState(int mood);

private:
    struct Item {
        int unavailable;
        std::shared_ptr<VObject> cloud;
    };

    // Fades a served cloud out; true once it has gone.
    bool FadeServed(size_t index, int transition);
    void TintWaiting(size_t index, float waiting);
    // At most |offset| x elapsed / transition per axis.
    void SlideWaiting(size_t index, float waiting, float offset, int transition, uint32_t elapsed);
    void RemoveCloud(size_t index);

    std::vector<std::shared_ptr<VAlphaEffect>> mFadeEffects;
    std::vector<std::shared_ptr<VTintEffect>> mTintEffects;
    std::vector<Item> mItems;
    int mServedCount = 0;
    int mShownCount = 0;
};
