// Pack files held open for reading, shared by the pack that mounted them and
// the pack entries open in them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "foundation/tstring.h"
#include "platform/os/readonlyfile.h"

// One open pack file. Entries are read through the descriptor rather than a
// memory view, so that a pack changed on disk gives read errors, not faults.
class TFileMapData {
public:
    // Opens a disk path (a leading "::" is dropped); whatever was held is released first.
    bool Open(const TString& path);
    void Close() { mFile.Close(); }

    bool IsOpen() const { return mFile.IsOpen(); }
    // The size when the pack was opened.
    size_t Size() const { return mFile.Size(); }
    // Bytes read at offset: fewer than asked when the file now ends earlier, -1 on error.
    long ReadAt(uint64_t offset, void* buffer, size_t count) const { return mFile.ReadAt(offset, buffer, count); }

private:
    os::ReadOnlyFile mFile;
};

// One mounted pack: its open file and the name it was opened by. The file is
// closed when the last owner (the pack list or an open entry) lets go.
class TFileMapHandler {
public:
    // Opens the path as a new pack file and keeps the path as the name.
    bool Open(const TString& path);
    // Gives up this handler's share of the file.
    void Release() { mData.reset(); }

    const TString& Name() const { return mName; }
    // The open file, or null when it failed or was released.
    std::shared_ptr<TFileMapData> Data() const { return mData; }

private:
    std::shared_ptr<TFileMapData> mData;
    TString mName;
};
