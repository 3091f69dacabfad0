// The level map's path; see map_layout.h.
#include "map_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>

namespace datagen::levelmap {
namespace {

// The trail as painted (menu units, y up): a serpentine that starts at the
// bottom left, sweeps right, turns up at the right edge, runs back left,
// turns again and climbs through the upper half in two shorter runs, so it
// stays out of the corners the mode screen uses (the start button bottom
// right, the level preview top right) and below the mode name. Each run
// wobbles a little so the trail reads as a path, not a ruled line.
constexpr MapPoint kControlPoints[] = {
    // Bottom run, left to right.
    {-352, -196}, {-300, -150}, {-230, -168}, {-160, -196}, {-90, -170}, {-20, -145},
    {55, -172}, {130, -195}, {205, -168}, {270, -140}, {330, -150},
    // Turn up at the right edge.
    {362, -112}, {356, -62}, {320, -32},
    // Second run, right to left.
    {262, -28}, {200, -55}, {130, -40}, {60, -10}, {-10, -38}, {-80, -58},
    {-150, -45}, {-215, -28}, {-280, -48}, {-330, -30},
    // Turn up at the left edge.
    {-360, 20}, {-348, 68}, {-305, 92},
    // Third run, left to right, ending short of the preview corner.
    {-245, 92}, {-180, 78}, {-115, 96}, {-50, 110}, {15, 86}, {80, 66}, {140, 82},
    // Turn up, clear of the preview.
    {188, 110}, {196, 158}, {168, 196},
    // Top run, right to left.
    {115, 204}, {55, 182}, {-5, 200}, {-70, 226}, {-140, 206}, {-210, 184},
    {-275, 206}, {-335, 222},
};

// Closest allowed distances between placed items, in units.
constexpr double kMinMarkGap = 24;         // marks are 32 across but narrow along the path
constexpr double kMinMarkToArtefact = 38;  // a mark never sits on a treasure
constexpr double kMinArtefactGap = 64;     // treasures (64 across) never overlap

MapPoint lerp(MapPoint a, MapPoint b, double t) {
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
}

double distance(MapPoint a, MapPoint b) { return std::hypot(a.x - b.x, a.y - b.y); }

// Centripetal Catmull-Rom through the control points (no loops or cusps
// even where points bunch up), sampled finely.
std::vector<MapPoint> denseCurve() {
    std::vector<MapPoint> c(std::begin(kControlPoints), std::end(kControlPoints));
    // Phantom end points continue the first and last segments.
    c.insert(c.begin(), lerp(c[0], c[1], -1));
    c.push_back(lerp(c[c.size() - 2], c.back(), 2));
    std::vector<MapPoint> out;
    constexpr int kSamples = 64;
    for (size_t i = 1; i + 2 < c.size(); ++i) {
        const MapPoint p0 = c[i - 1], p1 = c[i], p2 = c[i + 1], p3 = c[i + 2];
        const double t0 = 0;
        const double t1 = t0 + std::sqrt(distance(p0, p1));
        const double t2 = t1 + std::sqrt(distance(p1, p2));
        const double t3 = t2 + std::sqrt(distance(p2, p3));
        for (int k = 0; k < kSamples; ++k) {
            const double t = t1 + (t2 - t1) * k / kSamples;
            const MapPoint a1 = lerp(p0, p1, (t - t0) / (t1 - t0));
            const MapPoint a2 = lerp(p1, p2, (t - t1) / (t2 - t1));
            const MapPoint a3 = lerp(p2, p3, (t - t2) / (t3 - t2));
            const MapPoint b1 = lerp(a1, a2, (t - t0) / (t2 - t0));
            const MapPoint b2 = lerp(a2, a3, (t - t1) / (t3 - t1));
            out.push_back(lerp(b1, b2, (t - t1) / (t2 - t1)));
        }
    }
    out.push_back(c[c.size() - 2]);
    return out;
}

// Points along the curve, each exactly kPointSpacing (straight-line) from
// the one before, so the game's straight steps between them cover the
// distance they stand for.
std::vector<MapPoint> resample(const std::vector<MapPoint>& curve) {
    std::vector<MapPoint> out{curve.front()};
    size_t next = 1;
    while (next < curve.size()) {
        const MapPoint from = out.back();
        while (next < curve.size() && distance(from, curve[next]) < kPointSpacing) ++next;
        if (next == curve.size()) break;
        // The circle of radius kPointSpacing around `from` crosses the
        // segment curve[next - 1] -> curve[next]; solve for the crossing.
        const MapPoint a = curve[next - 1], b = curve[next];
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double fx = a.x - from.x, fy = a.y - from.y;
        const double qa = dx * dx + dy * dy, qb = 2 * (fx * dx + fy * dy);
        const double qc = fx * fx + fy * fy - kPointSpacing * kPointSpacing;
        const double t = (-qb + std::sqrt(std::max(0.0, qb * qb - 4 * qa * qc))) / (2 * qa);
        out.push_back(lerp(a, b, std::clamp(t, 0.0, 1.0)));
    }
    return out;
}

void putInt32(Bytes& out, int32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(uint32_t(v) >> (8 * i)));
}

void putFloat(Bytes& out, float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, 4);
    putInt32(out, int32_t(bits));
}

uint32_t getUint32(const Bytes& in, size_t at) {
    return uint32_t(in[at]) | uint32_t(in[at + 1]) << 8 | uint32_t(in[at + 2]) << 16 |
           uint32_t(in[at + 3]) << 24;
}

float getFloat(const Bytes& in, size_t at) {
    const uint32_t bits = getUint32(in, at);
    float v;
    std::memcpy(&v, &bits, 4);
    return v;
}

std::string describe(const char* what, int index, MapPoint p) {
    char text[96];
    std::snprintf(text, sizeof text, "%s %d at (%.1f, %.1f)", what, index, p.x, p.y);
    return text;
}

}  // namespace

MapPoint MapLayout::pointAt(double s) const {
    if (s < 0) return {1000, 0};
    if (s > length) return {-1000, 0};
    const int i = int(s / kPointSpacing);
    if (i > int(points.size()) - 2) return points.back();
    return lerp(points[size_t(i)], points[size_t(i) + 1], s / kPointSpacing - i);
}

Bytes buildTrajectoryFile() {
    const std::vector<MapPoint> points = resample(denseCurve());
    Bytes out;
    putInt32(out, int32_t(points.size()));
    putFloat(out, float(kPointSpacing * double(points.size() - 1)));
    for (const MapPoint& p : points) {
        putFloat(out, float(p.x));
        putFloat(out, float(p.y - kLoadLift));
    }
    for (int i = 0; i < kAdjustmentValues; ++i) putFloat(out, 0);
    return out;
}

MapLayout readTrajectory(const Bytes& file) {
    if (file.size() < 8) throw std::runtime_error("trajectory1.spl: no header");
    const int32_t count = int32_t(getUint32(file, 0));
    if (count < 2 || size_t(count) > (file.size() - 8) / 8 ||
        file.size() != 8 + size_t(count) * 8 + kAdjustmentValues * 4)
        throw std::runtime_error("trajectory1.spl: point count does not match the file size");
    MapLayout layout;
    layout.length = getFloat(file, 4);
    for (int32_t i = 0; i < count; ++i) {
        const float x = getFloat(file, 8 + size_t(i) * 8);
        const float y = getFloat(file, 12 + size_t(i) * 8) + float(kLoadLift);
        layout.points.push_back({x, y});
    }
    const double a = layout.stageLength();
    for (int j = 0; j < kArtefacts; ++j)
        layout.artefacts[size_t(j)] = layout.pointAt(j == kStages ? a * j - 0.1 : a * j);
    for (int i = 0; i < kLevels; ++i) {
        const int stage = i / 5, k = i % 5;
        const double b = a * stage + kMarkClearance + (k + 0.5) * (a - 2 * kMarkClearance) / 5;
        const MapPoint p = layout.pointAt(b - 2), ahead = layout.pointAt(b + 2);
        layout.marks[size_t(i)] = p;
        layout.markAngles[size_t(i)] = std::atan2(ahead.y - p.y, ahead.x - p.x);
    }
    return layout;
}

void checkLayout(const MapLayout& layout) {
    auto fail = [](const std::string& what) {
        throw std::runtime_error("level map: " + what);
    };
    auto checkItem = [&](const char* what, int index, MapPoint p, const KeepClear& area) {
        if (!area.contains(p)) fail(describe(what, index, p) + " is outside " + area.what);
        for (const KeepClear& clear : kKeepClear)
            if (clear.contains(p)) fail(describe(what, index, p) + " is under " + clear.what);
    };
    for (int j = 0; j < kArtefacts; ++j)
        checkItem("treasure", j, layout.artefacts[size_t(j)], kArtefactArea);
    for (int i = 0; i < kLevels; ++i) checkItem("mark", i, layout.marks[size_t(i)], kMarkArea);

    for (int i = 0; i < kLevels; ++i) {
        for (int k = i + 1; k < kLevels; ++k)
            if (distance(layout.marks[size_t(i)], layout.marks[size_t(k)]) < kMinMarkGap)
                fail(describe("mark", i, layout.marks[size_t(i)]) + " crowds mark " +
                     std::to_string(k));
        for (int j = 0; j < kArtefacts; ++j)
            if (distance(layout.marks[size_t(i)], layout.artefacts[size_t(j)]) < kMinMarkToArtefact)
                fail(describe("mark", i, layout.marks[size_t(i)]) + " sits on treasure " +
                     std::to_string(j));
    }
    for (int j = 0; j < kArtefacts; ++j)
        for (int k = j + 1; k < kArtefacts; ++k)
            if (distance(layout.artefacts[size_t(j)], layout.artefacts[size_t(k)]) < kMinArtefactGap)
                fail(describe("treasure", j, layout.artefacts[size_t(j)]) + " crowds treasure " +
                     std::to_string(k));
}

}  // namespace datagen::levelmap
