// Draws gathered into one indexed list: fans and strips are turned into plain
// triangle or line lists so that consecutive draws can share one draw call.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/display/types.h"

namespace display {

class Batch {
public:
    enum class Shape { Lines, Triangles };

    static Shape ShapeOf(Primitive type);

    // Appends the primitives; indices, when given, refer to the vertices of this
    // call. False (and nothing appended) for unknown types or bad indices.
    bool Append(Primitive type, const Vertex* vertices, int count, const uint16_t* indices, int indexCount);

    // Texture coordinates of the vertices from first on become
    // offset + coordinate x scale: a texture's 0..1 mapped onto its part of
    // a larger one.
    struct TexCoordMap {
        float scaleU = 1, scaleV = 1, offsetU = 0, offsetV = 0;
    };
    void MapTexCoords(size_t first, const TexCoordMap& map);

    bool Empty() const { return mIndices.empty(); }
    void Clear();
    const std::vector<Vertex>& Vertices() const { return mVertices; }
    const std::vector<uint32_t>& Indices() const { return mIndices; }

private:
    void AppendListIndices(Primitive type, const std::vector<uint32_t>& order);

    std::vector<Vertex> mVertices;
    std::vector<uint32_t> mIndices;
};

}  // namespace display
