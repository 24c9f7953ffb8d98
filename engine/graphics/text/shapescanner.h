// The scanline rasteriser of shape streams: 4 x 4 sub-samples per pixel,
// output as spans of equal coverage, one pixel row high.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/text/spancache.h"

// How a shape is placed; coordinates end up in quarter pixels relative to
// the shape's origin pixel.
struct TShapeStyle {
    float scaleX = 1;  // font units to quarter pixels
    float scaleY = 1;
    float rotCos = 1;
    float rotSin = 0;
    // Non-zero widths, in pixels, stroke every edge: the outline, then bold.
    float lineWidths[2] = {0, 0};
    bool italic = false;
    int phaseX = 0;  // quarter pixels, 0..3
    int phaseY = 0;
};

// Hears what a shape produces.
class TSpanSink {
public:
    // A colour the stream defines, components 0..255.
    virtual void DefineColour(int slot, uint8_t red, uint8_t green, uint8_t blue) = 0;
    virtual void AddSpan(const TSpan& span) = 0;

protected:
    ~TSpanSink() = default;
};

class TShapeScanner {
public:
    // Spans reach 1600 pixels to either side of the origin, in both directions.
    static constexpr int kWindowPixels = 3200;
    static constexpr int kCoverageRows = 4;

    TShapeScanner();

    // Interprets the stream up to its end command and rasterises it.
    void Scan(const uint8_t* stream, const TShapeStyle& style, TSpanSink& sink);

    // The colour slot last bound to a coverage row.
    int GetRowSlot(int row) const { return mRowSlots[row]; }
    // The coverage row a colour slot writes into: the two strokes and the
    // text colour have their own.
    static int CoverageRowOf(int slot);

private:
    struct TEdge {
        float x0 = 0;
        float y0 = 0;
        float slope = 0;
        float x = 0;  // at the current sub-scanline
        int startRow = 0;
        int endRow = 0;  // exclusive
        int8_t winding = 0;
        uint8_t level = 0;
        uint8_t slot = 0;
    };
    struct TPoint {
        float x;
        float y;
    };

    void Interpret(const uint8_t* stream, TSpanSink& sink);
    void AddSegment(TPoint from, TPoint to, int level, int slot);
    void AddStroke(TPoint from, TPoint to, int stroke);
    TPoint Place(TPoint point) const;
    void AddEdge(TPoint from, TPoint to, int level, int slot);

    void Convert(TSpanSink& sink);
    void UpdateActive(int row, size_t& next);
    void ScanRow();
    int VisibleSlot() const;
    void AddRun(int slot, float from, float to);
    void EmitPixelRow(int y, TSpanSink& sink);

    TShapeStyle mStyle;
    std::vector<TEdge> mEdges;
    std::vector<int> mActive;
    int mTopLevel = 0;
    int mStrokeCounts[2] = {0, 0};
    uint8_t mFillSlots[256] = {};

    struct TCoverageRow {
        std::vector<int16_t> deltas;
        int minColumn = 0;
        int maxColumn = 0;
        bool dirty = false;
    };
    TCoverageRow mRows[kCoverageRows];
    int mRowSlots[kCoverageRows];
};
