#include "graphics/render/vertexset.h"

TVertexSet::TVertexSet(const TRenderVertex* vertices, int count) {
    Set(kTransformed, vertices, count);
}

void TVertexSet::Init(const TRenderVertex* vertices, int count) {
    Set(kLit, vertices, count);
}

void TVertexSet::Init2d(const TRenderVertex* vertices, int count) {
    Set(kLit2d, vertices, count);
}

void TVertexSet::Free() {
    Set(kNone, nullptr, 0);
}

void TVertexSet::Set(int kind, const TRenderVertex* vertices, int count) {
    mKind = kind;
    mVertices = vertices;
    mCount = count;
}
