#include "foundation/flatfilemap.h"

#include "foundation/debuglog.h"
#include "foundation/memoryfile.h"
#include "foundation/packfile.h"

#include <cstdlib>

namespace {

// Parses "@pack:offset,size"; false when a part is missing.
bool ParseTarget(const TString& target, long& pack, long& offset, long& size) {
    const char* text = target.c_str();
    if (text[0] != '@') return false;
    char* end = nullptr;
    pack = strtol(text + 1, &end, 10);
    if (end == text + 1 || *end != ':') return false;
    const char* start = end + 1;
    offset = strtol(start, &end, 10);
    if (end == start || *end != ',') return false;
    start = end + 1;
    size = strtol(start, &end, 10);
    return end != start;
}

}  // namespace

bool TFlatFileMap::Open(const TString& target, int mode) {
    Close();
    long pack = 0, offset = 0, size = 0;
    // Pack entries cannot be written; refusing here keeps writes from failing unseen.
    if (!IsReadMode(mode) || !ParseTarget(target, pack, offset, size)) return false;
    const TFileMapHandler* handler = GetPackFile(static_cast<int>(pack));
    if (!handler) return false;
    std::shared_ptr<TFileMapData> map = handler->Data();
    // The pack may have changed on disk since its index was read.
    bool inside = map && offset >= 0 && size >= 0 && static_cast<size_t>(offset) <= map->Size() &&
                  static_cast<size_t>(size) <= map->Size() - static_cast<size_t>(offset);
    if (!inside) {
        DebugLog("error reading %s from flat file", target.c_str());
        return false;
    }
    mMap = std::move(map);
    mData = mMap->Base() + offset;
    mSize = size;
    mMode = mode;
    mPosition = 0;
    mEof = false;
    return true;
}

void TFlatFileMap::Close() {
    mMap.reset();
    mData = nullptr;
    mSize = 0;
    mPosition = 0;
    mEof = true;
}

void TFlatFileMap::UngetChar() {
    if (!mMap) return;
    Seek(-1, kSeekCurrent);
    mEof = false;
}

bool TFlatFileMap::Seek(long offset, int origin) {
    if (!mMap) return false;
    long target = SeekTarget(mPosition, mSize, offset, origin);
    if (target > mSize) {
        // Kept at the end; the end-of-file flag stays as it was.
        mPosition = mSize;
    } else {
        mPosition = target < 0 ? 0 : target;
        mEof = false;
    }
    return true;
}

size_t TFlatFileMap::Read(void* buffer, size_t count) {
    if (!mMap) return 0;
    if (static_cast<size_t>(mSize - mPosition) < count) mEof = true;
    return ReadMemoryBytes(mData, mSize, mPosition, mMode, buffer, count);
}
