// Building ".mvec" fonts in memory for the tests.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/text/shapestream.h"

struct TestGlyph {
    uint32_t code;
    int16_t top = 0;     // 1/128 units
    int16_t bottom = 0;  // 1/128 units
    int16_t advance = 0;
    std::vector<uint8_t> shape = {kShapeFillStyle, 1, kShapeEnd};
    int16_t left = 0;
    int16_t right = 0;
};

// The file bytes, records in the order given.
inline std::vector<uint8_t> BuildFont(const std::vector<TestGlyph>& glyphs) {
    std::vector<uint8_t> bytes = {'M', 'V', 'C', '4', uint8_t(glyphs.size()), uint8_t(glyphs.size() >> 8), 0, 0, 0, 0,
                                  0, 0};
    auto put16 = [&](int16_t v) {
        bytes.push_back(uint8_t(uint16_t(v)));
        bytes.push_back(uint8_t(uint16_t(v) >> 8));
    };
    auto put32 = [&](uint32_t v) {
        for (int shift = 0; shift < 32; shift += 8) bytes.push_back(uint8_t(v >> shift));
    };
    uint32_t offset = static_cast<uint32_t>(12 + 18 * glyphs.size());
    for (const TestGlyph& glyph : glyphs) {
        put32(glyph.code);
        for (int16_t v : {glyph.left, glyph.right, glyph.top, glyph.bottom, glyph.advance}) put16(v);
        put32(offset);
        offset += static_cast<uint32_t>(glyph.shape.size());
    }
    for (const TestGlyph& glyph : glyphs) bytes.insert(bytes.end(), glyph.shape.begin(), glyph.shape.end());
    return bytes;
}

// Offset of a record's field in the file.
inline size_t RecordField(int index, int field) {
    return 12 + 18 * static_cast<size_t>(index) + field;
}
