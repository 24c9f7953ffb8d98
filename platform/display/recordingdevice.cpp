#include "platform/display/recordingdevice.h"

#include <algorithm>
#include <cstddef>

namespace display {

RecordingDevice::RecordingDevice() {
    mIdentifier.driver = "recording";
    mIdentifier.description = "recording device";
}

void RecordingDevice::Script(const std::string& call, Result result) {
    mScripted[call].push_back(result);
}

int RecordingDevice::Count(const std::string& call) const {
    return static_cast<int>(std::count_if(mCalls.begin(), mCalls.end(), [&](const std::string& recorded) {
        return recorded == call || recorded.rfind(call + "(", 0) == 0;
    }));
}

Result RecordingDevice::Record(const std::string& call, const std::string& arguments) {
    mCalls.push_back(arguments.empty() ? call : call + "(" + arguments + ")");
    auto scripted = mScripted.find(call);
    if (scripted == mScripted.end() || scripted->second.empty()) return Result::Ok;
    Result result = scripted->second.front();
    scripted->second.pop_front();
    return result;
}

void RecordingDevice::MarkLost(SurfaceId surface) {
    if (Surface* found = Find(surface)) found->lost = true;
}

DesktopMode RecordingDevice::GetDesktopMode() {
    Record("GetDesktopMode");
    return mDesktop;
}

bool RecordingDevice::SelectAdapter(int index) {
    Record("SelectAdapter", std::to_string(index));
    return index >= 0 && index < mAdapterCount;
}

std::vector<int> RecordingDevice::GetModeDepths(int width, int height) {
    Record("GetModeDepths", std::to_string(width) + "x" + std::to_string(height));
    return mModeDepths;
}

Result RecordingDevice::SetDisplayMode(int width, int height, int bitsPerPixel) {
    Result result = Record("SetDisplayMode", std::to_string(width) + "x" + std::to_string(height) + "x" +
                                                 std::to_string(bitsPerPixel));
    if (result == Result::Ok) mModeDepth = bitsPerPixel;
    return result;
}

Result RecordingDevice::CreateScreen(const ScreenSetup& setup) {
    Result result = Record("CreateScreen", std::to_string(setup.width) + "x" + std::to_string(setup.height) +
                                               (setup.fullScreen ? " full" : " window") +
                                               (setup.antialias ? " antialias" : "") + (setup.placed ? " placed" : ""));
    if (result != Result::Ok) return result;
    Surface& back = mSurfaces[kBackBuffer];
    back.desc = {setup.width, setup.height, mModeDepth == 16 ? Format::R5G6B5 : Format::X8R8G8B8,
                 SurfaceKind::RenderTarget, false};
    back.pixels.assign(static_cast<size_t>(setup.width) * setup.height, 0);
    back.lost = false;
    return Result::Ok;
}

void RecordingDevice::DestroyScreen() {
    Record("DestroyScreen");
    mSurfaces.erase(kBackBuffer);
}

Rect RecordingDevice::GetWindowBounds() {
    return mWindowBounds;
}

Rect RecordingDevice::GetPresentRect() {
    return mPresentRect;
}

Result RecordingDevice::Present() {
    return Record("Present");
}

Result RecordingDevice::GetFlipStatus() {
    return Record("GetFlipStatus");
}

void RecordingDevice::SetVSync(bool on) {
    Record("SetVSync", on ? "1" : "0");
    mVSync = on;
}

Result RecordingDevice::TestCooperativeLevel() {
    return Record("TestCooperativeLevel");
}

Result RecordingDevice::RestoreAllSurfaces() {
    Result result = Record("RestoreAllSurfaces");
    if (result == Result::Ok) {
        for (auto& entry : mSurfaces) entry.second.lost = false;
    }
    return result;
}

DisplayCaps RecordingDevice::GetDisplayCaps() {
    Record("GetDisplayCaps");
    return mDisplayCaps;
}

DeviceDesc RecordingDevice::GetDeviceDesc() {
    Record("GetDeviceDesc");
    return mDeviceDesc;
}

Identifier RecordingDevice::GetIdentifier() {
    Record("GetIdentifier");
    return mIdentifier;
}

Result RecordingDevice::BeginScene() {
    return Record("BeginScene");
}

Result RecordingDevice::EndScene() {
    return Record("EndScene");
}

Result RecordingDevice::SetViewport(const Viewport& viewport) {
    return Record("SetViewport", std::to_string(viewport.x) + "," + std::to_string(viewport.y) + "," +
                                     std::to_string(viewport.width) + "," + std::to_string(viewport.height));
}

void RecordingDevice::SetTransform(Transform which, const Matrix&) {
    Record("SetTransform", std::to_string(static_cast<int>(which)));
}

void RecordingDevice::SetMaterial(const Material&) {
    Record("SetMaterial");
}

void RecordingDevice::SetStates(const DrawStates& states) {
    Record("SetStates");
    mStates = states;
}

void RecordingDevice::SetTexture(SurfaceId texture) {
    Record("SetTexture", std::to_string(texture));
}

Result RecordingDevice::SetRenderTarget(SurfaceId target) {
    return Record("SetRenderTarget", std::to_string(target));
}

Result RecordingDevice::Draw(Primitive type, VertexKind kind, const Vertex*, int count) {
    return Record("Draw", std::to_string(static_cast<int>(type)) + "," + std::to_string(static_cast<int>(kind)) +
                              "," + std::to_string(count));
}

Result RecordingDevice::DrawIndexed(Primitive type, VertexKind kind, const Vertex*, int count, const uint16_t*,
                                    int indexCount) {
    return Record("DrawIndexed", std::to_string(static_cast<int>(type)) + "," +
                                     std::to_string(static_cast<int>(kind)) + "," + std::to_string(count) + "," +
                                     std::to_string(indexCount));
}

Result RecordingDevice::CreateSurface(const SurfaceDesc& desc, SurfaceId& surface) {
    surface = kNoSurface;
    Result result = Record("CreateSurface", std::to_string(desc.width) + "x" + std::to_string(desc.height));
    if (result != Result::Ok) return result;
    if (desc.width <= 0 || desc.height <= 0) return Result::InvalidArgument;
    surface = mNextId++;
    mSurfaces[surface] = {desc, std::vector<uint32_t>(static_cast<size_t>(desc.width) * desc.height, 0), false};
    return Result::Ok;
}

void RecordingDevice::ReleaseSurface(SurfaceId surface) {
    Record("ReleaseSurface", std::to_string(surface));
    mSurfaces.erase(surface);
}

bool RecordingDevice::GetSurfaceDesc(SurfaceId surface, SurfaceDesc& desc) {
    Surface* found = Find(surface);
    if (found) desc = found->desc;
    return found != nullptr;
}

RecordingDevice::Surface* RecordingDevice::Find(SurfaceId id) {
    auto found = mSurfaces.find(id);
    return found == mSurfaces.end() ? nullptr : &found->second;
}

Result RecordingDevice::CheckRect(SurfaceId id, const Rect& rect, Surface*& surface) {
    surface = Find(id);
    if (!surface || rect.left < 0 || rect.top < 0 || rect.left > rect.right || rect.top > rect.bottom ||
        rect.right > surface->desc.width || rect.bottom > surface->desc.height) {
        return Result::InvalidArgument;
    }
    return surface->lost ? Result::SurfaceLost : Result::Ok;
}

Result RecordingDevice::Upload(SurfaceId id, const uint32_t* pixels, int pitch, int rows) {
    Result result = Record("Upload", std::to_string(id));
    Surface* surface = nullptr;
    if (result == Result::Ok) result = CheckRect(id, {}, surface);
    if (result != Result::Ok) return result;
    if (!pixels || pitch <= 0) return Result::InvalidArgument;
    int width = std::min(pitch, surface->desc.width);
    for (int y = 0; y < std::min(rows, surface->desc.height); ++y) {
        std::copy(pixels + static_cast<size_t>(y) * pitch, pixels + static_cast<size_t>(y) * pitch + width,
                  surface->pixels.begin() + static_cast<std::ptrdiff_t>(y) * surface->desc.width);
    }
    return Result::Ok;
}

Result RecordingDevice::Lock(SurfaceId id, uint32_t*& pixels, int& pitch) {
    Result result = Record("Lock", std::to_string(id));
    Surface* surface = nullptr;
    if (result == Result::Ok) result = CheckRect(id, {}, surface);
    if (result != Result::Ok) return result;
    pixels = surface->pixels.data();
    pitch = surface->desc.width;
    return Result::Ok;
}

Result RecordingDevice::Unlock(SurfaceId id) {
    return Record("Unlock", std::to_string(id));
}

Result RecordingDevice::ColorFill(SurfaceId id, const Rect& rect, uint32_t argb) {
    Result result = Record("ColorFill", std::to_string(id));
    Surface* surface = nullptr;
    if (result == Result::Ok) result = CheckRect(id, rect, surface);
    if (result != Result::Ok) return result;
    for (int y = rect.top; y < rect.bottom; ++y) {
        auto row = surface->pixels.begin() + static_cast<std::ptrdiff_t>(y) * surface->desc.width;
        std::fill(row + rect.left, row + rect.right, argb);
    }
    return Result::Ok;
}

Result RecordingDevice::Copy(SurfaceId sourceId, const Rect& sourceRect, SurfaceId targetId, const Rect& targetRect) {
    Result result = Record("Copy", std::to_string(sourceId) + "," + std::to_string(targetId));
    Surface* source = nullptr;
    Surface* target = nullptr;
    if (result == Result::Ok) result = CheckRect(sourceId, sourceRect, source);
    if (result == Result::Ok) result = CheckRect(targetId, targetRect, target);
    if (result != Result::Ok) return result;
    if (sourceRect.Width() != targetRect.Width() || sourceRect.Height() != targetRect.Height()) {
        return Result::InvalidArgument;
    }
    std::vector<uint32_t> pixels(static_cast<size_t>(sourceRect.Width()) * sourceRect.Height());
    ReadPixels(sourceId, sourceRect, pixels.data());
    for (int y = 0; y < targetRect.Height(); ++y) {
        std::copy(pixels.begin() + static_cast<std::ptrdiff_t>(y) * targetRect.Width(),
                  pixels.begin() + static_cast<std::ptrdiff_t>(y + 1) * targetRect.Width(),
                  target->pixels.begin() + static_cast<std::ptrdiff_t>(targetRect.top + y) * target->desc.width +
                      targetRect.left);
    }
    return Result::Ok;
}

Result RecordingDevice::ReadPixels(SurfaceId id, const Rect& rect, uint32_t* pixels) {
    Surface* surface = nullptr;
    Result result = CheckRect(id, rect, surface);
    if (result != Result::Ok) return result;
    if (!pixels) return Result::InvalidArgument;
    for (int y = 0; y < rect.Height(); ++y) {
        auto row = surface->pixels.begin() + static_cast<std::ptrdiff_t>(rect.top + y) * surface->desc.width;
        std::copy(row + rect.left, row + rect.right, pixels + static_cast<size_t>(y) * rect.Width());
    }
    return Result::Ok;
}

bool RecordingDevice::IsSurfaceLost(SurfaceId id) {
    Surface* surface = Find(id);
    return surface && surface->lost;
}

Result RecordingDevice::RestoreSurface(SurfaceId id) {
    Result result = Record("RestoreSurface", std::to_string(id));
    Surface* surface = Find(id);
    if (!surface) return Result::InvalidArgument;
    if (result == Result::Ok) surface->lost = false;
    return result;
}

}  // namespace display
