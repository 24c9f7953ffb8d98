#include "platform/display/gldevice.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace display {

namespace {

// Past this many vertices a batch is sent even without a change.
constexpr size_t kMaxBatchVertices = 65536;
// Samples per pixel of an antialiased back buffer, at most.
constexpr int kAntialiasSamples = 4;
// Textures up to this size on both sides go on shared pages.
constexpr int kMaxPagedSide = 512;

GLenum InternalFormat(Format format, bool keepsAlpha) {
    if (keepsAlpha && format == Format::X8R8G8B8) return GL_RGBA8;
    switch (format) {
        case Format::A8R8G8B8: return GL_RGBA8;
        case Format::R5G6B5: return GL_RGB565;
        case Format::A4R4G4B4: return GL_RGBA4;
        case Format::X8R8G8B8: break;
    }
    return GL_RGB8;
}

GLenum BlendFactor(Blend blend) {
    switch (blend) {
        case Blend::Zero: return GL_ZERO;
        case Blend::One: return GL_ONE;
        case Blend::SrcColor: return GL_SRC_COLOR;
        case Blend::InvSrcColor: return GL_ONE_MINUS_SRC_COLOR;
        case Blend::SrcAlpha: return GL_SRC_ALPHA;
        case Blend::InvSrcAlpha: return GL_ONE_MINUS_SRC_ALPHA;
    }
    return GL_ONE;
}

GLint AddressMode(Address address) {
    switch (address) {
        case Address::Wrap: return GL_REPEAT;
        case Address::Mirror: return GL_MIRRORED_REPEAT;
        case Address::Clamp: break;
    }
    return GL_CLAMP_TO_EDGE;
}

float Channel(uint32_t argb, int shift) {
    return ((argb >> shift) & 255) / 255.0f;
}

bool Inside(const Rect& rect, const SurfaceDesc& desc) {
    return rect.left >= 0 && rect.top >= 0 && rect.left <= rect.right && rect.top <= rect.bottom &&
           rect.right <= desc.width && rect.bottom <= desc.height;
}

// Drops earlier GL errors so that the next check sees only its own call.
void ClearGlErrors() {
    while (glGetError() != GL_NO_ERROR) {
    }
}

Result GlResult() {
    GLenum error = glGetError();
    ClearGlErrors();
    if (error == GL_NO_ERROR) return Result::Ok;
    return error == GL_OUT_OF_MEMORY ? Result::OutOfVideoMemory : Result::Failed;
}

// Samples an antialiased back buffer gets; 0 when the driver offers none.
int AntialiasSamples() {
    GLint most = 0;
    glGetIntegerv(GL_MAX_SAMPLES, &most);
    return most >= 2 ? std::min(most, kAntialiasSamples) : 0;
}

// Samples 0 makes a plain renderbuffer.
GLuint NewRenderbuffer(GLenum format, int samples, int width, int height) {
    GLuint renderbuffer = 0;
    glGenRenderbuffers(1, &renderbuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffer);
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, format, width, height);
    return renderbuffer;
}

// Pixel for pixel between two framebuffers of one surface; a multisampled
// source is resolved on the way. Leaves both bound.
void CopyPixels(GLuint from, GLuint to, const Rect& rect) {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, from);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, to);
    glBlitFramebuffer(rect.left, rect.top, rect.right, rect.bottom, rect.left, rect.top, rect.right, rect.bottom,
                      GL_COLOR_BUFFER_BIT, GL_NEAREST);
}

}  // namespace

GlDevice::~GlDevice() {
    if (!mContext) return;
    SDL_GL_MakeCurrent(mWindow, mContext);
    ReleaseAll();
    SDL_GL_DeleteContext(mContext);
}

void GlDevice::ReleaseAll() {
    for (auto& entry : mSurfaces) DropGlObjects(entry.second);
    mSurfaces.clear();
    glDeleteSamplers(1, &mSampler);
    glDeleteBuffers(1, &mVertexBuffer);
    glDeleteBuffers(1, &mIndexBuffer);
    glDeleteVertexArrays(1, &mVertexArray);
    mProgram.Release();
}

DesktopMode GlDevice::GetDesktopMode() {
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return {};
    int bits = static_cast<int>(SDL_BITSPERPIXEL(mode.format));
    return {mode.w, mode.h, bits <= 8 ? 1 << bits : -1, mode.refresh_rate};
}

bool GlDevice::SelectAdapter(int index) {
    return index == 0;
}

std::vector<int> GlDevice::GetModeDepths(int, int) {
    // Full screen keeps the desktop mode and scales the frame into it, so every
    // size is offered at both depths.
    return {32, 16};
}

Result GlDevice::SetDisplayMode(int, int, int bitsPerPixel) {
    mBitsPerPixel = bitsPerPixel <= 16 ? 16 : 32;
    return Result::Ok;
}

bool GlDevice::MakeContext(SDL_Window* window) {
    if (mContext) {
        mWindow = window;
        return SDL_GL_MakeCurrent(window, mContext) == 0;
    }
    mContext = SDL_GL_CreateContext(window);
    if (!mContext) {
        SDL_LogError(SDL_LOG_CATEGORY_RENDER, "GlDevice: no OpenGL 3.3 context: %s", SDL_GetError());
        return false;
    }
    mWindow = window;
    if (!MakeDeviceObjects()) {
        SDL_GL_DeleteContext(mContext);
        mContext = nullptr;
        return false;
    }
    return true;
}

bool GlDevice::MakeDeviceObjects() {
    if (!mProgram.Build()) return false;
    glGenVertexArrays(1, &mVertexArray);
    glBindVertexArray(mVertexArray);
    glGenBuffers(1, &mVertexBuffer);
    glGenBuffers(1, &mIndexBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, mVertexBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mIndexBuffer);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, sizeof(Vertex), reinterpret_cast<void*>(offsetof(Vertex, x)));
    glEnableVertexAttribArray(1);
    glVertexAttribIPointer(1, 2, GL_UNSIGNED_INT, sizeof(Vertex), reinterpret_cast<void*>(offsetof(Vertex, diffuse)));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex), reinterpret_cast<void*>(offsetof(Vertex, u)));
    glGenSamplers(1, &mSampler);
    glBindSampler(0, mSampler);
    mProgram.Use();
    glProvokingVertex(GL_FIRST_VERTEX_CONVENTION);
    glFrontFace(GL_CCW);
    glDepthFunc(GL_LEQUAL);
    return true;
}

// Without a window manager a full-screen request leaves the window as it
// was, so it is first placed over its whole display.
static void CoverDisplay(SDL_Window* window) {
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(window), &bounds) != 0) return;
    SDL_SetWindowPosition(window, bounds.x, bounds.y);
    SDL_SetWindowSize(window, bounds.w, bounds.h);
}

Result GlDevice::CreateScreen(const ScreenSetup& setup) {
    if (!setup.window || setup.width <= 0 || setup.height <= 0) return Result::InvalidArgument;
    if (!MakeContext(setup.window)) return Result::Failed;
    DestroyScreen();
    if (setup.fullScreen) {
        CoverDisplay(setup.window);
        SDL_SetWindowFullscreen(setup.window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else {
        SDL_SetWindowFullscreen(setup.window, 0);
        if (!setup.placed) SDL_SetWindowSize(setup.window, setup.width, setup.height);
    }
    SDL_GL_SetSwapInterval(mVSync ? 1 : 0);
    mSetup = setup;
    Result made = MakeBackBuffer(setup);
    if (made != Result::Ok) return made;
    mTarget = kBackBuffer;
    BindTarget();
    mViewport = {};
    SetViewport({0, 0, setup.width, setup.height, 0, 1});
    return ColorFill(kBackBuffer, {0, 0, setup.width, setup.height}, 0);
}

Result GlDevice::MakeBackBuffer(const ScreenSetup& setup) {
    int samples = setup.antialias ? AntialiasSamples() : 0;
    Surface& back = mSurfaces[kBackBuffer];
    back.desc = {setup.width, setup.height, mBitsPerPixel == 16 ? Format::R5G6B5 : Format::X8R8G8B8,
                 SurfaceKind::RenderTarget, false};
    back.keepsAlpha = true;
    back.samples = samples;
    Result made = setup.antialias && samples == 0 ? Result::Failed : MakeGlObjects(back);
    if (made == Result::Ok) return made;
    mSurfaces.erase(kBackBuffer);
    if (!setup.antialias) return made;
    SDL_LogError(SDL_LOG_CATEGORY_RENDER, "GlDevice: no multisampled back buffer (%d samples)", samples);
    // Plain, the screen may still fit: even out of memory is no reason to
    // give up on this mode before the caller tries without samples.
    return Result::Failed;
}

void GlDevice::DestroyScreen() {
    if (!mContext) return;
    Flush();
    ReleaseSurface(kBackBuffer);
}

Rect GlDevice::GetWindowBounds() {
    if (!mWindow) return {};
    int x = 0, y = 0, width = 0, height = 0;
    SDL_GetWindowPosition(mWindow, &x, &y);
    SDL_GetWindowSize(mWindow, &width, &height);
    return {x, y, x + width, y + height};
}

Rect GlDevice::PresentRectOf(const Surface& back) const {
    int windowWidth = 0, windowHeight = 0;
    SDL_GL_GetDrawableSize(mWindow, &windowWidth, &windowHeight);
    int width = windowWidth, height = windowHeight;
    if (mSetup.fullScreen) {
        // Letterbox: the largest frame of the back buffer's shape that fits.
        width = std::min(windowWidth, windowHeight * back.desc.width / back.desc.height);
        height = std::min(windowHeight, windowWidth * back.desc.height / back.desc.width);
    }
    int x = (windowWidth - width) / 2, y = (windowHeight - height) / 2;
    return {x, y, x + width, y + height};
}

Rect GlDevice::GetPresentRect() {
    const Surface* back = Find(kBackBuffer);
    if (!back || !mWindow) return {};
    return PresentRectOf(*back);
}

Result GlDevice::Present() {
    Surface* back = Find(kBackBuffer);
    Result usable = CheckUsable(back);
    if (usable != Result::Ok) return usable;
    Flush();
    GLuint frame = ReadFramebufferOf(*back);
    Rect shown = PresentRectOf(*back);
    int x = shown.left, y = shown.top, width = shown.Width(), height = shown.Height();
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, frame);
    // Our rows run from the top, the window's from the bottom.
    bool scaled = width != back->desc.width || height != back->desc.height;
    glBlitFramebuffer(0, 0, back->desc.width, back->desc.height, x, y + height, x + width, y, GL_COLOR_BUFFER_BIT,
                      scaled ? GL_LINEAR : GL_NEAREST);
    SDL_GL_SwapWindow(mWindow);
    BindTarget();
    return GlResult();
}

Result GlDevice::GetFlipStatus() {
    // Swapping returns once the frame is handed over, so a flip is always done.
    return Result::Ok;
}

void GlDevice::SetVSync(bool on) {
    mVSync = on;
    if (mContext) SDL_GL_SetSwapInterval(on ? 1 : 0);
}

Result GlDevice::TestCooperativeLevel() {
    return mContext ? Result::Ok : Result::NoObject;
}

Result GlDevice::RestoreAllSurfaces() {
    Result result = Result::Ok;
    for (auto& entry : mSurfaces) {
        if (!entry.second.lost) continue;
        Result restored = RestoreSurface(entry.first);
        if (restored != Result::Ok) result = restored;
    }
    return result;
}

DisplayCaps GlDevice::GetDisplayCaps() {
    // Core GL has no measure of video memory; the driver manages it.
    return {0xFFFFFFFF, 0xFFFFFFFF, 1};
}

DeviceDesc GlDevice::GetDeviceDesc() {
    GLint maxSize = 0;
    if (mContext) glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    uint32_t size = static_cast<uint32_t>(maxSize);
    return {1, 1, size, size, size, 0, 0, 1};
}

Identifier GlDevice::GetIdentifier() {
    Identifier identifier;
    if (!mContext) return identifier;
    auto text = [](GLenum name) {
        const GLubyte* value = glGetString(name);
        return value ? std::string(reinterpret_cast<const char*>(value)) : std::string();
    };
    identifier.driver = text(GL_VENDOR);
    identifier.description = text(GL_RENDERER) + " " + text(GL_VERSION);
    GLint major = 0, minor = 0;
    glGetIntegerv(GL_MAJOR_VERSION, &major);
    glGetIntegerv(GL_MINOR_VERSION, &minor);
    identifier.versionHigh = static_cast<uint32_t>(major);
    identifier.versionLow = static_cast<uint32_t>(minor);
    return identifier;
}

Result GlDevice::BeginScene() {
    return CheckUsable(Find(kBackBuffer));
}

Result GlDevice::EndScene() {
    Flush();
    return mContext ? Result::Ok : Result::NoObject;
}

Result GlDevice::SetViewport(const Viewport& viewport) {
    if (viewport.width <= 0 || viewport.height <= 0 || viewport.x < 0 || viewport.y < 0) {
        return Result::InvalidArgument;
    }
    if (viewport == mViewport) return Result::Ok;
    Flush();
    mViewport = viewport;
    if (mContext) {
        glViewport(viewport.x, viewport.y, viewport.width, viewport.height);
        glDepthRange(viewport.minZ, viewport.maxZ);
    }
    return Result::Ok;
}

void GlDevice::SetTransform(Transform which, const Matrix& matrix) {
    Matrix& current = which == Transform::World ? mWorld : which == Transform::View ? mView : mProjection;
    if (current == matrix) return;
    Flush();
    current = matrix;
}

void GlDevice::SetMaterial(const Material& material) {
    if (material == mMaterial) return;
    Flush();
    mMaterial = material;
}

void GlDevice::SetStates(const DrawStates& states) {
    if (states == mStates) return;
    Flush();
    mStates = states;
}

void GlDevice::SetTexture(SurfaceId texture) {
    if (texture == mTexture) return;
    mTexture = texture;
    ++mTextureChanges;
}

Result GlDevice::SetRenderTarget(SurfaceId target) {
    Surface* surface = Find(target);
    if (!surface || surface->desc.kind != SurfaceKind::RenderTarget) return Result::InvalidArgument;
    if (surface->lost) return Result::SurfaceLost;
    Flush();
    mTarget = target;
    BindTarget();
    return Result::Ok;
}

Result GlDevice::Draw(Primitive type, VertexKind kind, const Vertex* vertices, int count) {
    return DrawIndexed(type, kind, vertices, count, nullptr, 0);
}

Result GlDevice::DrawIndexed(Primitive type, VertexKind kind, const Vertex* vertices, int count,
                             const uint16_t* indices, int indexCount) {
    Result usable = CheckUsable(Find(mTarget));
    if (usable != Result::Ok) return usable;
    if (!vertices || count <= 0) return Result::InvalidArgument;
    Surface* texture = TextureToDraw(vertices, count);
    GLuint glTexture = texture ? TextureOf(*texture) : 0;
    if (glTexture != mBatchTexture || kind != mBatchKind || Batch::ShapeOf(type) != mBatchShape ||
        mBatch.Vertices().size() + static_cast<size_t>(count) > kMaxBatchVertices) {
        Flush();
    }
    mBatchTexture = glTexture;
    mBatchKind = kind;
    mBatchShape = Batch::ShapeOf(type);
    size_t first = mBatch.Vertices().size();
    if (!mBatch.Append(type, vertices, count, indices, indexCount)) return Result::InvalidArgument;
    if (texture && texture->slot.IsPlaced()) {
        // The surface's 0..1 becomes its slot on the page.
        const Rect& slot = texture->slot.rect;
        float side = static_cast<float>(mPages.SideOf(texture->slot));
        mBatch.MapTexCoords(first, {slot.Width() / side, slot.Height() / side, slot.left / side, slot.top / side});
    }
    if (mFlushEveryDraw) Flush();
    return Result::Ok;
}

void GlDevice::Flush() {
    if (mBatch.Empty() || !mContext) {
        mBatch.Clear();
        return;
    }
    const std::vector<Vertex>& vertices = mBatch.Vertices();
    const std::vector<uint32_t>& indices = mBatch.Indices();
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(Vertex)), vertices.data(),
                 GL_STREAM_DRAW);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * sizeof(uint32_t)),
                 indices.data(), GL_STREAM_DRAW);
    ApplyGlStates();

    bool textured = mBatchTexture != 0;
    glBindTexture(GL_TEXTURE_2D, mBatchTexture);
    GlProgram::Inputs inputs;
    inputs.kind = mBatchKind;
    inputs.matrix = Multiply(Multiply(mWorld, mView), mProjection);
    inputs.viewport = mViewport;
    for (int i = 0; i < 3; ++i) {
        float ambient = Channel(mStates.ambient, 16 - 8 * i);
        inputs.litColor[i] = std::min(1.0f, ambient * mMaterial.ambient[i] + mMaterial.emissive[i]);
    }
    inputs.litColor[3] = mMaterial.diffuse[3];
    inputs.hasTexture = textured;
    inputs.states = &mStates;
    mProgram.Apply(inputs);
    glDrawElements(mBatchShape == Batch::Shape::Lines ? GL_LINES : GL_TRIANGLES, static_cast<GLsizei>(indices.size()),
                   GL_UNSIGNED_INT, nullptr);
    Surface* target = Find(mTarget);
    if (target && target->sampleFramebuffer) target->samplesAhead = true;
    ++mDrawCalls;
    mBatch.Clear();
}

void GlDevice::ApplyGlStates() {
    if (mStates.blendEnable) {
        glEnable(GL_BLEND);
        GLenum source = BlendFactor(mStates.srcBlend), dest = BlendFactor(mStates.destBlend);
        if (mStates.alphaSourceOver) {
            glBlendFuncSeparate(source, dest, GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
        } else {
            glBlendFunc(source, dest);
        }
    } else {
        glDisable(GL_BLEND);
    }
    if (mStates.zEnable) glEnable(GL_DEPTH_TEST);
    else glDisable(GL_DEPTH_TEST);
    glDepthMask(mStates.zWrite ? GL_TRUE : GL_FALSE);
    if (mStates.antialias) glEnable(GL_MULTISAMPLE);
    else glDisable(GL_MULTISAMPLE);
    // Targets are drawn top row first, which turns the classic clockwise into
    // GL's counter-clockwise.
    if (mStates.cull == Cull::None) {
        glDisable(GL_CULL_FACE);
    } else {
        glEnable(GL_CULL_FACE);
        glCullFace(mStates.cull == Cull::Clockwise ? GL_FRONT : GL_BACK);
    }
    bool point = mStates.filter == Filter::Point;
    glSamplerParameteri(mSampler, GL_TEXTURE_MIN_FILTER, point ? GL_NEAREST_MIPMAP_NEAREST : GL_LINEAR_MIPMAP_LINEAR);
    glSamplerParameteri(mSampler, GL_TEXTURE_MAG_FILTER, point ? GL_NEAREST : GL_LINEAR);
    glSamplerParameteri(mSampler, GL_TEXTURE_WRAP_S, AddressMode(mStates.addressU));
    glSamplerParameteri(mSampler, GL_TEXTURE_WRAP_T, AddressMode(mStates.addressV));
}

GlDevice::Surface* GlDevice::Find(SurfaceId id) {
    auto found = mSurfaces.find(id);
    return found == mSurfaces.end() ? nullptr : &found->second;
}

Result GlDevice::CheckUsable(Surface* surface) {
    if (!mContext || !surface) return Result::NoObject;
    return surface->lost ? Result::SurfaceLost : Result::Ok;
}

void GlDevice::BindTarget() {
    Surface* target = Find(mTarget);
    glBindFramebuffer(GL_FRAMEBUFFER, target ? DrawFramebufferOf(*target) : 0);
}

Result GlDevice::CreateSurface(const SurfaceDesc& desc, SurfaceId& surface) {
    surface = kNoSurface;
    if (desc.width <= 0 || desc.height <= 0) return Result::InvalidArgument;
    if (desc.kind != SurfaceKind::Simple && !mContext) return Result::NoObject;
    Surface created;
    created.desc = desc;
    Result made = MakeGlObjects(created);
    if (made != Result::Ok) return made;
    surface = mNextId++;
    mSurfaces[surface] = std::move(created);
    return Result::Ok;
}

Result GlDevice::MakeGlObjects(Surface& surface) {
    const SurfaceDesc& desc = surface.desc;
    surface.lost = false;
    if (!IsGl(surface)) {
        surface.pixels.assign(static_cast<size_t>(desc.width) * desc.height, 0);
        return Result::Ok;
    }
    Flush();
    ClearGlErrors();
    // Small textures go on a page; mipmapped ones, large ones and those
    // drawn into keep a texture of their own.
    bool paged = desc.kind == SurfaceKind::Texture && !desc.mipmaps && desc.width <= kMaxPagedSide &&
                 desc.height <= kMaxPagedSide;
    if (paged && mPages.Place(desc.width, desc.height, InternalFormat(desc.format, false), surface.slot) == Result::Ok) {
        BindTarget();
        return Result::Ok;
    }
    ClearGlErrors();
    return MakeOwnTexture(surface);
}

Result GlDevice::MakeOwnTexture(Surface& surface) {
    const SurfaceDesc& desc = surface.desc;
    glGenTextures(1, &surface.texture);
    glBindTexture(GL_TEXTURE_2D, surface.texture);
    int levels = 1;
    if (desc.mipmaps) {
        for (int side = std::max(desc.width, desc.height); side > 1; side /= 2) ++levels;
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, levels - 1);
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(InternalFormat(desc.format, surface.keepsAlpha)), desc.width, desc.height, 0,
                 GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
    Result result = GlResult();
    if (result == Result::Ok && desc.mipmaps) glGenerateMipmap(GL_TEXTURE_2D);
    if (result == Result::Ok && desc.kind == SurfaceKind::RenderTarget) result = MakeDrawBuffers(surface);
    if (result != Result::Ok) DropGlObjects(surface);
    BindTarget();
    return result;
}

Result GlDevice::MakeDrawBuffers(Surface& surface) {
    const SurfaceDesc& desc = surface.desc;
    surface.depth = NewRenderbuffer(GL_DEPTH_COMPONENT24, surface.samples, desc.width, desc.height);
    if (surface.samples) {
        surface.sampleColor = NewRenderbuffer(InternalFormat(desc.format, surface.keepsAlpha), surface.samples,
                                              desc.width, desc.height);
    }
    Result result = GlResult();
    if (result != Result::Ok) return result;
    if (FramebufferOf(surface) == 0) return Result::Failed;
    if (!surface.samples) return Result::Ok;
    glGenFramebuffers(1, &surface.sampleFramebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, surface.sampleFramebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, surface.sampleColor);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, surface.depth);
    return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE ? Result::Ok : Result::Failed;
}

void GlDevice::DropGlObjects(Surface& surface) {
    if (!mContext) return;
    mPages.Free(surface.slot);
    glDeleteFramebuffers(1, &surface.framebuffer);
    glDeleteFramebuffers(1, &surface.sampleFramebuffer);
    glDeleteRenderbuffers(1, &surface.sampleColor);
    glDeleteRenderbuffers(1, &surface.depth);
    glDeleteTextures(1, &surface.texture);
    surface.framebuffer = surface.sampleFramebuffer = surface.sampleColor = surface.depth = surface.texture = 0;
    surface.samplesAhead = false;
}

GLuint GlDevice::FramebufferOf(Surface& surface) {
    if (surface.slot.IsPlaced()) return mPages.FramebufferOf(surface.slot);
    if (surface.framebuffer || !surface.texture) return surface.framebuffer;
    glGenFramebuffers(1, &surface.framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, surface.framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, surface.texture, 0);
    // A multisampled depth buffer belongs to the sample framebuffer.
    if (surface.depth && !surface.samples) {
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, surface.depth);
    }
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        glDeleteFramebuffers(1, &surface.framebuffer);
        surface.framebuffer = 0;
    }
    return surface.framebuffer;
}

GLuint GlDevice::DrawFramebufferOf(Surface& surface) {
    return surface.sampleFramebuffer ? surface.sampleFramebuffer : FramebufferOf(surface);
}

GLuint GlDevice::ReadFramebufferOf(Surface& surface) {
    GLuint framebuffer = FramebufferOf(surface);
    if (surface.samplesAhead) {
        surface.samplesAhead = false;
        CopyPixels(surface.sampleFramebuffer, framebuffer, {0, 0, surface.desc.width, surface.desc.height});
    }
    return framebuffer;
}

void GlDevice::PushToSamples(Surface& surface, const Rect& rect) {
    if (!surface.sampleFramebuffer) return;
    CopyPixels(FramebufferOf(surface), surface.sampleFramebuffer, rect);
    // Mesa's software rasteriser can let later work on the surface overtake a
    // blit into samples (a read then misses writes made before and after it);
    // waiting for the blit keeps the order. Only writes into an antialiased
    // surface come here.
    glFinish();
    BindTarget();
}

GLuint GlDevice::TextureOf(const Surface& surface) const {
    return surface.slot.IsPlaced() ? mPages.TextureOf(surface.slot) : surface.texture;
}

Rect GlDevice::InTexture(const Surface& surface, const Rect& rect) const {
    if (!surface.slot.IsPlaced()) return rect;
    int x = surface.slot.rect.left, y = surface.slot.rect.top;
    return {rect.left + x, rect.top + y, rect.right + x, rect.bottom + y};
}

void GlDevice::AfterWrite(Surface& surface) {
    if (!surface.slot.IsPlaced()) return;
    mPages.RefreshGutter(surface.slot);
    BindTarget();
}

GlDevice::Surface* GlDevice::TextureToDraw(const Vertex* vertices, int count) {
    Surface* surface = Find(mTexture);
    if (!surface || !IsGl(*surface) || surface->lost) return nullptr;
    if (!surface->slot.IsPlaced()) return surface;
    bool clamped = mStates.addressU == Address::Clamp && mStates.addressV == Address::Clamp;
    float reachU = GlPages::kReach / static_cast<float>(surface->desc.width);
    float reachV = GlPages::kReach / static_cast<float>(surface->desc.height);
    bool withinGutter = std::all_of(vertices, vertices + count, [&](const Vertex& vertex) {
        return vertex.u >= -reachU && vertex.u <= 1 + reachU && vertex.v >= -reachV && vertex.v <= 1 + reachV;
    });
    if (!clamped || !withinGutter) MoveOffPage(*surface);
    return surface;
}

void GlDevice::MoveOffPage(Surface& surface) {
    // Draws gathered so far may still read the page.
    Flush();
    ClearGlErrors();
    GlPages::Slot slot = surface.slot;
    surface.slot = {};
    if (MakeOwnTexture(surface) == Result::Ok) {
        GLuint reads = mPages.FramebufferOf(slot), draws = FramebufferOf(surface);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, reads);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, draws);
        const Rect& from = slot.rect;
        glBlitFramebuffer(from.left, from.top, from.right, from.bottom, 0, 0, from.Width(), from.Height(),
                          GL_COLOR_BUFFER_BIT, GL_NEAREST);
        mPages.Free(slot);
    } else {
        // No room for a texture of its own: it draws from the page as it is.
        surface.slot = slot;
    }
    BindTarget();
}

void GlDevice::ReleaseSurface(SurfaceId id) {
    Surface* surface = Find(id);
    if (!surface) return;
    Flush();
    DropGlObjects(*surface);
    mSurfaces.erase(id);
    if (mTexture == id) mTexture = kNoSurface;
    if (mTarget == id && id != kBackBuffer) {
        mTarget = kBackBuffer;
        BindTarget();
    }
}

bool GlDevice::GetSurfaceDesc(SurfaceId id, SurfaceDesc& desc) {
    Surface* surface = Find(id);
    if (surface) desc = surface->desc;
    return surface != nullptr;
}

Result GlDevice::Upload(SurfaceId id, const uint32_t* pixels, int pitch, int rows) {
    Surface* surface = Find(id);
    if (!surface || !pixels || pitch <= 0 || rows < 0) return Result::InvalidArgument;
    if (surface->lost) return Result::SurfaceLost;
    int width = std::min(pitch, surface->desc.width);
    int height = std::min(rows, surface->desc.height);
    if (!IsGl(*surface)) {
        for (int y = 0; y < height; ++y) {
            std::memcpy(&surface->pixels[static_cast<size_t>(y) * surface->desc.width],
                        pixels + static_cast<size_t>(y) * pitch, static_cast<size_t>(width) * 4);
        }
        return Result::Ok;
    }
    Flush();
    Rect at = InTexture(*surface, {0, 0, width, height});
    glBindTexture(GL_TEXTURE_2D, TextureOf(*surface));
    glPixelStorei(GL_UNPACK_ROW_LENGTH, pitch);
    glTexSubImage2D(GL_TEXTURE_2D, 0, at.left, at.top, width, height, GL_BGRA, GL_UNSIGNED_BYTE, pixels);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    if (surface->desc.mipmaps) glGenerateMipmap(GL_TEXTURE_2D);
    PushToSamples(*surface, {0, 0, width, height});
    AfterWrite(*surface);
    return GlResult();
}

Result GlDevice::Lock(SurfaceId id, uint32_t*& pixels, int& pitch) {
    Surface* surface = Find(id);
    if (!surface || surface->locked) return Result::InvalidArgument;
    if (surface->lost) return Result::SurfaceLost;
    if (IsGl(*surface)) {
        surface->pixels.resize(static_cast<size_t>(surface->desc.width) * surface->desc.height);
        Result read = ReadPixels(id, {0, 0, surface->desc.width, surface->desc.height}, surface->pixels.data());
        if (read != Result::Ok) return read;
    }
    surface->locked = true;
    pixels = surface->pixels.data();
    pitch = surface->desc.width;
    return Result::Ok;
}

Result GlDevice::Unlock(SurfaceId id) {
    Surface* surface = Find(id);
    if (!surface || !surface->locked) return Result::InvalidArgument;
    surface->locked = false;
    if (!IsGl(*surface)) return Result::Ok;
    std::vector<uint32_t> pixels;
    pixels.swap(surface->pixels);
    return Upload(id, pixels.data(), surface->desc.width, surface->desc.height);
}

Result GlDevice::ColorFill(SurfaceId id, const Rect& rect, uint32_t argb) {
    Surface* surface = Find(id);
    if (!surface || !Inside(rect, surface->desc)) return Result::InvalidArgument;
    if (surface->lost) return Result::SurfaceLost;
    if (!IsGl(*surface)) {
        for (int y = rect.top; y < rect.bottom; ++y) {
            uint32_t* row = &surface->pixels[static_cast<size_t>(y) * surface->desc.width];
            std::fill(row + rect.left, row + rect.right, argb);
        }
        return Result::Ok;
    }
    Flush();
    Rect at = InTexture(*surface, rect);
    glEnable(GL_SCISSOR_TEST);
    glScissor(at.left, at.top, at.Width(), at.Height());
    glClearColor(Channel(argb, 16), Channel(argb, 8), Channel(argb, 0), Channel(argb, 24));
    glClearDepth(1.0);
    glDepthMask(GL_TRUE);
    // Both sides of a multisampled surface, so that neither needs the other.
    for (GLuint framebuffer : {FramebufferOf(*surface), surface->sampleFramebuffer}) {
        if (!framebuffer) continue;
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glClear(GL_COLOR_BUFFER_BIT | (surface->depth ? GL_DEPTH_BUFFER_BIT : 0));
    }
    glDisable(GL_SCISSOR_TEST);
    AfterWrite(*surface);
    BindTarget();
    return GlResult();
}

Result GlDevice::Copy(SurfaceId sourceId, const Rect& sourceRect, SurfaceId targetId, const Rect& targetRect) {
    Surface* source = Find(sourceId);
    Surface* target = Find(targetId);
    if (!source || !target || !Inside(sourceRect, source->desc) || !Inside(targetRect, target->desc)) {
        return Result::InvalidArgument;
    }
    if (source->lost || target->lost) return Result::SurfaceLost;
    bool sameSize = sourceRect.Width() == targetRect.Width() && sourceRect.Height() == targetRect.Height();
    if (!IsGl(*source) || !IsGl(*target)) {
        if (!sameSize) return Result::InvalidArgument;
        std::vector<uint32_t> pixels(static_cast<size_t>(sourceRect.Width()) * sourceRect.Height());
        Result read = ReadPixels(sourceId, sourceRect, pixels.data());
        if (read != Result::Ok || pixels.empty()) return read;
        if (!IsGl(*target)) {
            for (int y = 0; y < targetRect.Height(); ++y) {
                std::memcpy(&target->pixels[static_cast<size_t>(targetRect.top + y) * target->desc.width +
                                            targetRect.left],
                            &pixels[static_cast<size_t>(y) * sourceRect.Width()],
                            static_cast<size_t>(sourceRect.Width()) * 4);
            }
            return Result::Ok;
        }
        Flush();
        Rect at = InTexture(*target, targetRect);
        glBindTexture(GL_TEXTURE_2D, TextureOf(*target));
        glTexSubImage2D(GL_TEXTURE_2D, 0, at.left, at.top, at.Width(), at.Height(), GL_BGRA, GL_UNSIGNED_BYTE,
                        pixels.data());
        PushToSamples(*target, targetRect);
        AfterWrite(*target);
        BindTarget();
        return GlResult();
    }
    Flush();
    Rect from = InTexture(*source, sourceRect), to = InTexture(*target, targetRect);
    // Both made before either is bound: making one binds it.
    GLuint reads = ReadFramebufferOf(*source), draws = FramebufferOf(*target);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, reads);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, draws);
    glBlitFramebuffer(from.left, from.top, from.right, from.bottom, to.left, to.top, to.right, to.bottom,
                      GL_COLOR_BUFFER_BIT, sameSize ? GL_NEAREST : GL_LINEAR);
    PushToSamples(*target, targetRect);
    AfterWrite(*target);
    BindTarget();
    return GlResult();
}

Result GlDevice::ReadPixels(SurfaceId id, const Rect& rect, uint32_t* pixels) {
    Surface* surface = Find(id);
    if (!surface || !pixels || !Inside(rect, surface->desc)) return Result::InvalidArgument;
    if (surface->lost) return Result::SurfaceLost;
    if (!IsGl(*surface)) {
        for (int y = 0; y < rect.Height(); ++y) {
            std::memcpy(pixels + static_cast<size_t>(y) * rect.Width(),
                        &surface->pixels[static_cast<size_t>(rect.top + y) * surface->desc.width + rect.left],
                        static_cast<size_t>(rect.Width()) * 4);
        }
        return Result::Ok;
    }
    Flush();
    Rect at = InTexture(*surface, rect);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, ReadFramebufferOf(*surface));
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(at.left, at.top, at.Width(), at.Height(), GL_BGRA, GL_UNSIGNED_BYTE, pixels);
    BindTarget();
    if (surface->keepsAlpha && surface->desc.format == Format::X8R8G8B8) {
        for (size_t i = 0; i < static_cast<size_t>(rect.Width()) * rect.Height(); ++i) pixels[i] |= 0xFF000000u;
    }
    return GlResult();
}

bool GlDevice::IsSurfaceLost(SurfaceId id) {
    Surface* surface = Find(id);
    return surface && surface->lost;
}

Result GlDevice::RestoreSurface(SurfaceId id) {
    Surface* surface = Find(id);
    if (!surface) return Result::InvalidArgument;
    if (!surface->lost) return Result::Ok;
    return MakeGlObjects(*surface);
}

void GlDevice::SimulateLoss() {
    Flush();
    for (auto& entry : mSurfaces) {
        if (!IsGl(entry.second)) continue;
        DropGlObjects(entry.second);
        entry.second.lost = true;
        entry.second.locked = false;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

}  // namespace display
