// The level map's path and what the mode screens place on it, shared by the
// map's generators (map_art.cpp paints the picture, map_items_art.cpp the
// mark and the treasures).
//
// The path is a smooth winding trail through the 800 x 600 menu space
// (origin at the centre, y up). It is stored in "trajectory1.spl" as points
// exactly 20 units apart; the game moves every point up by 30 after reading,
// so the file holds each point 30 below where the trail is painted. The
// screen then places, by distance along the path:
//  - fifteen treasures, one at every stage boundary (distance a x j,
//    a = L / 14, the last one 0.1 before the end);
//  - seventy level marks, five per stage, 33 units clear of the treasures at
//    both ends of their stage, each turned along the path.
// Everything here works on the float32 values of the file, read back the way
// the game reads them, so the self-check and the painted trail see the same
// positions as the player.
//
// Depends on datagen.h only.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "datagen.h"

namespace datagen::levelmap {

constexpr int kStages = 14;              // stages of five levels, one land each
constexpr int kLevels = kStages * 5;     // level marks
constexpr int kArtefacts = kStages + 1;  // one at every stage boundary
constexpr double kPointSpacing = 20;     // units between consecutive stored points
constexpr double kLoadLift = 30;         // the game adds this to every y it reads
constexpr double kMarkClearance = 33;    // units between a treasure and the nearest mark
constexpr int kAdjustmentValues = 10;    // unused floats at the end of the file

struct MapPoint {
    double x = 0, y = 0;  // menu units, y up
};

// A screen area the map keeps free of marks and treasures (menu units).
struct KeepClear {
    const char* what;
    double left, bottom, right, top;
    bool contains(MapPoint p) const {
        return p.x >= left && p.x <= right && p.y >= bottom && p.y <= top;
    }
};

// What the mode screens draw over the map; marks and treasures stay out.
inline constexpr KeepClear kKeepClear[] = {
    {"the start button", 215, -285, 385, -213},
    {"the mode name", -95, -278, 95, -222},
    {"the level preview", 225, 135, 400, 300},
};
// Centres must stay this far inside the screen (a mark is 32 units across,
// a treasure 64).
inline constexpr KeepClear kMarkArea = {"the mark area", -385, -285, 385, 285};
inline constexpr KeepClear kArtefactArea = {"the treasure area", -365, -265, 365, 265};

// The path as the game holds it after loading (points already lifted by
// kLoadLift), with the positions the mode screens derive from it.
struct MapLayout {
    std::vector<MapPoint> points;  // shifted, as painted
    double length = 0;             // L, usable length
    std::array<MapPoint, kArtefacts> artefacts{};
    std::array<MapPoint, kLevels> marks{};
    std::array<double, kLevels> markAngles{};  // radians, counter-clockwise from +x

    // The game's rule: linear between stored points; (1000, 0) before the
    // start and (-1000, 0) past the usable length.
    MapPoint pointAt(double s) const;
    double stageLength() const { return length / kStages; }
};

// The trail, resampled at exactly kPointSpacing, as the bytes of
// "trajectory1.spl".
Bytes buildTrajectoryFile();
// Reads the file the way the game does (lift included) and derives the
// positions. Throws on a file that is too short or holds no points.
MapLayout readTrajectory(const Bytes& file);
// Throws std::runtime_error, naming the item and the rule, when a mark or a
// treasure leaves its area, falls into a kept-clear area, or when marks
// crowd each other or the treasures.
void checkLayout(const MapLayout& layout);

// The level mark and the fifteen treasures (map_items_art.cpp).
void generateMapItems(Output& out);

// Menu units to pixels of the 800 x 600 map picture (y down).
inline double toPixelX(double x) { return x + 400; }
inline double toPixelY(double y) { return 300 - y; }

}  // namespace datagen::levelmap
