// Read-only mappings of whole files, shared by the pack that mounted them and
// the pack entries open in them.
#pragma once

#include <cstddef>
#include <memory>

#include "foundation/tstring.h"
#include "platform/os/mappedfile.h"

// The mapping of one file.
class TFileMapData {
public:
    // Maps a disk path (a leading "::" is dropped); whatever was held is released first.
    bool Open(const TString& path);
    void Close() { mMap.Close(); }

    bool IsOpen() const { return mMap.IsOpen(); }
    const unsigned char* Base() const { return mMap.Data(); }
    size_t Size() const { return mMap.Size(); }

private:
    os::MappedFile mMap;
};

// One mounted pack: its mapping and the name it was opened by. The mapping is
// released when the last owner (the pack list or an open entry) lets go.
class TFileMapHandler {
public:
    // Maps the path into a new mapping and keeps the path as the name.
    bool Open(const TString& path);
    // Gives up this handler's share of the mapping.
    void Release() { mData.reset(); }

    const TString& Name() const { return mName; }
    // The mapping, or null when it failed or was released.
    std::shared_ptr<TFileMapData> Data() const { return mData; }

private:
    std::shared_ptr<TFileMapData> mData;
    TString mName;
};
