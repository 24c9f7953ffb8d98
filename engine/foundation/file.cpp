#include "foundation/file.h"

#include "foundation/diskfile.h"
#include "foundation/flatfilemap.h"
#include "foundation/memoryfile.h"
#include "foundation/virtualfiles.h"

bool IsReadMode(int mode) { return mode < kFileWriteBinary || mode > kFileAppendText; }

bool TFile::Open(const TString& name, int mode) {
    Close();
    // Unlisted modes read text, the same for every kind of file.
    if (mode < kFileReadBinary || mode > kFileAppendText) mode = kFileReadText;
    TString target = ResolvePath(name, IsReadMode(mode));
    if (target.Length() == 0) return false;
    std::unique_ptr<TFileData> data;
    if (target.CharAt(0) == '@') {
        data = std::make_unique<TFlatFileMap>();
    } else if (target.CharAt(0) == '&') {
        data = std::make_unique<TMemoryFile>();
    } else {
        if (!IsReadMode(mode)) CreateFoldersForWrite(target);
        data = std::make_unique<TDiskFileData>();
    }
    if (!data->Open(target, mode)) return false;
    mData = std::move(data);
    return true;
}

void TFile::Close() {
    if (mData) mData->Close();
    mData.reset();
}

size_t TFile::Read(void* buffer, size_t count) { return mData && buffer ? mData->Read(buffer, count) : 0; }

size_t TFile::Write(const void* buffer, size_t count) { return mData && buffer ? mData->Write(buffer, count) : 0; }

bool TFile::Seek(long offset, int origin) { return mData && mData->Seek(offset, origin); }

long TFile::Tell() { return mData ? mData->Tell() : -1; }

long TFile::GetSize() { return mData ? mData->GetSize() : 0; }

bool TFile::Eof() { return !mData || mData->Eof(); }

void TFile::UngetChar() {
    if (mData) mData->UngetChar();
}

int TFile::Getc() {
    unsigned char byte = 0;
    if (Eof() || Read(&byte, 1) != 1) return -1;
    return byte;
}

char* TFile::Gets(char* buffer, int size) {
    if (!buffer || size <= 0) return nullptr;
    int count = 0;
    while (count < size - 1) {
        int c = Getc();
        if (c < 0) break;
        buffer[count++] = static_cast<char>(c);
        if (c == '\n' || c == '\r') break;
    }
    buffer[count] = '\0';
    // A last line without a line end still counts; only an empty read ends.
    return count > 0 ? buffer + count : nullptr;
}

TFile* FileOpen(const TString& name, int mode) {
    TFile* file = new TFile;
    if (file->Open(name, mode)) return file;
    delete file;
    return nullptr;
}

void FileClose(TFile* file) { delete file; }

size_t FileRead(TFile* file, void* buffer, size_t count) { return file ? file->Read(buffer, count) : 0; }

size_t FileWrite(TFile* file, const void* buffer, size_t count) { return file ? file->Write(buffer, count) : 0; }

bool FileSeek(TFile* file, long offset, int origin) { return file && file->Seek(offset, origin); }

long FileTell(TFile* file) { return file ? file->Tell() : -1; }

bool FileEof(TFile* file) { return !file || file->Eof(); }

bool FileIsClosed(TFile* file) { return !file || file->IsClosed(); }

int FileGetc(TFile* file) { return file ? file->Getc() : -1; }

void FileUngetc(TFile* file) {
    if (file) file->UngetChar();
}

char* FileGets(TFile* file, char* buffer, int size) { return file ? file->Gets(buffer, size) : nullptr; }
