// The device states the display back end installs: the defaults of a new
// device, the 2D and 3D presets, and the blend factors and texture stage of
// each blend mode.
#pragma once

#include "platform/display/types.h"

// What the blend set-up depends on besides the mode.
struct TBlendSetup {
    // A render target is open in its alpha-mask mode.
    bool alphaMaskTarget = false;
    bool textured = false;
    // The render hints "new_subtractive" and "new_render_blend".
    bool newSubtractive = false;
    bool newRenderBlend = false;
};

// States of a newly created device: alpha blending and testing, depth on,
// linear filtering, texture times diffuse.
display::DrawStates DefaultDrawStates();

// Blend modes: 0 normal, 1 opaque, 2 additive, 3 subtractive, 4 multiply.
// Other modes keep the blend factors and only set the texture stage.
void SetBlendStates(display::DrawStates& states, int mode, const TBlendSetup& setup);
// The texture stage of the mode alone.
void SetStageStates(display::DrawStates& states, int mode, const TBlendSetup& setup);

// 2D: no depth, no culling, clamped linear textures, no specular.
void Set2dStates(display::DrawStates& states);
// 3D: depth, counter-clockwise culling, wrapped linear textures.
void Set3dStates(display::DrawStates& states, bool specular);

// 0 point, 1 linear; false (nothing changed) for any other mode.
bool SetFilterStates(display::DrawStates& states, int mode);
// 1 wrap, 2 mirror, anything else clamp.
display::Address AddressOf(int kind);
// 2 clockwise, 3 counter-clockwise, anything else none.
display::Cull CullOf(int kind);
