#include "graphics/display/dxdevicestates.h"

namespace {

using display::Blend;
using display::StageOp;

constexpr int kOpaque = 1;
constexpr int kSubtractive = 3;
constexpr int kLastBlendMode = 4;

struct TBlendFactors {
    Blend source, dest;
};

// Per mode: without a target, then in an alpha-mask target. Mode 1 turns
// blending off instead.
const TBlendFactors kScreenFactors[] = {
    {Blend::SrcAlpha, Blend::InvSrcAlpha}, {Blend::One, Blend::Zero},         {Blend::SrcAlpha, Blend::One},
    {Blend::Zero, Blend::InvSrcColor},     {Blend::Zero, Blend::SrcColor},
};
const TBlendFactors kTargetFactors[] = {
    {Blend::SrcAlpha, Blend::One}, {Blend::One, Blend::Zero},    {Blend::SrcAlpha, Blend::One},
    {Blend::One, Blend::One},      {Blend::Zero, Blend::SrcColor},
};

void SetTargetStage(display::StageState& stage, int mode, const TBlendSetup& setup) {
    // The target keeps the complement of the colours drawn into it.
    if (mode == kSubtractive && setup.newSubtractive) {
        stage.colorArg1 = display::kArgTextureFactor;
    } else if (setup.textured) {
        stage.colorArg1 = display::kArgTexture | display::kComplement;
        if (setup.newRenderBlend) {
            stage.colorArg2 = display::kArgDiffuse | display::kComplement;
            stage.colorOp = StageOp::Modulate;
        }
    } else {
        stage.colorArg1 = display::kArgDiffuse | display::kComplement;
        if (setup.newRenderBlend) stage.colorOp = StageOp::SelectArg1;
    }
    if (!setup.newRenderBlend) stage.colorOp = StageOp::SelectArg1;
    stage.alphaArg1 = display::kArgTextureFactor;
    stage.alphaOp = StageOp::SelectArg1;
}

void SetScreenStage(display::StageState& stage, int mode, const TBlendSetup& setup) {
    stage.colorArg1 = display::kArgTexture;
    if (setup.newRenderBlend) stage.colorArg2 = display::kArgCurrent;
    stage.colorOp = StageOp::Modulate;
    bool opaqueAlpha = mode == kOpaque || (mode == kSubtractive && setup.newSubtractive);
    stage.alphaArg1 = opaqueAlpha ? display::kArgTextureFactor : display::kArgTexture;
    stage.alphaOp = opaqueAlpha ? StageOp::SelectArg1 : StageOp::Modulate;
}

}  // namespace

display::DrawStates DefaultDrawStates() {
    display::DrawStates states;
    states.ambient = 0xFFFFFFFF;
    states.zEnable = true;
    states.zWrite = true;
    states.blendEnable = true;
    states.srcBlend = Blend::SrcAlpha;
    states.destBlend = Blend::InvSrcAlpha;
    states.filter = display::Filter::Linear;
    states.stage = display::StageState();
    states.alphaTestEnable = true;
    states.alphaRef = 1;
    states.gouraud = true;
    return states;
}

void SetBlendStates(display::DrawStates& states, int mode, const TBlendSetup& setup) {
    if (mode >= 0 && mode <= kLastBlendMode) {
        TBlendFactors factors = kScreenFactors[mode];
        if (setup.alphaMaskTarget) {
            factors = kTargetFactors[mode];
            // The old subtractive form keeps normal blending in a target.
            if (mode == kSubtractive && !setup.newSubtractive) factors = {Blend::SrcAlpha, Blend::InvSrcAlpha};
        }
        states.blendEnable = mode != kOpaque;
        if (mode != kOpaque) {
            states.srcBlend = factors.source;
            states.destBlend = factors.dest;
        }
    }
    SetStageStates(states, mode, setup);
}

void SetStageStates(display::DrawStates& states, int mode, const TBlendSetup& setup) {
    states.textureFactor = 0xFFFFFFFF;
    if (setup.alphaMaskTarget) {
        SetTargetStage(states.stage, mode, setup);
    } else {
        SetScreenStage(states.stage, mode, setup);
    }
}

void Set2dStates(display::DrawStates& states) {
    states.specularEnable = false;
    states.addressU = states.addressV = display::Address::Clamp;
    states.filter = display::Filter::Linear;
    states.zEnable = false;
    states.zWrite = false;
    states.cull = display::Cull::None;
}

void Set3dStates(display::DrawStates& states, bool specular) {
    states.specularEnable = specular;
    states.zEnable = true;
    states.zWrite = true;
    states.filter = display::Filter::Linear;
    states.addressU = states.addressV = display::Address::Wrap;
    states.cull = display::Cull::CounterClockwise;
}

bool SetFilterStates(display::DrawStates& states, int mode) {
    if (mode != 0 && mode != 1) return false;
    states.filter = mode == 0 ? display::Filter::Point : display::Filter::Linear;
    return true;
}

display::Address AddressOf(int kind) {
    if (kind == 1) return display::Address::Wrap;
    if (kind == 2) return display::Address::Mirror;
    return display::Address::Clamp;
}

display::Cull CullOf(int kind) {
    if (kind == 2) return display::Cull::Clockwise;
    if (kind == 3) return display::Cull::CounterClockwise;
    return display::Cull::None;
}
