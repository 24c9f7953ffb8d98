// How one drawable is placed and tinted. Sprites compose it down their tree
// and textures turn it into a screen quad; it is copied by value.
#pragma once

#include "foundation/color.h"
#include "foundation/matrix.h"
#include "foundation/rect.h"
#include "foundation/vector.h"

struct TDrawState {
    enum {
        kMirrorHorizontal = 0x01,
        kMirrorVertical = 0x02,
        kUseSourceRect = 0x04,
        kUsePivot = 0x08,  // else the anchor is the centre of the source rectangle
    };
    // Inherit the parent's blend mode, or leave the renderer's as it is.
    static constexpr int kInheritBlend = -1;

    // Identity, scaled when the scale is not 1, moved to the position.
    TDrawState(const TVec2& position, float alphaValue, float scale, int flagBits);

    void Assign(const TDrawState& other);
    // The child placed within its parent: the child's matrix is applied first,
    // mirroring accumulates, alphas multiply, and the source-rectangle and
    // pivot flags, pivot, colour and source rectangle stay the child's.
    static TDrawState Compose(const TDrawState& child, const TDrawState& parent);

    TMat3 matrix;
    TVec2 pivot;  // in source pixels from the source rectangle's top-left
    TColor4f color{1, 1, 1, 1};
    float alpha;
    TRect sourceRect;
    int flags;
    int blendMode = kInheritBlend;
};
