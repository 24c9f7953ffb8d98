// A test harness library. "TestHook" points the command line at the text
// of HARNESS_COMMAND_LINE (when set) and names the host window whose number
// HARNESS_WINDOW holds (none when unset).
#include <cstdlib>
#include <string>

extern "C" __attribute__((visibility("default"))) int TestHook(const char** commandLine) {
    static std::string replaced;
    if (const char* text = getenv("HARNESS_COMMAND_LINE")) {
        replaced = text;
        *commandLine = replaced.c_str();
    }
    const char* window = getenv("HARNESS_WINDOW");
    return window ? atoi(window) : 0;
}
