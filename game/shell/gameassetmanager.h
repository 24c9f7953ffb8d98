// The game's register of named art and sound: what a level's asset list
// names stays loaded while the level runs, and a new list reuses what the
// previous one loaded. It also keeps texture memory figures for the debug
// report. One instance, kept to the end of the process.
#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "foundation/asset.h"
#include "foundation/tstring.h"
#include "game/shell/managersingleton.h"

class TAnimatedTexture;
class TTexture;
class TXmlNode;

// "%i bytes" up to 1023, then kB, then MB above 1,048,575, two decimals.
TString FormatMemorySize(uint32_t bytes);

class VAssetManager : public VManagerSingleton<VAssetManager> {
public:
    // Assets of the list file. With retire the previous list's assets are
    // held until the new list is in, then the ones it did not name go. A
    // list that does not load registers nothing.
    void LoadAssetList(const TString& file, bool retire);
    // Also an empty asset: lookups of the name then answer empty.
    void RegisterAsset(const TString& name, const std::shared_ptr<TAsset>& asset);
    std::shared_ptr<TTexture> GetTexture(const TString& name) const;
    std::shared_ptr<TAnimatedTexture> GetAnimatedTexture(const TString& name) const;
    // Memory figures of a registered texture entering (loaded) or leaving the register.
    void TrackTexture(const TString& name, bool loaded);
    // A texture drawn (used) in this frame, or no longer.
    void MarkTextureUsed(const TString& name, bool used);
    void BeginFrame();
    void RetireCurrentAssets();
    void DropRetiredAssets();
    void ReleaseAll();
    // "SystemRam", "Current VRam", "Max VRam", "Peak VRam"; with details one
    // line per surface width drawn this frame.
    TString GetMemoryReport(bool details) const;

private:
    friend class VManagerSingleton<VAssetManager>;
    using AssetMap = std::map<TString, std::shared_ptr<TAsset>>;

    struct TextureRecord {
        int imageWidth = 0;
        int imageHeight = 0;
        int surfaceWidth = 0;
        int surfaceHeight = 0;
        uint32_t textureBytes = 0;
        uint32_t imageBytes = 0;
        int frameUses = 0;
        int loads = 0;
    };

    VAssetManager() = default;
    void LoadElement(const TString& element, TXmlNode& node);
    void TrackLoad(TextureRecord& record, const TTexture& texture);
    void TrackRelease(TextureRecord& record);
    // TrackTexture (name, false) for each current texture.
    void UntrackCurrentTextures();

    AssetMap mCurrentAssets;
    AssetMap mRetiredAssets;
    bool mRetiring = false;
    uint32_t mFrameTextureBytes = 0;
    uint32_t mLoadedTextureBytes = 0;
    uint32_t mSystemBytes = 0;
    uint32_t mPeakFrameTextureBytes = 0;
    std::map<int, int> mSizeCounts;  // surface width -> textures drawn this frame
    std::map<TString, TextureRecord> mTextureRecords;
};
