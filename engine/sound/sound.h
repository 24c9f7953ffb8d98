// A sound as the rest of the engine sees it: an asset loaded from an ".ogg"
// file. Until the sound subsystem exists no sound loads, so callers take
// their no-sound path.
#pragma once

#include <cstdint>
#include <memory>

#include "foundation/asset.h"
#include "foundation/tstring.h"

class TSound : public TAsset {
public:
    static inline const TAssetClassId ClassId = &ClassId;

    const char* GetClassName() const override { return "TSound"; }
    bool IsA(TAssetClassId id) const override { return id == ClassId || TAsset::IsA(id); }

    // The sound of the ".ogg" file of that name (which may end in a query
    // "?group=n"), cached in the asset manager; empty when it cannot load.
    static std::shared_ptr<TSound> Get(const TString& /*name*/, uint8_t /*flag*/, int /*index*/) { return nullptr; }
};
