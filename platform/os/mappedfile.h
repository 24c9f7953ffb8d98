// A read-only mapping of a whole file into memory.
#pragma once

#include <cstddef>
#include <string>

namespace os {

class MappedFile {
public:
    MappedFile() = default;
    ~MappedFile() { Close(); }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    // Maps an existing regular file; a zero-length file gives an empty view.
    // Whatever was mapped before is released first.
    bool Open(const std::string& path);
    void Close();

    bool IsOpen() const { return mOpen; }
    // Base of the view (null for an empty view); stable until Close.
    const unsigned char* Data() const { return mData; }
    size_t Size() const { return mSize; }

private:
    const unsigned char* mData = nullptr;
    size_t mSize = 0;
    bool mOpen = false;
};

}  // namespace os
