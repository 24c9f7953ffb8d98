// Read-only file data over a block of memory registered under a file name
// (target "&address,length").
#pragma once

#include <cstdint>

#include "foundation/file.h"

// The position a seek asks for, before it is kept within 0..size; shared by
// the files that are views of bytes.
long SeekTarget(long position, long size, long offset, int origin);

class TMemoryFile : public TFileData {
public:
    // Opens a target "&address,length"; read modes only.
    bool Open(const TString& target, int mode) override;
    void Close() override;
    void UngetChar() override;
    bool Seek(long offset, int origin) override;
    long GetSize() override { return mSize; }
    long Tell() override { return mPosition; }
    size_t Read(void* buffer, size_t count) override;
    size_t Write(const void*, size_t) override { return 0; }
    // True as soon as the position reaches the size.
    bool Eof() override { return mPosition == mSize; }

private:
    const unsigned char* mData = nullptr;
    long mSize = 0;
    long mPosition = 0;
    int mMode = 0;
};

// The table target that names a block of memory.
TString MemoryFileTarget(const void* address, size_t length);
