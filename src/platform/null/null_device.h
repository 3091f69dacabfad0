// The null display device: draws nothing, remembers everything. Tests and
// benchmarks install it in place of the OpenGL device to see what the
// drawing code asked for: render states and transforms, texture sizes (and,
// on request, their pixels), and the draw statistics, with draw calls
// counted by the same batching rule as the real device (see device.h).
//
// With recordVertices set, every submitted call is kept with its vertices
// (converted to one layout), the bound texture and the render states of the
// moment. That costs memory per call, so it is off by default; benchmarks
// leave it off and allocate nothing per frame.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/batching.h"
#include "platform/device.h"

namespace tessaly::platform {

// One vertex of any of the three layouts; fields a layout lacks are 0 (the
// colour of an uncoloured vertex reads 0xFFFFFFFF).
struct RecordedVertex {
    float x = 0, y = 0, z = 0;
    uint32_t color = 0xFFFFFFFFu;
    float u = 0, v = 0;
    float nx = 0, ny = 0, nz = 0;
};

struct RecordedCall {
    Primitive type = Primitive::TriangleList;
    VertexFormat format = VertexFormat::PosColorTex;
    TextureId texture = 0;
    int firstVertex = 0;   // into NullDevice::vertices
    int vertexCount = 0;
    int indexCount = 0;
    uint32_t states[std::size_t(RenderState::Count)] = {};
    bool startedBatch = false;  // this call began a new batch (a new backend draw call)

    uint32_t state(RenderState s) const { return states[std::size_t(s)]; }
};

class NullDevice final : public Device {
public:
    explicit NullDevice(int width = 800, int height = 600);
    NullDevice(const NullDevice&) = delete;
    NullDevice& operator=(const NullDevice&) = delete;

    int width() const override { return m_width; }
    int height() const override { return m_height; }

    void setRenderState(RenderState state, uint32_t value) override;
    uint32_t renderState(RenderState state) const override { return m_states[std::size_t(state)]; }
    void setTransform(TransformKind kind, const base::Matrix& m) override;
    const base::Matrix& transform(TransformKind kind) const override { return m_transforms[std::size_t(kind)]; }

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
                       const uint16_t* indices = nullptr, int indexCount = 0) override;

    void setBrightness(float brightness) override { m_brightness = brightness; }
    bool present() override;
    bool readPixels(uint8_t* rgba) override;
    DrawStats& stats() override { return m_stats; }

    // Inspection.
    TextureId boundTexture() const { return m_bound; }
    float brightness() const { return m_brightness; }
    uint32_t lastClearColor() const { return m_clearColor; }
    uint64_t presentCount() const { return m_presents; }
    int liveTextureCount() const;
    // False when the id is not a live texture.
    bool textureSize(TextureId id, int* width, int* height) const;
    // The pixels of a texture (A8R8G8B8 rows), kept only with keepPixels set
    // at creation; null otherwise.
    const std::vector<uint8_t>* texturePixels(TextureId id) const;
    // What a live buffer holds: its element count, whether it holds indices,
    // its vertex layout, and a copy of its bytes. False when not live.
    struct BufferInfo {
        int count = 0;
        bool indices = false;
        VertexFormat format = VertexFormat::PosColorTex;
        std::vector<uint8_t> bytes;
    };
    const BufferInfo* buffer(BufferId id) const;
    int liveBufferCount() const;
    // Fails the next `count` texture creations (returns 0), as a full or
    // lost device would.
    void failTextureCreations(int count) { m_failCreations = count; }

    bool recordVertices = false;
    bool keepPixels = false;
    std::vector<RecordedCall> calls;
    std::vector<RecordedVertex> vertices;
    void clearRecording() {
        calls.clear();
        vertices.clear();
    }

private:
    struct Texture {
        int width = 0, height = 0;
        bool live = false;
        std::vector<uint8_t> pixels;
    };

    const Texture* find(TextureId id) const;
    void flush();

    int m_width, m_height;
    uint32_t m_states[std::size_t(RenderState::Count)];
    base::Matrix m_transforms[std::size_t(TransformKind::Count)];
    TextureId m_bound = 0;
    float m_brightness = 0.5f;
    uint32_t m_clearColor = 0;
    uint64_t m_presents = 0;
    int m_failCreations = 0;
    std::vector<Texture> m_textures;  // index id - 1; ids are never reused
    std::vector<BufferInfo> m_buffers;  // index id - 1; ids are never reused
    std::vector<bool> m_bufferLive;
    DrawStats m_stats;

    BatchRule m_batch;
    uint64_t m_queuedVertices = 0;  // since the last flush
};

// The device drawing goes to while no display device is installed: before
// the window opens, after it closes, and in tests and tools that draw
// nothing. It counts what it is given and forgets it.
inline NullDevice g_idleDevice;

}  // namespace tessaly::platform
