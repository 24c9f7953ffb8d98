// The program's version record, written by the build from the project's
// version and names (version.cpp.in).
#pragma once

#include <cstdint>
#include <string>

namespace os {

struct VersionRecord {
    // Major high, major low, minor high and minor low words of the file version.
    uint16_t fileVersion[4];
    std::string productName;
    std::string internalName;
};

const VersionRecord& ProgramVersion();

// The file version as "%d.%d.%d.%d".
std::string FileVersionText(const VersionRecord& record);

}  // namespace os
