// One drawn layer of a chocolate: a game object that knows its layer type,
// bar type and option. The vendor keeps one loaded prototype per triple and
// hands out copies.
#pragma once

#include <memory>

#include "game/objects/object.h"

class TLuaTable;

class VChocolateLayer : public VObject {
public:
    static std::shared_ptr<VChocolateLayer> Create(int layerType, int barType, int option);
    VChocolateLayer(int layerType, int barType, int option);
    ~VChocolateLayer() override;

    // Reads "layerType", "barType" and "option" first, then the object's description.
    void Load(const std::shared_ptr<VLuaStyle>& description) override;

    using VSprite::CopyTo;
    // The three values, then the object's deep copy.
    virtual void CopyTo(const std::shared_ptr<VChocolateLayer>& target);
    // The same layer type, bar type and option; false for none.
    virtual bool Equals(const std::shared_ptr<VChocolateLayer>& other) const;

    // A key of a layer description: its number truncated; -1 when absent.
    // False, with -1, when the key holds something other than a number.
    static bool ReadKey(const TLuaTable& description, const char* key, int& value);

    int GetLayerType() const { return mLayerType; }
    int GetBarType() const { return mBarType; }
    int GetOption() const { return mOption; }

private:
    // The drawing order follows the layer type, so that the ingredient draws
    // above the chocolate body.
    void SetLayerFromType();

    int mOption;
    int mLayerType;
    int mBarType;
};
