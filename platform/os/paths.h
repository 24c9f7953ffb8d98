// Path helpers over the POSIX file system. Paths may be written with Windows
// separators; every function here reads "\\" as "/".
#pragma once

#include <string>

namespace os {

// The path with every "\\" turned into "/".
std::string ToForwardSlashes(const std::string& path);

// Absolute form of a path that need not exist: relative paths are taken from
// the working folder, "." and ".." are folded away. Empty on failure.
std::string AbsolutePath(const std::string& path);

// root + "/" + relative, where each component of relative that does not exist
// as written is replaced by an existing entry whose name differs only in
// letter case. The root is taken as it is. Components past the first one that
// has no match are kept as written, so the result also serves for new files.
// An empty root means the working folder (or "/" for an absolute relative).
std::string MatchPathCase(const std::string& root, const std::string& relative);

// True when the path exists and allows reading (and writing when asked).
bool PathAccessible(const std::string& path, bool needWrite);

// Creates one folder; true when it exists afterwards.
bool MakeFolder(const std::string& path);

// Creates a folder and every missing parent; true when it exists afterwards.
bool MakeFolderTree(const std::string& path);

}  // namespace os
