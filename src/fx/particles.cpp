// Particle effects: loading, starting, the per-frame pass and drawing.
//
// Sections:
//   [loading]   .par parsing, the effect table, the atlas
//   [starting]  bursts, timed emitters, chained effects
//   [pass]      emitters, particles, the quad queue
//   [drawing]   render state, blend types, camera-facing quads
#include "fx/particles.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/copy_text.h"
#include "base/files.h"
#include "base/frame_clock.h"
#include "base/lookups.h"
#include "base/random.h"
#include "data/registry.h"
#include "data/text.h"
#include "gfx/camera.h"
#include "gfx/draw.h"
#include "gfx/texture.h"

namespace tessaly::fx {

namespace {

void copyName(char (&out)[kEffectNameSize], std::string_view name) { base::copyText(out, name); }

float deviated(float value, float deviation) { return value + base::randomSigned(deviation); }

base::ColorF deviatedColor(const base::ColorF& c, const base::ColorF& d) {
    return {base::clamp01(deviated(c.r, d.r)), base::clamp01(deviated(c.g, d.g)), base::clamp01(deviated(c.b, d.b)),
            base::clamp01(deviated(c.a, d.a))};
}

void readColor(base::ColorF& out, const char* text, const char* key) {
    float v[4] = {out.r, out.g, out.b, out.a};
    data::readKeyFloatList(text, v, 4, key);
    out = {v[0], v[1], v[2], v[3]};
}

void readVector(base::Vec3& out, const char* text, const char* key) {
    float v[3] = {out.x, out.y, out.z};
    if (data::readKeyVector3(v, text, key)) out = {v[0], v[1], v[2]};
}

}  // namespace

// -- [loading] -----------------------------------------------------------------

void parseParticleEffect(ParticleEffect& e, const char* text) {
    char name[kEffectNameSize];
    std::memcpy(name, e.name, sizeof name);
    e = ParticleEffect{};
    std::memcpy(e.name, name, sizeof name);

    for (int i = 0; i < kMaxChainedEffects; ++i) {
        char key[24];
        std::snprintf(key, sizeof key, "externeffect%d=", i + 1);
        data::readKeyString(e.chained[i], kEffectNameSize, text, key);
    }
    e.frequency = data::readKeyFloat(text, "parfrequency=");
    readColor(e.color0, text, "color0=");
    readColor(e.color0Dev, text, "color0dev=");
    readColor(e.color1, text, "color1=");
    readColor(e.color1Dev, text, "color1dev=");
    e.size0 = data::readKeyFloat(text, "radius0=");
    e.size0Dev = data::readKeyFloat(text, "radius0dev=");
    e.size1 = data::readKeyFloat(text, "radius1=");
    e.size1Dev = data::readKeyFloat(text, "radius1dev=");
    e.life = data::readKeyFloat(text, "partime=");
    e.lifeDev = data::readKeyFloat(text, "partimedev=");
    readVector(e.positionDev, text, "positiondev=");
    readVector(e.speed, text, "speed=");
    readVector(e.speedDev, text, "speeddev=");
    e.gravity = data::readKeyFloat(text, "gravity=");
    e.gravityDev = data::readKeyFloat(text, "gravitydev=");
    e.blendType = data::readKeyInt(text, "blendtype=");
    e.cell = data::readKeyInt(text, "numparticle=");
    // "rot=" is also the tail of "drot=" (and "rotdev=" of "drotdev="): the
    // plain search takes whichever line stands first, which is why the data
    // files write the rotation above the spin.
    e.rot = data::readKeyFloat(text, "rot=");
    e.rotDev = data::readKeyFloat(text, "rotdev=");
    e.spin = data::readKeyFloat(text, "drot=");
    e.spinDev = data::readKeyFloat(text, "drotdev=");
    e.effectTime = data::readKeyFloat(text, "effecttime=");
    data::readKeyFloatList(text, e.particleOrbit, 4, "polarpar=");
    data::readKeyFloatList(text, e.particleOrbitDev, 4, "polarpardev=");
    data::readKeyFloatList(text, e.particleWobbleX, 3, "lissparx=");
    data::readKeyFloatList(text, e.particleWobbleY, 3, "lisspary=");
    e.copiesAtEmit = data::readKeyInt(text, "simetria=");
    e.copiesAtDraw = data::readKeyInt(text, "simetriapar=");
    data::readKeyFloatList(text, e.emitterOrbit, 4, "polar=");
    data::readKeyFloatList(text, e.emitterOrbitDev, 4, "polardev=");
    data::readKeyFloatList(text, e.emitterWobbleX, 3, "lissx=");
    data::readKeyFloatList(text, e.emitterWobbleY, 3, "lissy=");

    // Counts and rates bounded to what the tables can draw: more groups (a
    // burst's, or a timed effect's per second) or more copies per group than
    // the particle ring holds would only overwrite one another, and more
    // copies of one particle than the quad queue holds would only be dropped.
    // A negative rate emits nothing, as a missing one does, and gives no
    // negative spawn period.
    e.frequency = std::clamp(e.frequency, 0.0f, float(kMaxParticles));
    e.copiesAtEmit = std::min(e.copiesAtEmit, kMaxParticles);
    e.copiesAtDraw = std::min(e.copiesAtDraw, kMaxParticleQuads);
}

int addParticleEffect(ParticleSystem& ps, std::string_view fileName, const char* text) {
    if (ps.effectCount >= kMaxEffects) return -1;
    ParticleEffect& e = ps.effects[ps.effectCount];
    e = ParticleEffect{};
    copyName(e.name, fileName.substr(0, fileName.find('.')));
    parseParticleEffect(e, text);
    return ps.effectCount++;
}

void setParticleAtlas(ParticleSystem& ps, gfx::TextureEntry* atlas) {
    ps.atlas = atlas;
    ps.atlasColumns = atlas ? std::max(1, atlas->width / kAtlasCellTexels) : 1;
    ps.atlasRows = atlas ? std::max(1, atlas->height / kAtlasCellTexels) : 1;
}

void loadParticleEffects() {
    ParticleSystem& ps = g_particles;
    ps.effectCount = 0;
    std::fill(ps.effects.begin(), ps.effects.end(), ParticleEffect{});
    setParticleAtlas(ps, gfx::loadTexture("particles.tga"));

    // Name order, so that effect indices do not depend on the file system.
    std::vector<std::string> names;
    base::listFolder(data::g_registry.dataFolder + "/effects", names);
    std::erase_if(names, [](const std::string& name) {
        return name.size() <= 4 || name.compare(name.size() - 4, 4, ".par") != 0;
    });

    {
        data::ScopedFolder effects("effects");
        std::string text;
        for (const std::string& name : names) {
            int32_t size = 0;
            uint8_t* bytes = data::loadDataFile(name, &size, true);
            if (!bytes) continue;
            text.assign(reinterpret_cast<const char*>(bytes), size_t(size));
            data::releaseDataEntry(bytes);
            addParticleEffect(ps, name, text.c_str());
        }
    }
    clearParticles(ps);
}

// -- [starting] ----------------------------------------------------------------

void clearParticles(ParticleSystem& ps) {
    std::fill(ps.emitters.begin(), ps.emitters.end(), Emitter{});
    std::fill(ps.particles.begin(), ps.particles.end(), Particle{});
    ps.quadCount = 0;
    ps.droppedQuads = 0;
    ps.nextEmitter = 0;
    ps.nextParticle = 0;
}

void clearParticles() { clearParticles(g_particles); }

int findParticleEffect(const ParticleSystem& ps, std::string_view name) {
    for (int i = 0; i < ps.effectCount; ++i)
        if (name == ps.effects[i].name) return i;
    return -1;
}

namespace {

void spawnParticle(ParticleSystem& ps, base::Vec3 position, int index, float scale, int cell) {
    const ParticleEffect& e = ps.effects[index];
    Particle& p = ps.particles[ps.nextParticle];
    ps.nextParticle = (ps.nextParticle + 1) % kMaxParticles;
    if (p.ageMs < p.lifeMs) ++ps.particleUse.replaced;

    p.colorBirth = deviatedColor(e.color0, e.color0Dev);
    p.colorDeath = deviatedColor(e.color1, e.color1Dev);
    p.ageMs = 0;
    p.lifeMs = std::max(0.0f, deviated(e.life, e.lifeDev));
    p.position = {position.x + base::randomSigned(e.positionDev.x), position.y + base::randomSigned(e.positionDev.y),
                  position.z + base::randomSigned(e.positionDev.z)};
    p.velocity = {deviated(e.speed.x, e.speedDev.x), deviated(e.speed.y, e.speedDev.y),
                  deviated(e.speed.z, e.speedDev.z)};
    p.rotation = deviated(e.rot, e.rotDev);
    p.spin = deviated(e.spin, e.spinDev);
    p.sizeBirth = std::max(0.0f, deviated(e.size0, e.size0Dev));
    p.sizeDeath = std::max(0.0f, deviated(e.size1, e.size1Dev));
    p.orbitRadius = std::max(0.0f, deviated(e.particleOrbit[0], e.particleOrbitDev[0]));
    p.orbitRadiusSpeed = deviated(e.particleOrbit[1], e.particleOrbitDev[1]);
    p.orbitAngle = deviated(e.particleOrbit[2], e.particleOrbitDev[2]);
    p.orbitAngularSpeed = deviated(e.particleOrbit[3], e.particleOrbitDev[3]);

    p.velocity = p.velocity * scale;
    p.sizeBirth *= scale;
    p.sizeDeath *= scale;
    p.orbitRadius *= scale;

    p.cell = cell;
    p.effect = index;
    p.gravity = deviated(e.gravity, e.gravityDev);
}

// Groups of an effect worth emitting at once: together they spawn no more
// particles than the ring holds, as further ones would only overwrite the
// particles just spawned.
int groupsThatFit(const ParticleEffect& e) { return std::max(1, kMaxParticles / std::max(1, e.copiesAtEmit)); }

void emitParticles(ParticleSystem& ps, base::Vec3 position, base::Vec2 offset, int index, float scale, int cell) {
    const int copies = ps.effects[index].copiesAtEmit;
    if (copies == 0) {
        spawnParticle(ps, {position.x + offset.x, position.y + offset.y, position.z}, index, scale, cell);
        return;
    }
    // More copies than the ring holds would only overwrite each other.
    const int n = std::min(copies, kMaxParticles);
    const float turn = 360.0f / float(copies);
    for (int i = 0; i < n; ++i) {
        spawnParticle(ps, {position.x + offset.x, position.y + offset.y, position.z}, index, scale, cell);
        offset = base::rotateDeg(offset, turn);
    }
}

}  // namespace

void startEffect(ParticleSystem& ps, int index, base::Vec3 position, base::Vec3 target, float scale, int cell,
                 float clockMs) {
    if (index < 0 || index >= ps.effectCount) return;
    if (target.x == kNoTarget.x && target.y == kNoTarget.y) target = position;
    const ParticleEffect& e = ps.effects[index];

    for (const auto& chained : e.chained) {
        if (chained[0] == 0 || std::strcmp(chained, e.name) == 0) continue;
        startChainedEffect(ps, chained, position.x, position.y, target.x, target.y, scale, cell, clockMs);
    }

    const int useCell = cell >= 0 ? cell : e.cell;
    if (e.effectTime == 0) {
        const base::Vec2 offset = base::rotateDeg({e.emitterOrbit[0], 0}, e.emitterOrbit[2]);
        // ceil(frequency) groups; more particles than the ring holds would
        // only overwrite each other, so the count is bounded by the ring.
        const int groups = groupsThatFit(e);
        for (int i = 0; float(i) < e.frequency && i < groups; ++i)
            emitParticles(ps, position, offset, index, scale, useCell);
        return;
    }

    Emitter& m = ps.emitters[ps.nextEmitter];
    ps.nextEmitter = (ps.nextEmitter + 1) % kMaxEmitters;
    if (m.effect >= 0 && m.effect < ps.effectCount && m.ageMs < ps.effects[m.effect].effectTime)
        ++ps.emitterUse.replaced;
    m.effect = index;
    m.cell = useCell;
    m.spawnPeriodMs = 1000.0f / e.frequency;
    m.spawnCountdownMs = m.spawnPeriodMs;
    m.position = position;
    m.ageMs = 0;
    m.scale = scale;
    m.orbitRadius = std::max(0.0f, deviated(e.emitterOrbit[0], e.emitterOrbitDev[0]));
    m.orbitRadiusSpeed = deviated(e.emitterOrbit[1], e.emitterOrbitDev[1]);
    m.orbitAngle = deviated(e.emitterOrbit[2], e.emitterOrbitDev[2]);
    m.orbitAngularSpeed = deviated(e.emitterOrbit[3], e.emitterOrbitDev[3]);
    m.velocity = (target - position) / e.effectTime;
}

void startEffect(int index, base::Vec3 position, base::Vec3 target, float scale, int cell) {
    startEffect(g_particles, index, position, target, scale, cell, base::g_frame.animationClockMs);
}

void startEffectByName(ParticleSystem& ps, std::string_view name, float x, float y, float targetX,
                       float targetY, float scale, int cell, float clockMs) {
    const int index = findParticleEffect(ps, name);
    if (index < 0) {
        base::noteLookupMiss(base::LookupKind::Effect, name);
        return;
    }
    startEffect(ps, index, {x, y, 0}, {targetX, targetY, 0}, scale, cell, clockMs);
}

void startEffectByName(std::string_view name, float x, float y, float targetX, float targetY, float scale,
                       int cell) {
    startEffectByName(g_particles, name, x, y, targetX, targetY, scale, cell,
                      base::g_frame.animationClockMs);
}

void startChainedEffect(ParticleSystem& ps, std::string_view name, float x, float y, float targetX,
                        float targetY, float scale, int cell, float clockMs) {
    if (clockMs - ps.chainClockMs > kChainWindowMs) ps.chainCount = 0;
    ps.chainClockMs = clockMs;
    const bool allowed = ps.chainCount < kMaxChainedStarts;
    ++ps.chainCount;
    if (allowed) startEffectByName(ps, name, x, y, targetX, targetY, scale, cell, clockMs);
}

// -- [pass] --------------------------------------------------------------------

namespace {

base::Vec2 wobble(const float (&wx)[3], const float (&wy)[3], float ageMs) {
    return {wx[0] * std::cos((wx[1] * ageMs * 0.18f + wx[2]) * base::kDegToRad),
            wy[0] * std::sin((wy[1] * ageMs * 0.18f + wy[2]) * base::kDegToRad)};
}

void dropQuads(ParticleSystem& ps, int count) {
    ps.droppedQuads += count;
    ps.quadUse.dropped += count;
}

void queueQuad(ParticleSystem& ps, base::Vec3 centre, float rotation, float size, uint32_t argb, int cell,
               int blendType) {
    if (ps.quadCount >= kMaxParticleQuads) {
        dropQuads(ps, 1);
        return;
    }
    ps.quads[ps.quadCount++] = {centre, rotation, size, argb, cell, blendType};
}

uint32_t packColor(const base::ColorF& c) {
    // Colours are clamped at birth, so the interpolation stays in 0..1; the
    // clamp here only guards the byte conversion.
    auto byte = [](float v) { return uint32_t(255.0f * base::clamp01(v)); };
    return (byte(c.a) << 24) | (byte(c.r) << 16) | (byte(c.g) << 8) | byte(c.b);
}

}  // namespace

void updateParticles(ParticleSystem& ps, float dt) {
    for (Emitter& m : ps.emitters) {
        if (m.effect < 0 || m.effect >= ps.effectCount) continue;
        const ParticleEffect& e = ps.effects[m.effect];
        if (!(m.ageMs < e.effectTime)) continue;

        const base::Vec2 offset = wobble(e.emitterWobbleX, e.emitterWobbleY, m.ageMs) +
                            base::rotateDeg({m.orbitRadius, 0}, m.orbitAngle);
        m.spawnCountdownMs -= dt;
        if (m.spawnCountdownMs < 0) {
            m.spawnCountdownMs += m.spawnPeriodMs;
            // A frame longer than several periods emits several groups; the
            // count is bounded by the ring, beyond which groups only overwrite
            // each other (and a tiny period cannot overflow the count).
            const float groups = m.spawnPeriodMs > dt ? 1.0f : std::trunc(dt / m.spawnPeriodMs);
            const int fit = groupsThatFit(e);
            const int n = groups >= float(fit) ? fit : groups > 0 ? int(groups) : 0;
            for (int i = 0; i < n; ++i) emitParticles(ps, m.position, offset, m.effect, m.scale, m.cell);
        }
        m.position = m.position + m.velocity * dt;
        m.orbitRadius += m.orbitRadiusSpeed * dt / 1000;
        m.orbitAngle += m.orbitAngularSpeed * dt / 1000;
        m.ageMs += dt;
    }

    for (Particle& p : ps.particles) {
        if (!(p.ageMs < p.lifeMs)) continue;
        const ParticleEffect& e = ps.effects[p.effect];
        const float t = p.ageMs / p.lifeMs;
        const float s = 1 - t;
        const uint32_t argb = packColor(p.colorBirth * s + p.colorDeath * t);
        base::Vec2 offset = base::rotateDeg({p.orbitRadius, 0}, p.orbitAngle) +
                      wobble(e.particleWobbleX, e.particleWobbleY, p.ageMs);
        const float size = p.sizeBirth * s + p.sizeDeath * t;
        if (e.copiesAtDraw > 0) {
            const float turn = 360.0f / float(e.copiesAtDraw);
            const int n = std::min(e.copiesAtDraw, kMaxParticleQuads);
            // Copies that find the queue full are counted as dropped at once
            // rather than placed one by one only to be dropped.
            const int fit = std::min(n, kMaxParticleQuads - ps.quadCount);
            for (int i = 0; i < fit; ++i) {
                queueQuad(ps, {p.position.x + offset.x, p.position.y + offset.y, p.position.z}, p.rotation,
                          size, argb, p.cell, e.blendType);
                offset = base::rotateDeg(offset, turn);
            }
            dropQuads(ps, n - fit);
        } else {
            queueQuad(ps, {p.position.x + offset.x, p.position.y + offset.y, p.position.z}, p.rotation, size,
                      argb, p.cell, e.blendType);
        }

        p.position = p.position + p.velocity * (dt / 1000);
        p.velocity.y -= p.gravity * dt / 1000;
        p.rotation += p.spin * dt / 1000;
        p.orbitRadius += p.orbitRadiusSpeed * dt / 1000;
        p.orbitAngle += p.orbitAngularSpeed * dt / 1000;
        p.ageMs += dt;
    }
}

// -- [drawing] -----------------------------------------------------------------

namespace {

void applyBlendType(platform::Device& device, int blendType) {
    if (blendType == 0) {
        device.setRenderState(platform::RenderState::SrcBlend, platform::BlendSrcColor);
        device.setRenderState(platform::RenderState::DstBlend, platform::BlendOne);
    } else if (blendType == 1) {
        device.setRenderState(platform::RenderState::SrcBlend, platform::BlendSrcAlpha);
        device.setRenderState(platform::RenderState::DstBlend, platform::BlendInvSrcAlpha);
    }
    // Any other type keeps the factors of the previous quad.
}

}  // namespace

void stepParticles(ParticleSystem& ps, float dtMs) {
    ps.quadCount = 0;
    ps.droppedQuads = 0;
    updateParticles(ps, dtMs);
    ps.particleUse.noteLive(liveParticleCount(ps));
    ps.emitterUse.noteLive(liveEmitterCount(ps));
    ps.quadUse.noteLive(ps.quadCount);
}

void drawParticles(const ParticleSystem& ps) {
    platform::Device* device = gfx::g_draw.device;
    if (ps.quadCount == 0) return;
    using platform::RenderState;
    device->setRenderState(RenderState::Lighting, 0);
    device->setRenderState(RenderState::AlphaBlend, 1);
    applyBlendType(*device, 0);
    device->setRenderState(RenderState::AlphaTest, 0);
    device->setRenderState(RenderState::TextureFilter, platform::FilterLinear);
    device->setRenderState(RenderState::DepthTest, 1);
    device->setRenderState(RenderState::DepthWrite, 0);
    gfx::setTexture(ps.atlas);

    const base::Vec3 right = gfx::g_camera.rightAxis();
    const base::Vec3 up = gfx::g_camera.upAxis();
    const float cellW = 1.0f / float(ps.atlasColumns);
    const float cellH = 1.0f / float(ps.atlasRows);

    for (int i = 0; i < ps.quadCount; ++i) {
        const ParticleQuad& q = ps.quads[i];
        applyBlendType(*device, q.blendType);
        const float half = q.size * 0.5f;
        const float a = q.rotation * base::kDegToRad;
        const float c = std::cos(a), s = std::sin(a);
        const base::Vec3 r = right * half, u = up * half;
        const base::Vec3 x = r * c - u * s;
        const base::Vec3 y = r * s + u * c;

        const int column = q.cell % ps.atlasColumns;
        const int row = q.cell / ps.atlasColumns;
        const float left = float(column) * cellW + 0.001f;
        const float top = float(row) * cellH + 0.001f;
        const float w = cellW - 0.001f, h = cellH - 0.001f;

        const base::Vec3 corners[4] = {q.centre + x + y, q.centre + x - y, q.centre - x - y, q.centre - x + y};
        const base::Vec2 uv[4] = {{left, top}, {left + w, top}, {left + w, top + h}, {left, top + h}};
        gfx::drawQuad(corners, uv, q.argb);
    }

    device->setRenderState(RenderState::AlphaTest, 1);
    device->setRenderState(RenderState::DepthTest, 0);
    device->setRenderState(RenderState::DepthWrite, 1);
    applyBlendType(*device, 1);
}

void drawParticleQueue(ParticleSystem& ps) {
    drawParticles(ps);
    ps.quadCount = 0;
    ps.droppedQuads = 0;
}

int liveParticleCount(const ParticleSystem& ps) {
    int n = 0;
    for (const Particle& p : ps.particles) n += p.ageMs < p.lifeMs;
    return n;
}

int liveEmitterCount(const ParticleSystem& ps) {
    int n = 0;
    for (const Emitter& m : ps.emitters)
        n += m.effect >= 0 && m.effect < ps.effectCount && m.ageMs < ps.effects[m.effect].effectTime;
    return n;
}

}  // namespace tessaly::fx
