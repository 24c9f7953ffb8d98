// The folders the program keeps its data in, as text buffers for the start-up
// code that fills the "user:", "common:" and "desktop:" roots. Paths use "/".
#pragma once

#include "foundation/tstring.h"
#include "platform/os/directory.h"

// Lists the entries of a folder; see os::DirectoryIterator.
using TFolderIterator = os::DirectoryIterator;

// Writes root + maker folder + subFolder + "/" into the buffer, creating the
// folders, where root is the per-user (or all-users) data folder and the maker
// folder is the setting "publisher" ("Quenmarth" when unset). Returns 0 when
// written; the length needed (terminator not counted) when size bytes cannot
// hold it and its terminator; -1 when there is no data folder or no buffer.
int GetDataFolderPath(const char* subFolder, char* buffer, int size, bool allUsers);

// Writes the desktop folder with a trailing "/"; returns 0, the length needed
// when the buffer is too small, or -1 on failure.
int GetDesktopPath(char* buffer, int size);

// The absolute form of a path, which need not exist; empty on failure.
TString GetFullPath(const TString& path);
