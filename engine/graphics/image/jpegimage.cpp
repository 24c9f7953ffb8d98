#include "graphics/image/jpegimage.h"

// jpeglib.h needs size_t and FILE declared before it.
#include <cstddef>
#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

#include <csetjmp>
#include <cstdlib>

#include "foundation/debuglog.h"
#include "foundation/file.h"
#include "graphics/image/imagesize.h"

namespace {

const size_t kInputBufferBytes = 4096;
const long kMaxMemoryToUse = 0x1000000;

// The library's fatal errors jump back here instead of ending the process.
struct ErrorManager {
    jpeg_error_mgr standard;
    const TString* name;
    jmp_buf jump;
};

// Feeds the decompressor from an engine file.
struct SourceManager {
    jpeg_source_mgr standard;
    TFile* file;
    JOCTET* buffer;
    bool startOfFile;
};

// What one decode owns; the error path jumps back into Decode, so it lives
// here in memory rather than in locals.
struct JpegDecode {
    ErrorManager errors;
    jpeg_decompress_struct info;
    bool created = false;
    TFile file;
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t side = 0;
    uint32_t* pixels = nullptr;
};

void LogMessage(j_common_ptr info, const char* kind) {
    char message[JMSG_LENGTH_MAX];
    info->err->format_message(info, message);
    const ErrorManager* errors = reinterpret_cast<const ErrorManager*>(info->err);
    DebugLog("LoadJpeg: %s: %s%s", errors->name->c_str(), kind, message);
}

[[noreturn]] void OnError(j_common_ptr info) {
    LogMessage(info, "");
    longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void OnMessage(j_common_ptr info) {
    LogMessage(info, "warning: ");
}

void InitSource(j_decompress_ptr info) {
    reinterpret_cast<SourceManager*>(info->src)->startOfFile = true;
}

// An empty file is an error; a file that ends early gets a fake end-of-image
// marker, so what was read still decodes.
boolean FillInputBuffer(j_decompress_ptr info) {
    SourceManager* source = reinterpret_cast<SourceManager*>(info->src);
    size_t count = source->file->Read(source->buffer, kInputBufferBytes);
    if (count == 0) {
        if (source->startOfFile) ERREXIT(info, JERR_INPUT_EMPTY);
        WARNMS(info, JWRN_JPEG_EOF);
        source->buffer[0] = 0xFF;
        source->buffer[1] = JPEG_EOI;
        count = 2;
    }
    source->standard.next_input_byte = source->buffer;
    source->standard.bytes_in_buffer = count;
    source->startOfFile = false;
    return TRUE;
}

void SkipInputData(j_decompress_ptr info, long count) {
    if (count <= 0) return;
    jpeg_source_mgr* source = info->src;
    while (count > static_cast<long>(source->bytes_in_buffer)) {
        count -= static_cast<long>(source->bytes_in_buffer);
        source->fill_input_buffer(info);
    }
    source->next_input_byte += count;
    source->bytes_in_buffer -= static_cast<size_t>(count);
}

void TermSource(j_decompress_ptr) {}

void InstallSource(j_decompress_ptr info, TFile* file) {
    auto alloc = info->mem->alloc_small;
    j_common_ptr common = reinterpret_cast<j_common_ptr>(info);
    auto* source = static_cast<SourceManager*>(alloc(common, JPOOL_PERMANENT, sizeof(SourceManager)));
    source->buffer = static_cast<JOCTET*>(alloc(common, JPOOL_PERMANENT, kInputBufferBytes));
    source->file = file;
    source->startOfFile = true;
    source->standard.init_source = InitSource;
    source->standard.fill_input_buffer = FillInputBuffer;
    source->standard.skip_input_data = SkipInputData;
    source->standard.resync_to_restart = jpeg_resync_to_restart;
    source->standard.term_source = TermSource;
    source->standard.bytes_in_buffer = 0;
    source->standard.next_input_byte = nullptr;
    info->src = &source->standard;
}

bool Decode(JpegDecode& d, const TString& name) {
    if (setjmp(d.errors.jump)) return false;
    jpeg_create_decompress(&d.info);
    d.created = true;
    d.info.mem->max_memory_to_use = kMaxMemoryToUse;
    InstallSource(&d.info, &d.file);
    jpeg_read_header(&d.info, TRUE);
    d.info.out_color_space = JCS_EXT_BGRA;
    d.width = d.info.image_width;
    d.height = d.info.image_height;
    d.side = SquareSideFor("LoadJpeg", name, d.width, d.height);
    if (d.side == 0) return false;
    d.pixels = static_cast<uint32_t*>(std::calloc(SquareBufferBytes(d.side), 1));
    if (!d.pixels) {
        DebugLog("LoadJpeg: %s: out of memory", name.c_str());
        return false;
    }
    jpeg_start_decompress(&d.info);
    while (d.info.output_scanline < d.info.output_height) {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(d.pixels + static_cast<size_t>(d.info.output_scanline) * d.side);
        jpeg_read_scanlines(&d.info, &row, 1);
    }
    jpeg_finish_decompress(&d.info);
    return true;
}

}  // namespace

bool LoadJpeg(const TString& name, uint32_t*& pixels, int& width, int& height, int& side) {
    pixels = nullptr;
    JpegDecode d;
    if (!d.file.Open(name, kFileReadBinary)) {
        DebugLog("LoadJpeg: cannot open %s", name.c_str());
        return false;
    }
    d.info.err = jpeg_std_error(&d.errors.standard);
    d.errors.standard.error_exit = OnError;
    d.errors.standard.output_message = OnMessage;
    d.errors.name = &name;
    bool decoded = Decode(d, name);
    if (d.created) jpeg_destroy_decompress(&d.info);
    if (!decoded) {
        FreeJpegPixels(d.pixels);
        return false;
    }
    pixels = d.pixels;
    width = static_cast<int>(d.width);
    height = static_cast<int>(d.height);
    side = static_cast<int>(d.side);
    return true;
}

void FreeJpegPixels(uint32_t* pixels) {
    std::free(pixels);
}
