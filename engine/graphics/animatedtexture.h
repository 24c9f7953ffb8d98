// A texture whose image is a sheet of frames, with the description that
// names the sheet, lists the frames and carries the Lua script playing
// them. Descriptions come as XML (".xml") or as chunked records (".anm").
// Drawing shows the current frame.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "foundation/rect.h"
#include "foundation/tstring.h"
#include "graphics/texture.h"

struct TAnimationAnchor {
    TString name;
    int32_t x = 0;
    int32_t y = 0;
};

struct TAnimationFrame {
    // The first transform value of a frame without a transform.
    static constexpr float kNoTransform = -10000000.0f;

    bool HasTransform() const { return transform[0] != kNoTransform; }

    TString name;
    int32_t x = 0;  // the frame's rectangle on the sheet
    int32_t y = 0;
    int32_t w = 0;
    int32_t h = 0;
    int32_t regx = 0;  // registration point inside the frame
    int32_t regy = 0;
    std::vector<TAnimationAnchor> anchors;
    // Rows (t0, t1, 0), (t2, t3, 0), (t4, t5, 1), applied before the placement.
    float transform[6] = {kNoTransform, 0, 0, 0, 0, 0};
    float alpha = 1.0f;
};

// One animation description as read from its file.
struct TAnimation {
    // Reads the description file: XML when its path holds ".xml", else the
    // chunked form when it holds ".anm". Messages name the animation by
    // name. False, with a log line, when the description is unusable.
    bool Read(const TString& path, const TString& animationName);

    TString name;
    TString source;
    TString fileName;  // the name the animation was asked for by
    TString imageName;
    TString maskName;
    TString folder;  // of the description file, with its last "/" or "\"
    TString script;
    int32_t largestWidth = 0;
    int32_t largestHeight = 0;
    int32_t sheetRegx = 0;
    int32_t sheetRegy = 0;
    int32_t sheetWidth = 0;
    int32_t sheetHeight = 0;
    std::vector<TAnimationFrame> frames;

private:
    bool ReadXml(const TString& path);
    bool ReadAnm(const TString& path);
    void MeasureFrames();
};

class TAnimatedTexture : public TTexture {
public:
    static const TAssetClassId ClassId;
    static TAssetClassId GetClassId() { return ClassId; }

    // name + ":" + image + ":" + mask.
    static TString MakeCacheKey(const TString& name, const TString& image, const TString& mask);
    // The cached texture of the key, else one made from the description
    // (the name itself, or with ".xml", or with ".anm" appended) and its
    // sheet; a non-empty image or mask replaces the description's. Empty
    // when the description or the sheet cannot be loaded.
    static std::shared_ptr<TAnimatedTexture> Get(const TString& name, const TString& image = TString(),
                                                 const TString& mask = TString());
    // Lets TAssetMap load ".xml" and ".anm" names as animated textures.
    static void RegisterLoaders();

    const char* GetClassName() const override { return "TAnimatedTexture"; }
    bool IsA(TAssetClassId id) const override { return id == ClassId || TTexture::IsA(id); }

    // The current frame, pivoted on its registration point (mirrored with
    // the state's flips), through its transform, rectangle and alpha.
    void Draw(const TDrawState& state) override;
    // The current frame's size; 0 without one.
    int GetWidth() const override;
    int GetHeight() const override;

    // -1 hides the texture; values below -1 or past the last frame are ignored.
    void SetFrame(int frame);
    int GetCurrentFrame() const { return mCurrentFrame; }
    int GetFrameCount() const { return static_cast<int>(mAnimation.frames.size()); }
    // Null outside 0..count-1.
    const TAnimationFrame* GetFrame(int frame) const;
    // The first anchor of the frame with the name; x and y are written when given.
    bool GetFramePoint(int frame, const TString& name, int* x, int* y) const;
    // (0, 0) outside 0..count-1.
    TPoint GetRegistrationPoint(int frame) const;
    // The frame around its registration point; all zero outside 0..count-1.
    TRect GetFrameBounds(int frame) const;
    // Every frame's bounds united.
    TRect GetTotalBounds() const;
    const TString& GetScript() const { return mAnimation.script; }

private:
    explicit TAnimatedTexture(std::unique_ptr<TTextureData> data) : TTexture(std::move(data)) {}
    bool LoadDescription(const TString& name);
    bool LoadSheet();
    bool LoadSheetFrom(const TString& image, const TString& mask);

    TAnimation mAnimation;
    int mCurrentFrame = 0;
};
