// The level map's path file and its positions, without a device.
#include "menus/level_map.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace tessaly::menus {
namespace {

// A "trajectory1.spl" image: the count, the length, the points, and as many
// adjustment values as asked for.
std::vector<uint8_t> splineFile(int32_t count, float length, const std::vector<base::Vec2>& points,
                                int adjustments = kPathAdjustments) {
    std::vector<uint8_t> bytes;
    auto put = [&](const void* v) {
        const auto* b = static_cast<const uint8_t*>(v);
        bytes.insert(bytes.end(), b, b + 4);
    };
    put(&count);
    put(&length);
    for (const base::Vec2& p : points) {
        put(&p.x);
        put(&p.y);
    }
    for (int i = 0; i < adjustments; ++i) {
        const float a = float(i) + 0.5f;
        put(&a);
    }
    return bytes;
}

TEST(SplinePath, ReadsPointsLiftedAndRefusesWhatDoesNotFit) {
    SplinePath path;
    std::string error;
    const auto good = splineFile(3, 40, {{0, 0}, {20, 0}, {20, 20}});
    ASSERT_TRUE(parseSplinePath(good.data(), good.size(), path, error)) << error;
    EXPECT_EQ(path.count, 3);
    EXPECT_EQ(path.length, 40);
    EXPECT_EQ(path.points[2].x, 20);
    EXPECT_EQ(path.points[2].y, 20 + kPathLift);
    EXPECT_EQ(path.adjustments[9], 9.5f);

    // Without its trailing values the points still count.
    const auto noTail = splineFile(3, 40, {{0, 0}, {20, 0}, {20, 20}}, 0);
    ASSERT_TRUE(parseSplinePath(noTail.data(), noTail.size(), path, error));
    EXPECT_EQ(path.adjustments[9], 0);

    const float nan = std::nanf("");
    const struct {
        const char* what;
        std::vector<uint8_t> bytes;
    } bad[] = {
        {"empty", {}},
        {"half a header", {1, 0, 0, 0}},
        {"negative count", splineFile(-1, 40, {})},
        {"count past the capacity", splineFile(kMaxPathPoints + 1, 40, {})},
        {"fewer points than counted", splineFile(5, 40, {{0, 0}, {20, 0}}, 0)},
        {"a point that is no number", splineFile(2, 40, {{0, 0}, {nan, 0}})},
        {"a length that is no number", splineFile(2, nan, {{0, 0}, {20, 0}})},
    };
    for (const auto& b : bad) {
        SplinePath kept;
        kept.count = 7;
        EXPECT_FALSE(parseSplinePath(b.bytes.data(), b.bytes.size(), kept, error)) << b.what;
        EXPECT_EQ(kept.count, 7) << b.what << ": the path was touched";
    }
}

TEST(SplinePath, PointsAlongThePathAndOffItsEnds) {
    SplinePath path;
    path.count = 3;
    path.length = 50;
    path.points[0] = {0, 0};
    path.points[1] = {20, 0};
    path.points[2] = {20, 20};
    const struct {
        float s;
        base::Vec2 expected;
    } cases[] = {
        {-0.5f, {1000, 0}},   // before the start
        {0, {0, 0}},
        {10, {10, 0}},        // half way to the second point
        {30, {20, 10}},
        {45, {20, 20}},       // past the last segment: the last point
        {50.5f, {-1000, 0}},  // past the usable length: far left
    };
    for (const auto& c : cases) {
        const base::Vec2 p = pathPoint(path, c.s);
        EXPECT_FLOAT_EQ(p.x, c.expected.x) << c.s;
        EXPECT_FLOAT_EQ(p.y, c.expected.y) << c.s;
    }
    // A file whose usable length runs far past its points: positions out to
    // that length, and one that is no number, stay on the last point.
    SplinePath damaged = path;
    damaged.length = 6.2e14f;
    for (const float s : {1.0e6f, 6.0e14f, std::nanf("")}) {
        const base::Vec2 p = pathPoint(damaged, s);
        EXPECT_FLOAT_EQ(p.x, 20) << s;
        EXPECT_FLOAT_EQ(p.y, 20) << s;
    }
    // The same through the reader, from the fuzzer's input.
    const std::vector<uint8_t> found = {0x01, 0x00, 0x00, 0x00, 0xe3, 0x44, 0xb0, 0x5c, 0x00, 0x00, 0x67,
                                        0xe3, 0x44, 0xb0, 0x00, 0x00, 0x67};
    std::string error;
    SplinePath read;
    ASSERT_TRUE(parseSplinePath(found.data(), found.size(), read, error)) << error;
    EXPECT_FLOAT_EQ(pathPoint(read, read.length).x, read.points[0].x);
    // A path that is empty (no file) puts everything far left.
    EXPECT_EQ(pathPoint(SplinePath{}, 0).x, -1000);
}

TEST(LevelMapView, NewPlayerAndFullProgress) {
    MapView fresh;
    fresh.clockMs = 1234;
    const MapView done = [] {
        MapView v;
        v.progress = kMapLevels - 1;
        v.fullyOpen = true;
        v.selected = 30;
        v.currentLevel = 30;
        return v;
    }();
    // A new player: the first treasure lit, level 1 selected, the others
    // locked (pale, translucent).
    EXPECT_TRUE(artefactLit(fresh, 0));
    EXPECT_FALSE(artefactLit(fresh, 1));
    const uint32_t selected = levelMarkArgb(fresh, 0);
    EXPECT_EQ(selected >> 24, 255u);
    for (int i = 1; i < kMapLevels; ++i) EXPECT_LT(levelMarkArgb(fresh, i) >> 24, 255u) << i;
    // Everything open: every treasure lit, every mark opaque.
    for (int j = 0; j < kMapArtefacts; ++j) EXPECT_TRUE(artefactLit(done, j)) << j;
    for (int i = 0; i < kMapLevels; ++i) EXPECT_EQ(levelMarkArgb(done, i) >> 24, 255u) << i;
    // The selected level pulses in size only when it is not the current one.
    MapView away = done;
    away.clockMs = 50;  // sin(1.5) is near its top
    EXPECT_EQ(levelMarkSize(away, 30), kLevelMarkSize);
    away.selected = 31;
    EXPECT_GT(levelMarkSize(away, 31), kLevelMarkSize + 2);
}

TEST(LevelMapPlaces, StagesHoldFiveMarksClearOfTheirTreasures) {
    // A straight path from right to left, 1400 units long.
    LevelMap map;
    map.path.count = 71;
    map.path.length = 1400;
    for (int i = 0; i < map.path.count; ++i) map.path.points[size_t(i)] = {700 - 20.0f * float(i), 0};
    placeOnPath(map);
    EXPECT_FLOAT_EQ(map.artefacts[0].x, 700);
    EXPECT_NEAR(map.artefacts[kMapStages].x, -700, 0.2f);
    for (int i = 0; i < kMapLevels; ++i) {
        const float stageStart = 700 - 100.0f * float(i / 5);
        EXPECT_LT(map.marks[size_t(i)].x, stageStart - 33 + 0.01f) << i;
        EXPECT_GT(map.marks[size_t(i)].x, stageStart - 100 + 33 - 0.01f) << i;
        EXPECT_NEAR(std::fabs(map.markAngles[size_t(i)]), 180, 0.01f) << "turned along the path, " << i;
    }
}

}  // namespace
}  // namespace tessaly::menus
