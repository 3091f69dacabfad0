#include "fx/mesh.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "data/registry.h"
#include "fx/scene.h"
#include "gfx/texture.h"
#include "support/test_support.h"

namespace tessaly::fx {
namespace {

using test::Bytes;

struct Corner {
    int vertex;
    float u, v;  // as stored in the file (before v is flipped)
};

struct MeshSource {
    bool smooth = false;
    float position[3] = {}, rotation[3] = {};
    std::vector<base::Vec3> vertices;
    std::vector<std::array<Corner, 3>> triangles;
    int vertexCount = -1, triangleCount = -1;  // written in place of the true counts when set
};

void putFloat(Bytes& b, float f) {
    uint32_t u;
    std::memcpy(&u, &f, 4);
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(u >> (8 * i)));
}
void putInt(Bytes& b, int32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(uint32_t(v) >> (8 * i)));
}

// A ".msh_s" image: header, positions, indices, 12 F unused bytes, the
// corners' coordinates.
Bytes meshBytes(const MeshSource& m) {
    Bytes b = {'M', 'S', 'H', uint8_t(m.smooth ? 1 : 0)};
    for (float f : m.position) putFloat(b, f);
    for (float f : m.rotation) putFloat(b, f);
    b.push_back(0);
    putInt(b, m.vertexCount != -1 ? m.vertexCount : int32_t(m.vertices.size()));
    putInt(b, m.triangleCount != -1 ? m.triangleCount : int32_t(m.triangles.size()));
    for (const base::Vec3& v : m.vertices)
        for (float c : {v.x, v.y, v.z}) putFloat(b, c);
    for (const auto& t : m.triangles)
        for (const Corner& c : t) putInt(b, c.vertex);
    b.resize(b.size() + 12 * m.triangles.size(), 0xEE);
    for (const auto& t : m.triangles)
        for (const Corner& c : t) {
            putFloat(b, c.u);
            putFloat(b, c.v);
        }
    return b;
}

// A unit square in the z = 0 plane as two triangles sharing the diagonal
// 0-2, wound so that the face normal cross(c2 - c0, c1 - c0) is +z.
MeshSource square(bool smooth) {
    MeshSource m;
    m.smooth = smooth;
    m.vertices = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    m.triangles = {{Corner{0, 0, 0}, Corner{2, 1, 1}, Corner{1, 1, 0}},
                   {Corner{0, 0, 0}, Corner{3, 0, 1}, Corner{2, 1, 1}}};
    return m;
}

bool build(const MeshSource& src, Mesh& out, std::string* error = nullptr) {
    const Bytes b = meshBytes(src);
    return buildMesh(b.data(), int(b.size()), out, error);
}

TEST(MeshFiles, RefusesWhatDoesNotFitAndNeverReadsPastTheFile) {
    const Bytes good = meshBytes(square(true));
    MeshSource pastVertices = square(false);
    pastVertices.triangles[1][1].vertex = 4;
    MeshSource negativeIndex = square(true);
    negativeIndex.triangles[0][2].vertex = -1;
    MeshSource moreVertices = square(false);
    moreVertices.vertexCount = 5;
    MeshSource moreTriangles = square(false);
    moreTriangles.triangleCount = 3;
    MeshSource wrapping = square(false);
    wrapping.triangleCount = 0x40000000;  // 24 F wraps a 32-bit size
    MeshSource negative = square(false);
    negative.vertexCount = -5;
    MeshSource huge;
    huge.smooth = true;
    huge.vertices.assign(size_t(kMaxSmoothVertices) + 1, base::Vec3{});
    struct Case {
        const char* what;
        Bytes bytes;
    } cases[] = {
        {"empty", {}},
        {"header cut", Bytes(good.begin(), good.begin() + 36)},
        {"coordinates cut", Bytes(good.begin(), good.end() - 1)},
        {"corner past the vertices", meshBytes(pastVertices)},
        {"negative corner", meshBytes(negativeIndex)},
        {"more vertices than stored", meshBytes(moreVertices)},
        {"more triangles than stored", meshBytes(moreTriangles)},
        {"triangle count that wraps", meshBytes(wrapping)},
        {"negative count", meshBytes(negative)},
        {"smooth over 65536 vertices", meshBytes(huge)},
    };
    for (const Case& c : cases) {
        Mesh m;
        std::string error;
        EXPECT_FALSE(buildMesh(c.bytes.data(), int(c.bytes.size()), m, &error)) << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
        EXPECT_TRUE(m.vertices.empty()) << c.what;
    }
    // A flat mesh may be larger: it has no indices.
    huge.smooth = false;
    Mesh flat;
    EXPECT_TRUE(build(huge, flat));
    Mesh m;
    EXPECT_TRUE(buildMesh(good.data(), int(good.size()), m, nullptr));
}

TEST(MeshFiles, FlatMeshesHaveAVertexPerCornerWithTheFaceNormalAndVFlipped) {
    Mesh m;
    std::string error;
    ASSERT_TRUE(build(square(false), m, &error)) << error;
    EXPECT_FALSE(m.smooth);
    EXPECT_EQ(m.triangleCount, 2);
    ASSERT_EQ(m.vertexCount, 6);
    EXPECT_TRUE(m.indices.empty());
    for (const platform::VertexPNT& v : m.vertices) {
        EXPECT_FLOAT_EQ(v.nz, 1);
        EXPECT_FLOAT_EQ(v.nx, 0);
    }
    // Corner 1 is vertex 2 at (1, 1) with coordinates (1, 1): v becomes 0.
    EXPECT_FLOAT_EQ(m.vertices[1].x, 1);
    EXPECT_FLOAT_EQ(m.vertices[1].y, 1);
    EXPECT_FLOAT_EQ(m.vertices[1].u, 1);
    EXPECT_FLOAT_EQ(m.vertices[1].v, 0);
    EXPECT_FLOAT_EQ(m.vertices[0].v, 1);
    // Bounds.
    EXPECT_FLOAT_EQ(m.boxCentre.x, 0.5f);
    EXPECT_FLOAT_EQ(m.boxHalf.y, 0.5f);
    EXPECT_FLOAT_EQ(m.boxHalf.z, 0);
    EXPECT_NEAR(m.sphereRadius, std::sqrt(0.5f), 1e-6f);

    // No vertices: zero bounds, nothing else.
    Mesh empty;
    ASSERT_TRUE(build(MeshSource{}, empty));
    EXPECT_EQ(empty.vertexCount, 0);
    EXPECT_FLOAT_EQ(empty.sphereRadius, 0);
}

TEST(MeshFiles, SmoothMeshesSplitVerticesAtTextureSeams) {
    // The square, with vertex 2's corners disagreeing on u across the diagonal.
    MeshSource src = square(true);
    src.triangles[1][2].u = 0.5f;
    Mesh m;
    ASSERT_TRUE(build(src, m));
    ASSERT_EQ(m.vertexCount, 5);
    ASSERT_EQ(m.indices.size(), 6u);
    // In source order: vertex 0, then vertex 1, then vertex 2 twice, then 3.
    EXPECT_EQ(m.indices[0], 0);  // vertex 0
    EXPECT_EQ(m.indices[3], 0);  // shared
    EXPECT_EQ(m.indices[2], 1);  // vertex 1
    EXPECT_EQ(m.indices[1], 2);  // vertex 2, u 1
    EXPECT_EQ(m.indices[5], 3);  // vertex 2, u 0.5
    EXPECT_EQ(m.indices[4], 4);  // vertex 3
    EXPECT_FLOAT_EQ(m.vertices[2].x, m.vertices[3].x);
    EXPECT_FLOAT_EQ(m.vertices[3].u, 0.5f);
    for (const platform::VertexPNT& v : m.vertices) EXPECT_FLOAT_EQ(v.nz, 1);

    // Two faces meeting at a right angle along the edge 0-1: face A
    // (0, 1, 2) faces -z, face B (0, 3, 1) faces -y. The shared vertices'
    // normals lie halfway; the others keep their face's.
    MeshSource bent;
    bent.smooth = true;
    bent.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    bent.triangles = {{Corner{0, 0, 0}, Corner{1, 1, 0}, Corner{2, 0, 1}},
                      {Corner{0, 0, 0}, Corner{3, 0, 1}, Corner{1, 1, 0}}};
    Mesh b;
    ASSERT_TRUE(build(bent, b));
    ASSERT_EQ(b.vertexCount, 4);
    const float h = std::sqrt(0.5f);
    for (int i : {0, 1}) {
        EXPECT_NEAR(b.vertices[size_t(i)].nx, 0, 1e-6f) << i;
        EXPECT_NEAR(b.vertices[size_t(i)].ny, -h, 1e-6f) << i;
        EXPECT_NEAR(b.vertices[size_t(i)].nz, -h, 1e-6f) << i;
    }
    EXPECT_NEAR(b.vertices[2].nz, -1, 1e-6f);
    EXPECT_NEAR(b.vertices[3].ny, -1, 1e-6f);
}

TEST(MeshFiles, TheTransformPlacesAndTurnsTheMesh) {
    MeshSource src = square(false);
    src.position[0] = 5, src.position[1] = 6, src.position[2] = 7;
    src.rotation[0] = base::kPi / 2;  // a quarter about x: y goes to z
    Mesh m;
    ASSERT_TRUE(build(src, m));
    EXPECT_NEAR(m.transform.m[1][0], 0, 1e-6f);
    EXPECT_NEAR(m.transform.m[1][1], 0, 1e-6f);
    EXPECT_NEAR(m.transform.m[1][2], 1, 1e-6f);
    EXPECT_NEAR(m.transform.m[0][0], 1, 1e-6f);
    EXPECT_FLOAT_EQ(m.transform.m[3][0], 5);
    EXPECT_FLOAT_EQ(m.transform.m[3][2], 7);

    src.rotation[0] = 0;
    src.rotation[2] = base::kPi / 2;  // a quarter about z: x goes to y
    ASSERT_TRUE(build(src, m));
    EXPECT_NEAR(m.transform.m[0][1], 1, 1e-6f);
    EXPECT_NEAR(m.transform.m[0][0], 0, 1e-6f);
}

TEST(MeshSets, TextsListMeshesTexturesAndBoundsAndAreRefusedWhenIncomplete) {
    MeshSetText set;
    std::string error;
    ASSERT_TRUE(parseMeshSetText("nummeshes=1\r\nmesh0=a.msh_s\r\ntexture0=a.jpg\r\nnumbounds=2\r\n"
                                 "bound0.name=body\r\nbound0.b_circle=1\r\nbound0.center.y=2\r\nbound0.radius=3\r\n"
                                 "bound1.name=a name longer than thirty-one characters\r\nbound1.dx=4\r\n",
                                 set, &error))
        << error;
    ASSERT_EQ(set.meshFiles.size(), 1u);
    EXPECT_EQ(set.meshFiles[0], "a.msh_s");
    EXPECT_EQ(set.textureFiles[0], "a.jpg");
    ASSERT_EQ(set.bounds.size(), 2u);
    EXPECT_TRUE(set.bounds[0].circle);
    EXPECT_FLOAT_EQ(set.bounds[0].centre.y, 2);
    EXPECT_FLOAT_EQ(set.bounds[0].radius, 3);
    EXPECT_FALSE(set.bounds[1].circle);
    EXPECT_FLOAT_EQ(set.bounds[1].extent, 4);
    EXPECT_EQ(std::string(set.bounds[1].name).size(), 31u);

    const char* bad[] = {
        "nummeshes=-1\r\n",
        "nummeshes=100000\r\n",
        "nummeshes=2\r\nmesh0=a.msh_s\r\ntexture0=a.jpg\r\n",
        "nummeshes=1\r\nmesh0=a.msh_s\r\n",
        "nummeshes=1\r\nmesh0=\r\ntexture0=a.jpg\r\n",
        "numbounds=-3\r\n",
        "numbounds=1000000000\r\n",
    };
    for (const char* text : bad) {
        error.clear();
        EXPECT_FALSE(parseMeshSetText(text, set, &error)) << text;
        EXPECT_FALSE(error.empty()) << text;
    }
    EXPECT_TRUE(parseMeshSetText("", set, &error));  // an empty set
    EXPECT_TRUE(set.meshFiles.empty());
}

// -- the generated pebble set, loaded onto the null device ------------------------

class PebbleSet : public test::NullDeviceTest {
protected:
    void SetUp() override {
        NullDeviceTest::SetUp();
        data::g_registry.dataFolder = TESSALY_DATA_DIR;
        for (const char* pack : {"targa.dat", "jpeg.dat", "texts.dat"}) data::g_registry.loadPack(pack);
    }
    void TearDown() override {
        g_meshes.clear();
        NullDeviceTest::TearDown();
    }
};

TEST_F(PebbleSet, LoadsBothMeshesWithOutwardNormalsSplitSeamsAndDeviceBuffers) {
    MeshSet* set = loadMeshSet("pebble.cgo");
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(loadMeshSet("pebble.cgo"), set);  // cached
    ASSERT_EQ(set->meshes.size(), 2u);
    ASSERT_EQ(set->textures.size(), 2u);
    EXPECT_NE(set->textures[0], nullptr);
    ASSERT_EQ(set->bounds.size(), 2u);
    EXPECT_STREQ(set->bounds[0].name, "body");
    EXPECT_TRUE(set->bounds[0].circle);
    EXPECT_FLOAT_EQ(set->bounds[1].centre.y, -0.7f);

    const Mesh& box = *set->meshes[0];
    EXPECT_FALSE(box.smooth);
    EXPECT_EQ(box.triangleCount, 12);
    EXPECT_EQ(box.vertexCount, 36);
    EXPECT_NEAR(box.boxHalf.x, 1, 1e-6f);
    EXPECT_NEAR(box.boxHalf.y, 0.7f, 1e-6f);
    EXPECT_NEAR(box.boxHalf.z, 0.85f, 1e-6f);
    EXPECT_NEAR(box.boxCentre.x, 0, 1e-6f);
    for (const platform::VertexPNT& v : box.vertices) {
        // A box's face normal is one axis, pointing the way its corner lies.
        const float along = v.nx * v.x + v.ny * v.y + v.nz * v.z;
        EXPECT_GT(along, 0.6f);
        EXPECT_NEAR(std::fabs(v.nx) + std::fabs(v.ny) + std::fabs(v.nz), 1, 1e-5f);
    }

    const Mesh& ball = *set->meshes[1];
    EXPECT_TRUE(ball.smooth);
    // One output vertex per distinct (vertex, u, v) of the corners.
    std::set<std::tuple<float, float, float, float, float>> distinct;
    for (uint16_t i : ball.indices) {
        const platform::VertexPNT& v = ball.vertices[i];
        distinct.insert({v.x, v.y, v.z, v.u, v.v});
    }
    EXPECT_EQ(int(distinct.size()), ball.vertexCount);
    EXPECT_EQ(ball.indices.size(), size_t(ball.triangleCount) * 3);
    // 74 positions (two poles and six rings of twelve); the seams at the two
    // meridians and the pole fans add more.
    std::set<std::tuple<float, float, float>> positions;
    for (const platform::VertexPNT& v : ball.vertices) positions.insert({v.x, v.y, v.z});
    EXPECT_EQ(positions.size(), 74u);
    EXPECT_GT(ball.vertexCount, 74 + 2 * 6);
    for (const platform::VertexPNT& v : ball.vertices) {
        const float along = v.nx * v.x + v.ny * v.y + v.nz * v.z;
        EXPECT_GT(along, 0) << "a normal points inwards";
        EXPECT_NEAR(v.nx * v.nx + v.ny * v.ny + v.nz * v.nz, 1, 1e-5f);
        EXPECT_GE(v.v, 0);
        EXPECT_LE(v.v, 1);
    }
    EXPECT_NEAR(ball.boxHalf.y, 0.8f, 1e-6f);

    // The device holds both vertex buffers and the ball's indices.
    EXPECT_EQ(m_device.liveBufferCount(), 3);
    const auto* vertices = m_device.buffer(ball.vertexBuffer);
    ASSERT_NE(vertices, nullptr);
    EXPECT_EQ(vertices->count, ball.vertexCount);
    EXPECT_EQ(vertices->format, platform::VertexFormat::PosNormalTex);
    const auto* indices = m_device.buffer(ball.indexBuffer);
    ASSERT_NE(indices, nullptr);
    EXPECT_TRUE(indices->indices);
    EXPECT_EQ(indices->count, ball.triangleCount * 3);
    EXPECT_EQ(box.indexBuffer, 0u);

    g_meshes.clear();
    EXPECT_EQ(m_device.liveBufferCount(), 0);
}

TEST_F(PebbleSet, TheLandscapeDefinitionsLoadTheirMeshSet) {
    auto scene = std::make_unique<SceneState>();
    int32_t size = 0;
    uint8_t* text = data::loadDataFile("gameobjs.txt", &size, true);
    parseObjectDefs(scene->defs, reinterpret_cast<const char*>(text), size);
    data::releaseDataEntry(text);
    loadObjectDefAssets(scene->defs);
    const GameObjectDef* pebble = scene->defs.find("pebble");
    ASSERT_NE(pebble, nullptr);
    EXPECT_NE(pebble->meshSet, nullptr);
    EXPECT_EQ(pebble->texture, nullptr);
    EXPECT_NE(scene->defs.find("sky_day")->texture, nullptr);
}

}  // namespace
}  // namespace tessaly::fx
