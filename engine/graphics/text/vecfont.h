// A vector font: a read-only view over the bytes of one ".mvec" file, with
// the glyph codes and the metrics worked out at load.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class TVecFont {
public:
    // Malformed data, checked whole at load (a font must also hold 'W' and
    // have a line height), gives a font with no glyphs and a log line; wrong
    // magic or no data gives one silently.
    explicit TVecFont(std::vector<uint8_t> data);
    TVecFont(const TVecFont&) = delete;
    TVecFont& operator=(const TVecFont&) = delete;

    int GetGlyphCount() const { return static_cast<int>(mCodes.size()); }
    // Glyph index, or -1.
    int FindGlyph(uint32_t code) const;
    // The glyph's shape stream, or null for an index out of range.
    const uint8_t* GetGlyphShape(int index) const;
    // Font units; 0 for an index out of range.
    float GetAdvance(int index) const;
    float GetLeftExtent(int index) const;
    float GetRightExtent(int index) const;
    // Below 1 for a glyph taller than the padded line box; 1 out of range.
    float GetFitScale(int index) const;
    float GetAscent() const { return mAscent; }
    float GetDescent() const { return mDescent; }
    // Space above the ascent (top) or below the descent.
    float GetLinePadding(bool top) const { return top ? mTopPadding : mBottomPadding; }
    // The part of a line's height that the glyph box fills.
    static float GetContentFraction();

    bool IsBold() const { return mBold; }
    float GetBoldFactor() const { return mBoldFactor; }

private:
    bool IsWellFormed() const;
    bool HasValidRecords() const;
    const uint8_t* Record(int index) const;
    float RecordMetric(int index, int offset) const;
    void ComputeMetrics();
    void MakeEmpty();

    std::vector<uint8_t> mData;
    std::vector<uint32_t> mCodes;
    std::vector<float> mFitScales;
    float mAscent = 0;
    float mDescent = 0;
    float mTopPadding = 0;
    float mBottomPadding = 0;
    bool mBold = false;
    float mBoldFactor = 1.0f;
};
