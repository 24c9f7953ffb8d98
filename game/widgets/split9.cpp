#include "game/widgets/split9.h"

#include "core/windows/window.h"
#include "core/windows/windowstyle.h"
#include "foundation/matrix.h"
#include "game/utilities/draw2dscope.h"
#include "graphics/sprite.h"
#include "graphics/texture.h"

namespace {

TMat3 Translation(float x, float y) {
    return TMat3(1, 0, 0, 0, 1, 0, x, y, 1);
}

TMat3 Scaling(float sx, float sy) {
    return TMat3(sx, 0, 0, 0, sy, 0, 0, 0, 1);
}

}  // namespace

KSplit9::KSplit9(TWindow& window) : mRoot(TSprite::Create(0)), mWindow(window) {}

KSplit9::~KSplit9() = default;

void KSplit9::Init(const TWindowStyle& style) {
    mLeft = style.GetInt("x1", 0);
    mRight = style.GetInt("x2", 0);
    mTop = style.GetInt("y1", 0);
    mBottom = style.GetInt("y2", 0);
    mPanelPadding = style.GetInt("padding", 0);
    FitWindow(style);
    TString name = style.GetString("image", TString());
    mImage = name.Length() > 0 ? TTexture::GetWithOptions(name, 0) : nullptr;
    BuildPieces();
}

void KSplit9::BuildPieces() {
    if (!mImage) return;
    int w = mImage->GetWidth();
    int h = mImage->GetHeight();
    int W = mWindow.GetWidth();
    int H = mWindow.GetHeight();
    int L = mLeft;
    int R = mRight;
    int T = mTop;
    int B = mBottom;
    AddPiece(0, 0, L, T, 0, 0, L, T);
    AddPiece(L, 0, w - R, T, L, 0, W - R, T);
    AddPiece(w - R, 0, w, T, W - R, 0, W, T);
    AddPiece(0, T, L, h - B, 0, T, L, H - B);
    AddPiece(L, T, w - R, h - B, L, T, W - R, H - B);
    AddPiece(w - R, T, w, h - B, W - R, T, W, H - B);
    AddPiece(0, h - B, L, h, 0, H - B, L, H);
    AddPiece(L, h - B, w - R, h, L, H - B, W - R, H);
    AddPiece(w - R, h - B, w, h, W - R, H - B, W, H);
}

void KSplit9::AddPiece(int a, int b, int c, int d, int e, int f, int g, int h) {
    // An empty side would divide by zero, a reversed one mirror the piece.
    if (c <= a || d <= b || g <= e || h <= f) return;
    float sourceWidth = static_cast<float>(c - a);
    float sourceHeight = static_cast<float>(d - b);
    std::shared_ptr<TSprite> piece = TSprite::Create(0, mImage);
    TDrawState& state = piece->GetDrawState();
    // Images draw centred: the first move puts the source's top-left on the
    // origin, the scale stretches it, the last move places it.
    state.matrix = Translation(sourceWidth / 2, sourceHeight / 2) *
                   Scaling(static_cast<float>(g - e) / sourceWidth, static_cast<float>(h - f) / sourceHeight) *
                   Translation(static_cast<float>(e), static_cast<float>(f));
    state.flags |= TDrawState::kUseSourceRect;
    state.sourceRect = TRect(a, b, c, d);
    mRoot->AddChild(piece);
}

TRect KSplit9::InnerRect() const {
    return TRect(mLeft - mPanelPadding, mTop - mPanelPadding, mWindow.GetWidth() - mRight + mPanelPadding,
                 mWindow.GetHeight() - mBottom + mPanelPadding);
}

void KSplit9::DrawPanel() {
    if (!mRoot) return;
    TDraw2dScope scope;
    if (!scope.IsOpen()) return;
    mRoot->Draw(TDrawState(TVec2(0, 0), 1, 1, 0), -1);
}
