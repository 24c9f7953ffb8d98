// Feeds arbitrary bytes to the composition reader, plain or compressed, and
// touches every field of the records it makes.
#include <cstdint>

#include "foundation/xmlnode.h"
#include "game/composition/adaptrecord.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 20)) {
        return 0;
    }
    TXmlNode document;
    document.ParseString(reinterpret_cast<const char*>(data), int(size));
    int64_t sum = 0;
    for (const RAdaptRecord& record : ParseAdaptRecords(document)) {
        sum += record.x + record.y + record.width + record.height + record.AlignFlags() + record.fontSize +
               record.padding + record.delay + record.label.Length() + record.font.Length() + record.source.Length();
        sum += static_cast<int64_t>(record.color.r + record.color.g + record.color.b + record.color.a);
    }
    // Keeps the reads from being optimised away.
    volatile int64_t sink = sum;
    (void)sink;
    return 0;
}
