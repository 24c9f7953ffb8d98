// The shape command stream of vector fonts: one opcode byte, then its
// operands; coordinates are signed 16-bit little-endian counts of 1/128 units.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

enum TShapeOpcode : uint8_t {
    kShapeNewGroup = 1,   // no operands
    kShapeFillStyle = 2,  // style byte
    kShapeLineStyle = 3,  // style byte
    kShapeMoveTo = 4,     // x, y
    kShapeLineTo = 5,     // x, y
    kShapeCurveTo = 6,    // control x, y, end x, y
    kShapeColour = 7,     // red, green, blue bytes
    kShapeEnd = 8,        // no operands
};

// Stream coordinates per font unit.
constexpr float kShapeUnitsPerFontUnit = 128.0f;

// The size of a command with its operands; 0 for an unknown opcode.
int ShapeCommandSize(uint8_t opcode);

// The length of the stream starting at offset up to and including its end
// command, or 0 when it holds an unknown opcode or runs past size first.
size_t MeasureShapeStream(const uint8_t* data, size_t size, size_t offset);

inline int16_t ReadShapeCoordinate(const uint8_t* bytes) {
    return static_cast<int16_t>(bytes[0] | bytes[1] << 8);
}

// Builds a stream command by command.
class TShapeWriter {
public:
    void NewGroup() { mBytes.push_back(kShapeNewGroup); }
    void FillStyle(uint8_t style);
    void MoveTo(int16_t x, int16_t y);
    void LineTo(int16_t x, int16_t y);
    void CurveTo(int16_t cx, int16_t cy, int16_t x, int16_t y);
    void End() { mBytes.push_back(kShapeEnd); }

    const std::vector<uint8_t>& GetBytes() const { return mBytes; }
    void Clear() { mBytes.clear(); }

private:
    void Coordinate(int16_t value);

    std::vector<uint8_t> mBytes;
};
