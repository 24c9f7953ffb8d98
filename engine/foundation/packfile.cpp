#include "foundation/packfile.h"

#include "foundation/byteorder.h"
#include "foundation/debuglog.h"
#include "foundation/file.h"
#include "platform/os/directory.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<TFileMapHandler> gPackFiles;

bool ReadUint32(TFile& file, uint32_t& value) {
    unsigned char bytes[4];
    if (file.Read(bytes, 4) != 4) return false;
    value = ReadU32LE(bytes);
    return true;
}

struct PackRecord {
    TString name;
    int32_t offset = 0;
    int32_t size = 0;
};

bool ReadRecord(TFile& file, PackRecord& record) {
    unsigned char length = 0;
    char name[256];
    uint32_t offset = 0, size = 0;
    if (file.Read(&length, 1) != 1 || file.Read(name, length) != length || !ReadUint32(file, offset) ||
        !ReadUint32(file, size)) {
        return false;
    }
    // A zero inside the name would cut it short and merge it with another entry's.
    record.name = memchr(name, 0, length) ? TString() : TString(name, length);
    record.name.ToLower();
    record.offset = static_cast<int32_t>(offset);
    record.size = static_cast<int32_t>(size);
    return true;
}

// Entries that cannot be entered: without a usable name (enumeration, which
// restarts from an empty name, would never get past a nameless one), with a
// name of the player's or raw files, or lying outside the file.
bool Usable(const PackRecord& record, long fileSize) {
    return record.name.Length() > 0 && !IsRootedName(record.name) && record.offset >= 0 && record.size >= 0 &&
           static_cast<int64_t>(record.offset) + record.size <= fileSize;
}

// Enters the index records into the table, skipping entries that cannot be
// entered and stopping where the index is cut short.
void ReadIndex(TFile& file, int index, const TString& path, TVirtualFileTable& table) {
    const long fileSize = file.GetSize();
    uint32_t count = 0;
    if (!ReadUint32(file, count)) {
        DebugLog("AddPackFile: index of %s is cut short", path.c_str());
        return;
    }
    uint32_t skipped = 0;
    for (uint32_t i = 0; i < count; ++i) {
        PackRecord record;
        if (!ReadRecord(file, record)) {
            DebugLog("AddPackFile: index of %s is cut short after %u of %u entries", path.c_str(), i, count);
            break;
        }
        if (!Usable(record, fileSize)) {
            ++skipped;
            continue;
        }
        table[record.name] = TString::Format("@%d:%ld,%ld", index, static_cast<long>(record.offset),
                                             static_cast<long>(record.size));
    }
    // One line per pack: a damaged index may hold millions of such entries.
    if (skipped > 0) {
        DebugLog("AddPackFile: skipped %u entries of %s without a usable name or outside the file", skipped,
                 path.c_str());
    }
}

}  // namespace

bool AddPackFile(TVirtualFileTable& table, const TString& path) {
    auto mounted = std::find_if(gPackFiles.begin(), gPackFiles.end(),
                                [&](const TFileMapHandler& pack) { return pack.Name() == path; });
    const int index = static_cast<int>(mounted - gPackFiles.begin());
    // Entries still open keep the old file open; new opens see the new one.
    if (mounted != gPackFiles.end()) mounted->Release();

    TFile file;
    if (!file.Open(path, kFileReadBinary)) return false;
    char magic[4];
    if (file.Read(magic, 4) != 4 || memcmp(magic, "QMPK", 4) != 0) return false;
    ReadIndex(file, index, path, table);

    TFileMapHandler handler;
    if (!handler.Open(path)) DebugLog("Failed to open flat file %s", path.c_str());
    if (index == static_cast<int>(gPackFiles.size())) {
        gPackFiles.push_back(handler);
    } else {
        gPackFiles[index] = handler;
    }
    return true;
}

void MountPackFiles(const TString& folder, TVirtualFileTable& table) {
    os::DirectoryIterator it;
    if (!it.Open(folder.c_str())) return;
    std::vector<std::string> packs;
    std::string name;
    while (it.Next(name, nullptr)) {
        if (name.find(".qmp") != std::string::npos) packs.push_back(name);
    }
    // Directory order is arbitrary; a fixed order decides which pack wins a shared name.
    std::sort(packs.begin(), packs.end());
    for (const std::string& pack : packs) AddPackFile(table, TString("::assets/") + pack.c_str());
}

const TFileMapHandler* GetPackFile(int index) {
    if (index < 0 || index >= static_cast<int>(gPackFiles.size())) return nullptr;
    return &gPackFiles[index];
}
