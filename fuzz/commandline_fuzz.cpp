// Feeds arbitrary bytes to the command-line readers. The bytes, cut at each
// NUL, are the program's arguments; joined, they are read for every switch
// and every "options=" pair, and the raw bytes are read as one line too.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/commandline.h"
#include "foundation/tstring.h"

namespace {

void ReadAll(const TString& line) {
    TCommandLineSwitches switches = ReadCommandLineSwitches(line);
    IsHostedMode(line);
    GetHostProgram(line);
    // A pair's key and value are parts of the line.
    for (const auto& [key, value] : switches.options) {
        if (key.Length() + value.Length() > line.Length()) __builtin_trap();
    }
    if (switches.cheatCode.Length() > line.Length() || switches.workingFolder.Length() > line.Length()) {
        __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> arguments{"vandermoot"};
    size_t start = 0;
    for (size_t end; (end = bytes.find('\0', start)) != std::string::npos; start = end + 1) {
        arguments.push_back(bytes.substr(start, end - start));
    }
    arguments.push_back(bytes.substr(start));
    std::vector<const char*> argv;
    for (const std::string& argument : arguments) argv.push_back(argument.c_str());
    ReadAll(JoinCommandLine(static_cast<int>(argv.size()), argv.data()));
    ReadAll(TString(bytes.data(), static_cast<int>(bytes.size())));
    return 0;
}
