#include "graphics/image/pngimage.h"

#include <png.h>

#include <csetjmp>
#include <cstdlib>

#include "foundation/debuglog.h"
#include "foundation/file.h"
#include "graphics/image/imagesize.h"

namespace {

const size_t kSignatureBytes = 8;
const double kScreenGamma = 2.2;

// What one decode owns. The error path jumps back into Decode, so all of it
// lives here in memory rather than in locals of the jumping function.
struct PngDecode {
    const TString* name = nullptr;
    TFile file;
    png_structp png = nullptr;
    png_infop info = nullptr;
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    uint32_t side = 0;
    bool hasAlpha = false;
    uint32_t* pixels = nullptr;
    png_bytep* rows = nullptr;
};

void ReadData(png_structp png, png_bytep data, size_t count) {
    TFile* file = static_cast<TFile*>(png_get_io_ptr(png));
    if (file->Read(data, count) != count) png_error(png, "Read Error");
}

[[noreturn]] void OnError(png_structp png, png_const_charp message) {
    const PngDecode* decode = static_cast<const PngDecode*>(png_get_error_ptr(png));
    DebugLog("LoadPng: %s: %s", decode->name->c_str(), message);
    png_longjmp(png, 1);
}

// Every image becomes 8-bit blue, green, red, alpha.
void SetTransforms(png_structp png, png_infop info) {
    int bitDepth = png_get_bit_depth(png, info);
    int colorType = png_get_color_type(png, info);
    if (bitDepth == 16) png_set_strip_16(png);
    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_bgr(png);
    double fileGamma = 0;
    if (png_get_gAMA(png, info, &fileGamma)) png_set_gamma(png, kScreenGamma, fileGamma);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
}

// Rows of side pixels, one pointer for each image row.
void AllocateBuffer(PngDecode& d) {
    size_t rowBytes = static_cast<size_t>(d.side) * 4;
    if (png_get_rowbytes(d.png, d.info) > rowBytes) png_error(d.png, "unexpected row size");
    d.pixels = static_cast<uint32_t*>(std::calloc(SquareBufferBytes(d.side), 1));
    d.rows = static_cast<png_bytep*>(std::calloc(d.height, sizeof(png_bytep)));
    if (!d.pixels || !d.rows) png_error(d.png, "Visual PNG: out of memory");
    png_bytep bytes = reinterpret_cast<png_bytep>(d.pixels);
    for (png_uint_32 row = 0; row < d.height; ++row) d.rows[row] = bytes + row * rowBytes;
}

bool Decode(PngDecode& d) {
    if (setjmp(png_jmpbuf(d.png))) return false;
    d.info = png_create_info_struct(d.png);
    if (!d.info) png_error(d.png, "Visual PNG: out of memory");
    png_set_read_fn(d.png, &d.file, ReadData);
    png_set_sig_bytes(d.png, kSignatureBytes);
    png_read_info(d.png, d.info);
    SetTransforms(d.png, d.info);
    d.width = png_get_image_width(d.png, d.info);
    d.height = png_get_image_height(d.png, d.info);
    d.hasAlpha = (png_get_color_type(d.png, d.info) & PNG_COLOR_MASK_ALPHA) != 0;
    d.side = SquareSideFor("LoadPng", *d.name, d.width, d.height);
    if (d.side == 0) return false;
    AllocateBuffer(d);
    png_read_image(d.png, d.rows);
    png_read_end(d.png, nullptr);
    return true;
}

bool HasSignature(TFile& file) {
    png_byte signature[kSignatureBytes];
    return file.Read(signature, kSignatureBytes) == kSignatureBytes && png_sig_cmp(signature, 0, kSignatureBytes) == 0;
}

}  // namespace

bool LoadPng(const TString& name, uint32_t*& pixels, int& width, int& height, int& side, bool& hasAlpha) {
    pixels = nullptr;
    PngDecode d;
    d.name = &name;
    if (!d.file.Open(name, kFileReadBinary)) {
        DebugLog("LoadPng: cannot open %s", name.c_str());
        return false;
    }
    if (!HasSignature(d.file)) {
        DebugLog("LoadPng: %s is not a PNG file", name.c_str());
        return false;
    }
    d.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &d, OnError, nullptr);
    if (!d.png) {
        DebugLog("LoadPng: %s: Visual PNG: out of memory", name.c_str());
        return false;
    }
    bool decoded = Decode(d);
    png_destroy_read_struct(&d.png, d.info ? &d.info : nullptr, nullptr);
    std::free(d.rows);
    if (!decoded) {
        FreePngPixels(d.pixels);
        return false;
    }
    pixels = d.pixels;
    width = static_cast<int>(d.width);
    height = static_cast<int>(d.height);
    side = static_cast<int>(d.side);
    hasAlpha = d.hasAlpha;
    return true;
}

void FreePngPixels(uint32_t* pixels) {
    std::free(pixels);
}
