#include "platform/display/batch.h"

namespace display {

Batch::Shape Batch::ShapeOf(Primitive type) {
    return type == Primitive::LineList || type == Primitive::LineStrip ? Shape::Lines : Shape::Triangles;
}

bool Batch::Append(Primitive type, const Vertex* vertices, int count, const uint16_t* indices, int indexCount) {
    if (type < Primitive::LineList || type > Primitive::TriangleFan || !vertices || count <= 0) return false;
    std::vector<uint32_t> order;
    if (indices) {
        if (indexCount < 0) return false;
        for (int i = 0; i < indexCount; ++i) {
            if (indices[i] >= count) return false;
            order.push_back(indices[i]);
        }
    } else {
        for (int i = 0; i < count; ++i) order.push_back(static_cast<uint32_t>(i));
    }
    uint32_t base = static_cast<uint32_t>(mVertices.size());
    for (uint32_t& index : order) index += base;
    mVertices.insert(mVertices.end(), vertices, vertices + count);
    AppendListIndices(type, order);
    return true;
}

void Batch::AppendListIndices(Primitive type, const std::vector<uint32_t>& order) {
    size_t n = order.size();
    switch (type) {
        case Primitive::LineList:
            mIndices.insert(mIndices.end(), order.begin(), order.begin() + n / 2 * 2);
            break;
        case Primitive::LineStrip:
            for (size_t i = 1; i < n; ++i) mIndices.insert(mIndices.end(), {order[i - 1], order[i]});
            break;
        case Primitive::TriangleList:
            mIndices.insert(mIndices.end(), order.begin(), order.begin() + n / 3 * 3);
            break;
        case Primitive::TriangleStrip:
            // Every other triangle swaps its last two corners to keep the winding;
            // the first corner stays first for flat shading.
            for (size_t i = 2; i < n; ++i) {
                if (i % 2 == 0) mIndices.insert(mIndices.end(), {order[i - 2], order[i - 1], order[i]});
                else mIndices.insert(mIndices.end(), {order[i - 2], order[i], order[i - 1]});
            }
            break;
        case Primitive::TriangleFan:
            for (size_t i = 2; i < n; ++i) mIndices.insert(mIndices.end(), {order[0], order[i - 1], order[i]});
            break;
    }
}

void Batch::MapTexCoords(size_t first, const TexCoordMap& map) {
    for (size_t i = first; i < mVertices.size(); ++i) {
        mVertices[i].u = map.offsetU + mVertices[i].u * map.scaleU;
        mVertices[i].v = map.offsetV + mVertices[i].v * map.scaleV;
    }
}

void Batch::Clear() {
    mVertices.clear();
    mIndices.clear();
}

}  // namespace display
