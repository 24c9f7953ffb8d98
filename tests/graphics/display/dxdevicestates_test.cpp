#include "graphics/display/dxdevicestates.h"

#include <gtest/gtest.h>

namespace {

using display::Blend;
using display::StageOp;

TEST(DxDeviceStatesTest, BlendFactorsOfEachModeOnScreenAndInAnAlphaMaskTarget) {
    struct Case {
        int mode;
        bool target, newSubtractive;
        bool blend;
        Blend source, dest;
    } cases[] = {
        {0, false, false, true, Blend::SrcAlpha, Blend::InvSrcAlpha},
        {1, false, false, false, Blend::SrcAlpha, Blend::InvSrcAlpha},
        {2, false, false, true, Blend::SrcAlpha, Blend::One},
        {3, false, false, true, Blend::Zero, Blend::InvSrcColor},
        {3, false, true, true, Blend::Zero, Blend::InvSrcColor},
        {4, false, false, true, Blend::Zero, Blend::SrcColor},
        {0, true, false, true, Blend::SrcAlpha, Blend::One},
        {1, true, false, false, Blend::SrcAlpha, Blend::InvSrcAlpha},
        {2, true, false, true, Blend::SrcAlpha, Blend::One},
        {3, true, true, true, Blend::One, Blend::One},
        {3, true, false, true, Blend::SrcAlpha, Blend::InvSrcAlpha},
        {4, true, false, true, Blend::Zero, Blend::SrcColor},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " target " << c.target << " new_subtractive "
                                        << c.newSubtractive);
        // Start from factors no mode sets, so that kept factors show.
        display::DrawStates states = DefaultDrawStates();
        TBlendSetup setup;
        setup.alphaMaskTarget = c.target;
        setup.newSubtractive = c.newSubtractive;
        SetBlendStates(states, c.mode, setup);
        EXPECT_EQ(states.blendEnable, c.blend);
        EXPECT_EQ(states.srcBlend, c.source);
        EXPECT_EQ(states.destBlend, c.dest);
    }
}

TEST(DxDeviceStatesTest, ModesAboveFourKeepTheFactorsAndOnlySetTheStage) {
    display::DrawStates states = DefaultDrawStates();
    TBlendSetup setup;
    SetBlendStates(states, 2, setup);
    states.stage.alphaOp = StageOp::SelectArg1;
    states.textureFactor = 0;
    SetBlendStates(states, 7, setup);
    EXPECT_EQ(states.srcBlend, Blend::SrcAlpha);
    EXPECT_EQ(states.destBlend, Blend::One);
    EXPECT_EQ(states.stage.alphaOp, StageOp::Modulate);
    EXPECT_EQ(states.textureFactor, 0xFFFFFFFFu);
}

TEST(DxDeviceStatesTest, ScreenStageTakesAlphaFromTheTextureExceptOpaqueAndNewSubtractive) {
    struct Case {
        int mode;
        bool newSubtractive, newRenderBlend;
        uint32_t alphaArg1;
        StageOp alphaOp;
        uint32_t colorArg2;
    } cases[] = {
        {0, false, false, display::kArgTexture, StageOp::Modulate, display::kArgDiffuse},
        {1, false, false, display::kArgTextureFactor, StageOp::SelectArg1, display::kArgDiffuse},
        {3, false, true, display::kArgTexture, StageOp::Modulate, display::kArgCurrent},
        {3, true, false, display::kArgTextureFactor, StageOp::SelectArg1, display::kArgDiffuse},
        {4, true, true, display::kArgTexture, StageOp::Modulate, display::kArgCurrent},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode);
        display::DrawStates states;
        // A second argument that only "new_render_blend" replaces.
        states.stage.colorArg2 = display::kArgDiffuse;
        TBlendSetup setup;
        setup.newSubtractive = c.newSubtractive;
        setup.newRenderBlend = c.newRenderBlend;
        SetStageStates(states, c.mode, setup);
        EXPECT_EQ(states.stage.colorArg1, display::kArgTexture);
        EXPECT_EQ(states.stage.colorArg2, c.colorArg2);
        EXPECT_EQ(states.stage.colorOp, StageOp::Modulate);
        EXPECT_EQ(states.stage.alphaArg1, c.alphaArg1);
        EXPECT_EQ(states.stage.alphaOp, c.alphaOp);
    }
}

TEST(DxDeviceStatesTest, TargetStageDrawsComplementsWithOpaqueAlpha) {
    struct Case {
        const char* name;
        int mode;
        bool textured, newSubtractive, newRenderBlend;
        uint32_t colorArg1, colorArg2;
        StageOp colorOp;
    } cases[] = {
        {"textured", 0, true, false, false, display::kArgTexture | display::kComplement, display::kArgCurrent,
         StageOp::SelectArg1},
        {"textured, new blend", 0, true, false, true, display::kArgTexture | display::kComplement,
         display::kArgDiffuse | display::kComplement, StageOp::Modulate},
        {"untextured", 2, false, false, false, display::kArgDiffuse | display::kComplement, display::kArgCurrent,
         StageOp::SelectArg1},
        {"untextured, new blend", 2, false, false, true, display::kArgDiffuse | display::kComplement,
         display::kArgCurrent, StageOp::SelectArg1},
        {"new subtractive", 3, true, true, false, display::kArgTextureFactor, display::kArgCurrent,
         StageOp::SelectArg1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        display::DrawStates states;
        TBlendSetup setup{true, c.textured, c.newSubtractive, c.newRenderBlend};
        SetStageStates(states, c.mode, setup);
        EXPECT_EQ(states.stage.colorArg1, c.colorArg1);
        EXPECT_EQ(states.stage.colorArg2, c.colorArg2);
        EXPECT_EQ(states.stage.colorOp, c.colorOp);
        EXPECT_EQ(states.stage.alphaArg1, display::kArgTextureFactor);
        EXPECT_EQ(states.stage.alphaOp, StageOp::SelectArg1);
        EXPECT_EQ(states.textureFactor, 0xFFFFFFFFu);
    }
}

TEST(DxDeviceStatesTest, PresetsAndKinds) {
    display::DrawStates states = DefaultDrawStates();
    Set2dStates(states);
    EXPECT_FALSE(states.zEnable);
    EXPECT_FALSE(states.zWrite);
    EXPECT_EQ(states.cull, display::Cull::None);
    EXPECT_EQ(states.addressU, display::Address::Clamp);
    EXPECT_EQ(states.addressV, display::Address::Clamp);
    Set3dStates(states, true);
    EXPECT_TRUE(states.zEnable && states.zWrite && states.specularEnable);
    EXPECT_EQ(states.cull, display::Cull::CounterClockwise);
    EXPECT_EQ(states.addressU, display::Address::Wrap);
    Set3dStates(states, false);
    EXPECT_FALSE(states.specularEnable);

    EXPECT_TRUE(SetFilterStates(states, 0));
    EXPECT_EQ(states.filter, display::Filter::Point);
    EXPECT_FALSE(SetFilterStates(states, 2));
    EXPECT_EQ(states.filter, display::Filter::Point);
    EXPECT_TRUE(SetFilterStates(states, 1));
    EXPECT_EQ(states.filter, display::Filter::Linear);

    EXPECT_EQ(AddressOf(1), display::Address::Wrap);
    EXPECT_EQ(AddressOf(2), display::Address::Mirror);
    EXPECT_EQ(AddressOf(0), display::Address::Clamp);
    EXPECT_EQ(AddressOf(5), display::Address::Clamp);
    EXPECT_EQ(CullOf(2), display::Cull::Clockwise);
    EXPECT_EQ(CullOf(3), display::Cull::CounterClockwise);
    EXPECT_EQ(CullOf(-1), display::Cull::None);
}

}  // namespace
