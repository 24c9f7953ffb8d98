// Base of every loaded resource (textures, sounds, compiled scripts, meshes).
// Assets are always owned by shared pointers and cached by the asset manager.
#pragma once

#include <memory>

// A class identifier: the address of the class's own ClassId constant.
using TAssetClassId = const void*;

class TAsset : public std::enable_shared_from_this<TAsset> {
public:
    static const TAssetClassId ClassId;

    virtual const char* GetClassName() const { return "TAsset"; }
    // True for this class's identifier; subclasses test their own, then ask their base.
    virtual bool IsA(TAssetClassId id) const { return id == ClassId; }
    virtual ~TAsset() = default;
    // The display device is about to lose its resources.
    virtual void Release() {}
    // The display device's resources were recreated.
    virtual void Restore() {}
};
