#include "foundation/debuglog.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <mutex>

namespace {

const uint32_t kWrapLimit = 102400;
const uint32_t kWrapPosition = 51200;
const char kWrapBanner[] = "\n\n\n\n ****************** LOG WRAP AROUND ******************\n\n\n\n";
const char kMemoryMaxPrefix[] = "__MEMORYMAX__";

std::mutex gLogMutex;
TString gLogPath;
// Opened at the first line and kept open, so that a burst of lines costs no
// open and close each.
std::FILE* gLogFile = nullptr;
uint32_t gWritePosition = 0;

// Local time in the C library's ctime form, without its line feed.
TString LocalTimeText() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    char text[32] = "";
    if (localtime_r(&now, &local) && asctime_r(&local, text)) {
        text[std::strcspn(text, "\n")] = 0;
    }
    return TString(text);
}

std::FILE* LogFile() {
    if (!gLogFile) {
        gLogFile = std::fopen(gLogPath.c_str(), "r+");
    }
    if (!gLogFile) {
        gLogFile = std::fopen(gLogPath.c_str(), "w");
    }
    return gLogFile;
}

void CloseLogFile() {
    if (gLogFile) {
        std::fclose(gLogFile);
        gLogFile = nullptr;
    }
}

void WriteLine(const TString& line) {
    std::FILE* file = LogFile();
    if (!file) {
        return;
    }
    if (gWritePosition <= kWrapLimit) {
        std::fseek(file, gWritePosition, SEEK_SET);
    } else {
        std::fseek(file, kWrapPosition, SEEK_SET);
        gWritePosition = kWrapPosition;
        std::fwrite(kWrapBanner, 1, sizeof kWrapBanner - 1, file);
    }
    std::fwrite(line.c_str(), 1, line.Length(), file);
    long position = std::ftell(file);
    if (position >= 0) {
        gWritePosition = static_cast<uint32_t>(position);
    }
    std::fflush(file);
}

}  // namespace

void SetLogFolder(const char* folder) {
    if (folder && std::strncmp(folder, kMemoryMaxPrefix, sizeof kMemoryMaxPrefix - 1) == 0) {
        return;
    }
    std::lock_guard<std::mutex> lock(gLogMutex);
    CloseLogFile();
    gWritePosition = 0;
    if (!folder || !*folder) {
        gLogPath = TString();
        return;
    }
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    gLogPath = TString(folder) + "/logfile.txt";
    std::remove(gLogPath.c_str());
}

void DebugLog(const char* format, ...) {
    va_list args;
    va_start(args, format);
    TString message = TString::VFormat(format, args);
    va_end(args);
    TString line = TString::Format("%s: ", LocalTimeText().c_str()) + message + '\n';

    std::lock_guard<std::mutex> lock(gLogMutex);
    if (gLogPath.Length() > 0) {
        WriteLine(line);
    }
}

TString GetLogPath() {
    std::lock_guard<std::mutex> lock(gLogMutex);
    return gLogPath;
}

size_t GetMemoryInUse() {
    return 0;
}

size_t GetPeakMemoryInUse() {
    return 0;
}
