// A display device for tests: it records every call by name, keeps surfaces
// as plain pixels, and answers with results, desktop, adapters and
// capabilities that the test scripts.
#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "platform/display/device.h"

namespace display {

class RecordingDevice : public Device {
public:
    RecordingDevice();

    // The next call of this name answers result (queued in order); unscripted
    // calls answer Ok.
    void Script(const std::string& call, Result result);
    const std::vector<std::string>& GetCalls() const { return mCalls; }
    // How many calls of this name were made.
    int Count(const std::string& call) const;
    void ClearCalls() { mCalls.clear(); }

    void SetDesktop(const DesktopMode& mode) { mDesktop = mode; }
    void SetAdapterCount(int count) { mAdapterCount = count; }
    void SetModeDepths(std::vector<int> depths) { mModeDepths = std::move(depths); }
    void SetDisplayCaps(const DisplayCaps& caps) { mDisplayCaps = caps; }
    void SetDeviceDesc(const DeviceDesc& desc) { mDeviceDesc = desc; }
    void SetIdentifier(const Identifier& identifier) { mIdentifier = identifier; }
    void SetWindowBounds(const Rect& bounds) { mWindowBounds = bounds; }
    void SetPresentRect(const Rect& shown) { mPresentRect = shown; }
    void MarkLost(SurfaceId surface);

    int GetDisplayModeDepth() const { return mModeDepth; }
    bool GetVSync() const { return mVSync; }

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

private:
    struct Surface {
        SurfaceDesc desc;
        std::vector<uint32_t> pixels;
        bool lost = false;
    };

    // Records the call and answers its scripted result.
    Result Record(const std::string& call, const std::string& arguments = "");
    Surface* Find(SurfaceId id);
    Result CheckRect(SurfaceId id, const Rect& rect, Surface*& surface);

    std::vector<std::string> mCalls;
    std::map<std::string, std::deque<Result>> mScripted;
    DesktopMode mDesktop{1024, 768, -1, 60};
    int mAdapterCount = 1;
    std::vector<int> mModeDepths{32, 16};
    DisplayCaps mDisplayCaps{0xFFFFFFFF, 0xFFFFFFFF, 1};
    DeviceDesc mDeviceDesc{1, 1, 4096, 4096, 4096, 0, 0, 1};
    Identifier mIdentifier;
    Rect mWindowBounds;
    Rect mPresentRect;
    int mModeDepth = 0;
    bool mVSync = false;
    DrawStates mStates;
    std::map<SurfaceId, Surface> mSurfaces;
    SurfaceId mNextId = kBackBuffer + 1;
};

}  // namespace display
