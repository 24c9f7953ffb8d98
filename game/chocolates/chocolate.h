// A chocolate: the carriable that machines build layer by layer, the player
// carries, shelves hold and customers order and receive. Five layer slots,
// one per layer type; a chocolate goes from a bucket with an ingredient
// marked on it, through shaping (a chocolate or infusion layer, which
// replaces the bucket), to a topping. Once shaped, a chocolate held where it
// decays loses freshness and, at none left, fades away.
#pragma once

#include <array>
#include <memory>

#include "foundation/color.h"
#include "game/objects/carriable.h"

class VAlphaEffect;
class VChocolateLayer;
class VChocolateVendor;

class VChocolate : public VCarriable {
public:
    static constexpr int kSlots = 5;
    static constexpr float kFreshness = 100.0f;

    // Named "chocolate_<n>", n counting from 1 in the process.
    static std::shared_ptr<VChocolate> Create(const std::shared_ptr<VChocolateVendor>& vendor);
    explicit VChocolate(const std::shared_ptr<VChocolateVendor>& vendor);
    ~VChocolate() override;

    // Decays, then the sprite's step.
    void Update(bool paused) override;
    // Every effect but the fade, which keeps running.
    void DetachEffects() override;
    // Gone.
    bool IsExpired() const override { return IsGone(); }

    // Whether a machine of that stage may add its layer now.
    virtual bool CanAddLayer(int layerType) const;
    // Into the slot of its type; a chocolate or infusion layer shapes the
    // chocolate. Nothing for none.
    virtual void AddLayer(const std::shared_ptr<VChocolateLayer>& layer);
    // A layer from the vendor, reset and added; null when there is none.
    virtual std::shared_ptr<VChocolateLayer> MakeLayer(int barType, int layerType, int option);
    virtual void RemoveLayer(int layerType);
    // Marks the ingredient, also on the bucket's icon; the overlay it put
    // there, or empty.
    virtual std::shared_ptr<VObject> SetIngredient(int option);
    // Equal layers in all five slots; false for none.
    virtual bool SameLayers(const std::shared_ptr<VChocolate>& other) const;
    // The first count slots as in SameLayers, and this chocolate's next
    // slot holds a layer of the option.
    virtual bool ExtendsWith(const std::shared_ptr<VChocolate>& other, int count, int option) const;
    // Layers besides the bucket.
    virtual int CountLayers() const;
    // From "layer_price", more for each layer whose quality upgrade is owned.
    virtual float GetPrice() const;
    // Neither a chocolate nor an infusion layer yet.
    virtual bool IsUnshaped() const;
    // Decayed, and faded out.
    virtual bool IsGone() const;
    // "(milk,ingredient:2,truffle,topping:0)" and the like.
    virtual TString Describe() const;

    // The debug console's colours of layer types, given to layers as they are added.
    static void SetLayerTint(int layerType, const TColor4f& colour);
    static bool GetLayerTint(int layerType, TColor4f& colour);
    static void ClearLayerTints();

    // Null for a type outside the slots.
    std::shared_ptr<VChocolateLayer> GetSlot(int layerType) const;
    // The highest layer type present; -1 when empty.
    int GetTopLayer() const { return mTopLayer; }
    int GetShape() const { return mShape; }
    void SetShape(int shape) { mShape = shape; }
    int GetIngredient() const { return mIngredient; }
    int GetChocolateType() const { return mChocolateType; }
    void SetChocolateType(int type) { mChocolateType = type; }
    float GetFreshness() const { return mFreshness; }
    // Set by what holds the chocolate where it may decay.
    bool IsDecaying() const { return mDecaying; }
    void SetDecaying(bool decaying) { mDecaying = decaying; }
    const std::shared_ptr<VAlphaEffect>& GetFadeEffect() const { return mFade; }
    const std::shared_ptr<VChocolateVendor>& GetVendor() const { return mVendor; }

private:
    // Types outside the slots are refused; the first refusal is logged.
    static bool IsSlot(int layerType, const char* operation);
    void Decay(bool paused);
    void Shape(const VChocolateLayer& layer);
    void ClearSlot(int layerType);
    // Slots 0 to count - 1 hold equal layers, or none in both.
    bool SameSlots(const VChocolate& other, int count) const;

    std::array<std::shared_ptr<VChocolateLayer>, kSlots> mSlots;
    int mTopLayer = -1;
    int mShape = -1;
    int mIngredient = -1;
    int mChocolateType = -1;
    float mFreshness = kFreshness;
    bool mDecaying = false;
    std::shared_ptr<VAlphaEffect> mFade;
    std::shared_ptr<VChocolateVendor> mVendor;
};
