// Feeds arbitrary bytes to the XML reader, plain or compressed, and reads
// back what the writer makes of the resulting tree.
#include "foundation/xmlnode.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 20)) {
        return 0;
    }
    TXmlNode document;
    document.ParseString(reinterpret_cast<const char*>(data), int(size));
    TString written;
    document.WriteToString(written);
    TXmlNode again;
    again.ParseString(written.c_str());
    return 0;
}
