// The virtual-file table: lower-case virtual names mapped to what they name,
// a disk path (in its on-disk letter case), a pack entry "@pack:offset,size"
// or a memory block "&address,length".
//
// Names are case-insensitive. Kinds of names:
//   plain asset names ("fonts/a.mvec"), registered by the start-up scan of the
//     "assets" folder, also written "assets/fonts/a.mvec" or "assets\fonts/a.mvec";
//   "user:", "common:" and "desktop:" names, below the data folders;
//   "::" raw disk paths, relative to the working folder or absolute.
#pragma once

#include <cstddef>
#include <map>

#include "foundation/tstring.h"

using TVirtualFileTable = std::map<TString, TString>;

// The folders behind "user:", "common:" and "desktop:"; each may be empty.
void SetDataFolders(const TString& userFolder, const TString& commonFolder, const TString& desktopFolder);

// What a virtual name names, or empty. With check (reading), names hidden by
// the manifest and rooted files that do not exist give empty; without it
// (writing), a rooted name gives its path whether or not the file exists,
// and a name of a pack entry or memory block gives empty (logged).
// A "::" raw path must name an existing, readable file either way.
TString ResolvePath(const TString& name, bool check);

// Whether the name begins "user:", "common:", "desktop:" or "::": names that
// pack entries and asset files may not take.
bool IsRootedName(const TString& name);

// Registers a block of memory as a read-only file; a null address removes the name.
void RegisterMemoryFile(const TString& name, const void* address, size_t length);

// Steps through the table names that begin with prefix, in order. Pass an
// empty name to start and the last result to go on; false at the end. Unless
// recursive, names in sub-folders below the prefix are passed over.
bool FindVirtualFile(const TString& prefix, TString& name, bool recursive);

// Start-up scan from the working folder: reads the manifest ("final.txt", or
// "firstpeek.txt" when the setting "firstpeek" is on) of names to hide, scans
// "assets", and then, unless the setting "activex" is "1", the user and
// common folders.
void LoadAssetManifest();

// Empties the table and the set of hidden names.
void ClearVirtualFiles();

// Registers every file of a folder tree, after mounting the folder's packs.
// With a prefix ("user:"), names are prefix + path below the folder; without
// one, names are the folder's path (less a leading "assets/") + path below it.
void ScanFolder(const TString& folder, const TString& prefix);

// Before a disk path is opened for writing: creates the missing folders
// between the user or the common folder and the file.
void CreateFoldersForWrite(const TString& path);
