// A regular file held open for reading at any offset. Reads go through the
// descriptor, so a file that shrinks or is rewritten while open gives short
// reads, never a fault.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace os {

class ReadOnlyFile {
public:
    ReadOnlyFile() = default;
    ~ReadOnlyFile() { Close(); }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    // Opens an existing regular file; whatever was open before is closed first.
    bool Open(const std::string& path);
    void Close();

    bool IsOpen() const { return mFd >= 0; }
    // The size when the file was opened.
    size_t Size() const { return mSize; }

    // Reads up to count bytes at offset; returns how many came, fewer when
    // the file now ends earlier, or -1 on a read error.
    long ReadAt(uint64_t offset, void* buffer, size_t count) const;

private:
    int mFd = -1;
    size_t mSize = 0;
};

}  // namespace os
