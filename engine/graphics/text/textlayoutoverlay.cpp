#include "graphics/text/textlayoutoverlay.h"

#include "foundation/settings.h"
#include "graphics/render/renderer.h"

namespace {

constexpr int kOverlaySide = 512;
constexpr int kOverlayTextSize = 16;
const TRect kBackdrop(0, 0, 300, 64);

int SettingAsInt(const char* key) {
    return GetSetting(key, TString()).ToInt();
}

}  // namespace

TString TTextLayoutOverlay::FormatStatistics(float framesPerSecond) {
    // No allocation tracker feeds the process's memory figures.
    const int memoryInUse = 0;
    const int memoryPeak = 0;
    int sprites = SettingAsInt("current_sprite_count");
    int textureMemory = SettingAsInt("texture_ram_allocated");
    int textureMemoryPeak = SettingAsInt("max_texture_ram_allocated");
    return TString::Format("Kindlemoor Version %d.%d.%d.%d<br>%f FPS<tab pos='150'>Sprites: %d<br>"
                           "Mem: %dkB<tab pos='150'>TexMem: %dkB<br>MaxMem: %dkB<tab pos='150'>MaxTexMem: %dkB<br>",
                           4, 0, 15, 0, static_cast<double>(framesPerSecond), sprites, memoryInUse / 1024,
                           textureMemory / 1024, memoryPeak / 1024, textureMemoryPeak / 1024);
}

void TTextLayoutOverlay::Draw(TRenderer& renderer) {
    if (!mLayout) {
        mLayout = TTextLayout::Create(kOverlaySide, kOverlaySide, TString(), kOverlayTextSize, TColor4f(1, 0, 0, 1),
                                      0, TString());
    }
    bool begun = renderer.Begin2d();
    renderer.FillRect(kBackdrop, TColor4f(0, 0, 0, 0));
    mLayout->SetText(FormatStatistics(renderer.GetFramesPerSecond()));
    mLayout->DrawInRect(TRect(0, 0, kOverlaySide, kOverlaySide), 1, 0, 1);
    if (begun) renderer.End2d();
}
