#include "game/widgets/gamewindow.h"

#include <memory>

#include "core/app/message.h"
#include "core/scripting/luaobject.h"
#include "core/windows/windowanim.h"
#include "core/windows/windowmanager.h"
#include "core/windows/windowstyle.h"
#include "game/utilities/draw2dscope.h"
#include "game/widgets/widgetclass.h"
#include "graphics/render/renderer.h"

namespace {

// What the background quad's vertices carry besides position and colour;
// any values that draw it unclipped in 2D serve.
constexpr float kQuadDepth = 1.0f;
constexpr float kQuadFourth = 0.5f;

}  // namespace

TWindow* RWindow::Create() {
    return new RWindow();
}

RWindow::RWindow() {
    for (TRenderVertex& vertex : mQuad) vertex.rhw = kQuadFourth;
}

RWindow::~RWindow() = default;

const char* RWindow::GetClassName() const {
    return "RWindow";
}

bool RWindow::IsA(TWindowClassId id) const {
    return IsClassIdIn(id, {ClassId(), TImage::ClassId(), TWindow::ClassId()});
}

void RWindow::PostInit(const TWindowStyle& style) {
    TImage::PostInit(style);
    float imageAlpha = static_cast<float>(style.GetNumber("imagealpha", -1));
    if (imageAlpha >= 0) SetAlpha(imageAlpha);
    if (style.GetBool("disable", false)) SetFlags(0);
    ReadBackground(style);
    PostEffect(style);
    StartFrameClock();
}

void RWindow::ReadBackground(const TWindowStyle& style) {
    // A colour that is no table would read as transparent black.
    std::unique_ptr<TLuaTable> table(style.GetTable("bgcolor"));
    if (!table || !table->IsTable()) return;
    TColor4f colour = style.GetColor("bgcolor", mBackground);
    if (colour != mBackground) SetBackgroundColor(colour.r, colour.g, colour.b, colour.a);
}

void RWindow::PostEffect(const TWindowStyle& style) {
    int effect = style.GetInt("effect", kNoEffect);
    TWindowManager* manager = TWindowManager::GetInstance();
    if (effect == kNoEffect || !manager) return;
    // The transition manager plays the effect and runs the text when done.
    manager->PostMessage(new TMessage(effect, style.GetString("luastring", TString()), nullptr));
}

void RWindow::StartFrameClock() {
    if (GetParentModal()) {
        StartAnimation(kAnimationPeriod, true, true, false);
        return;
    }
    // Not yet under a modal window: the animation runs on the top one.
    TWindowManager* manager = TWindowManager::GetInstance();
    TModalWindow* top = manager ? manager->GetTopModal() : nullptr;
    if (TWindowAnim* animator = GetAnimatorOn(top)) animator->Start(kAnimationPeriod, true, true, false);
}

void RWindow::SetBackgroundColor(float r, float g, float b, float a) {
    mBackground = TColor4f(r, g, b, a);
    mHasBackground = true;
    float width = static_cast<float>(GetWidth());
    float height = static_cast<float>(GetHeight());
    const float corners[4][2] = {{0, 0}, {width, 0}, {0, height}, {width, height}};
    uint32_t argb = TColor(mBackground).ARGB();
    for (int i = 0; i < 4; ++i) {
        mQuad[i].x = corners[i][0];
        mQuad[i].y = corners[i][1];
        mQuad[i].z = kQuadDepth;
        mQuad[i].diffuse = argb;
    }
}

void RWindow::Draw() {
    TImage::Draw();
    if (!mHasBackground) return;
    TDraw2dScope scope;
    if (!scope.IsOpen()) return;
    TRenderer* renderer = TRenderer::GetInstance();
    // A plain colour: the image's texture stays out of it.
    renderer->SetTexture(nullptr);
    TVertexSet quad;
    quad.Init2d(mQuad, 4);
    renderer->DrawVertices(TRenderer::kTriangleStrip, quad);
}

bool RWindow::Animate() {
    // The animator goes with the modal window whose clock it reads, so the
    // times stay as they are once it is gone.
    const TWindowAnim* animator = FindAnimator();
    if (!animator) return true;
    uint32_t now = static_cast<uint32_t>(animator->Now());
    if (mLastTime == 0) mLastTime = now;
    mFrameTime = now - mLastTime;
    mLastTime = now;
    mElapsedTime += mFrameTime;
    return true;
}
