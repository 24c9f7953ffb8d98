// Rasterised shapes kept as span lists, so a shape drawn again at the same
// size, phase, style and rotation is replayed instead of rasterised.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

// One pixel row's run of equal coverage, relative to the shape's origin
// pixel: pixels x0 up to x1 (exclusive) of row y.
struct TSpan {
    int16_t x0 = 0;
    int16_t x1 = 0;
    int16_t y = 0;
    uint8_t level = 0;  // coverage 0..16
    uint8_t row = 0;    // the coverage row, which says the colour
};
static_assert(sizeof(TSpan) == 8);

// Everything that decides a shape's spans.
struct TSpanKey {
    const uint8_t* stream = nullptr;
    uint8_t phaseX = 0;
    uint8_t phaseY = 0;
    float scaleX = 0;
    float scaleY = 0;
    float lineWidths[2] = {0, 0};
    bool italic = false;
    float rotCos = 1;
    float rotSin = 0;

    bool operator==(const TSpanKey& other) const;
};

class TSpanCache {
public:
    static constexpr int kBucketCount = 2039;
    static constexpr int kSpansPerBlock = 8192;
    // 16 MB of span blocks.
    static constexpr int kDefaultMaxBlocks = 256;

    explicit TSpanCache(int maxBlocks = kDefaultMaxBlocks);

    // The place of the shape's first span, or -1 when it is not stored.
    int64_t Find(const TSpanKey& key) const;
    // The stored span at a place; a shape's spans follow each other and end
    // before the first place for which IsEnd is true.
    const TSpan& At(int64_t place) const;
    bool IsEnd(int64_t place) const { return At(place).level == kEndLevel; }

    // Stores the spans added until EndRecording under the key. When the
    // blocks run out the shape is not stored, and the cache is emptied before
    // the next one is recorded.
    void BeginRecording(const TSpanKey& key);
    void Add(const TSpan& span);
    void EndRecording();

    void Clear();
    int GetBlockCount() const { return static_cast<int>(mBlocks.size()); }

private:
    static constexpr uint8_t kEndLevel = 255;

    struct TEntry {
        TSpanKey key;
        int64_t start = 0;
        int next = -1;
    };
    using TBlock = std::array<TSpan, kSpansPerBlock>;

    static int Bucket(const uint8_t* stream);
    bool Store(const TSpan& span);
    void Abandon();

    int mMaxBlocks;
    std::vector<int> mHeads;
    std::vector<TEntry> mEntries;
    std::vector<std::unique_ptr<TBlock>> mBlocks;
    int64_t mUsed = 0;
    bool mRecording = false;
    bool mFull = false;
};
