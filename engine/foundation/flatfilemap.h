// Read-only file data of one pack entry (target "@pack:offset,size"), a view
// into the pack's mapping that keeps the mapping alive while open.
#pragma once

#include <memory>

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
    size_t Read(void* buffer, size_t count) override;
    size_t Write(const void*, size_t) override { return 0; }
    // Set only when a read was cut short by the end of the entry.
    bool Eof() override { return mEof; }

private:
    std::shared_ptr<TFileMapData> mMap;
    const unsigned char* mData = nullptr;
    long mSize = 0;
    long mPosition = 0;
    int mMode = 0;
    bool mEof = true;
};
