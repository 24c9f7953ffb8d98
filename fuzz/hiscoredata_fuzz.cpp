// Feeds arbitrary bytes to the saved hiscore reader with a fixed key. When
// the first byte is odd the rest is taken as the plain text instead and
// sealed with a correct checksum first, so that the XML path is reached.
// What was loaded is then written back and given one more score.
#include "online/hiscoredata.h"

#include <cstddef>
#include <cstdint>
#include <string>

#include "foundation/cryptcodec.h"
#include "online/hiscorefile.h"

namespace {

const char kKey[] = "RnV6ektleTEy";
const char kDeclaration[] = "<?xml version=\"1.0\"?>\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    static THiscoreData hiscores(kKey);
    static TCryptCodec codec(kKey);
    const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    const bool sealed = (data[0] & 1) != 0;
    hiscores.Read(sealed ? SealHiscoreFile(codec, kDeclaration + rest) : rest);
    hiscores.WriteToString();
    // No data folder is set, so the save this makes fails without touching disk.
    hiscores.AddLocalScore("story", "fuzz", static_cast<int>(size) - 64, (data[0] & 2) != 0, "", "");
    return 0;
}
