// Fixture of the shape renderer tests: a renderer on a recording back end
// inside a 2D block, and helpers that turn the drawn line lists back into
// pixels.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "graphics/render/recordingrenderbackend.h"
#include "graphics/render/renderer.h"
#include "graphics/text/qmminivecdraw.h"
#include "graphics/text/shapestream.h"
#include "tests/support/luatesting.h"

using PixelMap = std::map<std::pair<int, int>, uint32_t>;

// The pixel's colour, 0 where nothing was drawn.
inline uint32_t At(const PixelMap& pixels, int x, int y) {
    auto found = pixels.find({x, y});
    return found == pixels.end() ? 0 : found->second;
}

struct DrawnSpan {
    int x0;
    int x1;
    int y;
    uint32_t argb;
    bool operator==(const DrawnSpan& other) const = default;
};

// Stream units of a coordinate in font units.
inline int16_t Units(double v) {
    return static_cast<int16_t>(std::lround(v * 128));
}

// A closed box path, for fills.
inline void AddBox(TShapeWriter& writer, double x0, double y0, double x1, double y1) {
    writer.MoveTo(Units(x0), Units(y0));
    writer.LineTo(Units(x1), Units(y0));
    writer.LineTo(Units(x1), Units(y1));
    writer.LineTo(Units(x0), Units(y1));
    writer.LineTo(Units(x0), Units(y0));
}

inline std::vector<uint8_t> BoxShape(double x0, double y0, double x1, double y1) {
    TShapeWriter writer;
    writer.FillStyle(1);
    AddBox(writer, x0, y0, x1, y1);
    writer.End();
    return writer.GetBytes();
}

// The alpha of full opacity at a coverage of 0..16 sub-samples.
inline uint32_t CoverageAlpha(int coverage) {
    return static_cast<uint32_t>(255.0f * (16 * coverage) / 256);
}

// Sub-samples at quarter-pixel centres inside [x0, x1) x [y0, y1), pixels.
inline int ExpectedCoverage(int px, int py, double x0, double y0, double x1, double y1) {
    int inside = 0;
    for (int j = 0; j < 4; ++j) {
        for (int i = 0; i < 4; ++i) {
            double sx = px + (i + 0.5) / 4;
            double sy = py + (j + 0.5) / 4;
            if (sx >= x0 && sx < x1 && sy >= y0 && sy < y1) ++inside;
        }
    }
    return inside;
}

class VecDrawFixture : public ::testing::Test {
protected:
    VecDrawFixture() {
        auto backEnd = std::make_unique<TRecordingRenderBackEnd>(TRect(0, 0, 800, 600));
        recorder = backEnd.get();
        renderer.SetBackEnd(std::move(backEnd));
        renderer.BeginDraw(false);
        renderer.Begin2d();
        recorder->ClearCalls();
        draw.SetScale(4, 4);
    }

    // The spans of the line lists drawn so far, placed by the default
    // offsets of a quarter pixel.
    std::vector<DrawnSpan> DrawnSpans() {
        draw.Flush();
        std::vector<DrawnSpan> spans;
        for (const TRecordingRenderBackEnd::TCall& call : recorder->GetCalls()) {
            if (call.kind != TRecordingRenderBackEnd::kDrawVertices) continue;
            for (size_t i = 0; i + 1 < call.vertices.size(); i += 2) {
                const TRenderVertex& start = call.vertices[i];
                const TRenderVertex& end = call.vertices[i + 1];
                spans.push_back(DrawnSpan{static_cast<int>(std::floor(start.x)), static_cast<int>(std::floor(end.x)),
                                          static_cast<int>(std::floor(start.y)), start.diffuse});
            }
        }
        return spans;
    }

    // What the spans leave on the screen when each replaces what is below.
    PixelMap DrawnPixels() {
        PixelMap pixels;
        for (const DrawnSpan& span : DrawnSpans()) {
            for (int x = span.x0; x < span.x1; ++x) pixels[{x, span.y}] = span.argb;
        }
        return pixels;
    }

    void DrawStream(const std::vector<uint8_t>& stream, float x, float y) {
        draw.Begin(x, y);
        draw.DrawShape(stream.data(), 0, 0);
    }

    TestLog log;
    TRenderer renderer;
    TRecordingRenderBackEnd* recorder = nullptr;
    TQmMiniVecDraw draw{renderer};
};
