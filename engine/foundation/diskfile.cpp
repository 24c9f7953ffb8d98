#include "foundation/diskfile.h"

#include <sys/stat.h>

namespace {

const char* StdioMode(int mode) {
    switch (mode) {
        case kFileReadBinary: return "rb";
        case kFileWriteBinary: return "wb";
        case kFileWriteText: return "wt";
        case kFileAppendBinary: return "ab";
        case kFileAppendText: return "at";
        default: return "rt";
    }
}

}  // namespace

bool TDiskFileData::Open(const TString& path, int mode) {
    Close();
    mFile = fopen(path.c_str(), StdioMode(mode));
    mTextMode = IsReadMode(mode) && mode != kFileReadBinary;
    // stdio opens folders for reading too; they are no files here.
    struct stat info;
    if (mFile && (fstat(fileno(mFile), &info) != 0 || S_ISDIR(info.st_mode))) Close();
    return mFile != nullptr;
}

void TDiskFileData::Close() {
    if (mFile) fclose(mFile);
    mFile = nullptr;
    mLastByte = -1;
}

void TDiskFileData::UngetChar() {
    if (!mFile || mLastByte < 0) return;
    ungetc(mLastByte, mFile);
    mLastByte = -1;
}

bool TDiskFileData::Seek(long offset, int origin) {
    if (!mFile) return false;
    long base = 0;
    if (origin == kSeekCurrent) {
        base = ftell(mFile);
    } else if (origin == kSeekEnd) {
        base = GetSize();
    }
    if (base < 0) return false;
    long target = base + offset;
    mLastByte = -1;
    return fseek(mFile, target < 0 ? 0 : target, SEEK_SET) == 0;
}

long TDiskFileData::GetSize() {
    if (!mFile) return 0;
    long position = ftell(mFile);
    if (position < 0 || fseek(mFile, 0, SEEK_END) != 0) return 0;
    long size = ftell(mFile);
    fseek(mFile, position, SEEK_SET);
    return size < 0 ? 0 : size;
}

long TDiskFileData::Tell() { return mFile ? ftell(mFile) : -1; }

size_t TDiskFileData::Read(void* buffer, size_t count) {
    if (!mFile || count == 0) return 0;
    unsigned char* bytes = static_cast<unsigned char*>(buffer);
    size_t kept = 0;
    while (kept < count) {
        size_t read = fread(bytes + kept, 1, count - kept, mFile);
        if (read == 0) break;
        size_t end = kept + read;
        if (!mTextMode) {
            kept = end;
            continue;
        }
        // Text reads drop carriage returns, as reads of pack entries do.
        for (size_t i = kept; i < end; ++i) {
            if (bytes[i] != '\r') bytes[kept++] = bytes[i];
        }
    }
    if (kept > 0) mLastByte = bytes[kept - 1];
    return kept;
}

size_t TDiskFileData::Write(const void* buffer, size_t count) {
    if (!mFile || count == 0) return 0;
    mLastByte = -1;
    return fwrite(buffer, 1, count, mFile);
}

bool TDiskFileData::Eof() { return !mFile || feof(mFile); }
