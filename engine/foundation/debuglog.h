// The engine's log file: time-stamped report lines in "logfile.txt" of the log
// folder, wrapping around once the file passes its size limit.
#pragma once

#include <cstddef>

#include "foundation/tstring.h"

// Starts a new log in the folder (created when missing); a null or empty
// folder turns logging off. Texts beginning "__MEMORYMAX__" leave the log as it is.
void SetLogFolder(const char* folder);

// Formats one line and appends it to the log; never fails towards the caller.
// Safe to call from several threads.
void DebugLog(const char* format, ...) __attribute__((format(printf, 1, 2)));

TString GetLogPath();

// No allocation accounting is kept; the statistics overlay shows these.
size_t GetMemoryInUse();
size_t GetPeakMemoryInUse();
