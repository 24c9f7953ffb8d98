#include "graphics/render/drawstate.h"

TDrawState::TDrawState(const TVec2& position, float alphaValue, float scale, int flagBits)
    : alpha(alphaValue), flags(flagBits) {
    if (scale != 1.0f) matrix.Scale(scale);
    matrix.m[2][0] = position.x;
    matrix.m[2][1] = position.y;
    matrix.m[2][2] = 1.0f;
}

void TDrawState::Assign(const TDrawState& other) {
    *this = other;
}

TDrawState TDrawState::Compose(const TDrawState& child, const TDrawState& parent) {
    const int kMirrorBits = kMirrorHorizontal | kMirrorVertical;
    TDrawState result = child;
    result.matrix = child.matrix * parent.matrix;
    result.alpha = parent.alpha * child.alpha;
    result.flags = child.flags ^ (parent.flags & kMirrorBits);
    if (child.blendMode == kInheritBlend) result.blendMode = parent.blendMode;
    return result;
}
