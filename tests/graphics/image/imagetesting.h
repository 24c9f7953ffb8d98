// Image files made at run time with libpng and libjpeg, for the decoder and
// texture tests.
#pragma once

#include <png.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <jpeglib.h>

// A PNG to write. Rows are packed as the file keeps them (16-bit samples high
// byte first, samples below 8 bits packed from the high bit).
struct PngSpec {
    int width = 1;
    int height = 1;
    int colorType = PNG_COLOR_TYPE_RGB_ALPHA;
    int bitDepth = 8;
    bool interlaced = false;
    double gamma = 0;                   // a gAMA chunk when above 0
    std::vector<png_color> palette;     // palette images
    std::vector<png_byte> transparency; // a tRNS chunk: alpha per palette entry
    std::vector<png_byte> rows;         // height rows, packed
};

inline void AppendToString(png_structp png, png_bytep data, size_t count) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), count);
}

inline void IgnoreFlush(png_structp) {}

// Everything that lives across the jump is the caller's.
inline bool WritePng(png_structp png, png_infop info, const PngSpec& spec, png_bytep* rows, std::string& bytes) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, &bytes, AppendToString, IgnoreFlush);
    png_set_IHDR(png, info, spec.width, spec.height, spec.bitDepth, spec.colorType,
                 spec.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!spec.palette.empty()) png_set_PLTE(png, info, spec.palette.data(), static_cast<int>(spec.palette.size()));
    if (!spec.transparency.empty()) {
        png_set_tRNS(png, info, spec.transparency.data(), static_cast<int>(spec.transparency.size()), nullptr);
    }
    if (spec.gamma > 0) png_set_gAMA(png, info, spec.gamma);
    png_set_rows(png, info, rows);
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    return true;
}

// The file's bytes; empty when libpng refused the description.
inline std::string EncodePng(const PngSpec& spec) {
    std::string bytes;
    std::vector<png_bytep> rows(static_cast<size_t>(spec.height));
    size_t rowBytes = rows.empty() ? 0 : spec.rows.size() / rows.size();
    for (size_t row = 0; row < rows.size(); ++row) {
        rows[row] = const_cast<png_bytep>(spec.rows.data() + row * rowBytes);
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    bool written = WritePng(png, info, spec, rows.data(), bytes);
    png_destroy_write_struct(&png, &info);
    return written ? bytes : std::string();
}

// An 8-bit RGBA image whose pixel (x, y) is colorAt(x, y) as 0xAARRGGBB.
template <typename ColorAt>
PngSpec RgbaPng(int width, int height, ColorAt colorAt) {
    PngSpec spec;
    spec.width = width;
    spec.height = height;
    spec.rows.resize(static_cast<size_t>(std::max(width, 0)) * static_cast<size_t>(std::max(height, 0)) * 4);
    png_byte* out = spec.rows.data();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint32_t argb = colorAt(x, y);
            *out++ = static_cast<png_byte>(argb >> 16);
            *out++ = static_cast<png_byte>(argb >> 8);
            *out++ = static_cast<png_byte>(argb);
            *out++ = static_cast<png_byte>(argb >> 24);
        }
    }
    return spec;
}

// The same image without its alpha channel.
inline PngSpec WithoutAlpha(PngSpec spec) {
    std::vector<png_byte> rgb;
    for (size_t i = 0; i < spec.rows.size(); ++i) {
        if (i % 4 != 3) rgb.push_back(spec.rows[i]);
    }
    spec.rows = rgb;
    spec.colorType = PNG_COLOR_TYPE_RGB;
    return spec;
}

// A JPEG of width x height samples of the given components (1 grey, 3 RGB,
// 4 CMYK), row after row.
inline std::string EncodeJpeg(int width, int height, int components, const std::vector<uint8_t>& samples,
                              int quality = 100) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = components;
    info.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 4 ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        size_t start = static_cast<size_t>(info.next_scanline) * width * components;
        JSAMPROW row = const_cast<JSAMPROW>(samples.data() + start);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string bytes(reinterpret_cast<const char*>(buffer), size);
    free(buffer);
    return bytes;
}

// Width x height RGB samples of one colour (0xRRGGBB).
inline std::vector<uint8_t> FlatRgb(int width, int height, uint32_t rgb) {
    std::vector<uint8_t> samples;
    for (int i = 0; i < width * height; ++i) {
        samples.insert(samples.end(),
                       {static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb)});
    }
    return samples;
}
