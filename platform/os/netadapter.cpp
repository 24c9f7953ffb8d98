#include "platform/os/netadapter.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

namespace os {

namespace {

constexpr int kAddressBytes = 8;
constexpr const char* kLoopbackType = "772";

std::string ReadFirstLine(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

// Parses "aa:bb:cc:..." into at most eight bytes; false for an all-zero address.
bool ParseAddress(const std::string& text, uint8_t address[kAddressBytes]) {
    std::fill(address, address + kAddressBytes, 0);
    bool nonZero = false;
    size_t at = 0;
    for (int i = 0; i < kAddressBytes && at + 2 <= text.size(); ++i, at += 3) {
        char* end = nullptr;
        const std::string pair = text.substr(at, 2);
        const long value = std::strtol(pair.c_str(), &end, 16);
        if (end != pair.c_str() + 2) {
            return false;
        }
        address[i] = static_cast<uint8_t>(value);
        nonZero = nonZero || value != 0;
    }
    return nonZero;
}

}  // namespace

bool FirstHardwareAddress(uint8_t address[8], const std::string& netFolder) {
    std::error_code error;
    std::vector<std::filesystem::path> adapters;
    for (std::filesystem::directory_iterator it(netFolder, error), end; !error && it != end;
         it.increment(error)) {
        adapters.push_back(it->path());
    }
    std::sort(adapters.begin(), adapters.end());
    for (const auto& adapter : adapters) {
        if (ReadFirstLine(adapter / "type") == kLoopbackType) {
            continue;
        }
        if (ParseAddress(ReadFirstLine(adapter / "address"), address)) {
            return true;
        }
    }
    std::fill(address, address + kAddressBytes, 0);
    return false;
}

}  // namespace os
