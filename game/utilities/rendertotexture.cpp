#include "game/utilities/rendertotexture.h"

#include "core/windows/window.h"
#include "game/utilities/texturepixeltarget.h"
#include "graphics/render/renderer.h"
#include "graphics/texture.h"
#include "widgets/text.h"

namespace {

// The tree is clipped to the window's screen rectangle: the window goes
// where that rectangle starts at the texture's origin.
TPoint OriginInParent(const TWindow& window) {
    TWindow* parent = window.GetParent();
    TPoint parentOrigin = parent ? parent->LocalToGlobal(TPoint(0, 0)) : TPoint(0, 0);
    return TPoint(-parentOrigin.x, -parentOrigin.y);
}

void DrawTreeInTarget(TWindow* window, const std::shared_ptr<TTexture>& texture, int mode) {
    TRenderer* renderer = TRenderer::GetInstance();
    if (!renderer->BeginRenderTarget(texture, mode)) return;
    TWindow::DrawWindowTree(window, TWindow::kDrawAll);
    renderer->EndRenderTarget();
}

void DrawOverFill(TWindow* window, const std::shared_ptr<TTexture>& texture, const TColor4f& colour) {
    TRenderer* renderer = TRenderer::GetInstance();
    if (!renderer->BeginRenderTarget(texture, 0)) return;
    if (renderer->Begin2d()) {
        renderer->FillRect(TRect(0, 0, window->GetWidth(), window->GetHeight()), colour, texture);
        renderer->End2d();
    }
    TWindow::DrawWindowTree(window, TWindow::kDrawAll);
    renderer->EndRenderTarget();
}

}  // namespace

std::shared_ptr<TTexture> RenderWindowToTexture(TWindow* window, bool textAware, const TColor4f& colour) {
    if (!window || window->GetWidth() <= 0 || window->GetHeight() <= 0) return nullptr;
    std::shared_ptr<TTexture> texture = TTexture::Create(window->GetWidth(), window->GetHeight(), textAware);
    if (!texture) return nullptr;
    TRect kept = window->GetRect();
    TPoint origin = OriginInParent(*window);
    window->SetPosition(origin.x, origin.y);
    if (!textAware) {
        DrawOverFill(window, texture, colour);
    } else if (TText* text = CastToTText(window)) {
        RenderTextToTexture(text, texture);
    } else {
        DrawTreeInTarget(window, texture, 1);
        DrawTreeInTarget(window, texture, 4);
    }
    window->SetPosition(kept.left, kept.top);
    return texture;
}

void RenderTextToTexture(TText* text, const std::shared_ptr<TTexture>& texture) {
    TTextLayout* layout = text ? text->GetLayout() : nullptr;
    if (!layout || !texture) return;
    TTexturePixelTarget target(texture);
    layout->DrawInRect(TRect(0, 0, texture->GetWidth(), texture->GetHeight()), 1.0f, 0, 1.0f, &target);
}
