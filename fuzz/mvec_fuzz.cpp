// Loads the input as a ".mvec" font, looks glyphs up and rasterises every
// glyph into a pixel buffer, plain and with the strokes, italic and a turn.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "foundation/debuglog.h"
#include "graphics/render/recordingrenderbackend.h"
#include "graphics/render/renderer.h"
#include "graphics/text/pixeltarget.h"
#include "graphics/text/qmminivecdraw.h"
#include "graphics/text/vecfont.h"

namespace {

void DrawEveryGlyph(const TVecFont& font, TQmMiniVecDraw& draw, TPixelTarget& target) {
    draw.Begin(20.25f, 40.5f, &target);
    for (int index = 0; index < font.GetGlyphCount(); ++index) {
        draw.DrawShape(font.GetGlyphShape(index), index % 7, index % 5);
    }
    draw.End();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SetLogFolder(nullptr);
    TVecFont font(std::vector<uint8_t>(data, data + size));
    for (uint32_t code : {0u, 32u, 65u, 87u, 0x20ACu, 0xFFFFFFFFu}) {
        int index = font.FindGlyph(code);
        font.GetAdvance(index);
        font.GetFitScale(index);
        font.GetGlyphShape(index);
    }

    TRenderer renderer;
    renderer.SetBackEnd(std::make_unique<TRecordingRenderBackEnd>(TRect(0, 0, 64, 64)));
    TQmMiniVecDraw draw(renderer);
    TPixelBuffer target(64, 64);
    float scale = font.GetAscent() > 0 ? 4 * 24 / (font.GetAscent() + font.GetDescent()) : 1;
    draw.SetScale(scale, scale);
    DrawEveryGlyph(font, draw, target);

    draw.SetLineWidth(0, 1.5f);
    draw.SetLineWidth(1, 0.5f);
    draw.SetItalic(true);
    draw.SetRotation(0.8f, 0.6f);
    draw.SetPixelModes(true, false);
    DrawEveryGlyph(font, draw, target);
    return 0;
}
