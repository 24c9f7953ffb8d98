#include "game/shell/gameassetmanager.h"

#include <algorithm>

#include "foundation/xmlnode.h"
#include "graphics/animatedtexture.h"
#include "graphics/texture.h"
#include "sound/sound.h"

namespace {

bool IsTexture(const std::shared_ptr<TAsset>& asset) {
    return asset && asset->IsA(TTexture::GetClassId());
}

}  // namespace

TString FormatMemorySize(uint32_t bytes) {
    if (bytes <= 1023) return TString::Format("%i bytes", static_cast<int>(bytes));
    if (bytes <= 1048575) return TString::Format("%0.2f kB", bytes / 1024.0);
    return TString::Format("%0.2f MB", bytes / 1024.0 / 1024.0);
}

void VAssetManager::LoadAssetList(const TString& file, bool retire) {
    if (retire) RetireCurrentAssets();
    TXmlNode document;
    if (document.LoadFile(file)) {
        TString name;
        TXmlNode* node = nullptr;
        document.ResetChildIterator();
        while (document.NextChild(name, node)) LoadElement(name, *node);
    }
    if (retire) DropRetiredAssets();
}

void VAssetManager::LoadElement(const TString& element, TXmlNode& node) {
    if (element == "assets") {
        TString name;
        TXmlNode* child = nullptr;
        node.ResetChildIterator();
        while (node.NextChild(name, child)) LoadElement(name, *child);
        return;
    }
    TString file = node.GetAttribute("file");
    if (element == "texture") {
        TString mask = node.GetAttribute("mask");
        int flags = node.GetAttribute("flags").ToInt();
        RegisterAsset(file, mask.Length() == 0 ? TTexture::GetWithOptions(file, flags)
                                               : TTexture::GetMasked(file, mask, flags));
    } else if (element == "animatedtexture") {
        RegisterAsset(file, TAnimatedTexture::Get(file));
    } else if (element == "sound") {
        bool memory = node.GetAttribute("memory") == "true";
        RegisterAsset(file, TSound::Get(file, memory ? 1 : 0, node.GetAttribute("type").ToInt()));
    }
}

void VAssetManager::RegisterAsset(const TString& name, const std::shared_ptr<TAsset>& asset) {
    // A texture replaced under its name leaves the figures first, so a name
    // listed twice counts once.
    auto old = mCurrentAssets.find(name);
    if (old != mCurrentAssets.end() && IsTexture(old->second)) TrackTexture(name, false);
    mCurrentAssets[name] = asset;
    if (IsTexture(asset)) TrackTexture(name, true);
}

std::shared_ptr<TTexture> VAssetManager::GetTexture(const TString& name) const {
    auto found = mCurrentAssets.find(name);
    if (found == mCurrentAssets.end() || !IsTexture(found->second)) return nullptr;
    return std::static_pointer_cast<TTexture>(found->second);
}

std::shared_ptr<TAnimatedTexture> VAssetManager::GetAnimatedTexture(const TString& name) const {
    auto found = mCurrentAssets.find(name);
    if (found == mCurrentAssets.end() || !found->second || !found->second->IsA(TAnimatedTexture::GetClassId())) {
        return nullptr;
    }
    return std::static_pointer_cast<TAnimatedTexture>(found->second);
}

void VAssetManager::TrackTexture(const TString& name, bool loaded) {
    std::shared_ptr<TTexture> texture = GetTexture(name);
    if (name.Length() == 0 || !texture) return;
    TextureRecord& record = mTextureRecords[name];
    if (loaded) {
        if (record.loads == 0) TrackLoad(record, *texture);
        ++record.loads;
    } else if (record.loads > 0 && --record.loads < 1) {
        TrackRelease(record);
    }
}

void VAssetManager::TrackLoad(TextureRecord& record, const TTexture& texture) {
    TPoint surface = texture.GetPaddedSize();
    record.imageWidth = texture.GetWidth();
    record.imageHeight = texture.GetHeight();
    record.surfaceWidth = surface.x;
    record.surfaceHeight = surface.y;
    record.textureBytes = static_cast<uint32_t>(surface.x) * static_cast<uint32_t>(surface.y) * 4;
    record.imageBytes = static_cast<uint32_t>(record.imageWidth) * static_cast<uint32_t>(record.imageHeight) * 4;
    mSystemBytes += record.imageBytes + record.textureBytes;
    mLoadedTextureBytes += record.textureBytes;
}

void VAssetManager::TrackRelease(TextureRecord& record) {
    // Takes away what TrackLoad added, so the figure returns to where it was.
    mSystemBytes -= record.imageBytes + record.textureBytes;
    mLoadedTextureBytes -= record.textureBytes;
    record = TextureRecord();
}

void VAssetManager::MarkTextureUsed(const TString& name, bool used) {
    if (name.Length() == 0) return;
    TextureRecord& record = mTextureRecords[name];
    if (used && record.loads > 0) {
        if (record.frameUses == 0) {
            mFrameTextureBytes += record.textureBytes;
            ++mSizeCounts[record.surfaceWidth];
            mPeakFrameTextureBytes = std::max(mPeakFrameTextureBytes, mFrameTextureBytes);
        }
        ++record.frameUses;
    } else if (record.frameUses > 0 && --record.frameUses <= 0) {
        mFrameTextureBytes -= record.textureBytes;
        record.frameUses = 0;
    }
}

void VAssetManager::BeginFrame() {
    mFrameTextureBytes = 0;
    for (auto& [name, record] : mTextureRecords) record.frameUses = 0;
    mSizeCounts.clear();
}

void VAssetManager::UntrackCurrentTextures() {
    for (const auto& [name, asset] : mCurrentAssets) {
        if (IsTexture(asset)) TrackTexture(name, false);
    }
}

void VAssetManager::RetireCurrentAssets() {
    UntrackCurrentTextures();
    mRetiredAssets.clear();
    mRetiring = true;
    mRetiredAssets.swap(mCurrentAssets);
}

void VAssetManager::DropRetiredAssets() {
    mRetiring = false;
    mRetiredAssets.clear();
}

void VAssetManager::ReleaseAll() {
    UntrackCurrentTextures();
    mCurrentAssets.clear();
    mRetiredAssets.clear();
}

TString VAssetManager::GetMemoryReport(bool details) const {
    TString report = TString::Format(
        "SystemRam: %s\nCurrent VRam: %s\nMax VRam: %s\nPeak VRam: %s\n", FormatMemorySize(mSystemBytes).c_str(),
        FormatMemorySize(mFrameTextureBytes).c_str(), FormatMemorySize(mLoadedTextureBytes).c_str(),
        FormatMemorySize(mPeakFrameTextureBytes).c_str());
    if (!details) return report;
    for (const auto& [width, count] : mSizeCounts) report += TString::Format("%i x %i : %i\n", width, width, count);
    return report;
}
