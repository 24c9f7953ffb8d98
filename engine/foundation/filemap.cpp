#include "foundation/filemap.h"

#include "platform/os/paths.h"

bool TFileMapData::Open(const TString& path) {
    Close();
    const char* disk = path.c_str();
    if (disk[0] == ':' && disk[1] == ':') disk += 2;
    std::string full = os::AbsolutePath(disk);
    return !full.empty() && mFile.Open(full);
}

bool TFileMapHandler::Open(const TString& path) {
    mName = path;
    auto data = std::make_shared<TFileMapData>();
    if (!data->Open(path)) {
        mData.reset();
        return false;
    }
    mData = std::move(data);
    return true;
}
