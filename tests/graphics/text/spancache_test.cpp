#include "graphics/text/spancache.h"

#include <gtest/gtest.h>

namespace {

TSpanKey Key(const uint8_t* stream, float scale = 1) {
    TSpanKey key;
    key.stream = stream;
    key.scaleX = key.scaleY = scale;
    return key;
}

void Record(TSpanCache& cache, const TSpanKey& key, int spans) {
    cache.BeginRecording(key);
    for (int i = 0; i < spans; ++i) {
        TSpan span;
        span.x0 = static_cast<int16_t>(i);
        span.level = 16;
        cache.Add(span);
    }
    cache.EndRecording();
}

int StoredSpans(const TSpanCache& cache, const TSpanKey& key) {
    int64_t place = cache.Find(key);
    if (place < 0) return -1;
    int count = 0;
    for (; !cache.IsEnd(place); ++place, ++count) EXPECT_EQ(cache.At(place).x0, static_cast<int16_t>(count));
    return count;
}

TEST(SpanCache, EveryPartOfTheKeyCounts) {
    uint8_t streams[2] = {};
    TSpanCache cache;
    TSpanKey key = Key(&streams[0]);
    Record(cache, key, 3);
    EXPECT_EQ(StoredSpans(cache, key), 3);
    std::vector<TSpanKey> others(9, key);
    others[0].stream = &streams[1];
    others[1].phaseX = 1;
    others[2].phaseY = 2;
    others[3].scaleX = 2;
    others[4].scaleY = 2;
    others[5].lineWidths[0] = 1;
    others[6].lineWidths[1] = 1;
    others[7].italic = true;
    others[8].rotSin = 0.5f;
    for (const TSpanKey& other : others) EXPECT_EQ(cache.Find(other), -1);
}

TEST(SpanCache, ShapesCrossBlocks) {
    uint8_t stream = 0;
    TSpanCache cache;
    Record(cache, Key(&stream, 1), TSpanCache::kSpansPerBlock - 2);
    Record(cache, Key(&stream, 2), 5);
    EXPECT_EQ(cache.GetBlockCount(), 2);
    EXPECT_EQ(StoredSpans(cache, Key(&stream, 1)), TSpanCache::kSpansPerBlock - 2);
    EXPECT_EQ(StoredSpans(cache, Key(&stream, 2)), 5);
}

TEST(SpanCache, WhenFullTheShapeIsNotStoredAndTheCacheStartsOver) {
    uint8_t stream = 0;
    TSpanCache cache(2);
    Record(cache, Key(&stream, 1), TSpanCache::kSpansPerBlock);
    Record(cache, Key(&stream, 2), TSpanCache::kSpansPerBlock);
    EXPECT_EQ(cache.GetBlockCount(), 2);
    EXPECT_EQ(StoredSpans(cache, Key(&stream, 1)), TSpanCache::kSpansPerBlock);
    EXPECT_EQ(StoredSpans(cache, Key(&stream, 2)), -1);

    Record(cache, Key(&stream, 3), 10);
    EXPECT_EQ(StoredSpans(cache, Key(&stream, 1)), -1);
    EXPECT_EQ(StoredSpans(cache, Key(&stream, 3)), 10);
    EXPECT_EQ(cache.GetBlockCount(), 1);
}

}  // namespace
