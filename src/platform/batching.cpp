#include "platform/batching.h"

#include <algorithm>

namespace tessaly::platform {

PrimitiveShape primitiveShape(Primitive type, const void* vertices, int vertexCount, const uint16_t* indices,
                              int indexCount) {
    if (!vertices || vertexCount <= 0) return {};
    if (type == Primitive::TriangleStrip) indices = nullptr;  // strips carry no indices
    const int triangles = type == Primitive::TriangleStrip ? std::max(vertexCount - 2, 0)
                          : indices                        ? indexCount / 3
                                                           : vertexCount / 3;
    if (triangles <= 0) return {};
    const int newIndices = triangles * 3;
    if (vertexCount > kBatchMaxVertices || newIndices > kBatchMaxIndices) return {};
    // An index past the vertices would read memory that is not there.
    if (indices)
        for (int i = 0; i < newIndices; ++i)
            if (indices[i] >= vertexCount) return {};
    return {triangles, newIndices};
}

BatchRule::Place BatchRule::place(const PrimitiveShape& shape, int vertexCount, bool hasNormals) {
    if (shape.triangles <= 0) return Place::Dropped;
    const bool joins = m_open && !m_stateChanged && hasNormals == m_hasNormals &&
                       m_vertices + vertexCount <= kBatchMaxVertices &&
                       m_indices + shape.indexCount <= kBatchMaxIndices;
    if (!joins) {
        close();
        m_open = true;
        m_stateChanged = false;
        m_hasNormals = hasNormals;
    }
    m_vertices += vertexCount;
    m_indices += shape.indexCount;
    return joins ? Place::Joins : Place::OpensDraw;
}

void BatchRule::close() {
    if (m_open) ++m_closedDraws;
    m_open = false;
    m_vertices = m_indices = 0;
}

}  // namespace tessaly::platform
