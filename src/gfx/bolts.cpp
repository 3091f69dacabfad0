#include "gfx/bolts.h"

#include <cmath>

#include "base/random.h"
#include "gfx/camera.h"
#include "gfx/draw.h"
#include "gfx/texture.h"

namespace tessaly::gfx {

namespace {

// Plain square root: bolt geometry is rebuilt every frame and its length
// decides the segment count, so it should not wobble with table precision.
float exactLength(base::Vec3 v) { return std::sqrt(base::dot(v, v)); }

base::Vec3 unit(base::Vec3 v) {
    const float l = exactLength(v);
    return l > 0 ? v / l : v;
}

}  // namespace

bool addBolt(Bolts& b, base::Vec3 start, base::Vec3 end, float step, float segmentWidth, float glowWidth,
             float jitter, uint32_t segmentColor, uint32_t glowColor) {
    if (b.count >= kMaxBolts) {
        ++b.use.dropped;
        return false;
    }
    const base::Vec3 d = end - start;
    const float dist = exactLength(d);
    if (!(dist > 0)) return false;
    const base::Vec3 dir = d / dist;
    base::Vec3 side = unit(base::cross(dir, {0, 0, 1}));
    // A bolt along the z axis has no side in the plane of z: take x.
    if (exactLength(side) == 0) side = {1, 0, 0};
    const base::Vec3 binormal = base::cross(dir, side);

    if (!(step > 0)) step = dist;
    float segments = std::floor(dist / step) + 1;
    if (segments >= kMaxBoltSegments) {
        segments = kMaxBoltSegments;
        step = dist / kMaxBoltSegments;
    }
    Bolt& bolt = b.bolts[b.count++];
    bolt.count = int(segments);
    bolt.points[0] = start;
    bolt.points[bolt.count] = end;
    for (int i = 1; i < bolt.count; ++i) {
        // side turned about dir by a random angle (side is perpendicular to
        // dir, so the turn stays in the plane across the bolt).
        const float a = base::randomSigned(180) * base::kDegToRad;
        const base::Vec3 across = side * std::cos(a) + binormal * std::sin(a);
        bolt.points[i] = start + dir * (step * float(i)) + across * base::randomSigned(jitter);
    }
    bolt.segmentColor = segmentColor;
    bolt.glowColor = glowColor;
    bolt.segmentWidth = segmentWidth;
    bolt.glowWidth = glowWidth;
    return true;
}

void drawBeam(base::Vec3 p, base::Vec3 q, float halfWidth, uint32_t argb) {
    const base::Vec3 a = p - q;
    const base::Vec3 view = gfx::g_camera.viewDirection();
    const base::Vec3 s = unit(base::cross(a, view * -1.0f)) * halfWidth;
    const base::Vec3 corners[4] = {q - s, q + s, p + s, p - s};
    const base::Vec2 uv[4] = {{0, 0}, {0, -1}, {-1, -1}, {-1, 0}};
    drawQuad(corners, uv, argb);
}

void drawBolts(const Bolts& b) {
    platform::Device* device = g_draw.device;
    if (b.count == 0) return;
    using platform::RenderState;
    device->setRenderState(RenderState::Lighting, 0);
    device->setRenderState(RenderState::AlphaBlend, 1);
    device->setRenderState(RenderState::SrcBlend, platform::BlendSrcAlpha);
    device->setRenderState(RenderState::DstBlend, platform::BlendOne);
    device->setRenderState(RenderState::DepthWrite, 0);
    setTexture(loadTexture("flare.jpg", false));

    for (int i = 0; i < b.count; ++i) {
        const Bolt& bolt = b.bolts[i];
        const base::Vec3* pts = bolt.points;
        // Segments reach a little past their end point to close the joints.
        const base::Vec3 u = unit(pts[bolt.count - 1] - pts[0]) * 0.05f;
        drawBeam(pts[0], pts[bolt.count], bolt.glowWidth, bolt.glowColor);
        for (int j = 0; j < bolt.count; ++j)
            drawBeam(pts[j], pts[j + 1] + u, bolt.segmentWidth, bolt.segmentColor);
    }
    device->setRenderState(RenderState::DepthWrite, 1);
    setBlendMode(0);
}

}  // namespace tessaly::gfx
