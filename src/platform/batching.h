// The batching rule both display devices follow, in one place: which
// drawPrimitive calls are drawn at all, and which of them join the draw
// before them instead of opening a new one.
//
// A call is drawn when it has vertices, makes at least one whole triangle,
// every index points at one of its vertices and it fits one draw (at most
// kBatchMaxVertices vertices, kBatchMaxIndices indices). A drawn call joins
// the open draw unless a render state, transform or texture changed since
// that draw opened, its vertices have normals where the draw's have none (or
// the other way round), or the draw would grow past a draw's capacity.
// Clears, texture updates and destroys, present and read-back close the
// open draw too (the device sends what it queued before doing them).
//
// The devices keep the draws of a frame in a list with their state and send
// them in one go (see gl/gl_device.h); the rule only decides where a call
// goes and counts the draws it closes.
#pragma once

#include <cstdint>

#include "platform/device.h"

namespace tessaly::platform {

// The triangles a call adds, as a triangle list of `indexCount` indices;
// zero triangles when it draws nothing.
struct PrimitiveShape {
    int triangles = 0;
    int indexCount = 0;
};
PrimitiveShape primitiveShape(Primitive type, const void* vertices, int vertexCount, const uint16_t* indices,
                              int indexCount);

class BatchRule final {
public:
    enum class Place : uint8_t { Dropped, Joins, OpensDraw };

    // Something a draw depends on changed: the next call opens a new draw.
    void stateChanged() { m_stateChanged = true; }
    // Where a call of `vertexCount` vertices and the given shape goes; counts
    // it into the open draw.
    Place place(const PrimitiveShape& shape, int vertexCount, bool hasNormals);
    // The open draw is over (flush, clear, present...).
    void close();

    bool drawOpen() const { return m_open; }
    int drawVertices() const { return m_vertices; }   // of the open draw
    uint64_t closedDraws() const { return m_closedDraws; }

private:
    bool m_open = false;
    bool m_stateChanged = true;
    bool m_hasNormals = false;
    int m_vertices = 0;
    int m_indices = 0;
    uint64_t m_closedDraws = 0;
};

}  // namespace tessaly::platform
