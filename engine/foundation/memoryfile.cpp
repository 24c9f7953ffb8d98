#include "foundation/memoryfile.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

// Mode kFileReadText drops every "\r"; the position then advances over the
// dropped bytes too. Count is cut to what remains after the position.
size_t ReadMemoryBytes(const unsigned char* data, long size, long& position, int mode,
                       void* buffer, size_t count) {
    long remaining = size - position;
    if (remaining <= 0 || count == 0) return 0;
    size_t available = static_cast<size_t>(remaining);
    if (count > available) count = available;
    unsigned char* out = static_cast<unsigned char*>(buffer);
    if (mode != kFileReadText) {
        memcpy(out, data + position, count);
        position += static_cast<long>(count);
        return count;
    }
    size_t kept = 0;
    while (kept < count && position < size) {
        unsigned char byte = data[position++];
        if (byte != '\r') out[kept++] = byte;
    }
    return kept;
}

}  // namespace

long SeekTarget(long position, long size, long offset, int origin) {
    if (origin == kSeekCurrent) return position + offset;
    if (origin == kSeekEnd) return size + offset;
    return offset;
}

TString MemoryFileTarget(const void* address, size_t length) {
    return TString::Format("&%llu,%llu", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(address)),
                           static_cast<unsigned long long>(length));
}

bool TMemoryFile::Open(const TString& target, int mode) {
    Close();
    mMode = mode;
    int comma = target.FindChar(',');
    if (!IsReadMode(mode) || target.CharAt(0) != '&' || comma < 0) return false;
    uintptr_t address = static_cast<uintptr_t>(strtoull(target.c_str() + 1, nullptr, 10));
    unsigned long long length = strtoull(target.c_str() + comma + 1, nullptr, 10);
    if (address == 0 || length > static_cast<unsigned long long>(LONG_MAX)) return false;
    mData = reinterpret_cast<const unsigned char*>(address);
    mSize = static_cast<long>(length);
    mPosition = 0;
    return true;
}

void TMemoryFile::Close() {
    mData = nullptr;
    mSize = 0;
    mPosition = 0;
}

void TMemoryFile::UngetChar() { Seek(-1, kSeekCurrent); }

bool TMemoryFile::Seek(long offset, int origin) {
    if (!mData) return false;
    mPosition = std::clamp(SeekTarget(mPosition, mSize, offset, origin), 0L, mSize);
    return true;
}

size_t TMemoryFile::Read(void* buffer, size_t count) {
    if (!mData) return 0;
    return ReadMemoryBytes(mData, mSize, mPosition, mMode, buffer, count);
}
