#include "foundation/virtualfiles.h"

#include "foundation/debuglog.h"
#include "foundation/file.h"
#include "foundation/memoryfile.h"
#include "foundation/packfile.h"
#include "foundation/settings.h"
#include "platform/os/directory.h"
#include "platform/os/paths.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

// Past this size the manifest is not a word list but something else; it is ignored.
const long kManifestLimit = 100000;

TVirtualFileTable gVirtualFiles;
std::set<TString> gExcluded;
TString gUserFolder;
TString gCommonFolder;
TString gDesktopFolder;

TString Lower(const TString& text) {
    TString lower = text;
    lower.ToLower();
    return lower;
}

bool StartsWith(const TString& text, const char* prefix) {
    return strncmp(text.c_str(), prefix, strlen(prefix)) == 0;
}

// Rooted names join the folder and the rest of the name with one "/".
TString FolderWithoutTrailingSeparator(const TString& folder) {
    std::string path = os::ToForwardSlashes(folder.c_str());
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path.c_str();
}

// "user:a/b.txt" and its kin: the file below the data folder, found whatever
// the letter case of the name on disk.
bool ResolveRooted(const TString& name, const TString& key, bool check, TString& result) {
    const std::pair<const char*, const TString*> roots[] = {
        {"user:", &gUserFolder}, {"common:", &gCommonFolder}, {"desktop:", &gDesktopFolder}};
    for (const auto& [prefix, folder] : roots) {
        if (!StartsWith(key, prefix)) continue;
        result = TString();
        if (folder->Length() == 0) return true;
        std::string path = os::MatchPathCase(folder->c_str(), name.c_str() + strlen(prefix));
        if (!check || os::PathAccessible(path, true)) {
            result = path.c_str();
            gVirtualFiles[key] = result;
        }
        return true;
    }
    return false;
}

// Raw paths name existing files only, for writing too.
TString ResolveRaw(const TString& name) {
    std::string path = os::MatchPathCase("", name.c_str() + 2);
    if (!os::PathAccessible(path, false)) return TString();
    // A disk file whose name starts like a pack or memory target stays a disk file.
    if (path[0] == '@' || path[0] == '&') path.insert(0, "./");
    return path.c_str();
}

void ParseManifest(const std::string& words) {
    size_t start = 0;
    while (start < words.size()) {
        size_t end = words.find_first_of(" \t\r\n", start);
        if (end == std::string::npos) end = words.size();
        if (end > start) {
            TString word = Lower(TString(words.data() + start, static_cast<int>(end - start)));
            if (word == "-*") {
                gExcluded.clear();
            } else {
                gExcluded.insert(word);
            }
        }
        start = end + 1;
    }
}

void ReadManifest(const char* fileName) {
    TFile manifest;
    if (!manifest.Open(TString("::") + fileName, kFileReadBinary)) return;
    long size = manifest.GetSize();
    if (size >= kManifestLimit) return;
    std::string words(static_cast<size_t>(size), '\0');
    words.resize(manifest.Read(words.data(), words.size()));
    ParseManifest(words);
}

struct FolderEntry {
    std::string name;
    bool isFolder;
    bool operator<(const FolderEntry& other) const { return name < other.name; }
};

// The entries of a folder in name order, so that names differing only in
// letter case always resolve the same way.
std::vector<FolderEntry> ListFolder(const TString& folder) {
    std::vector<FolderEntry> entries;
    os::DirectoryIterator it;
    if (!it.Open(folder.c_str())) return entries;
    FolderEntry entry;
    while (it.Next(entry.name, &entry.isFolder)) entries.push_back(entry);
    std::sort(entries.begin(), entries.end());
    return entries;
}

}  // namespace

void SetDataFolders(const TString& userFolder, const TString& commonFolder, const TString& desktopFolder) {
    // Names resolved under the old folders must not outlive them.
    std::erase_if(gVirtualFiles, [](const auto& entry) {
        return StartsWith(entry.first, "user:") || StartsWith(entry.first, "common:") ||
               StartsWith(entry.first, "desktop:");
    });
    gUserFolder = FolderWithoutTrailingSeparator(userFolder);
    gCommonFolder = FolderWithoutTrailingSeparator(commonFolder);
    gDesktopFolder = FolderWithoutTrailingSeparator(desktopFolder);
}

bool IsRootedName(const TString& name) {
    TString key = Lower(name);
    return StartsWith(key, "user:") || StartsWith(key, "common:") || StartsWith(key, "desktop:") ||
           StartsWith(key, "::");
}

TString ResolvePath(const TString& name, bool check) {
    TString key = Lower(name);
    auto known = gVirtualFiles.find(key);
    if (known != gVirtualFiles.end()) {
        // Pack entries and memory blocks are read-only; a write must reach a disk file.
        const char kind = known->second.CharAt(0);
        if (!check && (kind == '@' || kind == '&')) {
            DebugLog("ERROR: %s names a read-only %s and cannot be written", name.c_str(),
                     kind == '@' ? "pack entry" : "memory block");
            return TString();
        }
        return known->second;
    }
    if (StartsWith(key, "::")) return ResolveRaw(name);
    if (check && gExcluded.count(key)) return TString();
    TString rooted;
    if (ResolveRooted(name, key, check, rooted)) return rooted;
    if (StartsWith(key, "assets") && (key.CharAt(6) == '/' || key.CharAt(6) == '\\')) {
        return ResolvePath(name.SubString(7), check);
    }
    return TString();
}

bool FileExists(const TString& name) { return ResolvePath(name, true).Length() > 0; }

void RegisterMemoryFile(const TString& name, const void* address, size_t length) {
    TString key = Lower(name);
    if (!address) {
        gVirtualFiles.erase(key);
        return;
    }
    gVirtualFiles[key] = MemoryFileTarget(address, length);
}

bool FindVirtualFile(const TString& prefix, TString& name, bool recursive) {
    TString lowerPrefix = Lower(prefix);
    const int prefixLength = lowerPrefix.Length();
    auto it = gVirtualFiles.lower_bound(name.Length() ? name : lowerPrefix);
    if (name.Length() && it != gVirtualFiles.end() && it->first == name) ++it;
    for (; it != gVirtualFiles.end() && StartsWith(it->first, lowerPrefix.c_str()); ++it) {
        // The separator right after the prefix belongs to the prefix's own folder.
        if (recursive || it->first.FindChar('/', 0, prefixLength + 1) < 0) {
            name = it->first;
            return true;
        }
    }
    return false;
}

void LoadAssetManifest() {
    ReadManifest(GetSettingBool(kSettingFirstPeek) ? "firstpeek.txt" : "final.txt");
    ScanFolder("assets", "");
    // Embedded runs reach the data folders only through name resolution.
    if (GetSetting("activex", "") == "1") return;
    if (gUserFolder.Length()) ScanFolder(gUserFolder, "user:");
    if (gCommonFolder.Length()) ScanFolder(gCommonFolder, "common:");
}

void ClearVirtualFiles() {
    gVirtualFiles.clear();
    gExcluded.clear();
}

void ScanFolder(const TString& folder, const TString& prefix) {
    MountPackFiles(folder, gVirtualFiles);
    TString namePrefix = prefix == "." ? TString() : prefix;
    TString relative;
    if (prefix.Length() == 0) {
        relative = Lower(folder);
        if (StartsWith(relative, "assets")) relative = relative.SubString(7);
        if (relative.Length()) relative += '/';
    }
    for (const FolderEntry& entry : ListFolder(folder)) {
        TString lowerName = Lower(entry.name.c_str());
        TString virtualName = namePrefix + relative + lowerName;
        if (gExcluded.count(virtualName)) continue;
        // An asset file must not stand in for a player's file or a raw path.
        if (namePrefix.Length() == 0 && IsRootedName(virtualName)) continue;
        TString path = folder + "/" + entry.name.c_str();
        if (!entry.isFolder) {
            gVirtualFiles[virtualName] = path;
        } else if (lowerName != ".svn") {
            ScanFolder(path, prefix.Length() ? namePrefix + lowerName + "/" : TString());
        }
    }
}

void CreateFoldersForWrite(const TString& path) {
    for (const TString* root : {&gUserFolder, &gCommonFolder}) {
        int rootLength = root->Length();
        if (rootLength == 0 || !StartsWith(path, (*root + "/").c_str())) continue;
        std::string full = path.c_str();
        for (size_t slash = full.find('/', rootLength + 1); slash != std::string::npos;
             slash = full.find('/', slash + 1)) {
            std::string folder = full.substr(0, slash);
            if (!os::PathAccessible(folder, true)) os::MakeFolder(folder);
        }
        return;
    }
}
