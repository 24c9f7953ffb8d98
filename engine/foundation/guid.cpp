#include "foundation/guid.h"

#include "foundation/byteorder.h"
#include "foundation/debuglog.h"
#include "platform/os/randombytes.h"

bool NewGuid(TGuid& guid) {
    unsigned char bytes[16];
    if (!os::RandomBytes(bytes, sizeof bytes)) {
        guid = TGuid();
        DebugLog("ERROR: NewGuid: the system random generator cannot be read");
        return false;
    }
    // Version 4 in the high nibble of the third field, variant bits 10 in the fourth.
    bytes[7] = static_cast<unsigned char>((bytes[7] & 0x0F) | 0x40);
    bytes[8] = static_cast<unsigned char>((bytes[8] & 0x3F) | 0x80);
    // The fields laid end to end, read back as little-endian words.
    for (int w = 0; w < 4; ++w) guid.words[w] = ReadU32LE(bytes + 4 * w);
    return true;
}

TString NewGuidString() {
    TGuid guid;
    NewGuid(guid);
    return TString::Format("%08x%08x%08x%08x", guid.words[0], guid.words[1], guid.words[2], guid.words[3]);
}
