// A window whose content comes from a composition file ("xmlfile"): texts,
// images, animations and sounds at fixed places, each animation and sound
// after its own delay. Animations need a sprite layer named
// "adapt_spritelayer" inside the window.
#pragma once

#include <memory>
#include <vector>

#include "foundation/tstring.h"
#include "widgets/image.h"

class RAdaptObject;
class RSpriteLayer;
class TStringTable;

class RAdapt : public TImage {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    RAdapt();
    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    // The items go before the window.
    ~RAdapt() override;
    // "xmlfile", the sprite layer, then the composition.
    void PostInit(const TWindowStyle& style) override;
    // Only the children show.
    void Draw() override;

    // Clear, Load, each item started, the sprite layer brought to the front.
    void Rebuild();
    void Clear();
    // Nothing without a file name; a file that cannot be read, or holds no
    // "adapt" element, gives no items.
    void Load();

    void SetXmlFile(const TString& name) { mXmlFile = name; }
    RSpriteLayer* GetSpriteLayer() const { return mSpriteLayer; }
    const std::vector<std::unique_ptr<RAdaptObject>>& GetItems() const { return mItems; }

    // The platform's string table for the labels; null while none is loaded.
    static const TStringTable* GetStringTable();

private:
    TString mXmlFile;
    std::vector<std::unique_ptr<RAdaptObject>> mItems;
    RSpriteLayer* mSpriteLayer = nullptr;  // a descendant
};
