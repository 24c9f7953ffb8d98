// Feeds arbitrary bytes to the order reader as an XML document, once as plain
// text and once deflated in the "ZXML" form, and reads an order record from
// every element. Whatever the element says, the record keeps to its domains.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "foundation/xmlnode.h"
#include "fuzz/zxmlbytes.h"
#include "game/chocolates/chocolatespec.h"

namespace {

bool IsChoice(int32_t value) {
    return value >= -1 && value <= 2;
}

void CheckDomains(const VChocolateSpec& spec) {
    bool chocolate = spec.kind == 0;
    bool ok = spec.kind >= -1 && spec.kind <= 2;
    ok = ok && (spec.shape == VChocolateSpec::kAnyShape || (chocolate && spec.shape >= 0 && spec.shape <= 3));
    ok = ok && IsChoice(spec.mix) && (chocolate || spec.mix == -1);
    ok = ok && (chocolate ? spec.layers >= 1 && spec.layers <= VChocolateSpec::kMostLayers : spec.layers == -1);
    // The bucket is never ordered.
    ok = ok && spec.options[kBucketLayer] == VChocolateSpec::kNotMentioned;
    for (int slot = kIngredientLayer; slot < VChocolateSpec::kLayerTypes; ++slot) {
        int32_t option = spec.options[slot];
        ok = ok && (option == VChocolateSpec::kNotMentioned || (chocolate && IsChoice(option)));
    }
    if (!ok) std::abort();
}

void ReadEvery(TXmlNode& node) {
    VChocolateSpec spec;
    spec.Read(node);
    CheckDomains(spec);
    TString name;
    TXmlNode* child = nullptr;
    for (node.ResetChildIterator(); node.NextChild(name, child);) ReadEvery(*child);
}

void Run(const std::string& bytes) {
    TXmlNode document;
    document.ParseString(bytes.data(), static_cast<int>(bytes.size()));
    ReadEvery(document);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string plain(reinterpret_cast<const char*>(data), size);
    Run(plain);
    Run(ZxmlBytes(plain));
    return 0;
}
