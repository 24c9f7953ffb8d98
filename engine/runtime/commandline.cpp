#include "runtime/commandline.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

const char kBlank = ' ';
const char kQuote = '"';

// The index right after the switch, or -1 when the line does not hold it.
int After(const TString& commandLine, const TString& name) {
    int start = commandLine.Find(name);
    return start < 0 ? -1 : start + name.Length();
}

// The text from start up to the first blank (or the end).
TString Word(const TString& text, int start) {
    int end = text.FindChar(kBlank, 0, start);
    return text.SubString(start, end < 0 ? -1 : end - start);
}

host::Handle ReadParentWindow(const TString& commandLine, int start) {
    const char* digits = commandLine.c_str() + start;
    char* end = nullptr;
    errno = 0;
    unsigned long handle = strtoul(digits, &end, 16);
    if (end == digits || errno == ERANGE || handle > static_cast<unsigned long>(INT_MAX)) return host::kNoWindow;
    return static_cast<host::Handle>(handle);
}

TString ReadWorkingFolder(const TString& commandLine, int start) {
    if (commandLine.CharAt(start) != kQuote) return Word(commandLine, start);
    int close = commandLine.FindChar(kQuote, 0, start + 1);
    return commandLine.SubString(start + 1, close < 0 ? -1 : close - start - 1);
}

// While the rest is not empty and does not begin with a blank: the key runs
// to the next "=" (none ends the list); the value to the next "&", else to
// the next blank, else to the end; the rest goes on after that separator.
void ReadOptions(TString rest, std::vector<std::pair<TString, TString>>& options) {
    while (rest.Length() > 0 && rest.CharAt(0) != kBlank) {
        int equals = rest.FindChar('=');
        if (equals < 0) return;
        TString key = rest.SubString(0, equals);
        rest = rest.SubString(equals + 1);
        int separator = rest.FindChar('&');
        if (separator < 0) separator = rest.FindChar(kBlank);
        options.emplace_back(key, rest.SubString(0, separator < 0 ? -1 : separator));
        rest = separator < 0 ? TString() : rest.SubString(separator + 1);
    }
}

// Switches that stand alone, and those that carry their value after them.
const char* const kWholeSwitches[] = {"--help", "--version", "--multiple", "--axtest", "-msn", "-zylom"};
const char* const kValueSwitches[] = {"-wd=", "-wnd=", "-pq=", "-host=", "--cheat"};
const char kOptionsSwitch[] = "options=";

bool IsKnownArgument(const char* argument) {
    for (const char* name : kWholeSwitches) {
        if (std::strcmp(argument, name) == 0) return true;
    }
    for (const char* name : kValueSwitches) {
        if (std::strncmp(argument, name, std::strlen(name)) == 0) return true;
    }
    return std::strncmp(argument, kOptionsSwitch, sizeof kOptionsSwitch - 1) == 0;
}

}  // namespace

const char kCommandLineHelp[] =
    "Options:\n"
    "  --help                      print these options and end\n"
    "  --version                   print the program's name and version and end\n"
    "  --multiple                  run beside other copies of the program\n"
    "  -wd=FOLDER                  work in FOLDER and read the game from its assets/ folder\n"
    "  options=KEY=VALUE&KEY=VALUE set these settings for the run\n"
    "  --cheat CODE                switch on the developer cheats of CODE\n"
    "  -wnd=HANDLE                 run inside the host window HANDLE (hexadecimal)\n"
    "  --axtest                    run as if inside a host window\n"
    "  -pq=...                     run for a game portal\n"
    "  -host=PROGRAM               the portal's program\n"
    "  -msn, -zylom                report to that game portal\n";

std::vector<std::string> UnknownArguments(int argc, const char* const* argv) {
    std::vector<std::string> unknown;
    for (int i = 1; i < argc; ++i) {
        bool cheatCode = i > 1 && std::strcmp(argv[i - 1], "--cheat") == 0;
        if (!cheatCode && !IsKnownArgument(argv[i])) unknown.emplace_back(argv[i]);
    }
    return unknown;
}

bool IsHostedMode(const TString& commandLine) {
    return commandLine.Find("-pq=") >= 0;
}

TString GetHostProgram(const TString& commandLine) {
    const TString kSwitch = "-host=";
    int start = commandLine.Find(kSwitch);
    if (start < 0) return TString();
    start += kSwitch.Length();
    int end = start;
    while (end < commandLine.Length() && commandLine.CharAt(end) != ' ' && commandLine.CharAt(end) != '\t') ++end;
    return commandLine.SubString(start, end - start);
}

TString JoinCommandLine(int argc, const char* const* argv) {
    const TString kFolderSwitch = "-wd=";
    TString line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) line += kBlank;
        TString argument = argv[i];
        if (argument.Find(kFolderSwitch) == 0 && argument.FindChar(kBlank) >= 0) {
            line += kFolderSwitch + kQuote + argument.SubString(kFolderSwitch.Length()) + kQuote;
        } else {
            line += argument;
        }
    }
    return line;
}

TCommandLineSwitches ReadCommandLineSwitches(const TString& commandLine) {
    TCommandLineSwitches switches;
    int at = After(commandLine, "-wnd=");
    switches.parentGiven = at >= 0;
    if (at >= 0) switches.parentWindow = ReadParentWindow(commandLine, at);
    at = After(commandLine, "--cheat");
    switches.cheatCodeGiven = at >= 0 && at < commandLine.Length();
    if (switches.cheatCodeGiven) switches.cheatCode = Word(commandLine, at + 1);
    switches.multiple = commandLine.Find("--multiple") >= 0;
    switches.msn = commandLine.Find("-msn") >= 0;
    switches.zylom = commandLine.Find("-zylom") >= 0;
    switches.axtest = commandLine.Find("--axtest") >= 0;
    at = After(commandLine, "-wd=");
    switches.workingFolderGiven = at >= 0;
    if (at >= 0) switches.workingFolder = ReadWorkingFolder(commandLine, at);
    at = After(commandLine, "options=");
    if (at >= 0) ReadOptions(commandLine.SubString(at), switches.options);
    return switches;
}
