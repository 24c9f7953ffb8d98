// Loads arbitrary bytes as a ".mesh" file from a memory file and checks that
// a loaded mesh is whole: the counts match the arrays and every index names
// a vertex.
#include "foundation/virtualfiles.h"
#include "graphics/model.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RegisterMemoryFile("fuzz.mesh", data, size);
    TModel model;
    if (model.Init("fuzz.mesh")) {
        if (static_cast<size_t>(model.GetVertexCount()) != model.GetVertices().size() ||
            static_cast<size_t>(model.GetIndexCount()) != model.GetIndices().size()) {
            std::abort();
        }
        for (uint16_t index : model.GetIndices()) {
            if (index >= model.GetVertices().size()) std::abort();
        }
    }
    RegisterMemoryFile("fuzz.mesh", nullptr, 0);
    return 0;
}
