// Meshes and mesh sets. A definition of "gameobjs.txt" may name a mesh set
// (".cgo"): a key=value text listing meshes, one texture each, and named
// bounding shapes. A mesh (".msh_s") is a little-endian file of vertex
// positions, triangles and per-corner texture coordinates, flat (one
// normal per triangle) or smooth (one per vertex, split where the texture
// coordinates of a vertex's corners differ).
//
// Every mesh set the definitions name is loaded at start-up, each mesh into
// a device vertex buffer (and, smooth, a 16-bit index buffer); they stay
// until exit. Nothing draws them yet.
//
// Files are checked before anything is read from them: counts that do not
// fit the file, corner indices past the vertices, and smooth meshes over
// kMaxSmoothVertices are refused with the reason (a fatal message naming
// the file at start-up).
// Depends on: data registry and key readers, texture manager, the display
// device's buffers.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/math.h"
#include "platform/device.h"

namespace tessaly::gfx {
struct TextureEntry;
}

namespace tessaly::fx {

constexpr int kMaxMeshes = 1024;            // meshes cached at once; more are refused
constexpr int kMaxMeshSets = 1024;          // mesh sets cached at once; more are refused
constexpr int kMaxSetMeshes = 64;           // meshes of one set; a set listing more is refused
constexpr int kMaxSetBounds = 64;           // bounds of one set; a set listing more is refused
constexpr int kMaxSmoothVertices = 65536;   // all a 16-bit index reaches; larger smooth meshes are refused
constexpr int kMeshBoundNameSize = 32;      // 31 characters and the terminator; longer names are cut
constexpr int kMeshHeaderBytes = 37;        // flag, position, rotation and the two counts

struct MeshBound {
    char name[kMeshBoundNameSize] = {};
    bool circle = false;
    base::Vec3 centre = {};
    float radius = 0;                       // circles
    float extent = 0;                       // boxes ("dx=")
};

struct Mesh {
    std::string name;                       // file name
    bool smooth = false;
    int vertexCount = 0;                    // after flattening or seam splitting
    int triangleCount = 0;
    base::Matrix transform = base::Matrix::identity();
    std::vector<platform::VertexPNT> vertices;
    std::vector<uint16_t> indices;          // 3 per triangle, smooth meshes only
    base::Vec3 boxCentre = {}, boxHalf = {};
    base::Vec3 sphereCentre = {};
    float sphereRadius = 0;
    platform::BufferId vertexBuffer = 0;
    platform::BufferId indexBuffer = 0;     // smooth meshes only
};

struct MeshSet {
    std::string name;                       // file name
    std::vector<Mesh*> meshes;
    std::vector<gfx::TextureEntry*> textures;  // one per mesh
    std::vector<MeshBound> bounds;
};

// What a mesh-set text lists, before anything is loaded.
struct MeshSetText {
    std::vector<std::string> meshFiles, textureFiles;
    std::vector<MeshBound> bounds;
};

// Builds a mesh from the bytes of a ".msh_s" file (no device work). False,
// with the reason in *error, for a file whose counts do not fit its size,
// whose corners point past its vertices, or a smooth mesh that would need
// more than kMaxSmoothVertices vertices.
bool buildMesh(const uint8_t* bytes, int size, Mesh& out, std::string* error);
// Reads a ".cgo" text (NUL-terminated). False, with the reason, for negative
// or excessive counts and for a mesh or texture line that is missing.
bool parseMeshSetText(const char* text, MeshSetText& out, std::string* error);

// The named caches of loaded meshes and sets, found by exact file name.
struct MeshCache {
    std::array<std::unique_ptr<Mesh>, kMaxMeshes> meshes;
    int meshCount = 0;
    std::array<std::unique_ptr<MeshSet>, kMaxMeshSets> sets;
    int setCount = 0;
    platform::Device* device = nullptr;     // the device the buffers live on

    Mesh* findMesh(std::string_view name);
    MeshSet* findSet(std::string_view name);
    // Get or load; a missing or damaged file ends the process with a
    // message naming it.
    Mesh* loadMesh(std::string_view name);
    MeshSet* loadSet(std::string_view name);
    // Releases every mesh's arrays and device buffers, and every set. Run
    // while the device still lives (at exit, before the window closes); the
    // cache's own destruction only frees memory.
    void clear();
};

inline MeshCache g_meshes;

inline MeshSet* loadMeshSet(std::string_view name) { return g_meshes.loadSet(name); }
inline void releaseMeshes() { g_meshes.clear(); }

}  // namespace tessaly::fx
