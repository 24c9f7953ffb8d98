// What the driver and the platform read from the command line.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "foundation/tstring.h"
#include "platform/host/channel.h"

// Run by a portal: the command line holds "-pq=".
bool IsHostedMode(const TString& commandLine);
// The program given by "-host=", up to the first blank; empty when none.
TString GetHostProgram(const TString& commandLine);

// The arguments after the program name joined by blanks, as one command
// line. A "-wd=" argument holding a blank is written -wd="folder".
TString JoinCommandLine(int argc, const char* const* argv);

// The driver's switches. Each is found by a plain, case-sensitive search
// anywhere in the line.
struct TCommandLineSwitches {
    // "-wnd=": run inside the host window whose hexadecimal handle follows;
    // kNoWindow when it is 0, no number or out of range.
    bool parentGiven = false;
    host::Handle parentWindow = host::kNoWindow;
    // "--cheat": the code after the switch and one separator, up to the
    // first blank; no code when the line ends before the separator.
    bool cheatCodeGiven = false;
    TString cheatCode;
    bool multiple = false;  // "--multiple"
    bool msn = false;       // "-msn"
    bool zylom = false;     // "-zylom"
    bool axtest = false;    // "--axtest"
    // "-wd=": the folder between double quotes (to the end of the line when
    // the closing one is missing), else up to the first blank.
    bool workingFolderGiven = false;
    TString workingFolder;
    // "options=": key=value pairs, in the order given.
    std::vector<std::pair<TString, TString>> options;
};

TCommandLineSwitches ReadCommandLineSwitches(const TString& commandLine);

// What "--help" prints: every switch the program reads, one a line.
extern const char kCommandLineHelp[];

// The arguments after the program name that the program does not read: those
// starting with "-" that are no switch of it, and words that neither start
// with "options=" nor follow "--cheat" as its code.
std::vector<std::string> UnknownArguments(int argc, const char* const* argv);
