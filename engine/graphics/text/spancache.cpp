#include "graphics/text/spancache.h"

#include <cstdint>

bool TSpanKey::operator==(const TSpanKey& other) const {
    return stream == other.stream && phaseX == other.phaseX && phaseY == other.phaseY && scaleX == other.scaleX &&
           scaleY == other.scaleY && lineWidths[0] == other.lineWidths[0] && lineWidths[1] == other.lineWidths[1] &&
           italic == other.italic && rotCos == other.rotCos && rotSin == other.rotSin;
}

TSpanCache::TSpanCache(int maxBlocks) : mMaxBlocks(maxBlocks), mHeads(kBucketCount, -1) {}

int TSpanCache::Bucket(const uint8_t* stream) {
    return static_cast<int>(reinterpret_cast<uintptr_t>(stream) % kBucketCount);
}

int64_t TSpanCache::Find(const TSpanKey& key) const {
    for (int entry = mHeads[Bucket(key.stream)]; entry >= 0; entry = mEntries[entry].next) {
        if (mEntries[entry].key == key) return mEntries[entry].start;
    }
    return -1;
}

const TSpan& TSpanCache::At(int64_t place) const {
    return (*mBlocks[place / kSpansPerBlock])[place % kSpansPerBlock];
}

void TSpanCache::BeginRecording(const TSpanKey& key) {
    if (mFull) Clear();
    int bucket = Bucket(key.stream);
    mEntries.push_back(TEntry{key, mUsed, mHeads[bucket]});
    mHeads[bucket] = static_cast<int>(mEntries.size()) - 1;
    mRecording = true;
}

void TSpanCache::Add(const TSpan& span) {
    if (mRecording && !Store(span)) Abandon();
}

void TSpanCache::EndRecording() {
    TSpan end;
    end.level = kEndLevel;
    Add(end);
    mRecording = false;
}

bool TSpanCache::Store(const TSpan& span) {
    if (mUsed == static_cast<int64_t>(mBlocks.size()) * kSpansPerBlock) {
        if (GetBlockCount() >= mMaxBlocks) return false;
        mBlocks.push_back(std::make_unique<TBlock>());
    }
    (*mBlocks[mUsed / kSpansPerBlock])[mUsed % kSpansPerBlock] = span;
    ++mUsed;
    return true;
}

// The shape being recorded is the newest entry, at the head of its bucket.
void TSpanCache::Abandon() {
    const TEntry& entry = mEntries.back();
    mHeads[Bucket(entry.key.stream)] = entry.next;
    mUsed = entry.start;
    mEntries.pop_back();
    mRecording = false;
    mFull = true;
}

void TSpanCache::Clear() {
    mHeads.assign(kBucketCount, -1);
    mEntries.clear();
    mBlocks.clear();
    mUsed = 0;
    mRecording = false;
    mFull = false;
}
