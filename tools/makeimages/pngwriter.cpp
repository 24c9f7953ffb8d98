#include "tools/makeimages/pngwriter.h"

#include <png.h>

#include <cstdio>
#include <filesystem>

namespace makeimages {

namespace {

bool WriteRows(FILE* file, int width, int height, const std::vector<unsigned char>& rgba) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    // libpng reports its errors by a jump back to here.
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        png_write_row(png, rgba.data() + static_cast<size_t>(y) * static_cast<size_t>(width) * 4);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool WritePng(const std::string& path, int width, int height, const std::vector<unsigned char>& rgba) {
    if (width <= 0 || height <= 0 || rgba.size() != static_cast<size_t>(width) * static_cast<size_t>(height) * 4) {
        std::fprintf(stderr, "makeimages: %s: the pixels do not fill %dx%d\n", path.c_str(), width, height);
        return false;
    }
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    std::string temporary = path + ".part";
    FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) {
        std::fprintf(stderr, "makeimages: cannot write %s\n", temporary.c_str());
        return false;
    }
    bool written = WriteRows(file, width, height, rgba);
    written = std::fclose(file) == 0 && written;
    if (written) std::filesystem::rename(temporary, path, error);
    if (!written || error) {
        std::fprintf(stderr, "makeimages: cannot write %s\n", path.c_str());
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

}  // namespace makeimages
