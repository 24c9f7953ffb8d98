// Lays out the input as marked-up text with the built-in font and draws it
// into pixels in memory, at a width and flags taken from its first bytes,
// then asks the layout for its extents, links and last page.
#include <cstddef>
#include <cstdint>
#include <string>

#include "foundation/debuglog.h"
#include "graphics/render/renderbackend.h"
#include "graphics/render/renderer.h"
#include "graphics/text/fontmap.h"
#include "graphics/text/pixeltarget.h"
#include "graphics/text/qmminivecdraw.h"
#include "graphics/text/textlayout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SetLogFolder(nullptr);
    if (size < 2) return 0;
    static TFontMap fonts([](const TString&, std::string&) { return false; });
    static TRenderer renderer;
    static TQmMiniVecDraw draw(renderer);
    TQmMiniVecDraw::SetInstance(&draw);

    int width = data[0] * 2;
    int flags = data[1] & 15;
    TString text(reinterpret_cast<const char*>(data + 2), static_cast<int>(size - 2));
    TTextLayout layout(width, 96, "", 8 + data[1] / 16, TColor4f(1, 1, 1, 1), flags, text, &fonts);
    TPixelBuffer target(256, 128);
    layout.Draw(TVec2(4, 4), 120, 1, 0, 1, &target);
    layout.GetExtents(1.5f);
    layout.SetHoverPoint(TPoint(width / 2, 10));
    layout.GetLinkAt(TPoint(20, 20), 2);
    layout.SetFirstVisibleLine(static_cast<float>(layout.CountLinesFitting(1, 1)) + 0.5f);
    layout.SetRotation(30, 10, 10);
    layout.Draw(TVec2(4, 4), 120, 0.75f, 1, 0.5f, &target);
    TQmMiniVecDraw::SetInstance(nullptr);
    return 0;
}
