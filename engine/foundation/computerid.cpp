#include "foundation/computerid.h"

#include "foundation/guid.h"
#include "platform/os/netadapter.h"

#include <algorithm>

TString MakeComputerIdFrom(const uint8_t source[8])
{
    uint8_t bytes[8];
    std::copy(source, source + 8, bytes);
    bytes[6] = bytes[3];
    bytes[7] = bytes[4];
    char id[17] = {};
    for (int i = 0; i < 8; ++i) {
        const uint8_t x = bytes[i] ^ bytes[(i + 1) % 8];
        id[2 * i] = char((x & 0x1F) | 0x40);
        id[2 * i + 1] = char(((x >> 5) + i + 66) & 0xFF);
    }
    return TString(id);
}

TString MakeComputerId()
{
    uint8_t source[8] = {};
    if (!os::FirstHardwareAddress(source)) {
        // The first eight bytes of a new GUID, laid out as the system stores one.
        TGuid guid;
        NewGuid(guid);
        for (int i = 0; i < 8; ++i) {
            source[i] = uint8_t(guid.words[i / 4] >> (8 * (i % 4)));
        }
    }
    return MakeComputerIdFrom(source);
}
