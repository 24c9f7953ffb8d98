// The hardware address of the machine's first network adapter.
#pragma once

#include <cstdint>
#include <string>

namespace os {

// Fills eight bytes with the hardware address of the first non-loopback
// adapter, in name order, that has a non-zero address (shorter addresses are
// followed by zeros). The adapters are read from the kernel's network class
// folder; tests pass a folder of their own. False when there is none.
bool FirstHardwareAddress(uint8_t address[8], const std::string& netFolder = "/sys/class/net");

}  // namespace os
