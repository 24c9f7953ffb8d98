#include "sound/oggsource.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>

#include "foundation/file.h"

namespace {

// Gaps skipped in one read before the stream counts as broken.
const int kMaxHoles = 64;

struct MemoryBlock {
    std::vector<uint8_t> bytes;
    size_t position = 0;
};

size_t ReadMemory(void* destination, size_t size, size_t count, void* source) {
    auto* block = static_cast<MemoryBlock*>(source);
    if (size == 0) {
        return 0;
    }
    size_t items = std::min(count, (block->bytes.size() - block->position) / size);
    if (items > 0) {
        std::memcpy(destination, block->bytes.data() + block->position, items * size);
        block->position += items * size;
    }
    return items;
}

// Clamps into [0, size]; offsets of any size, without overflow.
int SeekMemory(void* source, ogg_int64_t offset, int origin) {
    auto* block = static_cast<MemoryBlock*>(source);
    auto size = static_cast<ogg_int64_t>(block->bytes.size());
    ogg_int64_t base;
    switch (origin) {
        case SEEK_SET: base = 0; break;
        case SEEK_CUR: base = static_cast<ogg_int64_t>(block->position); break;
        case SEEK_END: base = size; break;
        default: return -1;
    }
    ogg_int64_t target = offset < -base ? 0 : offset > size - base ? size : base + offset;
    block->position = static_cast<size_t>(target);
    return 0;
}

int CloseMemory(void* source) {
    delete static_cast<MemoryBlock*>(source);
    return 0;
}

long TellMemory(void* source) {
    return static_cast<long>(static_cast<MemoryBlock*>(source)->position);
}

// Whole items only: a trailing part of an item is given back to the file.
size_t ReadFile(void* destination, size_t size, size_t count, void* source) {
    auto* file = static_cast<TFile*>(source);
    if (size == 0 || count > SIZE_MAX / size) {
        return 0;
    }
    size_t bytes = FileRead(file, destination, size * count);
    size_t partial = bytes % size;
    if (partial != 0) {
        FileSeek(file, -static_cast<long>(partial), kSeekCurrent);
    }
    return bytes / size;
}

int SeekFile(void* source, ogg_int64_t offset, int origin) {
    int fileOrigin;
    switch (origin) {
        case SEEK_SET: fileOrigin = kSeekStart; break;
        case SEEK_CUR: fileOrigin = kSeekCurrent; break;
        case SEEK_END: fileOrigin = kSeekEnd; break;
        default: return -1;
    }
    if (offset < LONG_MIN || offset > LONG_MAX) {
        return -1;
    }
    return FileSeek(static_cast<TFile*>(source), static_cast<long>(offset), fileOrigin) ? 0 : -1;
}

int CloseFile(void* source) {
    FileClose(static_cast<TFile*>(source));
    return 0;
}

long TellFile(void* source) {
    return FileTell(static_cast<TFile*>(source));
}

const ov_callbacks kMemoryCallbacks = {ReadMemory, SeekMemory, CloseMemory, TellMemory};
const ov_callbacks kFileCallbacks = {ReadFile, SeekFile, CloseFile, TellFile};

// The stream, or null; a source the stream did not take is closed here.
TOggStreamPtr Open(void* source, const ov_callbacks& callbacks) {
    TOggStreamPtr stream(new OggVorbis_File);
    if (ov_open_callbacks(source, stream.get(), nullptr, 0, callbacks) != 0) {
        // The stream is not open, so it must not be cleared.
        delete stream.release();
        callbacks.close_func(source);
        return nullptr;
    }
    return stream;
}

}  // namespace

void TOggStreamClose::operator()(OggVorbis_File* stream) const {
    ov_clear(stream);
    delete stream;
}

TOggStreamPtr OpenOggMemory(std::vector<uint8_t> bytes) {
    auto* block = new MemoryBlock;
    block->bytes = std::move(bytes);
    return Open(block, kMemoryCallbacks);
}

TOggStreamPtr OpenOggFile(TFile* file) {
    return Open(file, kFileCallbacks);
}

uint32_t ReadOggPcm(OggVorbis_File* stream, uint8_t* destination, uint32_t bytes, uint32_t frameBytes, bool* ended) {
    uint32_t written = 0;
    int holes = 0;
    *ended = false;
    while (frameBytes > 0 && bytes - written >= frameBytes) {
        int length = static_cast<int>(std::min<uint32_t>(bytes - written, INT_MAX));
        int section = 0;
        long got = ov_read(stream, reinterpret_cast<char*>(destination + written), length, 0, 2, 1, &section);
        if (got > 0) {
            written += static_cast<uint32_t>(got);
        } else if (got != OV_HOLE || ++holes > kMaxHoles) {
            // 0 is the end; any other error ends the source too.
            *ended = true;
            break;
        }
    }
    return written;
}
