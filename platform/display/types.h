// Plain records exchanged with the display device: vertices, results,
// surfaces, capabilities and the draw states the shader understands.
#pragma once

#include <cstdint>
#include <string>

struct SDL_Window;

namespace display {

// 32 bytes, the renderer's vertex as it is. How the fields read depends on the
// vertex kind: transformed (x, y, z, unused, colours, u, v), pre-transformed
// (screen x, y, z, reciprocal w, colours, u, v) or lit (position, normal in
// the next three words, u, v).
struct Vertex {
    float x = 0, y = 0, z = 0, rhw = 0;
    uint32_t diffuse = 0;   // ARGB
    uint32_t specular = 0;  // ARGB
    float u = 0, v = 0;
};
static_assert(sizeof(Vertex) == 32, "vertices are uploaded as they are");

enum class VertexKind { Transformed, PreTransformed, Lit };

// Primitive types by their classic numbers; 1 (points) is not supported.
enum class Primitive { LineList = 2, LineStrip = 3, TriangleList = 4, TriangleStrip = 5, TriangleFan = 6 };

// The outcomes callers branch on.
enum class Result {
    Ok,
    Failed,
    InvalidArgument,
    NoObject,
    OutOfVideoMemory,
    SurfaceLost,
    StillDrawing,
    WrongMode,
    NoExclusiveMode,
    ExclusiveModeAlreadySet,
    UnsupportedMode,
    CurrentlyNotAvailable,
    SceneEndFailed,
};

// The classic 32-bit code of a result (0 for Ok), for log lines.
uint32_t ResultCode(Result result);

// Surface formats as ARGB bit layouts; pixels are exchanged as 32 bits whatever
// the surface keeps.
enum class Format { X8R8G8B8, A8R8G8B8, R5G6B5, A4R4G4B4 };

// Textures are drawn with; render targets can also be drawn into; "simple"
// surfaces live in CPU memory only and serve as copy sources and targets.
enum class SurfaceKind { Texture, RenderTarget, Simple };

using SurfaceId = uint32_t;
inline constexpr SurfaceId kNoSurface = 0;
inline constexpr SurfaceId kBackBuffer = 1;

struct SurfaceDesc {
    int width = 0, height = 0;
    Format format = Format::X8R8G8B8;
    SurfaceKind kind = SurfaceKind::Texture;
    bool mipmaps = false;
};

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

struct DesktopMode {
    int width = 0, height = 0;
    int colorCount = -1;  // -1: more than 256 colours (no palette)
    int refreshRate = 0;  // Hz; 0 when unknown
};

struct ScreenSetup {
    SDL_Window* window = nullptr;
    int width = 0, height = 0;  // back buffer size in pixels
    bool fullScreen = false;
    // A multisampled back buffer; creation fails when the device has none.
    bool antialias = false;
    bool placed = false;  // the caller sized and placed the window
};

// Capabilities of the display. Plain 32-bit words, so that they dump as bytes.
struct DisplayCaps {
    uint32_t videoMemoryTotal = 0;  // bytes; 0xFFFFFFFF when not measurable
    uint32_t videoMemoryFree = 0;
    uint32_t canWaitVerticalBlank = 0;
};

// Capabilities of the drawing device.
struct DeviceDesc {
    uint32_t hardwareRasterization = 0;
    uint32_t hardwareTransformLight = 0;
    uint32_t maxTextureWidth = 0, maxTextureHeight = 0;
    uint32_t maxTextureAspectRatio = 0;
    uint32_t squareTexturesOnly = 0;
    uint32_t separateTextureMemories = 0;
    uint32_t specularGouraud = 0;
};

struct Identifier {
    std::string driver, description;
    uint32_t versionHigh = 0, versionLow = 0;
    uint32_t vendorId = 0, deviceId = 0, subSysId = 0, revision = 0;
    uint32_t guid[4] = {0, 0, 0, 0};
};

struct Viewport {
    int x = 0, y = 0, width = 0, height = 0;
    float minZ = 0, maxZ = 1;
    bool operator==(const Viewport&) const = default;
};

enum class Transform { World, View, Projection };

// Row-vector matrices (a point times the matrix), rows stored one after another.
struct Matrix {
    float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    bool operator==(const Matrix&) const = default;
};
Matrix Multiply(const Matrix& a, const Matrix& b);

enum class Blend { Zero, One, SrcColor, InvSrcColor, SrcAlpha, InvSrcAlpha };
enum class Cull { None, Clockwise, CounterClockwise };
enum class Filter { Point, Linear };
enum class Address { Wrap, Mirror, Clamp };

// Arguments and operations of the one texture stage. Current is the diffuse
// colour at this first stage; kComplement may be or-ed into an argument.
enum StageArg : uint32_t { kArgDiffuse = 0, kArgCurrent = 1, kArgTexture = 2, kArgTextureFactor = 3 };
inline constexpr uint32_t kComplement = 0x10;
enum class StageOp { Modulate, SelectArg1 };

struct StageState {
    uint32_t colorArg1 = kArgTexture, colorArg2 = kArgCurrent;
    StageOp colorOp = StageOp::Modulate;
    uint32_t alphaArg1 = kArgTexture, alphaArg2 = kArgCurrent;
    StageOp alphaOp = StageOp::Modulate;
    bool operator==(const StageState&) const = default;
};

// Everything a draw depends on besides texture, transforms and viewport.
struct DrawStates {
    bool blendEnable = true;
    Blend srcBlend = Blend::SrcAlpha, destBlend = Blend::InvSrcAlpha;
    bool alphaTestEnable = true;
    uint32_t alphaRef = 1;  // passes when alpha (0-255) >= alphaRef
    bool zEnable = true, zWrite = true;
    Cull cull = Cull::CounterClockwise;
    bool gouraud = true;
    bool specularEnable = false;
    uint32_t ambient = 0xFFFFFFFF;
    uint32_t textureFactor = 0xFFFFFFFF;
    StageState stage;
    // Alpha blends source-over (one, inverse source alpha) whatever the colour
    // factors, so that a target keeps the coverage drawn into it.
    bool alphaSourceOver = false;
    Filter filter = Filter::Linear;
    Address addressU = Address::Wrap, addressV = Address::Wrap;
    // Edges are smoothed over the samples of a back buffer made with
    // antialiasing; other targets draw as without it.
    bool antialias = false;
    bool operator==(const DrawStates&) const = default;
};

struct Material {
    float diffuse[4] = {1, 1, 1, 1};
    float ambient[4] = {0.5f, 0.5f, 0.5f, 1};
    float specular[4] = {1, 1, 1, 1};
    float emissive[4] = {0, 0, 0, 1};
    float power = 1;
    bool operator==(const Material&) const = default;
};

}  // namespace display
