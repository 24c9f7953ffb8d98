// File handles over disk files, pack entries and memory blocks. Names are
// virtual (see virtualfiles.h): "user:", "common:" and "desktop:" roots, "::"
// raw disk paths, and asset names registered by the start-up scan.
#pragma once

#include <cstddef>
#include <memory>

#include "foundation/tstring.h"

// Open modes, shared by every kind of file data. Any other value reads as text.
constexpr int kFileReadBinary = 0;    // "rb"
constexpr int kFileReadText = 1;      // "rt"
constexpr int kFileWriteBinary = 2;   // "wb"
constexpr int kFileWriteText = 3;     // "wt"
constexpr int kFileAppendBinary = 4;  // "ab"
constexpr int kFileAppendText = 5;    // "at"

// Seek origins.
constexpr int kSeekCurrent = 0;
constexpr int kSeekStart = 1;
constexpr int kSeekEnd = 2;

// True for the modes that read (0, 1 and every unlisted value).
bool IsReadMode(int mode);

// One open file of some kind. Positions never go below 0.
class TFileData {
public:
    virtual ~TFileData() = default;
    virtual bool Open(const TString& name, int mode) = 0;
    virtual void Close() = 0;
    // Steps back over the last byte read.
    virtual void UngetChar() = 0;
    virtual bool Seek(long offset, int origin) = 0;
    virtual long GetSize() = 0;
    virtual long Tell() = 0;
    virtual size_t Read(void* buffer, size_t count) = 0;
    virtual size_t Write(const void* buffer, size_t count) = 0;
    virtual bool Eof() = 0;
};

// A file handle. Closed handles do nothing: reads and writes give 0, Tell
// gives -1 and Eof is true. The destructor closes.
class TFile {
public:
    TFile() = default;
    ~TFile() { Close(); }
    TFile(const TFile&) = delete;
    TFile& operator=(const TFile&) = delete;

    // Resolves a virtual name and opens it; false when it cannot.
    bool Open(const TString& name, int mode);
    void Close();
    bool IsClosed() const { return !mData; }

    size_t Read(void* buffer, size_t count);
    size_t Write(const void* buffer, size_t count);
    bool Seek(long offset, int origin);
    long Tell();
    long GetSize();
    bool Eof();
    void UngetChar();

    // One byte 0..255, or -1 at the end of the file.
    int Getc();
    // Reads up to size - 1 bytes, stopping after "\n" or "\r" (kept), and
    // terminates them. Returns the terminating NUL, or null when no byte was read.
    char* Gets(char* buffer, int size);

private:
    std::unique_ptr<TFileData> mData;
};

// A new open handle, or null. Release it with FileClose.
TFile* FileOpen(const TString& name, int mode);
void FileClose(TFile* file);

size_t FileRead(TFile* file, void* buffer, size_t count);
size_t FileWrite(TFile* file, const void* buffer, size_t count);
bool FileSeek(TFile* file, long offset, int origin);
long FileTell(TFile* file);
bool FileEof(TFile* file);
bool FileIsClosed(TFile* file);
int FileGetc(TFile* file);
void FileUngetc(TFile* file);
char* FileGets(TFile* file, char* buffer, int size);

// True when the name resolves to something that can be read.
bool FileExists(const TString& name);
