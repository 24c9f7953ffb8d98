// The optional test harness: a library "qmHarness.dll" ("qmHarness.so"
// beside the executable) whose "TestHook" may replace the command line and
// names a host window that hears of the game's end.
#pragma once

#include "foundation/tstring.h"
#include "platform/os/library.h"
#include "platform/host/channel.h"

// The export: gets the address of the command-line pointer, may point it at
// a text of its own (read at once), and returns a host window or kNoWindow.
using TTestHookFunction = host::Handle (*)(const char** commandLine);

class TTestHarness {
public:
    // Tests name a harness of their own.
    explicit TTestHarness(const TString& library = "qmHarness.dll") : mLibraryName(library) {}

    // Loads the harness when it exists and offers it the command line.
    // Problems are kept for LogProblems: the log is not open yet.
    void Offer(TString& commandLine);
    // One line for a harness that exists but could not be used.
    void LogProblems() const;
    // Posts quit (0x12) to the harness window, when there is one.
    void PostQuit();

    host::Handle GetWindow() const { return mWindow; }

private:
    TString mLibraryName;
    os::Library mLibrary;
    host::Handle mWindow = host::kNoWindow;
    TString mProblem;
};
