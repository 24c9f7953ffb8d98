// Loads arbitrary bytes as a level's asset list against an empty asset
// folder (nothing named can load), once keeping and once retiring what the
// previous list held, then builds the memory report.
#include <cstdint>

#include "foundation/assetmanager.h"
#include "foundation/virtualfiles.h"
#include "game/shell/gameassetmanager.h"
#include "game/shell/managersingleton.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const char kNothing = 0;
    TAssetManager cache;
    SetAssetManager(&cache);
    RegisterMemoryFile("assets.xml", size == 0 ? &kNothing : reinterpret_cast<const char*>(data), size);
    std::shared_ptr<VAssetManager> assets = VAssetManager::Get();
    for (bool retire : {false, true}) assets->LoadAssetList("assets.xml", retire);
    assets->BeginFrame();
    assets->MarkTextureUsed("assets.xml", true);
    assets->GetMemoryReport(true);
    assets->ReleaseAll();
    ReleaseManagerSingleton<VAssetManager>();
    ClearVirtualFiles();
    SetAssetManager(nullptr);
    return 0;
}
