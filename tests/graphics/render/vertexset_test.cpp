#include "graphics/render/vertexset.h"

#include <gtest/gtest.h>

namespace {

TEST(TVertexSet, EachFormOfWrappingSetsItsKind) {
    TRenderVertex vertices[4];
    TVertexSet lit;
    lit.Init(vertices, 4);
    EXPECT_EQ(lit.GetKind(), TVertexSet::kLit);
    TVertexSet flat;
    flat.Init2d(vertices, 3);
    EXPECT_EQ(flat.GetKind(), TVertexSet::kLit2d);
    EXPECT_EQ(flat.GetCount(), 3);
    TVertexSet screen(vertices, 4);
    EXPECT_EQ(screen.GetKind(), TVertexSet::kTransformed);
    EXPECT_EQ(screen.GetVertices(), vertices);
    screen.SetCount(2);
    EXPECT_EQ(screen.GetCount(), 2);
    EXPECT_EQ(screen.GetKind(), TVertexSet::kTransformed);
}

TEST(TVertexSet, FreeForgetsTheArrayButLeavesItsVertices) {
    TRenderVertex vertices[2];
    vertices[1].u = 0.75f;
    TVertexSet set;
    set.Init2d(vertices, 2);
    set.Free();
    EXPECT_EQ(set.GetVertices(), nullptr);
    EXPECT_EQ(set.GetCount(), 0);
    EXPECT_EQ(set.GetKind(), TVertexSet::kNone);
    EXPECT_EQ(vertices[1].u, 0.75f);
}

}  // namespace
