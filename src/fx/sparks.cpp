// The spark presets, rings, lines, bursts, emitters and the draw queue.
#include "fx/sparks.h"

#include <algorithm>
#include <cmath>

#include "base/math.h"
#include "base/random.h"
#include "gfx/draw.h"
#include "gfx/sprite_sheet.h"

namespace tessaly::fx {

namespace {

using base::randomSigned;  // R(m): uniform in [-m, m]
using base::randomUnit;    // U(m): uniform in [0, m]

void setRgb(Spark& s, float r, float g, float b) {
    s.color[0] = r;
    s.color[1] = g;
    s.color[2] = b;
}

void setRgbRate(Spark& s, float rate) { s.colorRate[0] = s.colorRate[1] = s.colorRate[2] = rate; }

// Values shared by presets 7, 10 and 11: a shard thrown up that falls.
void fallingShard(Spark& s) {
    s.lifeMs = 1000;
    s.vx = base::randomSigned(0.14f);
    s.vy = base::randomSigned(0.1f) + 0.07f;
    s.rotation = 45;
    s.gravity = base::randomUnit(0.0005f) + 0.00025f;
    s.size = 28;
    s.sizeRate = 0.02f;
    setRgbRate(s, -0.0014f);
}

void applyPreset(Spark& s, int preset) {
    switch (preset) {
    case 0:  // twinkling star drifting out on a widening orbit
        s.lifeMs = 1000;
        s.orbitAngle = base::randomSigned(360);
        s.orbitAngleRate = base::randomSigned(0.15f) + 0.1f;
        s.orbitRadiusRate = base::randomSigned(0.1f) + 0.01f;
        s.rotationRate = base::randomUnit(0.1f);
        s.size = 10;
        s.sizeRate = base::randomUnit(0.02f) + 0.03f;
        s.colorRate[3] = -0.0009f;
        s.cell = 62;
        s.blend = 1;
        break;
    case 1:  // puff thrown out on a fast small orbit, shrinking
        s.lifeMs = 1000;
        s.vx = base::randomSigned(0.4f);
        s.vy = base::randomSigned(0.4f);
        s.orbitAngle = base::randomSigned(360);
        s.orbitRadius = 5;
        s.orbitAngleRate = 2;
        s.orbitRadiusRate = 0.01f;
        s.size = 40;
        s.sizeRate = -0.008f;
        setRgbRate(s, -0.0009f);
        s.cell = 17;
        break;
    case 2:  // spinning star flare that grows
        s.lifeMs = 1500;
        s.rotationRate = -0.3f;
        s.size = 7;
        s.sizeRate = 0.15f;
        s.colorRate[3] = -0.00075f;
        s.cell = 53;
        s.blend = 1;
        break;
    case 3:  // growing puff on a small orbit
        s.lifeMs = 1000;
        s.vx = base::randomSigned(0.01f);
        s.vy = base::randomSigned(0.01f);
        s.orbitAngle = base::randomSigned(360);
        s.orbitRadius = 3;
        s.orbitAngleRate = base::randomSigned(0.8f);
        s.orbitRadiusRate = 0.001f;
        s.size = 0;
        s.sizeRate = 0.08f;
        setRgbRate(s, -0.0009f);
        s.cell = 17;
        break;
    case 4:  // glow that brightens, then fades as it passes full brightness
        s.lifeMs = 3000;
        s.rotationRate = 0.1f;
        s.size = 1;
        s.sizeRate = 0.12f;
        setRgb(s, 0.8f + base::randomUnit(0.2f), 0.8f + base::randomUnit(0.2f), 0.8f + base::randomUnit(0.2f));
        setRgbRate(s, 0.00033f);
        s.cell = 12;
        break;
    case 5:  // small star
        s.lifeMs = 1000;
        s.rotationRate = 0.1f;
        s.size = 1;
        s.sizeRate = 0.05f;
        setRgbRate(s, -0.001f);
        s.cell = base::randomBelow(2) ? 62 : 61;
        break;
    case 6:  // pale green glint that swells and fades
        s.lifeMs = 2000;
        s.rotation = base::randomUnit(360);
        s.rotationRate = 0.1f;
        s.size = 0;
        s.sizeRate = 0.06f;
        setRgb(s, 0.86f, 0.86f + base::randomUnit(0.1f), 0.86f);
        setRgbRate(s, 0.0007f);
        s.cell = 33;
        break;
    case 7:
        fallingShard(s);
        s.cell = 3;
        break;
    case 8:  // trail spark, nearly at rest
        s.lifeMs = 1000;
        s.vx = base::randomSigned(0.01f);
        s.vy = base::randomSigned(0.01f);
        s.rotation = base::randomSigned(360);
        s.size = 28;
        s.sizeRate = 0.02f;
        setRgbRate(s, -0.0014f);
        s.cell = 10;
        break;
    case 9:  // wisp rising slowly
        s.lifeMs = 2000;
        s.vx = base::randomSigned(0.01f);
        s.vy = 0.01f;
        s.rotation = -90;
        s.gravity = 0.00002f;
        s.size = 30;
        s.sizeRate = 0.08f;
        setRgbRate(s, -0.0005f);
        s.cell = 34;
        break;
    case 10:
    case 11:
        fallingShard(s);
        s.cell = 17;
        break;
    case 12:  // glow dust around a point
        s.lifeMs = 1000;
        s.x += base::randomSigned(12);
        s.y += base::randomSigned(12);
        s.vx = base::randomSigned(0.024f);
        s.vy = base::randomSigned(0.024f);
        s.rotation = base::randomUnit(360);
        s.size = 1;
        s.sizeRate = 0.09f;
        setRgb(s, 0.5f + base::randomUnit(0.5f), 0.5f + base::randomUnit(0.5f), 0.5f + base::randomUnit(0.5f));
        setRgbRate(s, -0.001f);
        s.cell = 12;
        break;
    case 13:  // glow dust along a flat strip, drifting up
        s.lifeMs = 1000;
        s.x += base::randomSigned(25);
        s.y += base::randomSigned(5);
        s.vx = base::randomSigned(0.024f);
        s.vy = base::randomUnit(0.024f) + 0.024f;
        s.rotation = base::randomUnit(360);
        s.size = 1;
        s.sizeRate = 0.09f;
        setRgb(s, 0.5f + base::randomUnit(0.5f), 0.5f + base::randomUnit(0.5f), 0.5f + base::randomUnit(0.5f));
        setRgbRate(s, -0.001f);
        s.cell = 12;
        break;
    case 14:  // quick rising puff
        s.lifeMs = 400;
        s.vx = base::randomSigned(0.03f);
        s.vy = base::randomSigned(0.02f);
        s.rotation = base::randomSigned(360);
        s.gravity = -0.0001f;
        s.size = 17;
        s.sizeRate = 0.02f;
        setRgbRate(s, -0.0014f);
        s.cell = 17;
        break;
    case 15:  // shrinking glow thrown out
    case 16:  // shrinking glow beside a point
        s.lifeMs = preset == 15 ? 400.0f : 500.0f;
        if (preset == 15) {
            s.vx = base::randomSigned(0.1f);
            s.vy = base::randomSigned(0.1f);
        } else {
            s.x += base::randomSigned(16);
        }
        s.rotation = base::randomSigned(360);
        s.size = 35 + base::randomUnit(25);
        s.sizeRate = -0.1f;
        setRgb(s, 0.5f + base::randomUnit(0.5f), 0.5f + base::randomUnit(0.5f), 0.5f + base::randomUnit(0.5f));
        s.cell = 12;
        break;
    case 17:  // bright star thrown up and to the right, falling
        s.lifeMs = 2000;
        s.vx = base::randomUnit(0.1f) + 0.1f;
        s.vy = base::randomUnit(0.05f) + 0.05f;
        s.rotation = base::randomSigned(360);
        s.rotationRate = base::randomSigned(0.5f);
        s.gravity = 0.001f;
        s.size = 25;
        s.sizeRate = -0.03f;
        setRgb(s, 0.5f + base::randomUnit(0.5f), 0.5f + base::randomUnit(0.5f), 0.5f + base::randomUnit(0.5f));
        s.cell = 62;
        s.blend = 1;
        break;
    default:
        break;
    }
}

uint32_t packColor(const float (&c)[4]) {
    auto byte = [](float v) { return uint32_t(255.0f * std::clamp(v, 0.0f, 1.0f)); };
    return (byte(c[3]) << 24) | (byte(c[0]) << 16) | (byte(c[1]) << 8) | byte(c[2]);
}

// Sparks are drawn in screen units; anything wholly off the 800 x 600
// screen is not worth a draw call.
bool onScreen(float x, float y, float size) {
    return std::fabs(x) <= 400 + size && std::fabs(y) <= 300 + size;
}

void queueSpark(SparkSystem& s, const Spark& k) {
    float x = k.x, y = k.y;
    if (k.orbitRadius != 0) {
        x += std::sin(k.orbitAngle * base::kDegToRad) * k.orbitRadius;
        y += std::cos(k.orbitAngle * base::kDegToRad) * k.orbitRadius;
    }
    if (!onScreen(x, y, k.size)) return;
    if (s.queueCount >= kMaxSparkQueue) {
        ++s.droppedEntries;
        ++s.queueUse.dropped;
        return;
    }
    s.queue[s.queueCount++] = {x, y, k.rotation, k.size, packColor(k.color), k.blend, k.cell};
}

void advanceSpark(Spark& k, float t) {
    k.rotation += k.rotationRate * t;
    k.size += k.sizeRate * t;
    if (k.size < 0) {
        k.size = 0;
        k.lifeMs = 0;
        return;
    }
    k.x += k.vx * t;
    k.y += k.vy * t;
    k.vy -= k.gravity * t;
    k.orbitAngle += k.orbitAngleRate * t;
    k.orbitRadius += k.orbitRadiusRate * t;
    k.lifeMs -= t;
    for (int c = 0; c < 4; ++c) {
        k.color[c] += k.colorRate[c] * t;
        if (k.color[c] > 1) {
            // Past full brightness the channel turns and fades out.
            k.color[c] = 1;
            k.colorRate[c] = kSparkFadeRate;
        } else if (k.color[c] < 0) {
            k.color[c] = 0;
        }
    }
}

void advanceEmitter(SparkSystem& s, SparkEmitter& e, float t) {
    e.timeLeftMs = std::max(0.0f, e.timeLeftMs - t);
    const float u = e.timeLeftMs / e.durationMs;
    if (e.kind == 2) {
        const int step = int(40 * u);
        if (step != e.lastStep) {
            e.lastStep = step;
            sparkRing(s, e.x, e.y, std::sin(base::kPi * u) * 50, std::sin(2 * base::kPi * u) * 50, 5, 4);
        }
    } else if (e.kind == 3) {
        const int step = int(20 * u);
        if (step != e.lastStep) {
            e.lastStep = step;
            const float radius = 70 * u;
            sparkRing(s, e.x, e.y, std::sin(base::kPi * u) * radius, std::sin(2 * base::kPi * u) * radius, 5, 5);
        }
    }
}

}  // namespace

void spawnSpark(SparkSystem& s, float x, float y, int preset) {
    if (preset < 0 || preset >= kSparkPresetCount) return;
    Spark& k = s.sparks[s.nextSpark];
    s.nextSpark = (s.nextSpark + 1) % kMaxSparks;
    if (k.lifeMs > 0) ++s.sparkUse.replaced;
    k = Spark{};
    k.preset = preset;
    k.x = x;
    k.y = y;
    applyPreset(k, preset);
}

void sparkRing(SparkSystem& s, float x, float y, float offsetX, float offsetY, int n, int preset) {
    if (n <= 0) return;
    base::Vec2 offset = {offsetX, offsetY};
    const float turn = 360.0f / float(n);
    for (int i = 0; i < std::min(n, kMaxSparks); ++i) {
        spawnSpark(s, x + offset.x, y + offset.y, preset);
        offset = base::rotateDeg(offset, turn);
    }
}

void sparkLine(SparkSystem& s, float x0, float y0, float x1, float y1, float step, int preset) {
    const float dx = x1 - x0, dy = y1 - y0;
    const float distance = std::sqrt(dx * dx + dy * dy);
    if (!(step > 0) || distance == 0) {
        spawnSpark(s, x0, y0, preset);
        return;
    }
    // Bounded by the ring: a longer line would only overwrite its own start.
    const int count = int(std::min(distance / step, float(kMaxSparks - 1))) + 1;
    for (int i = 0; i < count; ++i) {
        const float f = float(i) * step / distance;
        spawnSpark(s, x0 + dx * f, y0 + dy * f, preset);
    }
}

void sparkBurst(SparkSystem& s, float x0, float y0, float x1, float y1, int kind) {
    switch (kind) {
    case 0:
        sparkRing(s, x0, y0, 0, 40, 5, 2);
        break;
    case 1:
        sparkRing(s, x0, y0, 0, 30, 32, 3);
        break;
    case 2:
    case 3: {
        SparkEmitter& e = s.emitters[s.nextEmitter];
        s.nextEmitter = (s.nextEmitter + 1) % kMaxSparkEmitters;
        if (e.timeLeftMs > 0) ++s.emitterUse.replaced;
        e = SparkEmitter{};
        e.timeLeftMs = e.durationMs;
        e.x = x0;
        e.y = y0;
        e.kind = kind;
        break;
    }
    case 4:
        sparkLine(s, x0, y0, x1, y1, 10, 8);
        sparkRing(s, x1, y1, 0, 10, 32, 7);
        break;
    default:
        break;
    }
}

void updateSparks(SparkSystem& s, float t) {
    for (SparkEmitter& e : s.emitters)
        if (e.timeLeftMs > 0) advanceEmitter(s, e, t);
    for (Spark& k : s.sparks) {
        if (k.lifeMs <= 0) continue;
        queueSpark(s, k);
        advanceSpark(k, t);
    }
}

void stepSparks(SparkSystem& s, float dtMs) {
    s.queueCount = 0;
    s.droppedEntries = 0;
    updateSparks(s, dtMs);
    s.sparkUse.noteLive(activeSparkCount(s));
    s.queueUse.noteLive(s.queueCount);
    int emitters = 0;
    for (const SparkEmitter& e : s.emitters) emitters += e.timeLeftMs > 0;
    s.emitterUse.noteLive(emitters);
}

void drawSparks(const SparkSystem& s) {
    int blend = -1;
    for (int i = 0; i < s.queueCount; ++i) {
        const SparkQueueEntry& e = s.queue[i];
        if (e.blend != blend) {
            blend = e.blend;
            gfx::setSheetBlend(blend);
        }
        gfx::drawSheetSprite(e.x, e.y, e.rotation, e.size, e.argb, e.blend, e.cell);
    }
    if (blend == 1) gfx::setSheetBlend(0);
}

void drawSparkQueue(SparkSystem& s) {
    drawSparks(s);
    s.queueCount = 0;
    s.droppedEntries = 0;
}

void resetSparks(SparkSystem& s) {
    for (Spark& k : s.sparks) k = Spark{};
    for (SparkEmitter& e : s.emitters) e = SparkEmitter{};
    s.nextSpark = 0;
    s.nextEmitter = 0;
    s.queueCount = 0;
    s.droppedEntries = 0;
}

int activeSparkCount(const SparkSystem& s) {
    int n = 0;
    for (const Spark& k : s.sparks) n += k.lifeMs > 0;
    return n;
}

}  // namespace tessaly::fx
