// The living landscapes behind the board and the menus. A land is a backdrop
// picture with transparent holes ("animbacks/_a_back%i.jpg", 800 x 600 with
// one alpha byte per pixel after the JPEG) and a scene ("animbacks/
// level%i.lev") that places named objects in front of and behind it. The
// objects are defined once in "gameobjs.txt", in groups, each by a picture or
// a mesh set. Land 0 stands behind the menus, land k behind the levels
// 5 (k - 1) .. 5 k - 1.
//
// An object's definition name says how it lives (tested in this order):
// "sky" drifts left, "waterfall" flows at one texel per unit, "water" flows
// five times slower, "spray" puffs where a fall meets the water, "leaves"
// sways about its hinge ("leaves1" and "leaves2" in their own ways), and any
// other object stands still: under the picture, seen through its holes, when
// it is a behind object, over it otherwise.
//
// Going on from a completed stage changes the land: 3 s of growing shake
// and zoom on the old land, then 3 s in which the new land fades in over it.
// A colour tint over the whole scene fades between night, morning and day.
//
// Step then draw: stepScene advances clocks, spray puffs, leaves, the change
// and the tint by the frame step; the drawing functions only read. Every
// table is fixed in size; nothing is allocated per frame.
// Depends on: data registry, texture manager, drawing primitives, the mesh
// sets (fx/mesh.h), base random numbers.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/math.h"
#include "base/pool_use.h"

namespace tessaly::base {
class JsonWriter;
}
namespace tessaly::gfx {
struct TextureEntry;
}

namespace tessaly::fx {

struct MeshSet;

constexpr int kMaxObjectDefs = 512;     // lines of "gameobjs.txt"; further lines are ignored
constexpr int kMaxObjectGroups = 32;    // groups of "gameobjs.txt"; further groups and their lines are ignored
constexpr int kObjectNameSize = 32;     // 31 characters and the terminator; longer names are cut
constexpr int kObjectFileSize = 128;    // a definition's file name, as long as a texture name
constexpr int kMaxSceneObjects = 128;   // objects of one scene; further records of a file are ignored
constexpr int kMaxLeafSprites = 128;    // swaying sprites per land and frame; further ones are not drawn
constexpr int kSprayPuffRing = 256;     // spray puffs; a new one takes the next slot, live or not
constexpr int kLandCount = 16;          // level0.lev .. level15.lev and their backdrops
constexpr int kLevelsPerLand = 5;       // a stage of levels shares one land
constexpr int kSceneHeaderBytes = 64;   // text at the start of a ".lev" file (not used)
constexpr int kSceneRecordBytes = 65;   // one packed object record
constexpr int kBackdropWidth = 800;     // pixels of a backdrop picture
constexpr int kBackdropHeight = 600;

constexpr float kChangeMs = 6000;       // a whole land change
constexpr float kCrossFadeMs = 3000;    // its second half, the new land fading in
constexpr float kPuffLifeMs = 2000;
constexpr float kLeafPhaseStepMs = 400; // each leaves object of a land is this much further in phase
constexpr float kSceneDepth = 90;       // depth of every scene quad: behind all 2D drawing
constexpr float kTintRatePerMs = 0.0015f;

// How an object lives, from its definition's name.
enum class ObjectKind : uint8_t { Sky, Waterfall, Water, Spray, Leaves1, Leaves2, Leaves, Still };
ObjectKind objectKindOf(std::string_view name);

struct GameObjectDef {
    char name[kObjectNameSize] = {};
    char file[kObjectFileSize] = {};
    ObjectKind kind = ObjectKind::Still;
    int32_t group = 0;                         // index into the group table
    gfx::TextureEntry* texture = nullptr;      // file names with ".tga" or ".jpg"
    MeshSet* meshSet = nullptr;                // file names with ".cgo"
};

struct ObjectDefTable {
    std::array<GameObjectDef, kMaxObjectDefs> defs;
    int count = 0;
    char groups[kMaxObjectGroups][kObjectNameSize] = {};
    int groupCount = 0;
    int ignoredDefs = 0;     // lines past kMaxObjectDefs or in groups past kMaxObjectGroups
    int ignoredGroups = 0;   // groups past kMaxObjectGroups

    // The first definition of exactly this name, or null.
    const GameObjectDef* find(std::string_view name) const;
};

// One object record of a ".lev" file, as read.
struct SceneRecord {
    char name[kObjectNameSize] = {};
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // corners, screen units
    float angle = 0;                       // degrees
    base::Vec2 param = {};                 // flow speed (water kinds), darkening (leaves)
    bool mirrored = false;
    int32_t behind = 0;
};

struct SceneFile {
    std::array<SceneRecord, kMaxSceneObjects> records;
    int count = 0;
    int ignoredRecords = 0;  // records past kMaxSceneObjects
};

struct SceneObject {
    const GameObjectDef* def = nullptr;  // null: the name is not defined, not drawn
    SceneRecord at;
    float timerMs = 0;                   // clock of spray and leaves

    float width() const;
    float height() const;
    base::Vec2 centre() const;
};

struct LeafSprite {
    base::Vec2 centre = {}, pivot = {};
    float angle = 0;                     // degrees
    float width = 0, height = 0;
    uint32_t argb = 0xFFFFFFFFu;
    const gfx::TextureEntry* texture = nullptr;
    bool mirrored = false;
};

struct SprayPuff {
    base::Vec2 position = {};
    float lifeMs = 0;                    // live while above 0
    const gfx::TextureEntry* texture = nullptr;
};

// One land as it is shown: its backdrop, its objects and this frame's leaves.
struct SceneLand {
    int index = -1;                      // land number, -1 for none
    gfx::TextureEntry* backdrop = nullptr;
    std::array<SceneObject, kMaxSceneObjects> objects;
    int count = 0;
    std::array<LeafSprite, kMaxLeafSprites> leaves;
    int leafCount = 0;
};

struct SceneState {
    ObjectDefTable defs;
    SceneLand current;
    SceneLand next;                      // the land a change goes to, while it runs

    bool changePending = false;
    int pendingIndex = 0;                // land number the pending change goes to
    float changeMs = 0;                  // time left of the running change, 0: none
    float shake = 0;                     // 0..1 over the whole change, this frame
    float crossFade = 0;                 // 0..1 over its second half, this frame; above 0 the next land shows

    base::ColorF tint = {1, 1, 1, 1};
    base::ColorF targetTint = {1, 1, 1, 1};
    float clockMs = 0;                   // animation clock of this frame's step

    std::array<SprayPuff, kSprayPuffRing> puffs;
    int nextPuff = 0;
    base::PoolUse puffUse;
    int64_t droppedLeaves = 0;           // leaf sprites past kMaxLeafSprites, since start-up

    bool changing() const { return changeMs > 0; }
    bool crossFading() const { return changeMs > 0 && changeMs <= kCrossFadeMs; }
};

inline SceneState g_scene;

// -- Loading -----------------------------------------------------------------

// Reads the definitions of "gameobjs.txt" (need not be NUL-terminated) into
// the table: names, files, kinds and groups; nothing is loaded. Limits are
// kept by ignoring what lies past them. Never reads past `size`.
void parseObjectDefs(ObjectDefTable& table, const char* text, int size);
// Loads the pictures (loadTexture: a missing one is fatal) and mesh sets the
// definitions name.
void loadObjectDefAssets(ObjectDefTable& table);
// Reads a ".lev" image. False with the reason in *error when the object
// count is negative or its records do not fit in `size`.
bool parseSceneFile(const uint8_t* bytes, int size, SceneFile& out, std::string* error);
// "level%i.lev" for a land number.
std::string sceneFileName(int land);
std::string backdropFileName(int land);

// Start-up: "gameobjs.txt" with its pictures and mesh sets, then every
// "animbacks/level%i.lev" read into memory and checked. A missing or
// damaged file ends the process with a message naming it.
void loadSceneDefinitions(SceneState& scene);
void loadSceneDefinitions();

// -- Lands -------------------------------------------------------------------

// The land of a level index: 0 for the menus (level < 0), else level / 5 + 1,
// at most kLandCount - 1.
int landOfLevel(int level);
// Fills `land` with scene k from its ".lev" in memory (or on disk): objects
// with their definitions; timers random in [0, 500] ms when `randomTimers`.
// A missing or damaged file leaves the land empty.
void loadScene(const SceneState& scene, SceneLand& land, int k, bool randomTimers);
// Makes the land of `level` current at once, ending any change: its
// backdrop (the previous ones are removed from the texture cache) and scene.
void selectBackdrop(SceneState& scene, int level);
void selectBackdrop(int level);
// Asks for a change to the land of `level`, started by startBackdropChange.
void requestBackdropChange(SceneState& scene, int level);
void requestBackdropChange(int level);
// The end-of-frame step: starts a requested change (next backdrop and scene
// loaded, kChangeMs to go). Does nothing without a request.
void startBackdropChange(SceneState& scene);
void startBackdropChange();

// Tints: 0 night, 1 morning, 2 day. setSceneTint fades to it, setSceneTintNow
// jumps. Other kinds are ignored.
base::ColorF sceneTintOf(int kind);
void setSceneTint(SceneState& scene, int kind);
void setSceneTintNow(SceneState& scene, int kind);
void setSceneTint(int kind);
void setSceneTintNow(int kind);

// -- Running -----------------------------------------------------------------

// The frame's step: tint, the change's timeline, object timers, spray puffs
// and the leaves of the lands shown. `clockMs` is the animation clock that
// drives drifting skies and flowing water.
void stepScene(SceneState& scene, float dtMs, float clockMs);
void stepScene(float dtMs, float clockMs);

// The current land as the menus show it, without a change.
void drawScene(const SceneState& scene);
void drawScene();
// The current land with a running change: shaken and zoomed, and the next
// land fading in over it in the second half.
void drawSceneChanging(const SceneState& scene);
void drawSceneChanging();

// Texture coordinates of a first-pass object at the clock: u0, v0 (top
// left) and u1, v1 (bottom right), mirrored already applied. False for the
// kinds the first pass does not draw.
bool firstPassCoords(const SceneObject& o, float clockMs, float uv[4]);
int livePuffCount(const SceneState& scene);

// The state dump's "scene": lands shown, the change, the tint, the pools.
void dumpScene(base::JsonWriter& json);

// At exit: removes the backdrops and forgets the scene.
void releaseScene(SceneState& scene);

}  // namespace tessaly::fx
