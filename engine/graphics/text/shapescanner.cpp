#include "graphics/text/shapescanner.h"

#include <algorithm>
#include <cmath>

#include "graphics/text/shapestream.h"

namespace {

const int kWindowQuarters = TShapeScanner::kWindowPixels * 4;
const int kHalfWindowQuarters = kWindowQuarters / 2;
const int kHalfWindowPixels = TShapeScanner::kWindowPixels / 2;
const int kFullCoverage = 16;
const int kFirstFillLevel = 2;
const int kTopLevelLimit = 255;
// Colour slots 254 and 255 belong to the strokes.
const int kLastFillSlot = 253;
const int kCurvePieces = 3;

float ReadCoordinate(const uint8_t* bytes) {
    return ReadShapeCoordinate(bytes) / kShapeUnitsPerFontUnit;
}

// The first sub-sample row or column whose centre lies at or after v.
int FirstSampleAtOrAfter(float v, float low, float high) {
    float clamped = std::clamp(v, low, high);
    if (std::isnan(clamped)) clamped = low;
    return static_cast<int>(std::ceil(clamped - 0.5f));
}

}  // namespace

TShapeScanner::TShapeScanner() : mRowSlots{255, 254, 2, 1} {
    for (TCoverageRow& row : mRows) row.deltas.assign(kWindowPixels + 2, 0);
}

int TShapeScanner::CoverageRowOf(int slot) {
    switch (slot) {
    case 255:
        return 0;
    case 254:
        return 1;
    case 1:
        return 3;
    default:
        return 2;
    }
}

void TShapeScanner::Scan(const uint8_t* stream, const TShapeStyle& style, TSpanSink& sink) {
    mStyle = style;
    mEdges.clear();
    mTopLevel = kFirstFillLevel;
    Interpret(stream, sink);
    Convert(sink);
}

void TShapeScanner::Interpret(const uint8_t* stream, TSpanSink& sink) {
    int colours = 0;
    int groupBase = 0;
    int level = kFirstFillLevel;
    int fill = 0;
    int line = 0;
    TPoint current{0, 0};
    // A style counts from the group's base; one past the fill slots is none.
    auto slotOf = [&](uint8_t style) { return style && groupBase + style <= kLastFillSlot ? groupBase + style : 0; };
    for (;;) {
        const uint8_t* operands = stream + 1;
        switch (*stream) {
        case kShapeNewGroup:
            groupBase = colours;
            level = std::min(level + 1, kTopLevelLimit);
            fill = line = 0;
            break;
        case kShapeFillStyle:
            fill = slotOf(operands[0]);
            break;
        case kShapeLineStyle:
            line = slotOf(operands[0]);
            break;
        case kShapeMoveTo:
            current = TPoint{ReadCoordinate(operands), ReadCoordinate(operands + 2)};
            break;
        case kShapeLineTo: {
            TPoint to{ReadCoordinate(operands), ReadCoordinate(operands + 2)};
            AddSegment(current, to, level, fill ? fill : line);
            current = to;
            break;
        }
        case kShapeCurveTo: {
            TPoint control{ReadCoordinate(operands), ReadCoordinate(operands + 2)};
            TPoint to{ReadCoordinate(operands + 4), ReadCoordinate(operands + 6)};
            TPoint from = current;
            for (int piece = 1; piece <= kCurvePieces; ++piece) {
                float t = static_cast<float>(piece) / kCurvePieces;
                float u = 1 - t;
                TPoint point{u * u * from.x + 2 * t * u * control.x + t * t * to.x,
                             u * u * from.y + 2 * t * u * control.y + t * t * to.y};
                AddSegment(current, point, level, fill ? fill : line);
                current = point;
            }
            current = to;
            break;
        }
        case kShapeColour:
            if (colours < kLastFillSlot) {
                ++colours;
                sink.DefineColour(colours, operands[0], operands[1], operands[2]);
            }
            break;
        default:
            return;
        }
        mTopLevel = std::max(mTopLevel, level);
        stream += ShapeCommandSize(*stream);
    }
}

void TShapeScanner::AddSegment(TPoint from, TPoint to, int level, int slot) {
    if (slot) AddEdge(Place(from), Place(to), level, slot);
    for (int stroke = 0; stroke < 2 && mStyle.lineWidths[stroke] != 0; ++stroke) AddStroke(from, to, stroke);
}

// A hexagon around the segment: a band of the stroke width to either side,
// closed by caps that reach the width past each end.
void TShapeScanner::AddStroke(TPoint from, TPoint to, int stroke) {
    if (mStyle.scaleX == 0 || mStyle.scaleY == 0) return;
    float dx = (to.x - from.x) * mStyle.scaleX;
    float dy = (to.y - from.y) * mStyle.scaleY;
    float length = std::hypot(dx, dy);
    if (!(length > 0) || !std::isfinite(length)) return;
    float reach = mStyle.lineWidths[stroke] * 4;
    // Quarter pixels back into font units.
    float alongX = dx / length * reach / mStyle.scaleX;
    float alongY = dy / length * reach / mStyle.scaleY;
    float normalX = -dy / length * reach / mStyle.scaleX;
    float normalY = dx / length * reach / mStyle.scaleY;
    TPoint hexagon[6] = {
        {from.x - alongX, from.y - alongY}, {from.x + normalX, from.y + normalY},
        {to.x + normalX, to.y + normalY},   {to.x + alongX, to.y + alongY},
        {to.x - normalX, to.y - normalY},   {from.x - normalX, from.y - normalY},
    };
    for (int i = 0; i < 6; ++i) AddEdge(Place(hexagon[i]), Place(hexagon[(i + 1) % 6]), stroke, 255 - stroke);
}

TShapeScanner::TPoint TShapeScanner::Place(TPoint point) const {
    float x = point.x;
    float y = point.y;
    if (mStyle.italic) x -= y / 3;
    x *= mStyle.scaleX;
    y *= mStyle.scaleY;
    if (mStyle.rotSin != 0) {
        float rotated = x * mStyle.rotCos - y * mStyle.rotSin;
        y = x * mStyle.rotSin + y * mStyle.rotCos;
        x = rotated;
    }
    return TPoint{x + mStyle.phaseX, y + mStyle.phaseY};
}

void TShapeScanner::AddEdge(TPoint from, TPoint to, int level, int slot) {
    if (!std::isfinite(from.x) || !std::isfinite(from.y) || !std::isfinite(to.x) || !std::isfinite(to.y)) return;
    int8_t winding = 1;
    if (from.y > to.y) {
        std::swap(from, to);
        winding = -1;
    }
    const float low = -kHalfWindowQuarters - 1.0f;
    const float high = kHalfWindowQuarters + 1.0f;
    TEdge edge;
    edge.startRow = std::max(FirstSampleAtOrAfter(from.y, low, high), -kHalfWindowQuarters);
    edge.endRow = std::min(FirstSampleAtOrAfter(to.y, low, high), kHalfWindowQuarters);
    // Horizontal, or outside the window.
    if (edge.startRow >= edge.endRow) return;
    edge.x0 = from.x;
    edge.y0 = from.y;
    edge.slope = (to.x - from.x) / (to.y - from.y);
    edge.winding = winding;
    edge.level = static_cast<uint8_t>(level);
    edge.slot = static_cast<uint8_t>(slot);
    mEdges.push_back(edge);
}

void TShapeScanner::Convert(TSpanSink& sink) {
    if (mEdges.empty()) return;
    std::sort(mEdges.begin(), mEdges.end(), [](const TEdge& a, const TEdge& b) { return a.startRow < b.startRow; });
    int endRow = 0;
    for (const TEdge& edge : mEdges) endRow = std::max(endRow, edge.endRow);
    endRow = (endRow + 3) & ~3;

    mActive.clear();
    size_t next = 0;
    for (int row = mEdges[0].startRow & ~3; row < endRow; ++row) {
        // Skip whole empty pixel rows.
        if ((row & 3) == 0 && mActive.empty()) {
            if (next == mEdges.size()) break;
            row = std::max(row, mEdges[next].startRow & ~3);
        }
        UpdateActive(row, next);
        if (!mActive.empty()) ScanRow();
        if ((row & 3) == 3) EmitPixelRow(row >> 2, sink);
    }
}

// Retires the edges that ended, admits those that start, and sorts the
// active edges by their crossing of this sub-scanline.
void TShapeScanner::UpdateActive(int row, size_t& next) {
    std::erase_if(mActive, [&](int index) { return mEdges[index].endRow <= row; });
    for (; next < mEdges.size() && mEdges[next].startRow <= row; ++next) mActive.push_back(static_cast<int>(next));
    float sampleY = row + 0.5f;
    for (int index : mActive) {
        TEdge& edge = mEdges[index];
        edge.x = edge.x0 + (sampleY - edge.y0) * edge.slope;
    }
    for (size_t i = 1; i < mActive.size(); ++i) {
        int moving = mActive[i];
        size_t j = i;
        for (; j > 0 && mEdges[mActive[j - 1]].x > mEdges[moving].x; --j) mActive[j] = mActive[j - 1];
        mActive[j] = moving;
    }
}

// Strokes count crossings by direction (non-zero); each fill group toggles
// (even-odd). The highest level that is on shows.
void TShapeScanner::ScanRow() {
    mStrokeCounts[0] = mStrokeCounts[1] = 0;
    std::fill(mFillSlots + kFirstFillLevel, mFillSlots + mTopLevel + 1, 0);
    int visible = 0;
    float runStart = 0;
    for (int index : mActive) {
        const TEdge& edge = mEdges[index];
        if (edge.level < kFirstFillLevel) {
            mStrokeCounts[edge.level] += edge.winding;
        } else {
            mFillSlots[edge.level] = mFillSlots[edge.level] ? 0 : edge.slot;
        }
        int now = VisibleSlot();
        if (now == visible) continue;
        if (visible) AddRun(visible, runStart, edge.x);
        visible = now;
        runStart = edge.x;
    }
}

int TShapeScanner::VisibleSlot() const {
    for (int level = mTopLevel; level >= kFirstFillLevel; --level) {
        if (mFillSlots[level]) return mFillSlots[level];
    }
    if (mStrokeCounts[1]) return 254;
    if (mStrokeCounts[0]) return 255;
    return 0;
}

// Adds one sub-scanline's run to the coverage deltas of its row: the start
// pixel and the next share the four sub-samples by the quarter it starts
// at, and the end likewise takes them away.
void TShapeScanner::AddRun(int slot, float from, float to) {
    const float low = -kHalfWindowQuarters;
    const float high = kHalfWindowQuarters;
    int start = FirstSampleAtOrAfter(from, low, high) + kHalfWindowQuarters;
    int end = FirstSampleAtOrAfter(to, low, high) + kHalfWindowQuarters;
    if (start >= end) return;
    int rowIndex = CoverageRowOf(slot);
    mRowSlots[rowIndex] = slot;
    TCoverageRow& row = mRows[rowIndex];
    row.deltas[start >> 2] += 4 - (start & 3);
    row.deltas[(start >> 2) + 1] += start & 3;
    row.deltas[end >> 2] -= 4 - (end & 3);
    row.deltas[(end >> 2) + 1] -= end & 3;
    if (!row.dirty) {
        row.minColumn = start >> 2;
        row.maxColumn = (end >> 2) + 1;
        row.dirty = true;
    } else {
        row.minColumn = std::min(row.minColumn, start >> 2);
        row.maxColumn = std::max(row.maxColumn, (end >> 2) + 1);
    }
}

// Sums each dirty row's deltas into coverage 0..16 and sends every run of
// equal non-zero coverage as a span, clearing the row as it goes.
void TShapeScanner::EmitPixelRow(int y, TSpanSink& sink) {
    for (int rowIndex = 0; rowIndex < kCoverageRows; ++rowIndex) {
        TCoverageRow& row = mRows[rowIndex];
        if (!row.dirty) continue;
        int sum = 0;
        int runLevel = 0;
        int runStart = 0;
        for (int column = row.minColumn; column <= row.maxColumn; ++column) {
            sum += row.deltas[column];
            row.deltas[column] = 0;
            int level = std::clamp(sum, 0, kFullCoverage);
            if (level == runLevel) continue;
            if (runLevel > 0) {
                TSpan span;
                span.x0 = static_cast<int16_t>(runStart - kHalfWindowPixels);
                span.x1 = static_cast<int16_t>(column - kHalfWindowPixels);
                span.y = static_cast<int16_t>(y);
                span.level = static_cast<uint8_t>(runLevel);
                span.row = static_cast<uint8_t>(rowIndex);
                sink.AddSpan(span);
            }
            runLevel = level;
            runStart = column;
        }
        row.dirty = false;
    }
}
