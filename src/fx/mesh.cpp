// Meshes and mesh sets: the file checks, the transform, bounds, normals,
// seam splitting, the device buffers and the caches.
#include "fx/mesh.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "base/byte_io.h"
#include "base/copy_text.h"
#include "data/registry.h"
#include "data/text.h"
#include "gfx/draw.h"
#include "gfx/texture.h"
#include "platform/window.h"

namespace tessaly::fx {

namespace {

using platform::VertexPNT;
using base::Vec3;

struct Quat {
    float x = 0, y = 0, z = 0, w = 1;
};

Quat multiply(const Quat& a, const Quat& b) {
    return {a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y, a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x,
            a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w, a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z};
}

// The rotation by `angle` radians about one axis, in half-angle form.
Quat axisRotation(int axis, float angle) {
    Quat q;
    const float s = std::sin(angle / 2);
    (axis == 0 ? q.x : axis == 1 ? q.y : q.z) = s;
    q.w = std::cos(angle / 2);
    return q;
}

// Position, then the rotation of qz qy qx, for row vectors.
base::Matrix meshTransform(Vec3 position, Vec3 rotation) {
    const Quat q = multiply(multiply(axisRotation(2, rotation.z), axisRotation(1, rotation.y)),
                            axisRotation(0, rotation.x));
    const float x = q.x, y = q.y, z = q.z, w = q.w;
    base::Matrix m = base::Matrix::identity();
    m.m[0][0] = 1 - 2 * (y * y + z * z);
    m.m[0][1] = 2 * (x * y + z * w);
    m.m[0][2] = 2 * (x * z - y * w);
    m.m[1][0] = 2 * (x * y - z * w);
    m.m[1][1] = 1 - 2 * (x * x + z * z);
    m.m[1][2] = 2 * (y * z + x * w);
    m.m[2][0] = 2 * (x * z + y * w);
    m.m[2][1] = 2 * (y * z - x * w);
    m.m[2][2] = 1 - 2 * (x * x + y * y);
    m.m[3][0] = position.x;
    m.m[3][1] = position.y;
    m.m[3][2] = position.z;
    return m;
}

// Exact lengths here: normals are made once at load, and the fast square
// root's 15 bits would leave them visibly short of unit length.
Vec3 unit(Vec3 v) {
    const float len = std::sqrt(base::dot(v, v));
    return len > 0 ? v / len : v;
}

bool refuse(std::string* error, const std::string& why) {
    if (error) *error = why;
    return false;
}

}  // namespace

bool buildMesh(const uint8_t* bytes, int size, Mesh& out, std::string* error) {
    out = Mesh{};
    if (!bytes || size < kMeshHeaderBytes) return refuse(error, "shorter than its header");
    base::ByteReader in{bytes, 3};
    uint8_t smooth = 0;
    in.u8(smooth);
    float f[6];
    for (float& v : f) in.f32(v);
    in.pos = 29;
    int32_t V = 0, F = 0;
    in.i32(V);
    in.i32(F);
    if (V < 0 || F < 0) return refuse(error, "negative vertex or triangle count");
    // Positions, indices, 12 F unused bytes, then the corners' coordinates;
    // in 64 bits so that huge counts cannot wrap into a small size.
    const int64_t positionsAt = kMeshHeaderBytes;
    const int64_t indicesAt = positionsAt + 12 * int64_t(V);
    const int64_t coordsAt = indicesAt + 24 * int64_t(F);
    const int64_t end = coordsAt + 24 * int64_t(F);
    if (end > size) return refuse(error, "vertex and triangle counts larger than the file holds");
    out.smooth = smooth != 0;
    if (out.smooth && V > kMaxSmoothVertices) return refuse(error, "smooth mesh of more than 65536 vertices");
    out.transform = meshTransform({f[0], f[1], f[2]}, {f[3], f[4], f[5]});
    out.triangleCount = F;

    std::vector<Vec3> positions(static_cast<size_t>(V));
    in.pos = size_t(positionsAt);
    for (Vec3& p : positions) {
        in.f32(p.x);
        in.f32(p.y);
        in.f32(p.z);
    }
    const size_t cornerCount = size_t(F) * 3;
    std::vector<int32_t> corners(cornerCount);
    for (int32_t& c : corners) {
        in.i32(c);
        if (c < 0 || c >= V) return refuse(error, "a triangle corner points past the vertices");
    }
    std::vector<float> u(cornerCount), v(cornerCount);
    in.pos = size_t(coordsAt);
    for (size_t c = 0; c < cornerCount; ++c) {
        in.f32(u[c]);
        in.f32(v[c]);
        v[c] = 1 - v[c];
    }

    // Bounds over the positions as stored.
    if (V > 0) {
        Vec3 lo = positions[0], hi = positions[0];
        for (const Vec3& p : positions) {
            lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
            hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
        }
        out.boxHalf = (hi - lo) / 2;
        out.boxCentre = lo + out.boxHalf;
        out.sphereCentre = out.boxCentre;
        out.sphereRadius = std::sqrt(base::dot(out.boxHalf, out.boxHalf));
    }

    std::vector<Vec3> faceNormals(static_cast<size_t>(F));
    for (size_t t = 0; t < size_t(F); ++t) {
        const Vec3 a = positions[size_t(corners[t * 3])], b = positions[size_t(corners[t * 3 + 1])],
                   c = positions[size_t(corners[t * 3 + 2])];
        faceNormals[t] = unit(base::cross(c - a, b - a));
    }

    if (!out.smooth) {
        out.vertices.resize(cornerCount);
        for (size_t c = 0; c < cornerCount; ++c) {
            const Vec3 p = positions[size_t(corners[c])], n = faceNormals[c / 3];
            out.vertices[c] = {p.x, p.y, p.z, n.x, n.y, n.z, u[c], v[c]};
        }
        out.vertexCount = int(cornerCount);
        return true;
    }

    std::vector<Vec3> normals(static_cast<size_t>(V), Vec3{});
    for (size_t c = 0; c < cornerCount; ++c) normals[size_t(corners[c])] = normals[size_t(corners[c])] + faceNormals[c / 3];
    for (Vec3& n : normals) n = unit(n);

    // The corners of each vertex, in corner order (a counting sort).
    std::vector<int32_t> firstCorner(size_t(V) + 1, 0), byVertex(cornerCount);
    for (int32_t c : corners) ++firstCorner[size_t(c) + 1];
    for (size_t i = 0; i < size_t(V); ++i) firstCorner[i + 1] += firstCorner[i];
    {
        std::vector<int32_t> fill(firstCorner.begin(), firstCorner.end() - 1);
        for (size_t c = 0; c < cornerCount; ++c) byVertex[size_t(fill[size_t(corners[c])]++)] = int32_t(c);
    }
    // Split at texture seams: one output vertex per distinct coordinate of
    // a vertex's corners, in the order the corners first use them.
    std::vector<int32_t> outputOf(cornerCount, -1);
    out.vertices.reserve(size_t(V));
    for (size_t s = 0; s < size_t(V); ++s) {
        for (int32_t k = firstCorner[s]; k < firstCorner[s + 1]; ++k) {
            const size_t first = size_t(byVertex[size_t(k)]);
            if (outputOf[first] >= 0) continue;
            if (out.vertices.size() >= size_t(kMaxSmoothVertices))
                return refuse(error, "smooth mesh of more than 65536 vertices after splitting its seams");
            const int32_t index = int32_t(out.vertices.size());
            const Vec3 p = positions[s], n = normals[s];
            out.vertices.push_back({p.x, p.y, p.z, n.x, n.y, n.z, u[first], v[first]});
            for (int32_t j = k; j < firstCorner[s + 1]; ++j) {
                const size_t c = size_t(byVertex[size_t(j)]);
                if (outputOf[c] < 0 && u[c] == u[first] && v[c] == v[first]) outputOf[c] = index;
            }
        }
    }
    out.indices.resize(cornerCount);
    for (size_t c = 0; c < cornerCount; ++c) out.indices[c] = uint16_t(outputOf[c]);
    out.vertexCount = int(out.vertices.size());
    return true;
}

bool parseMeshSetText(const char* text, MeshSetText& out, std::string* error) {
    out = MeshSetText{};
    if (!text) return refuse(error, "no text");
    const int meshes = data::readKeyInt(text, "nummeshes=");
    if (meshes < 0 || meshes > kMaxSetMeshes) return refuse(error, "nummeshes= out of 0.." + std::to_string(kMaxSetMeshes));
    char key[48], value[data::kMaxDataNameLength + 1];
    for (int i = 0; i < meshes; ++i) {
        std::snprintf(key, sizeof key, "mesh%i=", i);
        if (!data::readKeyString(value, sizeof value, text, key) || !value[0])
            return refuse(error, std::string("no ") + key);
        out.meshFiles.emplace_back(value);
        std::snprintf(key, sizeof key, "texture%i=", i);
        if (!data::readKeyString(value, sizeof value, text, key) || !value[0])
            return refuse(error, std::string("no ") + key);
        out.textureFiles.emplace_back(value);
    }
    const int bounds = data::readKeyInt(text, "numbounds=");
    if (bounds < 0 || bounds > kMaxSetBounds) return refuse(error, "numbounds= out of 0.." + std::to_string(kMaxSetBounds));
    for (int i = 0; i < bounds; ++i) {
        MeshBound b;
        auto read = [&](const char* field) {
            std::snprintf(key, sizeof key, "bound%i.%s", i, field);
            return data::readKeyFloat(text, key);
        };
        std::snprintf(key, sizeof key, "bound%i.name=", i);
        if (data::readKeyString(value, sizeof value, text, key)) base::copyText(b.name, value);
        std::snprintf(key, sizeof key, "bound%i.b_circle=", i);
        b.circle = data::readKeyInt(text, key) != 0;
        b.centre = {read("center.x="), read("center.y="), read("center.z=")};
        if (b.circle)
            b.radius = read("radius=");
        else
            b.extent = read("dx=");
        out.bounds.push_back(b);
    }
    return true;
}

// -- the caches ------------------------------------------------------------------

namespace {

[[noreturn]] void damaged(const char* what, std::string_view name, const std::string& why) {
    platform::fatalError(std::string("The ") + what + " " + std::string(name) + " is damaged (" + why +
                             ").\nProgram will now stop.",
                         "Loading Error", 1);
}

[[noreturn]] void full(const char* what, std::string_view name) {
    platform::fatalError(std::string("Can't load ") + std::string(name) + ": too many " + what +
                             ".\nProgram will now stop.",
                         "Loading Error", 1);
}

}  // namespace

Mesh* MeshCache::findMesh(std::string_view name) {
    for (int i = 0; i < meshCount; ++i)
        if (meshes[size_t(i)]->name == name) return meshes[size_t(i)].get();
    return nullptr;
}

MeshSet* MeshCache::findSet(std::string_view name) {
    for (int i = 0; i < setCount; ++i)
        if (sets[size_t(i)]->name == name) return sets[size_t(i)].get();
    return nullptr;
}

Mesh* MeshCache::loadMesh(std::string_view name) {
    if (Mesh* m = findMesh(name)) return m;
    if (meshCount >= kMaxMeshes) full("meshes", name);
    int32_t size = 0;
    uint8_t* bytes = data::loadDataFile(name, &size, true);
    auto mesh = std::make_unique<Mesh>();
    std::string error;
    const bool built = buildMesh(bytes, size, *mesh, &error);
    data::releaseDataEntry(bytes);
    if (!built) damaged("mesh file", name, error);
    mesh->name = std::string(name);
    device = gfx::g_draw.device;
    mesh->vertexBuffer =
        device->createVertexBuffer(platform::VertexFormat::PosNormalTex, mesh->vertices.data(), mesh->vertexCount);
    if (mesh->smooth)
        mesh->indexBuffer = device->createIndexBuffer(mesh->indices.data(), int(mesh->indices.size()));
    Mesh* result = mesh.get();
    meshes[size_t(meshCount++)] = std::move(mesh);
    return result;
}

MeshSet* MeshCache::loadSet(std::string_view name) {
    if (MeshSet* s = findSet(name)) return s;
    if (setCount >= kMaxMeshSets) full("mesh sets", name);
    int32_t size = 0;
    uint8_t* bytes = data::loadDataFile(name, &size, true);
    // The reader wants a terminated text: the block's copy gets one.
    const std::string text(reinterpret_cast<const char*>(bytes), size_t(size));
    data::releaseDataEntry(bytes);
    MeshSetText listed;
    std::string error;
    if (!parseMeshSetText(text.c_str(), listed, &error)) damaged("mesh set", name, error);
    auto set = std::make_unique<MeshSet>();
    set->name = std::string(name);
    for (size_t i = 0; i < listed.meshFiles.size(); ++i) {
        set->meshes.push_back(loadMesh(listed.meshFiles[i]));
        set->textures.push_back(gfx::loadTexture(listed.textureFiles[i]));
    }
    set->bounds = std::move(listed.bounds);
    MeshSet* result = set.get();
    sets[size_t(setCount++)] = std::move(set);
    return result;
}

void MeshCache::clear() {
    for (int i = 0; i < meshCount; ++i) {
        Mesh& m = *meshes[size_t(i)];
        if (device) {
            device->destroyBuffer(m.vertexBuffer);
            device->destroyBuffer(m.indexBuffer);
        }
        meshes[size_t(i)].reset();
    }
    meshCount = 0;
    for (int i = 0; i < setCount; ++i) sets[size_t(i)].reset();
    setCount = 0;
}

}  // namespace tessaly::fx
