#include "graphics/texturedata.h"

#include "foundation/debuglog.h"
#include "foundation/file.h"
#include "graphics/image/imagesize.h"
#include "graphics/image/jpegimage.h"
#include "graphics/image/pngimage.h"
#include "graphics/render/renderer.h"

namespace {

TTextureDataFactory& Factory() {
    static TTextureDataFactory factory;
    return factory;
}

// A decoded image, freed by the decoder that made it.
class TDecodedImage {
public:
    TDecodedImage() = default;
    ~TDecodedImage() {
        if (mFromPng) {
            FreePngPixels(pixels);
        } else {
            FreeJpegPixels(pixels);
        }
    }
    TDecodedImage(const TDecodedImage&) = delete;
    TDecodedImage& operator=(const TDecodedImage&) = delete;

    // The decoder is chosen by ".png" or ".jpg" anywhere in the name.
    bool Decode(const TString& file) {
        if (file.Find(".png") >= 0) {
            mFromPng = true;
            return LoadPng(file, pixels, width, height, side, hasAlpha);
        }
        if (file.Find(".jpg") >= 0) return LoadJpeg(file, pixels, width, height, side);
        DebugLog("TTexture: %s is neither a .png nor a .jpg file", file.c_str());
        return false;
    }

    uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int side = 0;
    bool hasAlpha = false;

private:
    bool mFromPng = false;
};

// The file part of a name; the option words after its last "?" set options.
TString ApplySpecWords(const TString& name, uint8_t& options) {
    int mark = name.FindChar('?', TString::kBackwards);
    if (mark < 0) return name;
    TString words = name.SubString(mark + 1);
    if (words.Find("slow") >= 0) options |= TTextureData::kSlow | TTextureData::kSimple;
    if (words.Find("simple") >= 0) options |= TTextureData::kSimple;
    if (words.Find("alpha") >= 0) {
        options |= TTextureData::kAlpha;
        options &= static_cast<uint8_t>(~TTextureData::kAlphaFromImage);
    }
    if (words.Find("mipmap") >= 0) options |= TTextureData::kMipmap;
    return name.SubString(0, mark);
}

// The mask file as named, else with ".png" or ".jpg" added; empty when none exists.
TString FindMaskFile(const TString& mask) {
    for (const char* extension : {"", ".png", ".jpg"}) {
        TString candidate = mask + extension;
        if (FileExists(candidate)) return candidate;
    }
    return TString();
}

// Byte 2 (red) of every mask pixel becomes the alpha byte of the image pixel.
void ApplyMask(TDecodedImage& image, const TString& maskName) {
    TString maskFile = FindMaskFile(maskName);
    TDecodedImage mask;
    if (maskFile.Length() == 0 || !mask.Decode(maskFile)) {
        DebugLog("TTexture: mask %s not loaded; the image keeps its own alpha", maskName.c_str());
        return;
    }
    if (mask.side != image.side) return;
    auto* bytes = reinterpret_cast<uint8_t*>(image.pixels);
    const auto* maskBytes = reinterpret_cast<const uint8_t*>(mask.pixels);
    size_t count = static_cast<size_t>(image.side) * image.side;
    for (size_t i = 0; i < count; ++i) bytes[i * 4 + 3] = maskBytes[i * 4 + 2];
}

}  // namespace

void SetTextureDataFactory(TTextureDataFactory factory) {
    Factory() = std::move(factory);
}

std::unique_ptr<TTextureData> NewTextureData() {
    return Factory() ? Factory()() : nullptr;
}

bool TTextureData::Load(const TString& name, const TString& maskName) {
    TString file = ApplySpecWords(name, mOptions);
    if (!FileExists(file)) {
        DebugLog("TTexture: cannot find %s", file.c_str());
        return false;
    }
    TDecodedImage image;
    if (!image.Decode(file)) return false;
    if (HasOption(kAlphaFromImage)) {
        mOptions = image.hasAlpha ? (mOptions | kAlpha) : (mOptions & static_cast<uint8_t>(~kAlpha));
    }
    if (maskName.Length() > 0) ApplyMask(image, maskName);

    uint32_t side = static_cast<uint32_t>(image.side);
    bool squared = TRenderer::GetInstance()->IsSquareTexturesOnly() && !HasOption(kSimple);
    uint32_t surfaceHeight = squared ? side : NextPowerOfTwo(static_cast<uint32_t>(image.height));
    if ((side > kMaxFastSide || surfaceHeight > kMaxFastSide) && !HasOption(kSlow)) {
        DebugLog("TTexture: %s is %dx%d; images above %u pixels a side need the word \"slow\"", file.c_str(),
                 image.width, image.height, kMaxFastSide);
        return false;
    }
    if (!CreateSurface(side, surfaceHeight, false)) {
        DebugLog("TTexture: no surface for %s", file.c_str());
        return false;
    }
    // Without a surface the device is not ready; Restore uploads later.
    if (HasSurface() && !Upload(image.side, static_cast<int>(surfaceHeight), image.pixels)) return false;
    mWidth = static_cast<uint32_t>(image.width);
    mHeight = static_cast<uint32_t>(image.height);
    mBorderX = (mSurfaceWidth - mWidth) / 2;
    mBorderY = (mSurfaceHeight - mHeight) / 2;
    mFileName = name;
    mMaskName = maskName;
    return true;
}
