// Textures on the recording device: a fake display back end that makes the
// surface objects, the renderer singleton on a recording back end, an asset
// manager, and a working folder whose "assets" files the test writes.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "foundation/assetmanager.h"
#include "foundation/virtualfiles.h"
#include "graphics/display/dxtexturedata.h"
#include "graphics/render/recordingrenderbackend.h"
#include "graphics/render/renderer.h"
#include "graphics/texture.h"
#include "platform/display/recordingdevice.h"
#include "tests/foundation/virtualfilesfixture.h"
#include "tests/graphics/image/imagetesting.h"
#include "tests/support/luatesting.h"

class TFakeTextureOwner : public TDxTextureOwner {
public:
    ~TFakeTextureOwner() override { TDxTextureData::ForgetOwner(*this); }
    display::Device& GetDevice() override { return device; }
    TDisplayHost& GetHost() override { return host; }
    bool IsDeviceReady() const override { return ready; }
    bool IsSquareTexturesOnly() const override { return squareOnly; }
    bool IsLowMemoryVideo() const override { return lowMemory; }
    void MarkBrokenThrottled() override { ++brokenMarks; }

    display::RecordingDevice device;
    TFakeDisplayHost host;
    bool ready = true;
    bool squareOnly = false;
    bool lowMemory = false;
    int brokenMarks = 0;
};

class TextureTest : public VirtualFilesTest {
protected:
    void SetUp() override {
        VirtualFilesTest::SetUp();
        SetAssetManager(&manager);
        SetTextureDataFactory([this] { return std::make_unique<TDxTextureData>(owner); });
        auto backEnd = std::make_unique<TRecordingRenderBackEnd>(TRect(0, 0, 800, 600));
        recorder = backEnd.get();
        TRenderer::GetInstance()->SetBackEnd(std::move(backEnd));
    }
    void TearDown() override {
        // The renderer keeps the last texture drawn; it goes before the device.
        TRenderer::DestroyInstance();
        SetTextureDataFactory(nullptr);
        SetAssetManager(nullptr);
        VirtualFilesTest::TearDown();
    }

    // Writes an asset file and registers it (and everything written before).
    void WriteAsset(const std::string& name, const std::string& bytes) {
        mTemp.Write("assets/" + name, bytes);
        ScanFolder("assets", "");
    }

    TRenderer& Renderer() { return *TRenderer::GetInstance(); }

    // The device's description of a texture's surface.
    display::SurfaceDesc SurfaceOf(const std::shared_ptr<TTexture>& texture) {
        display::SurfaceDesc desc;
        auto* data = static_cast<TDxTextureData*>(texture->GetTextureData());
        EXPECT_TRUE(owner.device.GetSurfaceDesc(data->GetSurface(), desc));
        return desc;
    }

    // The one fan drawn since the last clear of the recorder.
    std::vector<TRenderVertex> DrawnFan() {
        std::vector<TRenderVertex> fan;
        for (const TRecordingRenderBackEnd::TCall& call : recorder->GetCalls()) {
            if (call.kind != TRecordingRenderBackEnd::kDrawVertices) continue;
            EXPECT_TRUE(fan.empty());
            EXPECT_EQ(call.value, TRenderer::kTriangleFan);
            EXPECT_EQ(call.vertexKind, TVertexSet::kLit2d);
            fan = call.vertices;
        }
        return fan;
    }

    TestLog log;
    TAssetManager manager;
    TFakeTextureOwner owner;
    TRecordingRenderBackEnd* recorder = nullptr;
};

// A drawn corner: screen position and texture coordinates.
struct Corner {
    float x, y, u, v;
};

inline void ExpectFan(const std::vector<TRenderVertex>& fan, const std::vector<Corner>& corners) {
    ASSERT_EQ(fan.size(), corners.size());
    for (size_t i = 0; i < fan.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(fan[i].x, corners[i].x, 1e-3);
        EXPECT_NEAR(fan[i].y, corners[i].y, 1e-3);
        EXPECT_NEAR(fan[i].u, corners[i].u, 1e-6);
        EXPECT_NEAR(fan[i].v, corners[i].v, 1e-6);
    }
}
