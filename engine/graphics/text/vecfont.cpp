#include "graphics/text/vecfont.h"

#include <algorithm>
#include <cstring>

#include "foundation/byteorder.h"
#include "foundation/debuglog.h"
#include "graphics/text/shapestream.h"

namespace {

const size_t kHeaderSize = 12;
const size_t kRecordSize = 18;
const int kLeftExtentField = 4;
const int kRightExtentField = 6;
const int kTopField = 8;
const int kBottomField = 10;
const int kAdvanceField = 12;
const int kShapeOffsetField = 14;

const float kMetricScale = 1.0f / kShapeUnitsPerFontUnit;
const float kTopFraction = 0.15f;
const float kBottomFraction = 0.05f;
const uint32_t kAscentCode = 'W';
const uint32_t kDescentCodeLimit = 128;
const uint32_t kUnderscoreCode = '_';

int16_t ReadS16(const uint8_t* bytes) {
    return static_cast<int16_t>(ReadU16LE(bytes));
}

}  // namespace

TVecFont::TVecFont(std::vector<uint8_t> data) : mData(std::move(data)) {
    bool hasHeader = mData.size() >= kHeaderSize && std::memcmp(mData.data(), "MVC4", 4) == 0;
    if (hasHeader && IsWellFormed()) ComputeMetrics();
    // Text is scaled by the line height, so a font without one is as
    // unusable as one that cannot be read.
    if (mAscent + mDescent <= 0) {
        DebugLog("TVecFont: malformed font data (%zu bytes), no glyphs loaded", mData.size());
        MakeEmpty();
    }
}

void TVecFont::MakeEmpty() {
    mData.clear();
    mCodes.clear();
    mFitScales.clear();
    mAscent = mDescent = mTopPadding = mBottomPadding = 0;
}

bool TVecFont::IsWellFormed() const {
    size_t count = ReadU16LE(mData.data() + 4);
    if (mData.size() < kHeaderSize + count * kRecordSize) return false;
    if (!HasValidRecords()) return false;
    // The ascent is taken from 'W'.
    for (size_t i = 0; i < count; ++i) {
        if (ReadU32LE(mData.data() + kHeaderSize + i * kRecordSize) == kAscentCode) return true;
    }
    return false;
}

// Codes strictly ascending, for the binary search, and every shape stream
// inside the file and ended.
bool TVecFont::HasValidRecords() const {
    size_t count = ReadU16LE(mData.data() + 4);
    size_t shapesStart = kHeaderSize + count * kRecordSize;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* record = mData.data() + kHeaderSize + i * kRecordSize;
        if (i > 0 && ReadU32LE(record) <= ReadU32LE(record - kRecordSize)) return false;
        size_t offset = ReadU32LE(record + kShapeOffsetField);
        if (offset < shapesStart || MeasureShapeStream(mData.data(), mData.size(), offset) == 0) return false;
    }
    return true;
}

void TVecFont::ComputeMetrics() {
    int count = ReadU16LE(mData.data() + 4);
    mCodes.resize(count);
    for (int i = 0; i < count; ++i) mCodes[i] = ReadU32LE(Record(i));

    mAscent = -RecordMetric(FindGlyph(kAscentCode), kTopField);
    mDescent = 0;
    for (int i = 0; i < count && mCodes[i] < kDescentCodeLimit; ++i) {
        if (mCodes[i] != kUnderscoreCode) mDescent = std::max(mDescent, RecordMetric(i, kBottomField));
    }

    float height = mAscent + mDescent;
    float padding = height * (kTopFraction + kBottomFraction) / GetContentFraction();
    mTopPadding = kTopFraction * padding / (kTopFraction + kBottomFraction);
    mBottomPadding = kBottomFraction * padding / (kTopFraction + kBottomFraction);

    mFitScales.assign(count, 1.0f);
    for (int i = 0; i < count; ++i) {
        float up = -RecordMetric(i, kTopField) / (mAscent + mTopPadding);
        float down = RecordMetric(i, kBottomField) / (mDescent + mBottomPadding);
        if (up > 1 || down > 1) mFitScales[i] = 1.0f / std::max(up, down);
    }
}

float TVecFont::GetContentFraction() {
    return 1.0f - kTopFraction - kBottomFraction;
}

int TVecFont::FindGlyph(uint32_t code) const {
    int low = 0;
    int high = GetGlyphCount() - 1;
    while (low <= high) {
        int middle = (low + high) / 2;
        if (mCodes[middle] == code) return middle;
        if (code < mCodes[middle]) {
            high = middle - 1;
        } else {
            low = middle + 1;
        }
    }
    return -1;
}

const uint8_t* TVecFont::Record(int index) const {
    if (index < 0 || index >= GetGlyphCount()) return nullptr;
    return mData.data() + kHeaderSize + static_cast<size_t>(index) * kRecordSize;
}

float TVecFont::RecordMetric(int index, int offset) const {
    const uint8_t* record = Record(index);
    return record ? ReadS16(record + offset) * kMetricScale : 0.0f;
}

const uint8_t* TVecFont::GetGlyphShape(int index) const {
    const uint8_t* record = Record(index);
    return record ? mData.data() + ReadU32LE(record + kShapeOffsetField) : nullptr;
}

float TVecFont::GetAdvance(int index) const {
    return RecordMetric(index, kAdvanceField);
}

float TVecFont::GetLeftExtent(int index) const {
    return RecordMetric(index, kLeftExtentField);
}

float TVecFont::GetRightExtent(int index) const {
    return RecordMetric(index, kRightExtentField);
}

float TVecFont::GetFitScale(int index) const {
    return index >= 0 && index < GetGlyphCount() ? mFitScales[index] : 1.0f;
}
