// Pack files (".qmp"): many assets in one file, held open, whose entries
// are entered in a virtual-file table as "@pack:offset,size" targets.
//
// Layout, little-endian: "QMPK", entry count (u32), then per entry a name
// length (u8), the name, the offset from the start of the file (i32) and the
// size (i32). Entry data may lie anywhere in the file.
#pragma once

#include "foundation/filemap.h"
#include "foundation/virtualfiles.h"

// Reads a pack's index into the table and keeps the pack open. Mounting a path
// again keeps its pack number. False when the file is missing or is no pack.
bool AddPackFile(TVirtualFileTable& table, const TString& path);

// Mounts every file of the folder whose name contains ".qmp", as
// "::assets/" + its name (only packs in the asset folder itself are found).
void MountPackFiles(const TString& folder, TVirtualFileTable& table);

// The mounted pack with that number, or null.
const TFileMapHandler* GetPackFile(int index);
