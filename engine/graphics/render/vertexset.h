// The vertex of every draw call and the vertex set that hands a caller's
// vertex array to the back end together with its format.
#pragma once

#include <cstddef>
#include <cstdint>

// Lit vertex; in pre-transformed screen form the fourth word is the
// reciprocal w, otherwise the back end ignores it.
struct TRenderVertex {
    float x = 0;
    float y = 0;
    float z = 0;
    float rhw = 0;
    uint32_t diffuse = 0;   // packed ARGB
    uint32_t specular = 0;  // packed ARGB
    float u = 0;
    float v = 0;
};

// The display layer reads these records as they stand.
static_assert(sizeof(TRenderVertex) == 32);
static_assert(offsetof(TRenderVertex, x) == 0 && offsetof(TRenderVertex, y) == 4 && offsetof(TRenderVertex, z) == 8);
static_assert(offsetof(TRenderVertex, rhw) == 12 && offsetof(TRenderVertex, diffuse) == 16);
static_assert(offsetof(TRenderVertex, specular) == 20 && offsetof(TRenderVertex, u) == 24 &&
              offsetof(TRenderVertex, v) == 28);

// Wraps an array the caller owns and keeps alive while it draws; the set
// never deletes the vertices.
class TVertexSet {
public:
    // How the back end reads the vertices. Any other kind is an unlit vertex
    // with a normal.
    enum TKind {
        kNone = 0,
        kLit = 1,          // goes through the view projection
        kLit2d = 2,        // the same, for 2D drawing
        kTransformed = 3,  // already in screen pixels
    };

    TVertexSet() = default;
    // Pre-transformed screen vertices.
    TVertexSet(const TRenderVertex* vertices, int count);

    void Init(const TRenderVertex* vertices, int count);
    void Init2d(const TRenderVertex* vertices, int count);
    // Forgets the array; the vertices stay with the caller.
    void Free();
    void SetCount(int count) { mCount = count; }

    int GetKind() const { return mKind; }
    const TRenderVertex* GetVertices() const { return mVertices; }
    int GetCount() const { return mCount; }

private:
    void Set(int kind, const TRenderVertex* vertices, int count);

    int32_t mKind = kNone;
    const TRenderVertex* mVertices = nullptr;
    int32_t mCount = 0;
};
