// The living landscapes: definitions, scene files, lands, the step and the
// drawing.
//
// Sections:
//   [definitions]  "gameobjs.txt" and the kinds of objects
//   [scene files]  ".lev" records, start-up loading
//   [lands]        choosing, changing, tints
//   [step]         the change's timeline, timers, spray puffs, leaves
//   [drawing]      the two passes round the backdrop, puffs, leaves, the change
#include "fx/scene.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "base/byte_io.h"
#include "base/copy_text.h"
#include "base/random.h"
#include "base/state_dump.h"
#include "data/registry.h"
#include "fx/mesh.h"
#include "gfx/draw.h"
#include "gfx/texture.h"
#include "platform/window.h"

namespace tessaly::fx {

namespace {

constexpr const char* kSceneFolder = "animbacks";
constexpr float kRandomTimerMs = 500;       // spread of the timers of a freshly loaded scene
constexpr float kPuffAreaMs = 300000;       // a spray puffs once per this / area ms
constexpr float kShakeUnits = 30;           // how far the old land shakes at the end of a change
constexpr float kZoomGrowth = 1.5f;         // and how much it grows
// The backdrop fills the top-left 800 x 600 texels of its 1024 x 1024 texture.
constexpr float kBackdropU = 800.0f / 1024, kBackdropV = 600.0f / 1024;

bool contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

// Numbers of a record that are not finite read as 0: a damaged file then
// draws a misplaced sprite, never a NaN into the timers and colours.
float finite(float v) { return std::isfinite(v) ? v : 0.0f; }

}  // namespace

// -- [definitions] ---------------------------------------------------------------

ObjectKind objectKindOf(std::string_view name) {
    if (contains(name, "sky")) return ObjectKind::Sky;
    if (contains(name, "waterfall")) return ObjectKind::Waterfall;
    if (contains(name, "water")) return ObjectKind::Water;
    if (contains(name, "spray")) return ObjectKind::Spray;
    if (contains(name, "leaves1")) return ObjectKind::Leaves1;
    if (contains(name, "leaves2")) return ObjectKind::Leaves2;
    if (contains(name, "leaves")) return ObjectKind::Leaves;
    return ObjectKind::Still;
}

const GameObjectDef* ObjectDefTable::find(std::string_view name) const {
    for (int i = 0; i < count; ++i)
        if (name == defs[size_t(i)].name) return &defs[size_t(i)];
    return nullptr;
}

namespace {

// A cursor over the text of "gameobjs.txt" that never passes its end.
struct DefReader {
    const char* text;
    int size;
    int pos = 0;

    bool atEnd() const { return pos >= size; }
    char peek(int ahead = 0) const { return pos + ahead < size ? text[pos + ahead] : '\0'; }
    bool blank(char c) const { return static_cast<unsigned char>(c) <= ' '; }
    void skipBlanks() {
        while (!atEnd() && blank(text[pos])) ++pos;
    }
    void skipLine() {
        while (!atEnd() && text[pos] != '\n') ++pos;
    }
    void skipToken() {
        while (!atEnd() && !blank(text[pos])) ++pos;
    }
    bool closing() const { return peek() == '[' && peek(1) == '/'; }
};

// "[name/]": true with the name taken when the bracket at pos opens a group
// header; false (pos past the bracket) for a bracket in the prose.
bool readGroupHeader(DefReader& r, std::string_view& name) {
    const int start = ++r.pos;
    while (!r.atEnd() && r.text[r.pos] != '/') {
        const char c = r.text[r.pos];
        if (c == ']' || c == '[' || c == '\n' || c == '\r') return false;
        ++r.pos;
    }
    if (r.atEnd()) return false;
    name = std::string_view(r.text + start, size_t(r.pos - start));
    ++r.pos;
    if (r.peek() == ']') ++r.pos;
    return true;
}

// One line name=file of a group. False for a line without "=" (skipped).
bool readEntry(DefReader& r, std::string_view& name, std::string_view& file) {
    const int start = r.pos;
    while (!r.atEnd() && r.text[r.pos] != '=') {
        if (r.text[r.pos] == '\n' || r.text[r.pos] == '\r') return false;
        ++r.pos;
    }
    if (r.atEnd()) return false;
    name = std::string_view(r.text + start, size_t(r.pos - start));
    ++r.pos;
    r.skipBlanks();
    const int fileStart = r.pos;
    while (!r.atEnd() && !r.blank(r.text[r.pos]) && r.text[r.pos] != ',') ++r.pos;
    file = std::string_view(r.text + fileStart, size_t(r.pos - fileStart));
    r.skipBlanks();
    return true;
}

}  // namespace

void parseObjectDefs(ObjectDefTable& table, const char* text, int size) {
    table.count = 0;
    table.groupCount = 0;
    table.ignoredDefs = 0;
    table.ignoredGroups = 0;
    if (!text || size <= 0) return;
    DefReader r{text, size};
    while (!r.atEnd()) {
        // Anything before a "[" is prose.
        while (!r.atEnd() && r.text[r.pos] != '[') ++r.pos;
        if (r.atEnd()) break;
        if (r.closing()) {  // a closing token without its group
            r.skipToken();
            continue;
        }
        std::string_view groupName;
        if (!readGroupHeader(r, groupName)) continue;
        const bool kept = table.groupCount < kMaxObjectGroups;
        const int group = table.groupCount;
        if (kept) {
            base::copyText(table.groups[group], groupName);
            ++table.groupCount;
        } else {
            ++table.ignoredGroups;
        }
        for (;;) {
            r.skipBlanks();
            if (r.atEnd()) break;
            if (r.closing()) {
                r.skipToken();
                break;
            }
            if (r.peek() == '[') break;  // the next group begins without this one closed
            std::string_view name, file;
            if (!readEntry(r, name, file)) {
                r.skipLine();
                continue;
            }
            if (!kept || table.count >= kMaxObjectDefs) {
                ++table.ignoredDefs;
                continue;
            }
            GameObjectDef& d = table.defs[size_t(table.count++)];
            d = GameObjectDef{};
            base::copyText(d.name, name);
            base::copyText(d.file, file);
            d.kind = objectKindOf(d.name);
            d.group = group;
        }
    }
}

void loadObjectDefAssets(ObjectDefTable& table) {
    for (int i = 0; i < table.count; ++i) {
        GameObjectDef& d = table.defs[size_t(i)];
        const std::string_view file = d.file;
        if (contains(file, ".tga") || contains(file, ".jpg"))
            d.texture = gfx::loadTexture(file);
        else if (contains(file, ".cgo"))
            d.meshSet = loadMeshSet(file);
    }
}

// -- [scene files] ---------------------------------------------------------------

float SceneObject::width() const { return std::fabs(at.x0 - at.x1); }
float SceneObject::height() const { return std::fabs(at.y0 - at.y1); }
base::Vec2 SceneObject::centre() const { return {(at.x0 + at.x1) / 2, (at.y0 + at.y1) / 2}; }

bool parseSceneFile(const uint8_t* bytes, int size, SceneFile& out, std::string* error) {
    out.count = 0;
    out.ignoredRecords = 0;
    auto refuse = [&](const char* why) {
        if (error) *error = why;
        return false;
    };
    if (!bytes || size < kSceneHeaderBytes + 4) return refuse("shorter than its header");
    base::ByteReader in{bytes, size_t(kSceneHeaderBytes)};
    int32_t count = 0;
    in.i32(count);
    if (count < 0) return refuse("negative object count");
    // In 64 bits: a huge count must not wrap round into a small size.
    const int64_t needed = int64_t(kSceneHeaderBytes) + 4 + int64_t(count) * kSceneRecordBytes;
    if (needed > size) return refuse("object count larger than the file holds");
    const int kept = std::min(int(count), kMaxSceneObjects);
    for (int i = 0; i < kept; ++i) {
        SceneRecord& rec = out.records[size_t(i)];
        rec = SceneRecord{};
        const char* name = reinterpret_cast<const char*>(bytes + in.pos);
        base::copyText(rec.name, std::string_view(name, strnlen(name, kObjectNameSize)));
        in.pos += kObjectNameSize;
        float f[7];
        for (float& v : f) in.f32(v);
        rec.x0 = finite(f[0]);
        rec.y0 = finite(f[1]);
        rec.x1 = finite(f[2]);
        rec.y1 = finite(f[3]);
        rec.angle = finite(f[4]);
        rec.param = {finite(f[5]), finite(f[6])};
        uint8_t mirrored = 0;
        in.u8(mirrored);
        rec.mirrored = mirrored != 0;
        in.i32(rec.behind);
    }
    out.count = kept;
    out.ignoredRecords = int(count) - kept;
    return true;
}

std::string sceneFileName(int land) { return "level" + std::to_string(land) + ".lev"; }
std::string backdropFileName(int land) { return "_a_back" + std::to_string(land) + ".jpg"; }

namespace {

// The scratch record list of loadScene: a scene is loaded at a level start
// or a land change, never in a frame's drawing, and only from this thread.
SceneFile s_sceneFile;

}  // namespace

void loadSceneDefinitions(SceneState& scene) {
    {
        int32_t size = 0;
        uint8_t* text = data::loadDataFile("gameobjs.txt", &size, true);
        parseObjectDefs(scene.defs, reinterpret_cast<const char*>(text), size);
        data::releaseDataEntry(text);
        if (scene.defs.ignoredDefs > 0 || scene.defs.ignoredGroups > 0)
            std::fprintf(stderr, "gameobjs.txt: %d definitions and %d groups past the limits ignored\n",
                         scene.defs.ignoredDefs, scene.defs.ignoredGroups);
        loadObjectDefAssets(scene.defs);
    }
    // The scene files stay in memory for the lands to come.
    data::ScopedFolder folder(kSceneFolder);
    for (int k = 0; k < kLandCount; ++k) {
        const std::string name = sceneFileName(k);
        int32_t size = 0;
        const uint8_t* bytes = data::loadDataFile(name, &size, true);
        std::string error;
        if (!parseSceneFile(bytes, size, s_sceneFile, &error))
            platform::fatalError("The scene file " + std::string(kSceneFolder) + "/" + name + " is damaged (" +
                                     error + ").\nProgram will now stop.",
                                 "Loading Error", 1);
    }
}

void loadSceneDefinitions() { loadSceneDefinitions(g_scene); }

// -- [lands] ---------------------------------------------------------------------

int landOfLevel(int level) {
    if (level < 0) return 0;
    return std::min(level / kLevelsPerLand + 1, kLandCount - 1);
}

void loadScene(const SceneState& scene, SceneLand& land, int k, bool randomTimers) {
    land.count = 0;
    land.leafCount = 0;
    const std::string name = sceneFileName(k);
    int32_t size = 0;
    const uint8_t* bytes = nullptr;
    {
        data::ScopedFolder folder(kSceneFolder);
        bytes = data::loadDataFile(name, &size, false);
    }
    if (!bytes) return;
    std::string error;
    if (!parseSceneFile(bytes, size, s_sceneFile, &error)) {
        std::fprintf(stderr, "Scene %s/%s not loaded: %s\n", kSceneFolder, name.c_str(), error.c_str());
        return;
    }
    for (int i = 0; i < s_sceneFile.count; ++i) {
        SceneObject& o = land.objects[size_t(i)];
        o.at = s_sceneFile.records[size_t(i)];
        o.def = scene.defs.find(o.at.name);
        o.timerMs = randomTimers ? float(base::g_decorationRandom.next()) / 32767.0f * kRandomTimerMs : 0.0f;
    }
    land.count = s_sceneFile.count;
}

namespace {

gfx::TextureEntry* loadBackdrop(int k) {
    data::ScopedFolder folder(kSceneFolder);
    return gfx::loadImageTextureWithAlpha(backdropFileName(k), kBackdropWidth, kBackdropHeight);
}

// Removes a land's backdrop from the texture cache unless the other land
// shows the same picture. The entry is looked up by its name first: after
// the cache was emptied (tests, a device reset) the pointer may be stale.
void dropBackdrop(SceneLand& land, const SceneLand& other) {
    if (land.backdrop && land.backdrop != other.backdrop && land.index >= 0 &&
        gfx::g_textures.find(backdropFileName(land.index)) == land.backdrop)
        gfx::removeTexture(land.backdrop);
    land.backdrop = nullptr;
}

}  // namespace

void selectBackdrop(SceneState& scene, int level) {
    const int k = landOfLevel(level);
    dropBackdrop(scene.next, scene.current);
    scene.next.index = -1;
    scene.next.count = 0;
    dropBackdrop(scene.current, scene.next);
    scene.changeMs = 0;
    scene.shake = scene.crossFade = 0;
    scene.current.backdrop = loadBackdrop(k);
    scene.current.index = k;
    loadScene(scene, scene.current, k, true);
}

void selectBackdrop(int level) { selectBackdrop(g_scene, level); }

void requestBackdropChange(SceneState& scene, int level) {
    scene.pendingIndex = landOfLevel(level);
    scene.changePending = true;
}

void requestBackdropChange(int level) { requestBackdropChange(g_scene, level); }

void startBackdropChange(SceneState& scene) {
    if (!scene.changePending) return;
    scene.changePending = false;
    // A change asked for while one runs replaces its target.
    dropBackdrop(scene.next, scene.current);
    scene.changeMs = kChangeMs;
    scene.shake = scene.crossFade = 0;
    scene.next.index = scene.pendingIndex;
    scene.next.backdrop = loadBackdrop(scene.pendingIndex);
    loadScene(scene, scene.next, scene.pendingIndex, false);
}

void startBackdropChange() { startBackdropChange(g_scene); }

base::ColorF sceneTintOf(int kind) {
    switch (kind) {
    case 0: return {0.67f, 0.67f, 1, 1};
    case 1: return {1, 0.67f, 0.67f, 1};
    default: return {1, 1, 1, 1};
    }
}

void setSceneTint(SceneState& scene, int kind) {
    if (kind < 0 || kind > 2) return;
    scene.targetTint = sceneTintOf(kind);
}

void setSceneTintNow(SceneState& scene, int kind) {
    if (kind < 0 || kind > 2) return;
    scene.targetTint = scene.tint = sceneTintOf(kind);
}

void setSceneTint(int kind) { setSceneTint(g_scene, kind); }
void setSceneTintNow(int kind) { setSceneTintNow(g_scene, kind); }

void dumpScene(base::JsonWriter& json) {
    const SceneState& s = g_scene;
    json.field("land", s.current.index);
    json.field("objects", s.current.count);
    json.field("nextLand", s.next.index);
    json.field("changePending", s.changePending);
    json.field("changeMs", s.changeMs);
    json.field("tintR", s.tint.r);
    json.field("tintG", s.tint.g);
    json.field("tintB", s.tint.b);
    json.field("livePuffs", livePuffCount(s));
    json.field("puffHighWater", s.puffUse.highWater);
    json.field("droppedLeaves", s.droppedLeaves);
    json.field("definitions", s.defs.count);
}

void releaseScene(SceneState& scene) {
    dropBackdrop(scene.next, scene.current);
    dropBackdrop(scene.current, scene.next);
    scene.current.count = scene.next.count = 0;
    scene.current.leafCount = scene.next.leafCount = 0;
    scene.current.index = scene.next.index = -1;
    scene.changeMs = 0;
    scene.changePending = false;
    for (SprayPuff& p : scene.puffs) p.lifeMs = 0;
}

// -- [step] ----------------------------------------------------------------------

namespace {

float swayOf(ObjectKind kind, float m) {
    switch (kind) {
    case ObjectKind::Leaves1: return 0.5f * std::sin(0.003f * m) + 0.2f * std::sin(0.0043f * m);
    case ObjectKind::Leaves2: return 0.18f * std::sin(0.004f * m) + 0.11f * std::sin(0.0024f * m);
    default: return 0.6f * std::sin(0.0022f * m) + 0.24f * std::sin(0.0038f * m);
    }
}

bool isLeaves(ObjectKind k) { return k == ObjectKind::Leaves1 || k == ObjectKind::Leaves2 || k == ObjectKind::Leaves; }

void emitPuff(SceneState& scene, const SceneObject& o) {
    SprayPuff& p = scene.puffs[size_t(scene.nextPuff)];
    if (p.lifeMs > 0) ++scene.puffUse.replaced;
    const base::Vec2 c = o.centre();
    // Two separate statements: the order of the draws is fixed.
    const float dx = base::randomSigned(base::g_decorationRandom, o.width() / 2);
    const float dy = base::randomSigned(base::g_decorationRandom, o.height() / 2);
    p.position = {c.x + dx, c.y + dy};
    p.lifeMs = kPuffLifeMs;
    p.texture = o.def->texture;
    scene.nextPuff = (scene.nextPuff + 1) % kSprayPuffRing;
}

// Timers, puffs and leaves of one land. `puffs`: whether its sprays may
// start new puffs this frame.
void stepLand(SceneState& scene, SceneLand& land, float dtMs, bool puffs) {
    land.leafCount = 0;
    float phaseMs = 0;
    for (int i = 0; i < land.count; ++i) {
        SceneObject& o = land.objects[size_t(i)];
        if (!o.def) continue;
        const ObjectKind kind = o.def->kind;
        if (kind == ObjectKind::Spray) {
            o.timerMs += dtMs;
            const float area = std::fabs((o.at.x1 - o.at.x0) * (o.at.y1 - o.at.y0));
            // A spray of no area never puffs (its period would be infinite).
            if (area > 0 && o.timerMs > kPuffAreaMs / area) {
                o.timerMs = 0;
                if (puffs) emitPuff(scene, o);
            }
        } else if (isLeaves(kind)) {
            o.timerMs += dtMs;
            const float m = phaseMs + o.timerMs;
            phaseMs += kLeafPhaseStepMs;
            if (land.leafCount >= kMaxLeafSprites) {
                ++scene.droppedLeaves;
                continue;
            }
            const int grey = 255 - (int(std::min(std::hypot(o.at.param.x, o.at.param.y), 1e6f)) & 0xFF);
            const float s = o.at.mirrored ? -1.0f : 1.0f;
            LeafSprite& leaf = land.leaves[size_t(land.leafCount++)];
            leaf.centre = o.centre();
            leaf.pivot = {leaf.centre.x - o.width() / 2 * s, leaf.centre.y};
            leaf.angle = o.at.angle + swayOf(kind, m);
            leaf.width = o.width();
            leaf.height = o.height();
            leaf.argb = base::Color32(grey & 0xFF, grey & 0xFF, grey & 0xFF, 255).argb;
            leaf.texture = o.def->texture;
            leaf.mirrored = o.at.mirrored;
        }
    }
}

void finishChange(SceneState& scene) {
    // The new land goes on as it is, timers and all; the old backdrop goes.
    dropBackdrop(scene.current, scene.next);
    std::swap(scene.current, scene.next);
    scene.next.index = -1;
    scene.next.count = 0;
    scene.next.leafCount = 0;
    scene.next.backdrop = nullptr;
    scene.changeMs = 0;
    scene.shake = scene.crossFade = 0;
}

}  // namespace

void stepScene(SceneState& scene, float dtMs, float clockMs) {
    if (!std::isfinite(dtMs) || dtMs < 0) dtMs = 0;
    scene.clockMs = clockMs;
    const float k = std::min(dtMs * kTintRatePerMs, 1.0f);
    scene.tint = base::lerp(scene.tint, scene.targetTint, k);

    // Puffs age first, so that one started this frame shows at full life.
    for (SprayPuff& p : scene.puffs)
        if (p.lifeMs > 0) p.lifeMs -= dtMs;

    // The change's timeline, from the time left at the start of the frame.
    const bool fading = scene.crossFading();
    if (scene.changing()) {
        scene.shake = 1 - scene.changeMs / kChangeMs;
        scene.crossFade = fading ? 1 - scene.changeMs / kCrossFadeMs : 0;
    }
    // No new puffs while the next land fades in; those in the air finish.
    stepLand(scene, scene.current, dtMs, !fading);
    if (fading) stepLand(scene, scene.next, dtMs, false);
    if (scene.changing()) {
        scene.changeMs -= dtMs;
        if (scene.changeMs <= 0) finishChange(scene);
    }
    scene.puffUse.noteLive(livePuffCount(scene));
}

void stepScene(float dtMs, float clockMs) { stepScene(g_scene, dtMs, clockMs); }

int livePuffCount(const SceneState& scene) {
    int n = 0;
    for (const SprayPuff& p : scene.puffs) n += p.lifeMs > 0;
    return n;
}

// -- [drawing] -------------------------------------------------------------------

bool firstPassCoords(const SceneObject& o, float clockMs, float uv[4]) {
    if (!o.def || !o.def->texture) return false;
    const gfx::TextureEntry& t = *o.def->texture;
    const ObjectKind kind = o.def->kind;
    const float w = o.at.x1 - o.at.x0, h = o.at.y1 - o.at.y0;
    float u0 = 0, v0 = 0, u1 = 1, v1 = 1;
    if (kind == ObjectKind::Sky) {
        // The picture's height fills the rectangle; its width repeats.
        const float o0 = -0.000003f * clockMs;
        const float span = h != 0 && t.width > 0 ? (w / h) * (float(t.height) / float(t.width)) : 1.0f;
        u0 = o0;
        u1 = o0 + span;
    } else if (kind == ObjectKind::Waterfall || kind == ObjectKind::Water) {
        // One texel per unit; water flows five times slower than falls.
        const float rate = kind == ObjectKind::Water ? 0.2f : 1.0f;
        const float ou = -o.at.param.x * clockMs * 0.00001f * rate;
        const float ov = -o.at.param.y * clockMs * 0.00001f * rate;
        u0 = ou;
        v0 = ov;
        u1 = ou + (t.width > 0 ? w / float(t.width) : 1.0f);
        v1 = ov + (t.height > 0 ? h / float(t.height) : 1.0f);
    } else if (kind != ObjectKind::Still || o.at.behind == 0) {
        return false;
    }
    if (o.at.mirrored) std::swap(u0, u1);
    uv[0] = u0;
    uv[1] = v0;
    uv[2] = u1;
    uv[3] = v1;
    return true;
}

namespace {

using platform::RenderState;

void renderState(RenderState s, uint32_t v) { gfx::g_draw.device->setRenderState(s, v); }

void drawObject(const SceneObject& o, const float uv[4], uint32_t argb) {
    const base::Vec2 c = o.centre();
    gfx::setTexture(o.def->texture);
    gfx::drawSprite(c.x, c.y, o.at.angle, o.width(), o.height(), uv[0], uv[1], uv[2], uv[3], argb, kSceneDepth);
}

// One land: the first pass under the backdrop, the backdrop, the still
// objects over it, then (for the land that owns them) the puffs, and the
// leaves. `over`: the land is drawn over another one, blended from the
// first pass on. `alpha`: the colour modulation's alpha.
void drawLand(const SceneState& scene, const SceneLand& land, bool over, float alpha, bool withPuffs) {
    const base::ColorF& t = scene.tint;
    gfx::setColorMultiplier(t.r, t.g, t.b, t.a * alpha);
    gfx::setBlendMode(0);
    renderState(RenderState::AlphaBlend, over ? 1 : 0);
    renderState(RenderState::AlphaTest, 0);
    renderState(RenderState::TextureFilter, platform::FilterLinear);

    // The first pass's sprites fade in late while the new land comes.
    const uint32_t firstColor =
        scene.crossFade > 0 ? base::Color32(255, 255, 255, int(std::pow(scene.crossFade, 3.0f) * 255)).argb
                            : 0xFFFFFFFFu;
    float uv[4];
    for (int i = 0; i < land.count; ++i) {
        const SceneObject& o = land.objects[size_t(i)];
        if (firstPassCoords(o, scene.clockMs, uv)) drawObject(o, uv, firstColor);
    }

    renderState(RenderState::AlphaBlend, 1);
    if (land.backdrop) {
        // Texel for pixel while still; smoothed while shaken and zoomed.
        renderState(RenderState::TextureFilter, scene.changing() ? platform::FilterLinear : platform::FilterPoint);
        gfx::setTexture(land.backdrop);
        gfx::drawRect(-400, 300, 400, -300, 0, 0, kBackdropU, kBackdropV, 0xFFFFFFFFu, kSceneDepth);
        renderState(RenderState::TextureFilter, platform::FilterLinear);
    }

    for (int i = 0; i < land.count; ++i) {
        const SceneObject& o = land.objects[size_t(i)];
        if (!o.def || !o.def->texture || o.def->kind != ObjectKind::Still || o.at.behind != 0) continue;
        const float still[4] = {o.at.mirrored ? 1.0f : 0.0f, 0, o.at.mirrored ? 0.0f : 1.0f, 1};
        drawObject(o, still, 0xFFFFFFFFu);
    }

    if (withPuffs) {
        // Added onto the picture: a puff brightens and fades as it rises and grows.
        gfx::setBlendMode(1);
        gfx::disableState(2);
        for (const SprayPuff& p : scene.puffs) {
            if (p.lifeMs <= 0 || !p.texture) continue;
            const float a = p.lifeMs / kPuffLifeMs * base::kPi;
            const float sn = std::sin(a);
            const float rise = 0.02f * (20 * sn) * (20 * sn);
            const float half = (kPuffLifeMs - p.lifeMs) * 0.011f + 15;
            const int b = std::clamp(int(255 * sn), 0, 255);
            const float x = p.position.x, y = p.position.y + rise;
            gfx::setTexture(p.texture);
            gfx::drawRect(x - half, y + half, x + half, y - half, 0, 0, 1, 1, base::Color32(b, b, b, 255).argb,
                          kSceneDepth);
        }
        gfx::enableState(2);
        gfx::setBlendMode(0);
    }

    for (int i = 0; i < land.leafCount; ++i) {
        const LeafSprite& l = land.leaves[size_t(i)];
        if (!l.texture) continue;
        gfx::setTexture(l.texture);
        gfx::drawSpriteAbout(l.centre.x, l.centre.y, l.pivot.x, l.pivot.y, l.angle, l.width, l.height,
                             l.mirrored ? 1.0f : 0.0f, 0, l.mirrored ? 0.0f : 1.0f, 1, l.argb, kSceneDepth);
    }
    gfx::setColorMultiplier(1, 1, 1, 1);
}

// The view of the shaken, zoomed old land: offset and scale round the
// screen's centre, on top of the view in use.
base::Matrix shakenView(const base::Matrix& view, float o) {
    const float o2 = o * o;
    const float tx = kShakeUnits * o2 * std::cos(4.712389f * o);
    const float ty = kShakeUnits * o2 * std::sin(base::kPi * o);
    const float s = 1 + kZoomGrowth * o2;
    base::Matrix m = base::Matrix::identity();
    m.m[0][0] = s;
    m.m[1][1] = s;
    m.m[3][0] = tx;
    m.m[3][1] = ty;
    return base::multiply(m, view);
}

}  // namespace

void drawScene(const SceneState& scene) { drawLand(scene, scene.current, false, 1, true); }

void drawScene() { drawScene(g_scene); }

void drawSceneChanging(const SceneState& scene) {
    if (!scene.changing()) {
        drawScene(scene);
        return;
    }
    platform::Device& device = *gfx::g_draw.device;
    const base::Matrix view = device.transform(platform::TransformKind::View);
    device.setTransform(platform::TransformKind::View, shakenView(view, scene.shake));
    drawLand(scene, scene.current, false, 1, true);
    device.setTransform(platform::TransformKind::View, view);
    if (scene.crossFade > 0) drawLand(scene, scene.next, true, scene.crossFade, false);
}

void drawSceneChanging() { drawSceneChanging(g_scene); }

}  // namespace tessaly::fx
