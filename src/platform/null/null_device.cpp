#include "platform/null/null_device.h"

#include <algorithm>
#include <cstring>

namespace tessaly::platform {

NullDevice::NullDevice(int width, int height) : m_width(width), m_height(height) {
    for (size_t i = 0; i < size_t(RenderState::Count); ++i)
        m_states[i] = defaultRenderState(RenderState(i));
    for (base::Matrix& m : m_transforms) m = base::Matrix::identity();
}

void NullDevice::setRenderState(RenderState state, uint32_t value) {
    uint32_t& slot = m_states[size_t(state)];
    if (slot == value) return;
    slot = value;
    ++m_stats.stateChanges;
    m_batch.stateChanged();
}

void NullDevice::setTransform(TransformKind kind, const base::Matrix& m) {
    base::Matrix& slot = m_transforms[size_t(kind)];
    if (std::memcmp(&slot, &m, sizeof m) == 0) return;
    slot = m;
    m_batch.stateChanged();
}

void NullDevice::clear(uint32_t flags, uint32_t argb, float, uint32_t) {
    if (flags & ClearColor) m_clearColor = argb;
    flush();
}

TextureId NullDevice::createTexture(int width, int height) {
    if (m_failCreations > 0) {
        --m_failCreations;
        return 0;
    }
    if (width <= 0 || height <= 0) return 0;
    Texture t;
    t.width = width;
    t.height = height;
    t.live = true;
    if (keepPixels) t.pixels.assign(size_t(width) * size_t(height) * 4, 0);
    m_textures.push_back(std::move(t));
    return TextureId(m_textures.size());
}

BufferId NullDevice::createVertexBuffer(VertexFormat format, const void* vertices, int vertexCount) {
    if (!vertices || vertexCount <= 0) return 0;
    BufferInfo b;
    b.count = vertexCount;
    b.format = format;
    const auto* bytes = static_cast<const uint8_t*>(vertices);
    b.bytes.assign(bytes, bytes + size_t(vertexCount) * size_t(vertexStride(format)));
    m_buffers.push_back(std::move(b));
    m_bufferLive.push_back(true);
    return BufferId(m_buffers.size());
}

BufferId NullDevice::createIndexBuffer(const uint16_t* indices, int indexCount) {
    if (!indices || indexCount <= 0) return 0;
    BufferInfo b;
    b.count = indexCount;
    b.indices = true;
    const auto* bytes = reinterpret_cast<const uint8_t*>(indices);
    b.bytes.assign(bytes, bytes + size_t(indexCount) * sizeof(uint16_t));
    m_buffers.push_back(std::move(b));
    m_bufferLive.push_back(true);
    return BufferId(m_buffers.size());
}

void NullDevice::destroyBuffer(BufferId id) {
    if (id == 0 || id > m_buffers.size()) return;
    m_bufferLive[id - 1] = false;
    m_buffers[id - 1].bytes.clear();
}

const NullDevice::BufferInfo* NullDevice::buffer(BufferId id) const {
    if (id == 0 || id > m_buffers.size() || !m_bufferLive[id - 1]) return nullptr;
    return &m_buffers[id - 1];
}

int NullDevice::liveBufferCount() const { return int(std::count(m_bufferLive.begin(), m_bufferLive.end(), true)); }

const NullDevice::Texture* NullDevice::find(TextureId id) const {
    if (id == 0 || id > m_textures.size()) return nullptr;
    const Texture& t = m_textures[id - 1];
    return t.live ? &t : nullptr;
}

void NullDevice::updateTexture(TextureId id, int x, int y, int width, int height,
                               const uint8_t* pixels, int pitch) {
    flush();
    if (!find(id)) return;
    Texture& t = m_textures[id - 1];
    if (t.pixels.empty() || !pixels) return;
    // Clip the rectangle to the texture, as a real device would refuse to
    // write outside it.
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = std::min(x + width, t.width), y1 = std::min(y + height, t.height);
    for (int row = y0; row < y1; ++row)
        if (x1 > x0)
            std::memcpy(&t.pixels[(size_t(row) * t.width + x0) * 4],
                        pixels + size_t(row - y) * pitch + size_t(x0 - x) * 4, size_t(x1 - x0) * 4);
}

void NullDevice::destroyTexture(TextureId id) {
    flush();
    if (!find(id)) return;
    Texture& t = m_textures[id - 1];
    t.live = false;
    t.pixels = {};
    if (m_bound == id) m_bound = 0;
}

void NullDevice::setTexture(TextureId id) {
    if (id == m_bound) return;
    m_bound = id;
    ++m_stats.textureBinds;
    m_batch.stateChanged();
}

void NullDevice::flush() {
    const uint64_t closed = m_batch.closedDraws();
    m_batch.close();
    m_stats.drawCalls += m_batch.closedDraws() - closed;
    if (m_queuedVertices > 0) {
        ++m_stats.flushes;
        m_stats.uploadedVertices += m_queuedVertices;
    }
    m_queuedVertices = 0;
}

void NullDevice::drawPrimitive(Primitive type, VertexFormat format, const void* data,
                               int vertexCount, const uint16_t* indices, int indexCount) {
    // The same acceptance and merging as the OpenGL device (batching.h).
    ++m_stats.primitiveCalls;
    const PrimitiveShape shape = primitiveShape(type, data, vertexCount, indices, indexCount);
    if (type == Primitive::TriangleStrip) indices = nullptr;
    const uint64_t closed = m_batch.closedDraws();
    const BatchRule::Place place = m_batch.place(shape, vertexCount, format == VertexFormat::PosNormalTex);
    if (place == BatchRule::Place::Dropped) return;
    m_stats.drawCalls += m_batch.closedDraws() - closed;
    m_stats.triangles += uint64_t(shape.triangles);
    m_queuedVertices += uint64_t(vertexCount);
    const bool starts = place == BatchRule::Place::OpensDraw;

    if (!recordVertices) return;
    RecordedCall call;
    call.type = type;
    call.format = format;
    call.texture = m_bound;
    call.firstVertex = int(vertices.size());
    call.vertexCount = vertexCount;
    call.indexCount = indices ? indexCount : 0;
    std::memcpy(call.states, m_states, sizeof m_states);
    call.startedBatch = starts;
    calls.push_back(call);
    for (int i = 0; i < vertexCount; ++i) {
        RecordedVertex v;
        switch (format) {
        case VertexFormat::PosColorTex: {
            VertexPCT p;
            std::memcpy(&p, static_cast<const uint8_t*>(data) + size_t(i) * sizeof p, sizeof p);
            v.x = p.x, v.y = p.y, v.z = p.z, v.color = p.color, v.u = p.u, v.v = p.v;
            break;
        }
        case VertexFormat::PosNormalTex: {
            VertexPNT p;
            std::memcpy(&p, static_cast<const uint8_t*>(data) + size_t(i) * sizeof p, sizeof p);
            v.x = p.x, v.y = p.y, v.z = p.z, v.u = p.u, v.v = p.v;
            v.nx = p.nx, v.ny = p.ny, v.nz = p.nz;
            break;
        }
        case VertexFormat::PosTex: {
            VertexPT p;
            std::memcpy(&p, static_cast<const uint8_t*>(data) + size_t(i) * sizeof p, sizeof p);
            v.x = p.x, v.y = p.y, v.z = p.z, v.u = p.u, v.v = p.v;
            break;
        }
        }
        vertices.push_back(v);
    }
}

bool NullDevice::present() {
    ++m_presents;
    flush();
    return true;
}

bool NullDevice::readPixels(uint8_t*) { return false; }

int NullDevice::liveTextureCount() const {
    return int(std::count_if(m_textures.begin(), m_textures.end(),
                             [](const Texture& t) { return t.live; }));
}

bool NullDevice::textureSize(TextureId id, int* width, int* height) const {
    const Texture* t = find(id);
    if (!t) return false;
    if (width) *width = t->width;
    if (height) *height = t->height;
    return true;
}

const std::vector<uint8_t>* NullDevice::texturePixels(TextureId id) const {
    const Texture* t = find(id);
    return t && !t->pixels.empty() ? &t->pixels : nullptr;
}

}  // namespace tessaly::platform
