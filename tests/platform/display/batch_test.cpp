#include <gtest/gtest.h>

#include <vector>

#include "platform/display/batch.h"

namespace {

using display::Batch;
using display::Primitive;

TEST(BatchTest, FansStripsAndLinesBecomeIndexedLists) {
    struct Case {
        const char* name;
        Primitive type;
        int count;
        std::vector<uint32_t> indices;
    } cases[] = {
        {"fan", Primitive::TriangleFan, 5, {0, 1, 2, 0, 2, 3, 0, 3, 4}},
        {"strip keeps the winding", Primitive::TriangleStrip, 5, {0, 1, 2, 1, 3, 2, 2, 3, 4}},
        {"list drops a partial triangle", Primitive::TriangleList, 7, {0, 1, 2, 3, 4, 5}},
        {"line strip", Primitive::LineStrip, 3, {0, 1, 1, 2}},
        {"line list drops a lone end", Primitive::LineList, 5, {0, 1, 2, 3}},
        {"too short a fan", Primitive::TriangleFan, 2, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<display::Vertex> vertices(c.count);
        Batch batch;
        ASSERT_TRUE(batch.Append(c.type, vertices.data(), c.count, nullptr, 0));
        EXPECT_EQ(batch.Indices(), c.indices);
        EXPECT_EQ(batch.Vertices().size(), static_cast<size_t>(c.count));
    }
}

TEST(BatchTest, LaterDrawsAndGivenIndicesAreOffsetByTheVerticesBefore) {
    std::vector<display::Vertex> quad(4);
    quad[2].x = 7;
    const uint16_t indices[] = {0, 1, 2, 2, 3, 0};
    Batch batch;
    ASSERT_TRUE(batch.Append(Primitive::TriangleFan, quad.data(), 4, nullptr, 0));
    ASSERT_TRUE(batch.Append(Primitive::TriangleList, quad.data(), 4, indices, 6));
    EXPECT_EQ(batch.Indices(), (std::vector<uint32_t>{0, 1, 2, 0, 2, 3, 4, 5, 6, 6, 7, 4}));
    EXPECT_EQ(batch.Vertices()[6].x, 7);
    batch.Clear();
    EXPECT_TRUE(batch.Empty());
    EXPECT_TRUE(batch.Vertices().empty());
}

TEST(BatchTest, BadInputAppendsNothing) {
    std::vector<display::Vertex> quad(4);
    const uint16_t outOfRange[] = {0, 1, 4};
    Batch batch;
    EXPECT_FALSE(batch.Append(Primitive::TriangleList, quad.data(), 4, outOfRange, 3));
    EXPECT_FALSE(batch.Append(static_cast<Primitive>(1), quad.data(), 4, nullptr, 0));
    EXPECT_FALSE(batch.Append(Primitive::TriangleFan, nullptr, 4, nullptr, 0));
    EXPECT_FALSE(batch.Append(Primitive::TriangleFan, quad.data(), -1, nullptr, 0));
    EXPECT_TRUE(batch.Empty());
    EXPECT_TRUE(batch.Vertices().empty());
    EXPECT_EQ(Batch::ShapeOf(Primitive::LineStrip), Batch::Shape::Lines);
    EXPECT_EQ(Batch::ShapeOf(Primitive::TriangleStrip), Batch::Shape::Triangles);
}

}  // namespace
