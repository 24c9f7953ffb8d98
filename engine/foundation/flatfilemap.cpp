#include "foundation/flatfilemap.h"

#include "foundation/debuglog.h"
#include "foundation/memoryfile.h"
#include "foundation/packfile.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

// Bytes read ahead for small reads.
const long kCacheSize = 4096;

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
    bool inside = map && offset >= 0 && size >= 0 && static_cast<size_t>(offset) <= map->Size() &&
                  static_cast<size_t>(size) <= map->Size() - static_cast<size_t>(offset);
    if (!inside) {
        DebugLog("error reading %s from flat file", target.c_str());
        return false;
    }
    mMap = std::move(map);
    mTarget = target;
    mOffset = offset;
    mSize = size;
    mMode = mode;
    mPosition = 0;
    mEof = false;
    return true;
}

void TFlatFileMap::Close() {
    mMap.reset();
    mOffset = 0;
    mSize = 0;
    mPosition = 0;
    mEof = true;
    mCacheStart = 0;
    mCacheLength = 0;
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
    const size_t remaining = static_cast<size_t>(mSize - mPosition);
    if (remaining < count) {
        mEof = true;
        count = remaining;
    }
    unsigned char* out = static_cast<unsigned char*>(buffer);
    return mMode == kFileReadText ? ReadText(out, count) : ReadBinary(out, count);
}

const unsigned char* TFlatFileMap::Cached(size_t& available) const {
    if (mPosition < mCacheStart || mPosition >= mCacheStart + mCacheLength) return nullptr;
    available = static_cast<size_t>(mCacheStart + mCacheLength - mPosition);
    return mCache.data() + (mPosition - mCacheStart);
}

bool TFlatFileMap::Fill() {
    const long wanted = std::min(kCacheSize, mSize - mPosition);
    mCache.resize(static_cast<size_t>(kCacheSize));
    mCacheLength = 0;
    if (mMap->ReadAt(static_cast<uint64_t>(mOffset + mPosition), mCache.data(), static_cast<size_t>(wanted)) != wanted) {
        return ReadFailed();
    }
    mCacheStart = mPosition;
    mCacheLength = wanted;
    return true;
}

bool TFlatFileMap::ReadDirect(unsigned char* out, size_t count) {
    if (mMap->ReadAt(static_cast<uint64_t>(mOffset + mPosition), out, count) != static_cast<long>(count)) {
        return ReadFailed();
    }
    mPosition += static_cast<long>(count);
    return true;
}

// The pack changed on disk since it was mounted: the read ends here.
bool TFlatFileMap::ReadFailed() {
    DebugLog("error reading %s from flat file", mTarget.c_str());
    mEof = true;
    return false;
}

size_t TFlatFileMap::ReadBinary(unsigned char* out, size_t count) {
    size_t done = 0;
    while (done < count) {
        size_t available = 0;
        const unsigned char* cached = Cached(available);
        if (cached) {
            const size_t n = std::min(available, count - done);
            memcpy(out + done, cached, n);
            done += n;
            mPosition += static_cast<long>(n);
        } else if (count - done >= static_cast<size_t>(kCacheSize)) {
            if (!ReadDirect(out + done, count - done)) break;
            done = count;
        } else if (!Fill()) {
            break;
        }
    }
    return done;
}

// Drops every "\r"; the position moves over the dropped bytes too.
size_t TFlatFileMap::ReadText(unsigned char* out, size_t count) {
    size_t kept = 0;
    while (kept < count && mPosition < mSize) {
        size_t available = 0;
        const unsigned char* cached = Cached(available);
        if (!cached) {
            if (!Fill()) break;
            continue;
        }
        ++mPosition;
        if (*cached != '\r') out[kept++] = *cached;
    }
    return kept;
}
