#include "graphics/display/dxviewport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// Where the matrix puts a point, in normalised device coordinates.
void Transform(const display::Matrix& m, float x, float y, float& outX, float& outY) {
    outX = x * m.m[0] + y * m.m[4] + m.m[12];
    outY = x * m.m[1] + y * m.m[5] + m.m[13];
}

TEST(DxViewportTest, DeviceViewportClampsAndScales) {
    struct Case {
        const char* name;
        TRect rect;
        bool embedded;
        float scale;
        display::Viewport expected;
    } cases[] = {
        {"whole screen", {0, 0, 800, 600}, false, 1, {0, 0, 800, 600, 0, 1}},
        {"inside", {10, 20, 110, 70}, false, 1, {10, 20, 100, 50, 0, 1}},
        {"right before left collapses at left", {300, 100, 200, 400}, false, 1, {300, 100, 0, 300, 0, 1}},
        {"negative corner", {-50, -10, 100, 100}, false, 1, {0, 0, 100, 100, 0, 1}},
        {"beyond the screen", {700, 500, 1000, 900}, false, 1, {700, 500, 100, 100, 0, 1}},
        {"left past the screen", {900, 0, 1000, 600}, false, 1, {799, 0, 1, 600, 0, 1}},
        {"scale unused when not embedded", {0, 0, 800, 600}, false, 2, {0, 0, 800, 600, 0, 1}},
        {"embedded at scale 2", {0, 0, 800, 600}, true, 2, {0, 0, 1600, 1200, 0, 1}},
        {"embedded at scale 1.5", {10, 10, 20, 20}, true, 1.5f, {15, 15, 15, 15, 0, 1}},
        {"embedded scale 0 counts as 1", {0, 0, 800, 600}, true, 0, {0, 0, 800, 600, 0, 1}},
        {"embedded NaN scale counts as 1", {0, 0, 800, 600}, true, std::numeric_limits<float>::quiet_NaN(),
         {0, 0, 800, 600, 0, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        display::Viewport viewport = DeviceViewport(c.rect, 800, 600, c.embedded, c.scale);
        EXPECT_EQ(viewport.x, c.expected.x);
        EXPECT_EQ(viewport.y, c.expected.y);
        EXPECT_EQ(viewport.width, c.expected.width);
        EXPECT_EQ(viewport.height, c.expected.height);
    }
}

TEST(DxViewportTest, Projection2dMapsTheViewOntoTheVisibleArea) {
    TRect screen(0, 0, 800, 600);
    display::Matrix matrix;
    ASSERT_TRUE(Projection2d(screen, screen, screen, 0, matrix));
    float x = 0, y = 0;
    Transform(matrix, 0, 0, x, y);
    EXPECT_FLOAT_EQ(x, -1);
    EXPECT_FLOAT_EQ(y, 1);
    Transform(matrix, 800, 600, x, y);
    EXPECT_FLOAT_EQ(x, 1);
    EXPECT_FLOAT_EQ(y, -1);
    // z passes unchanged.
    EXPECT_FLOAT_EQ(matrix.m[10], 1);
    EXPECT_FLOAT_EQ(matrix.m[14], 0);

    // The pixel offset moves the whole picture by half a pixel.
    ASSERT_TRUE(Projection2d(screen, screen, screen, -0.5f, matrix));
    Transform(matrix, 0.5f, 0.5f, x, y);
    EXPECT_FLOAT_EQ(x, -1);
    EXPECT_FLOAT_EQ(y, 1);

    // A view rectangle inside the viewport starts the coordinates at its own
    // corner and sees only its part.
    ASSERT_TRUE(Projection2d(screen, screen, TRect(100, 50, 300, 250), 0, matrix));
    Transform(matrix, 100, 50, x, y);
    EXPECT_FLOAT_EQ(x, -1);
    EXPECT_FLOAT_EQ(y, 1);
    Transform(matrix, 300, 250, x, y);
    EXPECT_FLOAT_EQ(x, 1);
    EXPECT_FLOAT_EQ(y, -1);
}

TEST(DxViewportTest, EmptyVisibleAreasLeaveTheMatrix) {
    TRect screen(0, 0, 800, 600);
    display::Matrix kept;
    kept.m[0] = 7;
    display::Matrix matrix = kept;
    EXPECT_FALSE(Projection2d(screen, screen, TRect(), 0, matrix));
    EXPECT_FALSE(Projection2d(TRect(900, 0, 1000, 600), screen, screen, 0, matrix));
    EXPECT_FALSE(ProjectionPerspective(screen, screen, TRect(), 0.1f, 1000, 0.78f, 0, matrix));
    EXPECT_FALSE(ProjectionPerspective(TRect(10, 10, 10, 20), screen, screen, 0.1f, 1000, 0.78f, 0, matrix));
    EXPECT_EQ(matrix, kept);
    for (float value : matrix.m) EXPECT_TRUE(std::isfinite(value));
}

TEST(DxViewportTest, PerspectiveNarrowsTheFieldOfViewToTheVisiblePart) {
    TRect screen(0, 0, 800, 600);
    display::Matrix whole, half;
    ASSERT_TRUE(ProjectionPerspective(screen, screen, screen, 0.1f, 1000, 0.78f, 0, whole));
    ASSERT_TRUE(ProjectionPerspective(screen, screen, TRect(0, 0, 800, 300), 0.1f, 1000, 0.78f, 0, half));
    // y scale is cot(fov / 2): a smaller visible height gives a larger one.
    EXPECT_FLOAT_EQ(whole.m[5], 1 / std::tan(0.39f));
    EXPECT_GT(half.m[5], whole.m[5]);
    // The visible top half is shifted off the centre.
    EXPECT_NE(half.m[9], 0);
    EXPECT_FLOAT_EQ(whole.m[9], 0);
}

}  // namespace
