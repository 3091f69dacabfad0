// The OpenGL 3.3 core display device: the fixed-function device model of
// device.h (persistent render states, row-vector matrices, depth 0..1, quads
// from user memory) on one shader program, one vertex array and one
// vertex/index buffer pair.
//
// Batching, by the rule of batching.h: consecutive primitives drawn with the
// same render states, transforms and texture form one draw of indexed
// triangles. The frame's vertices and indices collect in one pair of arrays
// and its draws in a list, each with the states it was drawn with; a flush
// uploads both arrays once, sets the pipeline once, and then issues the
// draws, changing only what differs from the draw before (one GL draw call
// each, with a base vertex so 16-bit indices reach the whole upload). A
// flush happens at a clear, a texture update or destroy, present, before
// readPixels, and when the arrays or the draw list are full. A primitive
// larger than one draw is not drawn (reported once on stderr); nothing the
// game draws comes near it. Every GL state the draws rely on is set at each
// flush, so nothing else touching the context leaks into the picture. In a
// checking build (base/assert.h) GL errors are checked after every flush.
//
// The picture: every frame is drawn into an 800 x 600 offscreen framebuffer;
// present() scales it into the window through the letterbox (black bars),
// applying brightness as a saturating colour scale, and swaps. readPixels()
// reads that framebuffer, so screenshots are 800 x 600 whatever the window
// size, and brightness (a display setting, like a gamma ramp) is not in them.
//
// Requires a current OpenGL 3.3 (or later) core context on the window.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/batching.h"
#include "platform/device.h"
#include "platform/gl/gl_functions.h"

struct SDL_Window;

namespace tessaly::platform {

class GlDevice final : public Device {
public:
    // Creates the device on the window's current GL context; null with the
    // reason in *error when the context lacks what the device needs.
    static std::unique_ptr<GlDevice> create(SDL_Window* window, std::string* error);
    ~GlDevice() override;
    GlDevice(const GlDevice&) = delete;
    GlDevice& operator=(const GlDevice&) = delete;

    // "RENDERER (VERSION)" of the context, for --verbose.
    std::string rendererText() const;

    int width() const override { return kWidth; }
    int height() const override { return kHeight; }

    void setRenderState(RenderState state, uint32_t value) override;
    uint32_t renderState(RenderState state) const override;
    void setTransform(TransformKind kind, const base::Matrix& m) override;
    const base::Matrix& transform(TransformKind kind) const override;
    void clear(uint32_t flags, uint32_t argb, float depth, uint32_t stencil) override;

    TextureId createTexture(int width, int height) override;
    void updateTexture(TextureId id, int x, int y, int width, int height, const uint8_t* pixels,
                       int pitch) override;
    void destroyTexture(TextureId id) override;
    void setTexture(TextureId id) override;

    BufferId createVertexBuffer(VertexFormat format, const void* vertices, int vertexCount) override;
    BufferId createIndexBuffer(const uint16_t* indices, int indexCount) override;
    void destroyBuffer(BufferId id) override;

    void drawPrimitive(Primitive type, VertexFormat format, const void* vertices, int vertexCount,
                       const uint16_t* indices, int indexCount) override;

    void setBrightness(float brightness) override { m_brightness = brightness; }
    bool present() override;
    bool readPixels(uint8_t* rgba) override;
    DrawStats& stats() override { return m_stats; }

    float brightness() const { return m_brightness; }

private:
    static constexpr int kWidth = 800;   // the logical picture, pixels
    static constexpr int kHeight = 600;

    struct GpuVertex {
        float x, y, z;
        uint32_t color;  // ARGB, read as BGRA bytes
        float nx, ny, nz;
        float u, v;
    };
    static_assert(sizeof(GpuVertex) == 36);

    // Everything a draw depends on, as the drawing code had set it.
    struct DrawSettings {
        std::array<uint32_t, size_t(RenderState::Count)> states{};
        std::array<base::Matrix, size_t(TransformKind::Count)> transforms{};
        TextureId texture = 0;
        bool hasNormals = false;
    };
    struct QueuedDraw {
        int firstIndex = 0;   // into the frame's indices
        int indexCount = 0;
        int baseVertex = 0;   // into the frame's vertices; the indices count from here
        DrawSettings settings;
    };
    // A frame of the game is some 15,000 vertices in 150 draws; the arrays
    // hold several times that, and a fuller frame only flushes once more.
    static constexpr int kFrameVertexCapacity = 2 * kBatchMaxVertices;
    static constexpr int kFrameIndexCapacity = 2 * kBatchMaxIndices;
    static constexpr int kMaxQueuedDraws = 1024;

    explicit GlDevice(SDL_Window* window);
    bool init(std::string* error);
    void flush();
    void setPipeline();
    void applyDrawSettings(const DrawSettings& s, const DrawSettings* previous);
    void bindPictureFramebuffer();
    void checkErrors(const char* where);
    BufferId storeBuffer(const void* bytes, size_t size);

    SDL_Window* m_window;
    gl::Functions m_gl;

    // GL objects.
    unsigned m_program = 0, m_presentProgram = 0;
    unsigned m_vao = 0, m_presentVao = 0, m_vbo = 0, m_ibo = 0;
    unsigned m_samplers[2] = {};  // point, linear
    unsigned m_fbo = 0, m_pictureTexture = 0, m_depthBuffer = 0;
    int m_maxTextureSize = 0;

    // Uniform locations of the draw program.
    struct Uniforms {
        int worldViewProj = -1, worldView = -1, texMatrix = -1, texSource = -1;
        int textured = -1, alphaTest = -1, alphaRef = -1, lighting = -1, texture = -1;
    } m_uniforms;
    int m_presentScale = -1, m_presentPicture = -1;

    // Device state as the drawing code set it.
    DrawSettings m_current;
    float m_brightness = 0.5f;

    // The frame's draws waiting for the next flush.
    std::vector<GpuVertex> m_frameVertices;  // kFrameVertexCapacity, sized once
    std::vector<uint16_t> m_frameIndices;    // kFrameIndexCapacity, sized once
    std::vector<QueuedDraw> m_draws;         // kMaxQueuedDraws, sized once
    int m_vertexCount = 0, m_indexCount = 0, m_drawCount = 0;
    BatchRule m_batch;
    bool m_reportedOversize = false;

    std::vector<uint8_t> m_rowBuffer;  // one picture row, for flipping read-backs
    DrawStats m_stats;
};

}  // namespace tessaly::platform
