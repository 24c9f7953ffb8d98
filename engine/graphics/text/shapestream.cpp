#include "graphics/text/shapestream.h"

int ShapeCommandSize(uint8_t opcode) {
    switch (opcode) {
    case kShapeNewGroup:
    case kShapeEnd:
        return 1;
    case kShapeFillStyle:
    case kShapeLineStyle:
        return 2;
    case kShapeColour:
        return 4;
    case kShapeMoveTo:
    case kShapeLineTo:
        return 5;
    case kShapeCurveTo:
        return 9;
    default:
        return 0;
    }
}

size_t MeasureShapeStream(const uint8_t* data, size_t size, size_t offset) {
    size_t position = offset;
    while (position < size) {
        uint8_t opcode = data[position];
        int length = ShapeCommandSize(opcode);
        if (length == 0 || size - position < static_cast<size_t>(length)) return 0;
        position += length;
        if (opcode == kShapeEnd) return position - offset;
    }
    return 0;
}

void TShapeWriter::FillStyle(uint8_t style) {
    mBytes.push_back(kShapeFillStyle);
    mBytes.push_back(style);
}

void TShapeWriter::MoveTo(int16_t x, int16_t y) {
    mBytes.push_back(kShapeMoveTo);
    Coordinate(x);
    Coordinate(y);
}

void TShapeWriter::LineTo(int16_t x, int16_t y) {
    mBytes.push_back(kShapeLineTo);
    Coordinate(x);
    Coordinate(y);
}

void TShapeWriter::CurveTo(int16_t cx, int16_t cy, int16_t x, int16_t y) {
    mBytes.push_back(kShapeCurveTo);
    Coordinate(cx);
    Coordinate(cy);
    Coordinate(x);
    Coordinate(y);
}

void TShapeWriter::Coordinate(int16_t value) {
    uint16_t bits = static_cast<uint16_t>(value);
    mBytes.push_back(static_cast<uint8_t>(bits & 0xFF));
    mBytes.push_back(static_cast<uint8_t>(bits >> 8));
}
