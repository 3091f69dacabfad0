// The level map behind the three mode screens:
//  - "trajectory1.spl" ("texts.dat"): the trail's points, see map_layout.h;
//  - "menumap.jpg" (800 x 600, "jpeg.dat"): the painted map. Fourteen lands
//    lie along the trail in stage order, each around its own stretch of the
//    trail (every pixel belongs to the land whose stretch is nearest, with a
//    soft blend where two meet). The trail is painted exactly where the file
//    puts it, with a clearing and a stone plinth at every stage boundary
//    where the screen stands a treasure. The corners the screen covers (the
//    start button, the mode name, the level preview) keep to plain ground,
//    calm water or sky.
// The mark and the treasures drawn over the map are in map_items_art.cpp.
//
// Sections: fields (distances to the trail and to each land's stretch);
// the ground of every land; the horizon; the trail; scenery placement; the
// generator.
#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <vector>

#include "datagen.h"
#include "image_io.h"
#include "map_layout.h"
#include "map_scenery.h"
#include "paint.h"

namespace datagen::levelmap {
namespace {

constexpr int kWidth = 800, kHeight = 600;
constexpr int kGrid = 4;  // pixels between samples of the smooth fields
constexpr double kBlendPx = 6;      // softness of the borders between lands
constexpr double kTrailWidth = 14;  // pixels

// The lands of the stages, numbered in the order the trail passes them
// (stage s is land s).
constexpr int kSunnyMeadow = 0, kMirrorLake = 1, kRiverGorge = 2, kOldForest = 3,
              kBlueMountains = 4, kPalmIslands = 5, kAutumnWood = 6, kWaterfallCliffs = 7,
              kMistyMarsh = 8, kRedCanyon = 9, kSnowyPass = 10, kTwilightCoast = 11,
              kCrystalCaves = 12, kSunsetValley = 13;
static_assert(kSunsetValley == kStages - 1, "one land per stage");

double smoothstep(double e0, double e1, double x) {
    const double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// Things on the map shrink a little towards the far (upper) edge.
double perspective(double py) { return 0.72 + 0.42 * py / kHeight; }

// The screen areas the mode screen draws over, in pixels, with the margin
// that keeps scenery from reaching into them.
struct PixelRect {
    double left, top, right, bottom;
    bool contains(double x, double y, double margin = 0) const {
        return x >= left - margin && x <= right + margin && y >= top - margin &&
               y <= bottom + margin;
    }
};

std::vector<PixelRect> calmAreas() {
    std::vector<PixelRect> out;
    for (const KeepClear& k : kKeepClear)
        out.push_back({toPixelX(k.left), toPixelY(k.top), toPixelX(k.right), toPixelY(k.bottom)});
    return out;
}

// ---------------------------------------------------------------------------
// Fields

struct Landmarks;

struct TrailSample {
    double x, y;    // pixels
    double tx, ty;  // unit direction of travel, pixels
    int land;       // 0..13
};

// Smooth values sampled every `step` pixels and read back bilinearly.
class Field final {
public:
    explicit Field(int step = kGrid)
        : m_step(step), m_w(kWidth / step + 2), m_h(kHeight / step + 2),
          m_values(size_t(m_w) * size_t(m_h), 0.f) {}
    int step() const { return m_step; }
    int columns() const { return m_w; }
    int rows() const { return m_h; }
    float& at(int gx, int gy) { return m_values[size_t(gy) * size_t(m_w) + size_t(gx)]; }
    double sample(double x, double y) const {
        const double gx = std::clamp(x / m_step, 0.0, m_w - 1.001);
        const double gy = std::clamp(y / m_step, 0.0, m_h - 1.001);
        const int ix = int(gx), iy = int(gy);
        const double fx = gx - ix, fy = gy - iy;
        const float* v = &m_values[size_t(iy) * size_t(m_w) + size_t(ix)];
        return (v[0] * (1 - fx) + v[1] * fx) * (1 - fy) + (v[m_w] * (1 - fx) + v[m_w + 1] * fx) * fy;
    }

private:
    int m_step, m_w, m_h;
    std::vector<float> m_values;
};

struct MapFields {
    std::array<Field, kStages> landDistance;  // pixels to each land's stretch of trail
    Field trailDistance;                      // pixels to the nearest trail
    Field side;                               // +1 right of the direction of travel, -1 left
    Field broad, drift;                       // smooth noise, coarse and medium
    Field warpX, warpY;                       // pixels the land borders wander by
    Field fine{2};                            // fine noise, sampled closer
    const Landmarks* landmarks = nullptr;

    // Share of each land at a pixel (they sum to 1).
    void weights(double x, double y, std::array<double, kStages>& w) const {
        // Borders wander with noise (less so near the trail, where the
        // treasures mark them), so lands meet along natural lines.
        const double wx = x + warpX.sample(x, y), wy = y + warpY.sample(x, y);
        double nearest = 1e9;
        for (int k = 0; k < kStages; ++k) {
            w[size_t(k)] = landDistance[size_t(k)].sample(wx, wy);
            nearest = std::min(nearest, w[size_t(k)]);
        }
        // Shares below 1/1000 are dropped; no need to work them out.
        constexpr double kNegligible = 6.9 * kBlendPx;
        double sum = 0;
        for (double& v : w) {
            v = v - nearest > kNegligible ? 0 : std::exp(-(v - nearest) / kBlendPx);
            sum += v;
        }
        for (double& v : w) v /= sum;
    }
    double weight(int land, double x, double y) const {
        std::array<double, kStages> w;
        weights(x, y, w);
        return w[size_t(land)];
    }
};

std::vector<TrailSample> trailSamples(const MapLayout& layout) {
    std::vector<TrailSample> out;
    const double a = layout.stageLength();
    for (double s = 0; s <= layout.length; s += 3) {
        const MapPoint p = layout.pointAt(std::min(s, layout.length - 0.01));
        const MapPoint q = layout.pointAt(std::min(s + 2, layout.length - 0.01));
        MapPoint r = layout.pointAt(std::max(0.0, s - 2));
        double dx = q.x - r.x, dy = -(q.y - r.y);
        const double len = std::hypot(dx, dy);
        dx /= len;
        dy /= len;
        out.push_back({toPixelX(p.x), toPixelY(p.y), dx, dy,
                       std::min(kStages - 1, int(s / a))});
    }
    return out;
}

void buildFields(const std::vector<TrailSample>& trail, MapFields& f) {
    for (int gy = 0; gy < f.fine.rows(); ++gy)
        for (int gx = 0; gx < f.fine.columns(); ++gx)
            f.fine.at(gx, gy) = float(fractalNoise(gx * f.fine.step() / 34.0, gy * f.fine.step() / 26.0, 3, 502));
    for (int gy = 0; gy < f.trailDistance.rows(); ++gy) {
        for (int gx = 0; gx < f.trailDistance.columns(); ++gx) {
            const double x = gx * kGrid, y = gy * kGrid;
            std::array<double, kStages> best;
            best.fill(1e18);
            double nearest = 1e18;
            const TrailSample* near = &trail[0];
            for (const TrailSample& t : trail) {
                const double d2 = (t.x - x) * (t.x - x) + (t.y - y) * (t.y - y);
                if (d2 < best[size_t(t.land)]) best[size_t(t.land)] = d2;
                if (d2 < nearest) {
                    nearest = d2;
                    near = &t;
                }
            }
            for (int k = 0; k < kStages; ++k) f.landDistance[size_t(k)].at(gx, gy) = float(std::sqrt(best[size_t(k)]));
            f.trailDistance.at(gx, gy) = float(std::sqrt(nearest));
            const double cross = near->tx * (y - near->y) - near->ty * (x - near->x);
            f.side.at(gx, gy) = cross >= 0 ? 1.f : -1.f;
            f.broad.at(gx, gy) = float(fractalNoise(x / 110.0, y / 80.0, 4, 501));
            f.drift.at(gx, gy) = float(fractalNoise(x / 60.0, y / 32.0, 3, 503));
            const double wander = 24 * smoothstep(8, 50, std::sqrt(nearest));
            f.warpX.at(gx, gy) = float(wander * fractalNoise(x / 80.0, y / 80.0, 3, 511));
            f.warpY.at(gx, gy) = float(wander * fractalNoise(x / 80.0, y / 80.0, 3, 512));
        }
    }
}

// ---------------------------------------------------------------------------
// The ground of every land

// What the ground functions see at a pixel.
struct Spot {
    double x, y;      // pixels
    double trail;     // pixels to the nearest trail
    double side;      // -1..1, which side of the trail
    double broad;     // coarse noise, about -1..1
    double fine;      // fine noise, about -1..1
    double drift;     // medium noise, about -1..1
    const Landmarks* landmarks;
    double calm = 0;  // 1 under the screen's controls: keep detail down
};

// A land's ground at a pixel: the dry colour, and where there is water its
// colour and how much of the pixel it covers. The two are mixed only after
// all lands are added up, so shores stay crisp and smooth.
struct Ground {
    Rgba color;
    double water = 0;  // 0 dry land .. 1 open water
    Rgba wet{};
};

struct Isle {
    double x, y, r;  // pixels
};

// Places some lands shape themselves around, found from the trail so they
// follow it: the palm islets beside the Palm Islands' spit and the rock of
// the lighthouse off the Twilight Coast.
struct Landmarks {
    std::vector<Isle> islets;
    Isle lighthouseRock{};
};

// A point beside the trail at distance s, `offset` pixels to its right
// (positive) or left.
Isle besideTrail(const MapLayout& layout, double s, double offset, double r) {
    const MapPoint p = layout.pointAt(s), q = layout.pointAt(s + 4);
    const double tx = toPixelX(q.x) - toPixelX(p.x), ty = toPixelY(q.y) - toPixelY(p.y);
    const double len = std::hypot(tx, ty);
    return {toPixelX(p.x) - ty / len * offset, toPixelY(p.y) + tx / len * offset, r};
}

Landmarks findLandmarks(const MapLayout& layout) {
    const double a = layout.stageLength();
    Landmarks m;
    const double islands = a * kPalmIslands;
    m.islets = {besideTrail(layout, islands + a * 0.15, 50, 20), besideTrail(layout, islands + a * 0.4, -48, 19),
                besideTrail(layout, islands + a * 0.62, 47, 18), besideTrail(layout, islands + a * 0.86, -45, 17)};
    m.lighthouseRock = besideTrail(layout, a * (kTwilightCoast + 0.7), 40, 13);
    return m;
}

// How far inside an isle a pixel is (0 at its ragged shore, > 0 inland).
double isleDepth(const std::vector<Isle>& isles, double x, double y, double fine) {
    double best = -1e9;
    for (const Isle& i : isles)
        best = std::max(best, i.r + 4 * fine - std::hypot(x - i.x, (y - i.y) * 1.4));
    return best;
}

Rgba noiseMix(Rgba a, Rgba b, double n) { return mix(a, b, std::clamp(0.5 + 0.5 * n, 0.0, 1.0)); }

// Water lit by the evening sky: light where it is shallow, deep blue in the
// middle, with broken glints. `depth` is 0 at the water line and grows
// inwards; the water covers the pixel over the first fifth of a unit.
void addWater(Ground& g, const Spot& p, Rgba shallow, Rgba deep, double depth) {
    g.water = smoothstep(-0.06, 0.14, depth);
    if (g.water <= 0) return;
    const double d = std::clamp(depth, 0.0, 1.0);
    Rgba c = mix(shallow, deep, smoothstep(0, 1, d));
    // Short broken streaks of light rather than ruled lines.
    const double streak = smoothstep(0.6, 0.95, std::sin(p.y * 0.8 + p.fine * 4 + p.drift * 3)) *
                          smoothstep(0.1, 0.6, p.drift + 0.4 * p.fine) * (1 - p.calm);
    c = mix(c, hex(0xFFF4E0), streak * 0.22 * d);
    // A pale rim just inside the water line.
    c = mix(c, mix(shallow, hex(0xFFFFFF), 0.45), (1 - smoothstep(0, 0.14, d)) * 0.6);
    g.wet = c;
}

Ground meadow(const Spot& p) {
    Rgba c = noiseMix(hex(0x6FA843), hex(0xA4C85A), p.broad);
    c = mix(c, hex(0xC8DC78), smoothstep(0.25, 0.6, p.fine) * 0.35);
    return {c};
}

// The lake sits below the trail, under the mode name: calm water there.
Ground mirrorLake(const Spot& p) {
    Ground g{noiseMix(hex(0x5E9C4E), hex(0x86B25C), p.broad)};
    const double lx = (p.x - 318) / 94, ly = (p.y - 560) / 48;
    const double lake = 1 - lx * lx - ly * ly + 0.22 * p.fine + 0.12 * p.broad;
    const double depth = lake * smoothstep(22, 30, p.trail) * 2.2;
    // A sandy shore round the water.
    g.color = mix(g.color, hex(0xD8C890), smoothstep(-0.14, -0.02, depth) * 0.8);
    addWater(g, p, hex(0xA8D8E0), hex(0x3A78B4), depth);
    // The sky in the mirror: warm towards the far shore.
    g.wet = mix(g.wet, hex(0xF2C8A8), std::clamp(0.25 - ly * 0.2, 0.0, 0.3));
    return g;
}

// Where the gorge's river runs (pixels): down from between the rows to the
// bottom edge, between the mode name and the start button.
double riverX(double y) { return 552 + 12 * std::sin(y / 24.0) + 6 * std::sin(y / 9.0); }
constexpr double kRiverHalf = 8, kGorgeHalf = 24;

Ground riverGorge(const Spot& p) {
    Ground g{noiseMix(hex(0xC29C66), hex(0x9A7448), p.broad)};
    g.color = mix(g.color, hex(0x88A050), smoothstep(0.2, 0.55, p.fine) * 0.55);
    const double dx = p.x - riverX(p.y);
    const double ax = std::fabs(dx);
    if (ax >= kGorgeHalf + 3) return g;
    // Walls: the west wall faces the light, the east wall is in shade.
    const double t = std::clamp((ax - kRiverHalf) / (kGorgeHalf - kRiverHalf), 0.0, 1.0);
    const Rgba wall = dx < 0 ? mix(hex(0xE6C494), hex(0x8A6040), 1 - t)
                             : mix(hex(0x6A4830), hex(0x3E2818), 1 - t);
    const double strata = 0.08 * std::sin((p.y + dx * 0.4) * 0.8);
    g.color = mix(g.color, shade(wall, strata), 1 - smoothstep(kGorgeHalf, kGorgeHalf + 3, ax));
    addWater(g, p, hex(0x7CC0D8), hex(0x2E78A8), (kRiverHalf - ax) / kRiverHalf * 1.2);
    // Streaks of white water along the flow.
    const double streak = std::sin(p.y * 0.7 + dx * 1.3 + p.fine * 4);
    g.wet = mix(g.wet, hex(0xFFFFFF), std::max(0.0, streak - 0.6) * 0.9);
    return g;
}

Ground oldForest(const Spot& p) {
    Rgba c = noiseMix(hex(0x436E3A), hex(0x27442A), p.broad);
    c = mix(c, hex(0x6E8A3A), smoothstep(0.3, 0.7, p.fine) * 0.3);
    return {c};
}

Ground blueMountains(const Spot& p) {
    Rgba c = noiseMix(hex(0x94A6C0), hex(0x6A7EA2), p.broad);
    c = mix(c, hex(0x7E9A78), smoothstep(-0.1, -0.5, p.drift) * 0.55);
    return {c};
}

// Sea everywhere but a sandy spit along the trail and a few islets.
Ground palmIslands(const Spot& p) {
    const double islet = isleDepth(p.landmarks->islets, p.x, p.y, p.fine);
    const double shore = std::min(p.trail - (22 + 9 * p.fine), -islet);
    const Rgba sand = hex(0xF0DCA4);
    Ground g{mix(noiseMix(sand, hex(0xE0C488), p.fine), hex(0xA8C060), smoothstep(-6, -30, shore) * 0.5)};
    addWater(g, p, hex(0x6EE0D0), hex(0x1E86AE), shore / 34);
    return g;
}

Ground autumnWood(const Spot& p) {
    Rgba c = noiseMix(hex(0xC47E3C), hex(0x9A5628), p.broad);
    c = mix(c, hex(0xE0A84C), smoothstep(0.25, 0.6, p.fine) * 0.4);
    return {c};
}

Ground waterfallCliffs(const Spot& p) {
    Rgba c = noiseMix(hex(0x8C9A82), hex(0x5E6E5E), p.broad);
    c = mix(c, hex(0x6E9A4C), smoothstep(0.1, 0.5, p.fine) * 0.45);
    // Ledges: soft dark lines along the cliff steps.
    c = shade(c, -0.12 * smoothstep(0.75, 1, std::sin(p.y * 0.22 + p.broad * 3)));
    return {c};
}

Ground mistyMarsh(const Spot& p) {
    Ground g{noiseMix(hex(0x7A9264), hex(0x55704E), p.broad)};
    const double pool = (p.fine - 0.28) * 1.6 * smoothstep(16, 24, p.trail);
    g.color = mix(g.color, hex(0x4E5E40), smoothstep(-0.12, 0, pool) * 0.5);
    addWater(g, p, hex(0x8AA8A0), hex(0x3E5E5E), pool);
    return g;
}

Ground redCanyon(const Spot& p) {
    Rgba c = noiseMix(hex(0xD2703E), hex(0xA8482A), p.broad);
    const double band = std::sin((p.y + 18 * p.broad) * 0.35);
    c = shade(c, 0.07 * band);
    c = mix(c, hex(0xE8A868), smoothstep(0.25, 0.6, p.fine) * 0.45);
    return {c};
}

Ground snowyPass(const Spot& p) {
    Rgba c = noiseMix(hex(0xF2F6FC), hex(0xBCCDE6), p.broad * 0.8 + p.fine * 0.4);
    return {c};
}

// A twilight bay on the outer side of the turn; the beach on the inside;
// the lighthouse on its rock.
Ground twilightCoast(const Spot& p) {
    const Rgba sand = hex(0xE6C8B0);
    const double rock = isleDepth({p.landmarks->lighthouseRock}, p.x, p.y, p.fine);
    Ground g{mix(noiseMix(sand, hex(0xC8A8B0), p.fine), hex(0x8A9A70),
                 smoothstep(0.1, 0.6, p.broad) * 0.4 * (p.side < 0))};
    g.color = mix(g.color, mix(hex(0x8A7C98), hex(0x5A4E6E), 0.3 + 0.2 * p.fine), smoothstep(-1, 1, rock));
    const double shore = std::min((p.trail - (20 + 8 * p.fine)) * std::max(0.0, p.side), -rock);
    addWater(g, p, hex(0x8A90C8), hex(0x2C3A78), shore / 40);
    // The last light on the water.
    g.wet = mix(g.wet, hex(0xF0B8C0),
                smoothstep(0.7, 1, std::sin(p.y * 1.1 + p.fine * 5 + p.drift * 4)) *
                    smoothstep(0, 0.5, p.drift) * 0.5 * (1 - p.calm));
    return g;
}

Ground crystalCaves(const Spot& p) {
    Rgba c = noiseMix(hex(0x66567C), hex(0x3A2E4E), p.broad);
    c = mix(c, hex(0x6AC8D8), smoothstep(0.45, 0.8, p.fine) * 0.3);
    return {c};
}

Ground sunsetValley(const Spot& p) {
    Rgba c = noiseMix(hex(0xD8AC58), hex(0xB07E3C), p.broad);
    // Fields in soft rows.
    const double rows = std::sin(p.x * 0.35 + p.y * 0.9) * smoothstep(0.1, 0.4, p.drift);
    c = shade(c, 0.06 * rows);
    c = mix(c, hex(0x9AA450), smoothstep(0.3, 0.7, p.fine) * 0.35);
    return {c};
}

using GroundFn = Ground (*)(const Spot&);
constexpr GroundFn kGround[kStages] = {
    meadow,     mirrorLake, riverGorge, oldForest,  blueMountains, palmIslands,   autumnWood,
    waterfallCliffs, mistyMarsh, redCanyon, snowyPass, twilightCoast, crystalCaves, sunsetValley,
};

// The trail's own colour in every land (worn earth, gravel, sand, snow).
const Rgba kTrailColor[kStages] = {
    hex(0xD2AA74), hex(0xD2AA74), hex(0xC89A64), hex(0xB88A58), hex(0xC0B8AE), hex(0xF6E4B4),
    hex(0xD09A60), hex(0xB8AE9E), hex(0xA87E50), hex(0xE8B47C), hex(0xFFFFFF), hex(0xF0D8BC),
    hex(0xA89CB8), hex(0xE0BA7C),
};

// ---------------------------------------------------------------------------
// The horizon: the far edge of the map under an evening sky.

double horizonY(double x) { return 34 + 5 * fractalNoise(x / 160.0, 0.3, 3, 611); }
double farHillsY(double x) { return horizonY(x) + 8 + 10 * fractalNoise(x / 70.0, 0.7, 4, 612); }

Rgba sky(double x, double y) {
    const double t = std::clamp(y / horizonY(x), 0.0, 1.0);
    Rgba c = t < 0.5 ? mix(hex(0x5A6498), hex(0xC88A94), t / 0.5)
                     : mix(hex(0xC88A94), hex(0xF8CC92), (t - 0.5) / 0.5);
    const double sun = std::exp(-(std::pow((x - 96) / 90, 2) + std::pow((y - 30) / 40, 2)));
    return mix(c, hex(0xFFF0C8), sun * 0.8);
}

// The lands' grounds at a pixel, mixed by their shares. Dry ground and
// water are mixed apart and then joined by how much of the pixel is water,
// so that where a sea meets a dry land the shore stays a shore instead of a
// wide wash of both colours.
Rgba blendLands(const Spot& s, const std::array<double, kStages>& w) {
    Rgba dry{0, 0, 0, 1}, wet{0, 0, 0, 1};
    double dryShare = 0, wetShare = 0;
    for (int k = 0; k < kStages; ++k) {
        if (w[size_t(k)] <= 0) continue;
        const Ground g = kGround[k](s);
        const double d = w[size_t(k)] * (1 - g.water), v = w[size_t(k)] * g.water;
        dry = {dry.r + g.color.r * d, dry.g + g.color.g * d, dry.b + g.color.b * d, 1};
        wet = {wet.r + g.wet.r * v, wet.g + g.wet.g * v, wet.b + g.wet.b * v, 1};
        dryShare += d;
        wetShare += v;
    }
    if (wetShare <= 1e-9) return {dry.r / dryShare, dry.g / dryShare, dry.b / dryShare, 1};
    wet = {wet.r / wetShare, wet.g / wetShare, wet.b / wetShare, 1};
    if (dryShare <= 1e-9) return wet;
    dry = {dry.r / dryShare, dry.g / dryShare, dry.b / dryShare, 1};
    const double amount = wetShare / (wetShare + dryShare);
    // A pale strand where the water line is.
    const double strand = std::max(0.0, 1 - std::fabs(amount - 0.5) * 5);
    dry = mix(dry, hex(0xE8D8B0), strand * 0.5);
    return mix(dry, wet, smoothstep(0.35, 0.65, amount));
}

void paintGround(Canvas& canvas, const MapFields& f) {
    cairo_surface_flush(canvas.surface());
    uint8_t* data = cairo_image_surface_get_data(canvas.surface());
    const int stride = cairo_image_surface_get_stride(canvas.surface());
    std::array<double, kStages> w;
    const Rgba haze = hex(0xC8A8BC);
    const auto calm = calmAreas();
    for (int py = 0; py < kHeight; ++py) {
        uint32_t* row = reinterpret_cast<uint32_t*>(data + size_t(py) * size_t(stride));
        for (int px = 0; px < kWidth; ++px) {
            const double x = px + 0.5, y = py + 0.5;
            Rgba c;
            const double horizon = horizonY(x), hills = farHillsY(x);
            if (y < horizon) {
                c = sky(x, y);
            } else {
                Spot s{x, y, f.trailDistance.sample(x, y), f.side.sample(x, y),
                       f.broad.sample(x, y), f.fine.sample(x, y), f.drift.sample(x, y), f.landmarks};
                for (const PixelRect& r : calm) {
                    const double out = std::hypot(std::max({r.left - x, 0.0, x - r.right}),
                                                  std::max({r.top - y, 0.0, y - r.bottom}));
                    s.calm = std::max(s.calm, 1 - smoothstep(0, 16, out));
                }
                s.fine *= 1 - 0.6 * s.calm;
                f.weights(x, y, w);
                c = blendLands(s, w);
                // Far hills along the horizon, and haze over the far lands.
                if (y < hills) c = mix(hex(0x9C8CB4), hex(0xB8A0BC), (y - horizon) / (hills - horizon));
                else c = mix(c, haze, std::pow(std::clamp(1 - (y - hills) / 100, 0.0, 1.0), 1.6) * 0.4);
                // A soft rim of light where the hills meet the sky.
                c = mix(c, hex(0xFFE0B8), std::exp(-(y - horizon) * 0.6) * 0.5);
            }
            auto ch = [](double v) { return uint32_t(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
            row[px] = 0xFF000000u | ch(c.r) << 16 | ch(c.g) << 8 | ch(c.b);
        }
    }
    cairo_surface_mark_dirty(canvas.surface());
}

// Water at a pixel, for keeping scenery out of lakes and seas.
double waterAt(const MapFields& f, int land, double x, double y) {
    if (y < farHillsY(x)) return 0;
    const Spot s{x, y, f.trailDistance.sample(x, y), f.side.sample(x, y), f.broad.sample(x, y),
                 f.fine.sample(x, y), f.drift.sample(x, y), f.landmarks};
    return kGround[land](s).water;
}

// ---------------------------------------------------------------------------
// The trail

std::vector<std::pair<double, double>> trailPixels(const MapLayout& layout) {
    std::vector<std::pair<double, double>> out;
    for (const MapPoint& p : layout.points) out.emplace_back(toPixelX(p.x), toPixelY(p.y));
    return out;
}

void trailPath(cairo_t* cr, const std::vector<std::pair<double, double>>& pts) {
    cairo_new_path(cr);
    for (const auto& [x, y] : pts) cairo_line_to(cr, x, y);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
}

void paintTrail(Canvas& canvas, const MapLayout& layout, const MapFields& f,
                const std::vector<TrailSample>& samples) {
    cairo_t* cr = canvas.cr();
    const auto pts = trailPixels(layout);

    // A worn verge: the ground darkens softly along both sides.
    {
        Canvas verge(kWidth, kHeight);
        trailPath(verge.cr(), pts);
        cairo_set_line_width(verge.cr(), kTrailWidth + 8);
        setSource(verge.cr(), hex(0x2A1A0C, 0.3));
        cairo_stroke(verge.cr());
        blur(verge, 4);
        canvas.paintCanvas(verge);
    }

    // The trail's body in each land's colour, lighter along the worn middle
    // and darker at the edges, with brush unevenness.
    Canvas body(kWidth, kHeight);
    trailPath(body.cr(), pts);
    cairo_set_line_width(body.cr(), kTrailWidth);
    setSource(body.cr(), hex(0xFFFFFF));
    cairo_stroke(body.cr());
    std::array<double, kStages> w;
    shadeVisiblePixels(body, [&](int px, int py, uint32_t& pixel) {
        const double x = px + 0.5, y = py + 0.5;
        f.weights(x, y, w);
        Rgba c{0, 0, 0, 1};
        for (int k = 0; k < kStages; ++k) {
            c.r += kTrailColor[k].r * w[size_t(k)];
            c.g += kTrailColor[k].g * w[size_t(k)];
            c.b += kTrailColor[k].b * w[size_t(k)];
        }
        const double d = f.trailDistance.sample(x, y);
        const double light = 0.06 - 0.22 * smoothstep(2.5, kTrailWidth / 2, d) +
                             0.07 * fractalNoise(x / 9.0, y / 7.0, 2, 621);
        c = shade(c, light);
        const double a = (pixel >> 24) / 255.0;
        auto ch = [&](double v) { return uint32_t(std::lround(std::clamp(v, 0.0, 1.0) * a * 255)); };
        pixel = (pixel & 0xFF000000u) | ch(c.r) << 16 | ch(c.g) << 8 | ch(c.b);
    });
    canvas.paintCanvas(body);

    // Pebbles along the trail, planks where it crosses the marsh (a
    // boardwalk) and the gorge's river (a bridge).
    ArtRandom random(631);
    const double half = kTrailWidth / 2;
    for (size_t i = 0; i < samples.size(); ++i) {
        const TrailSample& t = samples[i];
        const double nx = -t.ty, ny = t.tx;  // across the trail
        const bool overRiver = t.land == kRiverGorge && std::fabs(t.x - riverX(t.y)) < kGorgeHalf + 4;
        const bool boardwalk = f.weight(kMistyMarsh, t.x, t.y) > 0.5;
        if ((overRiver || boardwalk) && i % 2 == 0) {
            const double reach = half + (overRiver ? 2 : 0.5);
            cairo_new_path(cr);
            cairo_move_to(cr, t.x - nx * reach, t.y - ny * reach);
            cairo_line_to(cr, t.x + nx * reach, t.y + ny * reach);
            cairo_set_line_width(cr, 2.6);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
            setSource(cr, i % 4 ? hex(0xA8784A) : hex(0x8E6038));
            cairo_stroke(cr);
            cairo_new_path(cr);
            cairo_move_to(cr, t.x - nx * reach + t.tx * 1.3, t.y - ny * reach + t.ty * 1.3);
            cairo_line_to(cr, t.x + nx * reach + t.tx * 1.3, t.y + ny * reach + t.ty * 1.3);
            cairo_set_line_width(cr, 0.8);
            setSource(cr, hex(0x3A2414, 0.55));
            cairo_stroke(cr);
            if (overRiver) {
                // Rails on both sides.
                for (double sgn : {-1.0, 1.0}) {
                    cairo_new_path(cr);
                    cairo_arc(cr, t.x + nx * sgn * (reach + 0.8), t.y + ny * sgn * (reach + 0.8), 1.2, 0,
                              2 * M_PI);
                    setSource(cr, hex(0x5A341C));
                    cairo_fill(cr);
                }
            }
            continue;
        }
        if (random.unit() < 0.45) {
            const double off = random.range(-half * 0.7, half * 0.7);
            const double px = t.x + nx * off, py = t.y + ny * off;
            const double r = random.range(0.8, 1.7);
            cairo_new_path(cr);
            cairo_arc(cr, px + 0.5, py + 0.6, r, 0, 2 * M_PI);
            setSource(cr, hex(0x3A2414, 0.3));
            cairo_fill(cr);
            cairo_new_path(cr);
            cairo_arc(cr, px, py, r, 0, 2 * M_PI);
            setSource(cr, hex(0xFFF4E0, random.range(0.35, 0.6)));
            cairo_fill(cr);
        }
    }
}

// A clearing with a round stone plinth where the screen stands each
// treasure (the treasure's picture is centred on the trail point; its foot
// is about 20 pixels below that).
void paintPlinths(Canvas& canvas, const MapLayout& layout) {
    cairo_t* cr = canvas.cr();
    for (const MapPoint& a : layout.artefacts) {
        const double x = toPixelX(a.x), y = toPixelY(a.y);
        cairo_save(cr);
        cairo_translate(cr, x, y + 4);
        cairo_scale(cr, 1, 0.62);
        paintSoftGlow(cr, 0, 0, 40, hex(0xFFF0C8, 0.28), 0.3);
        cairo_restore(cr);
        const double py = y + 19, rx = 19, ry = 6.5, depth = 4;
        // Shadow, side, top face, rim.
        cairo_save(cr);
        cairo_translate(cr, x + 4, py + depth + 2);
        cairo_scale(cr, 1, ry / rx);
        paintSoftGlow(cr, 0, 0, rx + 6, hex(0x1A0E05, 0.45), 0.4);
        cairo_restore(cr);
        cairo_save(cr);
        cairo_translate(cr, x, py);
        cairo_scale(cr, 1, ry / rx);
        cairo_new_path(cr);
        cairo_arc(cr, 0, depth * rx / ry, rx, 0, M_PI);
        cairo_arc_negative(cr, 0, 0, rx, M_PI, 0);
        cairo_close_path(cr);
        cairo_restore(cr);
        setLinearGradient(cr, x - rx, 0, x + rx, 0,
                          {{0, hex(0xB8AC9C)}, {0.5, hex(0x8A7E70)}, {1, hex(0x4E443C)}});
        cairo_fill(cr);
        cairo_save(cr);
        cairo_translate(cr, x, py);
        cairo_scale(cr, 1, ry / rx);
        cairo_new_path(cr);
        cairo_arc(cr, 0, 0, rx, 0, 2 * M_PI);
        cairo_restore(cr);
        setLinearGradient(cr, x - rx, py - ry, x + rx * 0.6, py + ry,
                          {{0, hex(0xD8CCB8)}, {0.6, hex(0xA89C8A)}, {1, hex(0x7A6E60)}});
        cairo_fill_preserve(cr);
        cairo_set_line_width(cr, 1.2);
        setSource(cr, hex(0xD9A441, 0.9));
        cairo_stroke(cr);
    }
}

// ---------------------------------------------------------------------------
// Scenery placement

struct Planting {
    Scenery kind;
    int count;
    double minSize, maxSize;  // pixels at the near edge
    std::vector<Rgba> colors;
    double spacing = 0.75;    // how far apart things stand, in their summed radii
};

struct Decal {
    enum Kind { Flowers, Leaves, LilyPads } kind;
    int count;
};

struct LandPlan {
    std::vector<Planting> plantings;
    std::vector<Decal> decals;
};

std::vector<LandPlan> landPlans() {
    const Rgba leafy[] = {hex(0x4E8A3E), hex(0x5E9A44), hex(0x3E7A3A)};
    return {
        // Sunny Meadow: flowers everywhere, a few bushes and trees.
        {{{Scenery::RoundTree, 4, 30, 38, {leafy[0], leafy[1]}},
          {Scenery::Bush, 7, 10, 14, {hex(0x5E9E40), hex(0x78B04A)}}},
         {{Decal::Flowers, 60}}},
        // Mirror Lake: trees and reeds on the shore, lilies on the water.
        {{{Scenery::RoundTree, 5, 28, 36, {leafy[2], leafy[0]}},
          {Scenery::Reeds, 6, 12, 16, {hex(0x6E8A3A)}},
          {Scenery::Bush, 3, 9, 12, {hex(0x5E9A44)}}},
         {{Decal::LilyPads, 10}, {Decal::Flowers, 12}}},
        // River Gorge: boulders and a few trees.
        {{{Scenery::Rock, 9, 9, 15, {hex(0xA89078), hex(0x8E7A68)}},
          {Scenery::RoundTree, 3, 26, 32, {hex(0x5E8A3E)}},
          {Scenery::Bush, 4, 8, 11, {hex(0x7E9A48)}}},
         {}},
        // Old Forest: dense old trees and toadstools.
        {{{Scenery::RoundTree, 24, 34, 46, {hex(0x2F5A2E), hex(0x3A6A34), hex(0x27502C)}, 0.5},
          {Scenery::Pine, 10, 34, 44, {hex(0x2A5030)}, 0.5},
          {Scenery::Mushroom, 6, 7, 9, {hex(0xD8342C)}}},
         {}},
        // Blue Mountains: peaks and mountain pines.
        {{{Scenery::Peak, 7, 38, 60, {hex(0x6A7CA8), hex(0x5A6E9E), hex(0x7A88B0)}},
          {Scenery::Pine, 6, 20, 26, {hex(0x3A6048)}},
          {Scenery::Rock, 4, 8, 12, {hex(0x8E98AE)}}},
         {}},
        // Palm Islands: palms on the spit and the islets.
        {{{Scenery::Palm, 12, 26, 36, {hex(0x3E9A3A)}, 0.5}}, {}},
        // Autumn Wood: trees in orange, red and gold, fallen leaves.
        {{{Scenery::RoundTree, 13, 30, 42, {hex(0xE0782A), hex(0xC8402A), hex(0xE8B23A), hex(0xD05A24)}},
          {Scenery::Mushroom, 3, 6, 8, {hex(0xD8342C)}}},
         {{Decal::Leaves, 40}}},
        // Waterfall Cliffs: cascades down the rock faces.
        {{{Scenery::Waterfall, 4, 34, 46, {hex(0x8A8E8A), hex(0x7A7E7E)}},
          {Scenery::Rock, 6, 9, 14, {hex(0x9A9C94)}},
          {Scenery::Pine, 4, 24, 30, {hex(0x3A6048)}}},
         {}},
        // Misty Marsh: reeds round the pools, a few stunted trees.
        {{{Scenery::Reeds, 14, 12, 18, {hex(0x6E8A3A)}},
          {Scenery::RoundTree, 3, 22, 28, {hex(0x5A7048)}}},
         {{Decal::LilyPads, 8}}},
        // Red Canyon: mesas and cacti.
        {{{Scenery::Mesa, 6, 30, 46, {hex(0xC8603A), hex(0xB4502E), hex(0xD8784A)}},
          {Scenery::Cactus, 7, 12, 16, {hex(0x4F8A3C)}},
          {Scenery::Rock, 3, 8, 11, {hex(0xC07048)}}},
         {}},
        // Snowy Pass: snowy pines and rocks.
        {{{Scenery::SnowyPine, 14, 26, 38, {hex(0x2E5A4A), hex(0x3A6A52)}},
          {Scenery::SnowyRock, 5, 10, 15, {hex(0x8A94A8)}}},
         {}},
        // Twilight Coast: a lighthouse on the point, dune grass.
        {{{Scenery::Reeds, 6, 9, 12, {hex(0x8A9A60)}},
          {Scenery::Rock, 3, 8, 11, {hex(0x7A7090)}}},
         {}},
        // Crystal Caves: cave mouths and glowing crystals.
        {{{Scenery::CaveMouth, 3, 26, 32, {hex(0x6E5E86)}},
          {Scenery::Crystal, 10, 14, 22, {hex(0x6AD8F0), hex(0xD070E8), hex(0x9A80FF), hex(0x70F0C0)}},
          {Scenery::Rock, 3, 8, 12, {hex(0x5E5070)}}},
         {}},
        // Sunset Valley: an orchard and a cottage.
        {{{Scenery::Cottage, 1, 26, 26, {hex(0xFFFFFF)}},
          {Scenery::FruitTree, 14, 24, 32, {hex(0x6E9A3E), hex(0x8AA040)}, 0.6},
          {Scenery::Bush, 4, 9, 12, {hex(0x8AA048)}}},
         {{Decal::Flowers, 14}}},
    };
}

struct Placer {
    const MapFields& fields;
    const MapLayout& layout;
    std::vector<PixelRect> calm = calmAreas();
    std::vector<SceneryItem> placed = {};

    // The thing's extent stays off the trail (and the marks on it), out of
    // the areas the screen draws over, clear of the treasures, below the
    // horizon and out of the water.
    bool fits(int land, Scenery kind, double x, double y, double size, double spacing) const {
        const SceneryExtent e = extentOf(kind, size);
        if (fields.weight(land, x, y) < 0.75) return false;
        if (y - e.height < farHillsY(x) + 4 || y > kHeight - 4 || x < 6 || x > kWidth - 6) return false;
        for (double t : {0.0, 0.5, 1.0}) {
            const double cy = y - e.height * t;
            if (fields.trailDistance.sample(x, cy) < e.radius + kTrailWidth / 2 + 7) return false;
            for (const PixelRect& r : calm)
                if (r.contains(x, cy, e.radius + 4)) return false;
        }
        for (const MapPoint& a : layout.artefacts)
            if (std::hypot(x - toPixelX(a.x), y - e.height / 2 - toPixelY(a.y)) < 40 + e.radius) return false;
        if (waterAt(fields, land, x, y) > 0.05) return false;
        for (const SceneryItem& other : placed) {
            const SceneryExtent oe = extentOf(other.kind, other.size);
            if (std::hypot(x - other.x, (y - other.y) * 1.6) < (e.radius + oe.radius) * spacing)
                return false;
        }
        return true;
    }
};

// The pixel box where each land dominates.
std::array<PixelRect, kStages> landBoxes(const MapFields& f) {
    std::array<PixelRect, kStages> boxes;
    boxes.fill({1e9, 1e9, -1e9, -1e9});
    std::array<double, kStages> w;
    for (int y = 0; y < kHeight; y += 8) {
        for (int x = 0; x < kWidth; x += 8) {
            f.weights(x, y, w);
            for (int k = 0; k < kStages; ++k) {
                if (w[size_t(k)] <= 0.5) continue;
                PixelRect& box = boxes[size_t(k)];
                box = {std::min(box.left, double(x)), std::min(box.top, double(y)),
                       std::max(box.right, double(x)), std::max(box.bottom, double(y))};
            }
        }
    }
    return boxes;
}

// Paints every land's ground decals and places its standing scenery;
// returns the scenery sorted far to near, to be painted after the trail.
std::vector<SceneryItem> paintDecalsAndPlaceScenery(Canvas& canvas, const MapFields& f,
                                                    const MapLayout& layout) {
    const auto plans = landPlans();
    Placer placer{f, layout};
    const auto calm = calmAreas();
    cairo_t* cr = canvas.cr();
    const auto boxes = landBoxes(f);
    for (int land = 0; land < kStages; ++land) {
        const PixelRect& box = boxes[size_t(land)];
        ArtRandom random(uint32_t(700 + land * 31));
        for (const Planting& plan : plans[size_t(land)].plantings) {
            int done = 0;
            for (int attempt = 0; attempt < plan.count * 60 && done < plan.count; ++attempt) {
                const double x = random.range(box.left, box.right);
                const double y = random.range(box.top, box.bottom);
                const double size = random.range(plan.minSize, plan.maxSize) * perspective(y);
                if (!placer.fits(land, plan.kind, x, y, size, plan.spacing)) continue;
                placer.placed.push_back({plan.kind, x, y, size,
                                         plan.colors[size_t(random.below(int(plan.colors.size())))],
                                         random.next()});
                ++done;
            }
        }
        for (const Decal& decal : plans[size_t(land)].decals) {
            for (int k = 0, attempt = 0; k < decal.count && attempt < decal.count * 30; ++attempt) {
                const double x = random.range(box.left, box.right);
                const double y = random.range(box.top, box.bottom);
                if (f.weight(land, x, y) < 0.6) continue;
                if (f.trailDistance.sample(x, y) < kTrailWidth / 2 + 10) continue;
                bool inCalm = false;
                for (const PixelRect& r : calm) inCalm = inCalm || r.contains(x, y, 14);
                if (inCalm) continue;
                const double wet = waterAt(f, land, x, y);
                const bool wantsWater = decal.kind == Decal::LilyPads;
                if (wantsWater ? wet < 0.9 : wet > 0.01) continue;
                if (wantsWater && waterAt(f, land, x + 9, y) < 0.9) continue;
                if (y < farHillsY(x) + 10) continue;
                const uint32_t seed = random.next();
                switch (decal.kind) {
                    case Decal::Flowers: paintFlowers(cr, x, y, 10 * perspective(y), seed); break;
                    case Decal::Leaves: paintFallenLeaves(cr, x, y, 11 * perspective(y), seed); break;
                    case Decal::LilyPads: paintLilyPads(cr, x, y, 8 * perspective(y), seed); break;
                }
                ++k;
            }
        }
    }
    // The lighthouse stands on its rock off the coast.
    const Isle& rock = f.landmarks->lighthouseRock;
    placer.placed.push_back({Scenery::Lighthouse, rock.x, rock.y + 3, 50 * perspective(rock.y),
                             hex(0xFFFFFF), 1});
    std::vector<SceneryItem> standing = placer.placed;
    // Far things first, so nearer ones overlap them.
    std::stable_sort(standing.begin(), standing.end(),
                     [](const SceneryItem& a, const SceneryItem& b) { return a.y < b.y; });
    return standing;
}

// Drifting mist over the marsh.
void paintMist(Canvas& canvas, const MapFields& f) {
    Canvas mist(kWidth, kHeight);
    cairo_surface_flush(mist.surface());
    uint8_t* data = cairo_image_surface_get_data(mist.surface());
    const int stride = cairo_image_surface_get_stride(mist.surface());
    const PixelRect box = landBoxes(f)[kMistyMarsh];
    for (int py = std::max(0, int(box.top) - 40); py < std::min(kHeight, int(box.bottom) + 40); ++py) {
        uint32_t* row = reinterpret_cast<uint32_t*>(data + size_t(py) * size_t(stride));
        for (int px = std::max(0, int(box.left) - 40); px < std::min(kWidth, int(box.right) + 40); ++px) {
            const double w = f.weight(kMistyMarsh, px, py);
            if (w <= 0.01) continue;
            const double band = smoothstep(-0.1, 0.6, fractalNoise(px / 90.0, py / 18.0, 3, 641));
            const double a = w * band * 0.42;
            const uint32_t a8 = uint32_t(std::lround(a * 255));
            const uint32_t c = uint32_t(std::lround(a * 240));
            row[px] = a8 << 24 | c << 16 | uint32_t(std::lround(a * 244)) << 8 | uint32_t(std::lround(a * 236));
        }
    }
    cairo_surface_mark_dirty(mist.surface());
    blur(mist, 3);
    canvas.paintCanvas(mist);
}

Image paintMap(const MapLayout& layout) {
    const auto samples = trailSamples(layout);
    auto fields = std::make_unique<MapFields>();
    buildFields(samples, *fields);
    const Landmarks landmarks = findLandmarks(layout);
    fields->landmarks = &landmarks;

    Canvas canvas(kWidth, kHeight);
    paintGround(canvas, *fields);
    const std::vector<SceneryItem> standing = paintDecalsAndPlaceScenery(canvas, *fields, layout);
    paintTrail(canvas, layout, *fields, samples);
    paintPlinths(canvas, layout);
    for (const SceneryItem& item : standing) paintScenery(canvas, item);
    paintMist(canvas, *fields);

    cairo_t* cr = canvas.cr();
    // The low sun at the top left warms the whole map a little.
    paintSoftGlow(cr, 96, 30, 520, hex(0xFFC880, 0.16));
    addPaintTexture(canvas, 0.05, 38, 651);
    setRadialGradient(cr, kWidth / 2.0, kHeight / 2.0, 300, kWidth / 2.0, kHeight / 2.0, 620,
                      {{0, hex(0x1A0E05, 0)}, {1, hex(0x1A0E05, 0.4)}});
    cairo_paint(cr);
    addGrain(canvas, 0.016, 652);
    return canvas.toImage();
}

}  // namespace

void generateLevelMap(Output& out) {
    const Bytes trajectory = buildTrajectoryFile();
    // Everything below uses the positions as the game computes them from
    // the file, so the check and the painted trail cannot drift apart.
    const MapLayout layout = readTrajectory(trajectory);
    checkLayout(layout);
    out.addToPack("texts.dat", "trajectory1.spl", trajectory);
    out.addToPack("jpeg.dat", "menumap.jpg", writeJpeg(paintMap(layout), 90));
    generateMapItems(out);
}

}  // namespace datagen::levelmap
