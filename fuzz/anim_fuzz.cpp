// Reads arbitrary bytes as an animation description, in both forms, from a
// memory file: the description only, no sheet. Checks that what a read
// keeps is whole.
#include "foundation/virtualfiles.h"
#include "graphics/animatedtexture.h"

#include <cstdint>
#include <cstdlib>

namespace {

size_t Touch(const TAnimation& animation) {
    size_t sum = static_cast<size_t>(animation.script.Length() + animation.imageName.Length());
    for (const TAnimationFrame& frame : animation.frames) {
        sum += static_cast<size_t>(frame.name.Length());
        for (const TAnimationAnchor& anchor : frame.anchors) sum += static_cast<size_t>(anchor.name.Length());
        if (frame.w > animation.largestWidth || frame.h > animation.largestHeight) std::abort();
    }
    return sum;
}

void ReadAs(const char* fileName, const uint8_t* data, size_t size) {
    RegisterMemoryFile(fileName, data, size);
    TAnimation animation;
    animation.Read(fileName, "fuzz");
    volatile size_t sink = Touch(animation);
    (void)sink;
    RegisterMemoryFile(fileName, nullptr, 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ReadAs("fuzz.xml", data, size);
    ReadAs("fuzz.anm", data, size);
    return 0;
}
