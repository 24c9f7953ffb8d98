// Read-only file data of one pack entry (target "@pack:offset,size"), read
// from the pack's open file, which it keeps open while it is open itself.
#pragma once

#include <memory>
#include <vector>

#include "foundation/file.h"
#include "foundation/filemap.h"

class TFlatFileMap : public TFileData {
public:
    bool Open(const TString& target, int mode) override;
    void Close() override;
    void UngetChar() override;
    bool Seek(long offset, int origin) override;
    long GetSize() override { return mSize; }
    long Tell() override { return mPosition; }
    // A pack that shrank on disk since it was mounted gives a short read and
    // a log line.
    size_t Read(void* buffer, size_t count) override;
    size_t Write(const void*, size_t) override { return 0; }
    // Set only when a read was cut short by the end of the entry.
    bool Eof() override { return mEof; }

private:
    // The cached bytes at the position and how many follow, or null.
    const unsigned char* Cached(size_t& available) const;
    // Caches the bytes from the position on; false (logged) on a read error.
    bool Fill();
    // Reads straight into the caller's buffer, for runs longer than the cache.
    bool ReadDirect(unsigned char* out, size_t count);
    bool ReadFailed();
    size_t ReadBinary(unsigned char* out, size_t count);
    size_t ReadText(unsigned char* out, size_t count);

    std::shared_ptr<TFileMapData> mMap;
    TString mTarget;
    long mOffset = 0;  // of the entry in the pack
    long mSize = 0;
    long mPosition = 0;
    int mMode = 0;
    bool mEof = true;
    // Small reads (a character at a time from the XML reader) come from here.
    std::vector<unsigned char> mCache;
    long mCacheStart = 0;
    long mCacheLength = 0;
};
