// File data of a disk file, through C stdio.
#pragma once

#include <cstdio>

#include "foundation/file.h"

class TDiskFileData : public TFileData {
public:
    ~TDiskFileData() override { Close(); }

    // Opens a disk path (not a virtual name).
    bool Open(const TString& path, int mode) override;
    void Close() override;
    void UngetChar() override;
    bool Seek(long offset, int origin) override;
    long GetSize() override;
    long Tell() override;
    size_t Read(void* buffer, size_t count) override;
    size_t Write(const void* buffer, size_t count) override;
    bool Eof() override;

private:
    FILE* mFile = nullptr;
    int mLastByte = -1;  // last byte read, for UngetChar; -1 when none
    bool mTextMode = false;  // reading text: carriage returns are dropped
};
