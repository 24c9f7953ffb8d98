#include "foundation/asset.h"

const TAssetClassId TAsset::ClassId = &TAsset::ClassId;
