// Image decoding through the engine's file layer from a pack, against the
// plain libraries decoding the same bytes from memory with the same output:
// a 1024x1024 RGBA and an 800x600 RGB PNG, and an 800x600 JPEG.
#include <benchmark/benchmark.h>
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "foundation/virtualfiles.h"
#include "graphics/image/jpegimage.h"
#include "graphics/image/pngimage.h"
#include "tests/graphics/image/imagetesting.h"
#include "tests/support/tempfolder.h"

namespace {

// A picture that compresses like artwork: smooth gradients with some noise.
uint32_t Artwork(int x, int y) {
    uint32_t noise = static_cast<uint32_t>(x * 7919 + y * 104729) * 2654435761u >> 28;
    return static_cast<uint32_t>((x + y) / 8 % 256) << 24 | static_cast<uint32_t>(x / 4 % 256) << 16 |
           static_cast<uint32_t>(y / 3 % 256) << 8 | (noise + static_cast<uint32_t>(x * y / 64)) % 256;
}

std::vector<uint8_t> ArtworkRgb(int width, int height) {
    std::vector<uint8_t> samples;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint32_t argb = Artwork(x, y);
            samples.insert(samples.end(), {static_cast<uint8_t>(argb >> 16), static_cast<uint8_t>(argb >> 8),
                                           static_cast<uint8_t>(argb)});
        }
    }
    return samples;
}

void PutInt32(std::string& bytes, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes += static_cast<char>(value >> (8 * i) & 0xFF);
}

// The three files, in memory and in a pack of the working folder.
struct Images {
    std::string rgba = EncodePng(RgbaPng(1024, 1024, Artwork));
    std::string rgb = EncodePng(WithoutAlpha(RgbaPng(800, 600, Artwork)));
    std::string jpeg = EncodeJpeg(800, 600, 3, ArtworkRgb(800, 600), 90);
    TempFolder folder;

    Images() {
        const std::pair<const char*, const std::string*> entries[] = {
            {"rgba.png", &rgba}, {"rgb.png", &rgb}, {"photo.jpg", &jpeg}};
        size_t offset = 8;
        for (const auto& entry : entries) offset += 9 + std::strlen(entry.first);
        std::string pack = "QMPK", data;
        PutInt32(pack, 3);
        for (const auto& [name, bytes] : entries) {
            pack += static_cast<char>(std::strlen(name));
            pack += name;
            PutInt32(pack, static_cast<uint32_t>(offset + data.size()));
            PutInt32(pack, static_cast<uint32_t>(bytes->size()));
            data += *bytes;
        }
        folder.Write("assets/images.qmp", pack + data);
        std::filesystem::current_path(folder.Path());
        ScanFolder("assets", "");
    }
};

Images& GetImages() {
    static Images images;
    return images;
}

struct MemoryReader {
    const std::string* bytes;
    size_t position;
};

void ReadFromMemory(png_structp png, png_bytep data, size_t count) {
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (reader->bytes->size() - reader->position < count) png_error(png, "short");
    std::memcpy(data, reader->bytes->data() + reader->position, count);
    reader->position += count;
}

// What lives across libpng's jump.
struct PlainDecode {
    png_structp png;
    png_infop info;
    MemoryReader reader;
    uint8_t* pixels;
    png_bytep* rows;
};

// libpng alone: the same transforms into the same zeroed square buffer.
bool DecodePlain(PlainDecode& d) {
    png_structp png = d.png;
    png_infop info = d.info;
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_read_fn(png, &d.reader, ReadFromMemory);
    png_read_info(png, info);
    int depth = png_get_bit_depth(png, info), type = png_get_color_type(png, info);
    if (depth == 16) png_set_strip_16(png);
    if (type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (type == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
    if (type == PNG_COLOR_TYPE_GRAY || type == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_bgr(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    png_uint_32 width = png_get_image_width(png, info), height = png_get_image_height(png, info);
    size_t side = 1;
    while (side < std::max(width, height)) side *= 2;
    d.pixels = static_cast<uint8_t*>(std::calloc(side * side * 4, 1));
    d.rows = static_cast<png_bytep*>(std::calloc(height, sizeof(png_bytep)));
    for (png_uint_32 row = 0; row < height; ++row) d.rows[row] = d.pixels + row * side * 4;
    png_read_image(png, d.rows);
    png_read_end(png, nullptr);
    return true;
}

bool PlainPng(const std::string& bytes) {
    PlainDecode d{png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr), nullptr, {&bytes, 0},
                  nullptr, nullptr};
    d.info = png_create_info_struct(d.png);
    bool decoded = DecodePlain(d);
    png_destroy_read_struct(&d.png, &d.info, nullptr);
    if (d.pixels) benchmark::DoNotOptimize(d.pixels[0]);
    std::free(d.rows);
    std::free(d.pixels);
    return decoded;
}

// libjpeg-turbo alone, from memory, into the same zeroed square buffer.
bool PlainJpeg(const std::string& bytes) {
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGRA;
    size_t side = 1;
    while (side < std::max(info.image_width, info.image_height)) side *= 2;
    auto* pixels = static_cast<uint8_t*>(std::calloc(side * side * 4, 1));
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels + static_cast<size_t>(info.output_scanline) * side * 4;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    benchmark::DoNotOptimize(pixels[0]);
    std::free(pixels);
    return true;
}

void BM_LoadPng(benchmark::State& state, const char* name) {
    GetImages();
    for (auto _ : state) {
        uint32_t* pixels = nullptr;
        int width, height, side;
        bool alpha;
        if (!LoadPng(name, pixels, width, height, side, alpha)) state.SkipWithError("LoadPng failed");
        FreePngPixels(pixels);
    }
}

void BM_PlainPng(benchmark::State& state, const std::string Images::*file) {
    const std::string& bytes = GetImages().*file;
    for (auto _ : state) {
        if (!PlainPng(bytes)) state.SkipWithError("libpng failed");
    }
}

void BM_LoadJpeg(benchmark::State& state) {
    GetImages();
    for (auto _ : state) {
        uint32_t* pixels = nullptr;
        int width, height, side;
        if (!LoadJpeg("photo.jpg", pixels, width, height, side)) state.SkipWithError("LoadJpeg failed");
        FreeJpegPixels(pixels);
    }
}

void BM_PlainJpeg(benchmark::State& state) {
    const std::string& bytes = GetImages().jpeg;
    for (auto _ : state) PlainJpeg(bytes);
}

BENCHMARK_CAPTURE(BM_LoadPng, rgba_1024x1024_pack, "rgba.png")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PlainPng, rgba_1024x1024_memory, &Images::rgba)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadPng, rgb_800x600_pack, "rgb.png")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PlainPng, rgb_800x600_memory, &Images::rgb)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainJpeg)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
