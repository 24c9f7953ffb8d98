// The display device on OpenGL 3.3 core. The back buffer is a framebuffer of
// the display's size, copied to the window at Present (letterboxed in full
// screen); with antialiasing it draws into multisampled buffers that are
// resolved into it before anything reads it. Small textures share pages
// (GlPages), and draws from the same GL texture with the same states,
// transforms and viewport are gathered into one indexed draw call.
#pragma once

#include <SDL.h>
#include <epoxy/gl.h>

#include <cstdint>
#include <map>
#include <vector>

#include "platform/display/batch.h"
#include "platform/display/device.h"
#include "platform/display/glpages.h"
#include "platform/display/glprogram.h"

namespace display {

class GlDevice : public Device {
public:
    GlDevice() = default;
    ~GlDevice() override;
    GlDevice(const GlDevice&) = delete;
    GlDevice& operator=(const GlDevice&) = delete;

    DesktopMode GetDesktopMode() override;
    bool SelectAdapter(int index) override;
    std::vector<int> GetModeDepths(int width, int height) override;
    Result SetDisplayMode(int width, int height, int bitsPerPixel) override;
    Result CreateScreen(const ScreenSetup& setup) override;
    void DestroyScreen() override;
    Rect GetWindowBounds() override;
    Rect GetPresentRect() override;
    Result Present() override;
    Result GetFlipStatus() override;
    void SetVSync(bool on) override;
    Result TestCooperativeLevel() override;
    Result RestoreAllSurfaces() override;
    DisplayCaps GetDisplayCaps() override;
    DeviceDesc GetDeviceDesc() override;
    Identifier GetIdentifier() override;

    Result BeginScene() override;
    Result EndScene() override;
    Result SetViewport(const Viewport& viewport) override;
    void SetTransform(Transform which, const Matrix& matrix) override;
    void SetMaterial(const Material& material) override;
    const DrawStates& GetStates() const override { return mStates; }
    void SetStates(const DrawStates& states) override;
    void SetTexture(SurfaceId texture) override;
    Result SetRenderTarget(SurfaceId target) override;
    Result Draw(Primitive type, VertexKind kind, const Vertex* vertices, int count) override;
    Result DrawIndexed(Primitive type, VertexKind kind, const Vertex* vertices, int count, const uint16_t* indices,
                       int indexCount) override;

    Result CreateSurface(const SurfaceDesc& desc, SurfaceId& surface) override;
    void ReleaseSurface(SurfaceId surface) override;
    bool GetSurfaceDesc(SurfaceId surface, SurfaceDesc& desc) override;
    Result Upload(SurfaceId surface, const uint32_t* pixels, int pitch, int rows) override;
    Result Lock(SurfaceId surface, uint32_t*& pixels, int& pitch) override;
    Result Unlock(SurfaceId surface) override;
    Result ColorFill(SurfaceId surface, const Rect& rect, uint32_t argb) override;
    Result Copy(SurfaceId source, const Rect& sourceRect, SurfaceId target, const Rect& targetRect) override;
    Result ReadPixels(SurfaceId surface, const Rect& rect, uint32_t* pixels) override;
    bool IsSurfaceLost(SurfaceId surface) override;
    Result RestoreSurface(SurfaceId surface) override;

    // Drops every GL texture as a lost device would: the surfaces report
    // themselves lost until restored, and so does the screen.
    void SimulateLoss();
    // One draw call for every Draw, to measure what batching saves.
    void SetFlushEveryDraw(bool on) { mFlushEveryDraw = on; }
    // GL draw calls made so far.
    uint64_t GetDrawCallCount() const { return mDrawCalls; }
    // SetTexture calls so far that changed the texture.
    uint64_t GetTextureChangeCount() const { return mTextureChanges; }
    // Sends what is gathered to GL.
    void Flush();

private:
    struct Surface {
        SurfaceDesc desc;
        GLuint texture = 0, framebuffer = 0, depth = 0;
        // A multisampled surface draws into the sample framebuffer (its
        // colour and the depth buffer); the texture keeps the resolved
        // pixels that reads, copies and presents use.
        int samples = 0;
        GLuint sampleFramebuffer = 0, sampleColor = 0;
        // Draws went to the samples since the texture was last resolved.
        bool samplesAhead = false;
        std::vector<uint32_t> pixels;  // CPU-only surfaces, and GL surfaces while locked
        bool locked = false;
        bool lost = false;
        // Alpha is stored though the format has none: the back buffer keeps
        // what render targets draw, and reads back opaque.
        bool keepsAlpha = false;
        // On a page instead of in a texture of its own.
        GlPages::Slot slot;
    };

    bool MakeContext(SDL_Window* window);
    bool MakeDeviceObjects();
    Surface* Find(SurfaceId id);
    Rect PresentRectOf(const Surface& back) const;
    bool IsGl(const Surface& surface) const { return surface.desc.kind != SurfaceKind::Simple; }
    // The back buffer, multisampled when the setup asks for antialiasing.
    Result MakeBackBuffer(const ScreenSetup& setup);
    Result MakeGlObjects(Surface& surface);
    Result MakeOwnTexture(Surface& surface);
    // The GL texture the surface's pixels are in, and where.
    GLuint TextureOf(const Surface& surface) const;
    Rect InTexture(const Surface& surface, const Rect& rect) const;
    // After a write into a surface on a page: its gutter follows its edge.
    void AfterWrite(Surface& surface);
    // The current texture if a draw can sample it, else null. A surface on a
    // page moves to a texture of its own first when the draw would read
    // past its gutter or repeat it.
    Surface* TextureToDraw(const Vertex* vertices, int count);
    void MoveOffPage(Surface& surface);
    // Depth, and with samples their colour and framebuffer, of a render target.
    Result MakeDrawBuffers(Surface& surface);
    void DropGlObjects(Surface& surface);
    GLuint FramebufferOf(Surface& surface);
    // Where draws into the surface go.
    GLuint DrawFramebufferOf(Surface& surface);
    // The surface's framebuffer, with what was drawn into its samples.
    GLuint ReadFramebufferOf(Surface& surface);
    // After a write into the texture of a multisampled surface: the same
    // pixels go to its samples.
    void PushToSamples(Surface& surface, const Rect& rect);
    Result CheckUsable(Surface* surface);
    void BindTarget();
    void ApplyGlStates();
    void ReleaseAll();

    SDL_Window* mWindow = nullptr;
    SDL_GLContext mContext = nullptr;
    GlProgram mProgram;
    GLuint mVertexArray = 0, mVertexBuffer = 0, mIndexBuffer = 0, mSampler = 0;
    ScreenSetup mSetup;
    int mBitsPerPixel = 32;
    bool mVSync = false;

    std::map<SurfaceId, Surface> mSurfaces;
    SurfaceId mNextId = kBackBuffer + 1;
    SurfaceId mTexture = kNoSurface;
    SurfaceId mTarget = kBackBuffer;
    GlPages mPages;

    DrawStates mStates;
    Matrix mWorld, mView, mProjection;
    Material mMaterial;
    Viewport mViewport;

    Batch mBatch;
    GLuint mBatchTexture = 0;
    VertexKind mBatchKind = VertexKind::Transformed;
    Batch::Shape mBatchShape = Batch::Shape::Triangles;
    bool mFlushEveryDraw = false;
    uint64_t mDrawCalls = 0;
    uint64_t mTextureChanges = 0;
};

}  // namespace display
