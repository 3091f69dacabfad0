// The display device seam: everything the drawing code asks of the graphics
// hardware. Two backends implement it: the OpenGL 3.3 device under gl/ that
// the game runs on, and the null device under null/ that records what was
// drawn, for tests and benchmarks.
//
// The model is that of a fixed-function immediate-mode device: render states
// persist until changed, transforms are row-major matrices used with row
// vectors (v' = v * M), depth runs 0..1 after projection, and primitives are
// drawn from user memory. Colours are packed 32-bit ARGB (blue in the low
// byte); texture pixels are A8R8G8B8, i.e. bytes B, G, R, A in memory.
//
// No SDL or GL header is reachable from here.
#pragma once

#include <cstdint>

#include "base/math.h"

namespace tessaly::platform {

enum class RenderState : uint8_t {
    DepthTest,        // bool
    DepthWrite,       // bool
    AlphaBlend,       // bool
    SrcBlend,         // BlendFactor
    DstBlend,         // BlendFactor
    AlphaTest,        // bool
    AlphaRef,         // 0..255; the test passes when alpha >= ref
    Cull,             // CullMode
    Lighting,         // bool; lit vertices are shaded with a fixed light
    TextureFilter,    // TextureFilter, stage 0
    TexCoordSource,   // TexCoordSource, stage 0
    Count
};

enum BlendFactor : uint32_t {
    BlendZero, BlendOne, BlendSrcColor, BlendInvSrcColor,
    BlendSrcAlpha, BlendInvSrcAlpha, BlendDstColor, BlendInvDstColor,
};

enum CullMode : uint32_t { CullNone, CullClockwise, CullCounterClockwise };

enum TextureFilter : uint32_t { FilterPoint, FilterLinear };

// Where stage 0 takes its texture coordinates from: the vertex, or the
// camera-space normal / reflection vector (shiny meshes).
enum TexCoordSource : uint32_t { TexCoordVertex, TexCoordCameraNormal, TexCoordCameraReflection };

// The values every device starts with, and returns to after a reset: depth
// test and writes on, alpha reference 128, counter-clockwise culling (our
// quads are wound clockwise as seen on screen), lighting off, point
// filtering, no blending and no alpha test (one, zero).
constexpr uint32_t defaultRenderState(RenderState state) {
    switch (state) {
    case RenderState::DepthTest: return 1;
    case RenderState::DepthWrite: return 1;
    case RenderState::AlphaBlend: return 0;
    case RenderState::SrcBlend: return BlendOne;
    case RenderState::DstBlend: return BlendZero;
    case RenderState::AlphaTest: return 0;
    case RenderState::AlphaRef: return 128;
    case RenderState::Cull: return CullCounterClockwise;
    case RenderState::Lighting: return 0;
    case RenderState::TextureFilter: return FilterPoint;
    case RenderState::TexCoordSource: return TexCoordVertex;
    case RenderState::Count: break;
    }
    return 0;
}

enum class TransformKind : uint8_t { World, View, Projection, Texture0, Count };

enum class Primitive : uint8_t { TriangleList, TriangleStrip };

// The three vertex layouts of the drawing code.
enum class VertexFormat : uint8_t {
    PosColorTex,   // float x, y, z; uint32 ARGB; float u, v   (24 bytes)
    PosNormalTex,  // float x, y, z; float nx, ny, nz; float u, v (32 bytes)
    PosTex,        // float x, y, z; float u, v                (20 bytes)
};

struct VertexPCT { float x, y, z; uint32_t color; float u, v; };
struct VertexPNT { float x, y, z, nx, ny, nz, u, v; };
struct VertexPT  { float x, y, z, u, v; };
static_assert(sizeof(VertexPCT) == 24 && sizeof(VertexPNT) == 32 && sizeof(VertexPT) == 20);

constexpr int vertexStride(VertexFormat f) {
    return f == VertexFormat::PosColorTex ? 24 : f == VertexFormat::PosNormalTex ? 32 : 20;
}

// Batching: every device merges consecutive drawPrimitive calls into one
// draw by the rule of batching.h (same states, transforms and texture, the
// same vertex kind, within a draw's capacity), keeps the frame's draws in a
// list and sends them with one vertex upload when it must: at a clear, a
// texture update or destroy, present, read-back, or when the frame's
// buffers are full. Read DrawStats after present().
constexpr int kBatchMaxVertices = 65536;  // one draw: all a 16-bit index can address
constexpr int kBatchMaxIndices = 3 * kBatchMaxVertices;

// Opaque texture id; 0 is "no texture".
using TextureId = uint32_t;

// Opaque id of geometry stored on the device (a mesh's vertices or its
// 16-bit corner indices); 0 is "no buffer".
using BufferId = uint32_t;

enum ClearFlags : uint32_t { ClearColor = 1, ClearDepth = 2, ClearStencil = 4 };

// What a device has drawn since the counters were last reset.
struct DrawStats {
    uint64_t primitiveCalls = 0;  // drawPrimitive calls made by the drawing code
    uint64_t triangles = 0;       // triangles submitted
    uint64_t drawCalls = 0;       // draw calls that reached the backend (after batching)
    uint64_t flushes = 0;         // times the queued draws were sent (each with one upload)
    uint64_t uploadedVertices = 0;  // vertices sent in those uploads
    uint64_t stateChanges = 0;    // setRenderState calls that changed a value
    uint64_t textureBinds = 0;    // setTexture calls that changed the binding
};

class Device {
public:
    virtual ~Device() = default;

    // Logical back buffer size, in pixels of the 800 x 600 picture.
    virtual int width() const = 0;
    virtual int height() const = 0;

    virtual void setRenderState(RenderState state, uint32_t value) = 0;
    virtual uint32_t renderState(RenderState state) const = 0;
    virtual void setTransform(TransformKind kind, const base::Matrix& m) = 0;
    virtual const base::Matrix& transform(TransformKind kind) const = 0;

    // Clears the whole logical target.
    virtual void clear(uint32_t flags, uint32_t argb, float depth, uint32_t stencil) = 0;

    // Textures: created empty (transparent black), filled through update.
    // Pixels are A8R8G8B8 rows of `pitch` bytes.
    virtual TextureId createTexture(int width, int height) = 0;
    virtual void updateTexture(TextureId id, int x, int y, int width, int height,
                               const uint8_t* pixels, int pitch) = 0;
    virtual void destroyTexture(TextureId id) = 0;
    virtual void setTexture(TextureId id) = 0;  // stage 0; 0 unbinds

    // Buffers: geometry copied to the device once at creation and kept
    // until destroyed (meshes that stay loaded for the whole run). Return 0
    // for an empty or null array, or when the device has no room.
    virtual BufferId createVertexBuffer(VertexFormat format, const void* vertices, int vertexCount) = 0;
    virtual BufferId createIndexBuffer(const uint16_t* indices, int indexCount) = 0;
    virtual void destroyBuffer(BufferId id) = 0;

    // Draws from user memory. `indices` may be null; with indices the
    // primitive must be a triangle list.
    virtual void drawPrimitive(Primitive type, VertexFormat format, const void* vertices,
                               int vertexCount, const uint16_t* indices = nullptr,
                               int indexCount = 0) = 0;

    // Brightness as the gamma control value: 0.5 is neutral; the picture is
    // scaled by (brightness + 0.5), saturating.
    virtual void setBrightness(float brightness) = 0;

    // Ends the frame and shows it. Returns false when the output was lost.
    virtual bool present() = 0;

    // Reads the last presented 800 x 600 picture as RGBA rows, top row first.
    // Returns false when the backend has no pixels (the null device).
    virtual bool readPixels(uint8_t* rgba) = 0;

    virtual DrawStats& stats() = 0;
};

}  // namespace tessaly::platform
